#pragma once
// One skin as it was read from one packed skin: its element descriptions,
// colours and images, with the GDI bitmaps and the face brush made from
// them. It never changes once made. The skin data component publishes a new
// one with every load that succeeds, and everything that paints holds the
// one it was built from (std::shared_ptr) until it is given the next: a
// load, a failed one included, can never take an element, a bitmap or a
// brush away from under a window that still shows the old skin.

#include <windows.h>

#include <memory>

#include "gui/graphics.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/win_skin_bitmap.h"

namespace qm {

class TLoadedSkin : public TSkinDescription {
 public:
  // Takes a completely parsed description over and makes its bitmaps and
  // brush. Throws when GDI cannot make them.
  explicit TLoadedSkin(TSkinDescription&& Parsed);

  // Unpacks and parses a packed skin; null when the package is refused or
  // holds no description (the reader has told the user).
  static std::shared_ptr<const TLoadedSkin> Load(TMemoryStream& Packed);

  // The bitmap made from one of this skin's images, e.g.
  // SkinBitmap(Tabs->Bitmap2); nullptr for an empty image or one that is
  // not this skin's. Draw from it, never change it.
  gui::TBitmap* SkinBitmap(const TSkinImage& Image) const { return FBitmaps.Find(Image); }
  const TSkinBitmaps& SkinBitmaps() const { return FBitmaps; }
  // A solid brush in ButtonFaceColour.
  HBRUSH ButtonFaceBrush() const { return FButtonFaceBrush.Get(); }

 private:
  TSkinBitmaps FBitmaps;
  gui::TGdiHandle<HBRUSH> FButtonFaceBrush;
};

}  // namespace qm
