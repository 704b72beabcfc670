#pragma once
// Check boxes and radio buttons are painted whole by their skinner: the
// skin's check or radio image, the caption and the focus rectangle; a
// group box gets a rounded frame in the skin's shadow colour and its caption
// on the skin's face; a panel only takes the skin's face colour.

#include "skin/3_controls/skin_control.h"

namespace qm {

class TSkinCheckBox : public TSkinControl {
  QM_GUI_CLASS(TSkinCheckBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  // The strip frame the box shows now: 1 unchecked, 2 checked, plus 2 when
  // disabled; 4 for an indeterminate check box.
  int Frame() const;
  // Where the image goes in a control of Rect for a cell of Width x Height,
  // in a window of Dpi.
  static RECT BoxRect(const RECT& Rect, int Width, int Height, bool LeftText, int Dpi = 96);

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;
  virtual bool Radio() const { return false; }
  // The skin's check or radio strip; none: the control paints itself.
  gui::TBitmap* Strip() const;

 private:
  // The caption beside the box, greyed when disabled, with the focus
  // rectangle around it when the window shows keyboard focus.
  void PaintCaption(HDC DC, const RECT& Place, bool LeftText);
};

class TSkinRadioButton : public TSkinCheckBox {
  QM_GUI_CLASS(TSkinRadioButton, TSkinCheckBox)
 public:
  using TSkinCheckBox::TSkinCheckBox;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override {
    if (Message.Msg == WM_PAINT || Message.Msg == WM_ERASEBKGND) return TSkinCheckBox::BeforeMessage(Message);
    return TSkinControl::BeforeMessage(Message);
  }
  bool Radio() const override { return true; }
};

class TSkinGroupBox : public TSkinControl {
  QM_GUI_CLASS(TSkinGroupBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;

 protected:
  void Paint(HDC DC, const RECT& Rect) override;
};

// Panels, embedded forms and navigator bars: the face colour, nothing more.
class TSkinBox : public TSkinControl {
  QM_GUI_CLASS(TSkinBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void InitControl(TFormSkinnerLink* FormSkinner, TSkinData* SkinData, bool Recolour) override;
  void RestoreControl() override;
};

}  // namespace qm
