// Tab controls, progress bars, track bars, status bars and size grips
// painted from the skin: the frame each state takes, where the tab strip
// goes for each orientation, and the page control turning its pages.
#include <windows.h>

#include <commctrl.h>

#include "gui/comctrls.h"
#include "gui/tab_set.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/skin_common_controls.h"
#include "skin/3_controls/skin_tab.h"
#include "skinned_form.h"

namespace qm {
namespace {

using test::SkinnedForm;

// A library control over a common-control window class.
template <const wchar_t* WindowClass, DWORD Style>
class TCommonControl : public gui::TWinControl {
 public:
  using gui::TWinControl::TWinControl;

 protected:
  void CreateParams(gui::TCreateParams& p) override {
    gui::TWinControl::CreateParams(p);
    p.ClassName = WindowClass;
    p.SystemClass = true;
    p.Style |= Style;
  }
};
constexpr wchar_t kProgressClass[] = PROGRESS_CLASSW;
constexpr wchar_t kTrackBarClass[] = TRACKBAR_CLASSW;
using TProgress = TCommonControl<kProgressClass, 0>;
using TTrackBar = TCommonControl<kTrackBarClass, TBS_NOTICKS>;

// Picture of Width x Height on the skin's face, drawn by Draw.
COLORREF Rendered(TSkinData& Skin, int Width, int Height, POINT At, const std::function<void(HDC)>& Draw) {
  gui::TBitmap picture(Width, Height);
  HDC dc = picture.Canvas().Handle();
  const RECT all{0, 0, Width, Height};
  FillRect(dc, &all, Skin.Skin()->ButtonFaceBrush());
  Draw(dc);
  return GetPixel(dc, At.x, At.y);
}

void Redraw(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

RECT ItemRect(HWND tabs, int index) {
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

TEST(SkinTabLayout, StripAndItemsFollowTheStyle) {
  const RECT window{0, 0, 200, 100};
  const struct {
    LONG_PTR Style;
    TSkinTab::TOrientation Orientation;
    RECT Display, Strip, Item, InStrip;
  } rows[] = {
      {0, TSkinTab::toTop, {2, 24, 198, 98}, {0, 0, 200, 24}, {2, 2, 60, 20}, {2, 3, 60, 21}},
      {TCS_BOTTOM, TSkinTab::toBottom, {2, 2, 198, 76}, {0, 76, 200, 100}, {2, 78, 60, 96}, {2, 1, 60, 19}},
      {TCS_VERTICAL, TSkinTab::toLeft, {24, 2, 198, 98}, {0, 0, 24, 100}, {2, 2, 22, 60}, {40, 2, 98, 22}},
      {TCS_VERTICAL | TCS_BOTTOM, TSkinTab::toRight, {2, 2, 176, 98}, {176, 0, 200, 100}, {178, 2, 198, 60},
       {1, 2, 59, 22}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Orientation);
    EXPECT_EQ(TSkinTab::OrientationOf(r.Style | WS_CHILD), r.Orientation);
    const RECT strip = TSkinTab::StripRect(r.Orientation, window, r.Display);
    EXPECT_TRUE(EqualRect(&strip, &r.Strip));
    const int w = r.Orientation >= TSkinTab::toLeft ? 100 : 200;
    const RECT item = TSkinTab::ItemInStrip(r.Orientation, r.Item, window, r.Display, w);
    EXPECT_TRUE(EqualRect(&item, &r.InStrip)) << item.left << "," << item.top << "," << item.right << ","
                                              << item.bottom;
  }
}

// A point of the tab at Item (window coordinates, top tabs) where the
// skin's selected and plain frames differ, left of any caption.
POINT TellingPoint(TSkinData& Skin, gui::TBitmap& TabImage, const RECT& Item) {
  const TDataSkinBorder& tabs = *Skin.Skin()->Tabs;
  const int w = Item.right - Item.left, h = Item.bottom - Item.top;
  auto frame = [&](int state, POINT p) {
    return Rendered(Skin, w, h, p, [&](HDC dc) {
      DrawNineGrid(dc, RECT{0, 0, w, h}, TabImage, false, tabs.Tile == 1, tabs.Trans == 1, tabs.Frames(), state,
                   RECT{tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight});
    });
  };
  for (int y = h / 2; y < h; ++y)
    for (int x = 1; x < w / 5; ++x)
      if (frame(1, {x, y}) != frame(2, {x, y})) return POINT{x, y};
  return POINT{-1, -1};
}

TEST_F(SkinnedForm, PageControlTurnsByClickAndCtrlTabAndShowsTheSelectedTabFromTheSkin) {
  auto* pages = Add<gui::TPageControl>(&Form, 10, 10, 380, 200);
  for (const char* caption : {"分区", "备份", "关于"}) {
    auto* sheet = Form.Make<gui::TTabSheet>();
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
  }
  int changes = 0;
  pages->OnChange = [&](gui::TPageControl&) { ++changes; };
  Attach();
  HWND h = pages->Handle();
  auto* skinner = dynamic_cast<TSkinTab*>(SkinnerOf(h));
  ASSERT_NE(skinner, nullptr);
  ASSERT_FALSE(skinner->TabImage.Empty());
  const TDataSkinBorder& tabs = *Skin.Skin()->Tabs;
  const POINT probe = TellingPoint(Skin, skinner->TabImage, ItemRect(h, 0));
  ASSERT_GE(probe.x, 0) << "the skin's selected and plain tabs look alike";

  auto click = [&](int index) {
    const RECT r = ItemRect(h, index);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
    qmtest::PumpFor(100);
  };
  auto ctrlTab = [&](bool shift) {
    BYTE keys[256] = {}, saved[256] = {};
    GetKeyboardState(saved);
    std::copy(saved, saved + 256, keys);
    keys[VK_CONTROL] = 0x80;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(h);
    PostMessageW(h, WM_KEYDOWN, VK_TAB, 0x000F0001);
    gui::Application().ProcessMessages();
    SetKeyboardState(saved);
    qmtest::PumpFor(50);
  };
  const struct {
    const char* Step;
    std::function<void()> Do;
    int Page, Changes;
  } steps[] = {
      {"at start", [] {}, 0, 0},
      {"click on the third tab", [&] { click(2); }, 2, 1},
      {"Ctrl+Tab past the last page", [&] { ctrlTab(false); }, 0, 2},
      {"Ctrl+Shift+Tab back round", [&] { ctrlTab(true); }, 2, 3},
      {"click on the second tab", [&] { click(1); }, 1, 4},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Step);
    s.Do();
    EXPECT_EQ(pages->ActivePageIndex(), s.Page);
    EXPECT_EQ(changes, s.Changes);
    EXPECT_TRUE(pages->Pages(s.Page)->Visible());
    Redraw(h);
    for (int i = 0; i < pages->PageCount(); ++i) {
      const RECT item = ItemRect(h, i);
      const int w = item.right - item.left, ih = item.bottom - item.top;
      const COLORREF want = Rendered(Skin, w, ih, probe, [&](HDC dc) {
        DrawNineGrid(dc, RECT{0, 0, w, ih}, skinner->TabImage, false, tabs.Tile == 1, tabs.Trans == 1,
                     tabs.Frames(), i == s.Page ? 2 : 1,
                     RECT{tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight});
      });
      // Composed a pixel lower than the control puts the item.
      EXPECT_EQ(Pixel(h, item.left + probe.x, item.top + 1 + probe.y), want) << "tab " << i;
    }
  }
}

TEST_F(SkinnedForm, TabSetHangsItsTabsUpsideDownFromTheSkinAndTurnsByClickAndArrows) {
  auto* set = Add<gui::TTabSet>(&Form, 10, 220, 300, 24);
  set->SetTabs({"第一页", "第二页", "第三页", "一个长得放不下的标签页标题"});
  set->SetTabIndex(0);
  int changes = 0;
  set->OnChange = [&](gui::TTabSet&) { ++changes; };
  Attach();
  HWND h = set->Handle();
  auto* skinner = dynamic_cast<TSkinTab31*>(SkinnerOf(h));
  ASSERT_NE(skinner, nullptr);
  ASSERT_FALSE(skinner->TabImage.Empty());
  const RECT hidden = set->TabRect(3);
  EXPECT_TRUE(IsRectEmpty(&hidden)) << "a tab past the end margin is not shown";
  const TDataSkinBorder& tabs = *Skin.Skin()->Tabs;
  const POINT probe = TellingPoint(Skin, skinner->TabImage, set->TabRect(0));
  ASSERT_GE(probe.x, 0) << "the skin's selected and plain tabs look alike";
  auto click = [&](int index) {
    const RECT r = set->TabRect(index);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, 5));
  };
  const struct {
    const char* Step;
    std::function<void()> Do;
    int Selected, Changes;
  } steps[] = {
      {"at start", [] {}, 0, 0},
      {"click on the third tab", [&] { click(2); }, 2, 1},
      {"left arrow", [&] { SendMessageW(h, WM_KEYDOWN, VK_LEFT, 0); }, 1, 2},
      {"click on the selected tab", [&] { click(1); }, 1, 2},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Step);
    s.Do();
    EXPECT_EQ(set->TabIndex(), s.Selected);
    EXPECT_EQ(changes, s.Changes);
    Redraw(h);
    for (int i = 0; i < 3; ++i) {
      const RECT item = set->TabRect(i);
      const int w = item.right - item.left, ih = item.bottom - item.top;
      const COLORREF want = Rendered(Skin, w, ih, probe, [&](HDC dc) {
        DrawNineGrid(dc, RECT{0, 0, w, ih}, skinner->TabImage, false, tabs.Tile == 1, tabs.Trans == 1,
                     tabs.Frames(), i == s.Selected ? 2 : 1,
                     RECT{tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight});
      });
      EXPECT_EQ(Pixel(h, item.left + probe.x, probe.y), want) << "tab " << i;
    }
  }
}

