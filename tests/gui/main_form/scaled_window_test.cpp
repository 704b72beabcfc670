// The program's window on displays of 125 %, 150 % and 200 %. CTest runs
// this program once per scale, each time in a Wine prefix set to that scale;
// the rows below say what the window must be at each.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "gui/dpi.h"
#include "gui_objects.h"
#include "main_form.h"
#include "settled_paint.h"
#include "ui_driver.h"

using namespace qmtest;

namespace {

struct TScaleRow {
  int Dpi;
  SIZE Client;     // 483 x 436 at 96 DPI, as Windows rounds it
  int FontHeight;  // the form's -12
};

const TScaleRow kRows[] = {
    {120, {604, 545}, -15},
    {144, {725, 654}, -18},
    {192, {966, 872}, -24},
};

const TScaleRow* RowForThisDisplay() {
  for (const TScaleRow& row : kRows)
    if (row.Dpi == gui::SystemDpi()) return &row;
  return nullptr;
}

int FontHeightOf(HWND window) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight;
}

// A control's window in its parent's client coordinates.
RECT PlaceInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class ScaledWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // What the program's manifest declares, for a process started without it.
    gui::MakeProcessDpiAware();
  }
  void SetUp() override {
    Row = RowForThisDisplay();
    ASSERT_NE(Row, nullptr) << "no row for a display of " << gui::SystemDpi()
                            << " DPI: run this test in a prefix of 120, 144 or 192 DPI";
    gui::Application().Title = "启明映像向导";
    const std::string folder = Utf8(MakeTempFolder(L"scaled"));
    // Never shown, so never scaled: the layout as the form stores it.
    Design = std::make_unique<qm::TMainForm>(nullptr, folder);
    Form = std::make_unique<qm::TMainForm>(nullptr, folder);
    gui::Application().SetMainForm(Form.get());
    Form->Timer1->SetInterval(0x7FFFFFFF);
    Form->Show();
    PumpUntilSettled(5000);
  }
  void TearDown() override {
    Form.reset();
    Design.reset();
  }
  HWND Window() { return Form->Handle(); }
  SIZE ClientSize() {
    RECT r;
    GetClientRect(Window(), &r);
    return SIZE{r.right, r.bottom};
  }

  // Every windowed control sits on its parent where the stored layout's
  // edges, scaled, put it. The sheets fill what the tabs leave, and a combo
  // box's closed height is its font's.
  void ExpectControlsAtScaledPlaces(int dpi) {
    int compared = 0;
    for (int i = 0; i < Design->ComponentCount(); ++i) {
      auto* stored = dynamic_cast<gui::TWinControl*>(Design->Components(i));
      if (!stored || stored->Name.empty() || dynamic_cast<gui::TTabSheet*>(stored)) continue;
      auto* shown = dynamic_cast<gui::TWinControl*>(Form->FindComponent(stored->Name));
      ASSERT_NE(shown, nullptr) << stored->Name;
      ++compared;
      const RECT want = stored->BoundsRect();
      const RECT got = PlaceInParent(shown->Handle());
      EXPECT_EQ(got.left, gui::ScaleForDpi(want.left, dpi)) << shown->Name;
      EXPECT_EQ(got.top, gui::ScaleForDpi(want.top, dpi)) << shown->Name;
      EXPECT_EQ(got.right, gui::ScaleForDpi(want.right, dpi)) << shown->Name;
      if (!dynamic_cast<gui::TComboBox*>(shown)) {
        EXPECT_EQ(got.bottom, gui::ScaleForDpi(want.bottom, dpi)) << shown->Name;
      }
    }
    EXPECT_GT(compared, 30);
  }
  void ExpectLaidOutAt(const TScaleRow& row) {
    const SIZE client = ClientSize();
    EXPECT_NEAR(client.cx, row.Client.cx, 1);
    EXPECT_NEAR(client.cy, row.Client.cy, 1);
    ExpectControlsAtScaledPlaces(row.Dpi);
    EXPECT_EQ(FontHeightOf(Form->RunButton->Handle()), row.FontHeight);
    EXPECT_EQ(FontHeightOf(Form->YinPanComboBox1->Handle()), row.FontHeight);
    // The tabs grew with the font: the sheet starts below them.
    const RECT sheet = PlaceInParent(Form->TabSheet1->Handle()), display = Form->PageControl1->DisplayRect();
    EXPECT_EQ(sheet.top, display.top);
    EXPECT_EQ(sheet.bottom, display.bottom);
  }
  // What the system sends when the window is dragged to a monitor of dpi:
  // the window's rectangle scaled about its top left.
  void MoveToScale(int dpi, int from) {
    RECT r;
    GetWindowRect(Window(), &r);
    RECT suggested{r.left, r.top, r.left + gui::RescaleDpi(r.right - r.left, dpi, from),
                   r.top + gui::RescaleDpi(r.bottom - r.top, dpi, from)};
    SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }

  const TScaleRow* Row = nullptr;
  std::unique_ptr<qm::TMainForm> Design, Form;
};

