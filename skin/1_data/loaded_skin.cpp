#include "skin/1_data/loaded_skin.h"

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

}  // namespace qm
