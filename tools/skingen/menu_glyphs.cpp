#include "menu_glyphs.h"

namespace skingen {

namespace {
struct Run { int glyph, y0, y1, x0, x1; };  // inclusive rows and columns

// Drawn pixel-exact: at 16 pixels any smoothing would blur the menu icons.
constexpr Run kRuns[] = {
    // restore: a back window peeking above and right of the front one
    {0, 4, 5, 5, 12}, {0, 6, 8, 12, 12}, {0, 6, 6, 5, 5}, {0, 7, 8, 3, 10},
    {0, 9, 9, 3, 3},  {0, 9, 9, 10, 12}, {0, 10, 11, 3, 3}, {0, 10, 11, 10, 10},
    {0, 12, 12, 3, 10},
    // maximise
    {1, 3, 4, 3, 12}, {1, 5, 11, 3, 3}, {1, 5, 11, 12, 12}, {1, 12, 12, 3, 12},
    // minimise
    {2, 7, 8, 5, 11},
    // close
    {3, 4, 4, 3, 4},  {3, 4, 4, 10, 11}, {3, 5, 5, 3, 5},  {3, 5, 5, 9, 11},
    {3, 6, 6, 4, 6},  {3, 6, 6, 8, 10},  {3, 7, 7, 5, 9},  {3, 8, 8, 6, 8},
    {3, 9, 9, 5, 9},  {3, 10, 10, 4, 6}, {3, 10, 10, 8, 10}, {3, 11, 11, 3, 5},
    {3, 11, 11, 9, 11}, {3, 12, 12, 3, 4}, {3, 12, 12, 10, 11},
};
}  // namespace

std::vector<bool> menuGlyphInk() {
  std::vector<bool> ink(kMenuGlyphsWidth * kMenuGlyphsHeight, false);
  for (const Run& r : kRuns)
    for (int y = r.y0; y <= r.y1; ++y)
      for (int x = r.x0; x <= r.x1; ++x) ink[y * kMenuGlyphsWidth + r.glyph * 16 + x] = true;
  return ink;
}

}  // namespace skingen
