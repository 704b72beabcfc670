// Glyph buttons: where glyph and caption go, and how speed buttons of a
// group stay down.
#include <gtest/gtest.h>

#include "gui/forms.h"
#include "gui/glyph_buttons.h"
#include "ui_driver.h"

using namespace gui;

namespace {

TEST(GlyphPlacement, MarginAndSpacingRulesForEveryLayout) {
  // A 100 x 40 client, a 16 x 16 glyph, a 40 x 12 caption.
  const RECT client{0, 0, 100, 40};
  const SIZE glyph{16, 16}, text{40, 12};
  const struct {
    const char* Case;
    TButtonLayout Layout;
    int Margin, Spacing;
    SIZE Text;
    POINT Glyph;
    int TextLeft, TextTop;
    UINT Format;
  } cases[] = {
      // Free room 44 split in three: 14 before, 14 between, 16 after.
      {"centred, thirds", TButtonLayout::blGlyphLeft, -1, -1, text, {14, 12}, 44, 14, DT_LEFT},
      {"centred, fixed spacing", TButtonLayout::blGlyphLeft, -1, 4, text, {20, 12}, 40, 14, DT_LEFT},
      {"fixed margin, caption centred in the rest", TButtonLayout::blGlyphLeft, 5, -1, text, {5, 12}, 40, 14,
       DT_LEFT},
      {"fixed margin and spacing", TButtonLayout::blGlyphLeft, 5, 4, text, {5, 12}, 25, 14, DT_LEFT},
      {"glyph right mirrors the offsets", TButtonLayout::blGlyphRight, 5, 4, text, {79, 12}, 35, 14, DT_RIGHT},
      // Vertically: 40 - 16 - 12 = 12 free, 4 each.
      {"glyph on top", TButtonLayout::blGlyphTop, -1, -1, text, {42, 4}, 30, 24, DT_CENTER},
      {"glyph at the bottom", TButtonLayout::blGlyphBottom, -1, -1, text, {42, 20}, 30, 4, DT_CENTER},
      // Spacing counts only with both: a lone glyph is centred.
      {"no caption", TButtonLayout::blGlyphLeft, -1, 4, SIZE{0, 0}, {42, 12}, 58, 20, DT_LEFT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    const TGlyphPlacement p = PlaceGlyphAndText(client, glyph, c.Text, c.Layout, c.Margin, c.Spacing);
    EXPECT_EQ(p.Glyph.x, c.Glyph.x);
    EXPECT_EQ(p.Glyph.y, c.Glyph.y);
    EXPECT_EQ(p.Text.left, c.TextLeft);
    EXPECT_EQ(p.Text.top, c.TextTop);
    EXPECT_EQ(p.Text.right - p.Text.left, c.Text.cx);
    EXPECT_EQ(p.TextFormat, c.Format);
  }
}

TEST(GlyphButtons, SpeedButtonGroupsAndBitButtonKeepsItsOwnFace) {
  TForm form(nullptr);
  form.SetClientSize(300, 120);
  form.Show();
  auto speed = [&](int left, int group) {
    auto* b = form.Make<TSpeedButton>();
    b->SetParent(&form);
    b->SetBounds(left, 10, 40, 30);
    b->GroupIndex = group;
    return b;
  };
  TSpeedButton *a = speed(10, 1), *b = speed(60, 1), *lone = speed(110, 0);
  int clicks = 0;
  for (TSpeedButton* s : {a, b, lone}) s->OnClick = [&clicks](TControl&) { ++clicks; };
  // A click as the parent routes it: down and up over the button.
  auto click = [&](TSpeedButton* s) {
    const LPARAM at = MAKELPARAM(s->Left() + 5, s->Top() + 5);
    SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form.Handle(), WM_LBUTTONUP, 0, at);
  };
  click(a);
  EXPECT_TRUE(a->Down());
  click(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down()) << "one of a group down at most";
  click(b);
  EXPECT_TRUE(b->Down()) << "without AllowAllUp the down button stays down";
  b->AllowAllUp = true;
  click(b);
  EXPECT_FALSE(b->Down());
  click(lone);
  EXPECT_FALSE(lone->Down()) << "outside a group a button springs back";
  EXPECT_EQ(clicks, 5);

  // Made default, a bit button stays owner-drawn: the system would otherwise
  // paint its face without the glyph.
  auto* bit = form.Make<TBitBtn>();
  bit->SetParent(&form);
  bit->SetBounds(10, 60, 100, 30);
  bit->SetDefault(true);
  EXPECT_EQ(GetWindowLongPtrW(bit->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

}  // namespace
