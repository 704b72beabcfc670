#include "skin/3_controls/skin_tab.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_bitmap.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/skin_up_down.h"

namespace qm {

namespace {

// The page frame's edges in the border image, the tab side a pixel wider.
constexpr RECT kFrameMargins{4, 5, 4, 4};

HFONT FontOf(HWND Window) { return reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0)); }

}  // namespace

// --- TSkinTab

TSkinTab::TOrientation TSkinTab::OrientationOf(LONG_PTR Style) {
  if (Style & TCS_BOTTOM) return Style & TCS_VERTICAL ? toRight : toBottom;
  return Style & TCS_VERTICAL ? toLeft : toTop;
}

RECT TSkinTab::StripRect(TOrientation O, const RECT& R, const RECT& D) {
  switch (O) {
    case toBottom: return RECT{R.left, D.bottom, R.right, R.bottom};
    case toLeft: return RECT{R.left, R.top, D.left, R.bottom};
    case toRight: return RECT{D.right, R.top, R.right, R.bottom};
    default: return RECT{R.left, R.top, R.right, D.top};
  }
}

RECT TSkinTab::ItemInStrip(TOrientation O, const RECT& I, const RECT& R, const RECT& D, int W) {
  switch (O) {
    case toBottom: return RECT{I.left, I.top - (D.bottom + 1), I.right, I.bottom - (D.bottom + 1)};
    case toLeft: return RECT{W - I.bottom, I.left, W - I.top, I.right};
    case toRight: return RECT{I.top - 1, R.right - I.right, I.bottom - 1, R.right - I.left};
    default: return RECT{I.left, I.top + 1, I.right, I.bottom + 1};
  }
}

void TSkinTab::InitWindow(HWND Window, TSkinData* Data, TFormSkinnerLink* Skinner) {
  TSkinControl::InitWindow(Window, Data, Skinner);
  ReadState();
  PrepareImages();
  // The scroller keeps its native look until it has a skinner of its own.
  (void)Arrows();
}

void TSkinTab::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImages();
}

void TSkinTab::PrepareImages() {
  Orientation = OrientationOf(GetWindowLongPtrW(Handle, GWL_STYLE));
  // Images of an earlier skin must not outlive it.
  TabImage.SetSize(0, 0);
  BorderImage.SetSize(0, 0);
  const TDataSkinBorder* tabs = Skin->Tabs.get();
  // A skin may give tabs without a page frame; the tabs are still drawn.
  if (!tabs || tabs->Bitmap.Empty()) return;
  AssignSkinImage(TabImage, tabs->Bitmap);
  AssignSkinImage(BorderImage, tabs->Bitmap2);
  switch (Orientation) {
    case toBottom:
      FlipBitmap(TabImage);
      FlipBitmap(BorderImage);
      break;
    case toLeft: RotateBitmapLeft(BorderImage); break;
    case toRight: RotateBitmapRight(BorderImage); break;
    default: break;
  }
}

HWND TSkinTab::Arrows() {
  HWND arrows = FindWindowExW(Handle, nullptr, UPDOWN_CLASSW, nullptr);
  // The arrows of a crowded strip are skinned too, once, when they appear.
  if (arrows && !UpDownSkinner && Owner()) {
    auto* skinner = Owner()->Make<TSkinUpDown>();
    skinner->InitWindow(arrows, SkinData, FormSkinner);
    UpDownSkinner = skinner;
  }
  return arrows;
}

RECT TSkinTab::FrameRect(const RECT& Rect) const {
  RECT d = Rect;
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
  InflateRect(&d, Scaled(4), Scaled(4));
  switch (Orientation) {
    case toBottom: --d.bottom; break;
    case toLeft: ++d.left; break;
    case toRight: --d.right; break;
    default: ++d.top; break;
  }
  return d;
}

