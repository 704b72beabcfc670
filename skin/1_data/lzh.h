#pragma once
// TLZH expands the compressed layer of a packed skin: LZSS over a 4096-byte
// ring with an adaptive Huffman code for literals and match lengths.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/1_data/lzh_tree.h"

namespace qm {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* LzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";

// Caller-supplied byte pumps. Actual receives how many bytes were moved;
// a reader that delivers fewer than asked has reached the end of its input.
using TLZHReadBytes = std::function<void(uint8_t* Buffer, uint16_t Count, uint16_t& Actual)>;
using TLZHWriteBytes = std::function<void(const uint8_t* Buffer, uint16_t Count, uint16_t& Actual)>;

class TLZH {
 public:
  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Produces at least TextSize bytes: a final match is copied whole even if
  // it passes TextSize. A TextSize of 0 or less produces nothing and reads
  // nothing. Input that ends early reads as zero bits; the answer is false
  // then, when a bit past the end was decoded (the code was cut short).
  bool Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const TLZHReadBytes& ReadBytes);
  // The same for code bytes that are wholly in memory: they are read in
  // place, and bits past CodeSize read as zero.
  bool Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const uint8_t* Code, size_t CodeSize);
  // The same into Out, which receives the whole result; its room is taken
  // once, for TextSize bytes and a final match.
  bool Decode(int32_t TextSize, std::vector<uint8_t>& Out, const uint8_t* Code, size_t CodeSize);

 private:
  struct TTables;
  template <class TOutput>
  bool Run(int32_t TextSize, TOutput& Output, const TLZHReadBytes* ReadBytes, const uint8_t* Code, size_t CodeSize);

  std::unique_ptr<TTables> FTables;
};

}  // namespace qm
