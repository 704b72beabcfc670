// The form skinner on real windows: frame size, region, painted frame in
// both activation states, and detaching back to the native frame.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <thread>
#include <vector>

#include "../stored_skin.h"
#include "window_measure.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui_objects.h"
#include "skin_control.h"
#include "skin_manage.h"
#include "ui_driver.h"
#include "win_skin_data.h"
#include "win_skin_form.h"

namespace qm {
namespace {

using test::ClientSize;
using test::WindowSize;

COLORREF WindowPixel(HWND w, int x, int y) {
  HDC dc = GetWindowDC(w);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

// What a border should look like at (x, y) of a window W x H.
COLORREF BorderPixel(const TSkinData& skin, TFrameSide side, int W, int H, int x, int y, bool active) {
  const TFrameMetrics m = *SkinFrameMetrics(skin, false);
  gui::TBitmap window(W, H);
  PaintSkinBorder(skin, side, FrameSideRect(m, side, W, H), window.Canvas().Handle(), active);
  return window.Canvas().Pixel(x, y);
}

class WinSkinForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Skin.PackedSkin = TMemoryStream(test::PackedStoredSkin());
    ASSERT_TRUE(Skin.LoadSkin());
    Form.SetBorderStyle(gui::TFormBorderStyle::bsDialog);
    Form.SetClientSize(483, 436);
    Form.SetCaption("启明映像向导 V1.0");
    Form.Show();
    qmtest::PumpUntilSettled();
  }

  TWinSkinForm* AttachSkinner() {
    auto* skinner = Form.Make<TWinSkinForm>();
    skinner->FHandle = Form.Handle();
    skinner->AttachLibraryForm(&Skin, &Form);
    PostMessageW(Form.Handle(), WM_SKINATTACHED, 0, 1000);
    qmtest::PumpFor(200, [&] { return skinner->Phase() == TWinSkinForm::phReady; });
    qmtest::PumpUntilSettled();
    return skinner;
  }

