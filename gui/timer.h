#pragma once
// A repeating timer on the GUI thread.

#include <windows.h>

#include <functional>

#include "component.h"

namespace gui {

class TTimer : public TComponent {
  QM_GUI_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned milliseconds);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  std::function<void(TTimer&)> OnTimer;
  // The window that receives WM_TIMER for this timer.
  HWND Window() const { return FWindow; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  void Update();
  unsigned FInterval = 1000;
  bool FEnabled = true;
  HWND FWindow = nullptr;
};

}  // namespace gui
