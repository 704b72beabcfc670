#include "skin_button.h"

#include "gui/forms.h"
#include "win_skin_data.h"
#include "win_skin_form.h"

namespace qm {

// The strip holds five frames, whatever the element says.
constexpr int kButtonFrames = 5;

int TSkinButton::Frame() const {
  if (!Enabled) return 3;
  if (MouseFlags & mfPressed) return 2;
  if ((MouseFlags & mfHot) || Focused) return 4;
  return 1;
}

bool TSkinButton::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintCycle(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The button itself never sees the press: its own pressed look would
      // flash over the skin's.
      if (!Focused) SetFocus(Handle);
      MouseFlags |= mfPressed;
      PaintNow(nullptr);
      Message.Result = 0;
      return false;
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinButton::BecomeHot() {
  MouseFlags |= mfHot;
  if (FormSkinner && FormSkinner->HotButton() != this) {
    if (TSkinControl* other = FormSkinner->HotButton(); other && other->Handle)
      SendMessageW(other->Handle, gui::CM_MOUSELEAVE, 0, 0);
    Repaint();
    FormSkinner->SetHotButton(this);
  }
}

void TSkinButton::Click() {
  if (Control) {
    Control->Click();
    return;
  }
  PostMessageW(GetParent(Handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle), 0), reinterpret_cast<LPARAM>(Handle));
}

void TSkinButton::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      if (Message.WParam == VK_SPACE) {
        MouseFlags |= mfPressed;
        Repaint();
      }
      return;
    case WM_KEYUP:
      // The button's own key handling makes the click.
      if (Message.WParam == VK_SPACE) {
        MouseFlags &= ~mfPressed;
        Repaint();
      }
      return;
    case WM_MOUSEMOVE:
      if (!(MouseFlags & mfHot)) BecomeHot();
      return;
    case WM_LBUTTONUP:
      if (MouseFlags & mfPressed) {
        MouseFlags &= ~mfPressed;
        Repaint();
        Click();
      }
      return;
    case gui::CM_MOUSEENTER:
      if (Enabled) BecomeHot();
      return;
    case gui::CM_MOUSELEAVE:
      if (Enabled) {
        MouseFlags &= ~(mfHot | mfPressed);
        Repaint();
        if (FormSkinner && FormSkinner->HotButton() == this) FormSkinner->SetHotButton(nullptr);
      }
      return;
  }
  TSkinControl::AfterMessage(Message);
}

void TSkinButton::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinButton* element = SkinData->Buttons.get();
  if (!element || !SkinData->SkinBitmap(element->Bitmap)) return;
  ReadState();
  if (Text.empty() && Control) Text = gui::Widen(Control->Caption());
  const int frame = Frame();
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w <= 0 || h <= 0) return;
  FBuffer.SetSize(w, h);
  HDC buffer = FBuffer.Canvas().Handle();
  const RECT whole{0, 0, w, h};
  FillFace(buffer, whole);
  DrawElement(buffer, whole, kButtonFrames, frame, *element);
  const gui::TDCStateGuard saved(buffer);
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0))) SelectObject(buffer, font);
  TSkinColour colour = SkinData->ButtonTextColour;
  if (frame == 1) colour = element->NormalColour2;
  if (frame == 4) colour = element->MouseOverColour2;
  if (frame == 2) colour = element->PressedColour2;
  SetTextColor(buffer, gui::ColorToRGB(colour));
  DrawCaption(buffer, whole, DT_CENTER, Enabled, Text);
  BitBlt(DC, Rect.left, Rect.top, w, h, buffer, 0, 0, SRCCOPY);
}

}  // namespace qm
