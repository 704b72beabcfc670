#pragma once
// Geometric transforms of skin images, so that one image strip serves
// controls of another orientation. All work in place.

#include "skin/1_data/skin_image.h"

namespace qm {

// Left <-> right.
void MirrorBitmap(TSkinImage& Bitmap);
// Top <-> bottom.
void FlipBitmap(TSkinImage& Bitmap);
// A quarter turn anticlockwise: the top right corner ends at the top left.
void RotateBitmapLeft(TSkinImage& Bitmap);
// A quarter turn clockwise: the top left corner ends at the top right.
void RotateBitmapRight(TSkinImage& Bitmap);

}  // namespace qm
