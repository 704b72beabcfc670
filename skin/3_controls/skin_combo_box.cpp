#include "skin/3_controls/skin_combo_box.h"

#include "gui/debug_report.h"
#include "gui/graphics.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/skin_up_down.h"

namespace qm {

namespace {

void FrameInShadow(HDC DC, const RECT& R, TSkinColour Shadow) {
  gui::TGdiHandle<HBRUSH> brush(CreateSolidBrush(gui::ColorToRGB(Shadow)), true);
  FrameRect(DC, &R, brush.Get());
}

}  // namespace

// --- combo boxes

int TSkinComBox::Frame() const {
  if (MouseFlags & mfPressed) return 2;
  if (Focused || (MouseFlags & mfHot)) return 4;
  return Enabled ? 1 : 3;
}

void TSkinComBox::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseFlags |= mfPressed;
      PaintNow(nullptr);
      return;
    case WM_LBUTTONUP:
      MouseFlags &= ~mfPressed;
      PaintNow(nullptr);
      return;
    case gui::CM_MOUSEENTER:
      if (Enabled) {
        MouseFlags |= mfHot;
        PaintNow(nullptr);
      }
      return;
    case gui::CM_MOUSELEAVE:
      if (Enabled) {
        MouseFlags &= ~mfHot;
        PaintNow(nullptr);
      }
      return;
  }
  TSkinControl::AfterMessage(Message);
}

void TSkinComBox::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinBorder* button = Skin->ComboButton.get();
  if (!button || !Skin->SkinBitmap(button->Bitmap)) return;
  StyleCopy = GetWindowLongPtrW(Handle, GWL_STYLE);
  ExStyleCopy = GetWindowLongPtrW(Handle, GWL_EXSTYLE);
  if (button->Style == kStyleFlat) {
    PaintFlat(DC, Rect, *button);
    return;
  }
  const TDataSkinObject* edge = Skin->SunkEdge.get();
  if (!edge || !Skin->SkinBitmap(edge->Bitmap)) return;
  Focused = GetFocus() == Handle;
  Enabled = (StyleCopy & WS_DISABLED) == 0;
  const int frame = Frame();
  const int b = Metric(SM_CXHSCROLL);
  const RECT r{0, 0, Rect.right - Rect.left, Rect.bottom - Rect.top};
  const bool left = (ExStyleCopy & WS_EX_LEFTSCROLLBAR) != 0;
  RECT text, box, glyph;
  if (left) {
    text = {b + 4, 2, r.right - 2, r.bottom - 2};
    box = {0, 0, b + 2, r.bottom};
    glyph = {2, r.top, b + 2, r.bottom};
  } else {
    text = {2, 2, r.right - b - 4, r.bottom - 2};
    box = {r.right - b - 2, r.top, r.right, r.bottom};
    glyph = {r.right - b - 2, r.top, r.right - 2, r.bottom};
  }
  const gui::TDCStateGuard saved(DC);
  ExcludeClipRect(DC, text.left, text.top, text.right, text.bottom);
  DrawElement(DC, r, edge->Frames(), frame, *edge);
  // The mirrored strip holds its cells in reverse order too: frame f of the
  // left-hand button is cell (count + 1 - f) of the mirror.
  const int cells = button->Frames();
  if (left) {
    if (gui::TBitmap* mirrored = Skin->SkinBitmap(button->Bitmap2))
      DrawFrame(DC, box, *mirrored, true, cells, cells + 1 - frame);
  } else {
    DrawFrame(DC, box, *Skin->SkinBitmap(button->Bitmap), true, cells, frame);
  }
  if (const TDataSkinObject* extra = Skin->ExtraImages.get())
    if (gui::TBitmap* arrows = Skin->SkinBitmap(extra->Bitmap))
      DrawCentredCell(DC, glyph, *arrows, extra->Frames(), frame);
}

void TSkinComBox::PaintFlat(HDC DC, const RECT& Rect, const TDataSkinBorder& Button) {
  Focused = GetFocus() == Handle;
  Enabled = (StyleCopy & WS_DISABLED) == 0;
  const int frame = Frame();
  HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH));
  RECT r{Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1};
  FrameRect(DC, &r, brush);
  InflateRect(&r, -1, -1);
  const RECT box{r.right - Metric(SM_CYVTHUMB), r.top, r.right, r.bottom};
  FillRect(DC, &box, brush);
  DrawFrame(DC, box, *Skin->SkinBitmap(Button.Bitmap), false, Button.Frames(), frame);
  FrameInShadow(DC, Rect, Skin->ButtonShadowColour);
}

// --- edits

bool TSkinEdit::BeforeMessage(gui::TMessage& Message) {
  if (Message.Msg != WM_PRINT || !Message.WParam) return TSkinControl::BeforeMessage(Message);
  // The edit leaves its own clipping behind in the caller's DC, which would
  // keep the frame off the very pixels it belongs on.
  {
    const gui::TDCStateGuard saved(reinterpret_cast<HDC>(Message.WParam));
    DefaultHandler(Message);
  }
  AfterMessage(Message);
  return false;
}

void TSkinEdit::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // A paint into a caller's DC is someone else's picture of the edit.
      if (Message.WParam == 0) PaintNow(nullptr);
      return;
    case WM_NCPAINT:
      // The system has just drawn its sunken edge where the flat frame goes;
      // a frame-only repaint brings no WM_PAINT to cover it.
      PaintNow(nullptr);
      return;
    case WM_PRINT: {
      const RECT r = WindowBounds();
      if (r.right < 0) return;
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      HDC own = dc ? nullptr : SkinnerWindowDC(Handle);
      try {
        PrintPaint(dc ? dc : own, r);
      } catch (...) {
        // The printed picture keeps the system's border.
        gui::DebugReport(L"printing a combo box's skinned border", Handle);
      }
      if (own) ReleaseDC(Handle, own);
      return;
    }
  }
  TSkinControl::AfterMessage(Message);
}

void TSkinEdit::SkinUpDownChild() {
  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, L"msctls_updown32") != 0 && lstrcmpiW(name, L"TSpinButton") != 0) continue;
    UpDownSkinner = Owner()->Make<TSkinUpDown>();
    UpDownSkinner->InEdit = true;
    UpDownSkinner->InitWindow(child, SkinData, FormSkinner);
    return;
  }
}

void TSkinEdit::Paint(HDC DC, const RECT& Rect) {
  if (!UpDownSkinner) SkinUpDownChild();
  RECT client{};
  GetClientRect(Handle, &client);
  if (client.right == Rect.right - Rect.left || client.bottom == Rect.bottom - Rect.top) return;
  FrameInShadow(DC, Rect, Skin->ButtonShadowColour);
  const RECT inner{Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1};
  FrameRect(DC, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void TSkinEdit::PrintPaint(HDC DC, const RECT& Rect) {
  RECT client{};
  GetClientRect(Handle, &client);
  if (client.right + 2 >= Rect.right || client.bottom + 2 >= Rect.bottom) return;
  const RECT inner{Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1};
  FrameRect(DC, &inner, static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH)));
  FrameInShadow(DC, Rect, Skin->ButtonShadowColour);
}

}  // namespace qm
