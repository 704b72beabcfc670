#include <gtest/gtest.h>

#include <cstring>

#include "skin/1_data/bitmap_utils.h"
#include "skin/1_data/bmp_file.h"
#include "skin_fixture.h"

namespace qm {
namespace {

using Bytes = std::vector<uint8_t>;

// A BMP with a 40-byte header and the given palette and raw rows.
Bytes MakeBmp(int w, int h, int bits, const std::vector<uint32_t>& palette, const Bytes& rows,
              uint32_t compression = 0, const std::vector<uint32_t>& masks = {}) {
  Bytes out(54, 0);
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(w), 4);
  put(22, static_cast<uint32_t>(h), 4);
  put(26, 1, 2);
  put(28, static_cast<uint32_t>(bits), 2);
  put(30, compression, 4);
  put(46, static_cast<uint32_t>(palette.size()), 4);
  for (uint32_t m : masks)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(m >> (8 * i)));
  for (uint32_t c : palette)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(c >> (8 * i)));
  put(10, static_cast<uint32_t>(out.size()), 4);
  out.insert(out.end(), rows.begin(), rows.end());
  put(2, static_cast<uint32_t>(out.size()), 4);
  return out;
}

bool Load(const Bytes& b, TSkinImage& img) { return LoadBmp(b.data(), b.size(), img); }

TEST(BmpFile, PalettedDepthsBottomUp) {
  // Palette entries are 0x00RRGGBB in the file; pixels read back as 0x00BBGGRR.
  const std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  TSkinImage img;
  // 1 bit: 3 x 2, bottom row first, rows padded to 4 bytes.
  ASSERT_TRUE(Load(MakeBmp(3, 2, 1, pal, {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}), img));
  EXPECT_EQ(img.Pixel(0, 0), 0x000000u);
  EXPECT_EQ(img.Pixel(1, 0), 0x0000FFu);  // top row came last
  EXPECT_EQ(img.Pixel(0, 1), 0x0000FFu);
  EXPECT_EQ(img.Pixel(2, 1), 0x0000FFu);
  // 4 bits.
  ASSERT_TRUE(Load(MakeBmp(3, 1, 4, pal, {0x12, 0x30, 0, 0}), img));
  EXPECT_EQ(img.Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(img.Pixel(1, 0), 0x00FF00u);
  EXPECT_EQ(img.Pixel(2, 0), 0xFF0000u);
  // 8 bits, top-down; an index past the palette reads black.
  ASSERT_TRUE(Load(MakeBmp(2, -2, 8, pal, {3, 9, 0, 0, 1, 2, 0, 0}), img));
  EXPECT_EQ(img.Height(), 2);
  EXPECT_EQ(img.Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(img.Pixel(1, 0), 0u);
  EXPECT_EQ(img.Pixel(1, 1), 0x00FF00u);
}

TEST(BmpFile, TrueColourDepths) {
  TSkinImage img;
  ASSERT_TRUE(Load(MakeBmp(1, 2, 24, {}, {1, 2, 3, 0, 4, 5, 6, 0}), img));
  EXPECT_EQ(img.Pixel(0, 1), 0x010203u);
  EXPECT_EQ(img.Pixel(0, 0), 0x040506u);
  ASSERT_TRUE(Load(MakeBmp(2, -1, 32, {}, {1, 2, 3, 0xFF, 7, 8, 9, 0}), img));
  EXPECT_EQ(img.Pixel(0, 0), 0x010203u);
  EXPECT_EQ(img.Pixel(1, 0), 0x070809u);
  // 16 bits 5-6-5 through bit fields: pure red and full white.
  ASSERT_TRUE(Load(MakeBmp(2, 1, 16, {}, {0x00, 0xF8, 0xFF, 0xFF}, 3, {0xF800, 0x07E0, 0x001F}), img));
  EXPECT_EQ(img.Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(img.Pixel(1, 0), 0xFFFFFFu);
}

TEST(BmpFile, DamagedFilesAreRefused) {
  TSkinImage img(4, 4);
  std::string why;
  const Bytes good = MakeBmp(2, 2, 24, {}, Bytes(16, 0x55));
  Bytes truncated(good.begin(), good.end() - 5);
  EXPECT_FALSE(LoadBmp(truncated.data(), truncated.size(), img, &why));
  EXPECT_TRUE(img.Empty());
  EXPECT_FALSE(Load(MakeBmp(2, 2, 8, {0}, Bytes(8, 0), 1), img));  // run-length coded
  EXPECT_FALSE(Load(MakeBmp(0, 2, 24, {}, Bytes(16, 0)), img));
  EXPECT_FALSE(Load(MakeBmp(100000, 1, 24, {}, Bytes(16, 0)), img));
  EXPECT_FALSE(Load(MakeBmp(2, 2, 7, {}, Bytes(16, 0)), img));
  EXPECT_FALSE(Load(Bytes{'B', 'M'}, img));
  Bytes notBmp = good;
  notBmp[0] = 'X';
  EXPECT_FALSE(Load(notBmp, img));
  // The last row may go without its padding.
  Bytes unpadded(good.begin(), good.end() - 2);
  EXPECT_TRUE(Load(unpadded, img));
}

TEST(BmpFile, SaveLoadRoundTrip) {
  const TSkinImage src = test::Pattern(5, 3);
  const Bytes file = SaveBmp(src);
  EXPECT_EQ(file.size(), 54u + 16u * 3u);
  TSkinImage back;
  ASSERT_TRUE(Load(file, back));
  EXPECT_EQ(back, src);
}

TEST(BitmapUtils, MirrorAndFlip) {
  const TSkinImage src = test::Pattern(4, 3);
  TSkinImage img = src;
  MirrorBitmap(img);
  EXPECT_EQ(img.Pixel(0, 1), src.Pixel(3, 1));
  MirrorBitmap(img);
  EXPECT_EQ(img, src);
  TSkinImage thin = test::Pattern(1, 5);
  MirrorBitmap(thin);
  EXPECT_EQ(thin, test::Pattern(1, 5));

  img = src;
  FlipBitmap(img);
  EXPECT_EQ(img.Pixel(2, 0), src.Pixel(2, 2));
  FlipBitmap(img);
  EXPECT_EQ(img, src);
  TSkinImage empty;
  MirrorBitmap(empty);
  FlipBitmap(empty);
  RotateBitmapLeft(empty);
  EXPECT_TRUE(empty.Empty());
}

TEST(BitmapUtils, QuarterTurns) {
  const TSkinImage src = test::Pattern(3, 2);
  TSkinImage left = src;
  RotateBitmapLeft(left);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  EXPECT_EQ(left.Pixel(0, 0), src.Pixel(2, 0));  // top right to top left
  EXPECT_EQ(left.Pixel(0, 2), src.Pixel(0, 0));  // top edge becomes the left edge, bottom to top
  EXPECT_EQ(left.Pixel(1, 0), src.Pixel(2, 1));
  TSkinImage back = left;
  RotateBitmapRight(back);
  EXPECT_EQ(back, src);

  TSkinImage right = src;
  RotateBitmapRight(right);
  EXPECT_EQ(right.Pixel(1, 0), src.Pixel(0, 0));  // top left to top right
  EXPECT_EQ(right.Pixel(0, 0), src.Pixel(0, 1));
}

}  // namespace
}  // namespace qm
