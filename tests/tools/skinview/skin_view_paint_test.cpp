// What SkinView shows once it has settled is what a full repaint of it
// draws: after its start (also on a busy machine), after skinning off and
// on, after a skin is loaded, on each page, with its Open dialog over it,
// and in its MDI window after a child is maximised or closed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "gui/comctrls.h"
#include "gui/std_controls.h"
#include "gui/timer.h"
#include "settled_paint.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "skin_view_form.h"
#include "skin_view_menu.h"
#include "ui_driver.h"

namespace qm {
namespace {

std::string BesideProgram(const wchar_t* name) { return qmtest::Utf8(qmtest::BesideProgram(name)); }

bool Ready(HWND window) {
  TWinSkinForm* s = FormSkinnerHost() ? FormSkinnerHost()->FindFormSkinner(window) : nullptr;
  return s && s->Phase() == TWinSkinForm::phReady;
}

bool WaitReady(HWND window) {
  qmtest::PumpFor(5000, [&] { return Ready(window); });
  return Ready(window);
}

class SkinViewPaint : public ::testing::Test {
 protected:
  void TearDown() override {
    Form.reset();
    TSkinManage::Free();
    qmtest::PumpFor(20);
  }

  // As the program starts: the skin file is opened before the window shows.
  void Start() {
    Form = std::make_unique<TSkinViewForm>(nullptr);
    ASSERT_TRUE(Form->OpenSkin(BesideProgram(L"default.skn")));
    gui::Application().SetMainForm(Form.get());
    Form->Show();
    ASSERT_TRUE(WaitReady(H()));
  }

  void ExpectSettledAsRepainted(HWND window, const char* when) {
    const qmtest::TPaintDifference d = qmtest::StaleAgainstFullRepaint(window);
    EXPECT_EQ(d.Count, 0) << when << ": " << d.Describe();
  }

  HWND H() const { return Form->Handle(); }
  gui::TPageControl* Pages() const { return dynamic_cast<gui::TPageControl*>(Form->FindComponent("Pages")); }

  std::unique_ptr<TSkinViewForm> Form;
};

TEST_F(SkinViewPaint, AfterStart) {
  Start();
  ExpectSettledAsRepainted(H(), "after start");
}

TEST_F(SkinViewPaint, AfterStartOnABusyMachine) {
  {
    qmtest::TBusyMachine busy;
    Start();
    qmtest::SettledPixels(H());
  }
  ExpectSettledAsRepainted(H(), "after a busy start");
}

TEST_F(SkinViewPaint, AfterSkinningOffAndOnAndAfterLoadingASkin) {
  Start();
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    Pages()->SetActivePageIndex(page);
    ExpectSettledAsRepainted(H(), "page shown");
    Form->ToggleSkinning();
    qmtest::PumpFor(2000, [&] { return !TSkinManage::Instance()->FindFormSkinner(H()); });
    ExpectSettledAsRepainted(H(), "skinning off");
    Form->ToggleSkinning();
    ASSERT_TRUE(WaitReady(H()));
    ExpectSettledAsRepainted(H(), "skinning on again");
    ASSERT_TRUE(Form->OpenSkin(BesideProgram(page % 2 ? L"default.skn" : L"second.skn")));
    qmtest::PumpFor(2000, [&] { return Ready(H()) && !TSkinManage::Instance()->ActionPending(); });
    ExpectSettledAsRepainted(H(), "another skin loaded");
  }
}

TEST_F(SkinViewPaint, OpenDialogFitsItsFrameAndPaintsAndTheWindowAfterItCloses) {
  Start();
  bool checked = false;
  qmtest::WhileDialogShows([&] { Form->OpenButton->Click(); },
                           [&](HWND dialog) {
                             checked = WaitReady(dialog);
                             if (checked) {
                               ExpectSettledAsRepainted(dialog, "open dialog");
                               EXPECT_EQ(qmtest::ChildrenOutsideClient(dialog), "");
                             }
                             qmtest::PressButton(dialog, IDCANCEL);
                           });
  EXPECT_TRUE(checked);
  ExpectSettledAsRepainted(H(), "after the open dialog closed");
}

TEST_F(SkinViewPaint, MDIWindowAfterAChildIsMaximisedOrClosed) {
  Start();
  const HWND frame = Form->Menus->ShowMDIWindow();
  ASSERT_TRUE(WaitReady(frame));
  ExpectSettledAsRepainted(frame, "opened");
  const HWND client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
  const HWND child = GetWindow(client, GW_CHILD);
  SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  ExpectSettledAsRepainted(frame, "a child maximised");
  SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
  ExpectSettledAsRepainted(frame, "the child restored");
  SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  ExpectSettledAsRepainted(frame, "a child closed");
  SendMessageW(frame, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace qm
