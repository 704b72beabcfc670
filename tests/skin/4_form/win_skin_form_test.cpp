// The form skinner on real windows: frame size, region, painted frame in
// both activation states, and detaching back to the native frame.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "gui/menus.h"
#include "gui/monitors.h"
#include "gui_objects.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/3_controls/skin_control.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "skinned_window.h"
#include "ui_driver.h"
#include "window_measure.h"

namespace qm {
namespace {

using test::BorderPixel;
using test::ButtonWithAction;
using test::ClientSize;
using test::ScreenPoint;
using test::WindowPixel;
using test::WindowSize;
using WinSkinForm = test::WinSkinForm;

// Closes whatever menu is open once it has shown.
void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

// A window of another program, counting every paint it is asked for.
int othersPainted;
LRESULT CALLBACK OtherProgram(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_PAINT || m == WM_NCPAINT || m == WM_ERASEBKGND) ++othersPainted;
  return DefWindowProcW(w, m, wp, lp);
}

TEST_F(WinSkinForm, MainWindowWearsTheSkinsFrameAroundTheSameClientArea) {
  HWND h = Form.Handle();
  const SIZE nativeWindow = WindowSize(h);
  TWinSkinForm* skinner = AttachSkinner();
  ASSERT_EQ(skinner->Phase(), TWinSkinForm::phReady);
  EXPECT_EQ(SendMessageW(h, WM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(skinner->Frame().Metrics(), (TFrameMetrics{18, 39, 18, 15}));
  EXPECT_EQ(ClientSize(h).cx, 483);
  EXPECT_EQ(ClientSize(h).cy, 436);
  EXPECT_EQ(WindowSize(h).cx, 519);
  EXPECT_EQ(WindowSize(h).cy, 490);
  EXPECT_EQ(Form.Color(), gui::TColor(Skin.Skin()->ButtonFaceColour));

  // The region leaves out what the borders key out, and nothing inside.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, region), ERROR);
  gui::TBitmap& top = *Skin.Skin()->SkinBitmap(Skin.Skin()->BorderTop->Bitmap);
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
    EXPECT_EQ(skinner->Window().Active, active);
    EXPECT_EQ(WindowPixel(h, 5, 245), BorderPixel(*Skin.Skin(), TFrameSide::Left, 519, 490, 5, 245, active));
    EXPECT_EQ(WindowPixel(h, 260, 485), BorderPixel(*Skin.Skin(), TFrameSide::Bottom, 519, 490, 260, 485, active));
    const COLORREF ink =
        gui::ColorToRGB(active ? Skin.Skin()->TitleTextActiveColour : Skin.Skin()->TitleTextNoActiveColour);
    const RECT caption = skinner->Frame().CaptionRect();
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

  auto hit = [&](POINT p) { return static_cast<WPARAM>(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, p))); };

  // Hot under the mouse, pressed while pressed: the strip's frames 3 and 2
  // at a pixel where the frames differ and are not see-through.
  gui::TBitmap& strip = *Skin.Skin()->SkinBitmap(close->FData.Bitmap);
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
  SendMessageW(h, WM_NCMOUSEMOVE, hit(onButton), ScreenPoint(h, onButton));
  EXPECT_EQ(skinner->CaptionButtons().HotObject(), close);
  EXPECT_EQ(WindowPixel(h, onButton.x, onButton.y), strip.Canvas().Pixel(2 * fw + probe.x, probe.y));
  SendMessageW(h, WM_NCLBUTTONDOWN, hit(onButton), ScreenPoint(h, onButton));
  EXPECT_EQ(WindowPixel(h, onButton.x, onButton.y), strip.Canvas().Pixel(fw + probe.x, probe.y));
  // Released elsewhere: nothing happens; released on the button: it closes.
  SendMessageW(h, WM_NCMOUSEMOVE, hit(POINT{260, 20}), ScreenPoint(h, POINT{260, 20}));
  EXPECT_EQ(skinner->CaptionButtons().HotObject(), nullptr);
  SendMessageW(h, WM_NCLBUTTONUP, hit(POINT{260, 20}), ScreenPoint(h, POINT{260, 20}));
  qmtest::PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(h));
  SendMessageW(h, WM_NCMOUSEMOVE, hit(onButton), ScreenPoint(h, onButton));
  SendMessageW(h, WM_NCLBUTTONDOWN, hit(onButton), ScreenPoint(h, onButton));
  SendMessageW(h, WM_NCLBUTTONUP, hit(onButton), ScreenPoint(h, onButton));
  qmtest::PumpFor(100, [&] { return !IsWindowVisible(h); });
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(WinSkinForm, RightClickOnTheCaptionOpensTheSystemMenuAndTwoCloseTheWindow) {
  HWND h = Form.Handle();
  TWinSkinForm* skinner = AttachSkinner();
  ASSERT_NE(skinner->SystemMenu().Popup(), nullptr);
  // The menu runs its own loop: a timer closes it again.
  static bool opened;
  opened = false;
  skinner->SystemMenu().Popup()->OnPopup = [](gui::TPopupMenu&) { opened = true; };
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &qmtest::EndMenuNow);
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(h, POINT{200, 20}));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(IsWindowVisible(h));
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(h, POINT{200, 20}));
  qmtest::PumpFor(200, [&] { return !IsWindowVisible(h); });
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(WinSkinForm, ASizeableWindowNamesWhatIsUnderTheMouseAndUsesItsBoxes) {
  gui::TForm sizeable(nullptr);
  sizeable.SetBorderStyle(gui::TFormBorderStyle::bsSizeable);
  sizeable.SetClientSize(300, 200);
  sizeable.Show();
  TWinSkinForm* skinner = AttachSkinner(sizeable);
  HWND h = sizeable.Handle();
  SendMessageW(h, WM_NCPAINT, 1, 0);
  const TWinSysButton* maximize = ButtonWithAction(*skinner, 1);
  const TWinSysButton* minimize = ButtonWithAction(*skinner, 2);
  const TWinSysButton* close = ButtonWithAction(*skinner, 0);
  ASSERT_TRUE(maximize && minimize && close);
  auto middle = [](const TWinSysButton* b) {
    return POINT{(b->FBounds.left + b->FBounds.right) / 2, (b->FBounds.top + b->FBounds.bottom) / 2};
  };
  auto hit = [&](POINT p) { return static_cast<WPARAM>(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, p))); };
  const int W = test::WindowSize(h).cx, H = test::WindowSize(h).cy;
  ASSERT_GT(close->FBounds.right, W - skinner->Frame().Metrics().BorderRight) << "the close button reaches over the border";
  const struct {
    const char* Case;
    POINT At;
    LRESULT Hit;
  } rows[] = {
      {"close", middle(close), HTCLOSE},
      {"close, where it lies over the right border", {close->FBounds.right - 2, middle(close).y}, HTCLOSE},
      {"maximise", middle(maximize), HTMAXBUTTON},
      {"minimise", middle(minimize), HTMINBUTTON},
      {"the title", {W / 2, 20}, HTCAPTION},
      {"the title's top rows", {W / 2, 1}, HTTOP},
      {"the left border", {4, H / 2}, HTLEFT},
      {"the right border", {W - 4, H / 2}, HTRIGHT},
      {"the bottom border", {W / 2, H - 4}, HTBOTTOM},
      {"the top left corner", {2, 2}, HTTOPLEFT},
      {"the bottom left corner", {2, H - 3}, HTBOTTOMLEFT},
      {"the bottom right corner", {W - 3, H - 3}, HTBOTTOMRIGHT},
      {"the client", {W / 2, H / 2}, HTCLIENT},
  };
  for (const auto& r : rows) EXPECT_EQ(hit(r.At), static_cast<WPARAM>(r.Hit)) << r.Case;

  // The window itself still answers its buttons' hover, press and release.
  const POINT at = middle(maximize);
  for (UINT msg : {WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP}) SendMessageW(h, msg, hit(at), ScreenPoint(h, at));
  qmtest::PumpFor(300, [&] { return IsZoomed(h) != FALSE; });
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_EQ(skinner->Window().State, TWinSkinForm::wsMaximized);
  // Maximised, the other button of the pair shows (restore), the top rows
  // are the title that drags the window down again, and nothing sizes.
  SendMessageW(h, WM_NCPAINT, 1, 0);
  const TWinSysButton* restore = ButtonWithAction(*skinner, 1);
  ASSERT_NE(restore, nullptr);
  EXPECT_NE(restore, maximize);
  const int MW = test::WindowSize(h).cx, MH = test::WindowSize(h).cy;
  EXPECT_EQ(hit(POINT{MW / 2, 1}), static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(hit(POINT{4, MH / 2}), static_cast<WPARAM>(HTBORDER));
}

