#pragma once
// The programs' icons, drawn like the skin: a graphite tile with the title
// bar's sheen and the green highlight, and a glyph for what each program is
// (a disk taking an image for the wizard, a skinned window for SkinView).

#include <cstdint>
#include <vector>

#include "raster.h"

namespace skingen {

enum class IconGlyph { Wizard, SkinView };

// One size of an icon: its colours and how opaque each pixel is.
struct IconImage {
  Image colour;
  std::vector<std::uint8_t> alpha;  // row by row, 0 transparent .. 255 opaque
};

// The sizes Windows asks for in lists, title bars, the taskbar and Explorer.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64};

IconImage drawIcon(IconGlyph glyph, int size);

}  // namespace skingen
