#include "skin/1_data/lzh_tree.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qm {

using namespace lzh;

void TLZHTree::Start() {
  for (int s = 0; s < SymbolCount; ++s) {
    Freq[s] = 1;
    Child[s] = static_cast<uint16_t>(s + TreeSize);
    Parent[s + TreeSize] = static_cast<uint16_t>(s);
  }
  for (int i = 0, j = SymbolCount; j <= Root; i += 2, ++j) {
    Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
    Child[j] = static_cast<uint16_t>(i);
    Parent[i] = Parent[i + 1] = static_cast<uint16_t>(j);
  }
  std::fill(&Freq[TreeSize], &Freq[Scratch], uint16_t{0xFFFF});
  Parent[Root] = 0;
  BuildPrefixes();
}

void TLZHTree::Rebuild() {
  // The leaves, halved, in their order, which halving keeps sorted.
  std::array<uint16_t, SymbolCount> leafFreq, leafChild;
  for (int i = 0, j = 0; i < TreeSize; ++i) {
    if (Child[i] >= TreeSize) {
      leafFreq[j] = static_cast<uint16_t>((Freq[i] + 1u) / 2u);
      leafChild[j] = Child[i];
      ++j;
    }
  }
  // Each inner node joins the next two nodes placed and goes after every
  // node not heavier than it. The joined weights grow from one inner node
  // to the next, so the nodes are placed in one pass, merging the leaves
  // with the inner nodes as they are made.
  for (int k = 0, leaf = 0, pair = 0; k < TreeSize; ++k) {
    if (2 * pair + 1 < k) {
      const unsigned f = static_cast<unsigned>(Freq[2 * pair]) + Freq[2 * pair + 1];
      if (leaf == SymbolCount || f < leafFreq[leaf]) {
        Freq[k] = static_cast<uint16_t>(f);
        Child[k] = static_cast<uint16_t>(2 * pair);
        ++pair;
        continue;
      }
    }
    Freq[k] = leafFreq[leaf];
    Child[k] = leafChild[leaf];
    ++leaf;
  }
  for (int k = 0; k < TreeSize; ++k) {
    const int i = Child[k];
    if (i >= TreeSize) {
      Parent[i] = static_cast<uint16_t>(k);
    } else {
      Parent[i] = Parent[i + 1] = static_cast<uint16_t>(k);
    }
  }
  BuildPrefixes();
}

void TLZHTree::Update(int symbol) {
  if (Freq[Root] == RebuildLimit) Rebuild();
  CountUpFrom(Parent[symbol + TreeSize]);
}

// Most codes are at most PrefixBits long: their nodes come from one table
// look-up, and their weights are compared and counted side by side rather
// than one level after the other.
int TLZHTree::Decode(uint64_t Bits, int& Length) {
  if (Freq[Root] == RebuildLimit) {
    // The code is read from the tree as it is before the rebuild.
    int c = Child[Root], depth = 0;
    for (; c < TreeSize; ++depth, Bits <<= 1) c = Child[c + static_cast<int>(Bits >> 63)];
    Length = depth;
    Update(c - TreeSize);
    return c - TreeSize;
  }
  const TPrefix& p = FPrefix[Bits >> (64 - PrefixBits)];
  const int symbol = p.Symbol;
  if (symbol < 0) return DecodeLong(p, Bits << PrefixBits, Length);
  Length = p.Length;
  CountAlong<true>(p, p.Real);
  return symbol;
}

// A longer code: the table gives its first nodes, the rest are walked.
// Bits holds the code bits past the table's.
int TLZHTree::DecodeLong(const TPrefix& p, uint64_t Bits, int& Length) {
  uint16_t path[SymbolCount];
  int depth = 0, firstMove = -1;
  ptrdiff_t n = p.Path[PrefixBits - 1];  // pointer-sized: no widening per level
  for (ptrdiff_t c = Child[n]; c < TreeSize; c = Child[n], Bits <<= 1) {
    n = c + static_cast<ptrdiff_t>(Bits >> 63);
    firstMove = Freq[n] == Freq[n + 1] ? depth : firstMove;
    path[depth++] = static_cast<uint16_t>(n);
  }
  Length = PrefixBits + depth;
  const int symbol = Child[n] - TreeSize;
  for (int d = firstMove + 1; d < depth; ++d) ++Freq[path[d]];
  if (firstMove >= 0) {
    CountMovingUp(path[firstMove]);
  } else {
    CountAlong<true>(p, p.Real);
  }
  return symbol;
}

