#pragma once
// TControlDispatch: which control skinner each control of a skinned window
// gets, right after its form skinner attached. Library controls are matched
// by the host's OnSkinControl, then by the Skin3rd list of foreign classes,
// then by the library's class rows; bare child windows (message boxes,
// common dialogs) by their window class.

#include <windows.h>

#include <string>

namespace gui {
class TComponent;
}

namespace qm {

class TFormSkinnerLink;
class TSkinControl;
class TSkinData;

class TControlDispatch {
 public:
  TControlDispatch(TFormSkinnerLink& Form, TSkinData& SkinData) : FForm(Form), FSkinData(SkinData) {}

  // A skinner for each control owned by Container.
  void SkinComponents(gui::TComponent* Container);
  void SkinComponent(gui::TComponent* Component, gui::TComponent* Container);
  // The Skin3rd list's answer for a class: true when the class is listed,
  // whether or not a skinner was made.
  bool SkinByKind(const std::string& ClassName, gui::TComponent* Component);
  // Bare windows: a skinner for each child window by its class.
  void SkinChildWindows();
  void SkinChildWindow(HWND Child);

 private:
  bool IsAlreadySkinned(gui::TComponent* Component, gui::TComponent* Container) const;
  // Starts a skinner; one that cannot start is freed, its control left as
  // it was.
  void StartSkinner(TSkinControl* Skinner, gui::TComponent* Component, int Start, bool Recolour);
  void StartSkinnerAs(TSkinControl* Skinner, gui::TComponent* Component, int Start, bool Recolour);

  TFormSkinnerLink& FForm;
  TSkinData& FSkinData;
};

}  // namespace qm
