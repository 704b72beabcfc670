#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "bitmap_pixel.h"
#include "gui_objects.h"
#include "skin/1_data/skin_draw_text.h"
#include "skin/2_paint/skin_bitmap_draw.h"

namespace qm {
namespace {

// A strip of frames whose pixels name their place: each frame is cut by the
// margins 3 / 4 / 2 / 5 into nine zones, every zone one colour, except the
// middle zone, whose colour changes with the column so that tiling and
// stretching can be told apart.
constexpr int FW = 12, FH = 14;
constexpr RECT Margins{3, 4, 2, 5};

int ZoneOf(int v, int lead, int trail, int size) { return v < lead ? 0 : v >= size - trail ? 2 : 1; }

COLORREF StripColour(int frame, int x, int y) {
  const int zx = ZoneOf(x, Margins.left, Margins.right, FW), zy = ZoneOf(y, Margins.top, Margins.bottom, FH);
  if (zx == 1 && zy == 1) return RGB(250, 20 * (x - Margins.left), frame * 60);
  return RGB(zx * 100, zy * 100 + 10, frame * 60);
}

void PutPixel(gui::TBitmap& b, int x, int y, COLORREF c) {
  std::uint8_t* p = b.ScanLine(y) + 3 * x;
  p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
}

std::unique_ptr<gui::TBitmap> MakeStrip(int frames, bool vertical) {
  auto made = std::make_unique<gui::TBitmap>(vertical ? FW : FW * frames, vertical ? FH * frames : FH);
  gui::TBitmap& strip = *made;
  for (int f = 1; f <= frames; ++f)
    for (int y = 0; y < FH; ++y)
      for (int x = 0; x < FW; ++x) {
        const int sx = vertical ? x : (f - 1) * FW + x, sy = vertical ? (f - 1) * FH + y : y;
        PutPixel(strip, sx, sy, StripColour(f, x, y));
      }
  return made;
}


void Fill(gui::TBitmap& b, COLORREF c) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) PutPixel(b, x, y, c);
}

struct TProbe {
  int X, Y;
  COLORREF Colour;
};

struct TNineGridCase {
  const char* Name;
  int Width, Height;
  RECT Margins;
  bool Vertical, Tile;
  int Frames, Frame;
  std::vector<TProbe> Probes;
};