namespace {
#if defined(__SSE2__)
// One bit per level d of path, set when its node weighs as much as the
// next one. Each node's weight and the next one's are loaded as one pair,
// the pairs gathered into two vectors and their halves compared at once;
// bits past the path come out set.
inline __m128i WeightPair(const uint16_t* freq, size_t n) {
  uint32_t pair;
  std::memcpy(&pair, freq + n, sizeof pair);
  return _mm_cvtsi32_si128(static_cast<int>(pair));
}
[[gnu::always_inline]] inline unsigned Ties(const uint16_t* freq, const size_t* path) {
  static_assert(TLZHTree::PrefixBits == 6);
  const __m128i low = _mm_unpacklo_epi64(_mm_unpacklo_epi32(WeightPair(freq, path[0]), WeightPair(freq, path[1])),
                                         _mm_unpacklo_epi32(WeightPair(freq, path[2]), WeightPair(freq, path[3])));
  const __m128i high = _mm_unpacklo_epi32(WeightPair(freq, path[4]), WeightPair(freq, path[5]));
  constexpr int Swap = _MM_SHUFFLE(2, 3, 0, 1);
  const __m128i lowSame = _mm_cmpeq_epi16(low, _mm_shufflehi_epi16(_mm_shufflelo_epi16(low, Swap), Swap));
  const __m128i highSame = _mm_cmpeq_epi16(high, _mm_shufflelo_epi16(high, Swap));
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_packs_epi16(_mm_packs_epi32(lowSame, highSame), _mm_setzero_si128())));
}
#endif
}  // namespace

// Counts the root and the nodes of p.Path picked by the bits of along,
// which are the ancestors of one node. A node weighing as much as the next
// one will move: the deepest such node is where Update would make its
// first move, and above it the path no longer tells the parents; below it
// nothing moves. So all weights are compared first, as they are; counting
// a node's descendants could not have changed the test, as only its
// ancestors can be its next node and they weigh more than it. Slots
// outside along are compared and counted too, by nothing, so that no
// branch asks how many there are.
template <bool WholePath>
void TLZHTree::CountAlong(const TPrefix& p, unsigned along) {
  // A copy, which the counts cannot overwrite, so the nodes stay in
  // registers instead of being loaded again after each count.
  size_t path[PrefixBits];
#pragma GCC unroll 8
  for (int d = 0; d < PrefixBits; ++d) path[d] = p.Path[d];
#if defined(__SSE2__)
  unsigned moves = Ties(Freq.data(), path);
#else
  unsigned moves = 0;
#pragma GCC unroll 8
  for (int d = 0; d < PrefixBits; ++d) moves |= unsigned{Freq[path[d]] == Freq[path[d] + 1]} << d;
#endif
  moves &= along;
  if (moves == 0) {
    ++Freq[Root];
    if constexpr (WholePath) {
      // Only scratch slots are left out, and as their weights are never
      // looked at unmasked, they may as well be counted.
#pragma GCC unroll 8
      for (int d = 0; d < PrefixBits; ++d) ++Freq[path[d]];
    } else {
#pragma GCC unroll 8
      for (int d = 0; d < PrefixBits; ++d) Freq[path[d]] += (along >> d) & 1;
    }
    return;
  }
  const int firstMove = std::bit_width(moves) - 1;
  along &= ~0u << (firstMove + 1);
  for (int d = firstMove + 1; d < PrefixBits; ++d) Freq[p.Path[d]] += (along >> d) & 1;
  CountMovingUp(p.Path[firstMove]);
}

// Adds one to node n and each node above it.
void TLZHTree::CountUpFrom(int n) {
  const unsigned k = ++Freq[n];
  CountAbove(k > Freq[n + 1] ? MoveUp(n, k) : n);
}

// The same for a node known to weigh as much as the next one, which moves.
void TLZHTree::CountMovingUp(int n) {
  const unsigned k = ++Freq[n];
  CountAbove(MoveUp(n, k));
}

// Adds one to each node above n; the rest of the way up is in the table
// once the climb comes near the root.
void TLZHTree::CountAbove(int n) {
  while (n != Root) {
    if (const TPrefix* p = PrefixThrough(n)) return CountAlong<false>(*p, (1u << (FDepth[n] - 1)) - 1);
    n = Parent[n];
    const unsigned k = ++Freq[n];
    if (k > Freq[n + 1]) n = MoveUp(n, k);
  }
}

