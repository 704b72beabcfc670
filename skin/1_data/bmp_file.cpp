#include "skin/1_data/bmp_file.h"

#include <cstring>

namespace qm {

namespace {

uint32_t U16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8); }
uint32_t U32(const uint8_t* p) { return U16(p) | (U16(p + 2) << 16); }

// One colour channel described by a bit mask, widened to eight bits.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (!mask) return;
    while (!((mask >> Shift) & 1u)) ++Shift;
    while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1u)) ++Bits;
  }
  uint8_t Get(uint32_t v) const {
    if (!Bits) return 0;
    const uint32_t x = (v & Mask) >> Shift;
    if (Bits >= 8) return static_cast<uint8_t>(x >> (Bits - 8));
    const uint32_t full = (1u << Bits) - 1;
    return static_cast<uint8_t>((x * 255 + full / 2) / full);
  }
};

bool Fail(TSkinImage& image, std::string* error, const char* why) {
  image.Clear();
  if (error) *error = why;
  return false;
}

}  // namespace

bool LoadBmp(const uint8_t* data, size_t size, TSkinImage& Image, std::string* Error) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return Fail(Image, Error, "not a BMP file");
  const uint32_t offBits = U32(data + 10);
  const uint32_t headerSize = U32(data + 14);
  if (headerSize < 12 || headerSize > size - 14) return Fail(Image, Error, "bad info header size");
  const uint8_t* h = data + 14;

  int64_t width = 0, height = 0;
  uint32_t bitCount = 0, compression = 0, colorsUsed = 0;
  size_t paletteEntry = 4;
  uint32_t masks[3] = {0, 0, 0};
  size_t afterHeader = 14 + headerSize;
  if (headerSize == 12) {
    width = U16(h + 4);
    height = static_cast<int16_t>(U16(h + 6));
    bitCount = U16(h + 10);
    paletteEntry = 3;
  } else if (headerSize >= 40) {
    width = static_cast<int32_t>(U32(h + 4));
    height = static_cast<int32_t>(U32(h + 8));
    bitCount = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
    if (compression == 3) {
      const uint8_t* m = h + 40;
      if (headerSize < 52) {
        if (afterHeader + 12 > size) return Fail(Image, Error, "bit-field masks missing");
        afterHeader += 12;
      }
      masks[0] = U32(m);
      masks[1] = U32(m + 4);
      masks[2] = U32(m + 8);
    }
  } else {
    return Fail(Image, Error, "unknown info header");
  }

  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > BmpMaxSide || height > BmpMaxSide || width * height > BmpMaxPixels)
    return Fail(Image, Error, "unsupported image size");
  if (!(compression == 0 || (compression == 3 && (bitCount == 16 || bitCount == 32))))
    return Fail(Image, Error, "compressed BMP not supported");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return Fail(Image, Error, "unsupported bits per pixel");

  uint32_t palette[256] = {};
  if (bitCount <= 8) {
    size_t entries = colorsUsed ? colorsUsed : (1u << bitCount);
    if (entries > 256) entries = 256;
    const size_t available = size > afterHeader ? (size - afterHeader) / paletteEntry : 0;
    if (entries > available) entries = available;
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* p = data + afterHeader + i * paletteEntry;
      palette[i] = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }
  }
  if (compression == 0 && bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (compression == 0 && bitCount == 32) {
    masks[0] = 0x00FF0000;
    masks[1] = 0x0000FF00;
    masks[2] = 0x000000FF;
  }
  const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);

  const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
  const uint64_t lastRow = (static_cast<uint64_t>(width) * bitCount + 7) / 8;
  if (offBits >= size || offBits + stride * static_cast<uint64_t>(height - 1) + lastRow > size)
    return Fail(Image, Error, "pixel data truncated");

  Image.SetSize(static_cast<int>(width), static_cast<int>(height));
  const int w = static_cast<int>(width);
  for (int row = 0; row < height; ++row) {
    const uint8_t* src = data + offBits + stride * static_cast<uint64_t>(row);
    uint8_t* dst = Image.ScanLine(topDown ? row : static_cast<int>(height) - 1 - row);
    for (int x = 0; x < w; ++x, dst += 3) {
      uint32_t bgr = 0;
      switch (bitCount) {
        case 1: bgr = palette[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: bgr = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
        case 8: bgr = palette[src[x]]; break;
        case 24: bgr = static_cast<uint32_t>(src[3 * x]) | (static_cast<uint32_t>(src[3 * x + 1]) << 8) |
                       (static_cast<uint32_t>(src[3 * x + 2]) << 16);
          break;
        case 16:
        case 32: {
          const uint32_t v = bitCount == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
          bgr = static_cast<uint32_t>(blue.Get(v)) | (static_cast<uint32_t>(green.Get(v)) << 8) |
                (static_cast<uint32_t>(red.Get(v)) << 16);
          break;
        }
      }
      dst[0] = static_cast<uint8_t>(bgr);
      dst[1] = static_cast<uint8_t>(bgr >> 8);
      dst[2] = static_cast<uint8_t>(bgr >> 16);
    }
  }
  if (Error) Error->clear();
  return true;
}

std::vector<uint8_t> SaveBmp(const TSkinImage& Image) {
  const uint32_t w = static_cast<uint32_t>(Image.Width()), h = static_cast<uint32_t>(Image.Height());
  const uint32_t stride = ((w * 24 + 31) / 32) * 4;
  const uint32_t imageSize = stride * h;
  std::vector<uint8_t> out(54 + imageSize, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  put16(26, 1);
  put16(28, 24);
  put32(34, imageSize);
  put32(38, 2835);
  put32(42, 2835);
  for (uint32_t y = 0; y < h; ++y)
    std::memcpy(out.data() + 54 + static_cast<size_t>(y) * stride, Image.ScanLine(static_cast<int>(h - 1 - y)),
                Image.RowBytes());
  return out;
}

}  // namespace qm