  TSkinData Skin{nullptr};
  gui::TForm Form{nullptr};
};

TEST_F(WinSkinForm, MainWindowWearsTheSkinsFrameAroundTheSameClientArea) {
  HWND h = Form.Handle();
  const SIZE nativeWindow = WindowSize(h);
  TWinSkinForm* skinner = AttachSkinner();
  ASSERT_EQ(skinner->Phase(), TWinSkinForm::phReady);
  EXPECT_EQ(SendMessageW(h, WM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(skinner->Metrics(), (TFrameMetrics{18, 39, 18, 15}));
  EXPECT_EQ(ClientSize(h).cx, 483);
  EXPECT_EQ(ClientSize(h).cy, 436);
  EXPECT_EQ(WindowSize(h).cx, 519);
  EXPECT_EQ(WindowSize(h).cy, 490);
  EXPECT_EQ(Form.Color(), gui::TColor(Skin.ButtonFaceColour));

  // The region leaves out what the borders key out, and nothing inside.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, region), ERROR);
  gui::TBitmap& top = *Skin.SkinBitmap(Skin.BorderTop->Bitmap);
  const bool cornerKeyed = top.Canvas().Pixel(top.Width() - 1, 0) == RGB(255, 0, 255);
  EXPECT_EQ(PtInRegion(region, 519 - 18 - 1, 0) != 0, !cornerKeyed);
  EXPECT_TRUE(PtInRegion(region, 260, 250));
  EXPECT_TRUE(PtInRegion(region, 260, 20));
  DeleteObject(region);

  // Active and inactive frames, on the window itself.
  for (bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    SendMessageW(h, WM_NCACTIVATE, active, 0);
    qmtest::PumpFor(50);
    EXPECT_EQ(skinner->Active(), active);
    EXPECT_EQ(WindowPixel(h, 5, 245), BorderPixel(Skin, TFrameSide::Left, 519, 490, 5, 245, active));
    EXPECT_EQ(WindowPixel(h, 260, 485), BorderPixel(Skin, TFrameSide::Bottom, 519, 490, 260, 485, active));
    const COLORREF ink =
        gui::ColorToRGB(active ? Skin.TitleTextActiveColour : Skin.TitleTextNoActiveColour);
    const RECT caption = skinner->CaptionRect();
    int inked = 0;
    HDC dc = GetWindowDC(h);
    for (int y = caption.top; y < caption.bottom; ++y)
      for (int x = caption.left; x < caption.right; ++x) inked += GetPixel(dc, x, y) == ink;
    ReleaseDC(h, dc);
    EXPECT_GT(inked, 20);
  }

  // Off again: the native frame, the same client size, no region.
  skinner->Detach();
  qmtest::PumpFor(50);
  EXPECT_EQ(SendMessageW(h, WM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(ClientSize(h).cx, 483);
  EXPECT_EQ(ClientSize(h).cy, 436);
  EXPECT_EQ(WindowSize(h).cx, nativeWindow.cx);
  EXPECT_EQ(WindowSize(h).cy, nativeWindow.cy);
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(Form.Color(), gui::clBtnFace);
  HRGN none = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(h, none), ERROR);
  DeleteObject(none);
}

const TWinSysButton* ButtonWithAction(const TWinSkinForm& skinner, int action) {
  for (const auto& b : skinner.Buttons())
    if (b->FVisible && b->FData.Action == action) return b.get();
  return nullptr;
}

LPARAM ScreenPoint(HWND h, POINT windowPoint) {
  RECT r;
  GetWindowRect(h, &r);
  return MAKELPARAM(r.left + windowPoint.x, r.top + windowPoint.y);
}

TEST_F(WinSkinForm, CaptionButtonsShowTheirStatesAndAct) {
  HWND h = Form.Handle();
  TWinSkinForm* skinner = AttachSkinner();
  // This dialog-bordered form has neither a maximise nor a minimise box.
  const TWinSysButton* close = ButtonWithAction(*skinner, 0);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(ButtonWithAction(*skinner, 1), nullptr);
  EXPECT_EQ(ButtonWithAction(*skinner, 2), nullptr);
  const RECT expected{519 - 25, 6, 519 - 25 + 19, 6 + 17};
  EXPECT_TRUE(EqualRect(&close->FBounds, &expected));

  const struct {
    POINT At;
    LRESULT Hit;
  } hits[] = {{{260, 20}, HTCAPTION}, {{260, 480}, HTMENU}, {{500, 14}, HTCAPTION}};
  for (const auto& t : hits)
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, t.At)), t.Hit) << t.At.x << "," << t.At.y;
  // The top rows are the native frame's (its border), never the caption.
  EXPECT_NE(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, POINT{260, 2})), HTCAPTION);

  // Hot under the mouse, pressed while pressed: the strip's frames 3 and 2
  // at a pixel where the frames differ and are not see-through.
  gui::TBitmap& strip = *Skin.SkinBitmap(close->FData.Bitmap);
  const int fw = strip.Width() / close->FData.Frames();
  POINT probe{-1, -1};
  for (int y = 0; y < strip.Height() && probe.x < 0; ++y)
    for (int x = 0; x < fw && probe.x < 0; ++x) {
      const COLORREF hot = strip.Canvas().Pixel(2 * fw + x, y), pressed = strip.Canvas().Pixel(fw + x, y),
                     normal = strip.Canvas().Pixel(x, y);
      if (hot != RGB(255, 0, 255) && pressed != RGB(255, 0, 255) && hot != normal && pressed != hot) probe = {x, y};
    }
  ASSERT_GE(probe.x, 0);
  const POINT onButton{close->FBounds.left + probe.x, close->FBounds.top + probe.y};
  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, onButton));
  EXPECT_EQ(skinner->HotObject(), close);
  EXPECT_EQ(WindowPixel(h, onButton.x, onButton.y), strip.Canvas().Pixel(2 * fw + probe.x, probe.y));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(h, onButton));
  EXPECT_EQ(WindowPixel(h, onButton.x, onButton.y), strip.Canvas().Pixel(fw + probe.x, probe.y));
  // Released elsewhere: nothing happens; released on the button: it closes.
  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, POINT{260, 20}));
  EXPECT_EQ(skinner->HotObject(), nullptr);
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(h, POINT{260, 20}));
  qmtest::PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(h));
  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, onButton));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(h, onButton));
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(h, onButton));
  qmtest::PumpFor(100, [&] { return !IsWindowVisible(h); });
  EXPECT_FALSE(IsWindowVisible(h));
}

