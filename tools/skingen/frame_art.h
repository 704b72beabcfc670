#pragma once
// Window frame art: borders, title strip, caption buttons and the menu bar.

#include "palette.h"
#include "raster.h"

namespace skingen {

// The borders of a frame style; the sizes given are the default skin's.
Image drawTopBorder(const palette::FrameStyle& style);     // 209 x 78: active and inactive title strips, stacked
Image drawBottomBorder(const palette::FrameStyle& style);  // 332 x 30: two frames stacked
Image drawLeftBorder(const palette::FrameStyle& style);    // 36 x 294: two frames side by side
Image drawRightBorder(const palette::FrameStyle& style);   // 36 x 294, the left border mirrored
Image drawMenuBar();        // 100 x 38: active and inactive, stacked

enum class CaptionGlyph { Close, Maximise, Restore, Minimise, RollUp, RollDown, Launch, Link };
// Six 19 x 17 frames (Link: six 25 x 20 frames): normal, pressed, hot,
// inactive, disabled, hot while inactive.
Image drawCaptionButton(const palette::FrameStyle& style, CaptionGlyph glyph);
// 180 x 14: minimise, restore and close of a maximised MDI child, four frames
// each (normal, pressed, disabled, hot), the last four columns of each frame
// left transparent as the gap between neighbours.
Image drawMdiButtons();
Image drawDialogGlyph();    // 18 x 18

}  // namespace skingen
