#include "bitmap_utils.h"

#include <cstring>
#include <vector>

namespace qm {

void MirrorBitmap(TSkinImage& Bitmap) {
  const int w = Bitmap.Width();
  std::vector<uint8_t> scratch(Bitmap.RowBytes());
  for (int y = 0; y < Bitmap.Height(); ++y) {
    uint8_t* row = Bitmap.ScanLine(y);
    std::memcpy(scratch.data(), row, scratch.size());
    for (int k = 0; k < w; ++k) std::memcpy(row + 3 * k, scratch.data() + 3 * (w - 1 - k), 3);
  }
}

void FlipBitmap(TSkinImage& Bitmap) {
  const int h = Bitmap.Height();
  std::vector<uint8_t> scratch(Bitmap.RowBytes());
  for (int y = 0; y < h / 2; ++y) {
    uint8_t* a = Bitmap.ScanLine(y);
    uint8_t* b = Bitmap.ScanLine(h - 1 - y);
    std::memcpy(scratch.data(), a, scratch.size());
    std::memcpy(a, b, scratch.size());
    std::memcpy(b, scratch.data(), scratch.size());
  }
}

namespace {
struct TPoint {
  int X, Y;
};

// Moves source pixel (x, y) to target(x, y) of a W x H image turned into
// an H x W one.
template <typename TTarget>
void Rotate(TSkinImage& bitmap, TTarget target) {
  const TSkinImage source = bitmap;
  const int w = source.Width(), h = source.Height();
  bitmap.SetSize(h, w);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = source.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      const auto [tx, ty] = target(x, y, w, h);
      std::memcpy(bitmap.ScanLine(ty) + 3 * tx, row + 3 * x, 3);
    }
  }
}
}  // namespace

void RotateBitmapLeft(TSkinImage& Bitmap) {
  Rotate(Bitmap, [](int x, int y, int w, int) { return TPoint{y, w - 1 - x}; });
}

void RotateBitmapRight(TSkinImage& Bitmap) {
  Rotate(Bitmap, [](int x, int y, int, int h) { return TPoint{h - 1 - y, x}; });
}

}  // namespace qm
