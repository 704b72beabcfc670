#pragma once
// Walks a library form's controls with the real Tab key, as a user does, and
// looks at what the window shows at each stop: the control that has the
// focus must look different from itself without it, and every other
// control as it does without it.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "settled_paint.h"

namespace qmtest {

struct TFocusStop {
  HWND Control;  // a combo box's edit counts as its combo box
  TScreenPixels Look;
};

// Presses Tab until the focus comes back to the first stop (at most
// MaxStops times); the window must be the foreground one.
// Masks: parts that change by themselves (window coordinates).
std::vector<TFocusStop> WalkWithTab(HWND window, const std::vector<RECT>& Masks = {}, int MaxStops = 40);

// What is wrong with the stops' looks, one line for each fault; empty when
// each stop shows its focus and no other does: each control looks the same
// at every stop before its own, and at every stop after it.
std::vector<std::string> FocusFaults(const std::vector<TFocusStop>& stops, HWND window);

// How many pixels of R (window coordinates) differ between two looks.
int Differing(const TScreenPixels& A, const TScreenPixels& B, const RECT& R);

// A key pressed and let go, with Shift held when asked.
void PressKey(WORD vk, bool shift = false);

// Runs the program's own message handling (the dialog keys among it) until
// done() holds or Limit milliseconds have passed.
void ProcessUntil(const std::function<bool()>& done, int Limit = 10000);

// The window that has the focus, a combo box's edit taken as its combo box.
HWND FocusStop();

}  // namespace qmtest