// Node n has just been counted up to k and now weighs more than the next
// one: it changes place with the last of the nodes it overtook (they all
// weigh one less than it), so the order stays sorted. Returns the place.
int TLZHTree::MoveUp(int n, unsigned k) {
  // The run of nodes it overtook is counted over the next eight without a
  // branch; past the last node, the sentinels stop it. A fresh or rebuilt
  // tree has longer runs: past the eighth node, the first heavier weight,
  // at the latest the sentinel, is found by halving, again without a
  // branch per step.
  static_assert(Root - 1 + 8 < Scratch, "the look-ahead stays within the sentinels");
  int l = n;
  for (int j = 1; j <= 8; ++j) l += Freq[n + j] < k;
  if (l == n + 8) {
    const uint16_t* first = &Freq[n + 9];
    for (int count = TreeSize - (n + 9) + 1; count > 1; count -= count / 2)
      first = first[count / 2] < k ? first + count / 2 : first;
    l = static_cast<int>(first - Freq.data()) + (*first < k) - 1;
  }
  Freq[n] = Freq[l];
  Freq[l] = static_cast<uint16_t>(k);

  // A leaf has no second child; its one link is then set twice, which
  // spares a hard-to-predict branch.
  const ptrdiff_t i = Child[n];
  Parent[i] = static_cast<uint16_t>(l);
  Parent[i + (i < TreeSize)] = static_cast<uint16_t>(l);
  const ptrdiff_t j = Child[l];
  Child[l] = static_cast<uint16_t>(i);
  Parent[j] = static_cast<uint16_t>(n);
  Parent[j + (j < TreeSize)] = static_cast<uint16_t>(n);
  Child[n] = static_cast<uint16_t>(j);
  // Most moves happen deeper than the table reaches.
  if (PrefixThrough(n)) [[unlikely]] RefillPrefixesUnder(n);
  if (PrefixThrough(l)) [[unlikely]] RefillPrefixesUnder(l);
  return l;
}

void TLZHTree::BuildPrefixes() {
  FDepth.fill(0xFF);
  FDepth[Root] = 0;
  FCode[Root] = 0;
  for (int e = 0; e < (1 << PrefixBits); ++e) FillPrefix(e, 0);
}

// Only the entries below a node that changed children are out of date:
// the nodes above it, recorded in the entry, have kept theirs.
void TLZHTree::RefillPrefixesUnder(int n) {
  const int depth = FDepth[n];
  const int first = FCode[n] << (PrefixBits - depth);
  for (int e = first; e < first + (1 << (PrefixBits - depth)); ++e) FillPrefix(e, depth);
}

// The first entry whose path passes node n (below the root), or null when
// n lies deeper than the table reaches. The depth and code kept for a node
// that has since moved deeper are stale; the entry then shows another node.
const TLZHTree::TPrefix* TLZHTree::PrefixThrough(int n) const {
  const int depth = FDepth[n];
  if (depth > PrefixBits || depth == 0) return nullptr;
  const TPrefix& p = FPrefix[FCode[n] << (PrefixBits - depth)];
  return p.Path[depth - 1] == n ? &p : nullptr;
}

// Walks the bits of entry on from the node at depth, which the entry
// already records.
void TLZHTree::FillPrefix(int entry, int depth) {
  TPrefix& p = FPrefix[entry];
  int n = depth > 0 ? p.Path[depth - 1] : Root;
  while (depth < PrefixBits && Child[n] < TreeSize) {
    n = Child[n] + ((entry >> (PrefixBits - 1 - depth)) & 1);
    p.Path[depth] = static_cast<uint16_t>(n);
    ++depth;
    FDepth[n] = static_cast<uint8_t>(depth);
    FCode[n] = static_cast<uint8_t>(entry >> (PrefixBits - depth));
  }
  p.Symbol = static_cast<int16_t>(Child[n] >= TreeSize ? Child[n] - TreeSize : -1);
  p.Length = static_cast<uint8_t>(depth);
  p.Real = static_cast<uint8_t>((1u << depth) - 1);
  for (int d = depth; d < PrefixBits; ++d) p.Path[d] = static_cast<uint16_t>(Scratch + d);
}

}  // namespace qm