void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST_F(WinSkinForm, RightClickOnTheCaptionOpensTheSystemMenuAndTwoCloseTheWindow) {
  HWND h = Form.Handle();
  TWinSkinForm* skinner = AttachSkinner();
  ASSERT_NE(skinner->SystemPopup(), nullptr);
  // The menu runs its own loop: a timer closes it again.
  static bool opened;
  opened = false;
  skinner->SystemPopup()->OnPopup = [](gui::TPopupMenu&) { opened = true; };
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &EndMenuNow);
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(h, POINT{200, 20}));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(IsWindowVisible(h));
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(h, POINT{200, 20}));
  qmtest::PumpFor(200, [&] { return !IsWindowVisible(h); });
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(WinSkinForm, WindowWithBothBoxesShowsAndUsesThem) {
  gui::TForm sizeable(nullptr);
  sizeable.SetBorderStyle(gui::TFormBorderStyle::bsSizeable);
  sizeable.SetClientSize(300, 200);
  sizeable.Show();
  auto* skinner = sizeable.Make<TWinSkinForm>();
  skinner->FHandle = sizeable.Handle();
  skinner->AttachLibraryForm(&Skin, &sizeable);
  PostMessageW(sizeable.Handle(), WM_SKINATTACHED, 0, 1000);
  qmtest::PumpFor(200, [&] { return skinner->Phase() == TWinSkinForm::phReady; });
  SendMessageW(sizeable.Handle(), WM_NCPAINT, 1, 0);
  const TWinSysButton* maximize = ButtonWithAction(*skinner, 1);
  ASSERT_NE(maximize, nullptr);
  ASSERT_NE(ButtonWithAction(*skinner, 2), nullptr);
  const POINT at{(maximize->FBounds.left + maximize->FBounds.right) / 2, (maximize->FBounds.top + maximize->FBounds.bottom) / 2};
  HWND h = sizeable.Handle();
  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, at));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(h, at));
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(h, at));
  qmtest::PumpFor(300, [&] { return IsZoomed(h) != FALSE; });
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_EQ(skinner->WindowState(), TWinSkinForm::wsMaximized);
  // Maximised, the other button of the pair shows: restore.
  SendMessageW(h, WM_NCPAINT, 1, 0);
  const TWinSysButton* restore = ButtonWithAction(*skinner, 1);
  ASSERT_NE(restore, nullptr);
  EXPECT_NE(restore, maximize);
}

TEST_F(WinSkinForm, HandlersPutOnTheFormAfterTheSkinnerOutliveItsDetachAndItsEnd) {
  // The program's own handler comes after the skinner's, the way any code
  // saves WindowProc and assigns its own.
  TWinSkinForm* skinner = AttachSkinner();
  int seen = 0;
  const gui::TWndMethod saved = Form.WindowProc;
  Form.WindowProc = [&seen, saved](gui::TMessage& m) {
    if (m.Msg == WM_USER + 7) ++seen;
    saved(m);
  };
  skinner->Detach();
  Form.Perform(WM_USER + 7);
  EXPECT_EQ(seen, 1) << "the later handler is still in place";
  skinner->Free();
  Form.Perform(WM_USER + 7);
  EXPECT_EQ(seen, 2);
  Form.WindowProc = saved;  // and taken off in its turn: the form still answers
  SetWindowTextW(Form.Handle(), L"启明");
  EXPECT_EQ(Form.Caption(), "启明");
}

TEST_F(WinSkinForm, SkinningOnAndOffLeavesNoObjectBehind) {
  // Once, both looks painted, so that whatever the system and the layer keep
  // after a first use (the layer's pool of memory DCs, for one) is counted.
  TWinSkinForm* first = AttachSkinner();
  for (int active : {0, 1}) {
    SendMessageW(Form.Handle(), WM_NCACTIVATE, active, 0);
    SendMessageW(Form.Handle(), WM_NCPAINT, 1, 0);
  }
  first->Detach();
  first->Free();
  qmtest::PumpFor(50);
  const int gdi = qmtest::GdiObjectCount(), user = qmtest::UserObjectCount();
  // The counts are exact, so a leak of one object per step shows in full:
  // 10 cycles leave 10 behind, 40 repaints 40, and 10 changes of activation
  // (each makes the border pictures anew, in both looks) 10.
  for (int i = 0; i < 10; ++i) {
    TWinSkinForm* skinner = AttachSkinner();
    // Both looks: a repaint after a change of activation paints anew.
    if (i == 0)
      for (int paint = 0; paint < 40; ++paint) {
        if (paint % 4 == 0) SendMessageW(Form.Handle(), WM_NCACTIVATE, (paint / 4) % 2, 0);
        SendMessageW(Form.Handle(), WM_NCPAINT, 1, 0);
      }
    skinner->Detach();
    skinner->Free();
  }
  qmtest::PumpFor(50);
  EXPECT_EQ(qmtest::GdiObjectCount(), gdi);
  EXPECT_EQ(qmtest::UserObjectCount(), user);
  EXPECT_EQ(ClientSize(Form.Handle()).cx, 483);
  EXPECT_EQ(ClientSize(Form.Handle()).cy, 436);
}

