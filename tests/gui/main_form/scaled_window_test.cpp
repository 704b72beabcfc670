// The program's window on displays of 125 %, 150 % and 200 %. CTest runs
// this program once per scale, each time in a Wine prefix set to that scale;
// the rows below say what the window must be at each. The window wears its
// stored skin: the frame, caption buttons and title are the skin's, scaled.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "gui/dpi.h"
#include "gui_objects.h"
#include "main_form.h"
#include "settled_paint.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_scale.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
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

qm::TWinSkinForm* SkinnerOf(HWND window) {
  return qm::TSkinManage::Instance() ? qm::TSkinManage::Instance()->FindFormSkinner(window) : nullptr;
}

bool SkinReady(HWND window) {
  const qm::TWinSkinForm* s = SkinnerOf(window);
  return s && s->Phase() == qm::TWinSkinForm::phReady;
}

const qm::TWinSysButton* CloseButton(const qm::TWinSkinForm& skinner) {
  for (const auto& b : skinner.CaptionButtons().Buttons())
    if (b->FVisible && b->FData.Action == qm::button_action::kClose) return b.get();
  return nullptr;
}

// A colour on screen (0xRRGGBB) that is the key colour, or a blend of it
// with a neighbour: a pink fringe has red and blue well above its green.
bool Magenta(DWORD c) {
  const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  return r >= 128 && b >= 128 && r - g >= 64 && b - g >= 64;
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
    // Skinned a moment after its first activation.
    PumpFor(5000, [&] { return SkinReady(Window()); });
    ASSERT_TRUE(SkinReady(Window()));
    PumpUntilSettled(5000);
  }
  void TearDown() override {
    Form.reset();
    Design.reset();
    qm::TSkinManage::Free();
    PumpFor(20);
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
  // The stored skin's frame, 18/39/18/15, its close button and its title at
  // the scale, and the window exactly its client and that frame.
  void ExpectSkinnedAt(int dpi) {
    const qm::TWinSkinForm* skinner = SkinnerOf(Window());
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->Dpi(), dpi);
    const qm::TSkinMargins frame = qm::ScaleSkinMargins({18, 39, 18, 15}, dpi);
    EXPECT_EQ(skinner->Frame().Metrics(), (qm::TFrameMetrics{frame.Left, frame.Top, frame.Right, frame.Bottom}));
    RECT window;
    GetWindowRect(Window(), &window);
    const int width = window.right - window.left;
    EXPECT_EQ(width, ClientSize().cx + frame.Left + frame.Right);
    EXPECT_EQ(window.bottom - window.top, ClientSize().cy + frame.Top + frame.Bottom);
    // 25 pixels from the right edge and 6 from the top, 19 x 17, at 96 DPI.
    const qm::TWinSysButton* close = CloseButton(*skinner);
    ASSERT_NE(close, nullptr);
    const int left = width - qm::ScaleSkinLength(25, dpi), top = qm::ScaleSkinLength(6, dpi);
    EXPECT_EQ(close->FBounds.left, left);
    EXPECT_EQ(close->FBounds.top, top);
    EXPECT_EQ(close->FBounds.right - left, qm::ScaleSkinLength(19, dpi));
    EXPECT_EQ(close->FBounds.bottom - top, qm::ScaleSkinLength(17, dpi));
  }

  // Rows of the title on screen that carry the active title colour: the
  // caption text's height in pixels.
  int CaptionInkHeight() {
    const qm::TWinSkinForm* skinner = SkinnerOf(Window());
    const RECT caption = skinner->Frame().CaptionRect();
    const COLORREF ink = gui::ColorToRGB(skinner->Skin()->TitleTextActiveColour);
    const DWORD want = GetRValue(ink) << 16 | GetGValue(ink) << 8 | GetBValue(ink);
    const TScreenPixels shown = ScreenPixels(Window());
    int top = -1, bottom = -1;
    for (int y = std::max<int>(caption.top, 0); y < std::min<int>(caption.bottom, shown.Height); ++y)
      for (int x = std::max<int>(caption.left, 0); x < std::min<int>(caption.right, shown.Width); ++x)
        if (shown.At(x, y) == want) {
          if (top < 0) top = y;
          bottom = y;
        }
    return top < 0 ? 0 : bottom - top + 1;
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

// The skin grows with the display: its frame and buttons sit at their
// scaled places, the title is written in the scaled caption font, and no
// pixel of the key colour, or of a blend with it, reaches the screen.
TEST_F(ScaledWindow, WearsTheStoredSkinScaledWithoutAPinkPixel) {
  ExpectSkinnedAt(Row->Dpi);
  // Chinese characters of the 96-DPI caption font are about 12 pixels tall.
  EXPECT_GE(CaptionInkHeight(), gui::ScaleForDpi(10, Row->Dpi));
  const TScreenPixels shown = SettledPixels(Window(), {RectInWindow(Form->drawImage->Parent()->Handle(), Window())});
  int pink = 0;
  POINT first{-1, -1};
  for (int y = 0; y < shown.Height; ++y)
    for (int x = 0; x < shown.Width; ++x)
      if (Magenta(shown.At(x, y)) && pink++ == 0) first = POINT{x, y};
  EXPECT_EQ(pink, 0) << "first at " << first.x << "," << first.y;
  // What settled is what a full repaint draws.
  const TPaintDifference d =
      StaleAgainstFullRepaint(Window(), {RectInWindow(Form->drawImage->Parent()->Handle(), Window())});
  EXPECT_EQ(d.Count, 0) << d.Describe();
}

// The close button, clicked where it shows at the scale, closes the window.
TEST_F(ScaledWindow, TheScaledCloseButtonClosesTheWindow) {
  const qm::TWinSysButton* close = CloseButton(*SkinnerOf(Window()));
  ASSERT_NE(close, nullptr);
  RECT window;
  GetWindowRect(Window(), &window);
  // Its middle, and a pixel inside its scaled bottom right corner, which an
  // unscaled button would not reach.
  const POINT corner{window.left + close->FBounds.right - 2, window.top + close->FBounds.bottom - 2};
  EXPECT_EQ(SendMessageW(Window(), WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTCLOSE);
  gui::Application().Reset();
  ClickAt(POINT{window.left + (close->FBounds.left + close->FBounds.right) / 2,
                window.top + (close->FBounds.top + close->FBounds.bottom) / 2});
  PumpFor(3000, [] { return gui::Application().Terminated(); });
  EXPECT_TRUE(gui::Application().Terminated());
  gui::Application().Reset();
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
  ExpectSkinnedAt(96);
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
  ExpectSkinnedAt(Row->Dpi);
  // Drawn once at the end of each move, and then whole. The banner's strip
  // scrolls by itself.
  const TPaintDifference d =
      StaleAgainstFullRepaint(Window(), {RectInWindow(Form->drawImage->Parent()->Handle(), Window())});
  EXPECT_EQ(d.Count, 0) << d.Describe();
}

}  // namespace
