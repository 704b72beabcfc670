#include "control_art.h"

#include "palette.h"

namespace skingen {

using namespace palette;

namespace {

struct Look {
  Rgb top, bottom, border, rim, ink;
  int shift = 0;
};

const Look kNormal{grey(226), grey(184), grey(104), grey(244), kInk};
const Look kPressed{grey(162), grey(188), grey(86), grey(150), kInk, 1};
const Look kDisabled{grey(202), grey(196), grey(158), grey(212), grey(150)};
const Look kHot{grey(236), grey(198), kGreenDark, Rgb{200, 234, 160}, kInk};

// A bevelled face on a matte, cut to a rounded shape. With `keyed` the
// outside becomes transparent; otherwise the matte stays, for strips drawn
// opaquely.
void face(Image& img, int ox, int oy, int w, int h, double radius, const Look& l, Rgb matte, bool keyed) {
  img.fill(ox, oy, ox + w, oy + h, matte);
  const auto body = roundRect(ox, oy, ox + w, oy + h, radius);
  const Paint fill = vgradient(oy, oy + h, l.top, l.bottom);
  draw(img, ox, oy, ox + w, oy + h, body, fill);
  draw(img, ox, oy, ox + w, oy + h, ring(roundRect(ox + 1, oy + 1, ox + w - 1, oy + h - 1, radius - 1 > 0 ? radius - 1 : 0), 1),
       [&](int x, int y) { return y < oy + h / 2 ? mix(fill(x, y), l.rim, 0.8) : fill(x, y); });
  draw(img, ox, oy, ox + w, oy + h, ring(body, 1), l.border);
  if (keyed) keyOutside(img, ox, oy, ox + w, oy + h, body);
}

Image stripOf(int frameWidth, int height, int frames) { return Image(frameWidth * frames, height); }

Image transposeFrames(const Image& strip, int frameWidth) {
  Image out(strip.width(), strip.height());
  for (int x = 0; x < strip.width(); x += frameWidth) out.blit(strip.crop(x, 0, frameWidth, strip.height()).transposed(), x, 0);
  return out;
}

}  // namespace

Image drawPushButtons() {
  Image img = stripOf(55, 22, 5);
  const Look def{grey(226), grey(184), grey(58), grey(244), kInk};
  const Look looks[5] = {kNormal, kPressed, kDisabled, kHot, def};
  for (int f = 0; f < 5; ++f) face(img, f * 55, 0, 55, 22, 3, looks[f], kFace, false);
  // The hot and default faces get a second, inner ring to read as focus.
  draw(img, 165, 0, 220, 22, ring(roundRect(166, 1, 219, 21, 2), 1), kGreenLight);
  draw(img, 220, 0, 275, 22, ring(roundRect(221, 1, 274, 21, 2), 1), grey(150));
  return img;
}

Image drawCheckBoxes() {
  Image img = stripOf(14, 14, 4);
  for (int f = 0; f < 4; ++f) {
    const int ox = f * 14;
    const bool checked = f == 1 || f == 3, disabled = f >= 2;
    const Look l = disabled ? Look{grey(214), grey(206), grey(156), grey(214), grey(150)}
                 : checked  ? Look{kGreenLight, kGreen, kGreenDark, Rgb{198, 236, 150}, grey(255)}
                            : Look{grey(238), grey(255), grey(98), grey(255), kInk};
    face(img, ox, 0, 14, 14, 2.5, l, kFace, true);
    if (checked)
      draw(img, ox, 0, ox + 14, 14, polyline({{ox + 3.6, 7.2}, {ox + 6.0, 9.8}, {ox + 10.6, 4.2}}, 1.05), l.ink);
  }
  return img;
}

Image drawRadioButtons() {
  Image img = stripOf(14, 14, 4);
  for (int f = 0; f < 4; ++f) {
    const int ox = f * 14;
    const bool checked = f == 1 || f == 3, disabled = f >= 2;
    const Rgb border = disabled ? grey(156) : checked ? kGreenDark : grey(98);
    const Paint fill = disabled  ? vgradient(0, 14, grey(214), grey(206))
                       : checked ? vgradient(0, 14, kGreenLight, kGreen)
                                 : vgradient(0, 14, grey(236), grey(255));
    img.fill(ox, 0, ox + 14, 14, kFace);
    const auto disc = circle(ox + 7, 7, 6.5);
    draw(img, ox, 0, ox + 14, 14, disc, fill);
    draw(img, ox, 0, ox + 14, 14, ring(disc, 1), border);
    if (checked) draw(img, ox, 0, ox + 14, 14, circle(ox + 7, 7, 2.6), disabled ? grey(150) : grey(255));
    keyOutside(img, ox, 0, ox + 14, 14, disc);
  }
  return img;
}

Image drawProgress() {
  Image img = stripOf(60, 18, 2);
  face(img, 0, 0, 60, 18, 3, Look{grey(196), grey(226), grey(112), grey(186), kInk}, kFace, true);
  face(img, 60, 0, 60, 18, 3, Look{kGreenLight, kGreen, kGreenDark, Rgb{214, 244, 178}, kInk}, kFace, true);
  // A glossy band across the upper half of the bar.
  draw(img, 62, 2, 118, 8, roundRect(62, 2, 118, 9, 2), [](int, int) { return Rgb{176, 226, 118}; });
  return img;
}

Image drawGroupBoxEdge() {
  Image img = stripOf(32, 32, 2);
  for (int f = 0; f < 2; ++f) {
    const int ox = f * 32;
    const auto outer = roundRect(ox, 0, ox + 32, 32, 3.5);
    img.fill(ox, 0, ox + 32, 32, kFace);
    draw(img, ox, 0, ox + 32, 32, ring(roundRect(ox + 1, 1, ox + 32, 32, 3), 1), grey(222));
    draw(img, ox, 0, ox + 32, 32, ring(roundRect(ox, 0, ox + 31, 31, 3), 1), f ? kGreenDark : grey(120));
    keyOutside(img, ox, 0, ox + 32, 32, outer);
    img.fill(ox + 3, 3, ox + 29, 29, kKey);  // the middle shows what lies beneath
  }
  return img;
}

Image drawGroupBoxLabel() {
  Image img(55, 14);
  face(img, 0, 0, 55, 14, 4, Look{grey(210), grey(186), grey(140), grey(226), kInk}, kFace, true);
  return img;
}

Image drawTabs() {
  Image img = stripOf(55, 22, 5);
  const Look looks[5] = {{grey(104), grey(72), grey(40), grey(132), kInk},
                         {grey(222), grey(180), grey(104), grey(244), kInk},
                         {grey(124), grey(88), grey(44), grey(156), kInk},
                         {grey(164), grey(152), grey(122), grey(176), kInk},
                         {grey(222), grey(180), grey(104), grey(244), kInk}};
  for (int f = 0; f < 5; ++f) {
    const int ox = f * 55;
    const Look& l = looks[f];
    Image tab(55, 32);
    face(tab, 0, 0, 55, 32, 4, l, kFace, false);
    Image cut = tab.crop(0, 0, 55, 22);
    const bool selected = f == 1 || f == 4;
    if (selected) {
      // Selected tabs carry the green accent and open into the page below.
      draw(cut, 0, 1, 55, 3, roundRect(1, 1, 54, 6, 3), kGreen);
      const Paint fill = vgradient(0, 32, l.top, l.bottom);
      for (int x = 1; x < 54; ++x) cut.at(x, 21) = fill(x, 21);
    } else {
      cut.fill(0, 21, 55, 22, grey(104));
    }
    img.blit(cut, ox, 0);
  }
  return img;
}

Image drawTabBorder() {
  Image img(32, 32, kFace);
  img.fill(0, 0, 32, 1, grey(104));
  img.fill(0, 31, 32, 32, grey(104));
  img.fill(0, 0, 1, 32, grey(104));
  img.fill(31, 0, 32, 32, grey(104));
  img.fill(1, 1, 31, 2, grey(214));
  img.fill(1, 1, 2, 31, grey(214));
  img.fill(2, 30, 31, 31, grey(150));
  img.fill(30, 2, 31, 31, grey(150));
  return img;
}

Image drawHeader() {
  Image img = stripOf(55, 22, 5);
  const Look looks[5] = {{grey(218), grey(186), grey(120), grey(240), kInk},
                         {grey(170), grey(192), grey(104), grey(160), kInk},
                         {grey(230), grey(198), grey(120), grey(248), kInk},
                         {grey(200), grey(196), grey(156), grey(210), kInk},
                         {grey(204), grey(178), grey(120), grey(226), kInk}};
  for (int f = 0; f < 5; ++f) {
    const int ox = f * 55;
    const Look& l = looks[f];
    const Paint fill = vgradient(0, 22, l.top, l.bottom);
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 55; ++x) img.at(ox + x, y) = fill(x, y);
    img.fill(ox, 0, ox + 55, 1, l.rim);
    img.fill(ox, 0, ox + 1, 21, l.rim);
    img.fill(ox + 54, 0, ox + 55, 22, l.border);
    img.fill(ox, 21, ox + 55, 22, l.border);
    if (f == 2) img.fill(ox + 1, 19, ox + 54, 21, kGreen);
    if (f == 4) img.fill(ox + 1, 20, ox + 54, 21, kGreenDark);
  }
  return img;
}

