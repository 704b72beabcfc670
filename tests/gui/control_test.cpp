// Message handling of controls: replaceable WindowProc, native subclassing
// by others, reflection, the library notifications and the error boundary.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <vector>

#include "gui/comctrls.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "ui_driver.h"

using namespace gui;

namespace {
// Records the messages passing through a control's WindowProc and chains to
// the handler it replaced.
struct TSpy {
  explicit TSpy(TControl& c) : Control(c), Saved(c.WindowProc) {
    c.WindowProc = [this](TMessage& m) {
      Seen.push_back(m.Msg);
      Saved(m);
    };
  }
  ~TSpy() { Restore(); }
  void Restore() {
    if (Saved) Control.WindowProc = Saved, Saved = nullptr;
  }
  bool Saw(UINT msg) const { return std::find(Seen.begin(), Seen.end(), msg) != Seen.end(); }
  TControl& Control;
  TWndMethod Saved;
  std::vector<UINT> Seen;
};

struct Fixture : ::testing::Test {
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetClientSize(300, 200);
    form->Show();
    Application().OnException = [this](const std::string& text) { errors.push_back(text); };
  }
  void TearDown() override {
    Application().OnException = nullptr;
    form.reset();
  }
  std::unique_ptr<TForm> form;
  std::vector<std::string> errors;
};

WNDPROC gEngineOld = nullptr;
int gEngineCalls = 0;
LRESULT CALLBACK EngineProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  ++gEngineCalls;
  return CallWindowProcW(gEngineOld, h, m, w, l);
}
}  // namespace

using ControlMessages = Fixture;

TEST_F(ControlMessages, ReplacedWindowProcSeesMessagesAndRestoringStopsIt) {
  auto* button = form->Make<TButton>();
  button->SetParent(form.get());
  button->SetBounds(10, 10, 80, 24);
  {
    TSpy spy(*button);
    SetWindowTextW(button->Handle(), L"新");
    EXPECT_TRUE(spy.Saw(WM_SETTEXT));
    EXPECT_EQ(button->Caption(), "新");  // the default handling ran
    spy.Restore();
    spy.Seen.clear();
    SetWindowTextW(button->Handle(), L"旧");
    EXPECT_FALSE(spy.Saw(WM_SETTEXT));
  }
  EXPECT_EQ(button->Caption(), "旧");
}

TEST_F(ControlMessages, KeepsWorkingUnderAForeignWindowProcedureRemovedLater) {
  auto* edit = form->Make<TEdit>();
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 100, 21);
  HWND h = edit->Handle();
  gEngineCalls = 0;
  gEngineOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EngineProc)));
  int changes = 0;
  edit->OnChange = [&](TCustomEdit&) { ++changes; };
  TSpy spy(*edit);
  SetWindowTextW(h, L"abc");
  EXPECT_GT(gEngineCalls, 0);
  EXPECT_TRUE(spy.Saw(WM_SETTEXT));
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(changes, 1);

  // The foreign procedure goes away again; the layer must not have put
  // itself back on top in between.
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&EngineProc));
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gEngineOld));
  const int before = gEngineCalls;
  SetWindowTextW(h, L"xyz");
  EXPECT_EQ(gEngineCalls, before);
  EXPECT_EQ(changes, 2);
}