TEST_F(WinSkinForm, AltSpaceOpensTheSkinnedSystemMenuWithWhatTheWindowAllows) {
  gui::TForm sizeable(nullptr);
  sizeable.SetBorderStyle(gui::TFormBorderStyle::bsSizeable);
  sizeable.SetClientSize(300, 200);
  sizeable.Show();
  const struct {
    const char* Case;
    gui::TForm* Window;
    std::vector<std::string> Items;
  } rows[] = {
      {"a dialog", &Form, {" Restore ", " Move ", "-", " Close \tAlt+F4"}},
      {"a sizeable window", &sizeable,
       {" Restore ", " Move ", " Size ", " Maximize ", " Minimize ", "-", " Close \tAlt+F4"}},
  };
  static std::vector<std::string> shown;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    TWinSkinForm* skinner = AttachSkinner(*r.Window);
    HWND h = r.Window->Handle();
    SetForegroundWindow(h);
    qmtest::PumpFor(1000, [&] { return GetForegroundWindow() == h; });
    // The display's own news of the focus comes late and resets the keys
    // it knows to be up: it must be in before the keys go down.
    qmtest::PumpUntilSettled();
    shown.clear();
    skinner->SystemMenu().Popup()->OnPopup = [](gui::TPopupMenu& menu) {
      for (int i = 0; i < menu.Items().Count(); ++i) {
        const gui::TMenuItem* item = menu.Items().Items(i);
        const WORD keys = item->ShortCut();
        std::string text = item->Caption();
        if (keys) text.append("\t").append(gui::ShortCutToText(keys));
        shown.push_back(text);
      }
      SetTimer(nullptr, 0, 100, &EndMenuLater);
    };
    std::atomic<bool> opened{false};
    std::thread hand([&] {
      const std::pair<WORD, bool> keys[] = {{VK_MENU, false}, {VK_SPACE, false}, {VK_SPACE, true}, {VK_MENU, true}};
      for (const auto& [key, up] : keys) {
        qmtest::SendKey(key, up);
        Sleep(30);
      }
      // Any other menu that came up instead is closed again.
      for (int i = 0; i < 200 && !opened; ++i) Sleep(10);
      for (int i = 0; i < 3 && !opened; ++i) qmtest::SendKey(VK_ESCAPE, false), qmtest::SendKey(VK_ESCAPE, true), Sleep(100);
    });
    qmtest::PumpFor(3000, [&] { return opened = !shown.empty(); });
    hand.join();
    qmtest::PumpUntilSettled();
    EXPECT_EQ(shown, r.Items);
    EXPECT_TRUE(IsWindowVisible(h)) << "a key is no double click";
    skinner->Detach();
    skinner->Free();
  }
}

