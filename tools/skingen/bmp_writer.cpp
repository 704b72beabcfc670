#include "bmp_writer.h"

#include <fstream>
#include <stdexcept>

namespace skingen {

namespace {
void put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

// File header and BITMAPINFOHEADER; the pixel rows follow bottom-up.
std::vector<std::uint8_t> header(int width, int height, int bits, int paletteEntries,
                                 std::uint32_t imageSize) {
  const std::uint32_t offset = 14 + 40 + 4 * paletteEntries;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + imageSize);
  put32(out, 0);
  put32(out, offset);
  put32(out, 40);
  put32(out, std::uint32_t(width));
  put32(out, std::uint32_t(height));
  put16(out, 1);
  put16(out, unsigned(bits));
  put32(out, 0);  // BI_RGB
  put32(out, imageSize);
  put32(out, 2835);  // 72 dpi, so image viewers show the art at its true size
  put32(out, 2835);
  put32(out, std::uint32_t(paletteEntries));
  put32(out, 0);
  return out;
}
}  // namespace

std::vector<std::uint8_t> encodeBmp24(const Image& img) {
  const int stride = (img.width() * 3 + 3) & ~3;
  auto out = header(img.width(), img.height(), 24, 0, std::uint32_t(stride) * img.height());
  for (int y = img.height() - 1; y >= 0; --y) {
    for (int x = 0; x < img.width(); ++x) {
      const Rgb c = img.at(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (int pad = img.width() * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

std::vector<std::uint8_t> encodeBmp1(int width, int height, const std::vector<bool>& ink) {
  const int stride = ((width + 31) / 32) * 4;
  auto out = header(width, height, 1, 2, std::uint32_t(stride) * height);
  put32(out, 0x00000000);  // index 0: black (ink)
  put32(out, 0x00FFFFFF);  // index 1: white (transparent in the image list)
  for (int y = height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(std::size_t(stride), 0);
    for (int x = 0; x < width; ++x)
      if (!ink[std::size_t(y) * width + x]) row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace skingen
