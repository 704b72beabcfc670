#include "glyph_buttons.h"

namespace gui {

namespace {

// Places two extents, glyph then text, along one axis of Length.
// Answers the glyph's and the text's offsets from the start of the axis.
std::pair<int, int> PlaceAlong(int Length, int GlyphSize, int TextSize, int Margin, int Spacing) {
  if (GlyphSize == 0 || TextSize == 0) Spacing = 0;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (Length - GlyphSize - TextSize) / 3;
      Spacing = Margin;
    } else {
      Margin = (Length - GlyphSize - Spacing - TextSize) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (Length - Margin - GlyphSize - TextSize) / 2;
  }
  return {Margin, Margin + GlyphSize + Spacing};
}

}  // namespace

TGlyphPlacement PlaceGlyphAndText(const RECT& Client, SIZE Glyph, SIZE Text, TButtonLayout Layout, int Margin,
                                  int Spacing) {
  const int w = Client.right - Client.left, h = Client.bottom - Client.top;
  TGlyphPlacement p;
  const bool across = Layout == TButtonLayout::blGlyphLeft || Layout == TButtonLayout::blGlyphRight;
  const bool mirrored = Layout == TButtonLayout::blGlyphRight || Layout == TButtonLayout::blGlyphBottom;
  const auto [glyph, text] =
      PlaceAlong(across ? w : h, across ? Glyph.cx : Glyph.cy, across ? Text.cx : Text.cy, Margin, Spacing);
  // Laid out from the far edge, the same offsets run backwards.
  const int length = across ? w : h;
  const int glyphAt = mirrored ? length - glyph - (across ? Glyph.cx : Glyph.cy) : glyph;
  const int textAt = mirrored ? length - text - (across ? Text.cx : Text.cy) : text;
  if (across) {
    p.Glyph = POINT{Client.left + glyphAt, Client.top + (h - Glyph.cy) / 2};
    p.Text = RECT{Client.left + textAt, Client.top + (h - Text.cy) / 2, 0, 0};
    p.TextFormat = mirrored ? DT_RIGHT : DT_LEFT;
  } else {
    p.Glyph = POINT{Client.left + (w - Glyph.cx) / 2, Client.top + glyphAt};
    p.Text = RECT{Client.left + (w - Text.cx) / 2, Client.top + textAt, 0, 0};
    p.TextFormat = DT_CENTER;
  }
  p.Text.right = p.Text.left + Text.cx;
  p.Text.bottom = p.Text.top + Text.cy;
  return p;
}

SIZE TButtonGlyph::CellSize() const {
  if (FGlyph.Empty()) return SIZE{0, 0};
  return SIZE{FGlyph.Width() / FNumGlyphs, FGlyph.Height()};
}

void TButtonGlyph::DrawCell(HDC DC, int X, int Y, int Cell) const {
  const SIZE size = CellSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  if (Cell < 1 || Cell > FNumGlyphs) Cell = 1;
  // The canvas of a const bitmap: drawing from it changes nothing.
  HDC source = const_cast<TBitmap&>(FGlyph).Canvas().Handle();
  const int left = size.cx * (Cell - 1);
  TransparentBlt(DC, X, Y, size.cx, size.cy, source, left, 0, size.cx, size.cy, GetPixel(source, left, 0));
}

void DrawGlyphAndCaption(HDC DC, const RECT& Client, const TButtonGlyph& Glyph, int Cell,
                         const std::wstring& Caption) {
  SIZE text{0, 0};
  if (!Caption.empty()) {
    RECT measured{0, 0, 0, 0};
    DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    text = SIZE{measured.right, measured.bottom};
  }
  const TGlyphPlacement p =
      PlaceGlyphAndText(Client, Glyph.CellSize(), text, Glyph.Layout, Glyph.Margin, Glyph.Spacing);
  Glyph.DrawCell(DC, p.Glyph.x, p.Glyph.y, Cell);
  if (Caption.empty()) return;
  RECT r = p.Text;
  const int mode = SetBkMode(DC, TRANSPARENT);
  DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &r, p.TextFormat | DT_SINGLELINE | DT_NOCLIP);
  SetBkMode(DC, mode);
}

// --- TBitBtn

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
  PublishInt("NumGlyphs", [this] { return FGlyph.NumGlyphs(); }, [this](int v) { FGlyph.SetNumGlyphs(v); });
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  // The button's face carries the glyph: it is drawn here, not by the system.
  p.Style = (p.Style & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case BM_SETSTYLE:
      // Becoming the default button must not turn the owner-drawn face into
      // a system one; the default frame is drawn here instead.
      m.WParam = BS_OWNERDRAW;
      CallDefault(m);
      Invalidate();
      return;
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    default: break;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  if (Default() || focused) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  RECT content = r;
  if (pressed) OffsetRect(&content, 1, 1);
  const TDCStateGuard saved(dc);
  SelectObject(dc, Font().Handle());
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawGlyphAndCaption(dc, content, FGlyph, disabled ? gcDisabled : pressed ? gcPressed : gcNormal,
                      Widen(Caption()));
  if (focused) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
}

// --- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  PublishBool("Down", [this] { return FDown; }, [this](bool v) { SetDown(v); });
  PublishInt("GroupIndex", [this] { return GroupIndex; }, [this](int v) { GroupIndex = v; });
}

void TSpeedButton::SetDown(bool value) {
  if (value == FDown) return;
  FDown = value;
  if (FDown && GroupIndex != 0 && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
      if (other && other != this && other->GroupIndex == GroupIndex && other->FDown) {
        other->FDown = false;
        other->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::Click() {
  if (GroupIndex != 0) {
    if (!FDown)
      SetDown(true);
    else if (AllowAllUp)
      SetDown(false);
  }
  TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER: FMouseInControl = true; Invalidate(); break;
    case CM_MOUSELEAVE: FMouseInControl = false; Invalidate(); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: Invalidate(); break;
    default: break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  HDC dc = Canvas().Handle();
  RECT r = ClientRect();
  const bool sunken = FPressed || FDown;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  if (sunken) OffsetRect(&r, 1, 1);
  const TDCStateGuard saved(dc);
  SelectObject(dc, Font().Handle());
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  const int cell = !Enabled() ? gcDisabled : FPressed ? gcPressed : FDown ? gcDown : gcNormal;
  DrawGlyphAndCaption(dc, r, FGlyph, cell, Widen(Caption()));
}

}  // namespace gui
