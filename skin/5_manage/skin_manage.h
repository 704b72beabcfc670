#pragma once
// The process-wide skin manager: registers the skin data components, watches
// the GUI thread's windows through a CBT hook, gives each window it may skin
// a form or popup skinner, and carries out the requests to switch the skin
// on, off or to another skin on its action timer.
//
// There is one, made by the first skin data component that finishes loading
// and freed at the program's end. Its state is its own: the components, the
// skinners and tests change it only through the operations below.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/1_data/skin_engine.h"
#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/popup_window_skinner.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace gui {
class TBitmap;
class TCustomForm;
class TSettingsListener;
class TTimer;
}

namespace qm {

class TSkinData;

class TSkinManage final : public TSkinEngine, public TFormSkinnerHost {
 public:
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // The one manager of the process, or null before the first skin data
  // component finished loading (and after Free).
  static TSkinManage* Instance();
  // The one manager, made now if there is none.
  static TSkinManage& Make();
  // Frees the one manager, as the program's end does; a test starts from
  // none with it.
  static void Free();
  // The engine the skin data components reach (made on first need when
  // Create is set).
  static TSkinEngine* Engine(bool Create);

  // Called by TSkinData.
  void AddSkinData(TSkinData* SkinData) override;
  void RemoveSkinData(TSkinData* SkinData) override;
  void InstallHook() override;
  void RequestAction(int Action, unsigned Interval) override;
  void SetPendingSkinData(TSkinData* SkinData) override { FPendingSkinData = SkinData; }
  void SkinOwnForm(HWND Form) override;
  // A top-level window to skin; true when a form skinner was created.
  bool AttachWindow(HWND Handle);
  // A popup-menu window being made; true when a popup skinner took it.
  bool AttachPopupMenu(HWND Handle);
  void DetachPopupMenu(HWND Handle);
  // The background of the popup window showing a menu, or nullptr.
  gui::TBitmap* FindPopupBackground(HMENU Menu) const override;
  // A window of the thread was activated, as the hook tells: from the first
  // on, requests wait for the action timer instead of switching at once.
  void CountActivation();
  // Carries out the pending request now, as the action timer's next tick
  // would (nothing when no component asked).
  void RunPendingAction();

  // Called by the form skinners.
  TWinSkinForm* FindFormSkinner(HWND Handle) const override;
  const std::vector<TWinSkinForm*>& AllFormSkinners() const override { return FFormSkinners; }
  const std::vector<TSkinData*>& AllSkinData() const override { return FSkinDatas; }
  // Takes a skinner out of the list without freeing it (it is being freed).
  void RemoveFormSkinner(const TWinSkinForm* Skinner) override;
  // Frees every skinner whose window is gone, unless a message of its is
  // still under way (the next sweep frees it then).
  void SweepFormSkinners();
  // A child just made through a skinned frame's MDI client. Children are
  // otherwise attached only in bulk: when they are activated the hook sees
  // nothing, and a half-made child must not be taken over.
  bool AttachMDIChild(HWND Handle) override;

  // The skin data that speaks for a window: an sfOnlyThisForm component of
  // its owner form, an sfDialog one for message boxes and dialogs, else the
  // last sfMainform one, else the first registered.
  TSkinData* FindSkinData(HWND Handle) const;
  // Whether a window class may be skinned, as the first sfMainform
  // component's OnFormSkin or default rule says.
  bool CanSkinWindow(const std::string& ClassName) const;

  // Skinning is on and the system does not ask for its own looks.
  bool Skinning() const override { return FActive && !FHighContrast; }
  // Skinning is switched on (whatever the system asks for meanwhile).
  bool Active() const { return FActive; }
  // 0 until the first window activation; 4 while the manager goes.
  int Activated() const { return FActivated; }
  HHOOK HookHandle() const { return FHookHandle; }
  // The request waiting for the action timer, or saNone.
  int PendingAction() const;
  bool ActionPending() const;
  // The component the pending (or last unfinished) request is for.
  TSkinData* PendingSkinData() const { return FPendingSkinData; }
  const std::vector<std::unique_ptr<TPopupWindowSkinner>>& PopupSkinners() const { return FPopupMenus; }

  // Makes the popup skinners (TWinSkinPopMenu unless replaced); unset,
  // popup menus keep their native look.
  void SetPopupSkinnerMaker(std::function<std::unique_ptr<TPopupWindowSkinner>()> Maker) {
    FMakePopupSkinner = std::move(Maker);
  }
  // Told of each window that passed the gates for a form skinner. Unset in
  // the program; the manager keeps no record of windows itself.
  void SetOnAttachRequest(std::function<void(HWND)> Handler) { FOnAttachRequest = std::move(Handler); }

  // Test seams. The switch alone, without the attaching or detaching that
  // carrying out a request brings; and the action timer held back (the
  // request stays pending for RunPendingAction).
  void SetActiveForTest(bool Value) { FActive = Value; }
  void HoldPendingActionForTest();

 private:
  TSkinManage();
  static LRESULT CALLBACK HookProc(int Code, WPARAM wParam, LPARAM lParam);
  LRESULT Hook(int Code, WPARAM wParam, LPARAM lParam);
  // One tick of the action timer: carries out the pending request.
  void DoAction();
  // A change of system settings, heard once it is over.
  void SettingsChanged();
  void AttachForm(gui::TCustomForm* Form);
  // Every shown library form (of one skin data component, or all).
  void AttachForms(const TSkinData* OnlyFor);
  // Gives the windows that Which picks their native looks back.
  void DetachFormSkinners(const std::function<bool(TWinSkinForm*)>& Which);
  // Takes a skinner out of the list and frees it; one inside a message of
  // its window is only marked for the next sweep.
  void FreeFormSkinner(TWinSkinForm* Skinner);
  // Switches a skinner off and frees it, as switching the skin off does.
  void DetachAndFree(TWinSkinForm* Skinner);

  std::unique_ptr<gui::TTimer> FActionTimer;
  HHOOK FHookHandle = nullptr;
  std::vector<TSkinData*> FSkinDatas;
  // Every form skinner made, in order. A library form's skinner is owned by
  // the form; the others by the manager (FOwnedSkinners).
  std::vector<TWinSkinForm*> FFormSkinners;
  std::vector<std::unique_ptr<TWinSkinForm>> FOwnedSkinners;
  bool FActive = false;
  // The user asked for high contrast: skinning steps aside while that
  // lasts, and comes back after, as FActive says.
  bool FHighContrast = false;
  bool FForceAttach = false;
  int FActivated = 0;
  int FPendingAction = saNone;
  TSkinData* FPendingSkinData = nullptr;
  DWORD FOSVersion = 0;
  std::function<void(HWND)> FOnAttachRequest;
  std::function<std::unique_ptr<TPopupWindowSkinner>()> FMakePopupSkinner;
  std::vector<std::unique_ptr<TPopupWindowSkinner>> FPopupMenus;
  std::unique_ptr<gui::TSettingsListener> FSettings;
};

}  // namespace qm
