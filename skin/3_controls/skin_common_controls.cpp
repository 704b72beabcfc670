#include "skin/3_controls/skin_common_controls.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "gui/debug_report.h"
#include "gui/graphics.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"

namespace qm {

namespace {

// Progress bars and status bars compose here; only one paints at a time.
gui::TBitmap& Scratch(int Width, int Height) {
  static gui::TBitmap scratch;
  scratch.SetSize(Width, Height);
  return scratch;
}

// A track-bar thumb strip has five frames; the fifth is its disabled look.
constexpr int kThumbFrames = 5;

}  // namespace

// --- progress bars

int TSkinProgress::FilledWidth(int Position, int Limit, int Width) {
  if (Position <= 0 || Limit <= 0) return 0;
  return static_cast<int>(static_cast<long long>(MinInt(Position, Limit)) * Width / Limit);
}

void TSkinProgress::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinBorder* element = Skin->Progress.get();
  gui::TBitmap* frame = element ? Skin->SkinBitmap(element->Bitmap) : nullptr;
  if (!frame) return;
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w <= 0 || h <= 0) return;
  const int position = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
  const int limit = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, FALSE, 0));
  const RECT margins = MarginsOf(*element);
  const bool tile = element->Tile == kTileRepeat;
  const RECT whole{0, 0, w, h};
  if (element->Style == kStyleFlat) {
    gui::TBitmap* chunk = Skin->SkinBitmap(element->Bitmap2);
    if (!chunk) return;
    gui::TBitmap& picture = Scratch(w, h);
    HDC dc = picture.Canvas().Handle();
    FillFace(dc, whole);
    DrawNineGrid(dc, whole, *frame, false, tile, true, 1, 1, margins);
    // Chunks fill the inside of the frame only: a full bar ends at the right
    // edge's inner side, not past it.
    const int inner = MaxInt(0, w - element->LeftWidth - element->RightWidth);
    if (const int filled = FilledWidth(position, limit, inner); filled > 0) {
      gui::TBitmap row(filled, chunk->Height());
      for (int x = 0; x < filled; x += chunk->Width())
        BitBlt(row.Canvas().Handle(), x, 0, chunk->Width(), chunk->Height(), chunk->Canvas().Handle(), 0, 0, SRCCOPY);
      const int top = (h - chunk->Height()) / 2;
      DrawTransparent(dc, RECT{element->LeftWidth, top, element->LeftWidth + filled, top + chunk->Height()}, row,
                      SkinKeyColour);
    }
    if (!WindowEnabled()) Dim(dc, whole);
    BitBlt(DC, Rect.left, Rect.top, w, h, dc, 0, 0, SRCCOPY);
    return;
  }
  gui::TBitmap& picture = Scratch(w, h);
  HDC dc = picture.Canvas().Handle();
  FillFace(dc, whole);
  DrawNineGrid(dc, whole, *frame, false, tile, true, 2, 1, margins);
  if (const int filled = FilledWidth(position, limit, w); filled > 0)
    DrawNineGrid(dc, RECT{0, 0, filled, h}, *frame, false, tile, true, 2, 2, margins);
  // The skin has no disabled bar.
  if (!WindowEnabled()) Dim(dc, whole);
  BitBlt(DC, Rect.left, Rect.top, w, h, dc, 0, 0, SRCCOPY);
}

// --- track bars

