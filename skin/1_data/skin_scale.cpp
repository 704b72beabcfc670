#include "skin/1_data/skin_scale.h"

namespace qm {

int MulDivRounded(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t divisor = c;
  if (divisor < 0) product = -product, divisor = -divisor;
  const int64_t half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

TSkinMargins ScaleSkinMargins(const TSkinMargins& m, int dpi) {
  return {ScaleSkinLength(m.Left, dpi), ScaleSkinLength(m.Top, dpi), ScaleSkinLength(m.Right, dpi),
          ScaleSkinLength(m.Bottom, dpi)};
}

TSkinRect ScaleSkinRect(const TSkinRect& r, int dpi) {
  return {ScaleSkinLength(r.Left, dpi), ScaleSkinLength(r.Top, dpi), ScaleSkinLength(r.Right, dpi),
          ScaleSkinLength(r.Bottom, dpi)};
}

}  // namespace qm
