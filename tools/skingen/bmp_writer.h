#pragma once
// Windows BMP output: 24-bit colour images for skin members and the 1-bit
// picture the menu glyph resource is compiled from.

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace skingen {

std::vector<std::uint8_t> encodeBmp24(const Image& img);
// Black where `ink` is true, white elsewhere; rows of `width` flags.
std::vector<std::uint8_t> encodeBmp1(int width, int height, const std::vector<bool>& ink);

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace skingen
