#pragma once
// The menu bar a skinned window draws in place of the native one: one
// TMenuBtn per top-level item of the window's menu, painted over the skin's
// bar picture, hot under the mouse and pressed while its popup is open. The
// popup itself is the item's native submenu tracked with TrackPopupMenu; a
// message-filter hook of the GUI thread lets the arrow keys and the mouse
// move from one top-level popup to the next, as in a native menu bar.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/component.h"
#include "gui/graphics.h"
#include "skin/4_form/nc_object.h"

namespace gui {
class TMainMenu;
}

namespace qm {

class TLoadedSkin;
class TWinSkinForm;
class TWinSkinMenu;

class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm& Owner, TWinSkinMenu& Bar) : TNCObject(Owner), FBar(Bar) {}
  void Paint() override;

  int FIndex = 0;
  // With "&" accelerator marks; empty for items that are neither shown nor hit.
  std::wstring FCaption;
  bool FEnabled = true;
  HMENU FSubMenu = nullptr;
  UINT FCommand = 0;

 private:
  TWinSkinMenu& FBar;
};

class TWinSkinMenu : public gui::TComponent {
  QM_GUI_CLASS(TWinSkinMenu, gui::TComponent)
 public:
  explicit TWinSkinMenu(gui::TComponent* Owner) : gui::TComponent(Owner) {}
  ~TWinSkinMenu() override;

  // (Re)make the items: from the window's menu, from the library main menu,
  // or from a given menu. Each takes the native bar off the window.
  void BuildFromWindowMenu();
  void BuildFromMainMenu();
  void BuildFromMenuHandle(HMENU Menu);

  // Paints the bar into R, a rectangle in window coordinates.
  void PaintMenuBar(HDC DC, const RECT& R);
  // The first shown item at a point in window coordinates.
  TMenuBtn* ItemAt(POINT P) const;
  // The neighbour of item From in the bar, wrapping at both ends.
  TMenuBtn* NextItem(int From, bool Forward) const;
  // The first enabled item whose caption marks Key as its accelerator.
  TMenuBtn* ItemByAccel(wchar_t Key) const;
  TMenuBtn* Item(int Index) const;
  bool RightToLeft() const;
  int Count() const { return static_cast<int>(FItems.size()); }

  TWinSkinForm* FOwner = nullptr;
  gui::TMainMenu* FMenu = nullptr;
  HMENU FMenuHandle = nullptr;
  RECT FBarRect{};
  // The bar as painted without item texts: items repaint over their part.
  gui::TBitmap FBackground;

 private:
  friend class TMenuBtn;
  void TakeWindowMenu(HMENU Given);
  void ReadNativeItems(bool ByCommand);
  void DrawCaption(HDC DC, const TMenuBtn& Item, const RECT& R) const;
  // The bar paints with the skin its window is built from.
  const TLoadedSkin& Skin() const;
  std::vector<std::unique_ptr<TMenuBtn>> FItems;
  gui::TBitmap FScratch;
};

// Whether Caption marks Key as its accelerator ("&F" for F, not "&&").
bool IsAccel(wchar_t Key, const std::wstring& Caption);

}  // namespace qm
