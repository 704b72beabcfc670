#include "skin/4_form/menu_item_painter.h"

#include <algorithm>
#include <functional>

#include "gui/forms.h"
#include "gui/graphics.h"
#include "gui/menus.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_scale.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/skin_popup_menu.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

constexpr int kItemFrames = 5;
constexpr int kNormalFrame = 1, kSeparatorFrame = 2, kSelectedFrame = 4;
constexpr int kPopupFrame = 3;

using gui::Height;
using gui::Width;

// Where the popup's client area starts within its window, i.e. how far an
// item rectangle lies from the same place in the background picture.
POINT BackgroundOffset(HDC DC) {
  HWND window = WindowFromDC(DC);
  if (!window) return POINT{kPopupFrame, kPopupFrame};
  RECT outer;
  GetWindowRect(window, &outer);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  return POINT{client.x - outer.left, client.y - outer.top};
}

// The menu font of the window's scale.
void UseMenuFont(gui::TCanvas& Canvas, int Dpi) { Canvas.Font.Assign(gui::Screen().MenuFont(Dpi)); }

gui::TImageList* ImagesOf(gui::TMenuItem& Item, gui::TCustomForm* Form) {
  if (gui::TMenu* menu = Item.GetParentMenu()) return menu->Images;
  return Form && Form->Menu() ? Form->Menu()->Images : nullptr;
}

}  // namespace

const TLoadedSkin& TMenuItemPainter::Skin() const { return *FOwner.Skin(); }

int TMenuItemPainter::Scaled(int Length) const { return ScaleSkinLength(Length, Skin().Dpi); }

void TMenuItemPainter::SetPopupsOwnerDraw(gui::TComponent* Form, bool Enable) {
  if (!Form) return;
  std::vector<gui::TMenuItem*> items;
  std::vector<gui::TPopupMenu*> menus;
  auto listed = [](const auto& list, const auto* entry) { return std::find(list.begin(), list.end(), entry) != list.end(); };
  for (gui::TComponent* c : Form->ComponentList()) {
    auto* popup = dynamic_cast<gui::TPopupMenu*>(c);
    if (!popup) continue;
    if (Enable && (!FOwner.SkinData() || !FOwner.SkinData()->SkinControls.Contains(TSkinControlType::xcPopupMenu) ||
                   popup->Tag % 100 == FOwner.SkinData()->DisableTag))
      continue;
    // Giving back touches only what was taken, and needs no skin.
    if (!Enable && !listed(FOwnerDrawnMenus, popup)) continue;
    popup->SetOwnerDraw(Enable);
    if (Enable) menus.push_back(popup);
    std::function<void(gui::TMenuItem&)> visit = [&](gui::TMenuItem& item) {
      for (int i = 0; i < item.Count(); ++i) {
        gui::TMenuItem* child = item.Items(i);
        const bool ours = listed(FOwnerDrawnItems, child);
        if (Enable && (ours || !child->OnAdvancedDrawItem)) {
          TakeItem(*child);
          items.push_back(child);
        } else if (!Enable && ours) {
          // Handlers that point at this skinner must not outlive it; an
          // item's own handlers were never touched.
          child->OnAdvancedDrawItem = nullptr;
          child->OnMeasureItem = nullptr;
        }
        visit(*child);
      }
    };
    visit(popup->Items());
  }
  FOwnerDrawnItems = std::move(items);
  FOwnerDrawnMenus = std::move(menus);
}

void TMenuItemPainter::TakeItem(gui::TMenuItem& Item) {
  Item.OnAdvancedDrawItem = [this](gui::TMenuItem& it, gui::TCanvas& cv, RECT r, unsigned st) {
    DrawMenuItem(it, cv, r, st);
  };
  Item.OnMeasureItem = [this](gui::TMenuItem& it, gui::TCanvas& cv, int& w, int& h) { MeasureMenuItem(it, cv, w, h); };
}