TEST_F(ControlMessages, NotifyIsReflectedToThePageControlAsCnNotify) {
  auto* pages = form->Make<TPageControl>();
  pages->SetParent(form.get());
  pages->SetBounds(0, 0, 300, 150);
  for (const char* caption : {"一", "二"}) {
    auto* sheet = form->Make<TTabSheet>();
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
  }
  int changes = 0;
  pages->OnChange = [&](TPageControl&) { ++changes; };
  TSpy spy(*pages);
  SendMessageW(pages->Handle(), TCM_SETCURSEL, 1, 0);
  NMHDR hdr{pages->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_TRUE(spy.Saw(0xBC4E));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_TRUE(pages->Pages(1)->Visible());
  EXPECT_FALSE(pages->Pages(0)->Visible());
  EXPECT_FALSE(IsWindowVisible(pages->Pages(0)->Handle()));
}

TEST_F(ControlMessages, MouseEnterLeaveEnabledAndCheckNotifications) {
  auto* check = form->Make<TCheckBox>();
  check->SetParent(form.get());
  check->SetBounds(10, 10, 100, 20);
  TSpy spy(*check);
  SendMessageW(check->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(spy.Saw(0xB013));
  EXPECT_TRUE(check->MouseInControl());
  SendMessageW(check->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(spy.Saw(0xB014));
  EXPECT_FALSE(check->MouseInControl());

  check->SetEnabled(false);
  EXPECT_TRUE(spy.Saw(0xB00C));
  EXPECT_FALSE(IsWindowEnabled(check->Handle()));

  check->SetChecked(true);
  EXPECT_TRUE(spy.Saw(0xB0D0));
  EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ControlMessages, WindowlessLabelPaintsThroughWindowProcAndTakesClicks) {
  auto* label = form->Make<TLabel>();
  label->SetParent(form.get());
  label->SetBounds(20, 30, 0, 0);
  label->SetCaption("链接");
  label->Cursor = TCursor::crHandPoint;
  EXPECT_GT(label->Width(), 0);
  int clicks = 0;
  label->OnClick = [&](TControl&) { ++clicks; };
  std::vector<WPARAM> paintDCs;
  TWndMethod saved = label->WindowProc;
  label->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PAINT) paintDCs.push_back(m.WParam);
    saved(m);
  };
  InvalidateRect(form->Handle(), nullptr, TRUE);
  UpdateWindow(form->Handle());
  ASSERT_FALSE(paintDCs.empty());
  EXPECT_NE(paintDCs.front(), 0u);

  const LPARAM at = MAKELPARAM(label->Left() + 2, label->Top() + 2);
  // The parent tracks the mouse for its windowless children.
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, at);
  EXPECT_TRUE(label->MouseInControl());
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(250, 150));
  EXPECT_FALSE(label->MouseInControl());
  SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(form->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks, 1);
  // Pressed on the label but released elsewhere: no click.
  SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
  EXPECT_EQ(clicks, 1);
  label->WindowProc = saved;
}

TEST_F(ControlMessages, ReleaseIsAnnouncedWhenAControlIsFreed) {
  auto* panel = form->Make<TPanel>();
  panel->SetParent(form.get());
  panel->HandleNeeded();
  bool released = false;
  TWndMethod saved = panel->WindowProc;
  panel->WindowProc = [&](TMessage& m) {
    if (m.Msg == 0xB021) released = true;
    saved(m);
  };
  HWND h = panel->Handle();
  panel->Free();
  EXPECT_TRUE(released);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(form->ControlCount(), 0);
}

// Windows are told from their controls by a table of the process; a window
// destroyed behind its control's back must not leave the table naming the
// control once that is freed.
static LRESULT CALLBACK SwallowNcDestroy(HWND h, UINT m, WPARAM w, LPARAM l) {
  return m == WM_NCDESTROY ? 0 : CallWindowProcW(gEngineOld, h, m, w, l);
}

TEST_F(ControlMessages, WindowsAreToldFromTheirControlsUntilEitherGoes) {
  HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr, nullptr, nullptr);
  EXPECT_EQ(TWinControl::FindControl(foreign), nullptr);
  DestroyWindow(foreign);

  auto* edit = form->Make<TEdit>();
  edit->SetParent(form.get());
  HWND h = edit->Handle();
  EXPECT_EQ(TWinControl::FindControl(h), edit);
  gEngineOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwallowNcDestroy)));
  DestroyWindow(h);
  ASSERT_FALSE(IsWindow(h));
  edit->Free();
  EXPECT_EQ(TWinControl::FindControl(h), nullptr);

  auto* panel = form->Make<TPanel>();
  panel->SetParent(form.get());
  HWND p = panel->Handle();
  panel->Free();
  EXPECT_EQ(TWinControl::FindControl(p), nullptr);
}

