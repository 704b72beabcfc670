// Skin geometry and images at display scales: lengths rounded as Windows
// rounds, whole factors kept crisp, fractional ones smooth, and the key
// colour never blended into a visible pixel.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "skin/1_data/skin_image_scale.h"
#include "skin/1_data/skin_scale.h"

using namespace qm;

namespace {

TSkinImage Filled(int w, int h, uint32_t colour) {
  TSkinImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.SetPixel(x, y, colour);
  return image;
}

// Pseudo-random pixels, about a third of them the key colour.
TSkinImage Speckled(int w, int h, uint32_t other) {
  TSkinImage image(w, h);
  uint32_t state = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      state = state * 1103515245u + 12345u;
      image.SetPixel(x, y, (state >> 16) % 3 == 0 ? kSkinKeyColour : other);
    }
  return image;
}

}  // namespace

TEST(SkinScale, LengthsAreRoundedAsWindowsMulDivRoundsThem) {
  struct {
    int A, B, C, Want;
  } const cases[] = {
      {483, 144, 96, 725}, {436, 144, 96, 654}, {18, 120, 96, 23}, {39, 120, 96, 49}, {15, 144, 96, 23},
      {39, 144, 96, 59},   {-12, 144, 96, -18}, {-13, 144, 96, -20}, {7, 120, -96, -9}, {1, 1, 0, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(MulDivRounded(c.A, c.B, c.C), c.Want) << c.A << "*" << c.B << "/" << c.C;
  // The stored skin's frame, 18/39/18/15, and a button's place.
  const struct {
    int Dpi;
    TSkinMargins Frame;
    TSkinRect Button;
  } scales[] = {
      {96, {18, 39, 18, 15}, {441, 5, 459, 23}},
      {120, {23, 49, 23, 19}, {551, 6, 574, 29}},
      {144, {27, 59, 27, 23}, {662, 8, 689, 35}},
      {192, {36, 78, 36, 30}, {882, 10, 918, 46}},
  };
  for (const auto& s : scales) {
    EXPECT_EQ(ScaleSkinMargins({18, 39, 18, 15}, s.Dpi), s.Frame) << s.Dpi;
    EXPECT_EQ(ScaleSkinRect({441, 5, 459, 23}, s.Dpi), s.Button) << s.Dpi;
  }
}

TEST(SkinScale, WholeFactorsRepeatEveryPixelWithoutBlending) {
  const TSkinImage source = Speckled(13, 7, 0x336699);
  for (int factor : {1, 2, 3}) {
    const TSkinImage scaled = ScaleSkinImage(source, 96 * factor);
    ASSERT_EQ(scaled.Width(), 13 * factor);
    ASSERT_EQ(scaled.Height(), 7 * factor);
    for (int y = 0; y < scaled.Height(); ++y)
      for (int x = 0; x < scaled.Width(); ++x)
        ASSERT_EQ(scaled.Pixel(x, y), source.Pixel(x / factor, y / factor)) << factor << ": " << x << "," << y;
  }
}

// Key-coloured pixels among pixels of one other colour: any key colour that
// went into a visible pixel would show as a tint of that colour.
TEST(SkinScale, FractionalFactorsKeepTheKeyColourExactAndNeverBlendIt) {
  const uint32_t grey = 0x404040;
  const TSkinImage source = Speckled(40, 30, grey);
  for (int dpi : {120, 144, 168, 240}) {
    const TSkinImage scaled = ScaleSkinImage(source, dpi);
    EXPECT_EQ(scaled.Width(), ScaleSkinLength(40, dpi));
    EXPECT_EQ(scaled.Height(), ScaleSkinLength(30, dpi));
    int keys = 0;
    for (int y = 0; y < scaled.Height(); ++y)
      for (int x = 0; x < scaled.Width(); ++x) {
        const uint32_t p = scaled.Pixel(x, y);
        ASSERT_TRUE(p == kSkinKeyColour || p == grey) << dpi << ": " << std::hex << p << " at " << std::dec << x
                                                      << "," << y;
        keys += p == kSkinKeyColour;
      }
    // The transparent share stays about what it was (a third).
    EXPECT_NEAR(keys / double(scaled.Width() * scaled.Height()), 1 / 3.0, 0.08) << dpi;
  }
  // A key colour of another skin is kept just as exactly.
  const TSkinImage green = ScaleSkinImage(Filled(4, 4, 0x00FF00), 120, {}, 0x00FF00);
  EXPECT_EQ(green, Filled(5, 5, 0x00FF00));
}

TEST(SkinScale, FractionalFactorsFilterSmoothlyAndKeepSolidAreasExact) {
  // Black beside white: the edge gets greys between them, not a hard step.
  TSkinImage edge = Filled(4, 1, 0x000000);
  edge.SetPixel(2, 0, 0xFFFFFF);
  edge.SetPixel(3, 0, 0xFFFFFF);
  const TSkinImage scaled = ScaleSkinImage(edge, 144);
  ASSERT_EQ(scaled.Width(), 6);
  std::set<uint32_t> colours;
  for (int x = 0; x < 6; ++x) colours.insert(scaled.Pixel(x, 0));
  EXPECT_EQ(scaled.Pixel(0, 0), 0x000000u);
  EXPECT_EQ(scaled.Pixel(5, 0), 0xFFFFFFu);
  EXPECT_GT(colours.size(), 2u);
  for (int x = 1; x < 6; ++x) EXPECT_GE(scaled.Pixel(x, 0) & 0xFF, scaled.Pixel(x - 1, 0) & 0xFF) << x;
  EXPECT_EQ(ScaleSkinImage(Filled(9, 9, 0x123456), 120), Filled(11, 11, 0x123456));
}

// Each frame of a strip is scaled on its own: all come out the same size,
// and none takes colour from its neighbour.
TEST(SkinScale, StripsAreScaledFrameByFrame) {
  const uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
  const struct {
    TSkinFrames Frames;
    int Width, Height;
  } strips[] = {{{3, 1}, 15 * 3 + 2, 10}, {{1, 3}, 10, 15 * 3}};  // two spare columns, left out
  for (const auto& strip : strips) {
    TSkinImage source(strip.Width, strip.Height);
    const bool across = strip.Frames.Across == 3;
    for (int y = 0; y < strip.Height; ++y)
      for (int x = 0; x < strip.Width; ++x) source.SetPixel(x, y, colours[std::min((across ? x : y) / 15, 2)]);
    for (int dpi : {120, 144, 192}) {
      const TSkinImage scaled = ScaleSkinImage(source, dpi, strip.Frames);
      const int frame = ScaleSkinLength(15, dpi);
      EXPECT_EQ(across ? scaled.Width() : scaled.Height(), 3 * frame) << dpi;
      for (int y = 0; y < scaled.Height(); ++y)
        for (int x = 0; x < scaled.Width(); ++x)
          ASSERT_EQ(scaled.Pixel(x, y), colours[(across ? x : y) / frame]) << dpi << ": " << x << "," << y;
    }
  }
  EXPECT_TRUE(ScaleSkinImage(TSkinImage(), 144).Empty());
  EXPECT_TRUE(ScaleSkinImage(Filled(2, 2, 0), 144, {3, 1}).Empty());  // not one whole frame
}
