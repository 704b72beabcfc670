#pragma once
// The skinned frame of a form skinner's window: the metrics read from the
// skin, the caption styles taken while the skin draws the caption, the
// window fitted so that its client keeps its size, the border and title
// pictures, and the region cut from their key colour. What the system would
// draw of its own (theme, compositor frame) is taken while the skin paints
// and given back after.

#include <windows.h>

#include <string>

#include "gui/graphics.h"
#include "skin/2_paint/skin_frame.h"

namespace qm {

class TWinSkinForm;

class TFormFrame {
 public:
  explicit TFormFrame(TWinSkinForm& Form);
  TFormFrame(const TFormFrame&) = delete;
  TFormFrame& operator=(const TFormFrame&) = delete;

  // The window's client and native frame as they are now.
  void MeasureNative();
  // Re-reads the metrics from the skin; the old pictures go.
  void Build();
  // Sizes the window so that its client keeps its size under the skinned
  // frame; a dialog whose caption does not fit is widened (not on Reskin).
  void Fit(bool Reskin);
  // The attach is finishing: the client to keep is the one it has now
  // (a window may size itself between activation and the attach message).
  void FitOnAttach();
  // After a change of scale: the native frame at the new one, and the
  // client as the window has laid itself out.
  void ScaleNative(int ToDpi, int FromDpi);
  // The window's frame as the native one again, at the same client size.
  void GiveBackNativeSize();
  void Refresh();
  // Paints the whole frame now on DC, or on a window DC of its own.
  void Paint(HDC DC);
  LRESULT NCCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT NCPaint(WPARAM wParam);
  // Cuts the window's region from the frame's key colour.
  void UpdateRegion();
  void DropRegion();
  // Gives the region up for good: the window's own shape again.
  void ClearRegion();
  void SetCaptionStyles(bool Restore);
  // Theme and compositor frame off while the skin paints the frame, and
  // back; the window out of the compositor's sight until attached.
  void TakeFromSystem();
  void GiveToSystem(bool WindowGoing);
  void SetCloaked() { FCloaked = true; }
  void Uncloak();
  // Where the window goes when maximised: the work area of its monitor.
  void MaximisedArea(MINMAXINFO& Info) const;
  void SettingsChanged(bool CompositionChanged);
  void ReadCaption();
  // Paints nothing while a menu change goes through the form.
  bool& MenuChanging() { return FMenuChanging; }

  const TFrameMetrics& Metrics() const { return FMetrics; }
  RECT CaptionRect() const { return FCaptionRect; }
  int MenuHeight() const { return FMenuHeight; }
  void SetMenuHeight(int Height) { FMenuHeight = Height; }
  // The window's width as last painted.
  int PaintedWidth() const { return FWidth; }
  // The title bar as last composed, for the region and single buttons.
  const gui::TBitmap& TitleBuffer() const { return FTitleBuffer; }
  gui::TBitmap& TitleBuffer() { return FTitleBuffer; }
  void ForgetTitle() { FTitleBuffer.SetSize(0, 0); }
  // The window was resized to keep its client under the skinned frame.
  bool Fitted() const { return FFitted; }

 private:
  void LoadCaptionFont();
  int WidenForCaption(int Current);
  void PaintTitleBar(HDC DC);
  HRGN BorderRegion(TFrameSide Side, const RECT& Piece);
  HRGN ShapedRegion(int Width, int Height);

  TWinSkinForm& FForm;
  gui::TGdiHandle<HFONT> FCaptionFont;
  int FCaptionFontDpi = 0;  // the scale FCaptionFont is for
  gui::TBitmap FTitleBuffer;
  TBorderPictures FBorders;
  std::wstring FCaptionPrefix = L"  ";
  std::wstring FCaption;
  RECT FClientRect{};
  RECT FNativeFrame{};
  RECT FCaptionRect{};
  TFrameMetrics FMetrics;
  int FMenuHeight = 0;
  bool FFitted = false;
  bool FOwnsRegion = false;
  int FRegionWidth = 0, FRegionHeight = 0;
  int FWidth = 0, FHeight = 0;
  // What was taken from the system for the skinned frame, to be given back.
  bool FUnthemed = false;
  bool FNoCompositorFrame = false;
  bool FCloaked = false;
  bool FMenuChanging = false;
};

}  // namespace qm
