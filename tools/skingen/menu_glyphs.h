#pragma once
// The four 16 x 16 system-menu glyphs (restore, maximise, minimise, close),
// black on white, side by side in one 64 x 16 picture.

#include <vector>

namespace skingen {

constexpr int kMenuGlyphsWidth = 64;
constexpr int kMenuGlyphsHeight = 16;

// Row-major ink flags, true where a glyph is black.
std::vector<bool> menuGlyphInk();

}  // namespace skingen
