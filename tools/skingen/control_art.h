#pragma once
// Control art: push buttons, check marks, tabs, scroll bars, menus and the
// other strips the control skinners cut into frames.

#include "raster.h"

namespace skingen {

Image drawPushButtons();    // 275 x 22: normal, pressed, disabled, hot, default
Image drawCheckBoxes();     // 56 x 14: unchecked, checked, disabled, disabled checked
Image drawRadioButtons();   // 56 x 14, same states
Image drawProgress();       // 120 x 18: empty track, filled bar
Image drawGroupBoxEdge();   // 64 x 32: normal, highlighted
Image drawGroupBoxLabel();  // 55 x 14
Image drawTabs();           // 275 x 22: normal, selected, hot, disabled, selected
Image drawTabBorder();      // 32 x 32: the page frame under the tabs
Image drawHeader();         // 275 x 22: normal, pressed, hot, disabled, sorted
Image drawComboButton();    // 72 x 22: normal, pressed, disabled, hot
Image drawSunkEdge();       // 128 x 32: normal, pressed, disabled, focused
Image drawMenuItem();       // 500 x 17: normal, separator, disabled selected, selected, pressed
Image drawMenuBackground(); // 50 x 50
Image drawScrollArrows();   // 368 x 16: left, right, up, down (4 states each), extras
Image drawHorzTrack();      // 64 x 16
Image drawVertTrack();      // 64 x 16
Image drawHorzThumb();      // 48 x 16: normal, pressed, hot
Image drawVertThumb();      // 48 x 16

}  // namespace skingen