// A message box made by hand: a bare "#32770" window with one button.
class ForeignDialog : public WinSkinForm {
 protected:
  void SetUp() override {
    WinSkinForm::SetUp();
    RECT r{0, 0, ClientWidth, 60};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    Dialog = CreateWindowExW(0, L"#32770", L"启明映像向导", kStyle, 60, 60, r.right - r.left, r.bottom - r.top, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    Button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 4, 20, 30, 24, Dialog,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(Dialog && Button);
  }
  void TearDown() override {
    Skinner.reset();
    DestroyWindow(Dialog);
  }
  void AttachSkinner() {
    Skinner = std::make_unique<TWinSkinForm>(nullptr);
    Skinner->FHandle = Dialog;
    Skinner->Attach(&Skin);
    PostMessageW(Dialog, WM_SKINATTACHED, 0, 1000);
    qmtest::PumpFor(10000, [&] { return Skinner->Phase() == TWinSkinForm::phReady; });
  }
  TSkinControl* ButtonSkinner() const {
    for (TSkinControl* s : Skinner->ControlSkinners())
      if (s->Handle == Button) return s;
    return nullptr;
  }
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  static constexpr int ClientWidth = 40;
  HWND Dialog = nullptr, Button = nullptr;
  std::unique_ptr<TWinSkinForm> Skinner;
};

int CaptionSpaceWidth() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const gui::TGdiHandle<HFONT> font(CreateFontIndirectW(&metrics.lfCaptionFont), true);
  const gui::TWindowDC dc(nullptr);
  const gui::TSelectGuard select(dc.Handle(), font.Get());
  SIZE space{};
  GetTextExtentPoint32W(dc.Handle(), L" ", 1, &space);
  return space.cx;
}

TEST_F(ForeignDialog, IsWidenedForItsCaptionCountedInGb2312Bytes) {
  AttachSkinner();
  ASSERT_EQ(Skinner->Phase(), TWinSkinForm::phReady);
  // Six Chinese characters are twelve bytes: each about two spaces wide.
  const TFrameMetrics& m = Skinner->Metrics();
  const TDataSkinTitle& title = *Skin.Title;
  const int widened = (12 + 7) * CaptionSpaceWidth() + m.BorderLeft + m.BorderRight + title.LeftWidth +
                      title.RightWidth + title.TextBackLeft + title.TextBackRight;
  const int natural = ClientWidth + m.BorderLeft + m.BorderRight;
  ASSERT_GT(widened, natural);
  EXPECT_EQ(WindowSize(Dialog).cx, widened);
  EXPECT_EQ(ClientSize(Dialog).cx, widened - m.BorderLeft - m.BorderRight);
  // The button moved right by half the growth, keeping its size.
  RECT r;
  GetWindowRect(Button, &r);
  MapWindowPoints(nullptr, Dialog, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 4 + (widened - natural) / 2);
  EXPECT_EQ(r.right - r.left, 30);
}

