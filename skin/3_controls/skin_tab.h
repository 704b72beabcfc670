#pragma once
// Tab controls painted from the skin's tab strip: TSkinTab lets the control
// paint itself and then lays the skin's tabs and page frame over it;
// TSkinTab31 paints an old-style tab set (a row of tabs without pages)
// alone.

#include "gui/graphics.h"
#include "gui/tab_set.h"
#include "skin/3_controls/skin_control.h"

namespace qm {

class TSkinTab : public TSkinControl {
  QM_GUI_CLASS(TSkinTab, TSkinControl)
 public:
  enum TOrientation : int { toTop = 0, toBottom = 1, toLeft = 2, toRight = 3 };
  using TSkinControl::TSkinControl;
  void InitWindow(HWND Window, TSkinData* SkinData, TFormSkinnerLink* FormSkinner) override;
  void SkinChanged() override;

  static TOrientation OrientationOf(LONG_PTR Style);
  // Where the tabs go for a window of Rect and the display area Display
  // (already widened to the page frame).
  static RECT StripRect(TOrientation Orientation, const RECT& Rect, const RECT& Display);
  // An item's rectangle in the strip as it is composed (always laid out
  // with the tabs on top); W is that picture's width.
  static RECT ItemInStrip(TOrientation Orientation, const RECT& Item, const RECT& Rect, const RECT& Display, int W);
  // The page area and its frame: the control's display area widened by 4
  // and moved a pixel away from the tabs.
  RECT FrameRect(const RECT& Rect) const;

  TOrientation Orientation = toTop;
  // The skin's tabs and page frame turned to the control's orientation.
  gui::TBitmap TabImage, BorderImage;
  // The up-down the control shows when its tabs do not fit; it keeps its
  // own look for now.
  TSkinControl* UpDownSkinner = nullptr;

 protected:
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void PrepareImages();
  // The control's scroll arrows, if it made them.
  HWND Arrows();
  gui::TBitmap FBuffer;
};

// An old-style tab set, its tabs hanging below the pages: painted whole from
// the skin's tab image turned upside down.
class TSkinTab31 : public TSkinControl {
  QM_GUI_CLASS(TSkinTab31, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void InitControl(TFormSkinnerLink* FormSkinner, TSkinData* SkinData, bool Recolour) override;
  void SkinChanged() override;
  // The skin's tab image, upside down.
  gui::TBitmap TabImage;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void PrepareImage();
};

}  // namespace qm
