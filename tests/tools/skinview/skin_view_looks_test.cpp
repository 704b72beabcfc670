// What a user sees of focus and of controls switched off in SkinView, with
// the real keyboard and mouse: Tab shows the focus at each stop and at no
// other; a focused button does not look hovered; the focus stays hidden
// until the keyboard is used when the window says so; every control the
// switch turns off looks different from itself on; a speed button and the
// push buttons share one hot look; the radio buttons wear
// the skin's radio cells and the list view its header and scroll bars
// without the host making them; a dragged thumb never leaves its track.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gui/comctrls.h"
#include "gui/common_controls.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "focus_walk.h"
#include "settled_paint.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/3_controls/skin_button.h"
#include "skin/3_controls/skin_check_box.h"
#include "skin/3_controls/skin_scrollbar.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "skin_view_form.h"
#include "skin_view_menu.h"
#include "ui_driver.h"

namespace qm {
namespace {

using qmtest::TScreenPixels;

bool Ready(HWND window) {
  TWinSkinForm* s = TSkinManage::Instance() ? TSkinManage::Instance()->FindFormSkinner(window) : nullptr;
  return s && s->Phase() == TWinSkinForm::phReady;
}

using qmtest::Differing;
using qmtest::PressKey;
using qmtest::ProcessUntil;

class SkinViewLooks : public ::testing::Test {
 protected:
  void SetUp() override {
    // A blinking caret would make a focused edit look different from one
    // moment to the next.
    FBlink = GetCaretBlinkTime();
    SetCaretBlinkTime(INFINITE);
    Form = std::make_unique<TSkinViewForm>(nullptr);
    ASSERT_TRUE(Form->OpenSkin(qmtest::Utf8(qmtest::BesideProgram(L"default.skn"))));
    gui::Application().SetMainForm(Form.get());
    Form->Show();
    qmtest::PumpFor(5000, [&] { return Ready(H()); });
    ASSERT_TRUE(Ready(H()));
    ParkMouse();
    SetForegroundWindow(H());
    qmtest::PumpUntilSettled();
  }

  void TearDown() override {
    Form.reset();
    TSkinManage::Free();
    qmtest::PumpFor(20);
    SetCaretBlinkTime(FBlink);
  }

  HWND H() const { return Form->Handle(); }
  template <class T = gui::TControl>
  T* Named(const char* name) const {
    return dynamic_cast<T*>(Form->FindComponent(name));
  }
  TWinSkinForm* FormSkinner() const { return TSkinManage::Instance()->FindFormSkinner(H()); }
  TSkinControl* SkinnerOf(gui::TControl* control) const {
    for (TSkinControl* s : FormSkinner()->Controls().ControlSkinners())
      if (s->Owner() == control || (s->Handle && s->Control == control)) return s;
    return nullptr;
  }
  void ShowPage(int page) {
    Named<gui::TPageControl>("Pages")->SetActivePageIndex(page);
    qmtest::PumpUntilSettled();
  }

  // Where a control shows, in the window's coordinates; a windowless one
  // within its parent.
  RECT PlaceOf(gui::TControl* control) const {
    if (auto* windowed = dynamic_cast<gui::TWinControl*>(control))
      return qmtest::RectInWindow(windowed->Handle(), H());
    RECT r = control->BoundsRect();
    const RECT parent = qmtest::RectInWindow(control->Parent()->Handle(), H());
    OffsetRect(&r, parent.left, parent.top);
    return r;
  }

  void MoveMouse(POINT at) {
    SetCursorPos(at.x, at.y);
    qmtest::SendMouse(MOUSEEVENTF_MOVE);
  }
  void ParkMouse() {
    MoveMouse(POINT{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2});
  }

  TScreenPixels Look() { return qmtest::SettledPixels(H()); }

  std::unique_ptr<TSkinViewForm> Form;

