#include "skin/3_controls/skin_up_down.h"

#include <commctrl.h>

#include "gui/graphics.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"

namespace qm {

void DrawCentredCell(HDC DC, const RECT& Area, gui::TBitmap& Strip, int FrameCount, int Frame) {
  const RECT cell = SkinFrameRect(Strip, false, FrameCount, Frame);
  const int w = cell.right - cell.left, h = cell.bottom - cell.top;
  DrawTransparentPart(DC, Area.left + (Area.right - Area.left - w) / 2, Area.top + (Area.bottom - Area.top - h) / 2,
                      Strip, cell, SkinKeyColour);
}

bool TSkinUpDown::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintCycle(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control first: it decides which half the press is in and
      // starts its repeat.
      DefaultHandler(Message);
      MouseFlags |= mfPressed;
      PaintNow(nullptr);
      return false;
    case WM_LBUTTONUP:
      MouseFlags &= ~mfPressed;
      DefaultHandler(Message);
      PaintNow(nullptr);
      return false;
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinUpDown::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      // The half under the mouse shows hot, and the look follows the mouse
      // from one half to the other. Up-downs of edits and tab controls are
      // bare windows: they ask for the leave themselves.
      if (!(MouseFlags & mfHot)) {
        MouseFlags |= mfHot;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle, 0};
        TrackMouseEvent(&track);
      }
      const POINT at{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
      RECT client{};
      GetClientRect(Handle, &client);
      const bool second = Halves(client, at).SecondState != 1;
      if (second != FHotSecond || !FHotShown) {
        FHotSecond = second;
        FHotShown = true;
        PaintNow(nullptr);
      }
      return;
    }
    case WM_MOUSELEAVE:
      MouseFlags &= ~(mfHot | mfPressed);
      FHotShown = false;
      PaintNow(nullptr);
      return;
  }
  TSkinControl::AfterMessage(Message);
}

TSkinUpDown::THalves TSkinUpDown::Halves(const RECT& Client, POINT Cursor) const {
  RECT c = Client;
  if (InEdit) InflateRect(&c, -1, -1);
  THalves h{c, c, 1, 1};
  bool inSecond;
  if (GetWindowLongPtrW(Handle, GWL_STYLE) & UDS_HORZ) {
    const int half = (c.right - c.left) / 2;
    h.First.right = h.Second.left = c.left + half;
    inSecond = Cursor.x >= c.left + half;
  } else {
    const int half = (c.bottom - c.top) / 2;
    h.First.bottom = h.Second.top = c.top + half;
    inSecond = Cursor.y >= c.top + half;
  }
  const int state = MouseFlags & mfPressed ? 2 : MouseFlags & mfHot ? 4 : 1;
  (inSecond ? h.SecondState : h.FirstState) = state;
  if (!Enabled) h.FirstState = h.SecondState = 3;
  return h;
}

void TSkinUpDown::Paint(HDC DC, const RECT& Rect) {
  RECT client{};
  if (!GetClientRect(Handle, &client) || client.right <= 0 || client.bottom <= 0) return;
  FBuffer.SetSize(client.right, client.bottom);
  HDC buffer = FBuffer.Canvas().Handle();
  FillFace(buffer, client);
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(Handle, &cursor);
  const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
  Enabled = (style & WS_DISABLED) == 0;
  const bool horz = (style & UDS_HORZ) != 0;
  const THalves halves = Halves(client, cursor);
  const TDataSkinBorder* element = horz ? Skin->UpDownHorz.get() : Skin->UpDownVert.get();
  gui::TBitmap* strip = element ? Skin->SkinBitmap(element->Bitmap) : nullptr;
  gui::TBitmap* glyphs = element ? Skin->SkinBitmap(element->Bitmap2) : nullptr;
  for (int i = 0; i < 2; ++i) {
    const RECT& r = i ? halves.Second : halves.First;
    const int state = i ? halves.SecondState : halves.FirstState;
    if (!strip) {
      PaintPlainHalf(buffer, r, state, (horz ? 2 : 0) + i);
      continue;
    }
    // Frames 1 to 4 are the first half's four states, 5 to 8 the second's.
    const int frame = state + 4 * i;
    DrawFrame(buffer, r, *strip, true, element->Frames(), frame);
    if (glyphs) DrawCentredCell(buffer, r, *glyphs, element->Frames(), frame);
  }
  BitBlt(DC, Rect.left, Rect.top, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
}

void TSkinUpDown::PaintPlainHalf(HDC DC, const RECT& R, int State, int Part) const {
  // Made before the DC's state is saved, so that they are deleted only once
  // the DC has let go of them.
  gui::TGdiHandle<HPEN> edge(CreatePen(PS_SOLID, 1, gui::ColorToRGB(Skin->ButtonDkShadowColour)), true);
  const bool down = State == 2 || State == 4;
  gui::TGdiHandle<HBRUSH> face(
      CreateSolidBrush(gui::ColorToRGB(down ? Skin->ButtonShadowColour : Skin->ButtonFaceColour)), true);
  gui::TGdiHandle<HPEN> ink(CreatePen(PS_SOLID, 1, GetSysColor(State == 3 ? COLOR_BTNSHADOW : COLOR_BTNTEXT)), true);
  const gui::TDCStateGuard saved(DC);
  SelectObject(DC, edge.Get());
  SelectObject(DC, face.Get());
  Rectangle(DC, R.left, R.top, R.right, R.bottom);
  SelectObject(DC, ink.Get());
  const int cx = (R.left + R.right) / 2, cy = (R.top + R.bottom) / 2;
  // A solid chevron: five lines of 1 to 9 pixels for up and down, three
  // columns of 1 to 5 for left and right (at 96 DPI, more at larger
  // scales), the tip towards the arrow's way.
  const int rows = Scaled(5), columns = Scaled(3);
  for (int i = 0; i < rows && Part < 2; ++i) {
    const int y = Part == 0 ? cy - (rows - 1) + i : cy - i;
    MoveToEx(DC, cx - i, y, nullptr);
    LineTo(DC, cx + i + 1, y);
  }
  for (int i = 0; i < columns && Part >= 2; ++i) {
    const int x = Part == 2 ? cx - (columns - 2) + i : cx + (columns - 2) - i;
    MoveToEx(DC, x, cy - i, nullptr);
    LineTo(DC, x, cy + i + 1);
  }
}

}  // namespace qm
