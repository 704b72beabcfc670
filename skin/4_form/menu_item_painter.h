#pragma once
// Menu items painted from the skin: each item is laid over the piece of its
// popup's background picture it covers, then the skin's MenuItem frame
// (normal or selected), then glyph, caption and short cut. Library items
// are measured and drawn through their handlers; the window's native items
// through its WM_MEASUREITEM and WM_DRAWITEM.

#include <windows.h>

#include <memory>
#include <vector>

namespace gui {
class TCanvas;
class TComponent;
class TMenuItem;
class TPopupMenu;
}

namespace qm {

class TLoadedSkin;
class TWinSkinForm;

class TMenuItemPainter {
 public:
  explicit TMenuItemPainter(TWinSkinForm& Owner) : FOwner(Owner) {}
  TMenuItemPainter(const TMenuItemPainter&) = delete;
  TMenuItemPainter& operator=(const TMenuItemPainter&) = delete;

  // Only a window that had a menu bar at attach has owner-drawn items of
  // its own to paint.
  void SetHadMenu(bool HadMenu) { FHadMenu = HadMenu; }
  // Switches the skinnable popup menus owned by Form to the skin's items,
  // or gives them their own drawing back.
  void SetPopupsOwnerDraw(gui::TComponent* Form, bool Enable);
  // A library item measured and drawn by this painter from now on.
  void TakeItem(gui::TMenuItem& Item);
  // Every owner-drawn item of the window's menus is measured again when it
  // next shows (after a change of skin or of the menu font).
  void RemeasureMenus();
  LRESULT MeasureItemMessage(WPARAM wParam, LPARAM lParam);
  LRESULT DrawItemMessage(WPARAM wParam, LPARAM lParam);

  // Handlers for a library item's OnMeasureItem and OnAdvancedDrawItem.
  void MeasureMenuItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, int& Width, int& Height);
  void DrawMenuItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, RECT R, unsigned State);
  // Glyph or check mark, caption and short cut within R.
  void ItemContent(gui::TMenuItem& Item, gui::TCanvas& Canvas, unsigned State, RECT R);
  void DrawSeparator(gui::TCanvas& Canvas, RECT R);

 private:
  const TLoadedSkin& Skin() const;
  // A 96-DPI length at the window's scale.
  int Scaled(int Length) const;
  // A main-menu item: its own measure plus the room the skin adds.
  void MeasureMainItem(gui::TMenuItem& Item, MEASUREITEMSTRUCT& Measure);
  // A native item, described by a temporary library item.
  void DrawForeignItem(HMENU Menu, gui::TMenuItem& Item, unsigned State, RECT R, gui::TCanvas& Canvas);
  // Colours only, for a skin without a MenuItem strip.
  void PlainDrawItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, unsigned State, RECT R);
  // Whether Item's menu runs from right to left.
  bool ItemRightToLeft(gui::TMenuItem& Item) const;
  // An unowned item with the caption, state and check of a native item.
  static std::unique_ptr<gui::TMenuItem> MenuItemFromHandle(HMENU Menu, UINT Id);

  TWinSkinForm& FOwner;
  bool FHadMenu = false;
  // The native item being drawn runs from right to left.
  bool FForeignRightToLeft = false;
  // Items whose drawing SetPopupsOwnerDraw took over, so that only those
  // are given back.
  std::vector<gui::TMenuItem*> FOwnerDrawnItems;
  std::vector<gui::TPopupMenu*> FOwnerDrawnMenus;
};

}  // namespace qm
