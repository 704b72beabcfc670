#pragma once
// TSkinButton: a push button painted wholly from the skin's button image.
// The button never paints itself; the skinner tracks hover and press itself
// and makes the click, so that the pressed look is the skin's and not the
// system's.

#include "gui/graphics.h"
#include "skin_control.h"

namespace qm {

class TSkinButton : public TSkinControl {
  QM_GUI_CLASS(TSkinButton, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  // The strip frame for the current state: 1 normal, 2 pressed, 3 disabled,
  // 4 hot or focused.
  int Frame() const;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void BecomeHot();
  void Click();
  gui::TBitmap FBuffer;
};

}  // namespace qm
