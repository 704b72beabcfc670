// The BMP reader on arbitrary files; whatever it accepts must survive the
// transforms and write back to the same pixels.

#include <cstddef>
#include <cstdint>

#include "skin/1_data/bitmap_utils.h"
#include "skin/1_data/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qm::TSkinImage image;
  if (!qm::LoadBmp(data, size, image)) {
    if (!image.Empty()) __builtin_trap();
    return 0;
  }
  const auto file = qm::SaveBmp(image);
  qm::TSkinImage back;
  if (!qm::LoadBmp(file.data(), file.size(), back) || !(back == image)) __builtin_trap();
  qm::RotateBitmapLeft(back);
  qm::MirrorBitmap(back);
  qm::FlipBitmap(back);
  qm::RotateBitmapRight(back);
  return 0;
}
