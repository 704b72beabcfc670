// What real Windows does to a frame and Wine does not: themed caption
// paints, native caption buttons, the theme's and the compositor's own
// frames. Each is done here as Windows does it, and the skinned frame must
// show nothing but the skin afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gui/desktop_compositor.h"
#include "gui/subclass.h"
#include "skinned_window.h"

namespace qm {
namespace {

using test::ScreenPoint;
using test::WindowPixel;
using WinSkinForm = test::WinSkinForm;

constexpr COLORREF kNative = RGB(1, 2, 3);

// Stands in for the system's default handling under the skinner: on the
// messages for which Windows paints the native caption straight onto a
// visible window, it paints the caption rows in its own colour (and takes a
// click on a caption button as the system would, without its loop).
struct TNativeCaptionPainter {
  explicit TNativeCaptionPainter(HWND window) {
    Proc.Attach(window, [this, window](UINT msg, WPARAM wParam, LPARAM lParam) {
      const bool button = (msg == WM_NCLBUTTONDOWN || msg == WM_NCMOUSEMOVE) &&
                          (wParam == HTCLOSE || wParam == HTMAXBUTTON || wParam == HTMINBUTTON || wParam == HTSYSMENU);
      const bool paints =
          msg == 0x00AE || msg == 0x00AF || msg == WM_SETTEXT || msg == WM_SETICON || msg == WM_NCACTIVATE || button;
      if (paints && (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE)) {
        ++Painted;
        HDC dc = GetWindowDC(window);
        RECT caption;
        GetWindowRect(window, &caption);
        OffsetRect(&caption, -caption.left, -caption.top);
        caption.bottom = 30;
        HBRUSH native = CreateSolidBrush(kNative);
        FillRect(dc, &caption, native);
        DeleteObject(native);
        ReleaseDC(window, dc);
      }
      return button ? 0 : Proc.CallPrevious(msg, wParam, lParam);
    });
  }
  gui::TWindowSubclass Proc;
  int Painted = 0;
};

// The title rows of the window as it shows them.
std::vector<COLORREF> TitleRows(HWND h, int rows) {
  RECT r;
  GetWindowRect(h, &r);
  std::vector<COLORREF> pixels;
  HDC dc = GetWindowDC(h);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(h, dc);
  return pixels;
}

TEST_F(WinSkinForm, WhatWindowsPaintsNativelyNeverReachesTheSkinnedFrame) {
  HWND h = Form.Handle();
  TNativeCaptionPainter system(h);
  TWinSkinForm* skinner = AttachSkinner();
  const int titleRows = skinner->Frame().Metrics().TitleHeight;
  HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
  const struct {
    const char* Case;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    bool Changes;  // the title must show something new
  } rows[] = {
      {"the themed caption paint", 0x00AE, 0, 0, false},
      {"the themed frame paint", 0x00AF, 0, 0, false},
      {"a new text", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"新标题"), true},
      {"a new icon", WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon), false},
      {"activation", WM_NCACTIVATE, TRUE, 0, false},
      {"a close-button click where no button is", WM_NCLBUTTONDOWN, HTCLOSE, ScreenPoint(h, POINT{200, 20}), false},
      {"the mouse over a maximise button where none is", WM_NCMOUSEMOVE, HTMAXBUTTON, ScreenPoint(h, POINT{200, 20}),
       false},
  };
  // Nothing but the messages sent here changes the title: no mouse over it.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  SetForegroundWindow(h);
  qmtest::PumpFor(1000, [&] { return GetActiveWindow() == h && skinner->Window().Active; });
  qmtest::PumpUntilSettled();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    const std::vector<COLORREF> before = TitleRows(h, titleRows);
    system.Painted = 0;
    SendMessageW(h, r.Msg, r.WParam, r.LParam);
    qmtest::PumpUntilSettled();
    EXPECT_EQ(system.Painted, 0) << "not even for a moment";
    const std::vector<COLORREF> shown = TitleRows(h, titleRows);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), kNative), 0);
    if (r.Changes) {
      EXPECT_TRUE(shown != before);
    }
    // And the skin shows as a whole repaint paints it.
    SendMessageW(h, WM_NCPAINT, 1, 0);
    EXPECT_TRUE(shown == TitleRows(h, titleRows));
  }
  skinner->Detach();
}

