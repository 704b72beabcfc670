#pragma once
// The colour the painters left at a pixel of a 24-bit bitmap, read from its
// rows directly: a DC would need the bitmap deselected from its canvas.
#include <windows.h>

#include <cstdint>

#include "gui/graphics.h"

namespace qm {

inline COLORREF PixelOf(const gui::TBitmap& b, int x, int y) {
  const std::uint8_t* p = b.ScanLine(y) + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

}  // namespace qm
