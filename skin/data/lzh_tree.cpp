#include "lzh_tree.h"

namespace qm {

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
