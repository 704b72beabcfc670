#pragma once
// The menu side of a form skinner: the bar it draws in place of the
// window's native one, the popups opened from it (and the neighbours the
// user moves to), the menu keys of the window, and the native items it
// switched to owner-drawn for the skin to paint.

#include <windows.h>

#include <utility>
#include <vector>

namespace qm {

class TMenuBtn;
class TWinSkinForm;
class TWinSkinMenu;

class TFormMenu {
 public:
  explicit TFormMenu(TWinSkinForm& Form) : FForm(Form) {}
  TFormMenu(const TFormMenu&) = delete;
  TFormMenu& operator=(const TFormMenu&) = delete;

  // The bar, built from the window's menu, which it takes off the window.
  void Create();
  // GiveBack: the window gets its native menu bar again.
  void Free(bool GiveBack);
  // The owner has freed the bar with its other components.
  void Forget() { FBar = nullptr; }
  void Repaint();
  // After a menu change went through the form: the bar follows it unless
  // Rebuild says not to; the native bar stays off either way.
  void MenuChanged(bool Rebuild);

  // Opens the item's popup (and the neighbours the user moves to); false
  // when it has none.
  bool OpenButton(TMenuBtn* Item);
  // Opens the item's popup from the message loop, as a click on it would.
  void PressButton(TMenuBtn* Item);
  TMenuBtn* ButtonByAccel(wchar_t Key) const;
  // Alt+key for the bar; true when an item took it.
  bool DialogChar(WPARAM Key);
  // The WM_SYSCOMMAND keys of the native bar; true when swallowed.
  bool KeyFilter(WPARAM wParam, LPARAM lParam);
  void MenuSelect(WPARAM wParam, LPARAM lParam);
  void EndTracking() { FTracking = false; }
  // Switches a popup's items, at every level, to being drawn by the window.
  void MakeOwnerDraw(HMENU Menu);

  // The bar drawn in place of the window's native menu, or none.
  TWinSkinMenu* Bar() const { return FBar; }
  // The popup tracked from the bar now, or none.
  HMENU TrackedPopup() const { return FTrackedPopup; }
  // Whoever tracks a native popup of the window tells the item painter,
  // which measures that popup's items by their text.
  void SetTrackedPopup(HMENU Menu) { FTrackedPopup = Menu; }
  bool Tracking() const { return FTracking; }

 private:
  void RestoreOwnerDraw();
  // Tracks Item's popup; the item the user moved to, or -1.
  int TrackOne(TMenuBtn& Item);

  TWinSkinForm& FForm;
  // Owned by the form skinner as a component.
  TWinSkinMenu* FBar = nullptr;
  bool FTracking = false;
  // The native popup tracked from the menu bar, whose items are measured by
  // their text; null when none is open.
  HMENU FTrackedPopup = nullptr;
  // Items switched to owner-drawn here (menu, position), given their type back.
  std::vector<std::pair<HMENU, UINT>> FOwnerDrawn;
};

}  // namespace qm
