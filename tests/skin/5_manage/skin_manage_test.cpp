// The skin manager's state: its hook sees window activations, requests wait
// for the action timer only once a window was activated, and the component
// that speaks for a window is chosen by its form type.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../stored_skin.h"
#include "debug_output.h"
#include "gui/desktop_compositor.h"
#include "gui/dialogs.h"
#include "gui/forms.h"
#include "gui/system_settings.h"
#include "gui/timer.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"

namespace qm {
namespace {

TSkinManage& Manager() { return *TSkinManage::Instance(); }

class SkinManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSkinManage::Free();
    TSkinManage::Make();
    Manager().SetOnAttachRequest([this](HWND w) { Requests.push_back(w); });
    // A window is attached only when a loaded skin speaks for it.
    Skin.PackedSkin = TMemoryStream(test::PackedStoredSkin());
    ASSERT_TRUE(Skin.LoadSkin());
    Manager().AddSkinData(&Skin);
  }
  void TearDown() override { TSkinManage::Free(); }
  // Before any activation a request switches at once, as at start-up.
  static void SwitchOn() { Manager().RequestAction(saSkinOn, kSkinActionDelayMs); }
  TSkinData Skin{nullptr};
  bool Requested(HWND w) const { return std::find(Requests.begin(), Requests.end(), w) != Requests.end(); }
  std::vector<HWND> Requests;
  static void Pump(DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    do {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    } while (GetTickCount() < until);
  }
  static HWND TopLevelWindow(const wchar_t* cls = L"STATIC") {
    return CreateWindowExW(0, cls, L"probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
};

TEST_F(SkinManagerTest, TheHookCountsTheFirstActivationAndAsksToAttachTheWindow) {
  Manager().InstallHook();
  ASSERT_NE(Manager().HookHandle(), nullptr);
  SwitchOn();
  HWND w = TopLevelWindow();
  ShowWindow(w, SW_SHOW);
  SetActiveWindow(w);
  Pump(50);
  EXPECT_EQ(Manager().Activated(), 1);
  EXPECT_TRUE(Requested(w));
  // The window wears the skin, once however often it is activated...
  ASSERT_NE(Manager().FindFormSkinner(w), nullptr);
  EXPECT_EQ(SendMessageW(w, WM_ISSKINNED, 0, 0), 1);
  HWND other = TopLevelWindow();
  ShowWindow(other, SW_SHOW);
  SetActiveWindow(other);
  SetActiveWindow(w);
  Pump(50);
  EXPECT_EQ(std::count_if(Manager().AllFormSkinners().begin(), Manager().AllFormSkinners().end(),
                          [&](TWinSkinForm* s) { return s->FHandle == w; }),
            1);
  DestroyWindow(other);
  // ...until skinning is switched off on the next tick.
  Manager().SetPendingSkinData(&Skin);
  Manager().RequestAction(saSkinOff, 250);
  Pump(600);
  EXPECT_TRUE(Manager().AllFormSkinners().empty());
  EXPECT_EQ(SendMessageW(w, WM_ISSKINNED, 0, 0), 0);
  // A window gone while skinned leaves its skinner to the next sweep.
  Manager().SetPendingSkinData(&Skin);
  Manager().RequestAction(saSkinOn, kSkinActionDelayMs);
  Manager().RunPendingAction();
  EXPECT_TRUE(Manager().AttachWindow(w));
  DestroyWindow(w);
  Manager().SweepFormSkinners();
  EXPECT_TRUE(Manager().AllFormSkinners().empty());
}

TEST_F(SkinManagerTest, MessageBoxesAndSaveDialogsWearTheSkinToo) {
  Manager().InstallHook();
  SwitchOn();
  const struct {
    const char* Name;
    std::function<void()> Open;
  } dialogs[] = {
      {"message box", [] { MessageBoxW(nullptr, L"请选择分区", L"启明映像向导", MB_OK); }},
      {"save dialog",
       [] {
         gui::TSaveDialog save(nullptr);
         save.Filter = "批处理文件 (*.bat)|*.bat";
         save.Execute();
       }},
  };
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.Name);
    DWORD_PTR skinned = 0;
    {
      qmtest::TDialogWatcher watcher([&](HWND box) {
        for (int i = 0; i < 40 && skinned != 1; ++i) {
          SendMessageTimeoutW(box, WM_ISSKINNED, 0, 0, SMTO_ABORTIFHUNG, 1000, &skinned);
          if (skinned != 1) Sleep(50);
        }
        qmtest::PressButton(box, IDCANCEL);
      });
      d.Open();
    }
    EXPECT_EQ(skinned, 1u);
  }
}

