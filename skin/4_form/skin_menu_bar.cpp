// The skinned menu bar: its items and painting (TWinSkinMenu, TMenuBtn),
// and the part of TWinSkinForm that opens the items' popups, follows the
// keyboard and the mouse from one popup to the next, and answers the menu
// keys of the window.

#include "skin/4_form/skin_menu_bar.h"

#include <algorithm>
#include <cwctype>

#include "gui/forms.h"
#include "gui/menus.h"
#include "skin/1_data/skin_draw_text.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

// One popup is tracked at a time in the thread.
HHOOK MenuHook = nullptr;
TWinSkinForm* MenuForm = nullptr;
int OpenIndex = -1;
// The item selected inside the tracked popups, as the menu reports it.
struct TSelection {
  HMENU Menu = nullptr;
  bool HasSubMenu = false;
} CurrentItem;
POINT LastMousePos{};
bool Switching = false;
bool FirstKeySent = false;
// The item whose popup the hook asked for; opened once the current one closes.
int SwitchTo = -1;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Native texts come with their short cut after a tab; the bar shows the caption.
std::wstring BarCaption(std::wstring text) {
  if (const size_t tab = text.find(L'\t'); tab != std::wstring::npos) text.resize(tab);
  return text;
}

TMenuBtn* TargetOf(const MSG& msg) {
  TWinSkinMenu* bar = MenuForm ? MenuForm->MenuBar() : nullptr;
  if (!bar) return nullptr;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RIGHT) {
    if (!CurrentItem.HasSubMenu) return bar->NextItem(OpenIndex, true);
  } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_LEFT) {
    // Inside a submenu the left arrow closes that submenu only.
    if (!CurrentItem.Menu || CurrentItem.Menu == MenuForm->TrackedPopup()) return bar->NextItem(OpenIndex, false);
  } else if (msg.message == WM_MOUSEMOVE) {
    POINT p;
    GetCursorPos(&p);
    if (p.x != LastMousePos.x || p.y != LastMousePos.y) {
      LastMousePos = p;
      return bar->ItemAt(MenuForm->ScreenToWindow(p));
    }
  }
  return nullptr;
}

LRESULT CALLBACK MenuFilterProc(int Code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  TWinSkinMenu* bar = MenuForm ? MenuForm->MenuBar() : nullptr;
  if (Code >= 0 && msg && bar && bar->RightToLeft() && msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_LEFT)
      msg->wParam = VK_RIGHT;
    else if (msg->wParam == VK_RIGHT)
      msg->wParam = VK_LEFT;
  }
  const LRESULT next = CallNextHookEx(MenuHook, Code, wParam, lParam);
  if (next || Code != MSGF_MENU || !msg || !bar) return next;
  if (!FirstKeySent) {
    FirstKeySent = true;
    PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);  // the first item gets selected
  }
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) Switching = false;
  if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_MENU) {
    MenuForm->EndMenuTracking();
    return next;
  }
  TMenuBtn* target = TargetOf(*msg);
  if (!target || target->FIndex == OpenIndex || SwitchTo >= 0) return next;
  // The popup open now closes; OpenMenuButton then opens the target's.
  Switching = true;
  SwitchTo = target->FIndex;
  EndMenu();
  return msg->message == WM_KEYDOWN ? 1 : next;
}

void StartMenuHook() {
  Switching = false;
  FirstKeySent = false;
  SwitchTo = -1;
  CurrentItem = {};
  GetCursorPos(&LastMousePos);
  if (!MenuHook) MenuHook = SetWindowsHookExW(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId());
}

void EndMenuHook() {
  if (MenuHook) UnhookWindowsHookEx(MenuHook);
  MenuHook = nullptr;
  CurrentItem = {};
  OpenIndex = -1;
  FirstKeySent = false;
}

}  // namespace

bool IsAccel(wchar_t Key, const std::wstring& Caption) {
  for (size_t at = Caption.find(L'&'); at != std::wstring::npos && at + 1 < Caption.size();
       at = Caption.find(L'&', at + 2))
    if (Caption[at + 1] != L'&') return std::towupper(Caption[at + 1]) == std::towupper(Key);
  return false;
}

