#include "skin/1_data/skin_image_scale.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/1_data/skin_scale.h"

namespace qm {

namespace {

constexpr int kOne = 256;  // weights in 1/256

// Where output pixel i of a length `to` samples a source length `from`:
// the two source pixels around its centre and the second one's weight.
struct TSample {
  int First, Second, SecondWeight;
};

std::vector<TSample> Samples(int from, int to) {
  std::vector<TSample> samples(static_cast<size_t>(to));
  const int64_t d = 2 * static_cast<int64_t>(to);
  for (int i = 0; i < to; ++i) {
    // Source position of the centre, minus half a pixel, as n / d.
    const int64_t n = (2 * static_cast<int64_t>(i) + 1) * from - to;
    int64_t first = n >= 0 ? n / d : -((-n + d - 1) / d);
    int64_t weight = ((n - first * d) * kOne + d / 2) / d;
    if (weight == kOne) ++first, weight = 0;
    const auto clamp = [from](int64_t k) { return static_cast<int>(std::clamp<int64_t>(k, 0, from - 1)); };
    samples[static_cast<size_t>(i)] = {clamp(first), clamp(first + 1), static_cast<int>(weight)};
  }
  return samples;
}

void Replicate(const TSkinImage& source, int sx, int sy, int w, int h, int factor, TSkinImage& target, int tx,
               int ty) {
  for (int y = 0; y < h * factor; ++y) {
    const uint8_t* in = source.ScanLine(sy + y / factor) + static_cast<size_t>(sx) * 3;
    uint8_t* out = target.ScanLine(ty + y) + static_cast<size_t>(tx) * 3;
    for (int x = 0; x < w * factor; ++x) std::memcpy(out + 3 * x, in + 3 * (x / factor), 3);
  }
}

void Filter(const TSkinImage& source, int sx, int sy, int w, int h, int ow, int oh, uint32_t key, TSkinImage& target,
            int tx, int ty) {
  const std::vector<TSample> columns = Samples(w, ow), rows = Samples(h, oh);
  const uint8_t keyBytes[3] = {static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8),
                               static_cast<uint8_t>(key)};
  for (int y = 0; y < oh; ++y) {
    const TSample& row = rows[static_cast<size_t>(y)];
    const uint8_t* lines[2] = {source.ScanLine(sy + row.First), source.ScanLine(sy + row.Second)};
    const int rowWeights[2] = {kOne - row.SecondWeight, row.SecondWeight};
    uint8_t* out = target.ScanLine(ty + y) + static_cast<size_t>(tx) * 3;
    for (int x = 0; x < ow; ++x, out += 3) {
      const TSample& column = columns[static_cast<size_t>(x)];
      const int columnWeights[2] = {kOne - column.SecondWeight, column.SecondWeight};
      const int at[2] = {sx + column.First, sx + column.Second};
      int keyWeight = 0, sum[3] = {0, 0, 0};
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
          const int weight = rowWeights[r] * columnWeights[c];
          if (weight == 0) continue;
          const uint8_t* p = lines[r] + static_cast<size_t>(at[c]) * 3;
          if (std::memcmp(p, keyBytes, 3) == 0) {
            keyWeight += weight;
          } else {
            for (int k = 0; k < 3; ++k) sum[k] += weight * p[k];
          }
        }
      const int rest = kOne * kOne - keyWeight;
      if (keyWeight * 2 >= kOne * kOne) {
        std::memcpy(out, keyBytes, 3);
        continue;
      }
      for (int k = 0; k < 3; ++k) out[k] = static_cast<uint8_t>((sum[k] + rest / 2) / rest);
      // A mean of other colours that happens to be the key would turn
      // transparent: one step off it is indistinguishable to the eye.
      if (std::memcmp(out, keyBytes, 3) == 0) out[0] ^= 1;
    }
  }
}

}  // namespace

TSkinImage ScaleSkinImage(const TSkinImage& image, int dpi, TSkinFrames frames, uint32_t keyColour) {
  const int across = std::max(frames.Across, 1), down = std::max(frames.Down, 1);
  const int fw = image.Width() / across, fh = image.Height() / down;
  if (fw <= 0 || fh <= 0 || dpi <= 0) return {};
  const int ow = ScaleSkinLength(fw, dpi), oh = ScaleSkinLength(fh, dpi);
  TSkinImage scaled(ow * across, oh * down);
  if (scaled.Empty()) return scaled;
  for (int j = 0; j < down; ++j)
    for (int i = 0; i < across; ++i) {
      if (dpi % kSkinDpi == 0)
        Replicate(image, i * fw, j * fh, fw, fh, dpi / kSkinDpi, scaled, i * ow, j * oh);
      else
        Filter(image, i * fw, j * fh, fw, fh, ow, oh, keyColour, scaled, i * ow, j * oh);
    }
  return scaled;
}

}  // namespace qm
