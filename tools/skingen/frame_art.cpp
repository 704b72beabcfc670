#include "frame_art.h"

#include <algorithm>
#include <functional>

#include "palette.h"

namespace skingen {

using palette::FrameStyle;
using palette::FrameTone;

namespace {

constexpr int kSideHeight = 294;

// The title's separator line; above it the two sheen bands, below it the
// accent, the body and the three rings that frame the client area.
int separatorRow(const FrameStyle& s) { return s.titleHeight - 3 - s.bodyRows - s.accentRows - 1; }

// Colour of one row of the title strip; its last three rows are the rings
// that frame the client area, so they must match the side borders' inner
// columns.
Rgb titleRow(const FrameStyle& s, const FrameTone& t, int row) {
  const int h = s.titleHeight;
  if (row <= 0) return t.outer;
  if (row == 1) return t.rim;
  if (row >= h - 3) return t.inner[h - 1 - row];
  const int body = h - 3 - s.bodyRows;
  if (row >= body) return t.body;
  if (row >= body - s.accentRows) return row == body - 1 ? t.accent : t.accentLight;
  const int separator = separatorRow(s);
  if (row == separator) return t.separator;
  const int split = 2 + (separator - 2) / 2;
  if (row < split) return vgradient(2, split, t.sheenTop, t.sheenBottom)(0, row);
  return vgradient(split, separator, t.lowerTop, t.lowerBottom)(0, row);
}

// One column of the left border. `x` counts from the window's outer edge,
// `y` from the window's top; `fromBottom` is the row counted up from the
// window's bottom edge when the pixel lies in the lower corner.
Rgb leftBorderPixel(const FrameStyle& s, const FrameTone& t, int x, int y, int fromBottom) {
  if (x == 0) return t.outer;
  if (fromBottom == 0) return t.outer;
  if (y < s.titleHeight - 3) {  // beside the title: the title's rows continue to the edge
    Rgb c = titleRow(s, t, y);
    if (x == 1 && y >= 2 && y < separatorRow(s)) c = shade(c, 14);
    return c;
  }
  if (x == 1) return t.rim;
  if (fromBottom == 1) return shade(t.body, 16);
  // Distance in rings from the client rectangle, whose corner lies at the
  // border's inner edge and the title's (or the bottom border's) edge.
  const int dx = (s.sideWidth - 1) - x;
  const int dy = fromBottom >= 0 ? fromBottom < s.bottomHeight ? (s.bottomHeight - 1) - fromBottom : -1
                                 : (s.titleHeight - 1) - y;
  const int level = std::max(dx, dy);
  if (level >= 0 && level <= 2) return t.inner[level];
  return t.body;
}

Image drawSideFrame(const FrameStyle& s, const FrameTone& t) {
  Image img(s.sideWidth, kSideHeight);
  for (int y = 0; y < kSideHeight; ++y) {
    const int fromBottom = y >= kSideHeight - s.bottomHeight ? kSideHeight - 1 - y : -1;
    for (int x = 0; x < s.sideWidth; ++x) img.at(x, y) = leftBorderPixel(s, t, x, y, fromBottom);
  }
  // Round the window's top corner along a curved rim and cut it with the key
  // colour, so the window region follows the curve; the bottom corner gets a
  // small bevel the same way.
  const auto top = roundRect(0, 0, 200, 400, s.cornerRadius);
  draw(img, 0, 0, 10, 10, ring(roundRect(1, 1, 200, 400, s.cornerRadius - 1), 1), shade(titleRow(s, t, 3), 16));
  draw(img, 0, 0, 10, 10, ring(top, 1), t.outer);
  keyOutside(img, 0, 0, 10, 10, top);
  const auto bottom = roundRect(0, -200, 200, kSideHeight, 3);
  draw(img, 0, kSideHeight - 5, 5, kSideHeight, ring(bottom, 1), t.outer);
  keyOutside(img, 0, kSideHeight - 5, 5, kSideHeight, bottom);
  return img;
}

Image stackVertically(const Image& a, const Image& b) {
  Image img(a.width(), a.height() + b.height());
  img.blit(a, 0, 0);
  img.blit(b, 0, a.height());
  return img;
}

Image sideBySide(const std::vector<Image>& frames) {
  int w = 0;
  for (const auto& f : frames) w += f.width();
  Image img(w, frames.front().height());
  int x = 0;
  for (const auto& f : frames) {
    img.blit(f, x, 0);
    x += f.width();
  }
  return img;
}

// ---- caption buttons -------------------------------------------------------

struct ButtonLook {
  palette::ButtonTone tone;
  int shift;  // pressed glyphs move by one pixel
  const FrameTone* backdrop;
};

using GlyphPainter = std::function<void(Image&, int ox, int oy, const Paint& ink, const Paint& face)>;

void fillPaint(Image& img, int x0, int y0, int x1, int y1, const Paint& p) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) img.set(x, y, p(x, y));
}