// --- TMenuBtn

void TMenuBtn::Paint() {
  HWND window = FOwner.FHandle;
  if (FBar.FBackground.Empty() || FOwner.Phase() != TWinSkinForm::phReady) return;
  const gui::TWindowDC windowDC(window, gui::TWindowDC::Whole);
  const HDC dc = windowDC.Handle();
  const RECT& bar = FBar.FBarRect;
  BitBlt(dc, FBounds.left, bar.top, Width(FBounds), Height(bar), FBar.FBackground.Canvas().Handle(),
         FBounds.left - bar.left, 0, SRCCOPY);
  if (FState == stPressed || FState == stHot) {
    const gui::TGdiHandle<HBRUSH> frame(CreateSolidBrush(gui::ColorToRGB(FBar.Skin().ButtonHilightColour)), true);
    FrameRect(dc, &FBounds, frame.Get());
  }
  FBar.DrawCaption(dc, *this, FBounds);
}

// --- TWinSkinMenu

const TLoadedSkin& TWinSkinMenu::Skin() const { return *FOwner->Skin(); }

TWinSkinMenu::~TWinSkinMenu() = default;

TMenuBtn* TWinSkinMenu::Item(int Index) const {
  return Index >= 0 && Index < Count() ? FItems[static_cast<size_t>(Index)].get() : nullptr;
}

bool TWinSkinMenu::RightToLeft() const {
  if (FMenu) return FMenu->RightToLeft();
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  return FMenuHandle && GetMenuItemInfoW(FMenuHandle, 0, TRUE, &mii) && (mii.fType & MFT_RIGHTORDER);
}

void TWinSkinMenu::TakeWindowMenu(HMENU Given) {
  if (Given)
    FMenuHandle = Given;
  else if (HMENU current = GetMenu(FOwner->FHandle))
    FMenuHandle = current;
  if (FOwner->HotObject() && dynamic_cast<TMenuBtn*>(FOwner->HotObject())) FOwner->SetHotObject(nullptr);
  FItems.clear();
}

void TWinSkinMenu::ReadNativeItems(bool ByCommand) {
  const int count = FMenuHandle ? GetMenuItemCount(FMenuHandle) : 0;
  for (int i = 0; i < count; ++i) {
    auto item = std::make_unique<TMenuBtn>(*FOwner, *this);
    wchar_t text[80] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    mii.dwTypeData = text;
    mii.cch = 79;
    if (GetMenuItemInfoW(FMenuHandle, static_cast<UINT>(i), TRUE, &mii)) {
      item->FSubMenu = mii.hSubMenu;
      item->FEnabled = !(mii.fState & (MFS_GRAYED | MFS_DISABLED));
      item->FCommand = mii.wID;
      // Bitmap items (a maximised MDI child's icon and buttons) are not shown.
      if (!(mii.fType & (MFT_BITMAP | MFT_SEPARATOR))) item->FCaption = BarCaption(text);
    }
    item->FIndex = i;
    item->FVisible = true;
    // Items drawn by their owner carry no text: the main menu knows them.
    if (item->FCaption.empty() && FMenu) {
      auto take = [&](gui::TMenuItem* source) {
        item->FCaption = gui::Widen(source->Caption());
        item->FEnabled = source->Enabled();
        item->FCommand = source->Command();
        item->FSubMenu = source->Count() > 0 ? source->Handle() : nullptr;
      };
      gui::TMenuItem& items = FMenu->Items();
      if (!ByCommand) {
        if (items.Count() > i) take(items.Items(i));
      } else {
        for (int k = 0; k < items.Count(); ++k)
          if (items.Items(k)->Command() == mii.wID) take(items.Items(k));
      }
    }
    FItems.push_back(std::move(item));
  }
}

void TWinSkinMenu::BuildFromWindowMenu() {
  TakeWindowMenu(nullptr);
  ReadNativeItems(false);
  SetMenu(FOwner->FHandle, nullptr);
}

void TWinSkinMenu::BuildFromMenuHandle(HMENU Menu) {
  TakeWindowMenu(Menu);
  ReadNativeItems(true);
  SetMenu(FOwner->FHandle, nullptr);
}

