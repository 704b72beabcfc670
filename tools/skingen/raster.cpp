#include "raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace skingen {

namespace {
std::uint8_t clampByte(double v) {
  return std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
}
double length(double x, double y) { return std::sqrt(x * x + y * y); }

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return length(px - (ax + t * dx), py - (ay + t * dy));
}
}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  return Rgb{clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
             clampByte(a.b + (b.b - a.b) * t)};
}

Rgb shade(Rgb c, int delta) {
  return Rgb{clampByte(c.r + delta), clampByte(c.g + delta), clampByte(c.b + delta)};
}

Image::Image(int w, int h, Rgb fill) : w_(w), h_(h), px_(std::size_t(w) * h, fill) {}

void Image::fill(int x0, int y0, int x1, int y1, Rgb c) {
  for (int y = std::max(0, y0); y < std::min(h_, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) at(x, y) = c;
}

void Image::blit(const Image& src, int dx, int dy) {
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) set(dx + x, dy + y, src.at(x, y));
}

Image Image::crop(int x, int y, int w, int h) const {
  Image out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (inside(x + i, y + j)) out.at(i, j) = at(x + i, y + j);
  return out;
}

Image Image::mirrored() const {
  Image out(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.at(w_ - 1 - x, y) = at(x, y);
  return out;
}

Image Image::transposed() const {
  Image out(h_, w_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.at(y, x) = at(x, y);
  return out;
}

Sdf roundRect(double x0, double y0, double x1, double y1, double radius) {
  return [=](double x, double y) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    return length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Sdf circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return length(x - cx, y - cy) - radius; };
}

Sdf capsule(double ax, double ay, double bx, double by, double halfWidth) {
  return [=](double x, double y) { return segmentDistance(x, y, ax, ay, bx, by) - halfWidth; };
}

Sdf polyline(std::vector<std::pair<double, double>> points, double halfWidth) {
  return [points = std::move(points), halfWidth](double x, double y) {
    double best = 1e9;
    for (std::size_t i = 1; i < points.size(); ++i)
      best = std::min(best, segmentDistance(x, y, points[i - 1].first, points[i - 1].second,
                                            points[i].first, points[i].second));
    return best - halfWidth;
  };
}

Sdf triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  return [=](double x, double y) {
    // Inside when on the same side of all three edges; distance is the
    // nearest edge, which is exact enough for a one-pixel anti-aliased rim.
    auto side = [&](double px, double py, double qx, double qy) {
      return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    const double s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy), s3 = side(cx, cy, ax, ay);
    const bool in = (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
    const double d = std::min({segmentDistance(x, y, ax, ay, bx, by),
                               segmentDistance(x, y, bx, by, cx, cy),
                               segmentDistance(x, y, cx, cy, ax, ay)});
    return in ? -d : d;
  };
}

Sdf unite(Sdf a, Sdf b) {
  return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Sdf subtract(Sdf a, Sdf b) {
  return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

Sdf ring(Sdf shape, double width) {
  return [=](double x, double y) {
    const double d = shape(x, y);
    return std::max(d, -(d + width));
  };
}

void draw(Image& img, int x0, int y0, int x1, int y1, const Sdf& shape, const Paint& paint) {
  for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y)
    for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x) {
      const double coverage = std::clamp(0.5 - shape(x + 0.5, y + 0.5), 0.0, 1.0);
      if (coverage <= 0) continue;
      img.at(x, y) = mix(img.at(x, y), paint(x, y), coverage);
    }
}

void draw(Image& img, int x0, int y0, int x1, int y1, const Sdf& shape, Rgb colour) {
  draw(img, x0, y0, x1, y1, shape, [colour](int, int) { return colour; });
}

void keyOutside(Image& img, int x0, int y0, int x1, int y1, const Sdf& shape) {
  for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y)
    for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
      if (shape(x + 0.5, y + 0.5) >= 0.25) img.at(x, y) = kKey;
}

Paint vgradient(int y0, int y1, Rgb top, Rgb bottom) {
  return [=](int, int y) {
    const double t = y1 - 1 > y0 ? double(y - y0) / (y1 - 1 - y0) : 0;
    return mix(top, bottom, std::clamp(t, 0.0, 1.0));
  };
}

Paint hgradient(int x0, int x1, Rgb left, Rgb right) {
  return [=](int x, int) {
    const double t = x1 - 1 > x0 ? double(x - x0) / (x1 - 1 - x0) : 0;
    return mix(left, right, std::clamp(t, 0.0, 1.0));
  };
}

}  // namespace skingen
