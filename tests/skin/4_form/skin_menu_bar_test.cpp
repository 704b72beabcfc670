// The skinned menu bar on real windows, driven by real input from another
// thread while the GUI thread sits in the popup's menu loop: moving between
// popups, menu keys, commands, hot tracking, and the native bar coming back.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "../stored_skin.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui_objects.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"
#include "window_measure.h"

namespace qm {
namespace {

using test::ClientSize;

using qmtest::SendKey;

void Press(WORD vk) {
  SendKey(vk, false);
  SendKey(vk, true);
}

// Absolute moves: a warped cursor may be overtaken by an older motion of
// the display.
void MoveTo(POINT p) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (p.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = (p.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SetCursorPos(p.x, p.y);
  SendInput(1, &input, sizeof input);
}

void Click(POINT p) {
  MoveTo(p);
  Sleep(80);
  qmtest::SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(30);
  qmtest::SendMouse(MOUSEEVENTF_LEFTUP);
}

// Under Wine the display's pointer follows only a move made by the thread
// whose window is under it: the hand asks the GUI thread to move, and the
// menu loop dispatches the request like any other message.
constexpr UINT kMoveHere = WM_APP + 7;

// Runs a user's hand on another thread while the GUI thread goes through the
// application's own message handling, popups' menu loops included.
void WithHand(const std::function<void()>& hand) {
  std::atomic<bool> done{false}, pumping{false};
  std::thread t([&] {
    qmtest::WaitFor([&] { return pumping.load(); }, 1000);
    hand();
    Sleep(250);
    // Whatever stays open closes.
    for (int i = 0; i < 3; ++i) Press(VK_ESCAPE), Sleep(60);
    done = true;
  });
  while (!done) {
    gui::Application().ProcessMessages();
    pumping = true;
    Sleep(5);
  }
  t.join();
  gui::Application().ProcessMessages();
}

class MenuBarTest : public ::testing::Test {
 public:
  void SetUp() override {
    Skin.PackedSkin = TMemoryStream(test::PackedStoredSkin());
    ASSERT_TRUE(Skin.LoadSkin());
    Menu = Form.Make<gui::TMainMenu>();
    auto popup = [&](const char* caption, std::vector<const char*> items) {
      gui::TMenuItem* top = Menu->Items().Add(caption);
      for (const char* c : items) top->Add(c)->OnClick = [this](gui::TMenuItem& i) { Clicks.push_back(i.Caption()); };
      return top;
    };
    File = popup("&File", {"&Open", "E&xit"});
    Edit = popup("&Edit", {"&Deeper", "&Plain"});
    Edit->Items(0)->Add("Inner");
    View = popup("&View", {"&Zoom"});
    Form.SetMenu(Menu);
    Form.SetBorderStyle(gui::TFormBorderStyle::bsSizeable);
    Form.SetClientSize(400, 240);
    // Which popups open, in order, and any native menu mode the window enters.
    const gui::TWndMethod previous = Form.WindowProc;
    Form.WindowProc = [this, previous](gui::TMessage& m) {
      if (m.Msg == WM_INITMENUPOPUP) Opened.push_back(reinterpret_cast<HMENU>(m.WParam));
      if (m.Msg == WM_ENTERMENULOOP) ++MenuLoops;
      if (m.Msg == kMoveHere) MoveTo(POINT{static_cast<int>(m.WParam), static_cast<int>(m.LParam)});
      previous(m);
    };
    Form.Show();
    qmtest::PumpUntilSettled();
    NativeClient = ClientSize(Form.Handle());
  }

  TWinSkinForm* Attach() {
    Skinner = Form.Make<TWinSkinForm>();
    Skinner->FHandle = Form.Handle();
    Skinner->AttachLibraryForm(&Skin, &Form);
    PostMessageW(Form.Handle(), WM_SKINATTACHED, 0, 1000);
    qmtest::PumpFor(300, [&] { return Skinner->Phase() == TWinSkinForm::phReady; });
    SetForegroundWindow(Form.Handle());
    qmtest::PumpUntilSettled();
    return Skinner;
  }

  POINT ItemCentre(int index) {
    RECT window;
    GetWindowRect(Form.Handle(), &window);
    const RECT& r = Skinner->Menus().Bar()->Item(index)->FBounds;
    return POINT{window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2};
  }

  TSkinData Skin{nullptr};
  gui::TForm Form{nullptr};
  gui::TMainMenu* Menu = nullptr;
  gui::TMenuItem *File = nullptr, *Edit = nullptr, *View = nullptr;
  TWinSkinForm* Skinner = nullptr;
  std::vector<HMENU> Opened;
  std::vector<std::string> Clicks;
  int MenuLoops = 0;
  SIZE NativeClient{};
};

TEST_F(MenuBarTest, TheBarReplacesTheNativeOneAndGivesItBack) {
  // Natively owner-drawn bar items carry no text: the main menu has them.
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STRING;
  mii.fType = MFT_OWNERDRAW;
  SetMenuItemInfoW(Menu->Handle(), 1, TRUE, &mii);
  Attach();
  ASSERT_NE(Skinner->Menus().Bar(), nullptr);
  EXPECT_EQ(GetMenu(Form.Handle()), nullptr) << "the native bar is off";
  EXPECT_EQ(Skinner->Frame().MenuHeight(), GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(ClientSize(Form.Handle()).cx, NativeClient.cx);
  EXPECT_EQ(ClientSize(Form.Handle()).cy, NativeClient.cy);
  TWinSkinMenu& bar = *Skinner->Menus().Bar();
  ASSERT_EQ(bar.Count(), 3);
  EXPECT_EQ(bar.Item(1)->FCaption, L"&Edit");
  EXPECT_EQ(bar.Item(1)->FSubMenu, Edit->Handle());
  // Left to right, under the title, one after another.
  for (int i = 0; i < 3; ++i) {
    const RECT& r = bar.Item(i)->FBounds;
    EXPECT_EQ(r.top, Skinner->Frame().Metrics().TitleHeight);
    EXPECT_GT(r.right, r.left);
    if (i > 0) {
      EXPECT_EQ(r.left, bar.Item(i - 1)->FBounds.right);
    }
  }
  EXPECT_EQ(bar.ItemAt(POINT{bar.Item(2)->FBounds.left + 2, bar.Item(2)->FBounds.top + 2}), bar.Item(2));
  EXPECT_EQ(bar.ItemAt(POINT{bar.Item(2)->FBounds.right + 40, bar.Item(2)->FBounds.top + 2}), nullptr);
  // The library menu changes: the bar follows while MenuUpdate says so,
  // and the native bar stays off either way.
  Skin.MenuUpdate = false;
  View->SetCaption("&Look");
  EXPECT_EQ(GetMenu(Form.Handle()), nullptr);
  EXPECT_EQ(Skinner->Menus().Bar()->Item(2)->FCaption, L"&View");
  Skin.MenuUpdate = true;
  View->SetCaption("&Sight");
  EXPECT_EQ(GetMenu(Form.Handle()), nullptr);
  EXPECT_EQ(Skinner->Menus().Bar()->Item(2)->FCaption, L"&Sight");

  // Hot tracking: the item under the mouse gets its frame, and loses it.
  const RECT edit = bar.Item(1)->FBounds;
  const COLORREF hilight = gui::ColorToRGB(Skin.Skin()->ButtonHilightColour);
  auto framed = [&] {
    HDC dc = GetWindowDC(Form.Handle());
    const COLORREF c = GetPixel(dc, edit.left, (edit.top + edit.bottom) / 2);
    ReleaseDC(Form.Handle(), dc);
    return c == hilight;
  };
  ASSERT_FALSE(framed());
  MoveTo(ItemCentre(1));
  qmtest::PumpFor(300, framed);
  EXPECT_TRUE(framed());
  MoveTo(POINT{ItemCentre(1).x, ItemCentre(1).y + 120});
  qmtest::PumpFor(800, [&] { return !framed(); });
  EXPECT_FALSE(framed());

  Skinner->Detach();
  qmtest::PumpFor(50);
  EXPECT_EQ(GetMenu(Form.Handle()), Menu->Handle());
  EXPECT_EQ(ClientSize(Form.Handle()).cx, NativeClient.cx);
  EXPECT_EQ(ClientSize(Form.Handle()).cy, NativeClient.cy);
  mii.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(File->Handle(), 0, TRUE, &mii);
  EXPECT_FALSE(mii.fType & MFT_OWNERDRAW) << "popup items get their native type back";
}

struct TMoveCase {
  const char* Name;
  bool RightToLeft;
  int First;  // the item clicked first, or -1 for none
  std::function<void(MenuBarTest&)> Hand;
  std::vector<int> Popups;  // 0..2 the bar's popups, 3 the submenu of Edit
};

TEST_F(MenuBarTest, ArrowsMouseAndAltMoveBetweenPopups) {
  const std::vector<TMoveCase> cases = {
      {"last + right opens the first", false, 2, [](MenuBarTest&) { Press(VK_RIGHT); }, {2, 0}},
      {"first + left opens the last", false, 0, [](MenuBarTest&) { Press(VK_LEFT); }, {0, 2}},
      {"right on an item with a submenu opens it", false, 1, [](MenuBarTest&) { Press(VK_RIGHT); }, {1, 3}},
      {"left inside a submenu closes only it", false, 1,
       [](MenuBarTest&) {
         Press(VK_RIGHT);
         qmtest::WaitFor([] { return qmtest::OpenPopupMenus() == 2; }, 1000);
         Press(VK_LEFT);
       }, {1, 3}},
      {"the mouse over another item switches", false, 0, [](MenuBarTest& t) {
         PostMessageW(t.Form.Handle(), kMoveHere, t.ItemCentre(1).x, t.ItemCentre(1).y);
       }, {0, 1}},
      {"Alt+accelerator opens its popup", false, -1,
       [](MenuBarTest&) { SendKey(VK_MENU, false), Press('V'), SendKey(VK_MENU, true); }, {2}},
      {"F10 selects the bar: its first popup opens", false, -1, [](MenuBarTest&) { Press(VK_F10); }, {0}},
      {"Alt alone selects the bar, and the arrows go on", false, -1,
       [](MenuBarTest&) { Press(VK_MENU), Sleep(250), Press(VK_RIGHT); }, {0, 1}},
      {"right-to-left: the left arrow goes on", true, 0, [](MenuBarTest&) { Press(VK_LEFT); }, {0, 1}},
      {"right-to-left: the right arrow goes back", true, 0, [](MenuBarTest&) { Press(VK_RIGHT); }, {0, 2}},
  };
  Attach();
  for (const TMoveCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Menu->SetRightToLeft(c.RightToLeft);
    SendMessageW(Form.Handle(), WM_SKINPAINTFRAME, 0, 0);
    const HMENU popups[] = {File->Handle(), Edit->Handle(), View->Handle(), Edit->Items(0)->Handle()};
    Opened.clear();
    WithHand([&] {
      if (c.First >= 0) Click(ItemCentre(c.First)), qmtest::WaitFor([] { return qmtest::OpenPopupMenus() == 1; }, 1000);
      c.Hand(*this);
    });
    std::vector<HMENU> expected;
    for (int i : c.Popups) expected.push_back(popups[i]);
    EXPECT_EQ(Opened, expected);
    EXPECT_FALSE(Skinner->Menus().Tracking());
    EXPECT_EQ(Skinner->Menus().TrackedPopup(), nullptr);
  }
  // Right to left, the first item is the rightmost.
  const TWinSkinMenu& bar = *Skinner->Menus().Bar();
  EXPECT_GT(bar.Item(0)->FBounds.left, bar.Item(1)->FBounds.left);
  EXPECT_EQ(bar.Item(0)->FBounds.right, Skinner->Frame().Metrics().BorderLeft + bar.FBarRect.right - bar.FBarRect.left -
                                            Skin.Skin()->MenuBar->RightWidth - 8);
}

TEST_F(MenuBarTest, CommandsRunOnceAndDisabledPopupsStayShut) {
  gui::TMenuItem* go = Menu->Items().Add("&Go");
  int goClicks = 0;
  go->OnClick = [&](gui::TMenuItem&) { ++goClicks; };
  gui::TMenuItem* off = Menu->Items().Add("O&ff");
  off->Add("Never");
  off->SetEnabled(false);
  Attach();
  ASSERT_EQ(Skinner->Menus().Bar()->Count(), 5);
  WithHand([&] {
    Click(ItemCentre(3));
    Sleep(200);
    Click(ItemCentre(4));
    Sleep(200);
    // Open File by its accelerator and choose its first item.
    SendKey(VK_MENU, false), Press('F'), SendKey(VK_MENU, true);
    Sleep(300);
    Press(VK_RETURN);
  });
  qmtest::PumpFor(100);
  EXPECT_EQ(goClicks, 1);
  EXPECT_EQ(Clicks, std::vector<std::string>{"&Open"});
  EXPECT_EQ(Opened, std::vector<HMENU>{File->Handle()}) << "a disabled item's popup stays shut";
  EXPECT_EQ(MenuLoops, 1) << "the one popup's loop, no native menu mode";
}

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST_F(MenuBarTest, ManyOpeningsLeakNothing) {
  Attach();
  TMenuBtn* item = Skinner->Menus().Bar()->Item(1);
  // Each popup closes as soon as it shows.
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, &CloseMenuSoon);
  Skinner->Menus().OpenButton(item);
  qmtest::PumpFor(50);
  const int gdi = qmtest::GdiObjectCount(), user = qmtest::UserObjectCount();
  // The counts are exact: a leak of one object per opening leaves 10
  // behind, one per frame paint with the bar 2.
  for (int i = 0; i < 10; ++i) {
    Skinner->Menus().OpenButton(item);
    if (i % 5 == 0) SendMessageW(Form.Handle(), WM_SKINPAINTFRAME, 0, 0);
  }
  KillTimer(nullptr, timer);
  qmtest::PumpFor(50);
  EXPECT_EQ(Opened.size(), 11u);
  EXPECT_EQ(qmtest::GdiObjectCount(), gdi);
  EXPECT_EQ(qmtest::UserObjectCount(), user);
}

}  // namespace
}  // namespace qm
