#pragma once
// The adaptive Huffman code shared by the LZH decoder and encoder: one tree
// of 314 symbols (256 literal bytes and the match lengths 3..60) whose
// frequencies follow the data, so both sides must update it identically.

#include <array>
#include <cstdint>

namespace qm {

namespace lzh {
inline constexpr int RingSize = 4096;
inline constexpr int RingMask = RingSize - 1;
inline constexpr int LookAhead = 60;
inline constexpr int Threshold = 2;
inline constexpr int SymbolCount = 256 - Threshold + LookAhead;  // 314
inline constexpr int TreeSize = SymbolCount * 2 - 1;             // 627
inline constexpr int Root = TreeSize - 1;                        // 626
inline constexpr unsigned RebuildLimit = 0x8000;
inline constexpr int InitialWritePos = RingSize - LookAhead;     // 4036

namespace detail {
// Group sizes of the position prefix code: 32 first bytes share value 0,
// then groups of 16, 8, 4, 2 and 1 bytes per value.
struct TPositionGroup {
  int Values;
  int BytesPerValue;
  uint8_t Bits;
};
inline constexpr TPositionGroup PositionGroups[] = {
    {1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};

template <bool High>
constexpr std::array<uint8_t, 256> MakePositionTable() {
  std::array<uint8_t, 256> table{};
  int b = 0, value = 0;
  for (const auto& g : PositionGroups)
    for (int v = 0; v < g.Values; ++v, ++value)
      for (int k = 0; k < g.BytesPerValue; ++k, ++b) table[b] = High ? static_cast<uint8_t>(value) : g.Bits;
  return table;
}
}  // namespace detail

// Upper six bits of a match position, indexed by the first code byte, and
// how many bits of that byte the prefix occupies. Compile-time constants, so
// that other static tables may be built from them.
inline constexpr std::array<uint8_t, 256> PositionHigh = detail::MakePositionTable<true>();
inline constexpr std::array<uint8_t, 256> PositionBits = detail::MakePositionTable<false>();
}  // namespace lzh

class TLZHTree {
 public:
  // How many leading code bits the prefix table resolves at once. A bit
  // more halves the codes left to walk past it but doubles the entries a
  // move near the root refills; 6 measured fastest.
  static constexpr int PrefixBits = 6;

  // Leaves are node contents >= TreeSize; symbol = content - TreeSize.
  // Past the nodes come sentinels heavier than any count, as many as a
  // moving node looks ahead, so that look-ahead needs no bound; then
  // scratch weights that stand in for the missing nodes of a short code,
  // so a prefix is counted without asking how long it is, and each has a
  // neighbour to be compared with.
  static constexpr int Sentinels = 8;
  static constexpr int Scratch = lzh::TreeSize + Sentinels;
  std::array<uint16_t, Scratch + PrefixBits + 1> Freq{};
  std::array<uint16_t, lzh::TreeSize + lzh::SymbolCount> Parent{};
  std::array<uint16_t, lzh::TreeSize> Child{};

  void Start();
  // Halves every leaf frequency and rebuilds the inner nodes; keeps the
  // 16-bit frequencies from overflowing.
  void Rebuild();
  // Counts one more occurrence of symbol and restores the sibling order.
  void Update(int symbol);
  // Reads the symbol whose code starts at the top of Bits (most significant
  // bit first) and counts it exactly as Update does; Length receives the
  // number of code bits.
  int Decode(uint64_t Bits, int& Length);

 private:
  // What the first PrefixBits code bits lead to, kept current as nodes
  // move: the nodes passed below the root (then scratch slots), and the
  // symbol when the code ends within them, else -1.
  struct TPrefix {
    uint16_t Path[PrefixBits];
    int16_t Symbol;
    uint8_t Length;
    uint8_t Real;  // one bit per entry of Path that is a node
  };

  int DecodeLong(const TPrefix& p, uint64_t Bits, int& Length);
  void CountUpFrom(int n);
  void CountMovingUp(int n);
  void CountAbove(int n);
  int MoveUp(int n, unsigned k);
  template <bool WholePath>
  void CountAlong(const TPrefix& p, unsigned along);
  const TPrefix* PrefixThrough(int n) const;
  void BuildPrefixes();
  // For a node that PrefixThrough finds.
  void RefillPrefixesUnder(int n);
  void FillPrefix(int entry, int depth);

  std::array<TPrefix, 1 << PrefixBits> FPrefix{};
  // Depth and leading code bits of each node within PrefixBits of the
  // root; a node that has since moved deeper may keep stale values.
  std::array<uint8_t, lzh::TreeSize> FDepth{};
  std::array<uint8_t, lzh::TreeSize> FCode{};
};

}  // namespace qm
