#pragma once
// Builds small skins in memory for the parser tests.

#include <string>
#include <vector>

#include "skin/1_data/bmp_file.h"
#include "skin/1_data/ini_text.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/skin_package_writer.h"
#include "skin/1_data/skin_reader.h"

namespace qm::test {

// Every pixel different, so that cut-outs and transforms can be checked.
inline TSkinImage Pattern(int w, int h) {
  TSkinImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.SetPixel(x, y, static_cast<uint32_t>(x | (y << 8) | (0x40 << 16)));
  return image;
}

inline TSkinMember BmpMember(const std::string& name, int w, int h) { return {name, SaveBmp(Pattern(w, h))}; }

// Parses ini with the given image members available.
inline void Parse(TSkinDescription& skin, const std::string& ini, const std::vector<TSkinMember>& images = {}) {
  std::vector<TSkinMember> members = images;
  members.insert(members.begin(), TSkinMember{"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
  TMemoryStream packed(PackSkin(members));
  std::string error;
  ASSERT_TRUE(skin.LoadPackage(packed, &error)) << error;
}

}  // namespace qm::test