void TMenuItemPainter::RemeasureMenus() {
  for (gui::TPopupMenu* popup : FOwnerDrawnMenus) gui::RemeasureMenu(popup->Handle());
  if (gui::TPopupMenu* system = FOwner.SystemMenu().PopupIfMade()) {
    // The images are the skin's of the moment.
    system->Images = FOwner.SkinData()->MenuImages.get();
    gui::RemeasureMenu(system->Handle());
  }
  if (TWinSkinMenu* bar = FOwner.Menus().Bar()) gui::RemeasureMenu(bar->FMenuHandle);
}

void TMenuItemPainter::MeasureMenuItem(gui::TMenuItem& Item, gui::TCanvas&, int& Width, int&) {
  if (Skin().MenuItem) Width += Skin().MenuItem->LeftWidth;
  Width += Scaled(ImagesOf(Item, FOwner.Form()) ? 12 : 35);
}

void TMenuItemPainter::MeasureMainItem(gui::TMenuItem& Item, MEASUREITEMSTRUCT& Measure) {
  gui::TMenu* menu = Item.GetParentMenu();
  auto own = std::move(Item.OnMeasureItem);
  Item.OnMeasureItem = nullptr;
  try {
    if (menu) menu->MeasureItem(Measure);
  } catch (...) {
    Item.OnMeasureItem = std::move(own);
    throw;
  }
  Item.OnMeasureItem = std::move(own);
  int extra = Skin().MenuItem ? Skin().MenuItem->LeftWidth : 0;
  extra += Scaled(ImagesOf(Item, FOwner.Form()) ? 10 : 35);
  Measure.itemWidth += static_cast<UINT>(extra);
}

