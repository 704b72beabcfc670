#include "win_skin_bitmap.h"

#include <cstring>

#include "bitmap_transforms.h"

namespace qm {

void AssignSkinImage(gui::TBitmap& Target, const TSkinImage& Source) {
  Target.SetSize(0, 0);
  if (Source.Empty()) return;
  Target.SetSize(Source.Width(), Source.Height());
  for (int y = 0; y < Source.Height(); ++y) std::memcpy(Target.ScanLine(y), Source.ScanLine(y), Source.RowBytes());
}

TSkinImage SkinImageOf(const gui::TBitmap& Source) {
  TSkinImage image(Source.Width(), Source.Height());
  for (int y = 0; y < image.Height(); ++y) std::memcpy(image.ScanLine(y), Source.ScanLine(y), image.RowBytes());
  return image;
}

void MirrorBitmap(gui::TBitmap& Bitmap) { detail::MirrorImage(Bitmap); }
void FlipBitmap(gui::TBitmap& Bitmap) { detail::FlipImage(Bitmap); }
void RotateBitmapLeft(gui::TBitmap& Bitmap) { detail::TurnImage(Bitmap, detail::TurnLeft); }
void RotateBitmapRight(gui::TBitmap& Bitmap) { detail::TurnImage(Bitmap, detail::TurnRight); }

}  // namespace qm
