// The LZH decoder on arbitrary streams: any header and any code bits must
// decode to a bounded output without reading or writing out of bounds, and
// the whole result in memory must equal what the callbacks hand out.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/1_data/lzh.h"
#include "skin/1_data/lzh_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    // A lower bound than the skin reader's keeps each run quick; the
    // decoder itself does not depend on the size.
    const auto out = qm::LzhDecode(data, size, 1 << 16);
    if (size >= 4 && out.size() > (1u << 16) + 59) __builtin_trap();
    if (size >= 4) {
      std::vector<uint8_t> streamed;
      qm::TLZH().Decode(
          static_cast<int32_t>(data[0] | (data[1] << 8) | (data[2] << 16) | (uint32_t{data[3]} << 24)),
          [&](const uint8_t* b, uint16_t n, uint16_t& actual) {
            streamed.insert(streamed.end(), b, b + n);
            actual = n;
          },
          data + 4, size - 4);
      if (streamed != out) __builtin_trap();
    }
  } catch (const qm::ElzhException&) {
  }
  return 0;
}
