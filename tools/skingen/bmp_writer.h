#pragma once
// Windows BMP output: 24-bit colour images for skin members, the 1-bit
// picture the menu glyph resource is compiled from, and icon files, whose
// images are bitmaps too.

#include <cstdint>
#include <string>
#include <vector>

#include "icon_art.h"
#include "raster.h"

namespace skingen {

std::vector<std::uint8_t> encodeBmp24(const Image& img);
// Black where `ink` is true, white elsewhere; rows of `width` flags.
std::vector<std::uint8_t> encodeBmp1(int width, int height, const std::vector<bool>& ink);

// An icon file with every size given, each 32-bit with its alpha and the
// mask that systems without alpha draw by.
std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& sizes);

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace skingen
