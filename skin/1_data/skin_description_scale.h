#pragma once
// A whole skin description at a display scale: every length it gives
// (nine-grid margins, caption-button places, the title's shifts) scaled as
// Windows scales its own metrics, and every image scaled frame by frame in
// the grid its painter cuts it by, so that frame n of the scaled strip is
// frame n of the drawn one, grown. Made once per scale, when a window of
// that scale first needs the skin.
//
//   element image, frames cut...      ...across (most)    ...down (stacked)
//   borders left and right             x
//   borders top and bottom, title,                         x
//   menu bar
//   everything else                    x, by its frame count

#include "skin/1_data/skin_description.h"

namespace qm {

// The description Skin (drawn for 96 DPI) at Dpi; a copy of it at 96.
// Throws std::invalid_argument for a description that is itself scaled:
// scaling twice would blur what the one scale keeps sharp.
TSkinDescription ScaledSkinDescription(const TSkinDescription& Skin, int Dpi);

}  // namespace qm