TEST_F(ControlMessages, AnExceptionInAHandlerGoesToTheErrorBoxAndTheProgramGoesOn) {
  auto* button = form->Make<TButton>();
  button->SetParent(form.get());
  button->SetBounds(10, 10, 80, 24);
  int clicks = 0;
  button->OnClick = [&](TControl&) {
    if (++clicks == 1) throw std::runtime_error("无法创建文件");
  };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "无法创建文件");
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(ControlMessages, FocusLeavingAndScrollReflectionReachTheControl) {
  auto* a = form->Make<TEdit>();
  a->SetParent(form.get());
  a->SetBounds(10, 10, 100, 21);
  auto* b = form->Make<TEdit>();
  b->SetParent(form.get());
  b->SetBounds(10, 40, 100, 21);
  SetForegroundWindow(form->Handle());
  a->SetFocus();
  TSpy spy(*a);
  b->SetFocus();
  EXPECT_TRUE(spy.Saw(0xB01B));

  // WM_HSCROLL from a control comes back to it at 0xBD14.
  SendMessageW(form->Handle(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(a->Handle()));
  EXPECT_TRUE(spy.Saw(0xBD14));
}

TEST_F(ControlMessages, DoubleBufferedPanelPaintsItsChildrenIntoABuffer) {
  auto* panel = form->Make<TPanel>();
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 200, 100);
  panel->DoubleBuffered = true;
  panel->SetColor(RGB(0, 0, 255));
  auto* label = form->Make<TLabel>();
  label->SetParent(panel);
  label->SetBounds(10, 10, 0, 0);
  label->SetCaption("缓冲");
  int paints = 0;
  TWndMethod saved = label->WindowProc;
  label->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PAINT) ++paints;
    saved(m);
  };
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_GE(paints, 1);
  // The panel's own colour reached the screen through the buffer.
  HDC dc = GetDC(panel->Handle());
  EXPECT_EQ(GetPixel(dc, 150, 80), RGB(0, 0, 255));
  ReleaseDC(panel->Handle(), dc);
  label->WindowProc = saved;
}

TEST_F(ControlMessages, TabSheetOutlivingItsPageControlForgetsIt) {
  auto* pages = form->Make<TPageControl>();
  pages->SetParent(form.get());
  auto* sheet = form->Make<TTabSheet>();
  sheet->SetPageControl(pages);
  pages->Free();
  EXPECT_EQ(sheet->PageControl(), nullptr);
  EXPECT_EQ(sheet->Parent(), nullptr);
  EXPECT_EQ(sheet->PageIndex(), -1);
  sheet->SetCaption("孤");  // must not reach the freed page control
  sheet->Free();
}

TEST_F(ControlMessages, AThrowingHandlerGetsDefaultHandlingExactlyOnce) {
  auto* edit = form->Make<TEdit>();
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 100, 21);
  const TWndMethod saved = edit->WindowProc;
  struct Case {
    const char* name;
    bool throwsAfterDefault;
    wchar_t typed;
    const char* text;
  };
  for (const Case& c : {Case{"after default", true, L'a', "a"}, Case{"before default", false, L'b', "ab"}}) {
    SCOPED_TRACE(c.name);
    edit->WindowProc = [&](TMessage& m) {
      if (m.Msg != WM_CHAR) return saved(m);
      if (c.throwsAfterDefault) saved(m);
      throw std::runtime_error(c.name);
    };
    errors.clear();
    SendMessageW(edit->Handle(), WM_CHAR, c.typed, 1);
    EXPECT_EQ(edit->Text(), c.text);
    EXPECT_EQ(errors, std::vector<std::string>{c.name});
  }
  edit->WindowProc = saved;
}

TEST_F(ControlMessages, PaintingThatThrowsEndsThePaintAndGivesTheDCBackAsLent) {
  auto* label = form->Make<TLabel>();
  label->SetParent(form.get());
  label->SetBounds(20, 30, 0, 0);
  label->SetCaption("画");
  HDC seen = nullptr;
  const TWndMethod saved = label->WindowProc;
  label->WindowProc = [&](TMessage& m) {
    if (m.Msg != WM_PAINT) return saved(m);
    seen = reinterpret_cast<HDC>(m.WParam);
    throw std::runtime_error("paint");
  };
  // The window's own paint: the DC BeginPaint gave goes back to the system
  // (a DC still held would be released here, and say so).
  InvalidateRect(form->Handle(), nullptr, TRUE);
  UpdateWindow(form->Handle());
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(ReleaseDC(form->Handle(), seen), 0);
  EXPECT_FALSE(errors.empty());

  // A DC lent with the message comes back in the state it was lent in.
  HDC lent = CreateCompatibleDC(nullptr);
  seen = nullptr;
  SendMessageW(form->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(lent), 0);
  EXPECT_EQ(seen, lent);
  POINT origin{-1, -1};
  GetViewportOrgEx(lent, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  DeleteDC(lent);
  label->WindowProc = saved;
}
