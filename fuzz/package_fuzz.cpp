// The skin package reader on arbitrary packed skins, then every lookup the
// skin loader makes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/1_data/lzh.h"
#include "skin/1_data/skin_message.h"
#include "skin/1_data/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qm::SetSkinMessageHandler([](const std::string&) {});
  qm::TMemoryStream packed(std::vector<uint8_t>(data, data + size));
  qm::TSkinReader reader;
  reader.MaxDecodedSize = 1 << 17;
  try {
    if (!reader.ReadSkin(packed)) return 0;
  } catch (const qm::ElzhException&) {
    return 0;
  }
  qm::TMemoryStream member;
  for (const std::string& name : reader.Names) {
    reader.GetMember(name, member);
    if (member.Size() > reader.Data.Size()) __builtin_trap();
  }
  std::string name;
  reader.FindMember(".ini", member, name);
  reader.FindMember("", member, name);
  reader.GetMember("MISSING.BMP", member);
  return 0;
}
