#pragma once
// Buttons with a glyph. TBitBtn is a push button showing a picture beside its
// caption; TSpeedButton is a windowless button that can stay down, alone or
// as one of a group. The glyph is a strip of up to four equal cells: normal,
// disabled, pressed and down; the colour of a cell's top-left pixel shows
// through.

#include <windows.h>

#include "std_controls.h"

namespace gui {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where glyph and caption go in a button's client rectangle. Margin is the
// room before the glyph (-1: the pair is centred); Spacing the room between
// glyph and caption (-1: with Margin -1, the free room is split in three
// equal parts; with a fixed margin, the caption is centred in what remains).
// Spacing counts only when there are both a glyph and a caption.
struct TGlyphPlacement {
  POINT Glyph{0, 0};
  RECT Text{0, 0, 0, 0};
  UINT TextFormat = DT_CENTER;  // DT_LEFT, DT_RIGHT or DT_CENTER for the layout
};
TGlyphPlacement PlaceGlyphAndText(const RECT& Client, SIZE Glyph, SIZE Text, TButtonLayout Layout, int Margin,
                                  int Spacing);

// The glyph cells, 1-based.
enum TGlyphCell : int { gcNormal = 1, gcDisabled = 2, gcPressed = 3, gcDown = 4 };

// A glyph strip and how it is cut and placed; shared by both buttons.
class TButtonGlyph {
 public:
  TBitmap& Glyph() { return FGlyph; }
  const TBitmap& Glyph() const { return FGlyph; }
  // Cells in the strip, 1 to 4.
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int count) { FNumGlyphs = count < 1 ? 1 : count > 4 ? 4 : count; }
  SIZE CellSize() const;
  // Draws a cell at (X, Y), its top-left pixel's colour left out; a cell the
  // strip does not hold falls back to the first.
  void DrawCell(HDC DC, int X, int Y, int Cell) const;

  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;

 private:
  TBitmap FGlyph;
  int FNumGlyphs = 1;
};

// Draws a cell of Glyph and the caption on DC in Client by the glyph's
// layout, in the font and text colour already selected.
void DrawGlyphAndCaption(HDC DC, const RECT& Client, const TButtonGlyph& Glyph, int Cell,
                         const std::wstring& Caption);

class TBitBtn : public TButton {
  QM_GUI_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner);
  TButtonGlyph& ButtonGlyph() { return FGlyph; }
  TBitmap& Glyph() { return FGlyph.Glyph(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  TButtonGlyph FGlyph;
};

class TSpeedButton : public TGraphicControl {
  QM_GUI_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);
  TButtonGlyph& ButtonGlyph() { return FGlyph; }
  TBitmap& Glyph() { return FGlyph.Glyph(); }
  // Held down: by code, or by a click when the button is in a group.
  bool Down() const { return FDown; }
  void SetDown(bool value);
  // Buttons of one parent with the same non-zero index are a group: one at
  // most is down. Index 0: the button springs back after every click.
  int GroupIndex = 0;
  // A group may have none down: clicking the down button raises it.
  bool AllowAllUp = false;
  // Pressed by the mouse now.
  bool Pressed() const { return FPressed; }
  void Click() override;

 protected:
  void WndProc(TMessage& message) override;
  void Paint() override;

 private:
  TButtonGlyph FGlyph;
  bool FDown = false;
};

}  // namespace gui
