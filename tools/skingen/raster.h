#pragma once
// A tiny software rasteriser for drawing skin art deterministically: shapes
// are given as signed distance functions and covered analytically, so the
// same program always writes the same bytes on any host.

#include <cstdint>
#include <functional>
#include <vector>

namespace skingen {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb grey(int v) { return Rgb{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}; }
constexpr Rgb kKey{255, 0, 255};  // the transparent key colour of every skin image

Rgb mix(Rgb a, Rgb b, double t);            // t = 0 gives a, 1 gives b
Rgb shade(Rgb c, int delta);                // lighter (+) or darker (-)

class Image {
 public:
  Image() = default;
  Image(int w, int h, Rgb fill = kKey);
  int width() const { return w_; }
  int height() const { return h_; }
  Rgb& at(int x, int y) { return px_[std::size_t(y) * w_ + x]; }
  Rgb at(int x, int y) const { return px_[std::size_t(y) * w_ + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  void set(int x, int y, Rgb c) { if (inside(x, y)) at(x, y) = c; }

  void fill(int x0, int y0, int x1, int y1, Rgb c);  // half-open rectangle
  // Places `src` at (dx, dy); key-coloured source pixels are copied too.
  void blit(const Image& src, int dx, int dy);
  Image crop(int x, int y, int w, int h) const;
  Image mirrored() const;
  Image transposed() const;  // swaps the axes: columns become rows

 private:
  int w_ = 0, h_ = 0;
  std::vector<Rgb> px_;
};

// Signed distance (negative inside) at a pixel centre (x + 0.5, y + 0.5).
using Sdf = std::function<double(double x, double y)>;
using Paint = std::function<Rgb(int x, int y)>;

Sdf roundRect(double x0, double y0, double x1, double y1, double radius);
Sdf circle(double cx, double cy, double radius);
Sdf capsule(double ax, double ay, double bx, double by, double halfWidth);
Sdf polyline(std::vector<std::pair<double, double>> points, double halfWidth);
Sdf triangle(double ax, double ay, double bx, double by, double cx, double cy);
Sdf unite(Sdf a, Sdf b);
Sdf subtract(Sdf a, Sdf b);
Sdf ring(Sdf shape, double width);  // an outline of `width` just inside the shape

// Covers the shape within the clip rectangle, blending by edge coverage.
void draw(Image& img, int x0, int y0, int x1, int y1, const Sdf& shape, const Paint& paint);
void draw(Image& img, int x0, int y0, int x1, int y1, const Sdf& shape, Rgb colour);
// Pixels of the clip rectangle that lie mostly outside `shape` become the key
// colour, so transparent edges stay hard and never fringe pink.
void keyOutside(Image& img, int x0, int y0, int x1, int y1, const Sdf& shape);

// Vertical linear gradient from `top` at row y0 to `bottom` at row y1 - 1.
Paint vgradient(int y0, int y1, Rgb top, Rgb bottom);
Paint hgradient(int x0, int x1, Rgb left, Rgb right);

}  // namespace skingen
