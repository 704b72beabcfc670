#pragma once
// The LZH decoder as it was before the table-driven rewrite: a 16-bit bit
// buffer refilled a byte at a time, symbols and positions read bit by bit,
// linear scans in the tree update and one callback per 4 KB of input or
// output. Frozen here so the decoding benchmark measures the new decoder
// against it in the same run; it is not linked into the program.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm::baseline {

// Decodes a whole stream (4-byte size header, then code bits) exactly as
// the library's LzhDecode did; refuses a declared size above MaxSize.
std::vector<uint8_t> LzhDecode(const uint8_t* Data, size_t Size, int64_t MaxSize);

}  // namespace qm::baseline
