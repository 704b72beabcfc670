// What the program's windows show once they have settled is what a full
// repaint of them draws: the skinned main window after its start (also on a
// busy machine), a page switch, a skin switch, skinning off and on and a
// dialog closing over it; message boxes, the skinned Save dialog at every
// opening and the help viewer. The banner's strip scrolls by itself and is
// left out. Dialogs also fit their frame, and only a window its frame sizes
// shows a size grip.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "html_help.h"
#include "main_form.h"
#include "settled_paint.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_frame.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"

using namespace qmtest;

namespace {

qm::TWinSkinForm* SkinnerOf(HWND window) {
  return qm::FormSkinnerHost() ? qm::FormSkinnerHost()->FindFormSkinner(window) : nullptr;
}

bool Ready(HWND window) {
  qm::TWinSkinForm* s = SkinnerOf(window);
  return s && s->Phase() == qm::TWinSkinForm::phReady;
}

bool WaitReady(HWND window) {
  PumpFor(5000, [&] { return Ready(window); });
  return Ready(window);
}

void ExpectSettledAsRepainted(HWND window, const std::string& when, const std::vector<RECT>& masks = {}) {
  const TPaintDifference d = StaleAgainstFullRepaint(window, masks);
  EXPECT_EQ(d.Count, 0) << when << ": " << d.Describe();
}

// The width the caption text of a window's title needs, in its font.
int CaptionTextWidth(HWND window) {
  const std::wstring caption = L"  " + WindowText(window);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC dc = GetDC(window);
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  HGDIOBJ old = SelectObject(dc, font);
  RECT text{};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT | DT_NOCLIP);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(window, dc);
  return text.right - text.left;
}

// Whether a skinned window shows a size grip: the corner of its right
// border differs on screen from the skin's border picture there.
bool GripShown(HWND window) {
  qm::TWinSkinForm* s = SkinnerOf(window);
  const TScreenPixels shown = ScreenPixels(window);
  const int w = shown.Width, h = shown.Height;
  gui::TBitmap border(w, h);
  qm::PaintSkinBorder(*s->Skin(), qm::TFrameSide::Right,
                      qm::FrameSideRect(s->Frame().Metrics(), qm::TFrameSide::Right, w, h), border.Canvas().Handle(),
                      s->Window().Active);
  for (int y = h - 12; y < h; ++y)
    for (int x = w - 12; x < w; ++x) {
      const COLORREF c = border.Canvas().Pixel(x, y);
      if (c == RGB(255, 0, 255)) continue;  // cut away by the region
      if (shown.At(x, y) != static_cast<DWORD>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c))) return true;
    }
  return false;
}

// How many of a window's pixels on screen are not black.
int PaintedPixels(HWND window) {
  int painted = 0;
  for (DWORD c : ScreenPixels(window).Bits) painted += c != 0;
  return painted;
}

class PaintedWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    Form.reset();
    qm::TSkinManage::Free();
    PumpFor(20);
  }

  // The program's start: the form is made and shown, its first activation
  // skins it, and the skinner fits it to the frame.
  void Start(const std::wstring& folder = MakeTempFolder(L"painted")) {
    gui::Application().Title = "启明映像向导";
    Form = std::make_unique<qm::TMainForm>(nullptr, Utf8(folder));
    gui::Application().SetMainForm(Form.get());
    Form->Show();
    ASSERT_TRUE(WaitReady(H()));
  }

  HWND H() const { return Form->Handle(); }
  void ExpectMainSettled(const std::string& when) {
    ExpectSettledAsRepainted(H(), when, {RectInWindow(Form->drawImage->Parent()->Handle(), H())});
  }

  std::unique_ptr<qm::TMainForm> Form;
};

TEST_F(PaintedWindow, MainWindowAfterStart) {
  Start();
  ExpectMainSettled("after start");
  EXPECT_FALSE(GripShown(H())) << "the main window has a fixed size";
}

TEST_F(PaintedWindow, MainWindowAfterStartOnABusyMachine) {
  {
    TBusyMachine busy;
    Start();
    SettledPixels(H(), {RectInWindow(Form->drawImage->Parent()->Handle(), H())});
  }
  ExpectMainSettled("after a busy start");
}

TEST_F(PaintedWindow, MainWindowAfterPageSwitchesSkinSwitchesAndSkinningOffAndOn) {
  Start();
  const std::string first = Utf8(BesideProgram(L"default.skn")), second = Utf8(BesideProgram(L"second.skn"));
  auto carriedOut = [&] {
    qm::TSkinManage::Instance()->RunPendingAction();
    PumpFor(3000, [&] { return !qm::TSkinManage::Instance()->PendingSkinData(); });
  };
  for (int page = 0; page < 6; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    Form->PageControl1->SetActivePageIndex(page);
    ExpectMainSettled("page shown");
    Form->SkinData1->SetSkinFile(page % 2 ? first : second);
    carriedOut();
    ExpectMainSettled("skin switched");
    Form->SkinData1->SetActive(false);
    carriedOut();
    ASSERT_EQ(SkinnerOf(H()), nullptr);
    ExpectMainSettled("skinning off");
    Form->SkinData1->SetActive(true);
    carriedOut();
    ASSERT_TRUE(WaitReady(H()));
    ExpectMainSettled("skinning on");
  }
}