Image drawComboButton() {
  Image img = stripOf(18, 22, 4);
  const Look looks[4] = {kNormal, kPressed, kDisabled, kHot};
  for (int f = 0; f < 4; ++f) {
    const int ox = f * 18;
    const Look& l = looks[f];
    const Paint fill = vgradient(0, 22, l.top, l.bottom);
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 18; ++x) img.at(ox + x, y) = fill(x, y);
    img.fill(ox, 0, ox + 1, 22, l.border);
    img.fill(ox + 1, 0, ox + 2, 22, l.rim);
    const double s = l.shift;
    const Rgb arrow = f == 3 ? kGreenDark : l.ink;
    draw(img, ox, 0, ox + 18, 22, triangle(ox + 5.5 + s, 9 + s, ox + 13.5 + s, 9 + s, ox + 9.5 + s, 13.5 + s), arrow);
  }
  return img;
}

Image drawSunkEdge() {
  Image img = stripOf(32, 32, 4);
  struct Edge { Rgb border, inner, fill; };
  const Edge edges[4] = {{grey(122), grey(236), grey(255)},
                         {grey(96), grey(222), grey(255)},
                         {grey(164), grey(214), grey(238)},
                         {kGreen, Rgb{214, 238, 186}, grey(255)}};
  for (int f = 0; f < 4; ++f) {
    const int ox = f * 32;
    const Edge& e = edges[f];
    img.fill(ox, 0, ox + 32, 32, e.border);
    img.fill(ox + 1, 1, ox + 31, 31, e.inner);
    img.fill(ox + 2, 2, ox + 30, 30, e.fill);
    const Rgb corner = mix(e.border, kFace, 0.6);
    for (int cx : {ox, ox + 31})
      for (int cy : {0, 31}) img.at(cx, cy) = corner;
  }
  return img;
}

