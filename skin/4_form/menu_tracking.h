#pragma once
// One popup of a skinned menu bar while it is tracked: a message-filter
// hook of the GUI thread lets the arrow keys and the mouse move on to the
// neighbouring items of the bar, as in a native menu bar, and the menu's
// selection reports say whether the popup closed or the user is moving.
// The opener makes one on its stack for each popup it opens; it lives as
// long as that popup, and the hook finds the thread's current one.

#include <windows.h>

namespace qm {

class TMenuBtn;
class TWinSkinForm;

class TMenuTracking {
 public:
  TMenuTracking(TWinSkinForm& Form, int OpenIndex);
  ~TMenuTracking();
  TMenuTracking(const TMenuTracking&) = delete;
  TMenuTracking& operator=(const TMenuTracking&) = delete;

  // The popup the thread tracks now, or none.
  static TMenuTracking* Current();
  const TWinSkinForm& Form() const { return FForm; }
  // The bar item whose popup the user moved to; -1 when none.
  int SwitchTo() const { return FSwitchTo; }
  // WM_MENUSELECT of the tracked popups; true when the tracking ended.
  bool MenuSelect(WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK FilterProc(int Code, WPARAM wParam, LPARAM lParam);
  LRESULT Filter(int Code, WPARAM wParam, LPARAM lParam);
  // The bar item a key or mouse move asks for, or none.
  TMenuBtn* TargetOf(const MSG& Msg);

  TWinSkinForm& FForm;
  TMenuTracking* const FOuter;
  HHOOK FHook = nullptr;
  const int FOpenIndex;
  // The item selected inside the tracked popups, as the menu reports it.
  HMENU FSelectedMenu = nullptr;
  bool FSelectedHasSubMenu = false;
  POINT FLastMousePos{};
  // The popup closes because the user moves to another item.
  bool FSwitching = false;
  bool FFirstKeySent = false;
  int FSwitchTo = -1;
};

}  // namespace qm
