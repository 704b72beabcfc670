#pragma once
// TSkinButton: a push button painted wholly from the skin's button image.
// The button never paints itself; the skinner tracks hover and press itself
// and makes the click, so that the pressed look is the skin's and not the
// system's.

#include "gui/glyph_buttons.h"
#include "gui/graphics.h"
#include "skin/3_controls/skin_control.h"

namespace qm {

class TSkinButton : public TSkinControl {
  QM_GUI_CLASS(TSkinButton, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  // The strip frame for the current state: 1 normal, 2 pressed, 3 disabled,
  // 4 hot, 5 focused (1 when the skin's strip has no fifth frame). A
  // focused button must not look hovered: Enter and Space press it, not
  // the one under the mouse.
  int Frame() const;
  // The frame of a focused button in a strip of FrameCount frames.
  static int FocusedFrame(int FrameCount) { return FrameCount >= 5 ? 5 : 1; }

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 protected:
  // The face in Buffer, sized to Rect: the element's frame over the face
  // colour. Null for an empty Rect.
  HDC ComposeFace(const RECT& Rect, int FrameCount, int Frame);
  // Composes the face: the element's frame over the face colour, then glyph
  // cell and caption by the glyph's layout in the caption colour of the
  // state, and copies it to DC.
  void PaintGlyphFace(HDC DC, const RECT& Rect, int FrameCount, int Frame, int Cell,
                      const gui::TButtonGlyph* Glyph, const gui::TFont& Font);
  // The dotted rectangle inside the face of the composed button, when the
  // window shows keyboard focus.
  void DrawFocusInside(HDC Buffer, const RECT& Face) const;
  // Becomes the form skinner's one hot button; the one before it is told
  // the mouse left it.
  void BecomeHot();
  void DropHot();
  // The mouse left this button, as it is told when another becomes hot.
  virtual void MouseLeft();
  gui::TBitmap FBuffer;

 private:
  void Click();
};

// A button with a glyph: the skin's button image under the glyph and caption,
// laid out as the button lays them out itself. Made by a host for its bit
// buttons.
class TSkinBitButton : public TSkinButton {
  QM_GUI_CLASS(TSkinBitButton, TSkinButton)
 public:
  using TSkinButton::TSkinButton;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;
};

// A windowless speed button: it has no window of its own, so the skinner
// paints into its parent's DC at the button's bounds. Made by a host.
class TSkinSpeedButton : public TSkinBitButton {
  QM_GUI_CLASS(TSkinSpeedButton, TSkinBitButton)
 public:
  using TSkinBitButton::TSkinBitButton;
  // Takes over the owner's (a speed button's) message handling.
  void InitGraphic(TFormSkinnerLink* FormSkinner, TSkinData* SkinData);
  void PaintNow(HDC DC) override;
  void SkinChanged() override;
  gui::TSpeedButton* GraphicControl = nullptr;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;
  void MouseLeft() override;
};

}  // namespace qm
