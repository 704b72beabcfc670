// Popup menus under the skin, opened for real: the popup window's frame and
// background, the items painted over them, the skinned system menu, and
// that opening menus over and over costs nothing.
#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "gui/menus.h"
#include "gui/std_controls.h"
#include "gui/subclass.h"
#include "gui_objects.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/4_form/skin_popup_menu.h"
#include "../3_controls/skinned_form.h"

namespace qm::test {
namespace {

// Called on the GUI thread at every tick while the newest popup window
// shows, until it answers true; then every menu is closed.
std::function<bool(HWND)> gInspect;
int gTicks = 0;

TWinSkinPopMenu* SkinnerOfPopup(HWND window) {
  if (!TSkinManage::Instance()) return nullptr;
  for (auto& p : TSkinManage::Instance()->PopupSkinners())
    if (p->Window() == window) return dynamic_cast<TWinSkinPopMenu*>(p.get());
  return nullptr;
}

// The topmost popup window showing, i.e. the deepest submenu.
HWND NewestPopup() {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

void CALLBACK InspectOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = NewestPopup();
  const bool late = ++gTicks > 200;  // a menu that never shows must not hang the test
  if (!popup && !late) return;
  if (popup) UpdateWindow(popup);
  if (!late && gInspect && !gInspect(popup)) return;
  KillTimer(nullptr, id);
  EndMenu();
}

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

COLORREF BitmapPixel(gui::TBitmap& b, int x, int y) { return GetPixel(b.Canvas().Handle(), x, y); }

// An item's rectangle in its popup window's coordinates.
RECT ItemRect(HWND popup, HMENU menu, int position) {
  RECT r{};
  GetMenuItemRect(nullptr, menu, position, &r);
  RECT window;
  GetWindowRect(popup, &window);
  OffsetRect(&r, -window.left, -window.top);
  return r;
}

// A real mouse: moves to each point in turn when the GUI thread asks, and
// clicks there with the given buttons.
class THand {
 public:
  ~THand() {
    if (FThread.joinable()) FThread.join();
  }
  void Click(POINT at, DWORD down, DWORD up) {
    if (FThread.joinable()) FThread.join();
    FDone = false;
    FThread = std::thread([=, this] {
      qmtest::ClickAt(at, down, up);
      Sleep(100);
      FDone = true;
    });
  }
  void Move(POINT at) { Click(at, MOUSEEVENTF_MOVE, MOUSEEVENTF_MOVE); }
  bool Done() const { return FDone; }

 private:
  std::thread FThread;
  std::atomic<bool> FDone{true};
};

class SkinnedMenus : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    TSkinManage::Free();
    TSkinManage& manager = TSkinManage::Make();
    manager.AddSkinData(&Skin);
    manager.InstallHook();
    manager.RequestAction(saSkinOn, kSkinActionDelayMs);  // before any activation: at once
    Popup = Form.Make<gui::TPopupMenu>();
    Plain = Popup->Items().Add("普通项");
    Plain->OnClick = [this](gui::TMenuItem&) { ++Clicks; };
    Checked = Popup->Items().Add("选中项");
    Checked->SetChecked(true);
    Popup->Items().Add("-");
    Own = Popup->Items().Add("自绘项");
    Own->OnAdvancedDrawItem = [](gui::TMenuItem&, gui::TCanvas& c, RECT r, unsigned) {
      c.Brush.SetColor(gui::clLime);
      c.FillRect(r);
    };
    Sub = Popup->Items().Add("子菜单");
    Sub->Add("第二层")->Add("第三层");
    Keep = Form.Make<gui::TPopupMenu>();
    Keep->Tag = 199;  // DisableTag 99
    Keep->Items().Add("原样");
  }

  void TearDown() override {
    gInspect = nullptr;
    TSkinManage::Free();
    qmtest::PumpFor(20);
  }

  // Opens the form's popup at a fixed place; Inspect sees it while open.
  void OpenPopup(gui::TPopupMenu& menu, std::function<bool(HWND)> inspect, int settle = 30) {
    gInspect = std::move(inspect);
    gTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, settle ? 30 : 10, &InspectOpenMenu);
    menu.Popup(200, 200);
    KillTimer(nullptr, timer);
    qmtest::PumpFor(settle);
  }

  gui::TPopupMenu* Popup = nullptr;
  gui::TPopupMenu* Keep = nullptr;
  gui::TMenuItem *Plain = nullptr, *Checked = nullptr, *Own = nullptr, *Sub = nullptr;
  int Clicks = 0;
};

