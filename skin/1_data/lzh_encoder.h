#pragma once
// The matching LZH encoder for skin authors' tools and tests: LZSS with a
// binary-tree match finder, coded with the same adaptive Huffman tree and
// position prefix code that TLZH reads back.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

// Output: 4-byte little-endian decoded size, then the code bits.
std::vector<uint8_t> LzhEncode(const uint8_t* Data, size_t Size);
inline std::vector<uint8_t> LzhEncode(const std::vector<uint8_t>& Data) {
  return LzhEncode(Data.data(), Data.size());
}

// Decodes a whole stream as produced by LzhEncode (header included).
// Refuses (ElzhException) a declared size above MaxSize.
std::vector<uint8_t> LzhDecode(const uint8_t* Data, size_t Size, int64_t MaxSize);

}  // namespace qm
