#pragma once
// Skinners of the small common controls: progress bars and status bars
// painted from the skin, track bars whose thumb the skin draws through the
// control's custom drawing, and size grips framed in the skin's shadow.

#include "skin/3_controls/skin_control.h"

namespace qm {

class TSkinProgress : public TSkinControl {
  QM_GUI_CLASS(TSkinProgress, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  // How much of Width a bar at Position of a range up to Limit fills; a
  // range that does not start at 0 is filled as if it did.
  static int FilledWidth(int Position, int Limit, int Width);

 protected:
  void Paint(HDC DC, const RECT& Rect) override;
};

class TSkinTrackBar : public TSkinControl {
  QM_GUI_CLASS(TSkinTrackBar, TSkinControl)
 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;

 private:
  LRESULT CustomDraw(const NMCUSTOMDRAW& Draw);
  void DrawThumb(HDC DC);
};

class TSkinStatusBar : public TSkinControl {
  QM_GUI_CLASS(TSkinStatusBar, TSkinControl)
 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void PaintPanels(HDC DC, int Width, int Height);
};

class TSkinSizer : public TSkinControl {
  QM_GUI_CLASS(TSkinSizer, TSkinControl)
 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;
};

}  // namespace qm
