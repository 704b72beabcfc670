#pragma once
// Skin images on the GUI layer's bitmaps (Windows build only): moving a
// parsed image into a bitmap and the image transforms applied in place.

#include "gui/graphics.h"
#include "skin_image.h"

namespace qm {

// Makes Target a 24-bit copy of Source (empty for an empty image).
void AssignSkinImage(gui::TBitmap& Target, const TSkinImage& Source);
TSkinImage SkinImageOf(const gui::TBitmap& Source);

void MirrorBitmap(gui::TBitmap& Bitmap);
void FlipBitmap(gui::TBitmap& Bitmap);
void RotateBitmapLeft(gui::TBitmap& Bitmap);
void RotateBitmapRight(gui::TBitmap& Bitmap);

}  // namespace qm
