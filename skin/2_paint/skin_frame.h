#pragma once
// The skinned frame of a top-level window: its widths from the loaded skin,
// where the client area lies under it, and the painting of its four borders
// and of the caption. The form skinner paints a window's frame with these;
// they hold no window state of their own.
//
// Window coordinates (origin at the window rectangle's top-left), for a
// window W x H:
//   left border    (0, 0, Left, H)            right border (W - Right, 0, W, H)
//   title bar      (Left, 0, W - Right, Title)
//   bottom border  (Left, H - Bottom, W - Right, H)
//   client         (Left, Title + Menu, W - Right, H - Bottom)

#include <windows.h>

#include <string>

#include "gui/graphics.h"

namespace qm {

class TLoadedSkin;
class TSkinDescription;

enum class TFrameSide { Left = 1, Right = 2, Top = 3, Bottom = 4 };

struct TFrameMetrics {
  int BorderLeft = 0;
  int TitleHeight = 0;
  int BorderRight = 0;
  int BorderBottom = 0;
  bool operator==(const TFrameMetrics&) const = default;
};

// The frame's widths: each border image's frame size across its edge (the
// side borders' frames lie side by side, the top and bottom ones stacked).
// All zero for a popup whose frame is not skinned.
TFrameMetrics SkinFrameMetrics(const TSkinDescription& Skin, bool UnskinnedPopup);

// Where a border lies in a window of Width x Height; may be inverted when
// the window is narrower than its borders.
RECT FrameSideRect(const TFrameMetrics& Metrics, TFrameSide Side, int Width, int Height);

// The client rectangle under the skinned frame and a menu bar of MenuHeight
// for a window placed at Pos (WM_NCCALCSIZE).
RECT SkinnedClientRect(const TFrameMetrics& Metrics, int MenuHeight, const WINDOWPOS& Pos);

// What lies at P (window coordinates) of a window of Size under the skinned
// frame, the caption buttons aside: HTCLIENT; for a window that can be
// sized (Sizing) the sizing codes over the side and bottom borders and the
// title's top rows, the corners reaching along both edges; HTCAPTION over
// the title (its top rows too while Maximized); HTMENU over the menu bar;
// HTBORDER over the rest of the frame; HTNOWHERE outside the window.
//
//   +--+-------- HTTOP (4 rows) ----------+--+
//   |TL|          HTCAPTION               |TR|   corners: 16 pixels along
//   |  +----------- HTMENU ---------------+  |   either edge, or the
//   |L |                                  |R |   border's width if wider
//   |  |            HTCLIENT              |  |
//   |BL+---------- HTBOTTOM --------------+BR|
// The rows and corners are those lengths at 96 DPI, scaled to Dpi.
LRESULT FrameHitTest(const TFrameMetrics& Metrics, int MenuHeight, SIZE Size, POINT P, bool Sizing, bool Maximized,
                     int Dpi);

// Paints one border at R: frame 1 of its strip while the window is active,
// frame 2 while inactive (frame 1 for a single-frame strip), as a nine-grid
// whose middle is stretched when the border says Tile 1 and tiled
// otherwise. Nothing for a negative size or a border the skin lacks.
void PaintSkinBorder(const TLoadedSkin& Skin, TFrameSide Side, const RECT& R, HDC DC, bool Active);

// The borders of one window as PaintSkinBorder paints them, kept while the
// window's size, its activation and the skin stay: a repaint is then a copy
// of each, and the region is cut from the same pictures. They are copies:
// nothing here points into the skin.
class TBorderPictures {
 public:
  // The picture of Side for a window Width x Height; nullptr when the
  // border has no area or the skin lacks it.
  gui::TBitmap* Picture(const TLoadedSkin& Skin, const TFrameMetrics& Metrics, TFrameSide Side, int Width,
                        int Height, bool Active);
  // After a change of skin.
  void Clear();

 private:
  struct TEntry {
    int Width = -1, Height = -1;
    bool Active = false;
    bool Painted = false;
    gui::TBitmap Bitmap;
  };
  TEntry FEntries[4];
};

// Whether the user can size a window of this style by its frame: a sizing
// frame, and the window neither maximised nor minimised.
bool SizedByFrame(LONG_PTR Style);

// The size grip of a window the user can size by its frame: six dots in a
// triangle in the corner of the right and bottom borders, lit from the top
// left in the skin's highlight and dark-shadow colours, dots and spacing
// grown with the skin's scale. Nothing where the corner is too small for
// them.
void PaintSizeGrip(HDC DC, const TFrameMetrics& Metrics, int Width, int Height, const TLoadedSkin& Skin);

struct TCaptionLook {
  std::wstring Text;     // the window text with its two leading blanks
  HFONT Font = nullptr;  // the system caption font
  bool Active = true;
  bool RightToLeft = false;
  bool Popup = false;         // the window has WS_POPUP
  int RightButtonsLeft = 0;   // left edge of the right-hand caption buttons
};

// Draws the caption in the title area A: its background strip from the
// title's image and the text, placed by the title's alignment and shifts,
// in the title's active or inactive colour, ending in an ellipsis where it
// does not fit. Answers the caption rectangle (background included), which
// the caption buttons lay themselves out around. The DC's font, colours and
// background mode are given back as they were lent.
RECT PaintSkinCaption(HDC DC, const RECT& A, const TLoadedSkin& Skin, const TCaptionLook& Look);

}  // namespace qm
