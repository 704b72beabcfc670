#pragma once
// The numbers a skin's description gives meaning to. The descriptions keep
// them as read (a skin may carry values no code here knows); the skinners
// compare against these names.

#include <cstdint>

namespace qm {

// TDataSkinSysButton::Action: what a caption button does when clicked.
// Several codes mean the same; a negative one makes the button unclickable.
namespace button_action {
inline constexpr int32_t kClose = 0;
inline constexpr int32_t kMaximize = 1, kMaximizeToo = 22;
inline constexpr int32_t kMinimize = 2, kMinimizeToo = 23;
// The window icon, which opens the system menu.
inline constexpr int32_t kIcon = 3, kIconToo = 11;
inline constexpr int32_t kSystemMenu = 12;
// The maximised MDI child's buttons in its frame's menu bar.
inline constexpr int32_t kChildMinimize = 7, kChildMinimizeToo = 60;
inline constexpr int32_t kChildRestore = 8, kChildRestoreToo = 61;
inline constexpr int32_t kChildClose = 9, kChildCloseToo = 62;
// A section with this action and no Visibility 0 gives no button at all.
inline constexpr int32_t kNone = -1;
}  // namespace button_action

// TDataSkinSysButton::Align: where a caption button sits.
namespace button_align {
inline constexpr int32_t kFromLeft = 0;
inline constexpr int32_t kFromRight = 1;
inline constexpr int32_t kBeforeCaption = 2, kBeforeCaptionToo = 8;
inline constexpr int32_t kAfterCaption = 3, kAfterCaptionToo = 9;
inline constexpr int32_t kInMenuBar = 100;
}  // namespace button_align

// TDataSkinSysButton::Visibility and Visibility1: when a caption button shows.
// Codes 200 to 2000 always show; any code not named here never does.
namespace button_visibility {
inline constexpr int32_t kUnlessFixedFrame = 0;  // in Visibility1: always
inline constexpr int32_t kMaximized = 1, kNotMaximized = 2;
inline constexpr int32_t kActive = 3, kInactive = 4;
inline constexpr int32_t kMaximizeBox = 6, kNoMaximizeBox = 7;
inline constexpr int32_t kMinimizeBox = 8, kNoMinimizeBox = 9;
// The MDI frame's bar while its active child is maximised.
inline constexpr int32_t kMDIChildMaximized = 100;
inline constexpr int32_t kAlwaysFirst = 200, kAlwaysLast = 2000;
}  // namespace button_visibility

// TDataSkinTitle::TextAlignment: where the caption sits in the title.
namespace title_align {
inline constexpr int32_t kLeft = 0, kCentre = 1, kRight = 2;
}

// TDataSkinObject::Trans, Tile and Style, where they are switches.
inline constexpr int32_t kTransKeyed = 1;  // the key colour shows through
inline constexpr int32_t kTileRepeat = 1;  // middle pieces repeat, not stretch
inline constexpr int32_t kStyleFlat = 1;   // combo button: flat; progress: chunks

// The cells of the Buttons element's check and radio strips, from 1.
namespace check_cell {
inline constexpr int kUnchecked = 1, kChecked = 2;
// Added to either for a disabled box.
inline constexpr int kDisabledShift = 2;
inline constexpr int kIndeterminate = 4;
}  // namespace check_cell

// What kind of frame a window has, read from its styles at attach.
enum class TFrameKind : int {
  Sizing = 0,  // a thick or window-edge frame
  // A popup without a full caption: its frame stays the system's.
  Unskinned = 2,
  Fixed = 3,
};

// The form skinner's hover timer: how soon a caption button notices the
// mouse has left it without a message saying so.
inline constexpr unsigned kHoverTimerMs = 250;

}  // namespace qm
