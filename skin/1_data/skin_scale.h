#pragma once
// Skin geometry at a display scale. Skins are drawn for 96 DPI; every length
// taken from one (margins, frame sizes, button places) is scaled the way
// Windows scales its own metrics, so that a skin's pieces meet the window's
// frame and the class layer's controls pixel for pixel.

#include <cstdint>

namespace qm {

constexpr int kSkinDpi = 96;

// a * b / c rounded to the nearest integer, halves away from zero: what
// Windows' MulDiv answers (-1 for a zero divisor, as it does).
int MulDivRounded(int a, int b, int c);

// A 96-DPI length at dpi.
inline int ScaleSkinLength(int length, int dpi) { return MulDivRounded(length, dpi, kSkinDpi); }

// The four margins of a nine-grid piece (or a frame's four sides).
struct TSkinMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TSkinMargins&) const = default;
};
TSkinMargins ScaleSkinMargins(const TSkinMargins& margins, int dpi);

// A rectangle of the skin (a button's place), edges scaled, so that pieces
// that touch at 96 DPI touch at every scale.
struct TSkinRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TSkinRect&) const = default;
};
TSkinRect ScaleSkinRect(const TSkinRect& rect, int dpi);

}  // namespace qm
