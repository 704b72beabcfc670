// Skin loading costs: LZH decode of a skin-sized container, encode, the
// whole open-and-parse of a packed skin, and scaling its images for a
// display of 125 %, 150 % and 200 %, beside the plainest scaling there is
// (nearest neighbour, no key colour, no frames) as a yardstick. The skin is the stored default skin
// packed from its members when they are present, else a synthetic one of
// the same shape (34 images of the same sizes and a description).

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench_skin.h"
#include "skin/1_data/bmp_file.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/skin_image_scale.h"
#include "skin/1_data/skin_reader.h"
#include "skin/1_data/skin_scale.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct TSkinFixture {
  Bytes Container;
  Bytes Packed;
  std::vector<qm::TSkinImage> Images;
  TSkinFixture() {
    const auto members = qm::bench::BenchSkinMembers();
    Container = qm::BuildSkinContainer(members);
    Packed = qm::LzhEncode(Container);
    for (const auto& member : members) {
      qm::TSkinImage image;
      if (qm::LoadBmp(member.Bytes.data(), member.Bytes.size(), image)) Images.push_back(std::move(image));
    }
  }
};

const TSkinFixture& Skin() {
  static const TSkinFixture fixture;
  return fixture;
}

void BM_LzhDecodeContainer(benchmark::State& state) {
  const Bytes& packed = Skin().Packed;
  for (auto _ : state) {
    Bytes out = qm::LzhDecode(packed.data(), packed.size(), qm::SkinMaxDecodedSize);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Skin().Container.size()));
  state.counters["container_bytes"] = static_cast<double>(Skin().Container.size());
  state.counters["packed_bytes"] = static_cast<double>(packed.size());
}
BENCHMARK(BM_LzhDecodeContainer)->Unit(benchmark::kMillisecond);

void BM_LzhEncodeContainer(benchmark::State& state) {
  const Bytes& container = Skin().Container;
  for (auto _ : state) {
    Bytes out = qm::LzhEncode(container);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(container.size()));
}
BENCHMARK(BM_LzhEncodeContainer)->Unit(benchmark::kMillisecond);

void BM_SkinOpenAndParse(benchmark::State& state) {
  for (auto _ : state) {
    qm::TMemoryStream packed(Skin().Packed);
    qm::TSkinDescription skin;
    if (!skin.LoadPackage(packed)) state.SkipWithError("skin refused");
    benchmark::DoNotOptimize(skin.BorderTop->Bitmap.Width());
  }
}
BENCHMARK(BM_SkinOpenAndParse)->Unit(benchmark::kMillisecond);

void BM_ParseDescriptionOnly(benchmark::State& state) {
  qm::TMemoryStream packed(Skin().Packed);
  qm::TSkinReader reader;
  reader.ReadSkin(packed);
  qm::TMemoryStream ini;
  std::string name;
  reader.FindMember(".ini", ini, name);
  const std::string text(ini.Bytes().begin(), ini.Bytes().end());
  for (auto _ : state) {
    qm::TSkinDescription skin;
    skin.LoadDescription(qm::TIniText(text), reader);
    benchmark::DoNotOptimize(skin.SysButtons.size());
  }
}
BENCHMARK(BM_ParseDescriptionOnly)->Unit(benchmark::kMillisecond);

qm::TSkinImage NearestNeighbour(const qm::TSkinImage& source, int dpi) {
  qm::TSkinImage scaled(qm::ScaleSkinLength(source.Width(), dpi), qm::ScaleSkinLength(source.Height(), dpi));
  for (int y = 0; y < scaled.Height(); ++y) {
    const uint8_t* in = source.ScanLine(y * source.Height() / scaled.Height());
    uint8_t* out = scaled.ScanLine(y);
    for (int x = 0; x < scaled.Width(); ++x) std::memcpy(out + 3 * x, in + 3 * (x * source.Width() / scaled.Width()), 3);
  }
  return scaled;
}

template <qm::TSkinImage (*Scale)(const qm::TSkinImage&, int)>
void ScaleImages(benchmark::State& state) {
  const int dpi = static_cast<int>(state.range(0));
  int64_t pixels = 0;
  for (auto _ : state)
    for (const qm::TSkinImage& image : Skin().Images) {
      const qm::TSkinImage scaled = Scale(image, dpi);
      benchmark::DoNotOptimize(scaled.ScanLine(0));
      pixels += static_cast<int64_t>(scaled.Width()) * scaled.Height();
    }
  state.counters["images"] = static_cast<double>(Skin().Images.size());
  state.counters["out_pixels"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}

qm::TSkinImage SkinScaling(const qm::TSkinImage& image, int dpi) { return qm::ScaleSkinImage(image, dpi); }

void BM_ScaleSkinImages(benchmark::State& state) { ScaleImages<SkinScaling>(state); }
BENCHMARK(BM_ScaleSkinImages)->Arg(120)->Arg(144)->Arg(192)->Unit(benchmark::kMicrosecond);

void BM_NearestNeighbourYardstick(benchmark::State& state) { ScaleImages<NearestNeighbour>(state); }
BENCHMARK(BM_NearestNeighbourYardstick)->Arg(120)->Arg(144)->Arg(192)->Unit(benchmark::kMicrosecond);

}  // namespace
