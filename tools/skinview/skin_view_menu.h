#pragma once
// SkinView's menu bar, with an item of every kind a skin paints (checked,
// radio, with an image, disabled, separators, nested submenus, a long item
// with a short cut), and its MDI window: a frame with two children, for
// the skinned bar of a frame and the buttons of a maximised child.

#include <windows.h>

#include <memory>

namespace gui {
class TImageList;
class TMainMenu;
}

namespace qm {

class TSkinViewForm;

class TSkinViewMenu {
 public:
  explicit TSkinViewMenu(TSkinViewForm& Form);
  ~TSkinViewMenu();
  gui::TMainMenu* Menu() const { return FMenu; }
  // Shows the MDI window, made anew when it was closed; it has two children.
  HWND ShowMDIWindow();
  HWND MDIWindow() const { return FFrame; }

 private:
  static LRESULT CALLBACK FrameProc(HWND, UINT, WPARAM, LPARAM);
  HWND NewChild();
  TSkinViewForm& FForm;
  gui::TMainMenu* FMenu = nullptr;
  std::unique_ptr<gui::TImageList> FImages;
  HWND FFrame = nullptr;
  HWND FClient = nullptr;
  int FChildren = 0;
};

}  // namespace qm
