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

// The second skin: steel blue with an amber highlight, the inactive frame a
// pale blue-grey that takes dark caption text.
constexpr Rgb kAmber{240, 160, 48};
constexpr Rgb kAmberLight{252, 200, 112};
constexpr FrameTone kSteelActive{Rgb{20, 36, 64},    Rgb{120, 160, 212}, Rgb{92, 136, 196}, Rgb{64, 104, 164},
                                 Rgb{54, 92, 150},   Rgb{40, 72, 126},   Rgb{24, 44, 80},   kAmberLight,
                                 kAmber,             Rgb{40, 72, 126},
                                 {Rgb{22, 40, 72}, Rgb{30, 54, 96}, Rgb{36, 64, 112}}};
constexpr FrameTone kSteelInactive{Rgb{96, 108, 128},  Rgb{204, 212, 226}, Rgb{184, 194, 212}, Rgb{164, 176, 198},
                                   Rgb{156, 168, 190}, Rgb{142, 156, 180}, Rgb{116, 128, 150}, Rgb{210, 204, 190},
                                   Rgb{186, 180, 168}, Rgb{142, 156, 180},
                                   {Rgb{100, 112, 134}, Rgb{112, 124, 146}, Rgb{124, 136, 158}}};

// One look of a caption button: face gradient, outline, inner rim, glyph.
struct ButtonTone {
  Rgb top, bottom, border, rim, ink;
};

// What the frame art takes from a theme: the frame's sizes, the title's
// bands and the colours of the frame and its caption buttons.
struct FrameStyle {
  int titleHeight, sideWidth, bottomHeight;
  double cornerRadius;
  int accentRows, bodyRows;  // bands between the title's separator and the client rings
  int buttonTop;             // title row the caption buttons' top sits on
  FrameTone active, inactive;
  // Normal, pressed, hot, inactive, disabled, hot while inactive; the close
  // button has a hot look of its own.
  ButtonTone buttons[6];
  ButtonTone closeHot;
};

constexpr FrameStyle kGraphite{
    39, 18, 15, 7, 2, 2, 6, kActive, kInactive,
    {{grey(104), grey(72), grey(36), grey(134), grey(224)},
     {grey(44), grey(60), grey(22), grey(50), grey(200)},
     {kGreenLight, kGreen, kGreenDark, Rgb{200, 238, 156}, grey(26)},
     {grey(150), grey(130), grey(96), grey(172), grey(64)},
     {grey(96), grey(70), grey(36), grey(120), grey(112)},
     {grey(172), grey(150), grey(90), grey(196), grey(34)}},
    {kRedLight, kRed, Rgb{112, 28, 20}, Rgb{248, 160, 148}, grey(255)}};

constexpr FrameStyle kSteel{
    28, 6, 6, 5, 1, 0, 4, kSteelActive, kSteelInactive,
    {{Rgb{104, 148, 206}, Rgb{60, 100, 160}, Rgb{20, 36, 64}, Rgb{150, 188, 236}, grey(244)},
     {Rgb{36, 64, 110}, Rgb{52, 86, 140}, Rgb{16, 30, 56}, Rgb{46, 76, 124}, Rgb{200, 212, 232}},
     {kAmberLight, kAmber, Rgb{150, 90, 10}, Rgb{255, 228, 176}, grey(26)},
     {Rgb{196, 206, 222}, Rgb{170, 182, 202}, Rgb{110, 122, 146}, Rgb{216, 224, 236}, Rgb{70, 80, 100}},
     {Rgb{84, 114, 160}, Rgb{64, 94, 140}, Rgb{30, 50, 90}, Rgb{104, 134, 180}, Rgb{130, 150, 190}},
     {Rgb{216, 224, 236}, Rgb{190, 200, 218}, Rgb{110, 122, 146}, Rgb{236, 240, 248}, Rgb{34, 40, 50}}},
    {kRedLight, kRed, Rgb{112, 28, 20}, Rgb{248, 160, 148}, grey(255)}};

}  // namespace skingen::palette
