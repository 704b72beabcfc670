#include "skin/1_data/bitmap_utils.h"

#include "skin/1_data/bitmap_transforms.h"

namespace qm {

void MirrorBitmap(TSkinImage& Bitmap) { ::qm::detail::MirrorImage(Bitmap); }
void FlipBitmap(TSkinImage& Bitmap) { ::qm::detail::FlipImage(Bitmap); }
void RotateBitmapLeft(TSkinImage& Bitmap) { ::qm::detail::TurnImage(Bitmap, ::qm::detail::TurnLeft); }
void RotateBitmapRight(TSkinImage& Bitmap) { ::qm::detail::TurnImage(Bitmap, ::qm::detail::TurnRight); }

}  // namespace qm
