#include "skin/4_form/skin_menu_bar.h"

#include <algorithm>
#include <cwctype>

#include "gui/forms.h"
#include "gui/graphics.h"
#include "gui/menus.h"
#include "skin/1_data/skin_draw_text.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_scale.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

using gui::Height;
using gui::Width;

// Native texts come with their short cut after a tab; the bar shows the caption.
std::wstring BarCaption(std::wstring text) {
  if (const size_t tab = text.find(L'\t'); tab != std::wstring::npos) text.resize(tab);
  return text;
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
  if (FBar.FBackground.Empty() || FOwner.Phase() != TFormWindow::phReady) return;
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
  TCaptionButtons& buttons = FOwner->CaptionButtons();
  if (dynamic_cast<TMenuBtn*>(buttons.HotObject())) buttons.SetHotObject(nullptr);
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
  HGDIOBJ font = SelectObject(DC, gui::Screen().MenuFont(Skin().Dpi).Handle());
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
  const TLoadedSkin& skin = Skin();
  const int dpi = skin.Dpi;
  int x0 = ScaleSkinLength(6, dpi);
  const TDataSkinObject* element = skin.MenuBar.get();
  gui::TBitmap* strip = element ? skin.SkinBitmap(element->Bitmap) : nullptr;
  const bool rtl = RightToLeft();
  if (!strip || strip->Empty()) {
    HBRUSH fill = CreateSolidBrush(gui::ColorToRGB(skin.MenubarColour));
    FillRect(dc, &local, fill);
    DeleteObject(fill);
  } else {
    const int frame = FOwner->Window().Active ? 1 : 2;
    const RECT margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    if (element->Tile == kTileRepeat) {
      DrawNineGrid(dc, local, *strip, true, false, false, 2, frame, margins);
    } else {
      gui::TCanvas canvas(dc);
      DrawThreePart(canvas, local, *strip, true, false, 2, frame, margins);
    }
    x0 = rtl ? element->RightWidth + ScaleSkinLength(8, dpi) : element->LeftWidth + ScaleSkinLength(4, dpi);
    if (x0 > w) x0 = ScaleSkinLength(12, dpi);
  }
  FBarRect = R;
  FBackground.SetSize(w, h);
  BitBlt(FBackground.Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);

  HGDIOBJ font = SelectObject(dc, gui::Screen().MenuFont(Skin().Dpi).Handle());
  int x = rtl ? w - x0 : x0;
  for (const auto& item : FItems) {
    SIZE extent{};
    if (!item->FCaption.empty())
      GetTextExtentPoint32W(dc, item->FCaption.c_str(), static_cast<int>(item->FCaption.size()), &extent);
    // The "&" marks take no room on the bar.
    const int marks = static_cast<int>(std::count(item->FCaption.begin(), item->FCaption.end(), L'&'));
    SIZE amp{};
    if (marks) GetTextExtentPoint32W(dc, L"&", 1, &amp);
    const int width = item->FCaption.empty() ? 0 : extent.cx - marks * amp.cx + ScaleSkinLength(10, dpi);
    RECT box = rtl ? RECT{x - width, 0, x, h - 1} : RECT{x, 0, x + width, h - 1};
    x = rtl ? x - width : x + width;
    DrawCaption(dc, *item, box);
    OffsetRect(&box, R.left, R.top);
    item->FBounds = box;
    item->FState = TNCObject::stNormal;
  }
  SelectObject(dc, font);
  FOwner->CaptionButtons().PaintInMenuBar(dc, POINT{R.left, R.top});
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

}  // namespace qm
