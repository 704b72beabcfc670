#pragma once
// The system menu of a skinned window, drawn with the skin's menu items and
// glyphs (or the native one where the skin leaves it), and the window
// commands that it, the caption buttons and the title share.

#include <windows.h>

#include "skin/4_form/form_window.h"

namespace gui {
class TMenuItem;
class TPopupMenu;
}

namespace qm {

class TWinSkinForm;

class TSystemMenu {
 public:
  explicit TSystemMenu(TWinSkinForm& Form);
  TSystemMenu(const TSystemMenu&) = delete;
  TSystemMenu& operator=(const TSystemMenu&) = delete;

  // The window's native system menu, read at attach; whether it has one.
  bool ReadNative();
  // Made when first asked for: most windows never open it, and making it
  // costs their start-up several milliseconds.
  gui::TPopupMenu* Popup();
  gui::TPopupMenu* PopupIfMade() const { return FPopup; }
  void Free();
  // The owner has freed the popup with its other components.
  void Forget() { FPopup = nullptr; }
  // At P (screen); a second request within the double-click time closes
  // the window, as a double click on a system-menu box does.
  void Show(POINT P);
  // Alt+Space: under the window's top-left corner.
  void ShowFromKeyboard();
  void ReadDoubleClickTime();

  void ToggleMaximize();
  void ToggleMinimize();
  void RestoreWindow();
  void CloseWindow();

 private:
  void Build();
  // Enables the items by the window's state.
  void Update();
  void PopupAt(POINT P);
  void ItemClick(gui::TMenuItem& Item);
  // To State, or back to normal from it.
  void Toggle(TFormWindow::TWindowState State, WPARAM Command);

  TWinSkinForm& FForm;
  // Owned by the form skinner as a component.
  gui::TPopupMenu* FPopup = nullptr;
  HMENU FNative = nullptr;
  DWORD FLastTick = 0;
  DWORD FDoubleClickTime = 0;
};

}  // namespace qm