GlyphPainter glyphFor(CaptionGlyph g) {
  switch (g) {
    case CaptionGlyph::Close:
      return [](Image& img, int ox, int oy, const Paint& ink, const Paint&) {
        const auto cross = unite(capsule(ox + 6.5, oy + 5.5, ox + 12.5, oy + 11.5, 1.0),
                                 capsule(ox + 12.5, oy + 5.5, ox + 6.5, oy + 11.5, 1.0));
        draw(img, ox, oy, ox + 19, oy + 17, cross, ink);
      };
    case CaptionGlyph::Maximise:
      return [](Image& img, int ox, int oy, const Paint& ink, const Paint&) {
        fillPaint(img, ox + 5, oy + 4, ox + 14, oy + 6, ink);
        fillPaint(img, ox + 5, oy + 6, ox + 6, oy + 13, ink);
        fillPaint(img, ox + 13, oy + 6, ox + 14, oy + 13, ink);
        fillPaint(img, ox + 5, oy + 12, ox + 14, oy + 13, ink);
      };
    case CaptionGlyph::Restore:
      return [](Image& img, int ox, int oy, const Paint& ink, const Paint& face) {
        // Back window, then the front one drawn over it with its own face.
        fillPaint(img, ox + 7, oy + 3, ox + 14, oy + 5, ink);
        fillPaint(img, ox + 13, oy + 5, ox + 14, oy + 10, ink);
        fillPaint(img, ox + 6, oy + 7, ox + 11, oy + 12, face);
        fillPaint(img, ox + 4, oy + 6, ox + 12, oy + 8, ink);
        fillPaint(img, ox + 4, oy + 8, ox + 5, oy + 13, ink);
        fillPaint(img, ox + 11, oy + 8, ox + 12, oy + 13, ink);
        fillPaint(img, ox + 4, oy + 12, ox + 12, oy + 13, ink);
        fillPaint(img, ox + 12, oy + 9, ox + 13, oy + 10, ink);
        fillPaint(img, ox + 7, oy + 5, ox + 8, oy + 6, ink);
      };
    case CaptionGlyph::Minimise:
      return [](Image& img, int ox, int oy, const Paint& ink, const Paint&) {
        fillPaint(img, ox + 5, oy + 11, ox + 14, oy + 13, ink);
      };
    case CaptionGlyph::RollUp:
    case CaptionGlyph::RollDown:
      return [g](Image& img, int ox, int oy, const Paint& ink, const Paint&) {
        const double a = g == CaptionGlyph::RollUp ? 10.5 : 6.5, b = g == CaptionGlyph::RollUp ? 6.5 : 10.5;
        draw(img, ox, oy, ox + 19, oy + 17,
             polyline({{ox + 5.5, oy + a}, {ox + 9.5, oy + b}, {ox + 13.5, oy + a}}, 1.0), ink);
      };
    case CaptionGlyph::Launch:
      return [](Image& img, int ox, int oy, const Paint& ink, const Paint&) {
        draw(img, ox, oy, ox + 19, oy + 17, triangle(ox + 7, oy + 4.5, ox + 7, oy + 12.5, ox + 13.5, oy + 8.5), ink);
      };
    case CaptionGlyph::Link:
      return [](Image& img, int ox, int oy, const Paint& ink, const Paint&) {
        const auto chain = unite(ring(roundRect(ox + 5, oy + 7, ox + 14, oy + 13, 3), 1.3),
                                 ring(roundRect(ox + 11, oy + 7, ox + 20, oy + 13, 3), 1.3));
        draw(img, ox, oy, ox + 25, oy + 20, chain, ink);
      };
  }
  return {};
}

