#pragma once
// The display scale. Layouts are written in 96-DPI units and laid out at
// the scale of the monitor a window is on. Every call newer than Windows 7
// is loaded when first needed; where the system lacks it the answer is the
// system-wide one (the screen's LOGPIXELSY), and 96 where even that fails.

#include <windows.h>

namespace gui {

constexpr int kDesignDpi = 96;

// A length of the 96-DPI layout at dpi, rounded as Windows rounds its own
// scaled metrics (MulDiv: to nearest, halves away from zero).
int ScaleForDpi(int value, int dpi);
// A length at fromDpi taken to toDpi the same way.
int RescaleDpi(int value, int toDpi, int fromDpi);

// One length of a stored 96-DPI layout and what it was last laid out as.
// Scaling always starts from the stored length, so moving between scales
// never drifts; a length changed by code since (at the scale it was laid
// out at) becomes the stored one.
class TDesignLength {
 public:
  int At(int current, int toDpi, int fromDpi);

 private:
  int FDesign = 0, FApplied = 0;
  bool FKnown = false;
};

// The screen's scale as this process sees it (96 for a process the system
// scales itself).
int SystemDpi();
// The scale of the window's monitor (GetDpiForWindow).
int WindowDpi(HWND window);
// The scale of the monitor that holds the point, or the nearest one.
int DpiAtPoint(POINT point);

// GetSystemMetricsForDpi, AdjustWindowRectExForDpi and
// SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS), each falling back to
// the system-wide call, whose answers are at SystemDpi().
int SystemMetricForDpi(int index, int dpi);
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi);

// Lets the system scale the frame, caption and menu bar of a top-level
// window being created (WM_NCCREATE) with its monitor, which per-monitor
// awareness v1 (Windows 8.1 to 10 1607) leaves at the system scale; v2 does
// it anyway. Nothing where the call is missing.
void EnableNonClientScaling(HWND window);

// Per-monitor awareness for a process started without the manifest that
// declares it (tests): v2, else v1, else system-wide. False when the system
// knows none of these or the process's awareness is fixed already.
bool MakeProcessDpiAware();

}  // namespace gui
