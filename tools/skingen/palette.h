#pragma once
// The theme's colours, shared by all drawings so the members stay coherent.

#include "raster.h"

namespace skingen::palette {

constexpr Rgb kFace = grey(180);            // ButtonFace, Menu, Menubar
constexpr Rgb kInk = grey(51);              // WindowText, ButtonText
constexpr Rgb kGreen{112, 188, 31};         // Hilight
constexpr Rgb kGreenLight{158, 216, 88};
constexpr Rgb kGreenDark{70, 128, 12};
constexpr Rgb kRed{204, 64, 50};            // close button under the mouse
constexpr Rgb kRedLight{236, 112, 96};

// Graphite of the frame; the inactive frame is a lighter, flatter version.
struct FrameTone {
  Rgb outer, rim, sheenTop, sheenBottom, lowerTop, lowerBottom, separator;
  Rgb accentLight, accent, body;
  Rgb inner[3];  // rings around the client area, innermost first
};
constexpr FrameTone kActive{grey(28),     grey(118),    grey(98),        grey(76),
                            grey(68),     grey(54),     grey(34),        kGreenLight,
                            kGreen,       grey(54),     {grey(30), grey(40), grey(47)}};
constexpr FrameTone kInactive{grey(78),   grey(164),    grey(140),       grey(126),
                              grey(120),  grey(108),    grey(92),        grey(158),
                              grey(146),  grey(108),    {grey(84), grey(94), grey(101)}};

}  // namespace skingen::palette
