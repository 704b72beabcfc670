#pragma once
// The skinner of one popup-menu window (class "#32768") as the manager keeps
// it: made through TSkinManage::MakePopupSkinner, one per open popup window,
// dropped when the window goes.

#include <windows.h>

namespace gui {
class TBitmap;
}

namespace qm {

class TSkinData;

class TPopupWindowSkinner {
 public:
  virtual ~TPopupWindowSkinner() = default;
  // Takes the window over; the menu it shows is not known yet.
  virtual void Attach(HWND Window, TSkinData* SkinData) = 0;
  virtual void Detach() = 0;
  virtual HWND Window() const = 0;
  virtual HMENU MenuHandle() const = 0;
  // The skin it paints from, if it says.
  virtual TSkinData* SkinData() const { return nullptr; }
  // What the popup painted behind its items, for the item painter.
  virtual gui::TBitmap* Background() = 0;
};

}  // namespace qm