TEST_F(SkinnedMenus, PopupFramesComeFromTheSkinOnlyWhileItCanDrawThem) {
  Attach();
  SetForegroundWindow(Form.Handle());
  const std::shared_ptr<const TLoadedSkin> stored = Skin.Skin();
  const auto none = [] {};
  // A popup keeps the skin it was made with: a skin without the picture
  // is given before the popup opens.
  const struct {
    const char* Case;
    gui::TPopupMenu* Menu;
    std::function<void()> BeforeOpening, Prepare;
    bool Skinned;
  } cases[] = {
      {"skin on", Popup, none, none, true},
      {"manager switched off while a skinner is attached", Popup, none,
       [] { TSkinManage::Instance()->SetActiveForTest(false); }, false},
      {"skin without a menu background", Popup,
       [&] { test::UseSkin(Skin, test::EditedStoredSkin([](TSkinDescription& d) { d.MenuBackground.reset(); })); },
       none, false},
      {"a native menu whose items the skin does not draw", Keep, none, none, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    bool seen = false;
    c.BeforeOpening();
    OpenPopup(*c.Menu, [&](HWND popup) {
      seen = true;
      RECT w;
      GetWindowRect(popup, &w);
      const int W = w.right - w.left, H = w.bottom - w.top;
      const TDataSkinObject& back = *stored->MenuBackground;
      auto nineGrid = NineGridBitmap(RECT{0, 0, W, H}, *stored->SkinBitmap(back.Bitmap),
                                     RECT{back.LeftWidth, back.TopHeight, back.RightWidth, back.BottomHeight}, false,
                                     back.Tile == 1, 1, 1);
      c.Prepare();
      RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
      EXPECT_EQ(SendMessageW(popup, WM_ISSKINNED, 0, 0), 1);
      TWinSkinPopMenu* skinner = SkinnerOfPopup(popup);
      if (!skinner) return true;
      // The four frame strips against the menu background picture.
      int same = 0;
      const POINT spots[] = {{W / 2, 1}, {W / 2, H - 2}, {1, H / 2}, {W - 2, H / 2}};
      for (POINT p : spots) same += WindowPixel(popup, p.x, p.y) == BitmapPixel(*nineGrid, p.x, p.y);
      EXPECT_EQ(same, c.Skinned ? 4 : 0);
      if (c.Skinned) {
        EXPECT_EQ(skinner->MenuHandle(), Popup->Handle()) << "bound by the first item drawn";
        EXPECT_EQ(skinner->Background()->Width(), W);
      }
      return true;
    });
    EXPECT_TRUE(seen);
    TSkinManage::Instance()->SetActiveForTest(true);
    Skin.PackedSkin = TMemoryStream(PackedStoredSkin());
    ASSERT_TRUE(Skin.LoadSkin());
  }
}

TEST_F(SkinnedMenus, ASkinnerTakesMenuHandlersOnlyWhileItSkinsMenusAndGivesBackOnlyThose) {
  const struct {
    const char* Case;
    bool MenusSkinned;  // xcMainMenu: the window draws its menus' items
    bool Freed;
  } cases[] = {{"detached", true, false}, {"freed", true, true}, {"menus not skinned, skin changed", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    if (!c.MenusSkinned) Skin.SkinControls.Exclude(TSkinControlType::xcMainMenu);
    Attach();
    if (!c.MenusSkinned) FormSkinner->ApplySkin();
    EXPECT_EQ(Popup->OwnerDraw(), c.MenusSkinned);
    EXPECT_FALSE(Keep->OwnerDraw()) << "Tag 199 with DisableTag 99";
    EXPECT_EQ(Plain->OnAdvancedDrawItem && Plain->OnMeasureItem && Sub->Items(0)->Items(0)->OnAdvancedDrawItem,
              c.MenusSkinned);
    if (c.Freed)
      FormSkinner->Free();
    else
      FormSkinner->Detach();
    EXPECT_FALSE(Popup->OwnerDraw());
    EXPECT_FALSE(Plain->OnAdvancedDrawItem || Plain->OnMeasureItem || Sub->Items(0)->Items(0)->OnAdvancedDrawItem);
    EXPECT_TRUE(Own->OnAdvancedDrawItem) << "the item's own handler stays";
    if (!c.Freed) FormSkinner->Free();
  }
}

TEST_F(SkinnedMenus, ItemsAreDrawnFromTheSkinUnlessTheirOwnOrDisabledByTag) {
  Attach();
  SetForegroundWindow(Form.Handle());
  // The Tag-disabled menu keeps the native items.
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(Keep->Handle(), 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
  GetMenuItemInfoW(Popup->Handle(), 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);

  THand hand;
  int phase = 0;  // 0 open, 1 hovering the plain item, 2 clicking it
  COLORREF plainBefore = 0, checkedBefore = 0, plainHot = 0, checkedHot = 0;
  OpenPopup(*Popup, [&](HWND popup) {
    const HMENU menu = Popup->Handle();
    const RECT plain = ItemRect(popup, menu, 0), checked = ItemRect(popup, menu, 1);
    auto rightEnd = [&](const RECT& r) { return WindowPixel(popup, r.right - 3, (r.top + r.bottom) / 2); };
    RECT screen;
    GetWindowRect(popup, &screen);
    const POINT plainPoint{screen.left + (plain.left + plain.right) / 2, screen.top + (plain.top + plain.bottom) / 2};
    if (phase == 1 && hand.Done()) {
      plainHot = rightEnd(plain);
      checkedHot = rightEnd(checked);
      hand.Click(plainPoint, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
      phase = 2;
    }
    if (phase > 0) return false;
    const RECT line = ItemRect(popup, menu, 2), own = ItemRect(popup, menu, 3);
    // The item's own handler painted it.
    EXPECT_EQ(WindowPixel(popup, (own.left + own.right) / 2, (own.top + own.bottom) / 2), RGB(0, 255, 0));
    // The separator: the background with the skin's separator frame on it.
    TWinSkinPopMenu* skinner = SkinnerOfPopup(popup);
    EXPECT_NE(skinner, nullptr);
    if (skinner) {
      const int lw = line.right - line.left, lh = line.bottom - line.top;
      gui::TBitmap expected(lw, lh);
      BitBlt(expected.Canvas().Handle(), 0, 0, lw, lh, skinner->Background()->Canvas().Handle(), line.left, line.top,
             SRCCOPY);
      FormSkinner->MenuItems().DrawSeparator(expected.Canvas(), RECT{0, 0, lw, lh});
      int same = 0;
      for (int y = 0; y < lh; ++y)
        same += WindowPixel(popup, line.left + lw / 2, line.top + y) == BitmapPixel(expected, lw / 2, y);
      EXPECT_EQ(same, lh);
    }
    // Right ends of the two items, where no text lies.
    plainBefore = rightEnd(plain);
    checkedBefore = rightEnd(checked);
    hand.Move(plainPoint);
    phase = 1;
    return false;
  });
  ASSERT_EQ(phase, 2);
  EXPECT_EQ(plainBefore, checkedBefore) << "a checked item uses the normal frame";
  EXPECT_NE(plainHot, plainBefore) << "the selected frame";
  EXPECT_EQ(checkedHot, checkedBefore);
  EXPECT_EQ(Clicks, 1) << "the command reaches its handler once";
}

TEST_F(SkinnedMenus, RightToLeftMenusPutTheCheckMarkAtTheRightEnd) {
  Attach();
  SetForegroundWindow(Form.Handle());
  const COLORREF mark = GetSysColor(COLOR_BTNTEXT);
  for (bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "right to left" : "left to right");
    Popup->SetRightToLeft(mirrored);
    int left = 0, right = 0;
    OpenPopup(*Popup, [&](HWND popup) {
      // Check-mark pixels in the glyph boxes at either end of the item.
      const RECT item = ItemRect(popup, Popup->Handle(), 1);
      const int inset = 1 + Skin.Skin()->MenuItem->LeftWidth;
      for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y) {
          left += WindowPixel(popup, item.left + inset + x, item.top + 1 + y) == mark;
          right += WindowPixel(popup, item.right - inset - 16 + x, item.top + 1 + y) == mark;
        }
      return true;
    });
    EXPECT_GT(mirrored ? right : left, 4);
    EXPECT_EQ(mirrored ? left : right, 0);
  }
}

TEST_F(SkinnedMenus, TheSystemMenuIsDrawnFromTheSkinWhereverItIsOpened) {
  Attach();
  int closes = 0;
  auto old = Form.WindowProc;
  Form.WindowProc = [&](gui::TMessage& m) {
    if (m.Msg == WM_CLOSE) ++closes;
    else old(m);
  };
  SetForegroundWindow(Form.Handle());
  qmtest::PumpFor(100);
  RECT window;
  GetWindowRect(Form.Handle(), &window);
  const RECT caption = FormSkinner->Frame().CaptionRect();
  POINT icon{-1, -1};
  for (const auto& b : FormSkinner->CaptionButtons().Buttons())
    if (b->FVisible && (b->FData.Action == 3 || b->FData.Action == 11 || b->FData.Action == 12))
      icon = POINT{window.left + (b->FBounds.left + b->FBounds.right) / 2, window.top + (b->FBounds.top + b->FBounds.bottom) / 2};
  ASSERT_GE(icon.x, 0) << "the skin shows the window icon";
  const struct {
    const char* Way;
    POINT At;
    DWORD Down, Up;
    bool ChooseClose;
  } ways[] = {
      {"right click on the caption", {window.left + (caption.left + caption.right) / 2, window.top + (caption.top + caption.bottom) / 2},
       MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, true},
      {"the icon button", icon, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, false},
  };
  const COLORREF text = gui::ColorToRGB(Skin.Skin()->MenuTextColour);
  THand hand;
  for (const auto& w : ways) {
    SCOPED_TRACE(w.Way);
    Sleep(GetDoubleClickTime() + 50);  // two quick requests would close the window
    bool seen = false;
    POINT closeAt{};
    gInspect = [&](HWND popup) {
      if (seen) return false;  // the hand chooses " Close "
      seen = true;
      const HMENU menu = FormSkinner->SystemMenu().Popup()->Handle();
      TWinSkinPopMenu* skinner = SkinnerOfPopup(popup);
      EXPECT_TRUE(skinner && skinner->MenuHandle() == menu);
      const int count = GetMenuItemCount(menu);
      EXPECT_EQ(count, 7) << "Restore, Move, Size, Maximize, Minimize, a line, Close";
      // " Close ": its short cut ends 10 pixels before the item's right end.
      const RECT close = ItemRect(popup, menu, count - 1);
      int last = -1;
      for (int x = close.left; x < close.right; ++x)
        for (int y = close.top; y < close.bottom; ++y)
          if (WindowPixel(popup, x, y) == text) last = x;
      EXPECT_GE(last, close.right - 11 - 3);
      EXPECT_LT(last, close.right - 11);
      // Every item the skin has a glyph for shows it (Move and Size have none).
      const int left = Skin.Skin()->MenuItem->LeftWidth;
      for (int i : {0, 3, 4, 6}) {
        const RECT item = ItemRect(popup, menu, i);
        std::vector<COLORREF> colours;
        for (int x = 0; x < 16; ++x)
          for (int y = 0; y < 16; ++y) {
            const COLORREF c = WindowPixel(popup, item.left + 1 + left + x, item.top + 1 + y);
            if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
          }
        EXPECT_GE(colours.size(), 3u) << "glyph " << i;
      }
      RECT screen;
      GetWindowRect(popup, &screen);
      closeAt = POINT{screen.left + (close.left + close.right) / 2, screen.top + (close.top + close.bottom) / 2};
      if (w.ChooseClose) hand.Click(closeAt, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
      return !w.ChooseClose;
    };
    gTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &InspectOpenMenu);
    hand.Click(w.At, w.Down, w.Up);
    qmtest::PumpFor(4000, [&] { return seen && hand.Done() && !NewestPopup(); });
    KillTimer(nullptr, timer);
    qmtest::PumpFor(100);
    EXPECT_TRUE(seen);
    EXPECT_EQ(closes, w.ChooseClose ? 1 : 0) << "chosen once, closed once";
    closes = 0;
  }
  Form.WindowProc = old;
}

TEST_F(SkinnedMenus, SubmenusAndPrintedPopupsShowTheirOwnSkinnedBackground) {
  Attach();
  SetForegroundWindow(Form.Handle());
  THand hand;
  bool asked = false, checked = false;
  OpenPopup(*Popup, [&](HWND popup) {
    if (!asked) {
      const RECT sub = ItemRect(popup, Popup->Handle(), 4);
      RECT screen;
      GetWindowRect(popup, &screen);
      hand.Move(POINT{screen.left + (sub.left + sub.right) / 2, screen.top + (sub.top + sub.bottom) / 2});
      asked = true;
      return false;
    }
    TWinSkinPopMenu* second = SkinnerOfPopup(popup);
    if (!second || second->MenuHandle() != Sub->Handle()) return gTicks > 150;
    checked = true;
    EXPECT_EQ(TSkinManage::Instance()->PopupSkinners().size(), 2u);
    const TSkinManage& manager = *TSkinManage::Instance();
    EXPECT_NE(manager.FindPopupBackground(Popup->Handle()), manager.FindPopupBackground(Sub->Handle()));
    RECT w;
    GetWindowRect(popup, &w);
    const int W = w.right - w.left, H = w.bottom - w.top;
    EXPECT_EQ(second->Background()->Width(), W);
    EXPECT_EQ(second->Background()->Height(), H);
    // Printed, as menu animation shows a popup: frame and background first.
    gui::TBitmap printed(W, H);
    SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(printed.Canvas().Handle()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    int same = 0;
    const POINT spots[] = {{W / 2, 1}, {W / 2, H - 2}, {1, H / 2}, {W - 2, H / 2}};
    for (POINT p : spots) same += BitmapPixel(printed, p.x, p.y) == BitmapPixel(*second->Background(), p.x, p.y);
    EXPECT_EQ(same, 4);
    return true;
  });
  EXPECT_TRUE(checked) << "the submenu opened and was bound";
}

TEST_F(SkinnedMenus, NativeOwnerDrawnItemsAreMeasuredByTextAndDrawnThroughTemporaryItems) {
  auto* bar = Form.Make<gui::TMainMenu>();
  bar->Items().Add("文件")->Add("打开");
  Form.SetMenu(bar);
  Attach();
  SetForegroundWindow(Form.Handle());
  // Owner-drawn native items that keep their text, as the menu bar's are.
  HMENU native = CreatePopupMenu();
  wchar_t text[] = L"打开皮肤文件\tCtrl+O";
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
  mii.fType = MFT_OWNERDRAW;
  mii.fState = MFS_CHECKED;
  mii.wID = 7001;
  mii.dwTypeData = text;
  InsertMenuItemW(native, 0, TRUE, &mii);
  AppendMenuW(native, MF_OWNERDRAW, 7002, nullptr);
  FormSkinner->Menus().SetTrackedPopup(native);
  bool seen = false;
  gInspect = [&](HWND popup) {
    seen = true;
    const RECT item = ItemRect(popup, native, 0), line = ItemRect(popup, native, 1);
    EXPECT_GT(item.right - item.left, 26 + Skin.Skin()->MenuItem->LeftWidth + 40) << "measured by its text";
    EXPECT_EQ(line.bottom - line.top, 8) << "no text: a separator";
    EXPECT_GT(item.bottom - item.top, 8) << "text: at least its own height";
    // The check mark of the temporary item.
    int marks = 0;
    const COLORREF mark = GetSysColor(COLOR_BTNTEXT);
    for (int x = 0; x < 18; ++x)
      for (int y = 0; y < 16; ++y) marks += WindowPixel(popup, item.left + 1 + Skin.Skin()->MenuItem->LeftWidth + x, item.top + 1 + y) == mark;
    EXPECT_GT(marks, 4);
    // An etched line 4 pixels down the separator.
    EXPECT_EQ(WindowPixel(popup, (line.left + line.right) / 2, line.top + 4), GetSysColor(COLOR_BTNSHADOW));
    return true;
  };
  gTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, &InspectOpenMenu);
  TrackPopupMenu(native, TPM_RIGHTBUTTON, 200, 200, 0, Form.Handle(), nullptr);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(seen);
  FormSkinner->Menus().SetTrackedPopup(nullptr);
  DestroyMenu(native);
}

// A plain window that counts the measure requests of its menu's items.
LRESULT CALLBACK CountMeasures(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_MEASUREITEM) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemWidth = 60;
    reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = 18;
    return TRUE;
  }
  return DefWindowProcW(h, msg, w, l);
}