TEST_F(WinSkinForm, AMaximisedWindowFillsTheWorkAreaOfItsOwnMonitor) {
  gui::TForm sizeable(nullptr);
  sizeable.SetBorderStyle(gui::TFormBorderStyle::bsSizeable);
  sizeable.SetClientSize(300, 200);
  sizeable.Show();
  AttachSkinner(sizeable);
  HWND h = sizeable.Handle();
  // Monitors the machine lacks, stood beside the primary one.
  const struct {
    const char* Case;
    gui::TMonitorArea Area;
    POINT Position, Size;
  } rows[] = {
      {"right of the primary", {{1024, 0, 2304, 1024}, {1024, 0, 2304, 984}}, {0, 0}, {1280, 984}},
      {"with the task bar at its left", {{1024, 0, 2304, 1024}, {1084, 0, 2304, 1024}}, {60, 0}, {1220, 1024}},
      {"above the primary, bar at its top", {{0, -900, 1440, 0}, {0, -860, 1440, 0}}, {0, 40}, {1440, 860}},
  };
  for (const auto& r : rows) {
    gui::MonitorAreaOverride() = [&](HWND) { return r.Area; };
    MINMAXINFO info{};
    SendMessageW(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxPosition.x, r.Position.x) << r.Case;
    EXPECT_EQ(info.ptMaxPosition.y, r.Position.y) << r.Case;
    EXPECT_EQ(info.ptMaxSize.x, r.Size.x) << r.Case;
    EXPECT_EQ(info.ptMaxSize.y, r.Size.y) << r.Case;
    EXPECT_GE(info.ptMaxTrackSize.x, r.Size.x) << r.Case;
    EXPECT_GE(info.ptMaxTrackSize.y, r.Size.y) << r.Case;
  }
  gui::MonitorAreaOverride() = nullptr;
  // On the one real monitor: title and buttons on it, nothing beyond it.
  ShowWindow(h, SW_MAXIMIZE);
  qmtest::PumpFor(500, [&] { return IsZoomed(h) != FALSE; });
  RECT work{}, window{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(h, &window);
  EXPECT_TRUE(EqualRect(&window, &work)) << window.left << "," << window.top << "," << window.right << ","
                                         << window.bottom;
}

TEST_F(WinSkinForm, ANewCaptionFontIsTakenWhenTheSystemSaysSo) {
  HWND h = Form.Handle();
  TWinSkinForm* skinner = AttachSkinner();
  NONCLIENTMETRICSW saved{};
  saved.cbSize = sizeof saved;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
  struct TPutBack {
    NONCLIENTMETRICSW Metrics;
    ~TPutBack() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0); }
  } putBack{saved};
  const RECT before = skinner->Frame().CaptionRect();
  NONCLIENTMETRICSW bigger = saved;
  bigger.lfCaptionFont.lfHeight = -24;
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof bigger, &bigger, 0));
  SendMessageW(h, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, reinterpret_cast<LPARAM>(L"WindowMetrics"));
  qmtest::PumpUntilSettled();
  const RECT after = skinner->Frame().CaptionRect();
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
  EXPECT_NE(after.top, before.top) << "the text moved within the title";
}

