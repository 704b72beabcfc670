#include "skin/1_data/skin_package_writer.h"

#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_reader.h"

namespace qm {

namespace {
void PutInt32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> BuildSkinContainer(const std::vector<TSkinMember>& Members, uint32_t Version) {
  std::string names;
  for (const auto& m : Members) names += SkinLowerCase(m.Name) + "\r\n";
  std::vector<uint8_t> out;
  PutInt32(out, Version);
  PutInt32(out, static_cast<uint32_t>(names.size()));
  out.insert(out.end(), 8, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const auto& m : Members) PutInt32(out, static_cast<uint32_t>(m.Bytes.size()));
  for (const auto& m : Members) out.insert(out.end(), m.Bytes.begin(), m.Bytes.end());
  return out;
}

std::vector<uint8_t> PackSkin(const std::vector<TSkinMember>& Members) {
  return LzhEncode(BuildSkinContainer(Members));
}

}  // namespace qm
