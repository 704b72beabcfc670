#pragma once
// Objects of a skinned window's non-client area that the mouse can point
// at: the caption buttons (and, later, the menu-bar items). Each is normal,
// hot or pressed; at most one object of a window is hot or pressed at a
// time, and the form skinner knows which.

#include <windows.h>

#include <memory>

namespace qm {

class TWinSkinForm;
class TDataSkinSysButton;
class TLoadedSkin;

class TNCObject {
 public:
  enum TState : int { stNormal = 1, stPressed = 2, stHot = 3 };

  explicit TNCObject(TWinSkinForm& Owner) : FOwner(Owner) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  RECT FBounds{};  // window coordinates
  bool FVisible = false;
  int FState = stNormal;

 protected:
  TWinSkinForm& FOwner;
};

// One caption button, as the skin describes it (the description is shared
// by every window the skin is on). The button keeps that skin alive: its
// description and image stay valid for as long as the button exists,
// whatever the skin data loads meanwhile.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm& Owner, std::shared_ptr<const TLoadedSkin> Skin, const TDataSkinSysButton& Data)
      : TNCObject(Owner), FSkin(std::move(Skin)), FData(Data) {}
  void Paint() override;
  // One of the maximised MDI child's buttons, which the frame's menu bar
  // shows rather than the title.
  bool InMenuBar() const;
  const std::shared_ptr<const TLoadedSkin> FSkin;
  const TDataSkinSysButton& FData;  // within FSkin
};

}  // namespace qm
