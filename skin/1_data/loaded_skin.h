#pragma once
// One skin as it was read from one packed skin: its element descriptions,
// colours and images, with the GDI bitmaps and the face brush made from
// them. It never changes once made. The skin data component publishes a new
// one with every load that succeeds, and everything that paints holds the
// one it was built from (std::shared_ptr) until it is given the next: a
// load, a failed one included, can never take an element, a bitmap or a
// brush away from under a window that still shows the old skin.

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "gui/graphics.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/win_skin_bitmap.h"

namespace qm {

class TLoadedSkin : public TSkinDescription, public std::enable_shared_from_this<TLoadedSkin> {
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

  // This skin at a display scale: itself at its own scale, else a copy
  // with every length and image scaled from the skin as drawn, made the
  // first time a window of that scale asks and kept with the skin as drawn
  // for as long as it lives. Throws as the constructor does.
  std::shared_ptr<const TLoadedSkin> AtDpi(int Dpi) const;

 private:
  // The skin as drawn, for a scaled copy: it asks that one for other scales.
  std::weak_ptr<const TLoadedSkin> FDrawn;
  mutable std::mutex FScaledLock;
  mutable std::map<int, std::shared_ptr<const TLoadedSkin>> FScaled;

  TSkinBitmaps FBitmaps;
  gui::TGdiHandle<HBRUSH> FButtonFaceBrush;
};

}  // namespace qm