TEST_F(WinSkinForm, RefittingNeitherActivatesTheWindowNorRepaintsOthers) {
  // A window of another program over the skinned window's corner, which the
  // region cut uncovers, and one in front of the rest.
  WNDCLASSW wc{};
  wc.lpfnWndProc = &OtherProgram;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmOtherProgram";
  RegisterClassW(&wc);
  RECT r;
  GetWindowRect(Form.Handle(), &r);
  HWND over = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP,
                              r.left - 20, r.top - 20, 60, 60, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(over, SW_SHOWNOACTIVATE);
  gui::TForm front(nullptr);
  front.SetClientSize(100, 80);
  front.Show();
  SetForegroundWindow(front.Handle());
  qmtest::PumpFor(300, [&] { return GetActiveWindow() == front.Handle(); });
  ASSERT_EQ(GetActiveWindow(), front.Handle());
  qmtest::PumpUntilSettled();
  othersPainted = 0;
  TWinSkinForm* skinner = AttachSkinner();
  skinner->ApplySkin();
  qmtest::PumpUntilSettled();
  EXPECT_EQ(othersPainted, 0);
  EXPECT_EQ(GetActiveWindow(), front.Handle());
  DestroyWindow(over);
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
    for (TSkinControl* s : Skinner->Controls().ControlSkinners())
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
  const TFrameMetrics& m = Skinner->Frame().Metrics();
  const TDataSkinTitle& title = *Skin.Skin()->Title;
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

// Dragged to a monitor of 200 % and back, as Windows 10 moves a window: it
// asks the size first, then tells the scale with the rectangle it made of
// the answer. A window that does not lay itself out keeps its client,
// grown, under the skin's frame at the new scale; its controls paint from
// the skin at that scale; nothing is left behind by many moves.
TEST_F(ForeignDialog, MovedBetweenScalesTakesTheSkinAtEachWithoutGrowth) {
  AttachSkinner();
  ASSERT_EQ(Skinner->Phase(), TWinSkinForm::phReady);
  const SIZE client = ClientSize(Dialog);
  auto move = [&](int dpi) {
    SIZE size{};
    EXPECT_EQ(SendMessageW(Dialog, kGetDpiScaledSize, static_cast<WPARAM>(dpi), reinterpret_cast<LPARAM>(&size)), TRUE);
    RECT r;
    GetWindowRect(Dialog, &r);
    RECT suggested{r.left, r.top, r.left + size.cx, r.top + size.cy};
    SendMessageW(Dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(WindowSize(Dialog).cx, size.cx) << dpi;
    EXPECT_EQ(WindowSize(Dialog).cy, size.cy) << dpi;
  };
  auto expectAt = [&](int dpi, TFrameMetrics frame) {
    EXPECT_EQ(Skinner->Dpi(), dpi);
    EXPECT_EQ(Skinner->Frame().Metrics(), frame) << dpi;
    EXPECT_EQ(ClientSize(Dialog).cx, gui::ScaleForDpi(client.cx, dpi)) << dpi;
    EXPECT_EQ(ClientSize(Dialog).cy, gui::ScaleForDpi(client.cy, dpi)) << dpi;
    ASSERT_NE(ButtonSkinner(), nullptr);
    EXPECT_EQ(ButtonSkinner()->Skin->Dpi, dpi);
    // The region is cut from the frame at the new size.
    RECT box{};
    EXPECT_NE(GetWindowRgnBox(Dialog, &box), ERROR);
    EXPECT_EQ(box.right - box.left, WindowSize(Dialog).cx) << dpi;
    EXPECT_EQ(box.bottom - box.top, WindowSize(Dialog).cy) << dpi;
  };
  move(192);
  expectAt(192, TFrameMetrics{36, 78, 36, 30});
  move(96);
  expectAt(96, TFrameMetrics{18, 39, 18, 15});
  qmtest::PumpUntilSettled();
  const int gdi = qmtest::GdiObjectCount(), user = qmtest::UserObjectCount();
  for (int i = 0; i < 25; ++i) {
    move(192);
    move(96);
  }
  qmtest::PumpUntilSettled();
  EXPECT_LE(qmtest::GdiObjectCount(), gdi);
  EXPECT_LE(qmtest::UserObjectCount(), user);
  expectAt(96, TFrameMetrics{18, 39, 18, 15});
}

// Moved to another monitor between being taken over and being fitted: it
// is fitted to the frame at the new scale, not to the one it was built with.
TEST_F(ForeignDialog, AScaleChangeBeforeTheAttachFinishesIsFittedAtTheNewScale) {
  Skinner = std::make_unique<TWinSkinForm>(nullptr);
  Skinner->FHandle = Dialog;
  ASSERT_TRUE(Skinner->Attach(&Skin));
  ASSERT_EQ(Skinner->Phase(), TWinSkinForm::phAttaching);
  RECT r;
  GetWindowRect(Dialog, &r);
  RECT suggested{r.left, r.top, r.left + 2 * (r.right - r.left), r.top + 2 * (r.bottom - r.top)};
  SendMessageW(Dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  PostMessageW(Dialog, WM_SKINATTACHED, 0, 1000);
  qmtest::PumpFor(10000, [&] { return Skinner->Phase() == TWinSkinForm::phReady; });
  ASSERT_EQ(Skinner->Phase(), TWinSkinForm::phReady);
  EXPECT_EQ(Skinner->Frame().Metrics(), (TFrameMetrics{36, 78, 36, 30}));
  const SIZE client = ClientSize(Dialog), window = WindowSize(Dialog);
  EXPECT_EQ(window.cx, client.cx + 72);
  EXPECT_EQ(window.cy, client.cy + 108);
}

TEST_F(ForeignDialog, ShowsANewCaptionAndLetsGoOfItsHotButtonWhenDeactivated) {
  AttachSkinner();
  ASSERT_EQ(Skinner->Phase(), TWinSkinForm::phReady);
  // The title as the screen shows it, and as a full repaint draws it.
  auto title = [&] {
    const RECT c = Skinner->Frame().CaptionRect();
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
  ASSERT_EQ(Skinner->Controls().HotButton(), button);
  SendMessageW(Dialog, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(Skinner->Controls().HotButton(), nullptr);
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
  const gui::TBitmap& own = skinners[1]->CaptionButtons().Icon();
  const gui::TBitmap& borrowed = skinners[2]->CaptionButtons().Icon();
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