TEST_F(SkinnedMenus, SkinnedItemsAreMeasuredAgainAfterASkinSwitchOrAFontChange) {
  Attach();
  // The system keeps an owner-drawn item's size once measured. Wine does so
  // only for a window's menu bar: the skinned popup menu shows as one here.
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CountMeasures;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmMenuMeasures";
  RegisterClassW(&wc);
  int measured = 0;
  HWND shows = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 400, 120, nullptr,
                               nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(shows, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&measured));
  SetMenu(shows, Popup->Handle());
  auto show = [&] {
    RedrawWindow(shows, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return measured;
  };
  const struct {
    const char* Case;
    std::function<void()> Change;
  } rows[] = {
      {"a switch of skin", [&] { FormSkinner->ApplySkin(); }},
      {"a change of the menu font",
       [&] { SendMessageW(Form.Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    show();
    const int kept = show();
    ASSERT_EQ(show(), kept) << "measured once and kept";
    r.Change();
    EXPECT_GT(show(), kept);
  }
  SetMenu(shows, nullptr);  // the menu is the form's, not this window's
  DestroyWindow(shows);
}

TEST_F(SkinnedMenus, UnderlinesShowOnlyWhereTheUserKeepsThemShown) {
  auto* run = Add<gui::TButton>(&Form, 10, 10, 120, 30, "&Run");
  HWND button = run->Handle();
  // The button's keyboard cues as the system keeps them (Wine keeps none):
  // hidden until Alt is pressed, where the user does not want them always.
  bool hidden = false;
  gui::TWindowSubclass cues;
  cues.Attach(button, [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == WM_QUERYUISTATE) return hidden ? UISF_HIDEACCEL : 0;
    if (msg == WM_UPDATEUISTATE && (HIWORD(w) & UISF_HIDEACCEL)) hidden = LOWORD(w) == UIS_SET;
    return cues.CallPrevious(msg, w, l);
  });
  Attach();
  const COLORREF ink = gui::ColorToRGB(Skin.Skin()->MenuTextColour);
  auto inkOfItem = [&](unsigned state) {
    gui::TBitmap bitmap(120, 24);
    bitmap.Canvas().Brush.SetColor(gui::clWhite);
    bitmap.Canvas().FillRect(RECT{0, 0, 120, 24});
    gui::TMenuItem item(nullptr);
    item.SetCaption("&Open");
    FormSkinner->MenuItems().ItemContent(item, bitmap.Canvas(), state, RECT{0, 0, 120, 24});
    int n = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 120; ++x) n += bitmap.Canvas().Pixel(x, y) == ink;
    return n;
  };
  // What the button shows, without asking it to paint.
  auto buttonPicture = [&] {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) pixels.push_back(Pixel(button, x, y));
    return pixels;
  };
  // A menu opened with the mouse: the system's ODS_NOACCEL.
  EXPECT_GT(inkOfItem(0), inkOfItem(gui::odNoAccel));
  // A window told to hide its keyboard cues, then to show them (Alt).
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::vector<COLORREF> underlined = buttonPicture();
  SendMessageW(button, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL), 0);
  EXPECT_NE(buttonPicture(), underlined);
  SendMessageW(button, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
  EXPECT_EQ(buttonPicture(), underlined);
}

TEST_F(SkinnedMenus, ManyPopupsLeaveNoObjectBehind) {
  Attach();
  SetForegroundWindow(Form.Handle());
  auto open = [&](int times) {
    for (int i = 0; i < times; ++i) OpenPopup(
          i % 2 ? *Popup : *Keep,
          [](HWND) {
            // The Tag-disabled menu's popup never learns its menu: it is nobody's background.
            EXPECT_EQ(TSkinManage::Instance()->FindPopupBackground(nullptr), nullptr);
            return true;
          },
          0);
  };
  open(20);
  const int gdi = qmtest::GdiObjectCount(), user = qmtest::UserObjectCount();
  // The counts are exact: a leak of one object per popup leaves 10 behind,
  // 5 of each menu's.
  open(10);
  EXPECT_EQ(qmtest::GdiObjectCount(), gdi);
  EXPECT_EQ(qmtest::UserObjectCount(), user);
  EXPECT_TRUE(TSkinManage::Instance()->PopupSkinners().empty());
  EXPECT_EQ(TWinSkinPopMenu::PendingPopup, nullptr);
}

}  // namespace
}  // namespace qm::test
