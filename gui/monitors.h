#pragma once
// The monitor a window is on and its work area (the monitor less the task
// bar and docked bars), where a maximised window belongs. User32's monitor
// functions are loaded when first needed; without them there is one
// monitor, the primary screen.

#include <windows.h>

#include <functional>

namespace gui {

struct TMonitorArea {
  RECT Monitor;  // the whole monitor, in virtual-screen coordinates
  RECT Work;     // its work area, in the same coordinates
};

// The monitor that holds most of the window (the nearest one when none
// does).
TMonitorArea MonitorAreaOf(HWND window);

// Answers in the system's place when set: tests stand a second monitor
// beside the one machine they have.
std::function<TMonitorArea(HWND)>& MonitorAreaOverride();

}  // namespace gui
