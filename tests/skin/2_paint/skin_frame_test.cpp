// The skinned frame's measures, borders and caption, drawn from the stored
// skin into bitmaps and read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../stored_skin.h"
#include "bitmap_pixel.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_frame.h"

namespace qm {
namespace {

int CountColour(const gui::TBitmap& b, const RECT& r, COLORREF c) {
  int n = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, b.Height()); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, b.Width()); ++x) n += PixelOf(b, x, y) == c;
  return n;
}

class SkinFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinData.PackedSkin = TMemoryStream(test::PackedStoredSkin());
    ASSERT_TRUE(SkinData.LoadSkin());
    Loaded = SkinData.Skin();
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfQuality = NONANTIALIASED_QUALITY;  // text pixels in exactly the title colour
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    Font = CreateFontIndirectW(&lf);
  }
  void TearDown() override { DeleteObject(Font); }

  TSkinData SkinData{nullptr};
  std::shared_ptr<const TLoadedSkin> Loaded;
  HFONT Font = nullptr;
};

TEST(SkinFrameHitTest, NamesWhatLiesUnderThePointAndSizesOnlyWhereTheWindowCan) {
  // The stored skin's frame around a 483 x 436 client, with and without a
  // 20-pixel menu bar.
  const TFrameMetrics m{18, 39, 18, 15};
  const SIZE size{519, 490};
  enum TWindow { Sizing, Fixed, Maximised };
  const struct {
    const char* Case;
    TWindow Window;
    int Menu;
    POINT At;
    LRESULT Hit;
    int Dpi = 96;
  } rows[] = {
      {"the client, whatever the frame", Sizing, 0, {260, 250}, HTCLIENT},
      {"left of the window", Sizing, 0, {-1, 20}, HTNOWHERE},
      {"right of the window", Fixed, 0, {519, 20}, HTNOWHERE},
      {"the title", Sizing, 0, {260, 20}, HTCAPTION},
      {"the title's top rows", Sizing, 0, {260, 2}, HTTOP},
      {"the top rows at the corner's reach", Sizing, 0, {17, 2}, HTTOPLEFT},
      {"the top rows past the corner's reach", Sizing, 0, {30, 2}, HTTOP},
      {"the top rows at the right corner", Sizing, 0, {505, 2}, HTTOPRIGHT},
      {"the left border near the top", Sizing, 0, {5, 12}, HTTOPLEFT},
      {"the left border", Sizing, 0, {5, 245}, HTLEFT},
      {"the left border near the bottom", Sizing, 0, {5, 480}, HTBOTTOMLEFT},
      {"the bottom border", Sizing, 0, {260, 485}, HTBOTTOM},
      {"the bottom border at the right corner", Sizing, 0, {515, 485}, HTBOTTOMRIGHT},
      {"the right border", Sizing, 0, {515, 245}, HTRIGHT},
      {"the menu bar", Sizing, 20, {260, 45}, HTMENU},
      {"beside the menu bar, sizing", Sizing, 20, {5, 45}, HTLEFT},
      {"beside the menu bar, fixed", Fixed, 20, {5, 45}, HTBORDER},
      {"a fixed window's top rows are its border", Fixed, 0, {260, 2}, HTBORDER},
      {"a fixed window's side border", Fixed, 0, {5, 245}, HTBORDER},
      {"a fixed window's bottom border", Fixed, 0, {260, 485}, HTBORDER},
      {"a fixed window's title over the corner columns", Fixed, 0, {5, 20}, HTCAPTION},
      {"a maximised window's top rows are its title", Maximised, 0, {260, 2}, HTCAPTION},
      {"a maximised window's side border", Maximised, 0, {5, 245}, HTBORDER},
      // At 200 % the top rows and the corners' reach are twice as long.
      {"the top rows at 200 %", Sizing, 0, {260, 7}, HTTOP, 192},
      {"below them at 200 %", Sizing, 0, {260, 8}, HTCAPTION, 192},
      {"the top rows at the corner's reach at 200 %", Sizing, 0, {31, 2}, HTTOPLEFT, 192},
      {"past it at 200 %", Sizing, 0, {32, 2}, HTTOP, 192},
  };
  for (const auto& r : rows)
    EXPECT_EQ(FrameHitTest(m, r.Menu, size, r.At, r.Window == Sizing, r.Window == Maximised, r.Dpi), r.Hit)
        << r.Case;
}

TEST_F(SkinFrame, MetricsAndClientAreaComeFromTheBorderImages) {
  const auto metrics = SkinFrameMetrics(*Loaded, false);
  EXPECT_EQ(metrics, (TFrameMetrics{18, 39, 18, 15}));
  EXPECT_EQ(SkinFrameMetrics(*Loaded, true), TFrameMetrics{});  // popup without caption

  // The main window: 519 x 490 around a client area of 483 x 436.
  const WINDOWPOS pos{nullptr, nullptr, 10, 20, 519, 490, 0};
  const struct {
    int Menu;
    RECT Client;
  } cases[] = {{0, {28, 59, 511, 495}}, {19, {28, 78, 511, 495}}};
  for (const auto& c : cases) {
    const RECT r = SkinnedClientRect(metrics, c.Menu, pos);
    EXPECT_TRUE(EqualRect(&r, &c.Client)) << "menu " << c.Menu;
  }
  const RECT bottom = FrameSideRect(metrics, TFrameSide::Bottom, 519, 490);
  const RECT expected{18, 475, 501, 490};
  EXPECT_TRUE(EqualRect(&bottom, &expected));

  TSkinData empty(nullptr);
  EXPECT_EQ(empty.Skin(), nullptr) << "nothing to measure before a skin loads";
}

