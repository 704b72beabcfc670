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

// Upper six bits of a match position, indexed by the first code byte, and
// how many bits of that byte the prefix occupies.
extern const std::array<uint8_t, 256> PositionHigh;
extern const std::array<uint8_t, 256> PositionBits;
}  // namespace lzh

class TLZHTree {
 public:
  // Leaves are node contents >= TreeSize; symbol = content - TreeSize.
  std::array<uint16_t, lzh::TreeSize + 1> Freq{};
  std::array<int16_t, lzh::TreeSize + lzh::SymbolCount> Parent{};
  std::array<int16_t, lzh::TreeSize> Child{};

  void Start();
  // Halves every leaf frequency and rebuilds the inner nodes; keeps the
  // 16-bit frequencies from overflowing.
  void Rebuild();
  // Counts one more occurrence of symbol and restores the sibling order.
  void Update(int symbol);
};

}  // namespace qm
