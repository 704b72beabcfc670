#include "lzh_tree.h"

#include <algorithm>
#include <cstddef>

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

int TLZHTree::Decode(uint64_t Bits, int& Length) {
  if (Freq[Root] == RebuildLimit) {
    // The code is read from the tree as it is before the rebuild.
    int c = Child[Root], depth = 0;
    for (; c < TreeSize; ++depth, Bits <<= 1) c = Child[c + static_cast<int>(Bits >> 63)];
    Length = depth;
    Update(c - TreeSize);
    return c - TreeSize;
  }
  // Counts on the way down. A node weighing as much as the next one will
  // move; the deepest such node is where Update would make its first move,
  // and above it the path no longer tells the parents. Ancestors counted
  // first do not disturb that test: the only one that can be the next node
  // is the parent, which weighs more than the node in any case.
  int16_t path[SymbolCount];
  int depth = 0, firstMove = -1;
  ptrdiff_t n = Root, c = Child[Root];  // pointer-sized: no sign extension per level
  for (;;) {
    firstMove = Freq[n] == Freq[n + 1] ? depth : firstMove;
    ++Freq[n];
    path[depth] = static_cast<int16_t>(n);
    if (c >= TreeSize) break;
    n = c + static_cast<ptrdiff_t>(Bits >> 63);
    c = Child[n];
    Bits <<= 1;
    ++depth;
  }
  Length = depth;
  if (firstMove >= 0) {
    // Takes back the counts from the first move up and climbs from there.
    for (int d = 0; d <= firstMove; ++d) --Freq[path[d]];
    CountUpFrom(path[firstMove]);
  }
  return static_cast<int>(c - TreeSize);
}

// Adds one to node n and each node above it. A node that now weighs more
// than the next one changes place with the last of the nodes it overtook
// (they all weigh one less than it), so the order stays sorted.
void TLZHTree::CountUpFrom(int n) {
  do {
    const unsigned k = ++Freq[n];
    if (k > Freq[n + 1]) {
      // Most runs of equal weights are one or two nodes long, but a fresh or
      // rebuilt tree has long ones: past the second node, step out doubling,
      // then halve back.
      int l = n + 1;
      if (k > Freq[l + 1]) {
        int step = 1;
        while (l + step <= TreeSize && k > Freq[l + step]) {
          l += step;
          step *= 2;
        }
        l = static_cast<int>(std::upper_bound(Freq.begin() + l + 1, Freq.begin() + std::min(l + step, TreeSize + 1),
                                              k - 1) - Freq.begin()) - 1;
      }
      Freq[n] = Freq[l];
      Freq[l] = static_cast<uint16_t>(k);

      // A leaf has no second child; its one link is then set twice, which
      // spares a hard-to-predict branch.
      const int i = Child[n];
      Parent[i] = static_cast<int16_t>(l);
      Parent[i + (i < TreeSize)] = static_cast<int16_t>(l);
      const int j = Child[l];
      Child[l] = static_cast<int16_t>(i);
      Parent[j] = static_cast<int16_t>(n);
      Parent[j + (j < TreeSize)] = static_cast<int16_t>(n);
      Child[n] = static_cast<int16_t>(j);
      n = l;
    }
    n = Parent[n];
  } while (n != 0);
}

}  // namespace qm
