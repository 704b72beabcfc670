#pragma once
// The process-wide skin manager: registers the skin data components, watches
// the GUI thread's windows through a CBT hook and carries out the requests
// to switch the skin on, off or to another skin on its 250 ms action timer.
//
// Form and popup skinners are attached here by the form-skinning layer; until
// that exists the manager keeps the switching state and tells OnAttachRequest
// of the windows it was asked to attach.

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
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // The engine the skin data components reach (made on first need when
  // Make is set).
  static TSkinEngine* Engine(bool Make);

  // Called by TSkinData.
  void AddSkinData(TSkinData* SkinData) override;
  void RemoveSkinData(TSkinData* SkinData) override;
  void InstallHook() override;
  void RequestAction(int Action, unsigned Interval) override;
  void SetPendingSkinData(TSkinData* SkinData) override { PendingSkinData = SkinData; }
  void SkinOwnForm(HWND Form) override;
  // A top-level window to skin; true when a form skinner was created.
  bool AttachWindow(HWND Handle);
  // A popup-menu window being made; true when a popup skinner took it.
  bool AttachPopupMenu(HWND Handle);
  void DetachPopupMenu(HWND Handle);
  // The background of the popup window showing a menu, or nullptr.
  gui::TBitmap* FindPopupBackground(HMENU Menu) const override;

  // Called by the form skinners.
  TWinSkinForm* FindFormSkinner(HWND Handle) const override;
  const std::vector<TWinSkinForm*>& AllFormSkinners() const override { return FormSkinners; }
  const std::vector<TSkinData*>& AllSkinData() const override { return SkinDatas; }
  // Takes a skinner out of the list without freeing it (it is being freed).
  void RemoveFormSkinner(HWND Handle);
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
  bool Skinning() const override { return Active && !HighContrast; }

  std::unique_ptr<gui::TTimer> ActionTimer;
  HHOOK HookHandle = nullptr;
  std::vector<TSkinData*> SkinDatas;
  // Every form skinner made, in order. A library form's skinner is owned by
  // the form; the others by the manager (OwnedSkinners).
  std::vector<TWinSkinForm*> FormSkinners;
  bool Active = false;
  // The user asked for high contrast: skinning steps aside while that
  // lasts, and comes back after, as Active says.
  bool HighContrast = false;
  bool ForceAttach = false;
  int Activated = 0;
  int PendingAction = saNone;
  TSkinData* PendingSkinData = nullptr;
  DWORD OSVersion = 0;
  // Told of each window that passed the gates for a form skinner. Unset in
  // the program; the manager keeps no record of windows itself.
  std::function<void(HWND)> OnAttachRequest;
  // Makes the popup skinners (TWinSkinPopMenu unless replaced); unset,
  // popup menus keep their native look.
  std::function<std::unique_ptr<TPopupWindowSkinner>()> MakePopupSkinner;
  std::vector<std::unique_ptr<TPopupWindowSkinner>> PopupMenus;

 protected:
  // One tick of the action timer: carries out the pending request.
  void DoAction();
  // A change of system settings, heard once it is over.
  void SettingsChanged();

 private:
  static LRESULT CALLBACK HookProc(int Code, WPARAM wParam, LPARAM lParam);
  void AttachForm(gui::TCustomForm* Form);
  // Every shown library form (of one skin data component, or all).
  void AttachForms(const TSkinData* OnlyFor);
  // Gives the windows that Which picks their native looks back.
  void DetachFormSkinners(const std::function<bool(TWinSkinForm*)>& Which);
  std::unique_ptr<gui::TSettingsListener> FSettings;
  // Takes a skinner out of the list and frees it; one inside a message of
  // its window is only marked for the next sweep.
  void FreeFormSkinner(TWinSkinForm* Skinner);
  // Switches a skinner off and frees it, as switching the skin off does.
  void DetachAndFree(TWinSkinForm* Skinner);
  std::vector<std::unique_ptr<TWinSkinForm>> FOwnedSkinners;
  LRESULT Hook(int Code, WPARAM wParam, LPARAM lParam);
};

// The one manager, made by the first skin data component that finishes
// loading; freed at the end of the program.
extern std::unique_ptr<TSkinManage> SkinManager;

}  // namespace qm
