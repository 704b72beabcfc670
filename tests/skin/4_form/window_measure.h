#pragma once
// Sizes of a real window as the form-skinner tests compare them.
#include <windows.h>

namespace qm::test {

inline SIZE ClientSize(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  return SIZE{r.right, r.bottom};
}

inline SIZE WindowSize(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace qm::test
