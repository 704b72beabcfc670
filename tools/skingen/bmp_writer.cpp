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

std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& sizes) {
  std::vector<std::uint8_t> out;
  put16(out, 0);
  put16(out, 1);  // an icon, not a cursor
  put16(out, unsigned(sizes.size()));
  std::vector<std::vector<std::uint8_t>> images;
  for (const IconImage& icon : sizes) {
    const int w = icon.colour.width(), h = icon.colour.height();
    const int maskStride = ((w + 31) / 32) * 4;
    // The header of a bitmap in an icon counts the mask's rows in its height.
    std::vector<std::uint8_t> dib = header(w, 2 * h, 32, 0, std::uint32_t(w) * h * 4 + std::uint32_t(maskStride) * h);
    dib.erase(dib.begin(), dib.begin() + 14);  // no file header inside an icon
    for (int y = h - 1; y >= 0; --y)
      for (int x = 0; x < w; ++x) {
        const Rgb c = icon.colour.at(x, y);
        dib.insert(dib.end(), {c.b, c.g, c.r, icon.alpha[std::size_t(y) * w + x]});
      }
    for (int y = h - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(std::size_t(maskStride), 0);
      for (int x = 0; x < w; ++x)
        if (icon.alpha[std::size_t(y) * w + x] < 128) row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
      dib.insert(dib.end(), row.begin(), row.end());
    }
    images.push_back(std::move(dib));
  }
  std::uint32_t offset = 6 + 16 * std::uint32_t(sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const int w = sizes[i].colour.width(), h = sizes[i].colour.height();
    out.push_back(std::uint8_t(w >= 256 ? 0 : w));
    out.push_back(std::uint8_t(h >= 256 ? 0 : h));
    out.push_back(0);  // no palette
    out.push_back(0);
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, std::uint32_t(images[i].size()));
    put32(out, offset);
    offset += std::uint32_t(images[i].size());
  }
  for (const auto& dib : images) out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace skingen
