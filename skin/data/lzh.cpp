#include "lzh.h"

#include <bit>
#include <cstring>
#include <new>

namespace qm {

using namespace lzh;

namespace {

// Code bits, most significant first, held at the top of a 64-bit word.
// Fill tops the word up to at least 56 bits, eight bytes at a time while
// the bytes in hand last; one fill serves a whole symbol and its position,
// because no symbol code is longer than 21 bits (see DecodeSymbol) and no
// position code longer than 14.
class TBitReader {
 public:
  // Supplies the next bytes once Next reaches End; leaves them equal when
  // the input is exhausted.
  using TMore = void (*)(void* Context, const uint8_t*& Next, const uint8_t*& End);

  TBitReader(const uint8_t* Next, const uint8_t* End, TMore More, void* Context)
      : FNext(Next), FEnd(End), FMore(More), FContext(Context) {}

  void Fill() {
    if (FEnd - FNext >= 8) {
      uint64_t word;
      std::memcpy(&word, FNext, 8);
      if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
      // Takes whole bytes only; the bits of a partly taken byte are taken
      // again, identical, by the next fill.
      FBits |= word >> FCount;
      FNext += (63 - FCount) >> 3;
      FCount |= 56;
    } else {
      FillByBytes();
    }
  }
  uint64_t Word() const { return FBits; }
  unsigned Peek(int n) const { return static_cast<unsigned>(FBits >> (64 - n)); }
  void Skip(int n) {
    FBits <<= n;
    FCount -= n;
  }

 private:
  void FillByBytes() {
    while (FCount <= 56) {
      if (FNext == FEnd && FMore) FMore(FContext, FNext, FEnd);
      const uint64_t byte = FNext != FEnd ? *FNext++ : 0;
      FBits |= byte << (56 - FCount);
      FCount += 8;
    }
  }

  const uint8_t* FNext;
  const uint8_t* FEnd;
  TMore FMore;
  void* FContext;
  uint64_t FBits = 0;
  int FCount = 0;
};

// The tree keeps its frequencies sorted with siblings side by side, so a
// node's uncle weighs at least as much as the node: weights on the way up
// grow at least like Fibonacci numbers from 1, and a root of at most 0x8000
// allows a code of 21 bits at most.
int DecodeSymbol(TLZHTree& tree, TBitReader& in) {
  int length = 0;
  const int symbol = tree.Decode(in.Word(), length);
  in.Skip(length);
  return symbol;
}

// The first code byte gives the upper six bits and the prefix length; the
// six bits after the prefix are the lower ones.
int DecodePosition(TBitReader& in) {
  const unsigned first = in.Peek(8);
  const int length = PositionBits[first] + 6;
  const int lower = static_cast<int>(in.Peek(length) & 0x3F);
  in.Skip(length);
  return (PositionHigh[first] << 6) | lower;
}

}  // namespace

// The working state of one decode. Instead of a ring, the window holds the
// last RingSize bytes produced and after them the bytes produced since the
// last flush, so a match copies from one straight run of bytes. When the
// run is long enough it goes to the caller and the history moves back to
// the start. Before the first byte, the history is what the ring would
// hold: its unset tail (zeros) and then the spaces.
struct TLZH::TTables {
  static constexpr int Chunk = 60 * 1024;
  // Room past a chunk for a final match and for what a word-wise copy
  // writes beyond it: up to 7 bytes, or 13 when a 3-byte match is copied
  // as two words.
  static constexpr int Slack = LookAhead + 8;

  TLZHTree Tree;
  uint8_t Window[RingSize + Chunk + Slack] = {};
  const TLZHWriteBytes* Write = nullptr;
  const TLZHReadBytes* Read = nullptr;
  bool ReadEnded = false;
  uint8_t In[4096] = {};

  void Start() {
    Tree.Start();
    std::memset(Window + RingSize - InitialWritePos, 0x20, InitialWritePos);
  }

  // Passes on what was produced and keeps its last RingSize bytes;
  // returns the new write position.
  int Flush(int end) {
    if (end == RingSize) return end;
    uint16_t actual = 0;
    (*Write)(Window + RingSize, static_cast<uint16_t>(end - RingSize), actual);
    std::memmove(Window, Window + end - RingSize, RingSize);
    return RingSize;
  }

  // Asks the read callback for the next bytes. Nothing delivered means the
  // input is exhausted; from then on every bit reads as zero without asking
  // again.
  static void More(void* context, const uint8_t*& next, const uint8_t*& end) {
    auto& t = *static_cast<TTables*>(context);
    if (!t.Read || t.ReadEnded) return;
    uint16_t actual = 0;
    (*t.Read)(t.In, static_cast<uint16_t>(sizeof t.In), actual);
    if (actual > sizeof t.In) actual = sizeof t.In;
    if (actual == 0) t.ReadEnded = true;
    next = t.In;
    end = t.In + actual;
  }
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const TLZHReadBytes& ReadBytes) {
  Run(TextSize, WriteBytes, &ReadBytes, nullptr, 0);
}

void TLZH::Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const uint8_t* Code, size_t CodeSize) {
  Run(TextSize, WriteBytes, nullptr, Code, CodeSize);
}

void TLZH::Run(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const TLZHReadBytes* ReadBytes,
               const uint8_t* Code, size_t CodeSize) {
  FTables.reset(new (std::nothrow) TTables);
  if (!FTables) throw ElzhException(LzhNoMemoryMessage);
  // Released on every way out, also when a callback throws.
  struct TRelease {
    std::unique_ptr<TTables>& T;
    ~TRelease() { T.reset(); }
  } release{FTables};

  auto& t = *FTables;
  t.Write = &WriteBytes;
  t.Read = ReadBytes;
  t.Start();
  int w = RingSize;
  TBitReader in(Code, Code + CodeSize, &TTables::More, &t);

  int64_t count = 0;
  while (count < TextSize) {
    if (w >= RingSize + TTables::Chunk) w = t.Flush(w);
    in.Fill();
    const int y = DecodeSymbol(t.Tree, in);
    if (y < 256) {
      t.Window[w++] = static_cast<uint8_t>(y);
      ++count;
      continue;
    }
    const int distance = DecodePosition(in) + 1;
    const int length = y - 255 + Threshold;
    uint8_t* to = t.Window + w;
    const uint8_t* from = to - distance;
    if (distance >= 8) {
      // Eight bytes at a time: a word never reads bytes it writes itself.
      // Most matches are short, so the first two words go without asking.
      std::memcpy(to, from, 8);
      std::memcpy(to + 8, from + 8, 8);
      for (int k = 16; k < length; k += 8) std::memcpy(to + k, from + k, 8);
    } else if constexpr (std::endian::native == std::endian::little) {
      // A short distance repeats its last distance bytes. Copying them one
      // at a time would make each byte wait for the store before it; instead
      // they are spread over a word, which is then written every multiple of
      // distance that fits in it.
      uint64_t word;
      std::memcpy(&word, from, 8);
      word &= ~uint64_t{0} >> (64 - 8 * distance);
      for (int n = distance; n < 8; n *= 2) word |= word << (8 * n);
      const int step = 8 - 8 % distance;
      for (int k = 0; k < length; k += step) std::memcpy(to + k, &word, 8);
    } else {
      for (int k = 0; k < length; ++k) to[k] = from[k];
    }
    w += length;
    count += length;
  }
  t.Flush(w);
}

}  // namespace qm
