// skingen: draws the stored default skin and the menu glyph picture.
//
//   skingen SKINDIR [MENUGLYPHS.bmp]
//
// Writes every image member, the description skin.ini and members.txt (the
// package order read by `skintool pack`) into SKINDIR. The output depends on
// nothing but this program, so regenerating must reproduce the committed
// files byte for byte.

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "bmp_writer.h"
#include "menu_glyphs.h"
#include "skin_art.h"
#include "skin_description.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: skingen SKINDIR [MENUGLYPHS.bmp]\n";
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const auto& member : skingen::drawSkinImages())
      skingen::writeFile((dir / member.name).string(), skingen::encodeBmp24(member.image));
    const std::string ini = skingen::skinDescription();
    skingen::writeFile((dir / "skin.ini").string(), {ini.begin(), ini.end()});
    std::string order;
    for (const auto& name : skingen::packageOrder()) order += name + "\n";
    skingen::writeFile((dir / "members.txt").string(), {order.begin(), order.end()});
    if (argc == 3)
      skingen::writeFile(argv[2], skingen::encodeBmp1(skingen::kMenuGlyphsWidth, skingen::kMenuGlyphsHeight,
                                                      skingen::menuGlyphInk()));
  } catch (const std::exception& e) {
    std::cerr << "skingen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
