#pragma once
// The control skinners of a form skinner's window: the list the skinners
// enter and leave, the push button under the mouse, and the dispatch that
// gives each control its skinner. The control skinners know the form
// skinner only as this link.

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/3_controls/form_skinner_link.h"

namespace qm {

class TWinSkinForm;

class TFormControls final : public TFormSkinnerLink {
 public:
  explicit TFormControls(TWinSkinForm& Form) : FForm(Form) {}
  TFormControls(const TFormControls&) = delete;
  TFormControls& operator=(const TFormControls&) = delete;

  gui::TComponent* LinkComponent() override;
  HWND SkinnedWindow() const override;
  const std::shared_ptr<const TLoadedSkin>& Skin() const override;
  // Lists a skinner; true when it was listed already.
  bool AddControl(TSkinControl* Skinner) override;
  void RemoveControl(TSkinControl* Skinner) override;
  // Frees the skinners whose window is gone.
  void SweepControls() override;
  const std::vector<TSkinControl*>& ControlSkinners() const override { return FControls; }
  // The push-button skinner under the mouse, among this window's buttons.
  TSkinControl* HotButton() const override { return FHotButton; }
  void SetHotButton(TSkinControl* Skinner) override { FHotButton = Skinner; }

  // A skinner for every control of the window (or of its library form).
  void SkinAll();
  // A bare child window made after the attach: a skinner by its class.
  void SkinChildWindow(HWND Child);
  // Gives every control its own look back and frees every skinner.
  void FreeAll();
  void SkinChanged();
  // Tells the hot push-button skinner the mouse has left, and forgets it.
  void ReleaseHotButton();
  // The same when the cursor is no longer over that button.
  void ReleaseHotButtonIfLeft(POINT Cursor);

 private:
  TWinSkinForm& FForm;
  std::vector<TSkinControl*> FControls;
  TSkinControl* FHotButton = nullptr;
};

}  // namespace qm
