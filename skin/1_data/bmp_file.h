#pragma once
// Reading and writing Windows BMP files for skin images: 1, 4 and 8 bits
// per pixel through a palette, 16 (5-5-5 or bit fields), 24 and 32 bits,
// rows stored bottom-up or top-down; uncompressed only.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/1_data/skin_image.h"

namespace qm {

// Largest side and pixel count accepted; a skin image is a few hundred
// pixels wide, so anything beyond is a damaged header.
inline constexpr int BmpMaxSide = 32768;
inline constexpr int64_t BmpMaxPixels = 16 * 1024 * 1024;

// False (and Image emptied) for anything that is not a readable BMP; Error
// then says why.
bool LoadBmp(const uint8_t* data, size_t size, TSkinImage& Image, std::string* Error = nullptr);
// A 24-bit bottom-up BMP file of the image.
std::vector<uint8_t> SaveBmp(const TSkinImage& Image);

}  // namespace qm
