#include "skin/1_data/skin_image.h"

#include <cstring>

namespace qm {

void TSkinImage::SetSize(int width, int height) {
  if (width <= 0 || height <= 0) width = height = 0;
  FWidth = width;
  FHeight = height;
  FPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
}

uint32_t TSkinImage::Pixel(int x, int y) const {
  const uint8_t* p = ScanLine(y) + static_cast<size_t>(x) * 3;
  return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[0]) << 16);
}

void TSkinImage::SetPixel(int x, int y, uint32_t colour) {
  uint8_t* p = ScanLine(y) + static_cast<size_t>(x) * 3;
  p[0] = static_cast<uint8_t>(colour >> 16);
  p[1] = static_cast<uint8_t>(colour >> 8);
  p[2] = static_cast<uint8_t>(colour);
}

TSkinImage TSkinImage::Columns(int left, int width) const {
  if (left < 0) {
    width += left;
    left = 0;
  }
  if (left + width > FWidth) width = FWidth - left;
  TSkinImage part(width, FHeight);
  if (part.Empty()) return part;
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(part.ScanLine(y), ScanLine(y) + static_cast<size_t>(left) * 3, part.RowBytes());
  return part;
}

}  // namespace qm
