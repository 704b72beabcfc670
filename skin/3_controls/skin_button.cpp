#include "skin/3_controls/skin_button.h"

#include "gui/debug_report.h"
#include "gui/forms.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/3_controls/form_skinner_link.h"

namespace qm {

// The strip holds five frames, whatever the element says.
constexpr int kButtonFrames = 5;

int TSkinButton::Frame() const {
  if (!Enabled) return 3;
  if (MouseFlags & mfPressed) return 2;
  if (MouseFlags & mfHot) return 4;
  if (Focused) return FocusedFrame(Skin && Skin->Buttons ? Skin->Buttons->FrameCount : 0);
  return 1;
}

void TSkinButton::DrawFocusInside(HDC Buffer, const RECT& Face) const {
  if (!Enabled || !FocusShown()) return;
  RECT inside = Face;
  InflateRect(&inside, -Scaled(4), -Scaled(4));
  DrawFocusAround(Buffer, inside, Face);
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
    if (auto* other = dynamic_cast<TSkinButton*>(FormSkinner->HotButton())) other->MouseLeft();
    PaintNow(nullptr);
    if (FormSkinner) FormSkinner->SetHotButton(this);
  }
}

void TSkinButton::DropHot() {
  if (FormSkinner && FormSkinner->HotButton() == this) FormSkinner->SetHotButton(nullptr);
}

void TSkinButton::MouseLeft() {
  if (Handle) SendMessageW(Handle, gui::CM_MOUSELEAVE, 0, 0);
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
        DropHot();
      }
      return;
  }
  TSkinControl::AfterMessage(Message);
}

void TSkinButton::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinButton* element = Skin->Buttons.get();
  if (!element || !Skin->SkinBitmap(element->Bitmap)) return;
  ReadState();
  if (Text.empty() && Control) Text = gui::Widen(Control->Caption());
  const int frame = Frame();
  HDC buffer = ComposeFace(Rect, kButtonFrames, frame);
  if (!buffer) return;
  const RECT whole{0, 0, Rect.right - Rect.left, Rect.bottom - Rect.top};
  const gui::TDCStateGuard saved(buffer);
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0))) SelectObject(buffer, font);
  TSkinColour colour = Skin->ButtonTextColour;
  if (frame == 1) colour = element->NormalColour2;
  if (frame == 4) colour = element->MouseOverColour2;
  if (frame == 2) colour = element->PressedColour2;
  SetTextColor(buffer, gui::ColorToRGB(colour));
  DrawCaption(buffer, whole, DT_CENTER, Enabled, Text);
  DrawFocusInside(buffer, whole);
  BitBlt(DC, Rect.left, Rect.top, whole.right, whole.bottom, buffer, 0, 0, SRCCOPY);
}

HDC TSkinButton::ComposeFace(const RECT& Rect, int FrameCount, int Frame) {
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w <= 0 || h <= 0) return nullptr;
  FBuffer.SetSize(w, h);
  HDC buffer = FBuffer.Canvas().Handle();
  const RECT whole{0, 0, w, h};
  FillFace(buffer, whole);
  DrawElement(buffer, whole, FrameCount, Frame, *Skin->Buttons);
  return buffer;
}

}  // namespace qm

namespace qm {

namespace {

enum TFace : int { fcNormal = 1, fcPressed = 2, fcDisabled = 3, fcHot = 4 };

int GlyphCellOf(int Frame) {
  switch (Frame) {
    case fcPressed: return gui::gcPressed;
    case fcDisabled: return gui::gcDisabled;
    default: return gui::gcNormal;
  }
}

}  // namespace

void TSkinButton::PaintGlyphFace(HDC DC, const RECT& Rect, int FrameCount, int Frame, int Cell,
                                 const gui::TButtonGlyph* Glyph, const gui::TFont& Font) {
  const TDataSkinButton& element = *Skin->Buttons;
  HDC buffer = ComposeFace(Rect, FrameCount, Frame);
  if (!buffer) return;
  const RECT whole{0, 0, Rect.right - Rect.left, Rect.bottom - Rect.top};
  {
    const gui::TDCStateGuard saved(buffer);
    SelectObject(buffer, Font.Handle());
    // The skin's caption colours count only where the skin gives them; else
    // the button keeps its own font colour.
    gui::TColor colour = Font.Color();
    if (Frame == fcNormal && element.HasNormalColour2) colour = element.NormalColour2;
    if (Frame == fcHot && element.HasMouseOverColour2) colour = element.MouseOverColour2;
    if (Frame == fcPressed && element.HasPressedColour2) colour = element.PressedColour2;
    SetTextColor(buffer, Frame == fcDisabled ? GetSysColor(COLOR_GRAYTEXT) : gui::ColorToRGB(colour));
    if (Glyph && !Glyph->Glyph().Empty()) {
      gui::DrawGlyphAndCaption(buffer, whole, *Glyph, Cell, Text);
    } else {
      DrawCaption(buffer, whole, DT_CENTER, Frame != fcDisabled, Text);
    }
  }
  DrawFocusInside(buffer, whole);
  BitBlt(DC, Rect.left, Rect.top, whole.right, whole.bottom, buffer, 0, 0, SRCCOPY);
}

// --- TSkinBitButton

bool TSkinBitButton::BeforeMessage(gui::TMessage& Message) {
  // The button is owner-drawn; its own face would flash over the skin's.
  if (Message.Msg == gui::CN_DRAWITEM) {
    Message.Result = TRUE;
    return false;
  }
  return TSkinButton::BeforeMessage(Message);
}

void TSkinBitButton::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinButton* element = Skin->Buttons.get();
  if (!element || !Skin->SkinBitmap(element->Bitmap) || !Control) return;
  ReadState();
  auto* button = dynamic_cast<gui::TBitBtn*>(Control);
  if (Text.empty()) Text = gui::Widen(Control->Caption());
  int frame = fcNormal;
  if (Focused) frame = FocusedFrame(element->Frames());
  if (MouseFlags & mfPressed)
    frame = fcPressed;
  else if (MouseFlags & mfHot)
    frame = fcHot;
  if (!Enabled) frame = fcDisabled;
  PaintGlyphFace(DC, Rect, element->Frames(), frame, GlyphCellOf(frame), button ? &button->ButtonGlyph() : nullptr,
                 Control->Font());
}

