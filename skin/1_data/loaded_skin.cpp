#include "skin/1_data/loaded_skin.h"

#include "skin/1_data/skin_description_scale.h"
#include "skin/1_data/skin_scale.h"

namespace qm {

TLoadedSkin::TLoadedSkin(TSkinDescription&& Parsed)
    : TSkinDescription(std::move(Parsed)),
      FButtonFaceBrush(CreateSolidBrush(gui::ColorToRGB(ButtonFaceColour)), true) {
  FBitmaps.Build(*this);
}

std::shared_ptr<const TLoadedSkin> TLoadedSkin::Load(TMemoryStream& Packed) {
  TSkinDescription parsed;
  if (!parsed.LoadPackage(Packed)) return nullptr;
  return std::make_shared<const TLoadedSkin>(std::move(parsed));
}

std::shared_ptr<const TLoadedSkin> TLoadedSkin::AtDpi(int Dpi) const {
  if (Dpi == this->Dpi) return shared_from_this();
  if (this->Dpi != kSkinDpi) {
    // Scaled from the skin as drawn, never from another scale; gone, it
    // has been replaced, and whoever asks keeps the scale it has until it
    // takes the new skin.
    const std::shared_ptr<const TLoadedSkin> drawn = FDrawn.lock();
    return drawn ? drawn->AtDpi(Dpi) : shared_from_this();
  }
  const std::lock_guard<std::mutex> hold(FScaledLock);
  std::shared_ptr<const TLoadedSkin>& scaled = FScaled[Dpi];
  if (!scaled) {
    auto made = std::make_shared<TLoadedSkin>(ScaledSkinDescription(*this, Dpi));
    made->FDrawn = weak_from_this();
    scaled = std::move(made);
  }
  return scaled;
}

}  // namespace qm