// The compositor's window attributes as the window asked for them.
struct TAttributeCall {
  HWND Window;
  DWORD Attribute;
  int Value;
  bool operator==(const TAttributeCall&) const = default;
};
std::vector<TAttributeCall> AttributeCalls;
HRESULT WINAPI RecordAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size) {
  AttributeCalls.push_back({window, attribute, size == sizeof(int) ? *static_cast<const int*>(value) : -1});
  return S_OK;
}

bool Themed(HWND window) {
  HTHEME theme = OpenThemeData(window, L"Button");
  if (theme) CloseThemeData(theme);
  return theme != nullptr;
}

TEST_F(WinSkinForm, NeitherTheThemeNorTheCompositorDrawAFrameWhileTheSkinDoes) {
  HWND h = Form.Handle();
  ASSERT_TRUE(Themed(h)) << "the prefix runs a theme";
  const auto saved = gui::CompositorCalls();
  gui::CompositorCalls().SetWindowAttribute = &RecordAttribute;
  AttributeCalls.clear();
  TWinSkinForm* skinner = AttachSkinner();
  constexpr DWORD kPolicy = 2;  // DWMWA_NCRENDERING_POLICY
  EXPECT_EQ(AttributeCalls, (std::vector<TAttributeCall>{{h, kPolicy, 1}})) << "DWMNCRP_DISABLED";
  EXPECT_FALSE(Themed(h));
  // The frame shows what a whole repaint draws.
  const int rows = skinner->Frame().Metrics().TitleHeight;
  const std::vector<COLORREF> shown = TitleRows(h, rows);
  SendMessageW(h, WM_NCPAINT, 1, 0);
  EXPECT_TRUE(shown == TitleRows(h, rows));
  skinner->Detach();
  ASSERT_FALSE(AttributeCalls.empty());
  EXPECT_EQ(AttributeCalls.back(), (TAttributeCall{h, kPolicy, 0})) << "DWMNCRP_USEWINDOWSTYLE";
  EXPECT_TRUE(Themed(h));
  gui::CompositorCalls() = saved;
}

TEST_F(WinSkinForm, TheTitleIsComposedFromTheSkinNeverReadBackFromTheWindow) {
  HWND h = Form.Handle();
  TWinSkinForm* skinner = AttachSkinner();
  // Pixels under the left border's top rows that are not the skin's: where
  // another window covers them, or a paint was clipped away from them.
  const POINT corner{2, 12};
  HDC dc = GetWindowDC(h);
  SetPixel(dc, corner.x, corner.y, kNative);
  ReleaseDC(h, dc);
  ASSERT_EQ(WindowPixel(h, corner.x, corner.y), kNative);
  RECT window;
  GetWindowRect(h, &window);
  HRGN middle = CreateRectRgn(window.left + 100, window.top, window.right - 100, window.top + 20);
  SendMessageW(h, WM_NCPAINT, reinterpret_cast<WPARAM>(middle), 0);
  const gui::TBitmap& title = skinner->Frame().TitleBuffer();
  ASSERT_FALSE(title.Empty());
  const std::uint8_t* bgr = title.ScanLine(corner.y) + 3 * corner.x;
  EXPECT_EQ(RGB(bgr[2], bgr[1], bgr[0]),
            test::BorderPixel(*Skin.Skin(), TFrameSide::Left, window.right - window.left, window.bottom - window.top, corner.x,
                              corner.y, skinner->Window().Active));
}

}  // namespace
}  // namespace qm
