#include "lzh_tree.h"

#include <algorithm>

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
    // After the last node not heavier than f; the nodes so far are sorted.
    const int k = static_cast<int>(std::upper_bound(Freq.begin(), Freq.begin() + jj, f) - Freq.begin());
    std::copy_backward(Freq.begin() + k, Freq.begin() + jj, Freq.begin() + jj + 1);
    std::copy_backward(Child.begin() + k, Child.begin() + jj, Child.begin() + jj + 1);
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
  CountUpFrom(Parent[symbol + TreeSize]);
}

void TLZHTree::Update(int symbol, const TLZHPath& Path) {
  if (Freq[Root] == RebuildLimit) return Update(symbol);
  // Until a node has to move, the parent links are the path's nodes; taking
  // them from the path saves waiting on one link before reading the next.
  for (int d = Path.Depth; d >= 0; --d) {
    const int n = Path.Node[d];
    if (Freq[n] + 1u > Freq[n + 1]) return CountUpFrom(n);
    ++Freq[n];
  }
}

int TLZHTree::Find(uint64_t Bits, TLZHPath& Path) const {
  int n = Root;
  int depth = 0;
  Path.Node[0] = Root;
  for (int c = Child[Root]; c < TreeSize; c = Child[n]) {
    n = c + static_cast<int>(Bits >> 63);
    Bits <<= 1;
    Path.Node[++depth] = static_cast<int16_t>(n);
  }
  Path.Depth = depth;
  return Child[n] - TreeSize;
}

// Adds one to node n and each node above it. A node that now weighs more
// than the next one changes place with the last of the nodes it overtook
// (they all weigh one less than it), so the order stays sorted.
void TLZHTree::CountUpFrom(int n) {
  do {
    const unsigned k = ++Freq[n];
    if (k > Freq[n + 1]) {
      // Runs of equal weights are usually short but a fresh or rebuilt tree
      // has long ones: step out doubling, then halve back.
      int l = n + 1, step = 1;
      while (l + step <= TreeSize && k > Freq[l + step]) {
        l += step;
        step *= 2;
      }
      l = static_cast<int>(std::upper_bound(Freq.begin() + l + 1, Freq.begin() + std::min(l + step, TreeSize + 1),
                                            k - 1) - Freq.begin()) - 1;
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
