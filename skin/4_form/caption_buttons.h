#pragma once
// The caption buttons of a skinned window, as its skin describes them: when
// each shows, where it sits, how it is painted in the title or (an MDI
// child's, while maximised) in the frame's menu bar, what the mouse over the
// frame hits, and what a click does. A hover timer notices the mouse leaving
// a button without a message saying so.

#include <windows.h>

#include <memory>
#include <vector>

#include "gui/graphics.h"
#include "skin/4_form/nc_object.h"

namespace gui {
class TTimer;
}

namespace qm {

class TWinSkinForm;

class TCaptionButtons {
 public:
  explicit TCaptionButtons(TWinSkinForm& Form) : FForm(Form) {}
  TCaptionButtons(const TCaptionButtons&) = delete;
  TCaptionButtons& operator=(const TCaptionButtons&) = delete;

  // One button per caption button of the skin the window is built from.
  void Build();
  void Free();
  // The window's small icon, or a stand-in, for the buttons that show it.
  void LoadIcon();
  // Whether button Index shows now; also sets its FVisible.
  bool ButtonVisible(size_t Index);
  void Layout();
  // Every visible title button into the title's picture.
  void PaintAll(HDC DC);
  // Repaints one button in State on the window itself.
  void PaintButton(TWinSysButton& Button, int State);
  // The MDI child buttons in the bar, into a picture of the bar at BarOrigin.
  void PaintInMenuBar(HDC DC, POINT BarOrigin);
  // The first visible, clickable button at a point in window coordinates.
  TWinSysButton* ButtonAt(POINT P) const;
  POINT ScreenToWindow(POINT P) const;
  LRESULT NCHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT NCMouse(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Performs the hot button's action; (X, Y) is the screen point clicked.
  void ButtonClick(int X, int Y);

  // The timer runs while the window is active and the attach has finished.
  void MakeHoverTimer();
  void EnableHover(bool Enable);
  void FreeHoverTimer();
  // The owner has freed the timer with its other components.
  void ForgetHoverTimer() { FHoverTimer = nullptr; }

  const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const { return FButtons; }
  TNCObject* HotObject() const { return FHotObject; }
  void SetHotObject(TNCObject* Object) { FHotObject = Object; }
  const gui::TBitmap& Icon() const { return FIcon; }
  // The left edge of the leftmost button placed from the right.
  int RightButtonsLeft() const { return FRightButtonsLeft; }

 private:
  // The image a button shows: its own strip, or the window icon.
  gui::TBitmap* ButtonImage(const TWinSysButton& Button, int& Frames);
  void HoverTick();

  TWinSkinForm& FForm;
  std::vector<std::unique_ptr<TWinSysButton>> FButtons;
  TNCObject* FHotObject = nullptr;
  gui::TBitmap FIcon;
  // FIcon shows the window's own icon, not a stand-in.
  bool FOwnIcon = false;
  int FRightButtonsLeft = 0;
  // Owned by the form skinner as a component.
  gui::TTimer* FHoverTimer = nullptr;
};

}  // namespace qm
