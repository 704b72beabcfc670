#include "monitors.h"

namespace gui {

namespace {

struct TMonitorCalls {
  HMONITOR(WINAPI* FromWindow)(HWND, DWORD) = nullptr;
  BOOL(WINAPI* Info)(HMONITOR, LPMONITORINFO) = nullptr;
};

const TMonitorCalls& MonitorCalls() {
  static const TMonitorCalls calls = [] {
    TMonitorCalls loaded;
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      loaded.FromWindow =
          reinterpret_cast<decltype(loaded.FromWindow)>(reinterpret_cast<void*>(GetProcAddress(user, "MonitorFromWindow")));
      loaded.Info =
          reinterpret_cast<decltype(loaded.Info)>(reinterpret_cast<void*>(GetProcAddress(user, "GetMonitorInfoW")));
    }
    return loaded;
  }();
  return calls;
}

}  // namespace

std::function<TMonitorArea(HWND)>& MonitorAreaOverride() {
  static std::function<TMonitorArea(HWND)> override;
  return override;
}

TMonitorArea MonitorAreaOf(HWND window) {
  if (const auto& override = MonitorAreaOverride()) return override(window);
  const TMonitorCalls& calls = MonitorCalls();
  if (calls.FromWindow && calls.Info)
    if (HMONITOR monitor = calls.FromWindow(window, MONITOR_DEFAULTTONEAREST)) {
      MONITORINFO info{};
      info.cbSize = sizeof info;
      if (calls.Info(monitor, &info)) return TMonitorArea{info.rcMonitor, info.rcWork};
    }
  TMonitorArea primary{RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, RECT{}};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary.Work, 0)) primary.Work = primary.Monitor;
  return primary;
}

}  // namespace gui
