// Bitmaps, canvases, fonts, image lists and owner-drawn menus.
#include <gtest/gtest.h>

#include <sstream>

#include "gui/forms.h"
#include "gui/graphics.h"
#include "gui/menus.h"
#include "ui_driver.h"

using namespace gui;

namespace {
// A 2 x 2 monochrome BMP: palette black/white, pixels (0,0) white, others black.
std::string MonoBmp() {
  std::string b;
  auto u16 = [&](unsigned v) { b += char(v & 0xFF), b += char(v >> 8 & 0xFF); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  b += "BM";
  u32(14 + 40 + 8 + 8);
  u32(0);
  u32(14 + 40 + 8);
  u32(40), u32(2), u32(2), u16(1), u16(1), u32(0), u32(8), u32(0), u32(0), u32(2), u32(0);
  u32(0x000000), u32(0xFFFFFF);
  // Bottom-up: the first row stored is the bottom row.
  u32(0x00000000);
  u32(0x00000080);
  return b;
}

void CALLBACK PickFirstMenuItem(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND menu = FindWindowW(L"#32768", nullptr);
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}
}  // namespace

TEST(Bitmap, ScanLinesAreTopDown24BitRowsSharedWithTheCanvas) {
  TBitmap bmp(4, 3);
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
  bmp.Canvas().Brush.SetColor(clBlack);
  bmp.Canvas().FillRect(RECT{0, 0, 4, 3});
  bmp.Canvas().SetPixel(2, 1, RGB(10, 20, 30));
  const std::uint8_t* row = bmp.ScanLine(1);
  EXPECT_EQ(row[6], 30);  // blue, green, red
  EXPECT_EQ(row[7], 20);
  EXPECT_EQ(row[8], 10);
  bmp.ScanLine(2)[0] = 255;
  EXPECT_EQ(bmp.Canvas().Pixel(0, 2), RGB(0, 0, 255));
  EXPECT_THROW(bmp.ScanLine(3), std::out_of_range);
}

TEST(Bitmap, LoadsAMonochromeStreamAndRefusesBrokenOnes) {
  TBitmap bmp;
  std::istringstream good(MonoBmp());
  bmp.LoadFromStream(good);
  ASSERT_EQ(bmp.Width(), 2);
  ASSERT_EQ(bmp.Height(), 2);
  EXPECT_EQ(bmp.Canvas().Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(bmp.Canvas().Pixel(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(bmp.Canvas().Pixel(0, 1), RGB(0, 0, 0));

  const std::string whole = MonoBmp();
  for (const std::string& bad : {std::string(), std::string("BM"), whole.substr(0, whole.size() - 4),
                                 std::string("XX") + whole.substr(2)}) {
    std::istringstream in(bad);
    EXPECT_THROW(bmp.LoadFromStream(in), std::runtime_error);
    EXPECT_EQ(bmp.Width(), 2);  // unchanged after a refusal
  }
  std::string huge = whole;
  huge[18] = '\xFF', huge[19] = '\xFF', huge[20] = '\xFF', huge[21] = '\x7F';  // width 2^31-1
  std::istringstream in(huge);
  EXPECT_THROW(bmp.LoadFromStream(in), std::runtime_error);
}

TEST(Bitmap, SavedStreamLoadsBackAndAssignCopies) {
  TBitmap a(3, 2);
  a.Canvas().SetPixel(1, 1, RGB(1, 2, 3));
  std::stringstream s;
  a.SaveToStream(s);
  TBitmap b;
  b.LoadFromStream(s);
  EXPECT_EQ(b.Canvas().Pixel(1, 1), RGB(1, 2, 3));
  // Drawing a bitmap whose canvas is in use still copies its pixels.
  TBitmap d(3, 2);
  a.Draw(d.Canvas(), 0, 0);
  EXPECT_EQ(d.Canvas().Pixel(1, 1), RGB(1, 2, 3));
  TBitmap c;
  c.Assign(a);
  a.Canvas().SetPixel(1, 1, RGB(9, 9, 9));
  EXPECT_EQ(c.Canvas().Pixel(1, 1), RGB(1, 2, 3));
}

TEST(Canvas, CopyRectStretchesTheSource) {
  TBitmap source(2, 1), target(8, 4);
  source.Canvas().SetPixel(0, 0, RGB(255, 0, 0));
  source.Canvas().SetPixel(1, 0, RGB(0, 0, 255));
  target.Canvas().CopyRect(RECT{0, 0, 8, 4}, source.Canvas(), RECT{0, 0, 2, 1});
  EXPECT_EQ(target.Canvas().Pixel(1, 3), RGB(255, 0, 0));
  EXPECT_EQ(target.Canvas().Pixel(6, 0), RGB(0, 0, 255));
}

TEST(Canvas, PenAndBrushDrawLinesAndRectangles) {
  TBitmap bmp(10, 10);
  TCanvas& c = bmp.Canvas();
  c.Pen.SetColor(RGB(255, 0, 0));
  c.Brush.SetColor(RGB(0, 255, 0));
  c.Rectangle(RECT{0, 0, 6, 6});
  EXPECT_EQ(c.Pixel(0, 3), RGB(255, 0, 0));  // the frame in the pen's colour
  EXPECT_EQ(c.Pixel(3, 3), RGB(0, 255, 0));  // filled with the brush
  c.Pen.SetColor(RGB(0, 0, 255));
  c.MoveTo(0, 8);
  c.LineTo(9, 8);
  EXPECT_EQ(c.Pixel(5, 8), RGB(0, 0, 255));
  EXPECT_EQ(c.Pixel(5, 9), RGB(255, 255, 255));
}

TEST(Canvas, TextOnABorrowedDCLeavesItsObjectsAsTheyWere) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bm = CreateCompatibleBitmap(screen, 100, 30);
  HGDIOBJ oldBm = SelectObject(dc, bm);
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  const COLORREF color = GetTextColor(dc);
  {
    TCanvas canvas(dc);
    canvas.Font.SetColor(RGB(0, 255, 0));
    canvas.Font.SetSize(12);
    EXPECT_EQ(canvas.Font.Height(), -16);
    canvas.Brush.SetStyle(TBrushStyle::bsClear);
    canvas.TextOut(2, 4, "非常感谢");
    EXPECT_GT(canvas.TextWidth("非常感谢"), canvas.TextWidth("非常"));
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(GetTextColor(dc), color);
  SelectObject(dc, oldBm);
  DeleteObject(bm);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST(ImageList, CutsAStripAndDrawsNormalAndGreyed) {
  TBitmap strip(64, 16);
  strip.Canvas().Brush.SetColor(clWhite);
  strip.Canvas().FillRect(RECT{0, 0, 64, 16});
  strip.Canvas().Brush.SetColor(clBlack);
  strip.Canvas().FillRect(RECT{3, 3, 13, 13});
  TImageList images(16, 16);
  EXPECT_EQ(images.AddMasked(strip, clWhite), 0);
  EXPECT_EQ(images.Count(), 4);
  TBitmap normal(16, 16), greyed(16, 16);
  images.Draw(normal.Canvas(), 0, 0, 0, true);
  images.Draw(greyed.Canvas(), 0, 0, 0, false);
  EXPECT_EQ(normal.Canvas().Pixel(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(normal.Canvas().Pixel(0, 0), RGB(255, 255, 255));  // masked out
  EXPECT_NE(greyed.Canvas().Pixel(5, 5), RGB(0, 0, 0));
  images.Draw(normal.Canvas(), 0, 0, 9);  // no such image: nothing happens
}

TEST(Menus, ItemsFindByCommandAndHandleAndBuildNativeMenus) {
  TPopupMenu popup(nullptr);
  TMenuItem* a = popup.Items().Add("还原");
  TMenuItem* sub = popup.Items().Add("更多");
  TMenuItem* inner = sub->Add("关闭");
  inner->SetShortCut(ShortCut(VK_F4, scAlt));
  a->SetChecked(true);
  a->SetDefault(true);
  a->Tag = 7;
  EXPECT_EQ(popup.FindItem(inner->Command(), TFindItemKind::fkCommand), inner);
  EXPECT_EQ(popup.FindItem(reinterpret_cast<UINT_PTR>(sub->Handle()), TFindItemKind::fkHandle), sub);
  EXPECT_EQ(popup.FindItem(ShortCut(VK_F4, scAlt), TFindItemKind::fkShortCut), inner);
  EXPECT_EQ(ShortCutToText(inner->ShortCut()), "Alt+F4");
  HMENU h = popup.Handle();
  ASSERT_EQ(GetMenuItemCount(h), 2);
  EXPECT_TRUE(GetMenuState(h, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_EQ(GetSubMenu(h, 1), sub->Handle());
  a->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(h), 1);
  sub->Remove(inner);
  EXPECT_EQ(sub->Count(), 0);
  EXPECT_EQ(popup.FindItem(ShortCut(VK_F4, scAlt), TFindItemKind::fkShortCut), nullptr);
}

TEST(Menus, OwnerDrawnPopupMeasuresAndDrawsItemsAndRunsTheChosenOne) {
  TPopupMenu popup(nullptr);
  popup.SetOwnerDraw(true);
  TMenuItem* first = popup.Items().Add("第一项");
  popup.Items().Add("第二项");
  int measured = 0, drawn = 0, selectedDraws = 0, clicked = 0;
  for (int i = 0; i < 2; ++i) {
    TMenuItem* item = popup.Items().Items(i);
    item->OnMeasureItem = [&](TMenuItem&, TCanvas& c, int& w, int& h) {
      ++measured;
      EXPECT_NE(c.Handle(), nullptr);
      w = 120, h = 22;
    };
    item->OnAdvancedDrawItem = [&](TMenuItem&, TCanvas& c, RECT r, unsigned state) {
      ++drawn;
      if (state & odSelected) ++selectedDraws;
      EXPECT_EQ(r.bottom - r.top, 22);
      c.Brush.SetColor(clWhite);
      c.FillRect(r);
    };
  }
  first->OnClick = [&](TMenuItem&) { ++clicked; };
  EXPECT_TRUE(GetMenuState(popup.Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW);

  // Once the menu shows, pick the first item with the keyboard.
  SetTimer(nullptr, 0, 300, &PickFirstMenuItem);
  popup.Popup(100, 100);
  EXPECT_EQ(measured, 2);
  EXPECT_GE(drawn, 2);
  EXPECT_GE(selectedDraws, 1);
  EXPECT_EQ(clicked, 1);
}