void TWinSkinMenu::BuildFromMainMenu() {
  TakeWindowMenu(nullptr);
  if (FMenu) {
    FMenuHandle = FMenu->Handle();
    gui::TMenuItem& items = FMenu->Items();
    for (int i = 0; i < items.Count(); ++i) {
      gui::TMenuItem* source = items.Items(i);
      auto item = std::make_unique<TMenuBtn>(*FOwner, *this);
      item->FIndex = i;
      item->FCaption = source->Visible() ? gui::Widen(source->Caption()) : std::wstring();
      item->FEnabled = source->Enabled();
      item->FVisible = source->Visible();
      item->FCommand = source->Command();
      item->FSubMenu = source->Count() > 0 ? source->Handle() : nullptr;
      FItems.push_back(std::move(item));
    }
  }
  SetMenu(FOwner->FHandle, nullptr);
}

void TWinSkinMenu::DrawCaption(HDC DC, const TMenuBtn& Item, const RECT& R) const {
  if (Item.FCaption.empty()) return;
  const int mode = SetBkMode(DC, TRANSPARENT);
  HGDIOBJ font = SelectObject(DC, gui::Screen().MenuFont().Handle());
  const COLORREF colour = SetTextColor(
      DC, gui::ColorToRGB(Item.FEnabled ? Skin().MenuBarTextColour : Skin().ButtonShadowColour));
  // Underlined only while the window shows its keyboard cues, as the
  // system's own bar is.
  UINT flags = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
  std::wstring caption = Item.FCaption;
  if (SendMessageW(FOwner->FHandle, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) gui::HideAcceleratorMarks(caption, flags);
  RECT measured = R;
  DrawTextW(DC, caption.c_str(), -1, &measured, flags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&measured, (Width(R) - Width(measured)) / 2, (Height(R) - Height(measured)) / 2);
  SkinDrawText(DC, caption, measured, flags);
  SetTextColor(DC, colour);
  SelectObject(DC, font);
  SetBkMode(DC, mode);
}

void TWinSkinMenu::PaintMenuBar(HDC DC, const RECT& R) {
  const int w = Width(R), h = Height(R);
  if (w <= 0 || h <= 0) return;
  FScratch.SetSize(w, h);
  HDC dc = FScratch.Canvas().Handle();
  const RECT local{0, 0, w, h};
  int x0 = 6;
  const TLoadedSkin& skin = Skin();
  const TDataSkinObject* element = skin.MenuBar.get();
  gui::TBitmap* strip = element ? skin.SkinBitmap(element->Bitmap) : nullptr;
  const bool rtl = RightToLeft();
  if (!strip || strip->Empty()) {
    HBRUSH fill = CreateSolidBrush(gui::ColorToRGB(skin.MenubarColour));
    FillRect(dc, &local, fill);
    DeleteObject(fill);
  } else {
    const int frame = FOwner->Active() ? 1 : 2;
    const RECT margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    if (element->Tile == kTileRepeat) {
      DrawNineGrid(dc, local, *strip, true, false, false, 2, frame, margins);
    } else {
      gui::TCanvas canvas(dc);
      DrawThreePart(canvas, local, *strip, true, false, 2, frame, margins);
    }
    x0 = rtl ? element->RightWidth + 8 : element->LeftWidth + 4;
    if (x0 > w) x0 = 12;
  }
  FBarRect = R;
  FBackground.SetSize(w, h);
  BitBlt(FBackground.Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);

  HGDIOBJ font = SelectObject(dc, gui::Screen().MenuFont().Handle());
  int x = rtl ? w - x0 : x0;
  for (const auto& item : FItems) {
    SIZE extent{};
    if (!item->FCaption.empty())
      GetTextExtentPoint32W(dc, item->FCaption.c_str(), static_cast<int>(item->FCaption.size()), &extent);
    // The "&" marks take no room on the bar.
    const int marks = static_cast<int>(std::count(item->FCaption.begin(), item->FCaption.end(), L'&'));
    SIZE amp{};
    if (marks) GetTextExtentPoint32W(dc, L"&", 1, &amp);
    const int width = item->FCaption.empty() ? 0 : extent.cx - marks * amp.cx + 10;
    RECT box = rtl ? RECT{x - width, 0, x, h - 1} : RECT{x, 0, x + width, h - 1};
    x = rtl ? x - width : x + width;
    DrawCaption(dc, *item, box);
    OffsetRect(&box, R.left, R.top);
    item->FBounds = box;
    item->FState = TNCObject::stNormal;
  }
  SelectObject(dc, font);
  FOwner->PaintMDIButtons(dc, POINT{R.left, R.top});
  BitBlt(DC, R.left, R.top, w, h, dc, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ItemAt(POINT P) const {
  for (const auto& item : FItems)
    if (!item->FCaption.empty() && PtInRect(&item->FBounds, P)) return item.get();
  return nullptr;
}

TMenuBtn* TWinSkinMenu::NextItem(int From, bool Forward) const {
  const int n = Count();
  if (n == 0) return nullptr;
  // Items that are not shown cannot be opened: step over them.
  int i = From;
  for (int tried = 0; tried < n; ++tried) {
    i = Forward ? (i + 1) % n : (i - 1 + n) % n;
    if (!FItems[static_cast<size_t>(i)]->FCaption.empty()) return FItems[static_cast<size_t>(i)].get();
  }
  return nullptr;
}

TMenuBtn* TWinSkinMenu::ItemByAccel(wchar_t Key) const {
  for (const auto& item : FItems)
    if (item->FEnabled && IsAccel(Key, item->FCaption)) return item.get();
  return nullptr;
}

// --- TWinSkinForm: the menu bar

void TWinSkinForm::CreateMenuBar() {
  FMenuBar = Make<TWinSkinMenu>();
  FMenuBar->FOwner = this;
  FMenuBar->FMenu = FForm ? FForm->Menu() : nullptr;
  FMenuHeight = GetSystemMetrics(SM_CYMENU);
  FMenuBar->BuildFromWindowMenu();
}

void TWinSkinForm::FreeMenuBar(bool GiveBack) {
  if (!FMenuBar) return;
  RestoreOwnerDraw();
  const HMENU menu = FMenuBar->FMenuHandle;
  if (GiveBack && menu && IsMenu(menu)) {
    SetMenu(FHandle, menu);
  } else if (!FForm && menu && IsMenu(menu) && GetMenu(FHandle) != menu) {
    // The window would have taken its menu with it; a library menu stays
    // with its component.
    DestroyMenu(menu);
  }
  if (dynamic_cast<TMenuBtn*>(FHotObject)) FHotObject = nullptr;
  FMenuBar->Free();
  FMenuBar = nullptr;
}

void TWinSkinForm::RepaintMenuBar() {
  if (FMenuBar && FPhase == phReady) PostMessageW(FHandle, WM_SKINPAINTFRAME, 0, 0);
}

void TWinSkinForm::PaintMDIButtons(HDC DC, POINT BarOrigin) {
  if (FMDIKind != mkFrame || !ActiveChildMaximized()) return;
  bool drawn = false;
  for (const auto& b : FButtons) {
    int frames = 1;
    gui::TBitmap* image = ButtonImage(*b, frames);
    if (!b->InMenuBar() || !b->FVisible || !image || image->Empty()) continue;
    RECT r = b->FBounds;
    OffsetRect(&r, -BarOrigin.x, -BarOrigin.y);
    DrawFrame(DC, r, *image, true, frames, 1);
    drawn = true;
  }
  if (drawn && !FChildMaximized) SetChildMaximized(true);
}

bool TWinSkinForm::OpenMenuButton(TMenuBtn* Item) {
  if (!Item || !FMenuBar) return false;
  bool opened = false;
  while (Item) {
    // An item without popup acts as a command. A popup item's identifier
    // is the library item's own click, but in a foreign menu it may be
    // anything: only commands that the library menu knows are sent then.
    if (!Item->FSubMenu || (FMenuBar->FMenu && FMenuBar->FMenu->FindItem(Item->FCommand, gui::TFindItemKind::fkCommand)))
      PostMessageW(FHandle, WM_COMMAND, Item->FCommand, 0);
    if (!Item->FSubMenu) {
      if (FHotObject == Item) Item->MouseUp();
      break;
    }
    OpenIndex = Item->FIndex;
    MenuForm = this;
    GetWindowRect(FHandle, &FWindowRect);
    MakeOwnerDraw(Item->FSubMenu);
    FTrackingMenu = true;
    POINT at{Item->FBounds.left, Item->FBounds.bottom};
    if (FMenuBar->RightToLeft()) at.x = Item->FBounds.right;
    at.x += FWindowRect.left, at.y += FWindowRect.top;
    FTrackedPopup = Item->FSubMenu;
    if (FHotObject != Item) Item->MouseDown();
    StartMenuHook();
    if (Item->FEnabled)
      TrackPopupMenu(Item->FSubMenu, TPM_RIGHTBUTTON | (FMenuBar->RightToLeft() ? TPM_RIGHTALIGN : 0), at.x, at.y, 0,
                     FHandle, nullptr);
    const int next = SwitchTo;
    EndMenuHook();
    FTrackingMenu = false;
    FTrackedPopup = nullptr;
    MenuForm = nullptr;
    opened = true;
    if (FMenuBar && FHotObject == Item) Item->MouseLeave();
    Item = FMenuBar && IsWindow(FHandle) ? FMenuBar->Item(next) : nullptr;
  }
  return opened;
}

void TWinSkinForm::PressMenuButton(TMenuBtn* Item) {
  if (!Item) return;
  GetWindowRect(FHandle, &FWindowRect);
  PostMessageW(FHandle, WM_NCLBUTTONDOWN, HTCLIENT,
               MAKELPARAM(Item->FBounds.left + FWindowRect.left + 1, Item->FBounds.top + FWindowRect.top + 1));
}

TMenuBtn* TWinSkinForm::MenuButtonByAccel(wchar_t Key) const {
  return FMenuBar ? FMenuBar->ItemByAccel(Key) : nullptr;
}

bool TWinSkinForm::DialogChar(WPARAM Key) {
  const bool alt = GetKeyState(VK_MENU) < 0, shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  TMenuBtn* item = MenuButtonByAccel(static_cast<wchar_t>(Key));
  if (!item || !alt || shift || ctrl) return false;
  PressMenuButton(item);
  return true;
}

bool TWinSkinForm::MenuKeyFilter(WPARAM wParam, LPARAM lParam) {
  // An MDI child's menu keys are the frame's: the system would track the
  // frame's native bar, which the frame no longer shows.
  if (FMDIKind == mkChild && (wParam & 0xFFF0) == SC_KEYMENU)
    if (TWinSkinForm* frame = MDIFrame())
      return frame->MenuKeyFilter(wParam, lParam);
  if ((wParam & 0xFFF0) != SC_KEYMENU || FTrackingMenu || lParam == L' ' || lParam == L'-' || GetCapture())
    return false;
  if (lParam == 0) {
    // Alt or F10 alone: the skin's bar, whose first popup opens with its
    // first item chosen, and the arrows go on from there. Without a bar,
    // nothing: the system would take the keys to its own, unseen bar.
    if (FMenuBar) PressMenuButton(FMenuBar->NextItem(-1, true));
    return true;
  }
  if (!FMenuBar) return false;
  TMenuBtn* item = MenuButtonByAccel(static_cast<wchar_t>(lParam));
  if (!item) return false;
  // A foreign window's Alt+key arrives only here; a library form's was
  // taken as a dialog character before.
  PressMenuButton(item);
  return true;
}

void TWinSkinForm::MenuSelect(WPARAM wParam, LPARAM lParam) {
  if (MenuForm != this) return;
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && !lParam) {
    if (!Switching) EndMenuTracking();
    return;
  }
  Switching = false;
  CurrentItem.Menu = reinterpret_cast<HMENU>(lParam);
  CurrentItem.HasSubMenu = (flags & MF_POPUP) != 0;
}

void TWinSkinForm::MakeOwnerDraw(HMENU Menu) {
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

void TWinSkinForm::RestoreOwnerDraw() {
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

void TWinSkinForm::EndMenuTracking() { FTrackingMenu = false; }

}  // namespace qm
