#pragma once
// Skin images on the GUI layer's bitmaps (Windows build only): moving a
// parsed image into a bitmap, the image transforms applied in place, and
// the ready bitmaps of a loaded skin.

#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_map>

#include "gui/graphics.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/skin_image.h"

namespace qm {

// Makes Target a 24-bit copy of Source (empty for an empty image).
void AssignSkinImage(gui::TBitmap& Target, const TSkinImage& Source);
TSkinImage SkinImageOf(const gui::TBitmap& Source);

void MirrorBitmap(gui::TBitmap& Bitmap);
void FlipBitmap(gui::TBitmap& Bitmap);
void RotateBitmapLeft(gui::TBitmap& Bitmap);
void RotateBitmapRight(gui::TBitmap& Bitmap);

// Calls Visit for every image the descriptions hold: each present element's
// Bitmap, every Bitmap2, the check and radio images and each caption
// button's image, empty ones included.
void ForEachSkinImage(const TSkinDescription& Skin, const std::function<void(const TSkinImage&)>& Visit);

// The skin's images made into bitmaps once, when the skin loads, so that no
// paint converts pixels. A skinner finds the bitmap by the image inside the
// element description (e.g. Tabs->Bitmap2) whenever it draws and keeps no
// copy, so the next skin reaches every skinner at its next paint.
class TSkinBitmaps {
 public:
  TSkinBitmaps() = default;
  TSkinBitmaps(const TSkinBitmaps&) = delete;
  TSkinBitmaps& operator=(const TSkinBitmaps&) = delete;

  // Replaces every bitmap with one per non-empty image of Skin. When a
  // bitmap cannot be made (GDI is exhausted) the error is thrown and the
  // earlier bitmaps are all still there: the caller decides what goes.
  void Build(const TSkinDescription& Skin);
  void Clear() { FBitmaps.clear(); }

  // The bitmap made from Image by the last Build; nullptr for an empty
  // image or one that was not part of that skin. It is shared by every
  // skinner: draw from it, never change it.
  gui::TBitmap* Find(const TSkinImage& Image) const;
  size_t Count() const { return FBitmaps.size(); }

 private:
  // Keyed by address: the descriptions own their images and every load
  // rebuilds the whole table, so no key outlives the skin it was made for.
  std::unordered_map<const TSkinImage*, std::unique_ptr<gui::TBitmap>> FBitmaps;
};

}  // namespace qm
