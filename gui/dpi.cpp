#include "dpi.h"

#include <string>

namespace gui {

namespace {

template <class F>
F Entry(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// shcore.dll came with Windows 8.1; taken from the system folder only.
HMODULE ShellCore() {
  static const HMODULE module = [] {
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return HMODULE{};
    return LoadLibraryW((std::wstring(folder, n) + L"\\shcore.dll").c_str());
  }();
  return module;
}

struct TDpiCalls {
  UINT(WINAPI* ForWindow)(HWND) = nullptr;
  UINT(WINAPI* ForSystem)() = nullptr;
  int(WINAPI* MetricForDpi)(int, UINT) = nullptr;
  BOOL(WINAPI* AdjustForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
  BOOL(WINAPI* ParametersForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
  BOOL(WINAPI* SetContext)(HANDLE) = nullptr;
  BOOL(WINAPI* SetAware)() = nullptr;
  BOOL(WINAPI* NonClientScaling)(HWND) = nullptr;
  HMONITOR(WINAPI* MonitorAt)(POINT, DWORD) = nullptr;
  HRESULT(WINAPI* ForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
  HRESULT(WINAPI* SetAwareness)(int) = nullptr;
};

const TDpiCalls& Calls() {
  static const TDpiCalls calls = [] {
    TDpiCalls c;
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    c.ForWindow = Entry<decltype(c.ForWindow)>(user, "GetDpiForWindow");
    c.ForSystem = Entry<decltype(c.ForSystem)>(user, "GetDpiForSystem");
    c.MetricForDpi = Entry<decltype(c.MetricForDpi)>(user, "GetSystemMetricsForDpi");
    c.AdjustForDpi = Entry<decltype(c.AdjustForDpi)>(user, "AdjustWindowRectExForDpi");
    c.ParametersForDpi = Entry<decltype(c.ParametersForDpi)>(user, "SystemParametersInfoForDpi");
    c.SetContext = Entry<decltype(c.SetContext)>(user, "SetProcessDpiAwarenessContext");
    c.SetAware = Entry<decltype(c.SetAware)>(user, "SetProcessDPIAware");
    c.NonClientScaling = Entry<decltype(c.NonClientScaling)>(user, "EnableNonClientDpiScaling");
    c.MonitorAt = Entry<decltype(c.MonitorAt)>(user, "MonitorFromPoint");
    return c;
  }();
  return calls;
}

// The shell-core entries, loaded only when asked for: most calls never
// need the library.
const TDpiCalls& ShellCalls() {
  static const TDpiCalls calls = [] {
    TDpiCalls c = Calls();
    c.ForMonitor = Entry<decltype(c.ForMonitor)>(ShellCore(), "GetDpiForMonitor");
    c.SetAwareness = Entry<decltype(c.SetAwareness)>(ShellCore(), "SetProcessDpiAwareness");
    return c;
  }();
  return calls;
}

bool Plausible(int dpi) { return dpi >= 48 && dpi <= 96 * 8; }

}  // namespace

int ScaleForDpi(int value, int dpi) { return RescaleDpi(value, dpi, kDesignDpi); }

int RescaleDpi(int value, int toDpi, int fromDpi) {
  return toDpi == fromDpi || fromDpi <= 0 ? value : MulDiv(value, toDpi, fromDpi);
}

int TDesignLength::At(int current, int toDpi, int fromDpi) {
  if (!FKnown || current != FApplied) FDesign = RescaleDpi(current, kDesignDpi, fromDpi), FKnown = true;
  FApplied = ScaleForDpi(FDesign, toDpi);
  return FApplied;
}

int SystemDpi() {
  if (Calls().ForSystem)
    if (const int dpi = static_cast<int>(Calls().ForSystem()); Plausible(dpi)) return dpi;
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return Plausible(dpi) ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  if (Calls().ForWindow && window)
    if (const int dpi = static_cast<int>(Calls().ForWindow(window)); Plausible(dpi)) return dpi;
  return SystemDpi();
}

int DpiAtPoint(POINT point) {
  const TDpiCalls& c = ShellCalls();
  if (c.MonitorAt && c.ForMonitor)
    if (HMONITOR monitor = c.MonitorAt(point, MONITOR_DEFAULTTONEAREST)) {
      UINT x = 0, y = 0;
      if (SUCCEEDED(c.ForMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && Plausible(static_cast<int>(y)))
        return static_cast<int>(y);
    }
  return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  if (Calls().MetricForDpi) return Calls().MetricForDpi(index, static_cast<UINT>(dpi));
  return GetSystemMetrics(index);
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
  if (Calls().AdjustForDpi) return Calls().AdjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi));
  return AdjustWindowRectEx(&rect, style, menu, exStyle);
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi) {
  metrics.cbSize = sizeof metrics;
  if (Calls().ParametersForDpi)
    return Calls().ParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi));
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
  // Windows 8.1 to 10 1511 answer at the system scale only; a window on a
  // monitor of another scale takes the fonts taken to its own.
  const int system = SystemDpi();
  if (dpi != system)
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
      font->lfHeight = RescaleDpi(font->lfHeight, dpi, system);
  return true;
}

void EnableNonClientScaling(HWND window) {
  if (Calls().NonClientScaling) Calls().NonClientScaling(window);
}

bool MakeProcessDpiAware() {
  const TDpiCalls& c = ShellCalls();
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE.
  if (c.SetContext && (c.SetContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) ||
                       c.SetContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)))))
    return true;
  if (c.SetAwareness && SUCCEEDED(c.SetAwareness(2 /* PROCESS_PER_MONITOR_DPI_AWARE */))) return true;
  return c.SetAware && c.SetAware();
}

}  // namespace gui
