#pragma once
// The image transforms written once for any 24-bit image type that offers
// Width(), Height(), ScanLine(y) (BGR triples) and SetSize(w, h): the
// portable skin image and the GUI layer's bitmap.

#include <cstdint>
#include <cstring>
#include <vector>

namespace qm::detail {

template <typename TImage>
void MirrorImage(TImage& image) {
  const int w = image.Width();
  std::vector<uint8_t> scratch(static_cast<size_t>(w) * 3);
  for (int y = 0; y < image.Height(); ++y) {
    uint8_t* row = image.ScanLine(y);
    std::memcpy(scratch.data(), row, scratch.size());
    for (int k = 0; k < w; ++k) std::memcpy(row + 3 * k, scratch.data() + 3 * (w - 1 - k), 3);
  }
}

template <typename TImage>
void FlipImage(TImage& image) {
  const int h = image.Height();
  std::vector<uint8_t> scratch(static_cast<size_t>(image.Width()) * 3);
  for (int y = 0; y < h / 2; ++y) {
    uint8_t* a = image.ScanLine(y);
    uint8_t* b = image.ScanLine(h - 1 - y);
    std::memcpy(scratch.data(), a, scratch.size());
    std::memcpy(a, b, scratch.size());
    std::memcpy(b, scratch.data(), scratch.size());
  }
}

// Turns a W x H image into an H x W one, moving source pixel (x, y) to
// the point target(x, y, W, H) returns.
template <typename TImage, typename TTarget>
void TurnImage(TImage& image, TTarget target) {
  const int w = image.Width(), h = image.Height();
  if (w <= 0 || h <= 0) return;
  const size_t rowBytes = static_cast<size_t>(w) * 3;
  std::vector<uint8_t> source(rowBytes * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) std::memcpy(source.data() + rowBytes * static_cast<size_t>(y), image.ScanLine(y), rowBytes);
  image.SetSize(h, w);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = source.data() + rowBytes * static_cast<size_t>(y);
    for (int x = 0; x < w; ++x) {
      const auto [tx, ty] = target(x, y, w, h);
      std::memcpy(image.ScanLine(ty) + 3 * tx, row + 3 * x, 3);
    }
  }
}

struct TTurnPoint {
  int X, Y;
};
// Anticlockwise: the top right corner ends at the top left.
inline TTurnPoint TurnLeft(int x, int y, int w, int) { return {y, w - 1 - x}; }
// Clockwise: the top left corner ends at the top right.
inline TTurnPoint TurnRight(int x, int y, int, int h) { return {h - 1 - y, x}; }

}  // namespace qm::detail
