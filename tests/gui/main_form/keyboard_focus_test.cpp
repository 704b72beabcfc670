// The main window's first page walked with the real Tab key: each control
// shows that it has the focus, "生成批处理文件" among them, and none shows
// it while another has it.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "focus_walk.h"
#include "main_form.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"

namespace {

bool Ready(HWND window) {
  qm::TWinSkinForm* s = qm::TSkinManage::Instance() ? qm::TSkinManage::Instance()->FindFormSkinner(window) : nullptr;
  return s && s->Phase() == qm::TWinSkinForm::phReady;
}

TEST(MainWindowKeyboard, TabShowsTheFocusOnEveryControlOfTheFirstPage) {
  const UINT blink = GetCaretBlinkTime();
  // A blinking caret would make a focused edit look different from one
  // moment to the next.
  SetCaretBlinkTime(INFINITE);
  gui::Application().Title = "启明映像向导";
  auto form = std::make_unique<qm::TMainForm>(nullptr, qmtest::Utf8(qmtest::MakeTempFolder(L"focus")));
  gui::Application().SetMainForm(form.get());
  form->Show();
  qmtest::PumpFor(5000, [&] { return Ready(form->Handle()); });
  ASSERT_TRUE(Ready(form->Handle()));
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
  qmtest::SendMouse(MOUSEEVENTF_MOVE);
  SetForegroundWindow(form->Handle());
  // The banner scrolls by itself.
  const std::vector<RECT> banner{qmtest::RectInWindow(form->drawImage->Parent()->Handle(), form->Handle())};
  const std::vector<qmtest::TFocusStop> stops = qmtest::WalkWithTab(form->Handle(), banner);
  EXPECT_GE(stops.size(), 8u);
  bool run = false;
  for (const qmtest::TFocusStop& stop : stops) run = run || stop.Control == form->RunButton->Handle();
  EXPECT_TRUE(run) << "the walk passes \"生成批处理文件\"";
  for (const std::string& fault : qmtest::FocusFaults(stops, form->Handle())) ADD_FAILURE() << fault;
  form.reset();
  qm::TSkinManage::Free();
  qmtest::PumpFor(20);
  SetCaretBlinkTime(blink);
}

}  // namespace
