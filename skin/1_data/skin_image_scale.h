#pragma once
// A skin image at a display scale, made once per scale when the skin is
// loaded or the window meets a new scale.
//
// Whole factors (200 %, 300 %) repeat each pixel: the artwork's edges stay
// as crisp as drawn. Other factors are filtered smoothly (bilinear, each
// output pixel centre mapped back into the source). Either way the key
// colour stays exact: a pixel of the result is the key colour exactly, or
// no key-coloured pixel went into it. Where key-coloured pixels carry at
// least half of a pixel's weight it is the key colour; otherwise it is the
// weighted mean of the other pixels alone. So the window region cut from the
// key colour follows the scaled shape, and no pink fringe shows at its edge.
//
// Image strips are scaled frame by frame, so that no frame bleeds into its
// neighbour and every frame of the result has the same, scaled, size.
//
//   source strip, 3 frames of fw x fh          result at 150 %
//   +------+------+------+                     +---------+---------+---------+
//   |  1   |  2   |  3   |   ---- each ---->   |    1    |    2    |    3    |
//   +------+------+------+                     +---------+---------+---------+
//                                              each ScaleSkinLength(fw) wide

#include <cstdint>

#include "skin/1_data/skin_image.h"

namespace qm {

constexpr uint32_t kSkinKeyColour = 0xFF00FF;  // 0x00BBGGRR, magenta

// How a strip is cut: Across frames side by side, Down frames stacked.
// Columns (rows) beyond the last whole frame, which no drawing reaches, are
// left out.
struct TSkinFrames {
  int Across = 1, Down = 1;
};

TSkinImage ScaleSkinImage(const TSkinImage& image, int dpi, TSkinFrames frames = {},
                          uint32_t keyColour = kSkinKeyColour);

}  // namespace qm