Image drawMenuItem() {
  Image img = stripOf(100, 17, 5);
  // Frame 2: an etched separator line.
  img.fill(102, 8, 198, 9, grey(150));
  img.fill(102, 9, 198, 10, grey(250));
  const Look looks[3] = {{grey(214), grey(196), grey(160), grey(226), kInk},
                         {Rgb{176, 224, 118}, kGreen, kGreenDark, Rgb{210, 240, 170}, kInk},
                         {kGreen, Rgb{140, 204, 68}, kGreenDark, kGreen, kInk}};
  for (int i = 0; i < 3; ++i) {
    const int ox = (i + 2) * 100;
    const Look& l = looks[i];
    // Rounded only on the left: the right margin is one pixel, so anything
    // shaped there would be smeared by the stretched middle.
    const auto body = roundRect(ox + 1, 1, ox + 160, 16, 2.5);
    const Paint fill = vgradient(1, 16, l.top, l.bottom);
    draw(img, ox, 0, ox + 100, 17, body, fill);
    draw(img, ox, 0, ox + 100, 17, ring(roundRect(ox + 2, 2, ox + 160, 15, 1.5), 1),
         [&](int x, int y) { return y < 8 ? mix(fill(x, y), l.rim, 0.7) : fill(x, y); });
    draw(img, ox, 0, ox + 100, 17, ring(body, 1), l.border);
    img.fill(ox + 99, 2, ox + 100, 15, l.border);
    keyOutside(img, ox, 0, ox + 99, 17, body);
    img.at(ox + 99, 1) = kKey;
    img.at(ox + 99, 15) = kKey;
  }
  return img;
}

Image drawMenuBackground() {
  Image img(50, 50, grey(242));
  const Paint gutter = hgradient(1, 16, grey(214), grey(198));
  for (int y = 1; y < 49; ++y)
    for (int x = 1; x < 16; ++x) img.at(x, y) = gutter(x, y);
  img.fill(16, 1, 17, 49, grey(178));
  img.fill(17, 1, 18, 49, grey(252));
  img.fill(0, 0, 50, 1, grey(96));
  img.fill(0, 49, 50, 50, grey(96));
  img.fill(0, 0, 1, 50, grey(96));
  img.fill(49, 0, 50, 50, grey(96));
  return img;
}

