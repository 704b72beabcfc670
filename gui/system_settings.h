#pragma once
// What the system says about how windows should look, and a listener that
// hears when the user changes it. The system broadcasts such changes to
// top-level windows only; a window that is gone or not yet made hears
// nothing, so the listener is a window of its own, hidden and never shown.

#include <windows.h>

#include <functional>

namespace gui {

// SPI_GETHIGHCONTRAST: the user asked for high contrast, and every window
// should look as the system draws it.
bool HighContrastOn();
// Answers in the system's place when set: Wine has no high-contrast mode.
std::function<bool()>& HighContrastOverride();

class TSettingsListener {
 public:
  // OnChange gets the message of each change heard (WM_SETTINGCHANGE,
  // WM_SYSCOLORCHANGE, WM_THEMECHANGED, WM_DISPLAYCHANGE,
  // WM_DWMCOMPOSITIONCHANGED), once the message loop runs again: a program
  // may change a setting from inside some window's message, and the handler
  // must not pull that window's skin away while its message still runs.
  // Changes heard meanwhile come as one call, with the last message.
  explicit TSettingsListener(std::function<void(UINT Msg)> OnChange);
  ~TSettingsListener();
  TSettingsListener(const TSettingsListener&) = delete;
  TSettingsListener& operator=(const TSettingsListener&) = delete;
  HWND Window() const { return FWindow; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  std::function<void(UINT)> FOnChange;
  HWND FWindow = nullptr;
  UINT FPending = 0;
};

}  // namespace gui
