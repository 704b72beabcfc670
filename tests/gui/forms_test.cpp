// Forms, the screen, the application object and its error box.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "gui/timer.h"
#include "ui_driver.h"

using namespace gui;

TEST(Forms, DialogFormHasTheClientSizeAskedForAndIsCentred) {
  TForm form(nullptr);
  form.SetBorderStyle(TFormBorderStyle::bsDialog);
  form.Position = TPosition::poScreenCenter;
  form.SetClientSize(483, 436);
  form.SetCaption("标题");
  form.Show();
  RECT client, window;
  GetClientRect(form.Handle(), &client);
  GetWindowRect(form.Handle(), &window);
  EXPECT_EQ(client.right, 483);
  EXPECT_EQ(client.bottom, 436);
  EXPECT_NEAR((window.left + window.right) / 2, Screen().Width() / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, Screen().Height() / 2, 1);
  const LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(qmtest::WindowText(form.Handle()), L"标题");
}

TEST(Forms, ScreenListsFormsAndFindsThemByHandle) {
  const int before = Screen().FormCount();
  HWND h;
  {
    TForm a(nullptr), b(nullptr);
    EXPECT_EQ(Screen().FormCount(), before + 2);
    h = b.Handle();
    EXPECT_EQ(Screen().FindForm(h), &b);
    EXPECT_EQ(Screen().FindForm(nullptr), nullptr);
  }
  EXPECT_EQ(Screen().FormCount(), before);
  EXPECT_EQ(Screen().FindForm(h), nullptr);
  EXPECT_FALSE(Screen().MenuFont().Name().empty());
}

TEST(Forms, AssigningAMenuShowsItKeepsTheClientAndAnnouncesTheChange) {
  TForm form(nullptr);
  form.SetClientSize(300, 200);
  form.Show();
  auto* menu = form.Make<TMainMenu>();
  TMenuItem* file = menu->Items().Add("文件");
  TMenuItem* open = file->Add("打开");
  int opened = 0;
  open->OnClick = [&](TMenuItem&) { ++opened; };

  std::vector<UINT> seen;
  TWndMethod saved = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    saved(m);
  };
  form.SetMenu(menu);
  EXPECT_NE(std::find(seen.begin(), seen.end(), 0xB015u), seen.end());
  EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.bottom, 200);

  seen.clear();
  file->SetCaption("档案");
  EXPECT_NE(std::find(seen.begin(), seen.end(), 0xB015u), seen.end());

  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
  EXPECT_EQ(opened, 1);

  // Its short cut works from the keyboard; a disabled item's does not.
  open->SetShortCut(ShortCut(VK_F5, 0));
  PostMessageW(form.Handle(), WM_KEYDOWN, VK_F5, 0);
  Application().ProcessMessages();
  EXPECT_EQ(opened, 2);
  open->SetEnabled(false);
  PostMessageW(form.Handle(), WM_KEYDOWN, VK_F5, 0);
  Application().ProcessMessages();
  EXPECT_EQ(opened, 2);
  form.WindowProc = saved;
}

TEST(Forms, AltKeyReachesTheFormAsDialogCharAndClicksTheAccelerator) {
  TForm form(nullptr);
  form.Show();
  auto* run = form.Make<TButton>();
  run->SetParent(&form);
  run->SetCaption("运行(&R)");
  int clicks = 0;
  run->OnClick = [&](TControl&) { ++clicks; };
  WPARAM charSeen = 0;
  TWndMethod saved = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg == 0xB006) charSeen = m.WParam;
    saved(m);
  };
  PostMessageW(run->Handle(), WM_SYSCHAR, L'r', 1 << 29);
  Application().ProcessMessages();
  EXPECT_EQ(charSeen, static_cast<WPARAM>(L'r'));
  EXPECT_EQ(clicks, 1);
  form.WindowProc = saved;
}

TEST(Application, ErrorBoxShowsTheMessageUnderTheTitleAndTheProgramGoesOn) {
  Application().Title = "启明映像向导";
  TForm form(nullptr);
  form.Show();
  qmtest::TDialogWatcher watcher;
  Application().HandleException(std::make_exception_ptr(std::runtime_error("文件无法写入")));
  auto seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Caption, L"启明映像向导");
  EXPECT_NE(seen[0].Text.find(L"文件无法写入"), std::wstring::npos);
  // Anything that is not a standard exception still gets a readable text.
  EXPECT_FALSE(TApplication::ExceptionMessage(std::make_exception_ptr(42)).empty());
}

TEST(Application, RunShowsTheMainFormAndEndsOnTerminate) {
  TForm form(nullptr);
  Application().SetMainForm(&form);
  Application().Reset();
  TTimer stopper(nullptr);
  stopper.SetInterval(50);
  bool wasVisible = false;
  stopper.OnTimer = [&](TTimer& t) {
    wasVisible = IsWindowVisible(form.Handle());
    t.SetEnabled(false);
    form.Close();  // closing the main form ends the program
  };
  Application().Run();
  EXPECT_TRUE(wasVisible);
  EXPECT_TRUE(Application().Terminated());
  Application().SetMainForm(nullptr);
  Application().Reset();
}

TEST(Application, EachMessageIsOfferedFirstAndWhatIsTakenGoesNoFurther) {
  // As the help viewer takes its keys (HH_PRETRANSLATEMESSAGE).
  TForm form(nullptr);
  form.Show();
  std::vector<UINT> arrived;
  const TWndMethod saved = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg >= WM_APP) arrived.push_back(m.Msg);
    saved(m);
  };
  std::vector<UINT> offered;
  Application().OnMessage = [&](MSG& msg) {
    if (msg.message >= WM_APP) offered.push_back(msg.message);
    return msg.message == WM_APP + 1;
  };
  for (UINT m : {WM_APP + 1, WM_APP + 2}) PostMessageW(form.Handle(), m, 0, 0);
  Application().ProcessMessages();
  Application().OnMessage = nullptr;
  form.WindowProc = saved;
  EXPECT_EQ(offered, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
  EXPECT_EQ(arrived, (std::vector<UINT>{WM_APP + 2}));
}

TEST(Timer, TicksOnTheMessageLoopAndItsErrorsReachTheErrorBox) {
  std::vector<std::string> errors;
  Application().OnException = [&](const std::string& e) { errors.push_back(e); };
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(20);
  timer.OnTimer = [&](TTimer&) {
    if (++ticks == 1) throw std::runtime_error("tick");
  };
  qmtest::PumpFor(3000, [&] { return ticks >= 3; });
  EXPECT_GE(ticks, 3);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "tick");
  timer.SetEnabled(false);
  const int stopped = ticks;
  qmtest::PumpFor(100);
  EXPECT_EQ(ticks, stopped);
  Application().OnException = nullptr;
}
