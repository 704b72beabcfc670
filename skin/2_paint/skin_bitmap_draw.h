#pragma once
// Drawing skin image strips: cutting one frame out of a strip and drawing it
// at any size as a nine-grid, a three-part band or a plain scaled frame, with
// or without the key colour as transparency, and turning a key-coloured
// picture into a window region. Every skinner paints through these.
//
// A strip holds FrameCount equal frames side by side, or stacked when an
// operation is told Vertical; frames are numbered from 1. Margins are a RECT
// used as four widths (left, top, right, bottom). Working bitmaps stretch in
// HALFTONE mode, so scaled skin art stays smooth.

#include <windows.h>

#include <memory>

#include "gui/graphics.h"

namespace qm {

// Magenta: the transparent key colour of every skin image.
constexpr COLORREF SkinKeyColour = RGB(255, 0, 255);

inline int MaxInt(int a, int b) { return a > b ? a : b; }
inline int MinInt(int a, int b) { return a < b ? a : b; }

// Where frame Frame of FrameCount lies in Strip. A frame count below 1 is
// taken as 1 and the frame clamped into the strip, so that a damaged skin
// description never reads outside its image.
RECT SkinFrameRect(const gui::TBitmap& Strip, bool Vertical, int FrameCount, int Frame);

// The frame drawn as a nine-grid at R's size: corners kept, edges stretched,
// the middle stretched or tiled. The caller owns the result.
std::unique_ptr<gui::TBitmap> NineGridBitmap(const RECT& R, gui::TBitmap& Strip, const RECT& Margins,
                                             bool Vertical, bool Tile, int FrameCount, int Frame);
void DrawNineGrid(HDC DC, const RECT& R, gui::TBitmap& Strip, bool Vertical, bool Tile, bool Transparent,
                  int FrameCount, int Frame, const RECT& Margins);
// The eight outer pieces straight onto DC; the middle is left as it is.
void DrawNineGridRing(HDC DC, const RECT& R, gui::TBitmap& Strip, bool Vertical, int FrameCount, int Frame,
                      const RECT& Margins);
// A horizontal band: left and right caps at their width, the middle
// repeated at its natural width (Margins.top and .bottom are not used).
void DrawThreePart(gui::TCanvas& Canvas, const RECT& R, gui::TBitmap& Strip, bool Vertical, bool Transparent,
                   int FrameCount, int Frame, const RECT& Margins);
// One frame (frames side by side) scaled to R.
void DrawFrame(HDC DC, const RECT& R, gui::TBitmap& Strip, bool Transparent, int FrameCount, int Frame);
// The whole bitmap at R's top-left, pixels of the key colour left out.
void DrawTransparent(HDC DC, const RECT& R, gui::TBitmap& Bitmap, COLORREF Key);
// The piece Part of the bitmap at (X, Y), unscaled, the same way.
void DrawTransparentPart(HDC DC, int X, int Y, gui::TBitmap& Bitmap, const RECT& Part, COLORREF Key);
// Repeats Source's piece Src over Target; the last row and column may run
// past Target's right and bottom edges.
void TileBitmap(gui::TCanvas& Canvas, const RECT& Target, gui::TBitmap& Source, const RECT& Src);
// A region of every pixel that is not key-coloured, offset by (X, Y); a
// pixel is key-coloured when each component lies between the key's and the
// key's plus its tolerance. nullptr for a picture that is key colour only.
// The caller deletes the region.
HRGN BitmapToRegion(const gui::TBitmap& Bitmap, int X, int Y, int BlueTolerance, int GreenTolerance,
                    int RedTolerance, COLORREF Key);

}  // namespace qm
