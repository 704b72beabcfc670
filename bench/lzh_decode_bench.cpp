// LZH decoding speed, the current decoder against the earlier one kept in
// lzh_baseline.cpp, side by side in one process on the same input. The
// corpus is what a large skin library looks like to the decoder: the default
// skin's container 20 times, then 20 copies of a 300 KB Chinese-and-English
// text made from the help pages and release notes. Each round times both
// decoders once; the medians of the CPU times are compared.
//
//   lzh_decode_bench [rounds]

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_skin.h"
#include "lzh_baseline.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;
using DecodeFn = Bytes (*)(const uint8_t*, size_t, int64_t);

Bytes HelpText(size_t size) {
  const std::filesystem::path docs = QM_DOCS_DIR;
  std::vector<std::filesystem::path> files;
  for (const char* sub : {"help", "release"})
    for (const auto& entry : std::filesystem::directory_iterator(docs / sub))
      if (entry.path().extension() == ".htm" || entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  Bytes pages;
  for (const auto& f : files) {
    const Bytes b = qm::bench::ReadFile(f);
    pages.insert(pages.end(), b.begin(), b.end());
  }
  Bytes text;
  while (!pages.empty() && text.size() < size) text.insert(text.end(), pages.begin(), pages.end());
  text.resize(std::min(text.size(), size));
  return text;
}

Bytes Corpus(const Bytes& container) {
  const Bytes text = HelpText(300 * 1024);
  Bytes corpus;
  for (int i = 0; i < 20; ++i) corpus.insert(corpus.end(), container.begin(), container.end());
  for (int i = 0; i < 20; ++i) corpus.insert(corpus.end(), text.begin(), text.end());
  return corpus;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Returns false when the two decoders disagree on the input.
bool Compare(const char* name, const Bytes& original, int rounds) {
  const Bytes packed = qm::LzhEncode(original);
  const Bytes expected = qm::baseline::LzhDecode(packed.data(), packed.size(), qm::SkinMaxDecodedSize);
  if (expected != original ||
      qm::LzhDecode(packed.data(), packed.size(), qm::SkinMaxDecodedSize) != expected) {
    std::printf("%s: the decoders disagree\n", name);
    return false;
  }
  std::vector<double> times[2];
  const DecodeFn decoders[2] = {qm::baseline::LzhDecode, qm::LzhDecode};
  for (int r = 0; r < rounds; ++r)
    for (int d = 0; d < 2; ++d) {
      const double start = CpuSeconds();
      const Bytes out = decoders[d](packed.data(), packed.size(), qm::SkinMaxDecodedSize);
      times[d].push_back(CpuSeconds() - start);
      if (out.size() != original.size()) std::abort();
    }
  const double before = Median(times[0]), now = Median(times[1]);
  const double mb = static_cast<double>(original.size()) / 1e6;
  std::printf("%-10s %6.2f MB (packed %5.2f MB): earlier %7.2f ms (%5.1f MB/s), now %7.2f ms (%5.1f MB/s), %.2fx\n",
              name, mb, static_cast<double>(packed.size()) / 1e6, before * 1e3, mb / before, now * 1e3, mb / now,
              before / now);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const Bytes container = qm::BuildSkinContainer(qm::bench::BenchSkinMembers());
  std::printf("LZH decode, median CPU time of %d rounds\n", rounds);
  const bool same = Compare("container", container, rounds) && Compare("corpus", Corpus(container), rounds);
  return same ? 0 : 1;
}
