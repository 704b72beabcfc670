#pragma once
// A skin image as the portable code sees it: 24-bit pixels, three bytes per
// pixel in blue, green, red order, rows top to bottom with no padding. The
// Windows build turns it into a GDI bitmap for drawing.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

class TSkinImage {
 public:
  TSkinImage() = default;
  TSkinImage(int width, int height) { SetSize(width, height); }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
  // Resizes to width x height (black); a zero or negative side empties it.
  void SetSize(int width, int height);
  void Clear() { SetSize(0, 0); }

  uint8_t* ScanLine(int y) { return FPixels.data() + static_cast<size_t>(y) * RowBytes(); }
  const uint8_t* ScanLine(int y) const { return FPixels.data() + static_cast<size_t>(y) * RowBytes(); }
  size_t RowBytes() const { return static_cast<size_t>(FWidth) * 3; }

  // Colour as 0x00BBGGRR.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t colour);

  // Columns [left, left + width) of every row, as a new image.
  TSkinImage Columns(int left, int width) const;

  bool operator==(const TSkinImage& other) const = default;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<uint8_t> FPixels;
};

}  // namespace qm