void TSkinTab::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinBorder* tabs = Skin->Tabs.get();
  // A skin too old for the images made at the start draws nothing.
  if (!tabs || tabs->Bitmap.Empty() || TabImage.Empty()) return;
  ReadState();
  const bool focusShown = FocusShown();
  const RECT display = FrameRect(Rect);
  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int focused = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
  auto* images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  const bool sideways = Orientation == toLeft || Orientation == toRight;

  const RECT strip = StripRect(Orientation, Rect, display);
  const int sw = strip.right - strip.left, sh = strip.bottom - strip.top;
  if (sw > 0 && sh > 0) {
    const int bw = sideways ? sh : sw, bh = sideways ? sw : sh;
    FBuffer.SetSize(bw, bh);
    HDC buffer = FBuffer.Canvas().Handle();
    FillFace(buffer, RECT{0, 0, bw, bh});
    HFONT font = FontOf(Handle);
    HGDIOBJ oldFont = font ? SelectObject(buffer, font) : nullptr;
    for (int i = 0; i < count; ++i) {
      wchar_t text[81] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
      item.pszText = text;
      item.cchTextMax = 80;
      item.iImage = -1;
      SendMessageW(Handle, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      RECT r{};
      if (!SendMessageW(Handle, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
      r = ItemInStrip(Orientation, r, Rect, display, bw);
      const int state = i == focused ? 2 : 1;
      DrawNineGrid(buffer, r, TabImage, false, tabs->Tile == kTileRepeat, tabs->Trans == kTransKeyed, tabs->Frames(), state,
                   MarginsOf(*tabs));
      if (!sideways && font) SelectObject(buffer, font);
      SetTextColor(buffer, gui::ColorToRGB(state == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2));
      const RECT caption = DrawCaptionWithImage(buffer, r, 1, text, item.iImage, images);
      if (state == 2 && focusShown) DrawFocusAround(buffer, caption, r);
    }
    if (oldFont) SelectObject(buffer, oldFont);
    if (Orientation == toLeft) RotateBitmapLeft(FBuffer);
    if (Orientation == toRight) RotateBitmapRight(FBuffer);

    const int saved = SaveDC(DC);
    // The scroll arrows lie over the strip; they stay as they are.
    if (HWND arrows = Arrows(); arrows && (GetWindowLongPtrW(arrows, GWL_STYLE) & WS_VISIBLE)) {
      RECT a{};
      GetWindowRect(arrows, &a);
      MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&a), 2);
      ExcludeClipRect(DC, a.left, a.top, a.right, a.bottom);
    }
    BitBlt(DC, strip.left, strip.top, sw, sh, FBuffer.Canvas().Handle(), 0, 0, SRCCOPY);
    RestoreDC(DC, saved);
  }
  // Only the frame's ring: the middle is the pages' place, and painting it
  // would cover a page that has already painted itself.
  if (!tabs->Bitmap2.Empty() && !BorderImage.Empty())
    DrawNineGridRing(DC, display, BorderImage, false, 1, 1,
                     RECT{Scaled(kFrameMargins.left), Scaled(kFrameMargins.top), Scaled(kFrameMargins.right),
                          Scaled(kFrameMargins.bottom)});
}

// --- TSkinTab31

void TSkinTab31::InitControl(TFormSkinnerLink* Skinner, TSkinData* Data, bool) {
  auto* control = dynamic_cast<gui::TWinControl*>(Owner());
  if (!control) return;
  InitWindow(control->Handle(), Data, Skinner);
  Control = control;
  PrepareImage();
}

void TSkinTab31::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImage();
}

void TSkinTab31::PrepareImage() {
  const TDataSkinBorder* tabs = Skin->Tabs.get();
  if (!tabs || tabs->Bitmap.Empty()) return;
  // The set hangs below its pages: its tabs open downwards.
  AssignSkinImage(TabImage, tabs->Bitmap);
  FlipBitmap(TabImage);
}

bool TSkinTab31::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintCycle(Message); return true;
    case WM_ERASEBKGND: Message.Result = 1; return false;
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinTab31::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinBorder* tabs = Skin->Tabs.get();
  auto* source = dynamic_cast<gui::TTabSet*>(Control);
  if (!tabs || TabImage.Empty() || !source) return;
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w <= 0 || h <= 0) return;
  gui::TBitmap picture(w, h);
  HDC dc = picture.Canvas().Handle();
  FillFace(dc, RECT{0, 0, w, h});
  const gui::TSelectGuard font(dc, FontOf(Handle));
  // The tabs lie where the set itself places them, so that what shows is
  // what a click hits.
  // The set may have been switched off or on since the last paint.
  ReadState();
  const bool focusShown = FocusShown();
  const std::vector<RECT> places = source->TabRects();
  for (size_t n = 0; n < places.size(); ++n) {
    const int i = source->FirstIndex() + static_cast<int>(n);
    const RECT r = places[n];
    const bool selected = i == source->TabIndex();
    DrawNineGrid(dc, r, TabImage, false, tabs->Tile == kTileRepeat, tabs->Trans == kTransKeyed, tabs->Frames(), selected ? 2 : 1,
                 MarginsOf(*tabs));
    SetTextColor(dc, gui::ColorToRGB(selected ? tabs->MouseOverColour2 : tabs->NormalColour2));
    const RECT caption = DrawCaption(dc, r, DT_CENTER, Enabled, gui::Widen(source->Tabs()[i]));
    if (selected && focusShown) DrawFocusAround(dc, caption, r);
  }
  BitBlt(DC, Rect.left, Rect.top, w, h, dc, 0, 0, SRCCOPY);
}

}  // namespace qm