ButtonLook captionLook(const FrameStyle& s, int frame, bool closeButton) {
  const bool inactive = frame == 4 || frame == 6;
  const palette::ButtonTone& tone = frame == 3 && closeButton ? s.closeHot : s.buttons[frame - 1];
  return {tone, frame == 2 ? 1 : 0, inactive ? &s.inactive : &s.active};
}

// One rounded button on the title strip's own background, so its
// anti-aliased rim blends into what surrounds it on screen.
void captionFrame(Image& img, int ox, int cw, int ch, const FrameStyle& s, const ButtonLook& look,
                  const GlyphPainter& glyph) {
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) img.at(ox + x, y) = titleRow(s, *look.backdrop, s.buttonTop + y);
  const auto body = roundRect(ox, 0, ox + cw, ch, 3);
  const Paint face = vgradient(0, ch, look.tone.top, look.tone.bottom);
  draw(img, ox, 0, ox + cw, ch, body, face);
  draw(img, ox, 0, ox + cw, ch, ring(roundRect(ox + 1, 1, ox + cw - 1, ch - 1, 2), 1),
       [&](int x, int y) { return y < ch / 2 ? mix(face(x, y), look.tone.rim, 0.7) : face(x, y); });
  draw(img, ox, 0, ox + cw, ch, ring(body, 1), look.tone.border);
  const Rgb ink = look.tone.ink;
  glyph(img, ox + look.shift, look.shift, [ink](int, int) { return ink; }, face);
  keyOutside(img, ox, 0, ox + cw, ch, body);
}

}  // namespace

Image drawTopBorder(const FrameStyle& s) {
  auto strip = [&](const FrameTone& t) {
    Image img(209, s.titleHeight);
    for (int y = 0; y < s.titleHeight; ++y) img.fill(0, y, 209, y + 1, titleRow(s, t, y));
    return img;
  };
  return stackVertically(strip(s.active), strip(s.inactive));
}

Image drawBottomBorder(const FrameStyle& s) {
  auto strip = [&](const FrameTone& t) {
    Image img(332, s.bottomHeight);
    for (int y = 0; y < s.bottomHeight; ++y) {
      const int fromBottom = s.bottomHeight - 1 - y;
      Rgb c = t.body;
      if (y <= 2) c = t.inner[y];
      if (fromBottom == 1) c = shade(t.body, 16);
      if (fromBottom == 0) c = t.outer;
      img.fill(0, y, 332, y + 1, c);
    }
    return img;
  };
  return stackVertically(strip(s.active), strip(s.inactive));
}

Image drawLeftBorder(const FrameStyle& s) {
  return sideBySide({drawSideFrame(s, s.active), drawSideFrame(s, s.inactive)});
}

Image drawRightBorder(const FrameStyle& s) {
  // No size grip in the corner: the border is drawn for every window, and
  // the skin engine puts a grip there only on windows their frame sizes.
  return sideBySide({drawSideFrame(s, s.active).mirrored(), drawSideFrame(s, s.inactive).mirrored()});
}