TEST_F(ScaledWindow, OpensWithItsStoredLayoutScaledToTheDisplay) {
  EXPECT_EQ(gui::WindowDpi(Window()), Row->Dpi);
  EXPECT_EQ(Form->CurrentDpi(), Row->Dpi);
  ExpectLaidOutAt(*Row);
  // The text itself grows: the caption font's cell is taller than at 96 DPI.
  HDC dc = GetDC(Form->RunButton->Handle());
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Form->RunButton->Handle(), WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(Form->RunButton->Handle(), dc);
  EXPECT_GE(metrics.tmHeight, gui::ScaleForDpi(12, Row->Dpi));
}

// The scrolling banner fills its scaled strip, in text of the scaled size.
TEST_F(ScaledWindow, BannerFillsTheScaledStripWithScaledText) {
  SendMessageW(Form->Timer1->Window(), WM_TIMER, 1, 0);
  gui::TBitmap& strip = Form->drawImage->Picture();
  // The image's edges at 1 and 482, 1 and 30, scaled.
  EXPECT_EQ(strip.Width(), gui::ScaleForDpi(482, Row->Dpi) - gui::ScaleForDpi(1, Row->Dpi));
  EXPECT_EQ(strip.Height(), gui::ScaleForDpi(30, Row->Dpi) - gui::ScaleForDpi(1, Row->Dpi));
  EXPECT_EQ(Form->Model().BannerWidth, Form->drawLabel->Width());
  EXPECT_EQ(Form->drawLabel->Font().Height(), gui::ScaleForDpi(-16, Row->Dpi));
  // Green rows: the text's height in the strip.
  Form->Model().BannerX = 0;
  SendMessageW(Form->Timer1->Window(), WM_TIMER, 1, 0);
  int top = strip.Height(), bottom = -1;
  for (int y = 0; y < strip.Height(); ++y)
    for (int x = 0; x < strip.Width(); ++x) {
      const std::uint8_t* p = strip.ScanLine(y) + 3 * x;
      if (p[1] > 128 && p[0] < 100 && p[2] < 100) top = std::min(top, y), bottom = std::max(bottom, y);
    }
  ASSERT_GE(bottom, top);
  EXPECT_GE(bottom - top + 1, gui::ScaleForDpi(12, Row->Dpi));
  EXPECT_LT(bottom, strip.Height());
}

// Back and forth between two monitors: the layout comes back exactly each
// time (no rounding creeps in) and no font or other object is left behind.
TEST_F(ScaledWindow, MovingBetweenScalesLaysItOutAgainWithoutGrowth) {
  MoveToScale(96, Row->Dpi);
  EXPECT_NEAR(ClientSize().cx, 483, 1);
  ExpectControlsAtScaledPlaces(96);
  EXPECT_EQ(FontHeightOf(Form->RunButton->Handle()), -12);
  MoveToScale(Row->Dpi, 96);
  PumpUntilSettled(5000);
  const int gdi = GdiObjectCount(), user = UserObjectCount();
  for (int i = 0; i < 25; ++i) {
    MoveToScale(96, Row->Dpi);
    MoveToScale(Row->Dpi, 96);
  }
  PumpUntilSettled(5000);
  EXPECT_LE(GdiObjectCount(), gdi);
  EXPECT_LE(UserObjectCount(), user);
  ExpectLaidOutAt(*Row);
  // Drawn once at the end of each move, and then whole. The banner's strip
  // scrolls by itself.
  const TPaintDifference d =
      StaleAgainstFullRepaint(Window(), {RectInWindow(Form->drawImage->Parent()->Handle(), Window())});
  EXPECT_EQ(d.Count, 0) << d.Describe();
}

}  // namespace