std::unique_ptr<gui::TMenuItem> TMenuItemPainter::MenuItemFromHandle(HMENU Menu, UINT Id) {
  wchar_t text[80] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_TYPE;
  info.dwTypeData = text;
  info.cch = 80;
  GetMenuItemInfoW(Menu, Id, FALSE, &info);
  wchar_t caption[80] = {};
  GetMenuStringW(Menu, Id, caption, 80, MF_BYCOMMAND);
  auto item = std::make_unique<gui::TMenuItem>(nullptr);
  item->SetCaption(caption[0] ? gui::Narrow(caption) : "-");
  item->SetEnabled((info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
  item->SetChecked((info.fState & MFS_CHECKED) != 0);
  return item;
}

bool TMenuItemPainter::ItemRightToLeft(gui::TMenuItem& Item) const {
  if (gui::TMenu* menu = Item.GetParentMenu()) return menu->RightToLeft();
  return FForeignRightToLeft;
}

void TMenuItemPainter::ItemContent(gui::TMenuItem& Item, gui::TCanvas& Canvas, unsigned State, RECT R) {
  gui::TImageList* images = ImagesOf(Item, FOwner.Form());
  const bool line = Item.IsLine();
  int size = images ? images->Width() : Scaled(16);
  if (Item.Checked()) size = std::max(size, Scaled(16));
  const int left = Skin().MenuItem ? Skin().MenuItem->LeftWidth : 0;
  const bool mirrored = ItemRightToLeft(Item);
  RECT glyph{0, 0, 0, 0};
  if (!line) {
    glyph.top = R.top + 1;
    glyph.bottom = glyph.top + size;
    if (mirrored) {
      glyph.right = R.right - 1 - left;
      glyph.left = glyph.right - size;
    } else {
      glyph.left = R.left + 1 + left;
      glyph.right = glyph.left + size;
    }
  }
  HDC dc = Canvas.Handle();
  const int index = Item.ImageIndex();
  if (!line && images && index >= 0 && index < images->Count()) {
    if (Item.Checked()) {
      const gui::TGdiHandle<HBRUSH> pattern = gui::PatternBrush(gui::clBtnFace, gui::clBtnHighlight);
      FillRect(dc, &glyph, pattern.Get());
      DrawEdge(dc, &glyph, BDR_SUNKENOUTER, BF_RECT);
    }
    images->Draw(Canvas, glyph.left, glyph.top, index, Item.Enabled());
  } else if (!line && Item.Checked()) {
    gui::DrawCheckMark(dc, glyph, gui::clBtnText, 1, 1);
  }

  if (line) {
    RECT edge = R;
    OffsetRect(&edge, 0, Scaled(4));
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int gap = Scaled(3);
  RECT text = mirrored ? RECT{R.left + 1, R.top, glyph.left - gap, R.bottom} : RECT{glyph.right + gap, R.top, R.right - 1, R.bottom};
  const UINT align = mirrored ? DT_RIGHT : 0;
  Canvas.Brush.SetStyle(gui::TBrushStyle::bsClear);
  Canvas.Font.SetStyle(Item.Default() ? static_cast<unsigned>(gui::fsBold) : 0u);
  gui::TColor colour = (State & gui::odSelected) ? Skin().HilightTextColour : Skin().MenuTextColour;
  if (!Item.Enabled())
    colour = Skin().ButtonShadowColour == Skin().MenuTextColour ? gui::clBtnShadow : Skin().ButtonShadowColour;
  Canvas.Font.SetColor(colour);
  std::string caption = Item.Caption();
  // An empty caption or a lone accelerator mark measures as nothing.
  std::string measuring = caption.empty() || caption == "&" ? caption + " " : caption;
  UINT format = DT_EXPANDTABS | DT_SINGLELINE | align;
  UINT measureFormat = format | DT_CALCRECT | DT_NOCLIP;
  // Underlines only where the user keeps them shown.
  if (State & gui::odNoAccel) {
    gui::HideAcceleratorMarks(caption, format);
    gui::HideAcceleratorMarks(measuring, measureFormat);
  }
  RECT measured = text;
  Canvas.DrawText(measuring, measured, measureFormat);
  const int height = Height(measured);
  RECT place{text.left, R.top + (Height(R) - height) / 2, text.right, R.top + (Height(R) - height) / 2 + height};
  Canvas.DrawText(caption, place, format);
  if (Item.ShortCut()) {
    const std::string keys = gui::ShortCutToText(Item.ShortCut());
    const int captionWidth = Width(measured);
    RECT shortCut = mirrored ? RECT{R.left + 1 + Scaled(10), place.top, text.right - captionWidth, place.bottom}
                             : RECT{text.left + captionWidth, place.top, R.right - 1 - Scaled(10), place.bottom};
    Canvas.DrawText(keys, shortCut, DT_SINGLELINE | (mirrored ? DT_LEFT : DT_RIGHT));
  }
}

void TMenuItemPainter::PlainDrawItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, unsigned State, RECT R) {
  gui::TBitmap work(Width(R), Height(R));
  gui::TCanvas& canvas = work.Canvas();
  if (!canvas.Handle()) return;
  UseMenuFont(canvas, Skin().Dpi);
  canvas.Brush.SetColor((State & gui::odSelected) ? Skin().HilightColour : Skin().MenuColour);
  canvas.FillRect(RECT{0, 0, Width(R), Height(R)});
  ItemContent(Item, canvas, State, RECT{0, 0, Width(R), Height(R)});
  work.Draw(Canvas, R.left, R.top);
}

void TMenuItemPainter::DrawSeparator(gui::TCanvas& Canvas, RECT R) {
  gui::TBitmap* strip = Skin().MenuItem ? Skin().SkinBitmap(Skin().MenuItem->Bitmap) : nullptr;
  if (!strip || Width(R) <= 0 || Height(R) <= 0) return;
  const RECT frame = SkinFrameRect(*strip, false, kItemFrames, kSeparatorFrame);
  const int top = strip->Height() > Height(R) ? strip->Height() - Height(R) : 0;
  const int rows = strip->Height() - top;
  const int left = std::min<int>(Skin().MenuItem->LeftWidth, Width(R));
  const int right = std::min<int>(Skin().MenuItem->RightWidth, Width(R) - left);
  gui::TBitmap work(Width(R), Height(R));
  HDC dc = work.Canvas().Handle();
  HDC source = strip->Canvas().Handle();
  if (!dc || !source) return;
  HBRUSH key = CreateSolidBrush(SkinKeyColour);
  RECT all{0, 0, Width(R), Height(R)};
  FillRect(dc, &all, key);
  DeleteObject(key);
  SetStretchBltMode(dc, COLORONCOLOR);
  const int fw = Width(frame);
  StretchBlt(dc, 0, 0, left, Height(R), source, frame.left, top, left, rows, SRCCOPY);
  StretchBlt(dc, left, 0, Width(R) - left - right, Height(R), source, frame.left + left, top, fw - left - right,
             rows, SRCCOPY);
  StretchBlt(dc, Width(R) - right, 0, right, Height(R), source, frame.right - right, top, right, rows, SRCCOPY);
  DrawTransparent(Canvas.Handle(), R, work, SkinKeyColour);
}

namespace {

// The item's work bitmap: the popup's picture under it, or the menu colour.
void PaintItemBackground(gui::TBitmap& Work, HDC Target, const RECT& R, HMENU Menu, gui::TColor Colour) {
  gui::TCanvas& canvas = Work.Canvas();
  TFormSkinnerHost* host = FormSkinnerHost();
  gui::TBitmap* background = host && Menu ? host->FindPopupBackground(Menu) : nullptr;
  if (background && !background->Empty()) {
    const POINT offset = BackgroundOffset(Target);
    BitBlt(canvas.Handle(), 0, 0, Width(R), Height(R), background->Canvas().Handle(), R.left + offset.x,
           R.top + offset.y, SRCCOPY);
  } else {
    canvas.Brush.SetColor(Colour);
    canvas.FillRect(RECT{0, 0, Width(R), Height(R)});
  }
}

}  // namespace

void TMenuItemPainter::DrawMenuItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, RECT R, unsigned State) {
  gui::TBitmap* strip = Skin().MenuItem ? Skin().SkinBitmap(Skin().MenuItem->Bitmap) : nullptr;
  if (!strip) {
    PlainDrawItem(Item, Canvas, State, R);
    return;
  }
  const HMENU menu = Item.Parent() ? Item.Parent()->Handle() : nullptr;
  TWinSkinPopMenu::BindPending(menu);
  const RECT local{0, 0, Width(R), Height(R)};
  gui::TBitmap work(Width(R), Height(R));
  if (!work.Canvas().Handle()) return;
  UseMenuFont(work.Canvas(), Skin().Dpi);
  PaintItemBackground(work, Canvas.Handle(), R, menu, Skin().MenuColour);
  if (Item.IsLine()) {
    work.Draw(Canvas, R.left, R.top);
    DrawSeparator(Canvas, R);
    return;
  }
  const TDataSkinObject& element = *Skin().MenuItem;
  const RECT margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
  DrawNineGrid(work.Canvas().Handle(), local, *strip, false, element.Tile == kTileRepeat, element.Trans == kTransKeyed, kItemFrames,
               (State & gui::odSelected) ? kSelectedFrame : kNormalFrame, margins);
  ItemContent(Item, work.Canvas(), State, local);
  work.Draw(Canvas, R.left, R.top);
}

void TMenuItemPainter::DrawForeignItem(HMENU Menu, gui::TMenuItem& Item, unsigned State, RECT R, gui::TCanvas& Canvas) {
  gui::TBitmap* strip = Skin().MenuItem ? Skin().SkinBitmap(Skin().MenuItem->Bitmap) : nullptr;
  if (!strip) {
    PlainDrawItem(Item, Canvas, State, R);
    return;
  }
  const RECT local{0, 0, Width(R), Height(R)};
  gui::TBitmap work(Width(R), Height(R));
  if (!work.Canvas().Handle()) return;
  UseMenuFont(work.Canvas(), Skin().Dpi);
  PaintItemBackground(work, Canvas.Handle(), R, Menu, Skin().MenuColour);
  const TDataSkinObject& element = *Skin().MenuItem;
  const RECT margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
  // A native separator is an etched line over the background alone.
  if (!Item.IsLine())
    DrawNineGrid(work.Canvas().Handle(), local, *strip, false, element.Tile == kTileRepeat, element.Trans == kTransKeyed, kItemFrames,
                 (State & gui::odSelected) ? kSelectedFrame : kNormalFrame, margins);
  ItemContent(Item, work.Canvas(), State, local);
  work.Draw(Canvas, R.left, R.top);
}

LRESULT TMenuItemPainter::MeasureItemMessage(WPARAM wParam, LPARAM lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (measure->CtlType != ODT_MENU || !FHadMenu) return FOwner.Messages().CallOldProc(WM_MEASUREITEM, wParam, lParam);
  if (FOwner.Form() && FOwner.Form()->Menu())
    if (gui::TMenuItem* item = FOwner.Form()->Menu()->FindItem(measure->itemID, gui::TFindItemKind::fkCommand)) {
      MeasureMainItem(*item, *measure);
      return TRUE;
    }
  wchar_t text[80] = {};
  if (const HMENU tracked = FOwner.Menus().TrackedPopup()) GetMenuStringW(tracked, measure->itemID, text, 80, MF_BYCOMMAND);
  const gui::TWindowDC screen(nullptr);
  gui::TCanvas canvas(screen.Handle());
  UseMenuFont(canvas, Skin().Dpi);
  RECT size{0, 0, 0, 0};
  if (text[0]) canvas.DrawText(gui::Narrow(text), size, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
  measure->itemWidth = static_cast<UINT>(Width(size) + Scaled(26) + (Skin().MenuItem ? Skin().MenuItem->LeftWidth : 0));
  if (text[0]) {
    // Some systems ask with no height at all; the text's own is the least.
    if (measure->itemHeight == 0) measure->itemHeight = static_cast<UINT>(Height(size));
    measure->itemHeight += static_cast<UINT>(Scaled(4));
  } else {
    measure->itemHeight = static_cast<UINT>(Scaled(8));
  }
  return TRUE;
}

LRESULT TMenuItemPainter::DrawItemMessage(WPARAM wParam, LPARAM lParam) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (draw->CtlType != ODT_MENU || !FHadMenu) return FOwner.Messages().CallOldProc(WM_DRAWITEM, wParam, lParam);
  const HMENU menu = reinterpret_cast<HMENU>(draw->hwndItem);
  TWinSkinPopMenu::BindPending(menu);
  const unsigned state =
      ((draw->itemState & ODS_SELECTED) ? gui::odSelected : 0u) | ((draw->itemState & ODS_NOACCEL) ? gui::odNoAccel : 0u);
  gui::TCanvas canvas(draw->hDC);
  UseMenuFont(canvas, Skin().Dpi);
  if (FOwner.Form() && FOwner.Form()->Menu())
    if (gui::TMenuItem* item = FOwner.Form()->Menu()->FindItem(draw->itemID, gui::TFindItemKind::fkCommand)) {
      if (Skin().MenuItem)
        DrawMenuItem(*item, canvas, draw->rcItem, state);
      else
        PlainDrawItem(*item, canvas, state, draw->rcItem);
      return TRUE;
    }
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(menu, draw->itemID, FALSE, &info);
  FForeignRightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
  const std::unique_ptr<gui::TMenuItem> item = MenuItemFromHandle(menu, draw->itemID);
  DrawForeignItem(menu, *item, state, draw->rcItem, canvas);
  return TRUE;
}

}  // namespace qm