TEST(SkinBitmapDraw, NineGridKeepsCornersStretchesEdgesAndTilesOrStretchesTheMiddle) {
  const TNineGridCase cases[] = {
      {"corners and edges of frame 2 of 3", 40, 30, Margins, false, false, 3, 2,
       {{0, 0, StripColour(2, 0, 0)},
        {39, 29, StripColour(2, 11, 13)},
        {39, 0, StripColour(2, 11, 0)},
        {0, 29, StripColour(2, 0, 13)},
        {20, 1, StripColour(2, 5, 1)},
        {1, 15, StripColour(2, 1, 6)},
        {38, 15, StripColour(2, 10, 6)},
        {20, 27, StripColour(2, 5, 10)}}},
      {"stacked frames", 40, 30, Margins, true, false, 3, 3,
       {{0, 0, StripColour(3, 0, 0)}, {39, 29, StripColour(3, 11, 13)}}},
      {"a single frame is the whole strip", 20, 20, Margins, false, false, 1, 1,
       {{0, 0, StripColour(1, 0, 0)}, {19, 19, StripColour(1, 11, 13)}}},
      // The middle repeats at its natural width: column 3 + 7 + 1 shows the
      // middle's second column again, exactly.
      {"tiled middle", 40, 30, Margins, false, true, 3, 1,
       {{3, 4, StripColour(1, 3, 4)}, {11, 4, StripColour(1, 4, 4)}, {19, 10, StripColour(1, 5, 4)}}},
      // Narrower than left + right: both side margins go, the frame is
      // stretched across, and rows keep their margins.
      {"target narrower than its margins", 4, 30, Margins, false, false, 3, 1,
       {{0, 0, StripColour(1, 0, 0)}, {2, 0, StripColour(1, 6, 0)}, {0, 29, StripColour(1, 0, 13)}}},
      // No left margin: no left edge, no left corners; the top edge and the
      // middle start at column 0 with the frame's own first column.
      {"zero left margin", 40, 30, RECT{0, 4, 2, 5}, false, true, 3, 1,
       {{0, 1, StripColour(1, 0, 1)}, {0, 4, StripColour(1, 0, 4)}, {39, 29, StripColour(1, 11, 13)}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto held = MakeStrip(c.Frames, c.Vertical);
    gui::TBitmap& strip = *held;
    auto grid = NineGridBitmap(RECT{5, 5, 5 + c.Width, 5 + c.Height}, strip, c.Margins, c.Vertical, c.Tile,
                               c.Frames, c.Frame);
    ASSERT_EQ(grid->Width(), c.Width);
    ASSERT_EQ(grid->Height(), c.Height);
    for (const auto& p : c.Probes) EXPECT_EQ(PixelOf(*grid, p.X, p.Y), p.Colour) << "at " << p.X << "," << p.Y;
  }
}

TEST(SkinBitmapDraw, StretchingGivesTheBlendedPixelsWhateverWayItTakes) {
  // Pieces whose lines along the stretched axes are one colour are copied
  // without blending; every pixel must still be what blending gives.
  const struct {
    const char* Name;
    COLORREF (*Colour)(int x, int y);
  } pictures[] = {
      {"one colour", [](int, int) { return RGB(90, 120, 150); }},
      {"rows of one colour", [](int, int y) { return RGB(10 * y, 200 - 9 * y, 77); }},
      {"columns of one colour", [](int x, int) { return RGB(33, 12 * x, 250 - 11 * x); }},
      {"neither", [](int x, int y) { return RGB(((x + y) & 1) * 255, 8 * x, 8 * y); }},
  };
  const SIZE targets[] = {{12, 30}, {40, 14}, {40, 30}, {5, 14}, {12, 6}, {7, 9}};
  for (const auto& picture : pictures) {
    gui::TBitmap strip(12, 14);
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 12; ++x) PutPixel(strip, x, y, picture.Colour(x, y));
    for (const SIZE& t : targets) {
      SCOPED_TRACE(std::string(picture.Name) + " to " + std::to_string(t.cx) + "x" + std::to_string(t.cy));
      gui::TBitmap drawn(t.cx, t.cy), blended(t.cx, t.cy);
      DrawFrame(drawn.Canvas().Handle(), RECT{0, 0, t.cx, t.cy}, strip, false, 1, 1);
      blended.Canvas().StretchMode = HALFTONE;
      blended.Canvas().CopyRect(RECT{0, 0, t.cx, t.cy}, strip.Canvas(), RECT{0, 0, 12, 14});
      int wrong = 0;
      for (int y = 0; y < t.cy; ++y)
        for (int x = 0; x < t.cx; ++x) wrong += PixelOf(drawn, x, y) != PixelOf(blended, x, y);
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST(SkinBitmapDraw, FramesOutsideTheStripAreClampedIntoIt) {
  const auto held = MakeStrip(3, false);
    gui::TBitmap& strip = *held;
  const struct {
    int Frames, Frame;
    RECT Expected;
  } cases[] = {{3, 1, {0, 0, 12, 14}},  {3, 3, {24, 0, 36, 14}}, {3, 9, {24, 0, 36, 14}},
               {3, 0, {0, 0, 12, 14}},  {0, 1, {0, 0, 36, 14}},  {-2, 2, {0, 0, 36, 14}}};
  for (const auto& c : cases) {
    const RECT r = SkinFrameRect(strip, false, c.Frames, c.Frame);
    EXPECT_TRUE(EqualRect(&r, &c.Expected)) << c.Frames << " frames, frame " << c.Frame;
  }
}

TEST(SkinBitmapDraw, RingLeavesTheMiddleAndTheDCAsTheyWere) {
  const auto held = MakeStrip(2, false);
    gui::TBitmap& strip = *held;
  gui::TBitmap target(50, 40);
  Fill(target, RGB(1, 2, 3));
  HDC dc = target.Canvas().Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  DrawNineGridRing(dc, RECT{5, 5, 45, 35}, strip, false, 2, 2, Margins);
  EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
  EXPECT_EQ(PixelOf(target, 5, 5), StripColour(2, 0, 0));
  EXPECT_EQ(PixelOf(target, 44, 34), StripColour(2, 11, 13));
  EXPECT_EQ(PixelOf(target, 25, 20), RGB(1, 2, 3));  // middle untouched
  EXPECT_EQ(PixelOf(target, 4, 4), RGB(1, 2, 3));    // nothing outside R
  // An inverted rectangle draws nothing at all.
  DrawNineGridRing(dc, RECT{45, 5, 5, 35}, strip, false, 2, 1, Margins);
  EXPECT_EQ(PixelOf(target, 5, 5), StripColour(2, 0, 0));
}

TEST(SkinBitmapDraw, ThreePartBandRepeatsItsMiddleBetweenTheCaps) {
  gui::TBitmap target(60, 20);
  gui::TCanvas& canvas = target.Canvas();
  const auto held = MakeStrip(1, false);
    gui::TBitmap& strip = *held;
  Fill(target, RGB(1, 2, 3));
  DrawThreePart(canvas, RECT{0, 0, 60, FH}, strip, false, false, 1, 1, RECT{3, 0, 2, 0});
  EXPECT_EQ(PixelOf(target, 0, 0), StripColour(1, 0, 0));
  EXPECT_EQ(PixelOf(target, 59, 0), StripColour(1, 11, 0));
  // Middle segment 7 columns wide: target column 3 + 7 + 2 is source column 5.
  EXPECT_EQ(PixelOf(target, 12, 6), StripColour(1, 5, 6));
  EXPECT_EQ(PixelOf(target, 5, 15), RGB(1, 2, 3));  // below R: untouched

  // Caps as wide as the frame: no middle; only the caps are drawn.
  gui::TBitmap caps(5, FH);
  for (int y = 0; y < FH; ++y)
    for (int x = 0; x < 5; ++x) {
      std::uint8_t* p = caps.ScanLine(y) + 3 * x;
      p[0] = 0, p[1] = 0, p[2] = x < 3 ? 200 : 100;
    }
  Fill(target, RGB(1, 2, 3));
  DrawThreePart(canvas, RECT{0, 0, 30, FH}, caps, false, false, 1, 1, RECT{3, 0, 2, 0});
  EXPECT_EQ(PixelOf(target, 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(PixelOf(target, 29, 0), RGB(100, 0, 0));
  EXPECT_NE(PixelOf(target, 15, 0), RGB(200, 0, 0));
  EXPECT_NE(PixelOf(target, 15, 0), RGB(100, 0, 0));
}

TEST(SkinBitmapDraw, KeyColourIsSeeThroughOnBothPlatformFamilies) {
  const bool wasNT = SkinPlatformIsNT;
  gui::TBitmap picture(4, 1);
  const COLORREF row[] = {SkinKeyColour, RGB(10, 20, 30), SkinKeyColour, RGB(254, 0, 255)};
  for (int x = 0; x < 4; ++x) PutPixel(picture, x, 0, row[x]);
  for (bool nt : {true, false}) {
    SCOPED_TRACE(nt ? "NT" : "9x");
    SkinPlatformIsNT = nt;
    gui::TBitmap target(8, 3);
    Fill(target, RGB(7, 7, 7));
    DrawTransparent(target.Canvas().Handle(), RECT{2, 1, 6, 2}, picture, SkinKeyColour);
    EXPECT_EQ(PixelOf(target, 2, 1), RGB(7, 7, 7));
    EXPECT_EQ(PixelOf(target, 3, 1), RGB(10, 20, 30));
    EXPECT_EQ(PixelOf(target, 4, 1), RGB(7, 7, 7));
    EXPECT_EQ(PixelOf(target, 5, 1), RGB(254, 0, 255));
    EXPECT_EQ(PixelOf(target, 3, 0), RGB(7, 7, 7));
    // The frame drawer goes through the same path.
    Fill(target, RGB(7, 7, 7));
    DrawFrame(target.Canvas().Handle(), RECT{0, 0, 4, 1}, picture, true, 2, 2);
    EXPECT_EQ(PixelOf(target, 0, 0), RGB(7, 7, 7));
    EXPECT_EQ(PixelOf(target, 3, 0), RGB(254, 0, 255));
  }
  SkinPlatformIsNT = wasNT;
}

HRGN RegionOf(const std::vector<std::vector<COLORREF>>& rows, int x = 0, int y = 0) {
  gui::TBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) PutPixel(b, static_cast<int>(c), static_cast<int>(r), rows[r][c]);
  return BitmapToRegion(b, x, y, 1, 1, 1, SkinKeyColour);
}

TEST(SkinBitmapDraw, RegionHoldsExactlyTheNonKeyPixels) {
  const COLORREF K = SkinKeyColour, A = RGB(1, 2, 3);
  EXPECT_EQ(RegionOf({{K, K}, {K, K}}), nullptr);

  HRGN full = RegionOf({{A, A, A}, {A, A, A}}, 10, 20);
  ASSERT_NE(full, nullptr);
  HRGN expected = CreateRectRgn(10, 20, 13, 22);
  EXPECT_TRUE(EqualRgn(full, expected));
  DeleteObject(expected);
  DeleteObject(full);

  // Within tolerance 1 of the key (green 0..1, red and blue 255) is key.
  const struct {
    COLORREF Colour;
    bool Inside;
  } tolerance[] = {{RGB(255, 1, 255), false}, {RGB(255, 2, 255), true}, {RGB(254, 0, 255), true},
                   {RGB(255, 0, 254), true},  {RGB(255, 0, 255), false}};
  for (const auto& t : tolerance) {
    HRGN rgn = RegionOf({{A, t.Colour}});
    EXPECT_EQ(PtInRegion(rgn, 1, 0) != 0, t.Inside) << std::hex << t.Colour;
    DeleteObject(rgn);
  }

  // A checkerboard of 100 x 100 has 5,000 runs: several batches.
  std::vector<std::vector<COLORREF>> board(100, std::vector<COLORREF>(100));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) board[y][x] = (x + y) % 2 ? A : K;
  HRGN rgn = RegionOf(board, 3, 4);
  ASSERT_NE(rgn, nullptr);
  int wrong = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) wrong += (PtInRegion(rgn, x + 3, y + 4) != 0) != ((x + y) % 2 == 1);
  EXPECT_EQ(wrong, 0);
  DeleteObject(rgn);
}

TEST(SkinBitmapDraw, DrawingLeavesNoGdiObjectBehind) {
  const auto held = MakeStrip(3, false);
    gui::TBitmap& strip = *held;
  gui::TBitmap target(80, 60);
  HDC dc = target.Canvas().Handle();
  strip.Canvas();  // its memory DC lives as long as the strip
  const int before = qmtest::GdiObjectCount();
  // Two rounds of the six mixes of the varied arguments: the count is exact,
  // so a leak of one object per call shows as 12.
  for (int i = 0; i < 12; ++i) {
    DrawNineGrid(dc, RECT{0, 0, 70, 50}, strip, false, i % 2 == 0, true, 3, 1 + i % 3, Margins);
    DrawThreePart(target.Canvas(), RECT{0, 0, 60, 14}, strip, false, true, 3, 2, Margins);
    DrawFrame(dc, RECT{0, 0, 30, 20}, strip, i % 2 == 0, 3, 3);
    DeleteObject(BitmapToRegion(strip, 0, 0, 1, 1, 1, SkinKeyColour));
  }
  EXPECT_EQ(qmtest::GdiObjectCount(), before);
}

}  // namespace
}  // namespace qm
