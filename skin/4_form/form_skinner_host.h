#pragma once
// What the form and popup skinners ask of the one skin manager above them:
// the other skinners of the process and the components it keeps. The
// manager registers itself here while it lives; a skinner that outlives it
// (its form freed after the manager) finds no host and asks nothing.

#include <windows.h>

#include <vector>

namespace gui {
class TBitmap;
}

namespace qm {

class TSkinData;
class TWinSkinForm;

class TFormSkinnerHost {
 public:
  // Skinning is on and the system does not ask for its own looks.
  virtual bool Skinning() const = 0;
  virtual const std::vector<TSkinData*>& AllSkinData() const = 0;
  virtual const std::vector<TWinSkinForm*>& AllFormSkinners() const = 0;
  virtual TWinSkinForm* FindFormSkinner(HWND Handle) const = 0;
  // Takes a skinner out of the list without freeing it (it is being freed).
  virtual void RemoveFormSkinner(const TWinSkinForm* Skinner) = 0;
  // A child just made through a skinned frame's MDI client.
  virtual bool AttachMDIChild(HWND Handle) = 0;
  // The background of the popup window showing a menu, or nullptr.
  virtual gui::TBitmap* FindPopupBackground(HMENU Menu) const = 0;

 protected:
  ~TFormSkinnerHost() = default;
};

// The manager while it lives, else null.
TFormSkinnerHost* FormSkinnerHost();
void SetFormSkinnerHost(TFormSkinnerHost* Host);

}  // namespace qm
