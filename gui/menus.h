#pragma once
// Main and popup menus. Items build their native menu on demand; owner-drawn
// menus measure and paint each item through the item's events.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "component.h"
#include "graphics.h"

namespace gui {

class TMenu;
class TCustomForm;

// Short cuts: a virtual key plus these modifier bits.
constexpr WORD scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
WORD ShortCut(WORD key, WORD modifiers);
std::string ShortCutToText(WORD shortCut);

// odNoAccel: the accelerator underlines are hidden (the menu was opened with
// the mouse and the user keeps them hidden, ODS_NOACCEL).
enum TOwnerDrawState : unsigned {
  odSelected = 1,
  odGrayed = 2,
  odDisabled = 4,
  odChecked = 8,
  odDefault = 16,
  odNoAccel = 0x100
};

// The system measures an owner-drawn menu item once, when its menu is first
// shown, and keeps that size until the item changes. After a change of font
// or of whatever draws the items, every owner-drawn item of the menu and its
// submenus is changed in place (its own type written back), so that the next
// showing measures it again.
void RemeasureMenu(HMENU menu);

class TMenuItem : public TComponent {
  QM_GUI_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  bool IsLine() const { return FCaption == "-"; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  WORD ShortCut() const { return FShortCut; }
  void SetShortCut(WORD shortCut);
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  // Checked, it shows a dot rather than a tick; unchecking the others of its
  // group is the caller's.
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value);

  // Sub-items, owned by this item, in order.
  TMenuItem* Add(const std::string& caption);
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(index); }
  TMenuItem* Parent() const { return FParent; }
  void Remove(TMenuItem* item);
  // The command identifier sent in WM_COMMAND; no other live item has it.
  UINT Command() const { return FCommand; }
  // The native popup menu of the sub-items (built on demand), or none.
  HMENU Handle();
  TMenu* GetParentMenu() const;

  std::function<void(TMenuItem&)> OnClick;
  std::function<void(TMenuItem&, TCanvas&, int& width, int& height)> OnMeasureItem;
  std::function<void(TMenuItem&, TCanvas&, RECT, unsigned state)> OnAdvancedDrawItem;
  virtual void Click();

 private:
  friend class TMenu;
  void Changed();
  void RebuildHandle();
  void AppendTo(HMENU menu, bool ownerDraw);
  std::string FCaption;
  int FImageIndex = -1;
  WORD FShortCut = 0;
  bool FChecked = false, FEnabled = true, FDefault = false, FVisible = true, FRadioItem = false;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // the menu whose root this is
  UINT FCommand;
  HMENU FHandle = nullptr;
};

enum class TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
  QM_GUI_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem& Items() { return *FItems; }
  HMENU Handle() { return FItems->Handle(); }
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool value);
  TImageList* Images = nullptr;
  // Items run from the right, the bar's arrow keys are mirrored and
  // owner-drawn items are laid out mirrored. The native MFT_RIGHTORDER flag
  // is not set: owner-drawn items carrying it are not drawn at all on some
  // systems.
  bool RightToLeft() const { return FRightToLeft; }
  void SetRightToLeft(bool value) { FRightToLeft = value; }

  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind);
  // Runs the item of a WM_COMMAND identifier; false when none has it.
  bool DispatchCommand(UINT command);
  // WM_MEASUREITEM / WM_DRAWITEM for one of this menu's items.
  bool MeasureItem(MEASUREITEMSTRUCT& mis);
  bool DrawItem(const DRAWITEMSTRUCT& dis);

 protected:
  friend class TMenuItem;
  virtual void MenuChanged() {}
  void RebuildAll();
  // The item of an owner-draw message's itemData, when it is one of ours.
  TMenuItem* ItemOfData(ULONG_PTR data) const;
  TMenuItem* FItems;
  bool FOwnerDraw = false;
  bool FRightToLeft = false;
};

class TMainMenu : public TMenu {
  QM_GUI_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  ~TMainMenu() override;
  TCustomForm* Form = nullptr;  // set by the form that shows it

 protected:
  void MenuChanged() override;
};

class TPopupMenu : public TMenu {
  QM_GUI_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // Tracks the menu at a screen point until an item is chosen or the menu
  // is dismissed; the chosen item's OnClick runs before this returns.
  void Popup(int x, int y);
  std::function<void(TPopupMenu&)> OnPopup;
  HWND Window() const { return FWindow; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  HWND ForegroundCandidate() const;
  HWND FWindow = nullptr;  // receives the menu's commands and owner-draw messages
};

}  // namespace gui
