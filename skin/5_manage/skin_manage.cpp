#include "skin/5_manage/skin_manage.h"

#include <algorithm>
#include <exception>
#include <string>

#include "gui/debug_report.h"
#include "gui/desktop_compositor.h"
#include "gui/forms.h"
#include "gui/system_settings.h"
#include "gui/timer.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/skin_popup_menu.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

// Freed at the program's end unless a test freed it before.
std::unique_ptr<TSkinManage> TheManager;

std::string ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(window, name, 256);
  std::string out;
  for (int i = 0; i < n; ++i) out += name[i] < 0x80 ? static_cast<char>(name[i]) : '?';
  return out;
}

std::string LowerCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

TSkinManage* TSkinManage::Instance() { return TheManager.get(); }

TSkinManage& TSkinManage::Make() {
  if (!TheManager) TheManager.reset(new TSkinManage());
  return *TheManager;
}

void TSkinManage::Free() { delete TheManager.release(); }

TSkinEngine* TSkinManage::Engine(bool Create) { return Create ? &Make() : Instance(); }

}  // namespace qm

// Before main runs, the skin data components learn where their engine is
// made. qm_skin has every program that links it ask for this symbol, so no
// linker leaves this object out for want of a reference.
extern "C" {
extern int qm_skin_engine_installed;
int qm_skin_engine_installed = (qm::SetSkinEngineFinder(&qm::TSkinManage::Engine), 1);
}

