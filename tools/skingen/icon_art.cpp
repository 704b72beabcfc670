#include "icon_art.h"

#include <algorithm>

#include "palette.h"

namespace skingen {

namespace {

using palette::kActive;

// The artwork is laid out on a 32-unit square and scaled to each size; small
// sizes keep whole-pixel outlines by rounding the tile's edge to the grid.
struct Grid {
  double unit;
  double operator()(double v) const { return v * unit; }
};

void drawTile(Image& img, const Grid& g) {
  const int n = img.width();
  const double r = std::max(2.0, g(6));
  const auto tile = roundRect(0, 0, n, n, r);
  // The title bar's two sheen bands over the frame's body colour.
  const int split = int(n * 0.45);
  draw(img, 0, 0, n, split, tile, vgradient(0, split, kActive.sheenTop, kActive.sheenBottom));
  draw(img, 0, split, n, n, tile, vgradient(split, n, kActive.lowerTop, kActive.body));
  draw(img, 0, 0, n, n, ring(roundRect(1, 1, n - 1, n - 1, r - 1), 1), kActive.rim);
  draw(img, 0, 0, n, n, ring(tile, 1), kActive.outer);
  // The frame's accent line along the bottom.
  const double accent = n - std::max(2.0, g(4));
  draw(img, 0, 0, n, n, roundRect(std::max(2.0, g(4)), accent, n - std::max(2.0, g(4)), accent + std::max(1.0, g(1.5)), 0),
       palette::kGreen);
}

void drawWizardGlyph(Image& img, const Grid& g) {
  const int n = img.width();
  // A disk, face grey with a lighter top, and its green activity light.
  const auto disk = roundRect(g(6), g(15), g(26), g(24), std::max(1.0, g(2)));
  draw(img, 0, 0, n, n, disk, vgradient(int(g(15)), int(g(24)), grey(224), palette::kFace));
  draw(img, 0, 0, n, n, ring(disk, std::max(1.0, g(1))), grey(34));
  draw(img, 0, 0, n, n, circle(g(22), g(20.5), std::max(1.0, g(1.5))), palette::kGreenLight);
  // A green arrow going down into it: the partition being taken to an image.
  const auto arrow = unite(roundRect(g(13.5), g(3), g(18.5), g(10), 0), triangle(g(9), g(9.5), g(23), g(9.5), g(16), g(15.5)));
  draw(img, 0, 0, n, n, arrow, vgradient(int(g(3)), int(g(16)), palette::kGreenLight, palette::kGreen));
  draw(img, 0, 0, n, n, ring(arrow, std::max(1.0, g(1))), palette::kGreenDark);
}

void drawSkinViewGlyph(Image& img, const Grid& g) {
  const int n = img.width();
  // A small skinned window: face-grey client under a graphite title with its
  // green accent and a close button.
  const auto window = roundRect(g(5), g(6), g(27), g(25), std::max(1.0, g(1.5)));
  draw(img, 0, 0, n, n, window, palette::kFace);
  draw(img, 0, 0, n, n, roundRect(g(5), g(6), g(27), g(11.5), 0), vgradient(int(g(6)), int(g(11.5)), grey(118), grey(54)));
  draw(img, 0, 0, n, n, roundRect(g(5), g(11.5), g(27), g(13), 0), palette::kGreen);
  draw(img, 0, 0, n, n, circle(g(23.5), g(8.75), std::max(1.0, g(1.6))), palette::kRed);
  draw(img, 0, 0, n, n, roundRect(g(8), g(16), g(24), g(18), 0), grey(240));
  draw(img, 0, 0, n, n, roundRect(g(8), g(20), g(18), g(22), 0), grey(240));
  draw(img, 0, 0, n, n, ring(window, std::max(1.0, g(1))), grey(28));
}

}  // namespace

IconImage drawIcon(IconGlyph glyph, int size) {
  const Grid g{size / 32.0};
  // Edge pixels blend towards the frame's outer colour, which the coverage
  // below then makes partly transparent.
  IconImage icon{Image(size, size, kActive.outer), {}};
  drawTile(icon.colour, g);
  if (glyph == IconGlyph::Wizard)
    drawWizardGlyph(icon.colour, g);
  else
    drawSkinViewGlyph(icon.colour, g);
  Image cover(size, size, grey(0));
  draw(cover, 0, 0, size, size, roundRect(0, 0, size, size, std::max(2.0, g(6))), grey(255));
  icon.alpha.resize(std::size_t(size) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) icon.alpha[std::size_t(y) * size + x] = cover.at(x, y).r;
  return icon;
}

}  // namespace skingen