TEST_F(SkinFrame, BordersShowFrameOneActiveAndFrameTwoInactive) {
  const auto metrics = SkinFrameMetrics(*Loaded, false);
  const TLoadedSkin& Skin = *Loaded;
  const struct {
    TFrameSide Side;
    const TDataSkinBorder* Border;
    bool Stacked;
  } sides[] = {{TFrameSide::Left, Skin.BorderLeft.get(), false},
               {TFrameSide::Right, Skin.BorderRight.get(), false},
               {TFrameSide::Top, Skin.BorderTop.get(), true},
               {TFrameSide::Bottom, Skin.BorderBottom.get(), true}};
  for (const auto& s : sides) {
    gui::TBitmap& strip = *Skin.SkinBitmap(s.Border->Bitmap);
    for (bool active : {true, false}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(s.Side)) + (active ? " active" : " inactive"));
      RECT r = FrameSideRect(metrics, s.Side, 519, 490);
      gui::TBitmap window(519, 490);
      PaintSkinBorder(Skin, s.Side, r, window.Canvas().Handle(), active);
      // The strip's own top-left pixel of the frame shown lands, unscaled,
      // at the border's top-left.
      const int frame = active ? 0 : 1;
      const int fx = s.Stacked ? 0 : frame * strip.Width() / 2, fy = s.Stacked ? frame * strip.Height() / 2 : 0;
      EXPECT_EQ(PixelOf(window, r.left, r.top), PixelOf(strip, fx, fy));
    }
  }
  // A window narrower than its side borders has no room for the bottom one.
  gui::TBitmap narrow(30, 60);
  const COLORREF before = PixelOf(narrow, 15, 59);
  PaintSkinBorder(Skin, TFrameSide::Bottom, FrameSideRect(metrics, TFrameSide::Bottom, 30, 60),
                  narrow.Canvas().Handle(), true);
  EXPECT_EQ(PixelOf(narrow, 15, 59), before);
}

TEST_F(SkinFrame, CaptionIsPlacedByTheTitleAndDrawnInItsColours) {
  const RECT area{18, 0, 501, 39};
  const std::wstring shortCaption = L"  启明映像向导 V1.0";
  const std::wstring longCaption = L"  " + std::wstring(200, L'W');
  const struct {
    const char* Name;
    std::wstring Text;
    int Alignment;
    bool Active, RightToLeft, Popup;
  } cases[] = {
      {"shifted left", shortCaption, 0, true, false, false},
      {"inactive", shortCaption, 0, false, false, false},
      {"centred", shortCaption, 1, true, false, false},
      {"right", shortCaption, 2, true, false, false},
      {"right to left ignores the alignment", shortCaption, 1, true, true, false},
      {"too long: clipped before the right clip", longCaption, 0, true, false, false},
      {"popup: runs on to the buttons", longCaption, 0, true, false, true},
  };
  const TDataSkinTitle& title = *Loaded->Title;
  const int shift = title.LeftWidth, clip = title.RightWidth;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto Skin = test::EditedStoredSkin([&](TSkinDescription& d) { d.Title->TextAlignment = c.Alignment; });
    gui::TBitmap bar(519, 39);
    HDC dc = bar.Canvas().Handle();
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(1, 2, 3));
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    const RECT t = PaintSkinCaption(dc, area, *Skin, {c.Text, Font, c.Active, c.RightToLeft, c.Popup, 480});
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), oldFont);

    // Measured with one blank more than the drawn text.
    SIZE size{};
    {
      gui::TSelectGuard select(dc, Font);
      const std::wstring measured = L" " + c.Text;
      GetTextExtentPoint32W(dc, measured.c_str(), static_cast<int>(measured.size()), &size);
    }
    const int aw = area.right - area.left, tw = size.cx;
    if (c.Text == shortCaption) {
      const int left = c.RightToLeft || c.Alignment == 2 ? area.left + aw - clip - tw
                       : c.Alignment == 1                 ? area.left + (aw - tw) / 2
                                                          : area.left + shift;
      EXPECT_EQ(t.left, left);
      EXPECT_EQ(t.top, (39 - size.cy) / 2 + title.TopHeight / 2);
    } else {
      EXPECT_EQ(t.right, c.Popup ? 480 - 5 : area.right - clip);
    }
    const COLORREF ink = gui::ColorToRGB(c.Active ? Skin->TitleTextActiveColour : Skin->TitleTextNoActiveColour);
    const RECT outside{0, 0, t.left, 39};
    EXPECT_GT(CountColour(bar, t, ink), 10);
    EXPECT_EQ(CountColour(bar, outside, ink), 0);
  }
}

}  // namespace
}  // namespace qm