TEST_F(SkinnedForm, BareTabControlsPutStripAndFrameOnTheirSide) {
  Attach();
  const struct {
    const char* Case;
    DWORD Style;
    bool Border;
  } rows[] = {
      {"tabs on top", 0, true},
      {"tabs below: images flipped, strip under the pages", TCS_BOTTOM, true},
      {"a skin without the page frame", 0, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    if (!r.Border) {
      test::UseSkin(Skin, test::EditedStoredSkin([](TSkinDescription& d) { d.Tabs->Bitmap2 = TSkinImage(); }));
      FormSkinner->ApplySkin();
    }
    HWND h = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | r.Style, 10, 10, 300, 150,
                             Form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"选项");
    SendMessageW(h, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageW(h, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    // Native children of a library form are the host's to skin.
    FormSkinner->Controls().SkinChildWindow(h);
    auto* skinner = dynamic_cast<TSkinTab*>(SkinnerOf(h));
    ASSERT_NE(skinner, nullptr);
    Redraw(h);
    const RECT whole{0, 0, 300, 150};
    const RECT display = skinner->FrameRect(whole);
    const RECT strip = TSkinTab::StripRect(skinner->Orientation, whole, display);
    const RECT first = ItemRect(h, 0);
    EXPECT_TRUE(PtInRect(&strip, POINT{first.left + 2, (first.top + first.bottom) / 2}));
    // The selected tab's top row (its bottom row when flipped) comes from
    // the image turned the same way.
    const TDataSkinBorder& tabs = *Skin.Skin()->Tabs;
    const int w = first.right - first.left, ih = first.bottom - first.top;
    const POINT at{w / 2, r.Style & TCS_BOTTOM ? ih - 2 : 1};
    const RECT inStrip = TSkinTab::ItemInStrip(skinner->Orientation, first, whole, display, 300);
    const COLORREF tab = Rendered(Skin, w, ih, at, [&](HDC dc) {
      DrawNineGrid(dc, RECT{0, 0, w, ih}, skinner->TabImage, false, tabs.Tile == 1, tabs.Trans == 1, tabs.Frames(),
                   2, RECT{tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight});
    });
    EXPECT_EQ(Pixel(h, strip.left + inStrip.left + at.x, strip.top + inStrip.top + at.y), tab);
    // The page frame's left edge, half way down.
    const int dw = display.right - display.left, dh = display.bottom - display.top;
    const POINT edge{1, dh / 2};
    const COLORREF frame = Rendered(Skin, dw, dh, edge, [&](HDC dc) {
      DrawNineGrid(dc, RECT{0, 0, dw, dh}, skinner->BorderImage, false, false, tabs.Trans == 1, 1, 1,
                   RECT{4, 5, 4, 4});
    });
    if (r.Border) {
      EXPECT_EQ(Pixel(h, display.left + edge.x, display.top + edge.y), frame);
    } else {
      EXPECT_TRUE(skinner->BorderImage.Empty());
    }
    DestroyWindow(h);
  }
}

TEST_F(SkinnedForm, ScrollArrowsOfCrowdedTabsStayAsTheyPaintedThemselves) {
  HWND h = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 150, 100, Form.Handle(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  for (int i = 0; i < 8; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"很长的选项");
    SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  qmtest::PumpFor(50);
  HWND arrows = FindWindowExW(h, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  ASSERT_TRUE(IsWindowVisible(arrows));
  RECT a{};
  GetWindowRect(arrows, &a);
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&a), 2);
  const POINT centre{(a.left + a.right) / 2, (a.top + a.bottom) / 2};
  const COLORREF native = Pixel(h, centre.x, centre.y);
  Attach();
  FormSkinner->Controls().SkinChildWindow(h);
  ASSERT_NE(SkinnerOf(h), nullptr);
  // Unthemed now, the arrows have painted themselves once more.
  qmtest::PumpUntilSettled();
  const COLORREF painted = Pixel(h, centre.x, centre.y);
  // The strip only: the arrows are not asked to paint again.
  Redraw(h);
  EXPECT_EQ(Pixel(h, centre.x, centre.y), painted);
  EXPECT_NE(Pixel(h, a.left - 3, centre.y), native);
  // The arrows have a skinner of their own, made once.
  EXPECT_EQ(SkinnerOf(arrows) ? SkinnerOf(arrows)->ClassName() : "none", "TSkinUpDown");
  Redraw(h);
  int upDowns = 0;
  for (TSkinControl* s : FormSkinner->Controls().ControlSkinners()) upDowns += s->Handle == arrows;
  EXPECT_EQ(upDowns, 1);
}

TEST(SkinProgressFill, PositionOverTheUpperLimit) {
  const struct {
    int Position, Limit, Width, Filled;
  } rows[] = {{0, 100, 200, 0}, {100, 100, 200, 200}, {50, 100, 200, 100}, {75, 100, 200, 150},
              {150, 100, 200, 200}, {-5, 100, 200, 0}, {10, 0, 200, 0}, {1, 3, 200, 66}};
  for (const auto& r : rows)
    EXPECT_EQ(TSkinProgress::FilledWidth(r.Position, r.Limit, r.Width), r.Filled) << r.Position << "/" << r.Limit;
}

TEST_F(SkinnedForm, ProgressBarShowsItsEmptyAndFilledFrames) {
  auto* bar = Add<TProgress>(&Form, 10, 10, 200, 18);
  Attach();
  // Made here as a Skin3rd entry of kind "progress" would make it.
  auto* skinner = bar->Make<TSkinProgress>();
  skinner->InitControl(&FormSkinner->Controls(), &Skin, false);
  HWND h = bar->Handle();
  const TDataSkinBorder& element = *Skin.Skin()->Progress;
  ASSERT_NE(element.Style, 1) << "the stored skin draws chunks; this test reads frames";
  gui::TBitmap& strip = *Skin.Skin()->SkinBitmap(element.Bitmap);
  const RECT margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
  const struct {
    const char* Case;
    int Low, High, Position, Filled;
  } rows[] = {
      {"empty", 0, 100, 0, 0},
      {"full", 0, 100, 100, 200},
      {"half", 0, 100, 50, 100},
      {"a range from 50 fills as if from 0", 50, 100, 75, 150},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    SendMessageW(h, PBM_SETRANGE32, r.Low, r.High);
    SendMessageW(h, PBM_SETPOS, r.Position, 0);
    Redraw(h);
    for (int x : {10, 60, 95, 105, 145, 155, 190}) {
      const COLORREF want = Rendered(Skin, 200, 18, {x, 9}, [&](HDC dc) {
        DrawNineGrid(dc, RECT{0, 0, 200, 18}, strip, false, element.Tile == 1, true, 2, 1, margins);
        if (r.Filled) DrawNineGrid(dc, RECT{0, 0, r.Filled, 18}, strip, false, element.Tile == 1, true, 2, 2, margins);
      });
      EXPECT_EQ(Pixel(h, x, 9), want) << "x " << x;
    }
  }
}

TEST_F(SkinnedForm, TrackBarThumbComesFromTheSkinOrIsAPlainShadowRectangle) {
  auto* bar = Add<TTrackBar>(&Form, 10, 10, 200, 30);
  Attach();
  auto* skinner = bar->Make<TSkinTrackBar>();
  skinner->InitControl(&FormSkinner->Controls(), &Skin, false);
  HWND h = bar->Handle();
  const std::shared_ptr<const TLoadedSkin> stored = Skin.Skin();
  const bool skinHasThumb = stored->TrackbarThumbHorz && stored->SkinBitmap(stored->TrackbarThumbHorz->Bitmap);
  const struct {
    const char* Case;
    bool Elements;
  } rows[] = {{"no thumb elements", false}, {"the skin's thumb", true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    if (r.Elements && !skinHasThumb) continue;
    test::UseSkin(Skin, r.Elements ? stored : test::EditedStoredSkin([](TSkinDescription& d) {
      d.TrackbarThumbHorz.reset();
      d.TrackbarThumbVert.reset();
    }));
    FormSkinner->ApplySkin();
    SendMessageW(h, TBM_SETPOS, TRUE, 5);
    Redraw(h);
    RECT thumb{};
    SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const POINT middle{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    if (!r.Elements) {
      EXPECT_EQ(Pixel(h, thumb.left, middle.y), gui::ColorToRGB(Skin.Skin()->ButtonShadowColour));
      EXPECT_EQ(Pixel(h, middle.x, thumb.top), gui::ColorToRGB(Skin.Skin()->ButtonShadowColour));
      continue;
    }
    const int w = thumb.right - thumb.left, th = thumb.bottom - thumb.top;
    HDC dc = GetDC(h);
    gui::TBitmap under(w, th);
    BitBlt(under.Canvas().Handle(), 0, 0, w, th, dc, thumb.left, thumb.top, SRCCOPY);
    ReleaseDC(h, dc);
    gui::TBitmap want(w, th);
    DrawFrame(want.Canvas().Handle(), RECT{0, 0, w, th}, *stored->SkinBitmap(stored->TrackbarThumbHorz->Bitmap), false,
              5, 2);
    const COLORREF c = want.Canvas().Pixel(w / 2, th / 2);
    if (c != SkinKeyColour) {
      EXPECT_EQ(under.Canvas().Pixel(w / 2, th / 2), c);
    }
  }
}

TEST_F(SkinnedForm, StatusBarPanelsAndSizeGripAreSkinned) {
  HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                Form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  const int edges[] = {120, 240, -1};
  SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"就绪"));
  SendMessageW(status, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L"\t居中"));
  SendMessageW(status, SB_SETTEXTW, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L""));
  HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 380, 150, 16, 16,
                              Form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  Attach();
  auto* bar = FormSkinner->Make<TSkinStatusBar>();
  bar->InitWindow(status, &Skin, &FormSkinner->Controls());
  FormSkinner->Controls().SkinChildWindow(grip);
  ASSERT_NE(dynamic_cast<TSkinSizer*>(SkinnerOf(grip)), nullptr);
  Redraw(status);
  Redraw(grip);

  // The stored skin has no edge image: panels get lines of the system's
  // colours, and the bar the skin's face.
  ASSERT_EQ(Skin.Skin()->StatusBarEdges ? Skin.Skin()->SkinBitmap(Skin.Skin()->StatusBarEdges->Bitmap) : nullptr, nullptr);
  RECT client{};
  GetClientRect(status, &client);
  const COLORREF face = gui::ColorToRGB(Skin.Skin()->ButtonFaceColour);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  const struct {
    int Part;
    COLORREF TopLeft, BottomRight;
  } panels[] = {{0, dark, light}, {1, light, dark}, {2, face, face}};
  for (const auto& p : panels) {
    RECT r{};
    SendMessageW(status, SB_GETRECT, p.Part, reinterpret_cast<LPARAM>(&r));
    const int middle = (r.top + r.bottom) / 2;
    EXPECT_EQ(Pixel(status, r.left, middle), p.TopLeft) << "panel " << p.Part;
    // The last panel reaches the bar's right edge.
    EXPECT_EQ(Pixel(status, (p.Part == 2 ? client.right : r.right) - 1, r.top + 3), p.BottomRight) << "panel " << p.Part;
  }
  const COLORREF shadow = gui::ColorToRGB(Skin.Skin()->ButtonShadowColour);
  EXPECT_EQ(Pixel(grip, 0, 0), shadow);
  EXPECT_EQ(Pixel(grip, 15, 8), shadow);
  EXPECT_EQ(Pixel(grip, 8, 8), face);
}

}  // namespace
}  // namespace qm
