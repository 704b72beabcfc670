#pragma once
// TSkinUpDown: an up-down control painted wholly by the skinner, each half
// from the skin's up-down strip in its own state (or, in a skin without
// one, as a plain button with an arrow). The control keeps its own
// clicking and auto-repeat; only its picture is replaced.

#include "gui/graphics.h"
#include "skin/3_controls/skin_control.h"

namespace qm {

// Cell Frame of a strip of FrameCount, unscaled, centred in Area, through
// the key colour.
void DrawCentredCell(HDC DC, const RECT& Area, gui::TBitmap& Strip, int FrameCount, int Frame);

class TSkinUpDown : public TSkinControl {
  QM_GUI_CLASS(TSkinUpDown, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  // The buddy of an edit, sitting inside the edit's frame: its halves keep
  // a pixel clear of the frame.
  bool InEdit = false;

  // The state of each half for the cursor at Cursor (client coordinates):
  // 1 normal, 2 pressed, 3 disabled, 4 hot. First is the up or left half.
  struct THalves {
    RECT First, Second;
    int FirstState, SecondState;
  };
  THalves Halves(const RECT& Client, POINT Cursor) const;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void PaintPlainHalf(HDC DC, const RECT& R, int State, int Part) const;
  gui::TBitmap FBuffer;
  // Which half the hot look was last painted on.
  bool FHotSecond = false;
  bool FHotShown = false;
};

}  // namespace qm
