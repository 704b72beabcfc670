#include "skin/1_data/bitmap_utils.h"

#include "skin/1_data/bitmap_transforms.h"

namespace qm {

void MirrorBitmap(TSkinImage& Bitmap) { detail::MirrorImage(Bitmap); }
void FlipBitmap(TSkinImage& Bitmap) { detail::FlipImage(Bitmap); }
void RotateBitmapLeft(TSkinImage& Bitmap) { detail::TurnImage(Bitmap, detail::TurnLeft); }
void RotateBitmapRight(TSkinImage& Bitmap) { detail::TurnImage(Bitmap, detail::TurnRight); }

}  // namespace qm
