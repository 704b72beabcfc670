#pragma once
// The built-in scroll bars of a scrolled control (memos, list boxes, list
// views, any control with a scroll-bar style), painted from the skin over
// what the system drew after every change; the control keeps its own
// scrolling. The skinner runs the thumb drag itself, so that the thumb
// follows the skin's geometry. A list view's column header is skinned too.

#include <windows.h>

#include "gui/graphics.h"
#include "skin/3_controls/skin_control.h"

namespace qm {
class TSkinData;
class TLoadedSkin;
}

namespace qm {

class TSkinScrollbar : public TSkinControl {
  QM_GUI_CLASS(TSkinScrollbar, TSkinControl)
 public:
  // HitPart values.
  enum : int { hpNone = 0, hpLeft = 1, hpRight = 2, hpUp = 3, hpDown = 4, hpHorzThumb = 5, hpVertThumb = 6 };
  struct TBarMetrics {
    int Arrow = 0, Track = 0, Thumb = 0, Offset = 0;
    LONG_PTR StyleBit = 0;
  };

  using TSkinControl::TSkinControl;
  // A library control; TrackThumb: the skinner drags the thumb itself.
  virtual void InitScroll(TFormSkinnerLink* FormSkinner, TSkinData* SkinData, bool TrackThumb);
  void InitWindow(HWND Window, TSkinData* SkinData, TFormSkinnerLink* FormSkinner) override;

  // The thumb of a bar whose track is Track long, for the control's scroll
  // information; false (Metrics unchanged) for an empty range.
  static bool ThumbMetrics(const SCROLLINFO& Info, int Track, int Arrow, TBarMetrics& Metrics);
  // The part a scroll message shows pressed (HitPart), by its code.
  static int ScrollHitPart(bool Vertical, int Code);
  // Where a dragged thumb goes when the mouse would take it Wanted pixels
  // into the track: within the track less the thumb.
  static int DragOffset(int Wanted, const TBarMetrics& Metrics);
  // The scroll position of a thumb dragged to Offset.
  static int DragPosition(int Offset, const SCROLLINFO& Info, const TBarMetrics& Metrics);

  int HitPart = hpNone;
  bool Tracking = false, TrackThumb = false, InVScroll = false, InHScroll = false;
  SCROLLINFO HorzInfo{}, VertInfo{};
  RECT HorzBarRect{}, VertBarRect{}, Corner{};
  TBarMetrics HorzMetrics, VertMetrics;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void AfterMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  void Start();
  void PaintBar(HDC DC, const RECT& Bar, bool Vertical, int B);
  // A press on a bar's thumb starts the drag; true when it was taken.
  bool PressTest(WPARAM HitTest, LPARAM Point);
  void DragThumb(bool Vertical);
  // Ends the drag where the thumb is: the final position, then end-scroll.
  void FinishDrag();
  gui::TBitmap FBar;
  // The running drag's scroll message and the last position it sent.
  UINT FDragMessage = 0;
  int FDragPosition = 0;
};

// A stand-alone scroll-bar control, painted whole as one bar of its kind.
class TSkinScControl : public TSkinControl {
  QM_GUI_CLASS(TSkinScControl, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  static bool ThumbMetrics(const SCROLLINFO& Info, int Track, int Arrow, TSkinScrollbar::TBarMetrics& Metrics);
  int HitPart = TSkinScrollbar::hpNone;
  TSkinScrollbar::TBarMetrics Metrics;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  gui::TBitmap FBar;
};

// One scroll bar composed from the skin at Bar on DC: track, arrows (the
// pressed one by HitPart, or both disabled) and the thumb where Metrics
// put it.
void PaintSkinScrollBar(HDC DC, const RECT& Bar, bool Vertical, const TLoadedSkin& Skin, int HitPart,
                        const TSkinScrollbar::TBarMetrics& Metrics, gui::TBitmap& Buffer, bool Enabled = true);

// A list view: its scroll bars, and its column header.
class TSkinListView : public TSkinScrollbar {
  QM_GUI_CLASS(TSkinListView, TSkinScrollbar)
 public:
  using TSkinScrollbar::TSkinScrollbar;
  void InitScroll(TFormSkinnerLink* FormSkinner, TSkinData* SkinData, bool TrackThumb) override;
  // The header's skinner, looked up each time among the list view's own
  // components: the form skinner may free it first, when the header goes.
  TSkinControl* HeaderSkinner() const;
};

// A column header: every item, and the rest of the strip, on the skin's
// header image.
class TSkinHeader : public TSkinControl {
  QM_GUI_CLASS(TSkinHeader, TSkinControl)
 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override;
  void Paint(HDC DC, const RECT& Rect) override;

 private:
  gui::TBitmap FBuffer;
};

}  // namespace qm