// Message boxes over the main window, the program's own and ones whose title
// is longer than their text: each is widened to show its whole title, shows
// no size grip, paints as a repaint would, and leaves the main window whole.
TEST_F(PaintedWindow, MessageBoxesShowTheirWholeTitleAndNoGripAndLeaveTheMainWindowWhole) {
  Start();
  const struct {
    const wchar_t* Title;
    const wchar_t* Text;
  } boxes[] = {{L"启明映像向导", L"请至少添加一个分区！"},
               {L"启明映像向导", L"是"},
               {L"启明映像向导：生成批处理文件", L"是"},
               {L"QiMing", L"OK"}};
  for (const auto& b : boxes) {
    SCOPED_TRACE(Utf8(b.Title) + " / " + Utf8(b.Text));
    bool checked = false;
    WhileDialogShows([&] { MessageBoxW(H(), b.Text, b.Title, MB_OK); },
                     [&](HWND box) {
                       checked = WaitReady(box);
                       if (checked) {
                         ExpectSettledAsRepainted(box, "message box");
                         const RECT caption = SkinnerOf(box)->Frame().CaptionRect();
                         EXPECT_GE(caption.right - caption.left, CaptionTextWidth(box)) << "the whole title";
                         EXPECT_FALSE(GripShown(box));
                       }
                       PressFirstButton(box);
                     });
    EXPECT_TRUE(checked);
    ExpectMainSettled("after the message box closed");
  }
}

// The skinned Save dialog, opened three times: its controls lie inside its
// frame, its frame still sizes it and shows a grip, and its toolbar and
// places bar are painted each time.
TEST_F(PaintedWindow, SaveDialogFitsItsFrameAndPaintsAllItsChildrenAtEveryOpening) {
  Start();
  for (int opening = 1; opening <= 3; ++opening) {
    SCOPED_TRACE("opening " + std::to_string(opening));
    bool checked = false;
    WhileDialogShows([&] { SendMessageW(Form->selectButton12->Handle(), BM_CLICK, 0, 0); },
                     [&](HWND dialog) {
                       checked = WaitReady(dialog);
                       if (checked) {
                         ExpectSettledAsRepainted(dialog, "settled");
                         EXPECT_EQ(ChildrenOutsideClient(dialog), "");
                         EXPECT_TRUE(GripShown(dialog));
                         RECT w;
                         GetWindowRect(dialog, &w);
                         const struct {
                           POINT At;
                           LRESULT Hit;
                         } edges[] = {{{w.right - 2, w.bottom - 2}, HTBOTTOMRIGHT},
                                      {{w.left + 1, (w.top + w.bottom) / 2}, HTLEFT},
                                      {{(w.left + w.right) / 2, w.bottom - 2}, HTBOTTOM}};
                         for (const auto& e : edges)
                           EXPECT_EQ(SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(e.At.x, e.At.y)), e.Hit)
                               << "sizes by its frame at " << e.At.x - w.left << ", " << e.At.y - w.top;
                         int bars = 0;
                         for (HWND bar = nullptr; (bar = FindWindowExW(dialog, bar, TOOLBARCLASSNAMEW, nullptr));) {
                           if (!IsWindowVisible(bar)) continue;
                           ++bars;
                           RECT r;
                           GetWindowRect(bar, &r);
                           EXPECT_GT(PaintedPixels(bar), (r.right - r.left) * (r.bottom - r.top) / 2) << "bar " << bars;
                         }
                         EXPECT_EQ(bars, 2) << "the toolbar and the places bar";
                       }
                       PressButton(dialog, IDCANCEL);
                     });
    EXPECT_TRUE(checked);
    ExpectMainSettled("after the dialog closed");
  }
}

TEST_F(PaintedWindow, HelpViewer) {
  std::wstring folder = BesideProgram(L"");
  folder.pop_back();  // the help file lies beside the program
  Start(folder);
  qm::ResetHtmlHelpForTesting();
  SendMessageW(Form->Button3->Handle(), BM_CLICK, 0, 0);
  HWND viewer = nullptr;
  PumpFor(5000, [&] { return (viewer = FindWindowW(L"HH Parent", nullptr)) != nullptr && Ready(viewer); });
  ASSERT_TRUE(viewer && Ready(viewer));
  ExpectSettledAsRepainted(viewer, "help viewer");
  SendMessageW(viewer, WM_CLOSE, 0, 0);
  ExpectMainSettled("after the help viewer closed");
  qm::ResetHtmlHelpForTesting();
}

}  // namespace