TEST_F(ForeignDialog, ShowsANewCaptionAndLetsGoOfItsHotButtonWhenDeactivated) {
  AttachSkinner();
  ASSERT_EQ(Skinner->Phase(), TWinSkinForm::phReady);
  // The title as the screen shows it, and as a full repaint draws it.
  auto title = [&] {
    const RECT c = Skinner->CaptionRect();
    std::vector<COLORREF> pixels;
    HDC dc = GetWindowDC(Dialog);
    for (int y = c.top; y < c.bottom; ++y)
      for (int x = c.left; x < c.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(Dialog, dc);
    return pixels;
  };
  SendMessageW(Dialog, WM_NCACTIVATE, TRUE, 0);
  const std::vector<COLORREF> before = title();
  SetWindowTextW(Dialog, L"备份");
  qmtest::PumpUntilSettled(5000);
  const std::vector<COLORREF> shown = title();
  SendMessageW(Dialog, WM_SKINPAINTFRAME, 0, 0);
  EXPECT_EQ(shown, title());
  EXPECT_NE(shown, before) << "the title shows the new caption";

  // The mouse over the button makes it hot; deactivation stops the hover
  // timer, so nobody else would tell it the mouse has gone.
  TSkinControl* button = ButtonSkinner();
  ASSERT_NE(button, nullptr);
  SendMessageW(Button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(Skinner->HotButton(), button);
  SendMessageW(Dialog, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(Skinner->HotButton(), nullptr);
  EXPECT_EQ(button->MouseFlags & TSkinControl::mfHot, 0u);
}

// Windows without an icon borrow the first one met; one without an icon
// met first lends nothing.
TEST_F(WinSkinForm, AWindowWithoutAnIconShowsTheFirstSkinnedWindowsIcon) {
  ASSERT_TRUE(Skin.DefaultIcon->Empty());
  const HICON icon = LoadIconW(nullptr, IDI_QUESTION);
  std::vector<HWND> windows;
  std::vector<std::unique_ptr<TWinSkinForm>> skinners;
  for (bool withIcon : {false, true, false}) {
    HWND w = CreateWindowExW(0, L"STATIC", L"图标", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 120, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (withIcon) SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    windows.push_back(w);
    skinners.push_back(std::make_unique<TWinSkinForm>(nullptr));
    skinners.back()->FHandle = w;
    skinners.back()->Attach(&Skin);
    if (windows.size() == 1) {
      EXPECT_TRUE(Skin.DefaultIcon->Empty()) << "no blank square latched";
    }
  }
  auto pixel = [](const gui::TBitmap& b, int x, int y) { return const_cast<gui::TBitmap&>(b).Canvas().Pixel(x, y); };
  const gui::TBitmap& own = skinners[1]->Icon();
  const gui::TBitmap& borrowed = skinners[2]->Icon();
  ASSERT_EQ(borrowed.Width(), own.Width());
  int same = 0, keyed = 0;
  for (int y = 0; y < own.Height(); ++y)
    for (int x = 0; x < own.Width(); ++x) {
      same += pixel(borrowed, x, y) == pixel(own, x, y);
      keyed += pixel(own, x, y) == RGB(255, 0, 255);
    }
  EXPECT_EQ(same, own.Width() * own.Height());
  EXPECT_LT(keyed, own.Width() * own.Height()) << "the icon was drawn";
  skinners.clear();
  for (HWND w : windows) DestroyWindow(w);
}

// Real input from another thread, as a user's hand: the GUI thread is
// inside the system's move loop meanwhile.
void DragWithTheMouse(POINT from, POINT by) {
  auto send = [](DWORD flags) { qmtest::SendMouse(flags); };
  SetCursorPos(from.x, from.y);
  Sleep(100);
  send(MOUSEEVENTF_LEFTDOWN);
  Sleep(100);
  for (int step = 1; step <= 10; ++step) {
    SetCursorPos(from.x + by.x * step / 10, from.y + by.y * step / 10);
    send(MOUSEEVENTF_MOVE);
    Sleep(30);
  }
  send(MOUSEEVENTF_LEFTUP);
}

TEST_F(WinSkinForm, TheMouseDragsTheWindowByItsCaption) {
  HWND h = Form.Handle();
  AttachSkinner();
  SetForegroundWindow(h);
  qmtest::PumpFor(100);
  RECT before;
  GetWindowRect(h, &before);
  std::thread hand(DragWithTheMouse, POINT{before.left + 200, before.top + 20}, POINT{60, 40});
  qmtest::PumpFor(2000, [&] {
    RECT now;
    GetWindowRect(h, &now);
    return now.left == before.left + 60 && now.top == before.top + 40;
  });
  hand.join();
  qmtest::PumpFor(100);
  RECT after;
  GetWindowRect(h, &after);
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 40);
  EXPECT_EQ(WindowSize(h).cx, 519) << "moved, not sized";
}

}  // namespace
}  // namespace qm