TEST_F(SkinManagerTest, AWindowThatCannotBeTakenOverIsLeftExactlyAsItWasAndSaysWhy) {
  // Another thread's window: its procedure is not this thread's to replace,
  // which the attach finds out only after taking the caption and menu.
  qmtest::TOtherThreadWindow other;
  const HWND w = other.Handle();
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  const HMENU menu = GetMenu(w);
  const LONG_PTR procedure = GetWindowLongPtrW(w, GWLP_WNDPROC);
  ASSERT_NE(menu, nullptr);
  SwitchOn();
  qmtest::TDebugOutput debug;
  EXPECT_FALSE(Manager().AttachWindow(w));
  EXPECT_EQ(Manager().FindFormSkinner(w), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE), style);
  EXPECT_EQ(GetMenu(w), menu);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), procedure);
  EXPECT_EQ(SendMessageW(w, WM_ISSKINNED, 0, 0), 0);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, region), ERROR);
  DeleteObject(region);
  EXPECT_TRUE(debug.Saw({L"form skinner", L"Static"})) << debug.Text();
}

void CALLBACK DropSkinWhileTheMenuIsOpen(HWND, UINT, UINT_PTR id, DWORD);
std::unique_ptr<TSkinData> gGoingSkin;
HWND gOpenPopup = nullptr;

