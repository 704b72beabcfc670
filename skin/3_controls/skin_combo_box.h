#pragma once
// TSkinComBox: a combo box lets its own painting draw the text, then gets
// its sunken border and drop-down button from the skin; the text area is
// kept out of the way so that the two never fight.
// TSkinEdit: an edit's three-dimensional border becomes a flat two-line
// frame, and an up-down control living inside the edit is skinned with it.

#include "skin/3_controls/skin_control.h"

namespace qm {

class TDataSkinBorder;
class TSkinUpDown;

class TSkinComBox : public TSkinControl {
  QM_GUI_CLASS(TSkinComBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  // The frame of the border, the button and the arrow alike: 1 normal,
  // 2 pressed, 3 disabled, 4 focused or hot.
  int Frame() const;

  LONG_PTR StyleCopy = 0, ExStyleCopy = 0;

 protected:
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void PaintFlat(HDC DC, const RECT& Rect, const TDataSkinBorder& Button);
};

class TSkinEdit : public TSkinControl {
  QM_GUI_CLASS(TSkinEdit, TSkinControl)
 public:
  using TSkinControl::TSkinControl;

  // Made at the first paint that finds an up-down inside the edit. Only
  // compared with null here: the form skinner may free it with its window.
  TSkinUpDown* UpDownSkinner = nullptr;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void SkinUpDownChild();
  void PrintPaint(HDC DC, const RECT& Rect);
};

}  // namespace qm