// --- TSkinSpeedButton

void TSkinSpeedButton::InitGraphic(TFormSkinnerLink* Skinner, TSkinData* Data) {
  if (Initialised) return;
  GraphicControl = dynamic_cast<gui::TSpeedButton*>(Owner());
  if (!GraphicControl) return;
  SkinData = Data;
  FormSkinner = Skinner;
  TakeSkin();
  try {
    HookWindowProc(GraphicControl);
    FormSkinner->AddControl(this);
  } catch (...) {
    AbandonAttach();
    throw;
  }
  Initialised = true;
  State = stAttached;
  GraphicControl->Invalidate();
}

bool TSkinSpeedButton::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // The parent paints its windowless children into its own DC, moved to
      // the button's top left.
      if (Message.WParam) {
        const RECT bounds = GraphicControl->ClientRect();
        Paint(reinterpret_cast<HDC>(Message.WParam), bounds);
      }
      Message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      DefaultHandler(Message);
      MouseFlags |= mfPressed;
      PaintNow(nullptr);
      return false;
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinSpeedButton::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCDESTROY:
    case gui::CM_RELEASE:
      // The button goes: its own handler comes back when this skinner, which
      // it owns, is freed with it a moment later.
      State = stDead;
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (Message.WParam != VK_SPACE) return;
      if (Message.Msg == WM_KEYDOWN)
        MouseFlags |= mfPressed;
      else
        MouseFlags &= ~mfPressed;
      PaintNow(nullptr);
      return;
    case WM_LBUTTONUP:
      MouseFlags &= ~mfPressed;
      PaintNow(nullptr);
      return;
    case gui::CM_MOUSEENTER:
      if (GraphicControl->Enabled()) BecomeHot();
      return;
    case gui::CM_MOUSELEAVE:
      MouseFlags &= ~(mfHot | mfPressed);
      if (GraphicControl->Visible()) PaintNow(nullptr);
      DropHot();
      return;
    case gui::CM_ENABLEDCHANGED: PaintNow(nullptr); return;
  }
}

void TSkinSpeedButton::MouseLeft() {
  if (GraphicControl) GraphicControl->Perform(gui::CM_MOUSELEAVE);
}

void TSkinSpeedButton::SkinChanged() {
  // No window of its own to invalidate: its parent repaints its place.
  TakeSkin();
  if (GraphicControl) GraphicControl->Invalidate();
}

void TSkinSpeedButton::PaintNow(HDC DC) {
  if (!GraphicControl || !GraphicControl->Showing()) return;
  gui::TWinControl* parent = GraphicControl->Parent();
  if (!parent || !parent->HandleAllocated()) return;
  const RECT bounds = GraphicControl->BoundsRect();
  HDC own = DC ? nullptr : GetDC(parent->Handle());
  HDC target = DC ? DC : own;
  {
    const gui::TDCStateGuard saved(target);
    if (own) {
      SetViewportOrgEx(target, bounds.left, bounds.top, nullptr);
      IntersectClipRect(target, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
    }
    try {
      Paint(target, GraphicControl->ClientRect());
    } catch (...) {
      // The next paint of the parent starts over.
      gui::DebugReport(L"painting a speed button", parent->Handle());
    }
  }
  if (own) ReleaseDC(parent->Handle(), own);
}

void TSkinSpeedButton::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinButton* element = Skin->Buttons.get();
  if (!element || !Skin->SkinBitmap(element->Bitmap) || !GraphicControl) return;
  Enabled = GraphicControl->Enabled();
  Text = gui::Widen(GraphicControl->Caption());
  int frame = fcNormal;
  if (MouseFlags & mfPressed)
    frame = fcPressed;
  else if (MouseFlags & mfHot)
    frame = fcHot;
  if (!Enabled) frame = fcDisabled;
  if (GraphicControl->Down()) frame = fcPressed;
  // A button that is down keeps its pressed face when switched off; its
  // glyph shows that it is off.
  PaintGlyphFace(DC, Rect, element->Frames(), frame, GlyphCellOf(Enabled ? frame : fcDisabled),
                 &GraphicControl->ButtonGlyph(), GraphicControl->Font());
}

}  // namespace qm