TEST_F(SkinManagerTest, WindowsAndPopupsStillOpenWhenTheirSkinGoesGetTheirOwnLookBack) {
  // The main form (and its skin) goes while a message box and a popup menu
  // are still open.
  Manager().RemoveSkinData(&Skin);
  gGoingSkin = std::make_unique<TSkinData>(nullptr);
  gGoingSkin->PackedSkin = TMemoryStream(test::PackedStoredSkin());
  ASSERT_TRUE(gGoingSkin->LoadSkin());
  Manager().AddSkinData(gGoingSkin.get());
  Manager().InstallHook();
  SwitchOn();
  HWND w = TopLevelWindow();
  ShowWindow(w, SW_SHOW);
  SetActiveWindow(w);
  ASSERT_NE(Manager().FindFormSkinner(w), nullptr);
  qmtest::PumpFor(10000, [&] { return Manager().FindFormSkinner(w)->Phase() == TWinSkinForm::phReady; });
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"打开皮肤");
  SetForegroundWindow(w);
  gOpenPopup = nullptr;
  SetTimer(nullptr, 0, 100, &DropSkinWhileTheMenuIsOpen);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, 100, 100, 0, w, nullptr);
  DestroyMenu(menu);
  EXPECT_NE(gOpenPopup, nullptr) << "the skin went while the popup was open";
  EXPECT_TRUE(Manager().PopupSkinners().empty());
  EXPECT_EQ(Manager().FindFormSkinner(w), nullptr);
  EXPECT_EQ(SendMessageW(w, WM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  // It still paints and answers, from no skin at all.
  SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  DestroyWindow(w);
}

void CALLBACK DropSkinWhileTheMenuIsOpen(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gOpenPopup = FindWindowW(L"#32768", nullptr);
  gGoingSkin.reset();
  if (gOpenPopup) RedrawWindow(gOpenPopup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  EndMenu();
}

// A window that ends itself while its caption is being set, and has the
// manager sweep meanwhile, as a message box it opened would on activation.
LRESULT CALLBACK EndsOnCaption(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(w, msg, wParam, lParam);
  if (msg == WM_SETTEXT) {
    DestroyWindow(w);
    Manager().SweepFormSkinners();
  }
  return result;
}

TEST_F(SkinManagerTest, AWindowEndedInsideItsOwnMessageKeepsItsSkinnerUntilThatMessageIsDone) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = EndsOnCaption;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmEndsOnCaption";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, L"QmEndsOnCaption", L"窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 120, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  SwitchOn();
  ASSERT_TRUE(Manager().AttachWindow(w));
  qmtest::PumpFor(10000, [&] { return Manager().FindFormSkinner(w)->Phase() == TWinSkinForm::phReady; });
  SetWindowTextW(w, L"关闭");
  EXPECT_FALSE(IsWindow(w));
  ASSERT_EQ(Manager().AllFormSkinners().size(), 1u) << "kept while its message ran";
  Manager().SweepFormSkinners();
  EXPECT_TRUE(Manager().AllFormSkinners().empty());
}

TEST_F(SkinManagerTest, NothingIsAttachedWhileSkinningIsOff) {
  Manager().InstallHook();
  HWND w = TopLevelWindow();
  ShowWindow(w, SW_SHOW);
  SetActiveWindow(w);
  Pump(50);
  EXPECT_EQ(Manager().Activated(), 1);
  EXPECT_TRUE(Requests.empty());
  DestroyWindow(w);
}

TEST_F(SkinManagerTest, AFailureInsideTheHookLeavesTheWindowUnskinnedWithoutAWord) {
  std::vector<std::string> reported;
  gui::Application().OnException = [&](const std::string& text) { reported.push_back(text); };
  Manager().SetOnAttachRequest([this](HWND w) {
    Requests.push_back(w);
    throw std::runtime_error("no form skinner");
  });
  Manager().InstallHook();
  SwitchOn();
  HWND first = TopLevelWindow(), second = TopLevelWindow();
  for (HWND w : {first, second}) {
    ShowWindow(w, SW_SHOW);
    SetActiveWindow(w);
    Pump(50);
    EXPECT_EQ(GetActiveWindow(), w);  // the activation went ahead
    EXPECT_TRUE(Requested(w));        // and the hook still works for the next window
  }
  gui::Application().OnException = nullptr;
  EXPECT_TRUE(reported.empty()) << reported.front();
  DestroyWindow(first);
  DestroyWindow(second);
}

TEST_F(SkinManagerTest, SwitchingOffBeforeAnyActivationTakesEffectAtOnce) {
  SwitchOn();
  Manager().RequestAction(saSkinOff, 250);
  EXPECT_FALSE(Manager().Active());
  EXPECT_FALSE(Manager().ActionPending());
  // A change request before activation has nothing to do yet.
  Manager().RequestAction(saSkinChanged, 250);
  EXPECT_FALSE(Manager().ActionPending());
  EXPECT_FALSE(Manager().Active());
}

TEST_F(SkinManagerTest, AfterActivationARequestWaitsForTheNextTick) {
  TSkinData sd(nullptr);
  Manager().AddSkinData(&sd);
  Manager().SkinOwnForm(nullptr);  // on, and counted as activated
  Manager().RequestAction(saSkinOff, 250);
  Manager().SetPendingSkinData(&sd);
  EXPECT_TRUE(Manager().Active());
  EXPECT_TRUE(Manager().ActionPending());
  Pump(600);
  EXPECT_FALSE(Manager().Active());
  EXPECT_FALSE(Manager().ActionPending());
}

TEST_F(SkinManagerTest, ARequestMadeWhileReportingTheLastOneIsKept) {
  TSkinData sd(nullptr);
  Manager().AddSkinData(&sd);
  Manager().SkinOwnForm(nullptr);  // on, and counted as activated
  int reports = 0;
  sd.OnSkinChanged = [&](gui::TComponent*) {
    if (++reports == 1) {  // switch back on as soon as the skin went off
      Manager().RequestAction(saSkinOn, kSkinActionDelayMs);
      Manager().SetPendingSkinData(&sd);
    }
  };
  Manager().RequestAction(saSkinOff, 250);
  Manager().SetPendingSkinData(&sd);
  Pump(1200);
  EXPECT_EQ(reports, 2);
  EXPECT_TRUE(Manager().Active());
  EXPECT_EQ(Manager().PendingSkinData(), nullptr);
}

TEST_F(SkinManagerTest, TheSkinDataForAWindowFollowsItsFormType) {
  Manager().RemoveSkinData(&Skin);
  TSkinData first(nullptr), main(nullptr), dialog(nullptr);
  dialog.SkinFormtype = TSkinFormType::sfDialog;
  for (TSkinData* sd : {&first, &main, &dialog}) Manager().AddSkinData(sd);
  HWND plain = TopLevelWindow();
  HWND box = TopLevelWindow(L"#32770");
  EXPECT_EQ(Manager().FindSkinData(plain), &main);  // the last sfMainform one
  EXPECT_EQ(Manager().FindSkinData(box), &dialog);
  Manager().RemoveSkinData(&dialog);
  EXPECT_EQ(Manager().FindSkinData(box), &main);
  DestroyWindow(plain);
  DestroyWindow(box);
}

TEST_F(SkinManagerTest, TheWindowGateIsTheFirstMainComponents) {
  Manager().RemoveSkinData(&Skin);
  EXPECT_TRUE(Manager().CanSkinWindow("SysMonthCal32"));  // nobody to ask
  TSkinData dialog(nullptr), main(nullptr), later(nullptr);
  dialog.SkinFormtype = TSkinFormType::sfDialog;
  dialog.OnFormSkin = [](gui::TComponent*, const std::string&, bool& doSkin) { doSkin = false; };
  later.OnFormSkin = [](gui::TComponent*, const std::string&, bool& doSkin) { doSkin = false; };
  for (TSkinData* sd : {&dialog, &main, &later}) Manager().AddSkinData(sd);
  EXPECT_FALSE(Manager().CanSkinWindow("SysMonthCal32"));
  EXPECT_TRUE(Manager().CanSkinWindow("TMainForm"));
}

TEST_F(SkinManagerTest, SizeGripsAreRefusedOnlyInsideSkinnedWindows) {
  Manager().InstallHook();
  SwitchOn();
  HWND skinned = TopLevelWindow(), plain = TopLevelWindow();
  ASSERT_TRUE(Manager().AttachWindow(skinned));
  for (HWND parent : {skinned, plain}) {
    HWND grip = CreateWindowExW(0, L"ScrollBar", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 0, 0, 16, 16, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(grip == nullptr, parent == skinned);
  }
  // A plain scroll bar is never refused.
  EXPECT_NE(CreateWindowExW(0, L"ScrollBar", nullptr, WS_CHILD | SBS_VERT, 0, 0, 16, 60, skinned, nullptr,
                            GetModuleHandleW(nullptr), nullptr),
            nullptr);
  DestroyWindow(skinned);
  DestroyWindow(plain);
}

TEST_F(SkinManagerTest, HighContrastSetsTheSkinAsideAndBringsItBackAfter) {
  bool contrast = false;
  gui::HighContrastOverride() = [&] { return contrast; };
  Manager().InstallHook();
  SwitchOn();
  gui::TForm form(nullptr);
  form.Show();
  SetActiveWindow(form.Handle());
  auto skinned = [](HWND w) { return SendMessageW(w, WM_ISSKINNED, 0, 0) == 1; };
  qmtest::PumpFor(1000, [&] { return skinned(form.Handle()); });
  ASSERT_TRUE(skinned(form.Handle()));
  // As the system tells every window when the user switches it.
  auto switchTo = [&](bool on) {
    contrast = on;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  };
  switchTo(true);
  qmtest::PumpFor(1000, [&] { return !skinned(form.Handle()); });
  EXPECT_FALSE(skinned(form.Handle()));
  // A window opened meanwhile looks as the system draws it too.
  HWND opened = TopLevelWindow();
  ShowWindow(opened, SW_SHOW);
  SetActiveWindow(opened);
  Pump(50);
  EXPECT_FALSE(skinned(opened));
  switchTo(false);
  qmtest::PumpFor(1000, [&] { return skinned(form.Handle()) && skinned(opened); });
  EXPECT_TRUE(skinned(form.Handle()));
  EXPECT_TRUE(skinned(opened)) << "the window in front";
  gui::HighContrastOverride() = nullptr;
  DestroyWindow(opened);
}

// The compositor's cloak as windows ask for it, with the skinner's phase at
// the moment of asking.
struct TCloakCall {
  bool Cloaked;
  int Phase;
  bool operator==(const TCloakCall&) const = default;
};
std::vector<TCloakCall> CloakCalls;
HRESULT CloakAnswer = S_OK;
HRESULT WINAPI RecordCloak(HWND window, DWORD attribute, LPCVOID value, DWORD) {
  constexpr DWORD kCloak = 13;
  if (attribute != kCloak) return S_OK;
  const TWinSkinForm* skinner = Manager().FindFormSkinner(window);
  CloakCalls.push_back({*static_cast<const BOOL*>(value) != FALSE, skinner ? skinner->Phase() : -1});
  return CloakAnswer;
}

TEST_F(SkinManagerTest, AnOpeningWindowIsOutOfTheCompositorsSightOnlyUntilItIsDressed) {
  const auto saved = gui::CompositorCalls();
  gui::CompositorCalls().SetWindowAttribute = &RecordCloak;
  Manager().InstallHook();
  SwitchOn();
  const int attaching = TWinSkinForm::phAttaching, ready = TWinSkinForm::phReady;
  const struct {
    const char* Case;
    HRESULT Answer;
    std::vector<TCloakCall> Calls;
  } rows[] = {
      {"a compositor that cloaks", S_OK, {{true, attaching}, {false, ready}}},
      {"one that cannot (before Windows 8)", E_INVALIDARG, {{true, attaching}}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Case);
    CloakAnswer = r.Answer;
    CloakCalls.clear();
    HWND w = TopLevelWindow();
    ShowWindow(w, SW_SHOW);
    SetActiveWindow(w);
    qmtest::PumpFor(1000, [&] {
      const TWinSkinForm* s = Manager().FindFormSkinner(w);
      return s && s->Phase() == ready;
    });
    Pump(20);
    EXPECT_EQ(CloakCalls, r.Calls);
    DestroyWindow(w);
  }
  gui::CompositorCalls() = saved;
}

// Records what the manager does with popup-menu windows.
class TRecordingPopupSkinner : public TPopupWindowSkinner {
 public:
  static inline int Attached = 0, Detached = 0;
  static inline HMENU Shown = nullptr;
  void Attach(HWND Window, TSkinData*) override { FWindow = Window, ++Attached; }
  void Detach() override { ++Detached; }
  HWND Window() const override { return FWindow; }
  HMENU MenuHandle() const override { return Shown; }
  gui::TBitmap* Background() override { return &FBackground; }
  gui::TBitmap FBackground;
  HWND FWindow = nullptr;
};

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
  // While the menu is open: one skinner, found by the menu it shows.
  if (Manager().PopupSkinners().size() == 1 && Manager().FindPopupBackground(TRecordingPopupSkinner::Shown))
    TRecordingPopupSkinner::Shown = nullptr;  // seen
  KillTimer(nullptr, id);
  EndMenu();
}

TEST_F(SkinManagerTest, EachOpenPopupMenuWindowHasOneSkinnerWhileTheMenuBarIsSkinned) {
  Manager().InstallHook();
  SwitchOn();
  Manager().SetPopupSkinnerMaker([] { return std::make_unique<TRecordingPopupSkinner>(); });
  HWND owner = TopLevelWindow();
  ShowWindow(owner, SW_SHOW);
  SetForegroundWindow(owner);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"打开皮肤");
  for (bool menusSkinned : {true, false}) {
    SCOPED_TRACE(menusSkinned ? "menus skinned" : "menus not skinned");
    if (!menusSkinned) Skin.SkinControls.Exclude(TSkinControlType::xcMainMenu);
    TRecordingPopupSkinner::Attached = TRecordingPopupSkinner::Detached = 0;
    TRecordingPopupSkinner::Shown = menu;
    SetTimer(nullptr, 0, 150, &CloseMenuSoon);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, 100, 100, 0, owner, nullptr);
    Pump(50);
    EXPECT_EQ(TRecordingPopupSkinner::Attached, menusSkinned ? 1 : 0);
    EXPECT_EQ(TRecordingPopupSkinner::Detached, TRecordingPopupSkinner::Attached);
    EXPECT_EQ(TRecordingPopupSkinner::Shown == nullptr, menusSkinned) << "found while open";
    EXPECT_TRUE(Manager().PopupSkinners().empty());
  }
  DestroyMenu(menu);
  DestroyWindow(owner);
}

}  // namespace
}  // namespace qm