Image drawMenuBar() {
  auto bar = [](bool active) {
    Image img(100, 19);
    const Paint body = vgradient(1, 17, grey(active ? 196 : 188), grey(active ? 176 : 180));
    for (int y = 0; y < 19; ++y)
      for (int x = 0; x < 100; ++x) img.at(x, y) = body(x, y);
    img.fill(0, 0, 100, 1, grey(active ? 210 : 200));
    img.fill(0, 17, 100, 18, grey(active ? 150 : 160));
    img.fill(0, 18, 100, 19, grey(active ? 128 : 146));
    for (int y = 4; y <= 13; y += 3) {  // grip in the fixed left cap
      img.set(2, y, grey(active ? 120 : 140));
      img.set(3, y + 1, grey(232));
    }
    return img;
  };
  return stackVertically(bar(true), bar(false));
}

Image drawCaptionButton(const FrameStyle& s, CaptionGlyph glyph) {
  const bool link = glyph == CaptionGlyph::Link;
  const int cw = link ? 25 : 19, ch = link ? 20 : 17;
  Image img(cw * 6, ch);
  const GlyphPainter painter = glyphFor(glyph);
  for (int f = 1; f <= 6; ++f)
    captionFrame(img, (f - 1) * cw, cw, ch, s, captionLook(s, f, glyph == CaptionGlyph::Close), painter);
  return img;
}

Image drawMdiButtons() {
  using palette::kFace;
  Image img(180, 14);
  struct Look { Rgb top, bottom, border, ink; int shift; };
  const Look looks[4] = {{grey(224), grey(186), grey(104), palette::kInk, 0},
                         {grey(168), grey(190), grey(84), palette::kInk, 1},
                         {grey(198), grey(196), grey(160), grey(150), 0},
                         {grey(238), grey(204), palette::kGreenDark, grey(26), 0}};
  for (int group = 0; group < 3; ++group)
    for (int f = 0; f < 4; ++f) {
      const int ox = group * 60 + f * 15;
      const Look& l = looks[f];
      img.fill(ox, 0, ox + 11, 14, kFace);
      const auto body = roundRect(ox, 1, ox + 11, 13, 2);
      draw(img, ox, 0, ox + 11, 14, body, vgradient(1, 13, l.top, l.bottom));
      draw(img, ox, 0, ox + 11, 14, ring(body, 1), l.border);
      const int x = ox + l.shift, y = 1 + l.shift;
      if (group == 0) img.fill(x + 3, y + 7, x + 8, y + 9, l.ink);
      if (group == 1) {
        img.fill(x + 4, y + 2, x + 9, y + 3, l.ink);
        img.fill(x + 8, y + 3, x + 9, y + 6, l.ink);
        img.fill(x + 4, y + 3, x + 5, y + 4, l.ink);
        img.fill(x + 2, y + 4, x + 7, y + 5, l.ink);
        img.fill(x + 2, y + 5, x + 3, y + 9, l.ink);
        img.fill(x + 6, y + 5, x + 7, y + 9, l.ink);
        img.fill(x + 2, y + 8, x + 7, y + 9, l.ink);
        img.fill(x + 7, y + 5, x + 8, y + 6, l.ink);
      }
      if (group == 2)
        draw(img, ox, 0, ox + 11, 14,
             unite(capsule(x + 3.5, y + 3.5, x + 7.5, y + 7.5, 0.75), capsule(x + 7.5, y + 3.5, x + 3.5, y + 7.5, 0.75)),
             l.ink);
      keyOutside(img, ox, 0, ox + 15, 14, body);
    }
  return img;
}

Image drawDialogGlyph() {
  Image img(18, 18);
  const auto outline = roundRect(1, 2, 17, 16, 2);
  draw(img, 0, 0, 18, 18, outline, palette::kFace);
  draw(img, 0, 0, 18, 6, outline, vgradient(2, 6, grey(98), grey(62)));
  draw(img, 0, 0, 18, 18, ring(outline, 1), grey(40));
  draw(img, 0, 0, 18, 18, circle(13.5, 4.5, 1.2), palette::kGreen);
  img.fill(4, 9, 14, 10, grey(120));
  img.fill(4, 11, 11, 12, grey(120));
  keyOutside(img, 0, 0, 18, 18, outline);
  return img;
}

}  // namespace skingen