Image drawScrollArrows() {
  Image img = stripOf(16, 16, 23);
  const Look looks[4] = {kNormal, kPressed,
                         Look{grey(238), grey(206), kGreenDark, grey(250), kGreenDark}, kDisabled};
  const Rgb track = grey(176);
  for (int dir = 0; dir < 4; ++dir)
    for (int s = 0; s < 4; ++s) {
      const int ox = (dir * 4 + s) * 16;
      const Look& l = looks[s];
      face(img, ox, 0, 16, 16, 2.5, l, track, true);
      const double d = l.shift, x = ox + d;
      const Sdf arrow = dir == 0   ? triangle(x + 5, 8 + d, x + 9.5, 3.5 + d, x + 9.5, 12.5 + d)
                        : dir == 1 ? triangle(x + 11, 8 + d, x + 6.5, 3.5 + d, x + 6.5, 12.5 + d)
                        : dir == 2 ? triangle(x + 8, 5 + d, x + 3.5, 9.5 + d, x + 12.5, 9.5 + d)
                                   : triangle(x + 8, 11 + d, x + 3.5, 6.5 + d, x + 12.5, 6.5 + d);
      draw(img, ox, 0, ox + 16, 16, arrow, l.ink);
    }
  // Frame 17: the corner between two bars, with a grip; 18-23: plain faces.
  img.fill(256, 0, 272, 16, track);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) {
      img.set(256 + 12 - 3 * j, 6 + 3 * i, grey(250));
      img.set(256 + 13 - 3 * j, 7 + 3 * i, grey(110));
    }
  const Look plain[6] = {kNormal, kPressed, looks[2], kDisabled, kNormal, kPressed};
  for (int f = 0; f < 6; ++f) face(img, 272 + f * 16, 0, 16, 16, 2.5, plain[f], track, true);
  return img;
}

Image drawHorzTrack() {
  Image img = stripOf(16, 16, 4);
  struct Track { Rgb edge, top, bottom, lip; };
  const Track tracks[4] = {{grey(150), grey(166), grey(186), grey(206)},
                           {grey(132), grey(146), grey(168), grey(190)},
                           {grey(150), grey(176), grey(194), grey(214)},
                           {grey(182), grey(196), grey(198), grey(210)}};
  for (int f = 0; f < 4; ++f) {
    const Track& t = tracks[f];
    const Paint fill = vgradient(1, 15, t.top, t.bottom);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) img.at(f * 16 + x, y) = fill(x, y);
    img.fill(f * 16, 0, f * 16 + 16, 1, t.edge);
    img.fill(f * 16, 15, f * 16 + 16, 16, t.lip);
  }
  return img;
}

Image drawVertTrack() { return transposeFrames(drawHorzTrack(), 16); }

Image drawHorzThumb() {
  Image img = stripOf(16, 16, 3);
  const Image track = drawHorzTrack();
  const Look looks[3] = {{grey(124), grey(84), grey(44), grey(160), kInk},
                         {kGreenLight, kGreen, kGreenDark, Rgb{204, 238, 160}, kInk},
                         {grey(146), grey(102), grey(48), grey(182), kInk}};
  for (int f = 0; f < 3; ++f) {
    const int ox = f * 16;
    Image thumb = track.crop(0, 0, 16, 16);  // opaque: it must sit on the track
    const Look& l = looks[f];
    const auto body = roundRect(0, 1, 16, 15, 3);
    const Paint fill = vgradient(1, 15, l.top, l.bottom);
    draw(thumb, 0, 0, 16, 16, body, fill);
    draw(thumb, 0, 0, 16, 16, ring(roundRect(1, 2, 15, 14, 2), 1),
         [&](int x, int y) { return y < 8 ? mix(fill(x, y), l.rim, 0.7) : fill(x, y); });
    draw(thumb, 0, 0, 16, 16, ring(body, 1), l.border);
    img.blit(thumb, ox, 0);
  }
  return img;
}

Image drawVertThumb() {
  // Built from the vertical track so the thumb's corners sit on it exactly.
  Image img = stripOf(16, 16, 3);
  const Image horz = drawHorzThumb();
  for (int f = 0; f < 3; ++f) img.blit(horz.crop(f * 16, 0, 16, 16).transposed(), f * 16, 0);
  return img;
}

}  // namespace skingen