bool TSkinTrackBar::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return false;
    case WM_NOTIFY:
    case gui::CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
      // Only the bar's own drawing: its tooltip reports custom drawing too.
      if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != Handle) break;
      Message.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(Message.LParam));
      return false;
    }
  }
  return TSkinControl::BeforeMessage(Message);
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& Draw) {
  if (Draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (Draw.dwDrawStage == CDDS_ITEMPREPAINT && Draw.dwItemSpec == TBCD_THUMB) {
    try {
      DrawThumb(Draw.hdc);
    } catch (...) {
      // No thumb this time rather than none ever.
      gui::DebugReport(L"painting a track bar's thumb", Handle);
    }
    return CDRF_SKIPDEFAULT;
  }
  return CDRF_DODEFAULT;
}

void TSkinTrackBar::DrawThumb(HDC DC) {
  RECT thumb{};
  SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const TDataSkinObject* element = Skin->TrackbarThumbHorz.get();
  if ((GetWindowLongPtrW(Handle, GWL_STYLE) & TBS_VERT) && Skin->TrackbarThumbVert)
    element = Skin->TrackbarThumbVert.get();
  const bool enabled = WindowEnabled();
  if (gui::TBitmap* strip = element ? Skin->SkinBitmap(element->Bitmap) : nullptr) {
    // A strip that says it has five frames has a disabled one, the last.
    const bool disabledFrame = !enabled && element->FrameCount >= kThumbFrames;
    DrawFrame(DC, thumb, *strip, true, kThumbFrames, disabledFrame ? kThumbFrames : 2);
    if (!enabled && !disabledFrame) Dim(DC, thumb);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, gui::ColorToRGB(Skin->ButtonShadowColour));
  {
    const gui::TSelectGuard selected(DC, pen);
    Rectangle(DC, thumb.left, thumb.top, thumb.right, thumb.bottom);
  }
  DeleteObject(pen);
  if (!enabled) Dim(DC, thumb);
}

// --- status bars

namespace {

enum TBevel { bvLowered = 1, bvRaised = 2, bvNone = 3 };

struct TPanel {
  RECT Rect;
  std::wstring Text;
  TBevel Bevel;
  UINT Alignment;
};

// A panel's text as the control keeps it: a leading tab centres it, two
// right-align it.
TPanel ReadPanel(HWND StatusBar, int Index, const RECT& Rect) {
  TPanel panel{Rect, L"", bvLowered, DT_LEFT};
  const LRESULT info = SendMessageW(StatusBar, SB_GETTEXTLENGTHW, Index, 0);
  std::wstring text(LOWORD(info) + 1, L'\0');
  SendMessageW(StatusBar, SB_GETTEXTW, Index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  const WORD type = HIWORD(info);
  if (type & SBT_NOBORDERS) panel.Bevel = bvNone;
  else if (type & SBT_POPOUT) panel.Bevel = bvRaised;
  size_t tabs = 0;
  while (tabs < 2 && tabs < text.size() && text[tabs] == L'\t') ++tabs;
  panel.Alignment = tabs == 2 ? DT_RIGHT : tabs == 1 ? DT_CENTER : DT_LEFT;
  if (type & SBT_RTLREADING) {
    if (panel.Alignment == DT_LEFT) panel.Alignment = DT_RIGHT;
    else if (panel.Alignment == DT_RIGHT) panel.Alignment = DT_LEFT;
  }
  panel.Text = text.substr(tabs);
  return panel;
}

void Line(HDC DC, int Left, int Top, int Right, int Bottom, int SysColour) {
  const RECT r{Left, Top, Right, Bottom};
  FillRect(DC, &r, GetSysColorBrush(SysColour));
}

}  // namespace

bool TSkinStatusBar::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintCycle(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinStatusBar::Paint(HDC DC, const RECT& Rect) {
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w <= 0 || h <= 0) return;
  gui::TBitmap& picture = Scratch(w, h);
  HDC dc = picture.Canvas().Handle();
  FillFace(dc, RECT{0, 0, w, h});
  LOGFONTW lf{};
  HFONT own = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (!own) own = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(own, sizeof lf, &lf);
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 0;
  HFONT plain = CreateFontIndirectW(&lf);
  {
    const gui::TDCStateGuard saved(dc);
    SelectObject(dc, plain);
    PaintPanels(dc, w, h);
  }
  DeleteObject(plain);
  BitBlt(DC, Rect.left, Rect.top, w, h, dc, 0, 0, SRCCOPY);
}

void TSkinStatusBar::PaintPanels(HDC dc, int w, int h) {
  SetBkMode(dc, TRANSPARENT);
  const TDataSkinObject* edges = Skin->StatusBarEdges.get();
  if (edges) SetTextColor(dc, gui::ColorToRGB(edges->NormalColour2));
  if (!WindowEnabled()) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  gui::TBitmap* edgeStrip = edges ? Skin->SkinBitmap(edges->Bitmap) : nullptr;

  std::vector<TPanel> panels;
  const int parts = static_cast<int>(SendMessageW(Handle, SB_GETPARTS, 0, 0));
  if (SendMessageW(Handle, SB_ISSIMPLE, 0, 0) || parts <= 0) {
    TPanel panel = ReadPanel(Handle, SB_SIMPLEID, RECT{0, 0, w, h});
    panel.Bevel = bvLowered;
    panel.Alignment = DT_LEFT;
    panels.push_back(panel);
  } else {
    for (int i = 0; i < parts; ++i) {
      RECT r{};
      if (!SendMessageW(Handle, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
      if (i == parts - 1) r.right = w;
      panels.push_back(ReadPanel(Handle, i, r));
    }
  }
  for (const TPanel& p : panels) {
    const RECT& r = p.Rect;
    if (edgeStrip) {
      DrawNineGrid(dc, r, *edgeStrip, false, edges->Tile == kTileRepeat, edges->Trans == kTransKeyed, 3, p.Bevel, MarginsOf(*edges));
    } else if (p.Bevel != bvNone) {
      const int light = p.Bevel == bvRaised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
      const int dark = p.Bevel == bvRaised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
      Line(dc, r.left, r.top, r.right, r.top + 1, light);
      Line(dc, r.left, r.top, r.left + 1, r.bottom, light);
      Line(dc, r.left, r.bottom - 1, r.right, r.bottom, dark);
      Line(dc, r.right - 1, r.top, r.right, r.bottom, dark);
    }
    RECT text{r.left + 2, r.top, r.right - 2, r.bottom};
    const std::wstring shown = p.Text.empty() ? L" " : p.Text;
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
              p.Alignment | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  const TDataSkinObject* extra = Skin->ExtraImages.get();
  gui::TBitmap* grips = extra ? Skin->SkinBitmap(extra->Bitmap) : nullptr;
  if (grips && (GetWindowLongPtrW(Handle, GWL_STYLE) & SBARS_SIZEGRIP)) {
    const RECT cell = SkinFrameRect(*grips, false, extra->Frames(), 5);
    DrawTransparentPart(dc, w - 1 - (cell.right - cell.left), h - 1 - (cell.bottom - cell.top), *grips, cell,
                        SkinKeyColour);
  }
}

// --- size grips

bool TSkinSizer::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintCycle(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinSizer::Paint(HDC DC, const RECT& Rect) {
  // The grip never erases: the face goes under the frame, or the old
  // pixels would show through.
  FillFace(DC, Rect);
  HBRUSH shadow = CreateSolidBrush(gui::ColorToRGB(Skin->ButtonShadowColour));
  FrameRect(DC, &Rect, shadow);
  DeleteObject(shadow);
}

}  // namespace qm
