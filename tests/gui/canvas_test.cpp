// Canvas settings, empty bitmaps, fonts made from existing handles, and the
// screen DC of menu measuring.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "gui/graphics.h"
#include "gui/menus.h"

using namespace gui;

namespace {
bool Pure(COLORREF c) { return c == RGB(255, 0, 0) || c == RGB(0, 0, 255); }
}  // namespace

TEST(Canvas, StretchModeIsTheCanvasOwnAndTheDCComesBackAsLent) {
  TBitmap source(2, 1);
  source.Canvas().SetPixel(0, 0, RGB(255, 0, 0));
  source.Canvas().SetPixel(1, 0, RGB(0, 0, 255));
  for (int mode : {COLORONCOLOR, HALFTONE}) {
    SCOPED_TRACE(mode);
    TBitmap target(8, 1);
    HDC dc = target.Canvas().Handle();
    SetStretchBltMode(dc, BLACKONWHITE);
    SetBrushOrgEx(dc, 3, 2, nullptr);
    target.Canvas().StretchMode = mode;
    target.Canvas().CopyRect(RECT{0, 0, 8, 1}, source.Canvas(), RECT{0, 0, 2, 1});
    // Halftone blends the two colours where they meet; the other keeps them pure.
    EXPECT_EQ(Pure(target.Canvas().Pixel(3, 0)) && Pure(target.Canvas().Pixel(4, 0)), mode == COLORONCOLOR);
    EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
    POINT origin;
    GetBrushOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 3);
    EXPECT_EQ(origin.y, 2);
  }
}

TEST(Bitmap, AnEmptyBitmapStaysEmptyWhenItsCanvasIsAskedFor) {
  TBitmap bmp;
  TCanvas& canvas = bmp.Canvas();
  EXPECT_NE(canvas.Handle(), nullptr);
  canvas.FillRect(RECT{0, 0, 4, 4});  // nothing to draw on, and no harm
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Width(), 0);
  EXPECT_EQ(bmp.Handle(), nullptr);
  // The same canvas draws on the bitmap once it has a size.
  bmp.SetSize(3, 2);
  canvas.SetPixel(2, 1, RGB(10, 20, 30));
  EXPECT_EQ(bmp.ScanLine(1)[8], 10);
  bmp.SetSize(0, 5);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_NE(bmp.Canvas().Handle(), nullptr);
}

TEST(Font, TakesAnExistingHandleOwnedOrBorrowedAndDrawsInIt) {
  // A font no description of ours could make: its width is forced.
  LOGFONTW lf{};
  lf.lfHeight = -14;
  lf.lfWidth = 20;
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = DEFAULT_CHARSET;
  HDC screen = GetDC(nullptr);
  for (bool owned : {false, true}) {
    SCOPED_TRACE(owned ? "owned" : "borrowed");
    HFONT wide = CreateFontIndirectW(&lf);
    SIZE direct{};
    {
      HGDIOBJ old = SelectObject(screen, wide);
      GetTextExtentPoint32W(screen, L"Wide", 4, &direct);
      SelectObject(screen, old);
    }
    TCanvas canvas(screen);
    int changes = 0;
    canvas.Font.OnChange = [&] { ++changes; };
    canvas.Font.SetHandle(wide, owned);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(canvas.Font.Handle(), wide);
    EXPECT_EQ(canvas.Font.Height(), -14);
    EXPECT_EQ(canvas.Font.Style(), unsigned{fsBold});
    EXPECT_EQ(canvas.TextExtent("Wide").cx, direct.cx);

    // A copy is a font of its own that looks the same.
    TFont copy;
    copy.Assign(canvas.Font);
    EXPECT_NE(copy.Handle(), wide);
    LOGFONTW copied{};
    GetObjectW(copy.Handle(), sizeof copied, &copied);
    EXPECT_EQ(copied.lfWidth, 20);

    // Changing the description lets go of the handle; only an owned one is deleted.
    canvas.Font.SetHeight(-20);
    EXPECT_NE(canvas.Font.Handle(), wide);
    EXPECT_EQ(GetObjectType(wide) == OBJ_FONT, !owned);
    if (!owned) DeleteObject(wide);
  }
  ReleaseDC(nullptr, screen);

  // WM_GETFONT answers nothing for a window in the system font.
  TFont font;
  font.SetHandle(nullptr, false);
  EXPECT_EQ(font.Handle(), GetStockObject(SYSTEM_FONT));
  EXPECT_THROW(font.SetHandle(reinterpret_cast<HFONT>(GetStockObject(BLACK_BRUSH)), false), std::invalid_argument);
}

TEST(Menus, AThrowingMeasureHandlerGivesItsScreenDCBack) {
  TPopupMenu popup(nullptr);
  popup.SetOwnerDraw(true);
  TMenuItem* item = popup.Items().Add("量");
  HDC seen = nullptr;
  item->OnMeasureItem = [&](TMenuItem&, TCanvas& c, int&, int&) {
    seen = c.Handle();
    throw std::runtime_error("measure");
  };
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, item->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(item)};
  EXPECT_THROW(popup.MeasureItem(mis), std::runtime_error);
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(ReleaseDC(nullptr, seen), 0);  // 1 would mean it was still held
}