namespace qm {

TSkinManage::TSkinManage()
    : FActionTimer(std::make_unique<gui::TTimer>(nullptr)),
      FHighContrast(gui::HighContrastOn()),
      FSettings(std::make_unique<gui::TSettingsListener>([this](UINT) { SettingsChanged(); })) {
  FMakePopupSkinner = [] { return std::make_unique<TWinSkinPopMenu>(); };
  FActionTimer->SetEnabled(false);
  FActionTimer->SetInterval(kSkinActionDelayMs);
  SetFormSkinnerHost(this);
  FActionTimer->OnTimer = [this](gui::TTimer&) {
    // Nothing may unwind through the timer's window procedure.
    try {
      DoAction();
    } catch (...) {
      gui::Application().HandleException(std::current_exception());
    }
  };
}

TSkinManage::~TSkinManage() {
  // From here on whoever asks finds no manager, also when the program's end
  // takes it, whose holder would still point here until this is done.
  if (TheManager.get() == this) static_cast<void>(TheManager.release());
  if (FormSkinnerHost() == this) SetFormSkinnerHost(nullptr);
  FActivated = 4;
  FSettings.reset();
  FActionTimer.reset();
  if (FHookHandle) UnhookWindowsHookEx(FHookHandle);
  FHookHandle = nullptr;
  for (auto& p : FPopupMenus) p->Detach();
  FPopupMenus.clear();
  // The skinners of bare windows are the manager's: their windows, which
  // may live on, get their own look back as when the skin is switched off.
  // Library forms keep theirs, which go with them.
  while (!FOwnedSkinners.empty()) {
    std::unique_ptr<TWinSkinForm> skinner = std::move(FOwnedSkinners.back());
    FOwnedSkinners.pop_back();
    std::erase(FFormSkinners, skinner.get());
  }
  FFormSkinners.clear();
  FSkinDatas.clear();
}

void TSkinManage::AddSkinData(TSkinData* SkinData) {
  // A component registered twice would stay behind as a dangling entry when
  // it is destroyed, since removal takes out only one.
  if (std::find(FSkinDatas.begin(), FSkinDatas.end(), SkinData) == FSkinDatas.end()) FSkinDatas.push_back(SkinData);
}

void TSkinManage::RemoveSkinData(TSkinData* SkinData) {
  auto it = std::find(FSkinDatas.begin(), FSkinDatas.end(), SkinData);
  if (it != FSkinDatas.end()) FSkinDatas.erase(it);
  // Nothing may go on painting from a skin that is going: a message box
  // still open when the main form (and its skin) goes, say.
  for (size_t i = FFormSkinners.size(); i-- > 0;)
    if (i < FFormSkinners.size() && FFormSkinners[i]->SkinData() == SkinData) DetachAndFree(FFormSkinners[i]);
  std::erase_if(FPopupMenus, [&](const std::unique_ptr<TPopupWindowSkinner>& p) {
    if (p->SkinData() != SkinData) return false;
    p->Detach();
    return true;
  });
  // A request still pending for a component that is gone must not reach it.
  if (FPendingSkinData == SkinData) {
    FPendingSkinData = nullptr;
    FActionTimer->SetEnabled(false);
  }
}

void TSkinManage::InstallHook() {
  // One hook serves every component; a second would see each window twice.
  if (FHookHandle) return;
  FOSVersion = GetVersion();
  FHookHandle = SetWindowsHookExW(WH_CBT, &TSkinManage::HookProc, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::HookProc(int Code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* self = Instance();
  if (!self || Code < 0) return CallNextHookEx(self ? self->FHookHandle : nullptr, Code, wParam, lParam);
  try {
    return self->Hook(Code, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the hook, and nothing is shown either: a
    // box opened here, amid a window's creation or activation, would stop
    // the program at every window. The window just stays unskinned.
    gui::DebugReport(L"the skin manager's window hook", reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(self->FHookHandle, Code, wParam, lParam);
  }
}

LRESULT TSkinManage::Hook(int Code, WPARAM wParam, LPARAM lParam) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (Code == HCBT_CREATEWND) {
    const std::string cls = ClassNameOf(window);
    const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    // A size grip would show unskinned in the skinned frame's corner.
    if (cls == "ScrollBar" && (cs->style & SBS_SIZEGRIP) && FindFormSkinner(cs->hwndParent)) return 10;
    if (cls == "#32768") AttachPopupMenu(window);
  } else if (Code == HCBT_DESTROYWND) {
    DetachPopupMenu(window);
  } else if (Code == HCBT_ACTIVATE) {
    CountActivation();
    // A window opening shows the native frame's opening animation unless
    // the compositor keeps it out of sight until the skin has fitted it.
    if (AttachWindow(window) && !(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
      if (TWinSkinForm* skinner = FindFormSkinner(window);
          skinner && skinner->SkinsFrame() && skinner->Attached() && gui::SetCloaked(window, true))
        skinner->SetCloakedUntilAttached();
  }
  return CallNextHookEx(FHookHandle, Code, wParam, lParam);
}

void TSkinManage::RequestAction(int Action, unsigned Interval) {
  FPendingAction = Action;
  FActionTimer->SetInterval(Interval);
  if (FActivated != 0) {
    FActionTimer->SetEnabled(true);
    return;
  }
  // Before the first activation the windows are attached one by one as they
  // are activated, so only the switch itself is recorded.
  if (Action == saSkinOn) FActive = true;
  if (Action == saSkinOff) FActive = false;
}

void TSkinManage::CountActivation() {
  if (FActivated == 0) FActivated = 1;
}

void TSkinManage::RunPendingAction() { DoAction(); }

void TSkinManage::HoldPendingActionForTest() { FActionTimer->SetEnabled(false); }

bool TSkinManage::ActionPending() const { return FActionTimer && FActionTimer->Enabled(); }

int TSkinManage::PendingAction() const { return ActionPending() ? FPendingAction : saNone; }

void TSkinManage::SkinOwnForm(HWND Form) {
  FActive = true;
  FActivated += 1;
  if (Form) AttachWindow(Form);
}

bool TSkinManage::AttachWindow(HWND Handle) {
  if (!Skinning() || !Handle) return false;
  if (SendMessageW(Handle, WM_ISSKINNED, 0, 0) == 1) return false;
  SweepFormSkinners();
  if (FindFormSkinner(Handle)) return false;
  gui::TCustomForm* form = gui::Screen().FindForm(Handle);
  const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
  if (!FForceAttach && (style & WS_CHILD) && LowerCase(ClassNameOf(GetParent(Handle))) == "mdiclient") return false;
  RECT r;
  GetWindowRect(Handle, &r);
  if ((r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form && form->Tag == 99) return false;
  const std::string cls = ClassNameOf(Handle);
  if (cls == "TApplication" || !CanSkinWindow(cls)) return false;
  TSkinData* sd = FindSkinData(Handle);
  if (!sd || sd->SkinEmpty) return false;
  if (FOnAttachRequest) FOnAttachRequest(Handle);
  TWinSkinForm* skinner = nullptr;
  if (form) {
    skinner = form->Make<TWinSkinForm>();
    skinner->FHandle = Handle;
    if (!skinner->AttachLibraryForm(sd, form)) {
      // The window is as it was; its skinner goes again.
      skinner->Free();
      return false;
    }
  } else {
    auto made = std::make_unique<TWinSkinForm>(nullptr);
    made->FHandle = Handle;
    if (!made->Attach(sd)) return false;
    skinner = made.get();
    FOwnedSkinners.push_back(std::move(made));
  }
  FFormSkinners.push_back(skinner);
  PostMessageW(Handle, WM_SKINATTACHED, 0, 1000);
  return true;
}

bool TSkinManage::AttachPopupMenu(HWND Handle) {
  if (!Skinning() || !FMakePopupSkinner || SendMessageW(Handle, WM_ISSKINNED, 0, 0) == 1) return false;
  for (const auto& p : FPopupMenus)
    if (p->Window() == Handle) return false;
  TSkinData* sd = FindSkinData(Handle);
  if (!sd || sd->SkinEmpty || !sd->SkinControls.Contains(TSkinControlType::xcMainMenu)) return false;
  std::unique_ptr<TPopupWindowSkinner> skinner = FMakePopupSkinner();
  if (!skinner) return false;
  skinner->Attach(Handle, sd);
  FPopupMenus.push_back(std::move(skinner));
  return true;
}

void TSkinManage::DetachPopupMenu(HWND Handle) {
  auto it = std::find_if(FPopupMenus.begin(), FPopupMenus.end(), [&](const auto& p) { return p->Window() == Handle; });
  if (it == FPopupMenus.end()) return;
  std::unique_ptr<TPopupWindowSkinner> skinner = std::move(*it);
  FPopupMenus.erase(it);
  skinner->Detach();
}

gui::TBitmap* TSkinManage::FindPopupBackground(HMENU Menu) const {
  // Popups that wait for their menu carry none; they are nobody's picture.
  if (!Menu) return nullptr;
  for (const auto& p : FPopupMenus)
    if (p->MenuHandle() == Menu) return p->Background();
  return nullptr;
}

TWinSkinForm* TSkinManage::FindFormSkinner(HWND Handle) const {
  for (TWinSkinForm* s : FFormSkinners)
    if (s->FHandle == Handle) return s;
  return nullptr;
}

void TSkinManage::RemoveFormSkinner(const TWinSkinForm* Skinner) { std::erase(FFormSkinners, Skinner); }

void TSkinManage::DetachAndFree(TWinSkinForm* Skinner) {
  const HWND window = Skinner->FHandle;
  Skinner->Detach();
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  FreeFormSkinner(Skinner);
}

void TSkinManage::FreeFormSkinner(TWinSkinForm* Skinner) {
  if (Skinner->InMessage()) {
    // Its window procedure is still running under us; freeing it now would
    // pull the skinner out from under that code.
    Skinner->Retire();
    return;
  }
  std::erase(FFormSkinners, Skinner);
  if (Skinner->Owner()) {
    Skinner->Free();
    return;
  }
  std::erase_if(FOwnedSkinners, [&](const auto& owned) { return owned.get() == Skinner; });
}

void TSkinManage::SweepFormSkinners() {
  for (size_t i = FFormSkinners.size(); i-- > 0;)
    if (i < FFormSkinners.size() && FFormSkinners[i]->Phase() == TWinSkinForm::phDead && !FFormSkinners[i]->InMessage())
      FreeFormSkinner(FFormSkinners[i]);
}

bool TSkinManage::AttachMDIChild(HWND Handle) {
  const bool forced = FForceAttach;
  FForceAttach = true;
  const bool attached = AttachWindow(Handle);
  FForceAttach = forced;
  return attached;
}

void TSkinManage::AttachForm(gui::TCustomForm* Form) {
  if (!Form->Visible() || !Form->HandleAllocated()) return;
  if ((GetWindowLongPtrW(Form->Handle(), GWL_STYLE) & WS_CHILD) && Form->FormStyle != gui::TFormStyle::fsMDIChild) return;
  AttachWindow(Form->Handle());
}

void TSkinManage::AttachForms(const TSkinData* OnlyFor) {
  FForceAttach = true;
  SweepFormSkinners();
  for (int i = gui::Screen().FormCount() - 1; i >= 0; --i) {
    gui::TCustomForm* form = gui::Screen().Forms(i);
    if (OnlyFor && form != OnlyFor->Owner()) continue;
    AttachForm(form);
  }
  FForceAttach = false;
}

void TSkinManage::DetachFormSkinners(const std::function<bool(TWinSkinForm*)>& Which) {
  SweepFormSkinners();
  for (size_t i = FFormSkinners.size(); i-- > 0;) {
    // A detach can take other skinners with it (an MDI frame's children).
    if (i >= FFormSkinners.size()) continue;
    TWinSkinForm* s = FFormSkinners[i];
    if (Which(s)) DetachAndFree(s);
  }
}

void TSkinManage::SettingsChanged() {
  const bool contrast = gui::HighContrastOn();
  if (contrast == FHighContrast) return;
  FHighContrast = contrast;
  if (!FActive) return;
  if (contrast) {
    // The windows look as the system draws them while high contrast lasts.
    DetachFormSkinners([](TWinSkinForm*) { return true; });
    for (auto& p : FPopupMenus) p->Detach();
    FPopupMenus.clear();
    return;
  }
  AttachForms(nullptr);
  // A foreign window in front (a dialog, the help viewer) is not waited for
  // until it is activated again.
  if (HWND active = GetActiveWindow(); active && !FindFormSkinner(active)) AttachWindow(active);
}

TSkinData* TSkinManage::FindSkinData(HWND Handle) const {
  TSkinData* found = nullptr;
  for (TSkinData* sd : FSkinDatas) {
    auto* form = dynamic_cast<gui::TCustomForm*>(sd->Owner());
    if (sd->SkinFormtype == TSkinFormType::sfOnlyThisForm && form && form->HandleAllocated() &&
        form->Handle() == Handle)
      found = sd;
  }
  if (found) return found;
  const std::string cls = LowerCase(ClassNameOf(Handle));
  if (cls == "tmessageform" || cls == "#32770")
    for (TSkinData* sd : FSkinDatas)
      if (sd->SkinFormtype == TSkinFormType::sfDialog) found = sd;
  if (found) return found;
  for (TSkinData* sd : FSkinDatas)
    if (sd->SkinFormtype == TSkinFormType::sfMainform) found = sd;
  if (found) return found;
  return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

bool TSkinManage::CanSkinWindow(const std::string& ClassName) const {
  for (TSkinData* sd : FSkinDatas)
    if (sd->SkinFormtype == TSkinFormType::sfMainform) {
      bool doSkin = true;
      sd->DoFormSkin(ClassName, doSkin);
      return doSkin;
    }
  return true;
}

void TSkinManage::DoAction() {
  if (!FPendingSkinData) return;
  FActionTimer->SetEnabled(false);
  const bool onlyThis = FPendingSkinData->SkinFormtype == TSkinFormType::sfOnlyThisForm;
  auto uses = [&](TWinSkinForm* s) { return !onlyThis || s->SkinData() == FPendingSkinData; };
  switch (FPendingAction) {
    case saSkinOn:
      FActive = true;
      AttachForms(onlyThis ? FPendingSkinData : nullptr);
      break;
    case saSkinOff:
      FActive = false;
      DetachFormSkinners(uses);
      break;
    case saSkinChanged: {
      SweepFormSkinners();
      std::vector<TWinSkinForm*> changed;
      for (TWinSkinForm* s : FFormSkinners)
        if (uses(s)) changed.push_back(s);
      for (TWinSkinForm* s : changed) s->ApplySkin();
      for (TWinSkinForm* s : changed) s->Frame().Refresh();
      break;
    }
    default: break;
  }
  TSkinData* done = FPendingSkinData;
  FPendingSkinData = nullptr;
  done->DoSkinChanged();
}

}  // namespace qm
