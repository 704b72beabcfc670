#include "skin/2_paint/skin_frame.h"

#include <algorithm>

#include "skin/1_data/loaded_skin.h"
#include "skin/1_data/skin_draw_text.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_scale.h"
#include "skin/2_paint/skin_bitmap_draw.h"

namespace qm {

namespace {

const TDataSkinBorder* BorderOf(const TSkinDescription& skin, TFrameSide side) {
  switch (side) {
    case TFrameSide::Left: return skin.BorderLeft.get();
    case TFrameSide::Right: return skin.BorderRight.get();
    case TFrameSide::Top: return skin.BorderTop.get();
    case TFrameSide::Bottom: return skin.BorderBottom.get();
  }
  return nullptr;
}

// Top and bottom borders keep their frames stacked.
bool Stacked(TFrameSide side) { return side == TFrameSide::Top || side == TFrameSide::Bottom; }

int Across(const TDataSkinBorder* border, bool stacked) {
  if (!border) return 0;
  return (stacked ? border->Bitmap.Height() : border->Bitmap.Width()) / border->Frames();
}

COLORREF ColourOf(TSkinColour colour) { return gui::ColorToRGB(colour); }

}  // namespace

TFrameMetrics SkinFrameMetrics(const TSkinDescription& Skin, bool UnskinnedPopup) {
  if (UnskinnedPopup) return TFrameMetrics{};
  TFrameMetrics m;
  m.BorderLeft = Across(Skin.BorderLeft.get(), false);
  m.TitleHeight = Across(Skin.BorderTop.get(), true);
  m.BorderRight = Across(Skin.BorderRight.get(), false);
  m.BorderBottom = Across(Skin.BorderBottom.get(), true);
  return m;
}

RECT FrameSideRect(const TFrameMetrics& M, TFrameSide Side, int W, int H) {
  switch (Side) {
    case TFrameSide::Left: return RECT{0, 0, M.BorderLeft, H};
    case TFrameSide::Right: return RECT{W - M.BorderRight, 0, W, H};
    case TFrameSide::Top: return RECT{M.BorderLeft, 0, W - M.BorderRight, M.TitleHeight};
    case TFrameSide::Bottom: return RECT{M.BorderLeft, H - M.BorderBottom, W - M.BorderRight, H};
  }
  return RECT{};
}

RECT SkinnedClientRect(const TFrameMetrics& M, int MenuHeight, const WINDOWPOS& Pos) {
  return RECT{Pos.x + M.BorderLeft, Pos.y + M.TitleHeight + MenuHeight, Pos.x + Pos.cx - M.BorderRight,
              Pos.y + Pos.cy - M.BorderBottom};
}

LRESULT FrameHitTest(const TFrameMetrics& M, int MenuHeight, SIZE Size, POINT P, bool Sizing, bool Maximized,
                     int Dpi) {
  const int topRowCount = ScaleSkinLength(4, Dpi), cornerReach = ScaleSkinLength(16, Dpi);
  const int w = Size.cx, h = Size.cy;
  if (P.x < 0 || P.y < 0 || P.x >= w || P.y >= h) return HTNOWHERE;
  const RECT client{M.BorderLeft, M.TitleHeight + MenuHeight, w - M.BorderRight, h - M.BorderBottom};
  if (PtInRect(&client, P)) return HTCLIENT;
  const bool topRows = P.y < topRowCount;
  if (Sizing) {
    const bool left = P.x < M.BorderLeft, right = P.x >= w - M.BorderRight, bottom = P.y >= h - M.BorderBottom;
    const bool nearLeft = P.x < std::max(M.BorderLeft, cornerReach);
    const bool nearRight = P.x >= w - std::max(M.BorderRight, cornerReach);
    const bool nearTop = P.y < std::max(topRowCount, cornerReach);
    const bool nearBottom = P.y >= h - std::max(M.BorderBottom, cornerReach);
    if (topRows) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (bottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    if (right) return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (P.y < M.TitleHeight) return topRows && !Maximized ? HTBORDER : HTCAPTION;
  if (P.y < M.TitleHeight + MenuHeight && P.x >= M.BorderLeft && P.x < w - M.BorderRight) return HTMENU;
  return HTBORDER;
}

void PaintSkinBorder(const TLoadedSkin& Skin, TFrameSide Side, const RECT& R, HDC DC, bool Active) {
  const TDataSkinBorder* border = BorderOf(Skin, Side);
  if (!border || R.right < R.left || R.bottom < R.top) return;
  gui::TBitmap* strip = Skin.SkinBitmap(border->Bitmap);
  if (!strip) return;
  const int frame = Active || border->Frames() == 1 ? 1 : 2;
  const RECT margins{border->LeftWidth, border->TopHeight, border->RightWidth, border->BottomHeight};
  DrawNineGrid(DC, R, *strip, Stacked(Side), border->Tile != kTileRepeat, false, border->Frames(), frame, margins);
}

bool SizedByFrame(LONG_PTR Style) { return (Style & WS_THICKFRAME) && !(Style & (WS_MAXIMIZE | WS_MINIMIZE)); }

void PaintSizeGrip(HDC DC, const TFrameMetrics& M, int W, int H, const TLoadedSkin& Skin) {
  // Each dot's distance from the right and the bottom edge.
  constexpr POINT kDots[] = {{5, 5}, {8, 5}, {11, 5}, {5, 8}, {8, 8}, {5, 11}};
  const int dpi = Skin.Dpi, reach = ScaleSkinLength(12, dpi), dot = std::max(1, ScaleSkinLength(1, dpi));
  if (M.BorderRight < reach || M.BorderBottom < reach) return;
  // The DC's own brush: a frame paint makes no brush of its own.
  const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  const COLORREF light = ColourOf(Skin.ButtonHilightColour), dark = ColourOf(Skin.ButtonDkShadowColour);
  const COLORREF was = GetDCBrushColor(DC);
  for (const POINT& d : kDots) {
    const int x = W - ScaleSkinLength(d.x, dpi), y = H - ScaleSkinLength(d.y, dpi);
    const RECT lit{x, y, x + dot, y + dot}, shade{x + dot, y + dot, x + 2 * dot, y + 2 * dot};
    SetDCBrushColor(DC, light);
    FillRect(DC, &lit, brush);
    SetDCBrushColor(DC, dark);
    FillRect(DC, &shade, brush);
  }
  SetDCBrushColor(DC, was);
}

gui::TBitmap* TBorderPictures::Picture(const TLoadedSkin& Skin, const TFrameMetrics& Metrics, TFrameSide Side,
                                       int Width, int Height, bool Active) {
  const RECT r = FrameSideRect(Metrics, Side, Width, Height);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || !BorderOf(Skin, Side)) return nullptr;
  TEntry& e = FEntries[static_cast<int>(Side) - 1];
  if (!e.Painted || e.Width != Width || e.Height != Height || e.Active != Active) {
    e.Painted = false;
    e.Bitmap.SetSize(w, h);
    PaintSkinBorder(Skin, Side, RECT{0, 0, w, h}, e.Bitmap.Canvas().Handle(), Active);
    e.Width = Width, e.Height = Height, e.Active = Active, e.Painted = true;
  }
  return &e.Bitmap;
}

void TBorderPictures::Clear() {
  for (TEntry& e : FEntries) {
    e.Painted = false;
    e.Bitmap.SetSize(0, 0);
  }
}

RECT PaintSkinCaption(HDC DC, const RECT& A, const TLoadedSkin& Skin, const TCaptionLook& Look) {
  const TDataSkinTitle* title = Skin.Title.get();
  const int shift = title ? title->LeftWidth : 0, clip = title ? title->RightWidth : 0,
            lift = title ? title->TopHeight : 0, backLeft = title ? title->TextBackLeft : 0,
            backRight = title ? title->TextBackRight : 0, alignment = title ? title->TextAlignment : 0;
  const UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | (Look.RightToLeft ? DT_RIGHT : 0);

  // The DC goes back as it was lent, also when drawing fails.
  const gui::TDCStateGuard saved(DC);
  if (Look.Font) SelectObject(DC, Look.Font);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColourOf(Look.Active ? Skin.TitleTextActiveColour : Skin.TitleTextNoActiveColour));

  // Measured with one blank more than it is drawn with, so that the text
  // never touches the end of its background.
  RECT t = A;
  const std::wstring measured = L" " + Look.Text;
  DrawTextW(DC, measured.c_str(), static_cast<int>(measured.size()), &t, flags | DT_CALCRECT | DT_NOCLIP);
  t.right += backLeft + backRight;
  const int tw = t.right - t.left, th = t.bottom - t.top;
  const int aw = A.right - A.left, ah = A.bottom - A.top;
  int dx = 0;
  if (Look.RightToLeft)
    dx = aw - clip - tw;
  else if (alignment == title_align::kLeft)
    dx = shift;
  else if (alignment == title_align::kCentre)
    dx = (aw - tw) / 2;
  else if (alignment == title_align::kRight)
    dx = aw - clip - tw;
  OffsetRect(&t, dx, (ah - th) / 2 + lift / 2);
  if (Look.Popup && Look.RightButtonsLeft - 5 > t.left) {
    // A popup's caption reaches to its buttons; a long one stops there too
    // rather than running on under them and over the right border.
    t.right = Look.RightButtonsLeft - 5;
  } else if (A.right - clip < t.right) {
    t.right = A.right - clip;
  }
  const RECT caption = t;

  if (title) {
    if (gui::TBitmap* back = Skin.SkinBitmap(title->Bitmap)) {
      gui::TCanvas canvas(DC);
      DrawThreePart(canvas, RECT{t.left, A.top, t.right, A.bottom}, *back, true, true, 2, Look.Active ? 1 : 2,
                    RECT{backLeft, 0, backRight, 0});
    }
  }
  t.left += backLeft;
  t.right -= backRight;
  SkinDrawText(DC, Look.Text, t, flags);
  return caption;
}

}  // namespace qm