 private:
  UINT FBlink = 500;
};

TEST_F(SkinViewLooks, TabShowsTheFocusAtEachStopAndAtNoOther) {
  // The first page has the lists; the third the glyph buttons, the
  // scroll bars and the tab set.
  for (int page : {0, 2}) {
    SCOPED_TRACE("page " + std::to_string(page));
    ShowPage(page);
    // Not a control of the page just hidden: Tab starts from the focus.
    Form->OpenButton->SetFocus();
    const std::vector<qmtest::TFocusStop> stops = qmtest::WalkWithTab(H());
    EXPECT_GE(stops.size(), 12u);
    for (const std::string& fault : qmtest::FocusFaults(stops, H())) ADD_FAILURE() << fault;
  }
}

TEST_F(SkinViewLooks, FocusedButtonsLookNeitherHoveredNorPlainAndTheFocusHidesUntilTheKeyboardIsUsed) {
  // A push button and a check box: the button has a face of its own for
  // focus, the check box only the rectangle around its caption.
  for (const char* name : {"ToggleButton", "UncheckedBox"}) {
    SCOPED_TRACE(name);
    auto* control = Named<gui::TWinControl>(name);
    const RECT place = PlaceOf(control);
    // The window's keyboard cues as Windows keeps them for the control
    // (Wine keeps none and answers 0 to every query).
    LRESULT cues = 0;
    const gui::TWndMethod previous = control->WindowProc;
    control->WindowProc = [&](gui::TMessage& m) {
      if (m.Msg == WM_QUERYUISTATE) {
        m.Result = cues;
        return;
      }
      if (m.Msg == WM_UPDATEUISTATE && LOWORD(m.WParam) == UIS_SET) cues |= HIWORD(m.WParam);
      if (m.Msg == WM_UPDATEUISTATE && LOWORD(m.WParam) == UIS_CLEAR) cues &= ~HIWORD(m.WParam);
      previous(m);
    };
    Named<gui::TWinControl>("Edit")->SetFocus();
    const TScreenPixels plain = Look();
    RECT window;
    GetWindowRect(H(), &window);
    MoveMouse(POINT{window.left + (place.left + place.right) / 2, window.top + (place.top + place.bottom) / 2});
    TSkinControl* skinner = SkinnerOf(control);
    ASSERT_NE(skinner, nullptr);
    const bool button = dynamic_cast<TSkinButton*>(skinner) != nullptr;
    if (button) qmtest::PumpFor(5000, [&] { return (skinner->MouseFlags & TSkinControl::mfHot) != 0; });
    const TScreenPixels hovered = Look();
    ParkMouse();
    qmtest::PumpFor(5000, [&] { return (skinner->MouseFlags & TSkinControl::mfHot) == 0; });
    // The window hides focus until the keyboard is used, and the control
    // gets the focus as from a click.
    SendMessageW(control->Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    control->SetFocus();
    const TScreenPixels hidden = Look();
    // Tab away and back; Windows then tells the controls that the keyboard
    // is in use.
    PressKey(VK_TAB);
    qmtest::ProcessUntil([&] { return GetFocus() != control->Handle(); });
    PressKey(VK_TAB, true);
    qmtest::ProcessUntil([&] { return GetFocus() == control->Handle(); });
    ASSERT_EQ(GetFocus(), control->Handle());
    SendMessageW(control->Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const TScreenPixels shown = Look();
    control->WindowProc = previous;
    EXPECT_GT(Differing(shown, plain, place), 0) << "focus shown";
    EXPECT_GT(Differing(shown, hovered, place), 0) << "focused against hovered";
    EXPECT_GT(Differing(shown, hidden, place), 0) << "the focus rectangle once the keyboard is used";
    if (button) {
      EXPECT_GT(Differing(hovered, plain, place), 0) << "hover shown";
    } else {
      EXPECT_EQ(Differing(hidden, plain, place), 0) << "a check box's focus is only its rectangle";
    }
  }
}

TEST_F(SkinViewLooks, ASpeedButtonSharesTheHotLookWithThePushButtons) {
  ShowPage(2);
  gui::TControl* push = Named("PanelButton");
  gui::TControl* speed = Named("LoneSpeedButton");
  TSkinControl* pushSkinner = SkinnerOf(push);
  TSkinControl* speedSkinner = SkinnerOf(speed);
  ASSERT_NE(pushSkinner, nullptr);
  ASSERT_NE(speedSkinner, nullptr);
  RECT window;
  GetWindowRect(H(), &window);
  auto over = [&](gui::TControl* c) {
    const RECT r = PlaceOf(c);
    MoveMouse(POINT{window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2});
  };
  // From one to the other and back: one hot button at a time.
  const struct {
    gui::TControl* To;
    TSkinControl* Hot;
    TSkinControl* Cold;
  } moves[] = {{push, pushSkinner, speedSkinner}, {speed, speedSkinner, pushSkinner}, {push, pushSkinner, speedSkinner}};
  for (const auto& m : moves) {
    SCOPED_TRACE(m.To->Name);
    over(m.To);
    qmtest::PumpFor(5000, [&] { return FormSkinner()->Controls().HotButton() == m.Hot; });
    EXPECT_EQ(FormSkinner()->Controls().HotButton(), m.Hot);
    EXPECT_TRUE(m.Hot->MouseFlags & TSkinControl::mfHot);
    EXPECT_FALSE(m.Cold->MouseFlags & TSkinControl::mfHot);
  }
  ParkMouse();
}

TEST_F(SkinViewLooks, EveryControlTheSwitchTurnsOffLooksOff) {
  // The switch is the demo menu's item, as a user finds it.
  gui::TMenuItem* demo = Form->Menus->Menu()->Items().Items(1);
  gui::TMenuItem* toggle = nullptr;
  for (int i = 0; i < demo->Count(); ++i)
    if (demo->Items(i)->Caption() == "全部控件禁用(&A)") toggle = demo->Items(i);
  ASSERT_NE(toggle, nullptr);
  std::vector<std::string> compared;
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    ShowPage(page);
    // The controls showing now that are on, and what each shows.
    std::vector<gui::TControl*> controls;
    for (gui::TComponent* c : Form->ComponentList()) {
      auto* control = dynamic_cast<gui::TControl*>(c);
      if (!control || !control->Enabled() || !control->Showing() || control->InheritsFrom("TTabSheet")) continue;
      controls.push_back(control);
    }
    // A button, not an edit: the caret would not come back where it was.
    Form->OpenButton->SetFocus();
    const TScreenPixels on = Look();
    toggle->Click();
    ASSERT_FALSE(Form->ControlsEnabled());
    EXPECT_TRUE(toggle->Checked());
    const TScreenPixels off = Look();
    for (gui::TControl* control : controls) {
      EXPECT_FALSE(control->Enabled()) << control->Name;
      EXPECT_GT(Differing(on, off, PlaceOf(control)), 0) << control->Name << " looks the same switched off";
      compared.push_back(control->Name);
    }
    toggle->Click();
    EXPECT_TRUE(Form->ControlsEnabled());
    EXPECT_FALSE(Named("DisabledButton")->Enabled()) << "what was off stays off";
    // Switched off, the button lost the focus; it gets it back for the look.
    Form->OpenButton->SetFocus();
    const qmtest::TPaintDifference back = qmtest::Difference(on, Look());
    EXPECT_EQ(back.Count, 0) << "all back as it was: " << back.Describe();
  }
  EXPECT_GE(compared.size(), 25u);
}

TEST_F(SkinViewLooks, RadioButtonsWearTheSkinsCellsAndTheListViewItsHeaderAndBars) {
  const TLoadedSkin& skin = *FormSkinner()->Skin();
  gui::TBitmap& strip = *skin.SkinBitmap(skin.Buttons->RadioBitmap);
  const int cell = strip.Width() / skin.Buttons->RadioFrames();
  const struct {
    const char* Name;
    int Frame;
  } radios[] = {{"RadioOne", 2}, {"RadioTwo", 1}, {"DisabledRadio", 3}};
  for (const auto& r : radios) {
    SCOPED_TRACE(r.Name);
    auto* radio = Named<gui::TWinControl>(r.Name);
    auto* skinner = dynamic_cast<TSkinCheckBox*>(SkinnerOf(radio));
    ASSERT_NE(skinner, nullptr);
    EXPECT_TRUE(skinner->InheritsFrom("TSkinRadioButton"));
    EXPECT_EQ(skinner->Frame(), r.Frame);
    const RECT box = TSkinCheckBox::BoxRect(RECT{0, 0, radio->Width(), radio->Height()}, cell, strip.Height(), false);
    HDC dc = GetDC(radio->Handle());
    EXPECT_EQ(GetPixel(dc, box.left + cell / 2, box.top + strip.Height() / 2),
              strip.Canvas().Pixel((r.Frame - 1) * cell + cell / 2, strip.Height() / 2));
    ReleaseDC(radio->Handle(), dc);
  }

  // The list view is skinned by the dispatch; the host makes nothing for it.
  Form->Skin->OnSkinControl = nullptr;
  ShowPage(1);
  auto* view = Named<gui::TWinControl>("ListView");
  auto* bars = dynamic_cast<TSkinListView*>(SkinnerOf(view));
  ASSERT_NE(bars, nullptr);
  ASSERT_NE(bars->HeaderSkinner(), nullptr);
  const HWND header = reinterpret_cast<HWND>(SendMessageW(view->Handle(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(bars->HeaderSkinner()->Handle, header);
  // Skinned, header and bars look other than the system's own.
  const RECT headerPlace = qmtest::RectInWindow(header, H());
  RECT barPlace = qmtest::RectInWindow(view->Handle(), H());
  barPlace.left = barPlace.right - GetSystemMetrics(SM_CXVSCROLL) - 2;
  barPlace.top = headerPlace.bottom;
  const TScreenPixels skinned = Look();
  Form->ToggleSkinning();
  qmtest::PumpFor(5000, [&] { return !TSkinManage::Instance()->FindFormSkinner(H()); });
  const TScreenPixels native = Look();
  EXPECT_GT(Differing(skinned, native, headerPlace), 0) << "the header";
  EXPECT_GT(Differing(skinned, native, barPlace), 0) << "the vertical bar";
}

TEST_F(SkinViewLooks, ADraggedThumbStaysInsideItsTrack) {
  auto* list = Named<gui::TWinControl>("LongList");
  auto* bars = dynamic_cast<TSkinScrollbar*>(SkinnerOf(list));
  ASSERT_NE(bars, nullptr);
  ASSERT_TRUE(bars->TrackThumb);
  // Every thumb place the drag shows, as the list hears of each new one,
  // and the last mouse place the drag has taken in.
  std::atomic<int> beyond{0}, tracked{0}, mouseY{-1};
  const gui::TWndMethod previous = list->WindowProc;
  list->WindowProc = [&](gui::TMessage& m) {
    if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBTRACK) {
      const TSkinScrollbar::TBarMetrics& v = bars->VertMetrics;
      if (v.Offset < 0 || v.Offset + v.Thumb > v.Track) ++beyond;
      ++tracked;
    }
    if (m.Msg == WM_MOUSEMOVE && bars->Tracking) {
      POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      ClientToScreen(list->Handle(), &p);
      mouseY = p.y;
    }
    previous(m);
  };
  RECT window;
  GetWindowRect(list->Handle(), &window);
  const TSkinScrollbar::TBarMetrics m = bars->VertMetrics;
  const RECT bar = bars->VertBarRect;
  const POINT grab{window.left + (bar.left + bar.right) / 2, window.top + bar.top + m.Arrow + m.Offset + m.Thumb / 2};
  // Down past the far arrow and the window, to near the screen's foot.
  const int end = GetSystemMetrics(SM_CYSCREEN) - 4;
  ASSERT_GT(end, window.top + bar.bottom + 40);
  std::atomic<bool> done{false};
  // Wine moves the X pointer with the mouse, and X's report of an earlier
  // place can come in after a later move and put the mouse back there: move
  // again until the list has taken in this place. The last place must also
  // hold, since the drag ends where the mouse is.
  auto reach = [&](int y, bool hold) {
    for (int tries = 0; tries < 20; ++tries) {
      SetCursorPos(grab.x, y);
      qmtest::SendMouse(MOUSEEVENTF_MOVE);
      if (qmtest::WaitFor([&] { return mouseY == y; }, 1000) &&
          (!hold || !qmtest::WaitFor([&] { return mouseY != y; }, 200)))
        return;
    }
  };
  std::thread hand([&] {
    SetCursorPos(grab.x, grab.y);
    qmtest::SendMouse(MOUSEEVENTF_MOVE);
    qmtest::SendMouse(MOUSEEVENTF_LEFTDOWN);
    // Six steps inside the track, wherever the window happens to sit, so
    // that the drag shows several places; then four on, past the far end.
    const int inside = m.Track - m.Thumb - m.Offset;
    for (int step = 1; step <= 10; ++step) {
      const int y = step <= 6 ? grab.y + inside * step / 6 : grab.y + inside + (end - grab.y - inside) * (step - 6) / 4;
      reach(y, step == 10);
    }
    qmtest::SendMouse(MOUSEEVENTF_LEFTUP);
    done = true;
  });
  qmtest::PumpFor(30000, [&] { return done.load() && !bars->Tracking; });
  hand.join();
  qmtest::PumpUntilSettled();
  list->WindowProc = previous;
  EXPECT_GT(tracked, 2);
  EXPECT_EQ(beyond, 0) << "the thumb left its track mid-drag";
  const TSkinScrollbar::TBarMetrics& after = bars->VertMetrics;
  EXPECT_EQ(after.Offset + after.Thumb, after.Track) << "dragged to the end, it rests at the end";
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(list->Handle(), SB_VERT, &info);
  EXPECT_EQ(info.nPos, info.nMax - static_cast<int>(info.nPage) + 1);
}

}  // namespace
}  // namespace qm
