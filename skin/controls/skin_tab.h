#pragma once
// Tab controls painted from the skin's tab strip: TSkinTab lets the control
// paint itself and then lays the skin's tabs and page frame over it;
// TSkinTab31 paints an old-style tab set (a row of tabs without pages)
// alone.

#include "gui/graphics.h"
#include "skin_control.h"

namespace qm {

class TSkinTab : public TSkinControl {
  QM_GUI_CLASS(TSkinTab, TSkinControl)
 public:
  enum TOrientation : int { toTop = 0, toBottom = 1, toLeft = 2, toRight = 3 };
  using TSkinControl::TSkinControl;
  void InitWindow(HWND Window, TSkinData* SkinData, TWinSkinForm* FormSkinner) override;
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

// What an old-style tab set tells its skinner. A tab set control implements
// it; the skinner of any other control paints nothing.
class ITabSetSource {
 public:
  virtual ~ITabSetSource() = default;
  virtual int TabCount() const = 0;
  virtual std::wstring TabCaption(int Index) const = 0;
  virtual int SelectedTab() const = 0;
  virtual int FirstVisibleTab() const = 0;
  virtual int StartMargin() const = 0;
  virtual int EndMargin() const = 0;
};

class TSkinTab31 : public TSkinControl {
  QM_GUI_CLASS(TSkinTab31, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void InitControl(TWinSkinForm* FormSkinner, TSkinData* SkinData, bool Recolour) override;
  void SkinChanged() override;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void PrepareImage();
  gui::TBitmap FTabImage;
};

}  // namespace qm
