// A skinned MDI frame and its children, as plain Win32 windows: children
// made through the client wear the skin, give way to the system while one
// is maximised, take the frame's child commands, and everything comes back
// native when skinning goes off.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>
#include <vector>

#include "../stored_skin.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"
#include "window_measure.h"

namespace qm {
namespace {

using test::ClientSize;
using test::WindowSize;

HWND ClientOfFrame = nullptr;

std::vector<HMENU> OpenedPopups;

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITMENUPOPUP) OpenedPopups.push_back(reinterpret_cast<HMENU>(wParam));
  return DefFrameProcW(w, ClientOfFrame, msg, wParam, lParam);
}

POINT PositionInParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 1);
  return POINT{r.left, r.top};
}

bool HasRegion(HWND w) {
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(w, probe);
  DeleteObject(probe);
  return kind != ERROR;
}

TSkinManage& Manager() { return *TSkinManage::Instance(); }

class MDIFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSkinManage::Free();
    TSkinManage::Make();
    Skin.PackedSkin = TMemoryStream(test::PackedStoredSkin());
    ASSERT_TRUE(Skin.LoadSkin());
    Manager().AddSkinData(&Skin);
    Manager().SkinOwnForm(nullptr);  // on, and counted as activated
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.lpszClassName = L"QmTestMDIFrame";
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    RegisterClassW(&frameClass);
    WNDCLASSW childClass = frameClass;
    childClass.lpfnWndProc = DefMDIChildProcW;
    childClass.lpszClassName = L"QmTestMDIChild";
    childClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&childClass);
    MakeFrame();
  }
  void MakeFrame() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Frame = CreateWindowExW(0, L"QmTestMDIFrame", L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 640, 480,
                            nullptr, nullptr, instance, nullptr);
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = 0xFF00;
    ClientOfFrame = CreateWindowExW(0, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 600, 400,
                                    Frame, nullptr, instance, &ccs);
    ShowWindow(Frame, SW_SHOW);
    qmtest::PumpFor(50);
  }
  void TearDown() override {
    DestroyWindow(Frame);
    TSkinManage::Free();
    ClientOfFrame = nullptr;
  }

  // Carried out at once rather than on the manager's next tick.
  void SwitchOff() {
    Manager().SetPendingSkinData(&Skin);
    Manager().RequestAction(saSkinOff, kSkinActionDelayMs);
    Manager().RunPendingAction();
  }

  // A child made as an application makes one: create, then refresh the
  // window menu.
  HWND NewChild(int x, int y) {
    MDICREATESTRUCTW mcs{};
    mcs.szClass = L"QmTestMDIChild";
    mcs.szTitle = L"子窗口";
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = x, mcs.y = y, mcs.cx = 220, mcs.cy = 160;
    HWND child = reinterpret_cast<HWND>(SendMessageW(ClientOfFrame, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    NativeClient = ClientSize(child);
    SendMessageW(ClientOfFrame, WM_MDIREFRESHMENU, 0, 0);
    TWinSkinForm* skinner = Manager().FindFormSkinner(child);
    qmtest::PumpFor(300, [&] { return skinner && skinner->Phase() == TWinSkinForm::phReady; });
    qmtest::PumpFor(50);
    return child;
  }

  TWinSkinForm* FrameSkinner() {
    EXPECT_TRUE(Manager().AttachWindow(Frame));
    TWinSkinForm* skinner = Manager().FindFormSkinner(Frame);
    qmtest::PumpFor(300, [&] { return skinner->Phase() == TWinSkinForm::phReady; });
    return skinner;
  }

  // Runs one of the frame's child buttons as a click on it would.
  void ClickChildButton(TWinSkinForm& frame, int Action) {
    for (const auto& b : frame.CaptionButtons().Buttons())
      if (b->FData.Action == Action) {
        frame.CaptionButtons().SetHotObject(b.get());
        frame.CaptionButtons().ButtonClick(0, 0);
        qmtest::PumpFor(100);
        return;
      }
    ADD_FAILURE() << "no child button with action " << Action;
  }

  TSkinData Skin{nullptr};
  HWND Frame = nullptr;
  SIZE NativeClient{};
};

TEST_F(MDIFrameTest, ChildrenWearTheSkinGiveWayWhileMaximisedAndTakeTheFramesCommands) {
  const LONG_PTR clientProc = GetWindowLongPtrW(ClientOfFrame, GWLP_WNDPROC);
  TWinSkinForm* frame = FrameSkinner();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Window().MDIKind, TWinSkinForm::mkFrame);
  EXPECT_EQ(frame->MDI().ClientWnd(), ClientOfFrame);
  // The client's own scroll bars never show in the skinned frame.
  SetWindowPos(ClientOfFrame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(GetWindowLongPtrW(ClientOfFrame, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);

  HWND child = NewChild(10, 10);
  TWinSkinForm* skinner = Manager().FindFormSkinner(child);
  ASSERT_NE(skinner, nullptr) << "a child made through the client is skinned";
  EXPECT_EQ(skinner->Window().MDIKind, TWinSkinForm::mkChild);
  EXPECT_EQ(frame->MDI().CountMDIChildren(), 1);
  EXPECT_TRUE(frame->MDI().MenuBarOnHold()) << "the bar waits while children come and go";
  EXPECT_TRUE(Skin.MenuUpdate) << "the setting is every window's and stays as the program left it";
  const TFrameMetrics& m = skinner->Frame().Metrics();
  const SIZE skinned{NativeClient.cx + m.BorderLeft + m.BorderRight, NativeClient.cy + m.TitleHeight + m.BorderBottom};
  EXPECT_EQ(ClientSize(child).cx, NativeClient.cx);
  EXPECT_EQ(ClientSize(child).cy, NativeClient.cy);
  EXPECT_EQ(WindowSize(child).cx, skinned.cx);
  EXPECT_EQ(WindowSize(child).cy, skinned.cy);
  EXPECT_TRUE(HasRegion(child));
  EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_CAPTION, 0);

  // Maximised, the system draws the child whole: native caption, no region.
  SendMessageW(ClientOfFrame, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  qmtest::PumpFor(100);
  EXPECT_EQ(skinner->Window().State, TWinSkinForm::wsMaximized);
  EXPECT_TRUE(frame->MDI().ActiveChildMaximized());
  EXPECT_FALSE(HasRegion(child));
  EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  frame->MDI().SetChildMaximized(true);  // as the frame's menu bar says once it shows the child's buttons

  // The frame's restore button brings the skinned child back.
  ClickChildButton(*frame, 8);
  EXPECT_FALSE(IsZoomed(child));
  EXPECT_FALSE(frame->MDI().ChildMaximized());
  EXPECT_EQ(skinner->Window().State, TWinSkinForm::wsNormal);
  EXPECT_TRUE(HasRegion(child));
  EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(WindowSize(child).cx, skinned.cx);
  EXPECT_EQ(ClientSize(child).cy, NativeClient.cy);

  // Its minimise button, then close.
  ClickChildButton(*frame, 7);
  EXPECT_TRUE(IsIconic(child));
  ClickChildButton(*frame, 9);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(frame->MDI().CountMDIChildren(), 0);
  EXPECT_FALSE(frame->MDI().MenuBarOnHold()) << "the last child gone, the bar follows the menu again";

  // Off: the client has its own procedure back.
  SwitchOff();
  EXPECT_TRUE(Manager().AllFormSkinners().empty());
  EXPECT_EQ(GetWindowLongPtrW(ClientOfFrame, GWLP_WNDPROC), clientProc);
}

TEST_F(MDIFrameTest, SwitchingOffGivesChildrenTheirNativeFrameInPlace) {
  TWinSkinForm* frame = FrameSkinner();
  HWND first = NewChild(10, 10), second = NewChild(60, 40);
  const SIZE nativeSecond = NativeClient;
  const POINT where = PositionInParent(second);
  ASSERT_EQ(frame->MDI().CountMDIChildren(), 2);
  SwitchOff();
  for (HWND child : {first, second}) {
    EXPECT_EQ(SendMessageW(child, WM_ISSKINNED, 0, 0), 0);
    EXPECT_FALSE(HasRegion(child));
    EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  }
  EXPECT_EQ(ClientSize(second).cx, nativeSecond.cx);
  EXPECT_EQ(ClientSize(second).cy, nativeSecond.cy);
  EXPECT_EQ(PositionInParent(second).x, where.x);
  EXPECT_EQ(PositionInParent(second).y, where.y);
}

TEST_F(MDIFrameTest, TheMaximisedChildsButtonsShowInTheBarAndWork) {
  HMENU bar = CreateMenu(), window = CreatePopupMenu();
  AppendMenuW(window, MF_STRING, 100, L"&Tile");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
  SetMenu(Frame, bar);
  TWinSkinForm* frame = FrameSkinner();
  ASSERT_NE(frame->Menus().Bar(), nullptr);
  HWND first = NewChild(10, 10), second = NewChild(60, 40);
  EXPECT_EQ(GetMenu(Frame), nullptr) << "the children's menu changes leave the native bar off";
  // A plain window hears of Alt+W only as a system command: it opens the popup.
  SetForegroundWindow(Frame);
  OpenedPopups.clear();
  std::atomic<bool> typed{false};
  std::thread keys([&] {
    Sleep(100);
    qmtest::SendKey(VK_MENU, false), qmtest::SendKey('W', false), qmtest::SendKey('W', true);
    qmtest::SendKey(VK_MENU, true);
    qmtest::WaitFor([] { return qmtest::OpenPopupMenus() == 1; }, 1000);
    qmtest::SendKey(VK_ESCAPE, false), qmtest::SendKey(VK_ESCAPE, true);
    typed = true;
  });
  qmtest::PumpFor(2000, [&] { return typed && qmtest::OpenPopupMenus() == 0; });
  keys.join();
  EXPECT_EQ(OpenedPopups, std::vector<HMENU>{window});
  auto childButtons = [&] {
    std::vector<const TWinSysButton*> shown;
    for (const auto& b : frame->CaptionButtons().Buttons())
      if (b->FData.Visibility == 100 && b->FVisible) shown.push_back(b.get());
    return shown;
  };
  EXPECT_TRUE(childButtons().empty());
  SendMessageW(ClientOfFrame, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  SetForegroundWindow(Frame);
  SendMessageW(Frame, WM_SKINPAINTFRAME, 0, 0);
  qmtest::PumpFor(200);
  const auto buttons = childButtons();
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_TRUE(frame->MDI().ChildMaximized());
  // Drawn over the bar: the button pixels differ from the bar under them.
  TWinSkinMenu& menuBar = *frame->Menus().Bar();
  HDC dc = GetWindowDC(Frame);
  for (const TWinSysButton* b : buttons) {
    EXPECT_GE(b->FBounds.top, menuBar.FBarRect.top);
    EXPECT_LE(b->FBounds.bottom, menuBar.FBarRect.bottom);
    int differing = 0;
    for (int y = b->FBounds.top; y < b->FBounds.bottom; ++y)
      for (int x = b->FBounds.left; x < b->FBounds.right; ++x)
        differing += GetPixel(dc, x, y) !=
                     menuBar.FBackground.Canvas().Pixel(x - menuBar.FBarRect.left, y - menuBar.FBarRect.top);
    EXPECT_GT(differing, 10) << "button with action " << b->FData.Action;
  }
  ReleaseDC(Frame, dc);
  // The last of the three closes the maximised child, clicked for real.
  RECT w;
  GetWindowRect(Frame, &w);
  const RECT& close = buttons.back()->FBounds;
  std::thread hand([at = POINT{w.left + (close.left + close.right) / 2, w.top + (close.top + close.bottom) / 2}] {
    SetCursorPos(at.x, at.y);
    Sleep(100);
    qmtest::SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    qmtest::SendMouse(MOUSEEVENTF_LEFTUP);
  });
  qmtest::PumpFor(1500, [&] { return !IsWindow(second); });
  hand.join();
  EXPECT_FALSE(IsWindow(second));
  EXPECT_TRUE(IsWindow(first));

  SwitchOff();
  EXPECT_EQ(GetMenu(Frame), bar) << "skinning off gives the native bar back";
}

// Whatever goes first of the frame, its children and the manager, nothing
// reads what another has freed (the heap of this program poisons it).
TEST_F(MDIFrameTest, FrameChildrenAndManagerComeDownInAnyOrder) {
  const struct {
    const char* Case;
    const char* Steps;  // F frame destroyed, C children destroyed, M manager freed
  } cases[] = {
      {"frame with its children open, then the manager", "FM"},
      {"children, frame, manager", "CFM"},
      {"manager while all are skinned, then the frame", "MF"},
      {"manager, children, frame", "MCF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    if (!TSkinManage::Instance()) {
      TSkinManage::Make();
      Manager().AddSkinData(&Skin);
      Manager().SkinOwnForm(nullptr);
      MakeFrame();
    }
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 100, L"&Go");
    SetMenu(Frame, bar);
    FrameSkinner();
    std::vector<HWND> children{NewChild(10, 10), NewChild(60, 40)};
    SendMessageW(ClientOfFrame, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(children[1]), 0);
    qmtest::PumpUntilSettled(5000);
    for (const char* step = c.Steps; *step; ++step) {
      switch (*step) {
        case 'F': DestroyWindow(Frame); break;
        case 'C':
          for (HWND child : children) SendMessageW(ClientOfFrame, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
          break;
        case 'M':
          TSkinManage::Free();
          // The manager's skinners go with it, giving their windows back.
          for (HWND w : {Frame, children[0], children[1]})
            if (IsWindow(w)) {
              EXPECT_EQ(SendMessageW(w, WM_ISSKINNED, 0, 0), 0);
              EXPECT_FALSE(HasRegion(w));
            }
          if (IsWindow(Frame)) {
            EXPECT_EQ(GetMenu(Frame), bar);
          }
          break;
      }
      // Whatever is still there goes on working.
      for (HWND w : {Frame, children[0], children[1]})
        if (IsWindow(w)) {
          SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
          RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        }
      qmtest::PumpUntilSettled(5000);
    }
    EXPECT_FALSE(IsWindow(Frame));
  }
}

TEST_F(MDIFrameTest, AWindowDestroyedWhileItsBarShowsTakesItsMenuAlong) {
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 100, L"&Go");
  SetMenu(Frame, bar);
  FrameSkinner();
  DestroyWindow(Frame);
  Frame = nullptr;
  EXPECT_FALSE(IsMenu(bar));
}

}  // namespace
}  // namespace qm
