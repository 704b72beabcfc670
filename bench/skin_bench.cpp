// Skin loading costs: LZH decode of a skin-sized container, encode, and the
// whole open-and-parse of a packed skin. The skin is the stored default skin
// packed from its members when they are present, else a synthetic one of
// the same shape (34 images of the same sizes and a description).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_skin.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/skin_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct TSkinFixture {
  Bytes Container;
  Bytes Packed;
  TSkinFixture() {
    Container = qm::BuildSkinContainer(qm::bench::BenchSkinMembers());
    Packed = qm::LzhEncode(Container);
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

}  // namespace
