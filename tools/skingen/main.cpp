// skingen: draws the stored default skin and the menu glyph picture, or the
// second skin (a thin steel-blue frame) for trying skin changes.
//
//   skingen SKINDIR [MENUGLYPHS.bmp]
//   skingen --steel SKINDIR
//   skingen --icons WIZARD.ico SKINVIEW.ico
//
// Writes every image member, the description skin.ini and members.txt (the
// package order read by `skintool pack`) into SKINDIR. The output depends on
// nothing but this program, so regenerating must reproduce the committed
// files byte for byte. --icons draws the two programs' icons in the skin's
// colours.

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "bmp_writer.h"
#include "menu_glyphs.h"
#include "skin_art.h"
#include "skin_description.h"

namespace {
std::vector<std::uint8_t> icon(skingen::IconGlyph glyph) {
  std::vector<skingen::IconImage> sizes;
  for (int size : skingen::kIconSizes) sizes.push_back(skingen::drawIcon(glyph, size));
  return skingen::encodeIco(sizes);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--icons") {
    if (argc != 4) {
      std::cerr << "usage: skingen --icons WIZARD.ico SKINVIEW.ico\n";
      return 2;
    }
    try {
      skingen::writeFile(argv[2], icon(skingen::IconGlyph::Wizard));
      skingen::writeFile(argv[3], icon(skingen::IconGlyph::SkinView));
    } catch (const std::exception& e) {
      std::cerr << "skingen: " << e.what() << "\n";
      return 1;
    }
    return 0;
  }
  const bool steel = argc > 1 && std::string(argv[1]) == "--steel";
  if (steel ? argc != 3 : argc < 2 || argc > 3) {
    std::cerr << "usage: skingen SKINDIR [MENUGLYPHS.bmp]\n       skingen --steel SKINDIR\n"
                 "       skingen --icons WIZARD.ico SKINVIEW.ico\n";
    return 2;
  }
  const auto variant = steel ? skingen::SkinVariant::Steel : skingen::SkinVariant::Graphite;
  try {
    const std::filesystem::path dir = argv[steel ? 2 : 1];
    std::filesystem::create_directories(dir);
    for (const auto& member : skingen::drawSkinImages(variant))
      skingen::writeFile((dir / member.name).string(), skingen::encodeBmp24(member.image));
    const std::string ini = skingen::skinDescription(variant);
    skingen::writeFile((dir / "skin.ini").string(), {ini.begin(), ini.end()});
    std::string order;
    for (const auto& name : skingen::packageOrder()) order += name + "\n";
    skingen::writeFile((dir / "members.txt").string(), {order.begin(), order.end()});
    if (!steel && argc == 3)
      skingen::writeFile(argv[2], skingen::encodeBmp1(skingen::kMenuGlyphsWidth, skingen::kMenuGlyphsHeight,
                                                      skingen::menuGlyphInk()));
  } catch (const std::exception& e) {
    std::cerr << "skingen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
