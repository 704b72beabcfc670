// The LZH decoder on arbitrary streams: any header and any code bits must
// decode to a bounded output without reading or writing out of bounds.

#include <cstddef>
#include <cstdint>

#include "lzh.h"
#include "lzh_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    // A lower bound than the skin reader's keeps each run quick; the
    // decoder itself does not depend on the size.
    const auto out = qm::LzhDecode(data, size, 1 << 16);
    if (size >= 4 && out.size() > (1u << 16) + 59) __builtin_trap();
  } catch (const qm::ElzhException&) {
  }
  return 0;
}
