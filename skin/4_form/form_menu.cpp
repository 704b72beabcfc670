#include "skin/4_form/form_menu.h"

#include "gui/dpi.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "skin/4_form/menu_tracking.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

void TFormMenu::Create() {
  FBar = FForm.Make<TWinSkinMenu>();
  FBar->FOwner = &FForm;
  gui::TCustomForm* form = FForm.Form();
  FBar->FMenu = form ? form->Menu() : nullptr;
  FForm.Frame().SetMenuHeight(gui::SystemMetricForDpi(SM_CYMENU, FForm.Dpi()));
  FBar->BuildFromWindowMenu();
}

void TFormMenu::Free(bool GiveBack) {
  if (!FBar) return;
  RestoreOwnerDraw();
  const HWND handle = FForm.FHandle;
  const HMENU menu = FBar->FMenuHandle;
  if (GiveBack && menu && IsMenu(menu)) {
    SetMenu(handle, menu);
  } else if (!FForm.Form() && menu && IsMenu(menu) && GetMenu(handle) != menu) {
    // The window would have taken its menu with it; a library menu stays
    // with its component.
    DestroyMenu(menu);
  }
  TCaptionButtons& buttons = FForm.CaptionButtons();
  if (dynamic_cast<TMenuBtn*>(buttons.HotObject())) buttons.SetHotObject(nullptr);
  FBar->Free();
  FBar = nullptr;
}

void TFormMenu::Repaint() {
  if (FBar && FForm.Phase() == TFormWindow::phReady) PostMessageW(FForm.FHandle, WM_SKINPAINTFRAME, 0, 0);
}

void TFormMenu::MenuChanged(bool Rebuild) {
  if (!FBar) return;
  // The form has put its native bar back; it stays off either way.
  if (GetMenu(FForm.FHandle)) {
    if (Rebuild)
      FBar->BuildFromWindowMenu();
    else
      SetMenu(FForm.FHandle, nullptr);
  }
  Repaint();
}

int TFormMenu::TrackOne(TMenuBtn& Item) {
  const HWND handle = FForm.FHandle;
  RECT window;
  GetWindowRect(handle, &window);
  MakeOwnerDraw(Item.FSubMenu);
  FTracking = true;
  POINT at{Item.FBounds.left, Item.FBounds.bottom};
  const bool mirrored = FBar->RightToLeft();
  if (mirrored) at.x = Item.FBounds.right;
  at.x += window.left, at.y += window.top;
  FTrackedPopup = Item.FSubMenu;
  if (FForm.CaptionButtons().HotObject() != &Item) Item.MouseDown();
  int next = -1;
  {
    TMenuTracking tracking(FForm, Item.FIndex);
    if (Item.FEnabled)
      TrackPopupMenu(Item.FSubMenu, TPM_RIGHTBUTTON | (mirrored ? TPM_RIGHTALIGN : 0), at.x, at.y, 0, handle, nullptr);
    next = tracking.SwitchTo();
  }
  FTracking = false;
  FTrackedPopup = nullptr;
  return next;
}

bool TFormMenu::OpenButton(TMenuBtn* Item) {
  if (!Item || !FBar) return false;
  bool opened = false;
  while (Item) {
    // An item without popup acts as a command. A popup item's identifier
    // is the library item's own click, but in a foreign menu it may be
    // anything: only commands that the library menu knows are sent then.
    if (!Item->FSubMenu || (FBar->FMenu && FBar->FMenu->FindItem(Item->FCommand, gui::TFindItemKind::fkCommand)))
      PostMessageW(FForm.FHandle, WM_COMMAND, Item->FCommand, 0);
    if (!Item->FSubMenu) {
      if (FForm.CaptionButtons().HotObject() == Item) Item->MouseUp();
      break;
    }
    const int next = TrackOne(*Item);
    opened = true;
    if (FBar && FForm.CaptionButtons().HotObject() == Item) Item->MouseLeave();
    Item = FBar && IsWindow(FForm.FHandle) ? FBar->Item(next) : nullptr;
  }
  return opened;
}

void TFormMenu::PressButton(TMenuBtn* Item) {
  if (!Item) return;
  RECT window;
  GetWindowRect(FForm.FHandle, &window);
  PostMessageW(FForm.FHandle, WM_NCLBUTTONDOWN, HTCLIENT,
               MAKELPARAM(Item->FBounds.left + window.left + 1, Item->FBounds.top + window.top + 1));
}

TMenuBtn* TFormMenu::ButtonByAccel(wchar_t Key) const { return FBar ? FBar->ItemByAccel(Key) : nullptr; }

bool TFormMenu::DialogChar(WPARAM Key) {
  const bool alt = GetKeyState(VK_MENU) < 0, shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  TMenuBtn* item = ButtonByAccel(static_cast<wchar_t>(Key));
  if (!item || !alt || shift || ctrl) return false;
  PressButton(item);
  return true;
}

bool TFormMenu::KeyFilter(WPARAM wParam, LPARAM lParam) {
  // An MDI child's menu keys are the frame's: the system would track the
  // frame's native bar, which the frame no longer shows.
  if (FForm.Window().MDIKind == TFormWindow::mkChild && (wParam & 0xFFF0) == SC_KEYMENU)
    if (TWinSkinForm* frame = FForm.MDI().Frame()) return frame->Menus().KeyFilter(wParam, lParam);
  if ((wParam & 0xFFF0) != SC_KEYMENU || FTracking || lParam == L' ' || lParam == L'-' || GetCapture()) return false;
  if (lParam == 0) {
    // Alt or F10 alone: the skin's bar, whose first popup opens with its
    // first item chosen, and the arrows go on from there. Without a bar,
    // nothing: the system would take the keys to its own, unseen bar.
    if (FBar) PressButton(FBar->NextItem(-1, true));
    return true;
  }
  if (!FBar) return false;
  TMenuBtn* item = ButtonByAccel(static_cast<wchar_t>(lParam));
  if (!item) return false;
  // A foreign window's Alt+key arrives only here; a library form's was
  // taken as a dialog character before.
  PressButton(item);
  return true;
}

void TFormMenu::MenuSelect(WPARAM wParam, LPARAM lParam) {
  TMenuTracking* tracking = TMenuTracking::Current();
  if (!tracking || &tracking->Form() != &FForm) return;
  if (tracking->MenuSelect(wParam, lParam)) EndTracking();
}

void TFormMenu::MakeOwnerDraw(HMENU Menu) {
  const int count = GetMenuItemCount(Menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if (!(mii.fType & MFT_OWNERDRAW)) {
      // The type alone changes: the item keeps its text for measuring and
      // for the native look it gets back.
      mii.fMask = MIIM_FTYPE;
      mii.fType |= MFT_OWNERDRAW;
      if (SetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &mii)) FOwnerDrawn.push_back({Menu, static_cast<UINT>(i)});
    }
    if (mii.hSubMenu) MakeOwnerDraw(mii.hSubMenu);
  }
}

void TFormMenu::RestoreOwnerDraw() {
  for (const auto& [menu, position] : FOwnerDrawn) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    if (!IsMenu(menu) || !GetMenuItemInfoW(menu, position, TRUE, &mii)) continue;
    mii.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoW(menu, position, TRUE, &mii);
  }
  FOwnerDrawn.clear();
}

}  // namespace qm
