#pragma once
// What the control skinners of a window know of that window's form skinner,
// which lives in the layer above them: the skin it paints with, the list of
// skinners it keeps and frees, and the one push button under the mouse.

#include <windows.h>

#include <memory>
#include <vector>

namespace gui {
class TComponent;
}

namespace qm {

class TLoadedSkin;
class TSkinControl;

class TFormSkinnerLink {
 public:
  // The form skinner as a component: the owner of the skinners of bare
  // windows and of the kinds its rows say it owns.
  virtual gui::TComponent* LinkComponent() = 0;
  // The top-level window it skins.
  virtual HWND SkinnedWindow() const = 0;
  // The skin the window is built from; its controls paint with the same.
  virtual const std::shared_ptr<const TLoadedSkin>& Skin() const = 0;
  // Lists a skinner; true when it was listed already.
  virtual bool AddControl(TSkinControl* Skinner) = 0;
  virtual void RemoveControl(TSkinControl* Skinner) = 0;
  // Frees the skinners whose window is gone.
  virtual void SweepControls() = 0;
  virtual const std::vector<TSkinControl*>& ControlSkinners() const = 0;
  // The push-button skinner under the mouse, among this window's buttons.
  virtual TSkinControl* HotButton() const = 0;
  virtual void SetHotButton(TSkinControl* Skinner) = 0;

 protected:
  ~TFormSkinnerLink() = default;
};

}  // namespace qm
