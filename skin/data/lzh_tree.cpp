#include "lzh_tree.h"

namespace qm {
namespace lzh {

namespace {
// Group sizes of the position prefix code: 32 first bytes share value 0,
// then groups of 16, 8, 4, 2 and 1 bytes per value.
struct TPositionGroup {
  int Values;
  int BytesPerValue;
  uint8_t Bits;
};
constexpr TPositionGroup PositionGroups[] = {
    {1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};

template <bool High>
std::array<uint8_t, 256> MakePositionTable() {
  std::array<uint8_t, 256> table{};
  int b = 0, value = 0;
  for (const auto& g : PositionGroups)
    for (int v = 0; v < g.Values; ++v, ++value)
      for (int k = 0; k < g.BytesPerValue; ++k, ++b)
        table[b] = High ? static_cast<uint8_t>(value) : g.Bits;
  return table;
}
}  // namespace

const std::array<uint8_t, 256> PositionHigh = MakePositionTable<true>();
const std::array<uint8_t, 256> PositionBits = MakePositionTable<false>();

}  // namespace lzh

using namespace lzh;

void TLZHTree::Start() {
  for (int s = 0; s < SymbolCount; ++s) {
    Freq[s] = 1;
    Child[s] = static_cast<int16_t>(s + TreeSize);
    Parent[s + TreeSize] = static_cast<int16_t>(s);
  }
  for (int i = 0, j = SymbolCount; j <= Root; i += 2, ++j) {
    Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
    Child[j] = static_cast<int16_t>(i);
    Parent[i] = Parent[i + 1] = static_cast<int16_t>(j);
  }
  Freq[TreeSize] = 0xFFFF;
  Parent[Root] = 0;
}

void TLZHTree::Rebuild() {
  int j = 0;
  for (int i = 0; i < TreeSize; ++i) {
    if (Child[i] >= TreeSize) {
      Freq[j] = static_cast<uint16_t>((Freq[i] + 1u) / 2u);
      Child[j] = Child[i];
      ++j;
    }
  }
  for (int i = 0, jj = SymbolCount; jj < TreeSize; i += 2, ++jj) {
    const unsigned f = static_cast<unsigned>(Freq[i]) + Freq[i + 1];
    int k = jj - 1;
    while (f < Freq[k]) --k;
    ++k;
    for (int m = jj; m > k; --m) {
      Freq[m] = Freq[m - 1];
      Child[m] = Child[m - 1];
    }
    Freq[k] = static_cast<uint16_t>(f);
    Child[k] = static_cast<int16_t>(i);
  }
  for (int k = 0; k < TreeSize; ++k) {
    const int i = Child[k];
    if (i >= TreeSize) {
      Parent[i] = static_cast<int16_t>(k);
    } else {
      Parent[i] = Parent[i + 1] = static_cast<int16_t>(k);
    }
  }
}

void TLZHTree::Update(int symbol) {
  if (Freq[Root] == RebuildLimit) Rebuild();
  int n = Parent[symbol + TreeSize];
  do {
    const unsigned k = ++Freq[n];
    if (k > Freq[n + 1]) {
      int l = n + 1;
      while (k > Freq[l + 1]) ++l;
      Freq[n] = Freq[l];
      Freq[l] = static_cast<uint16_t>(k);

      const int i = Child[n];
      Parent[i] = static_cast<int16_t>(l);
      if (i < TreeSize) Parent[i + 1] = static_cast<int16_t>(l);
      const int j = Child[l];
      Child[l] = static_cast<int16_t>(i);
      Parent[j] = static_cast<int16_t>(n);
      if (j < TreeSize) Parent[j + 1] = static_cast<int16_t>(n);
      Child[n] = static_cast<int16_t>(j);
      n = l;
    }
    n = Parent[n];
  } while (n != 0);
}

}  // namespace qm
