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
  TLZHPath path;
  const int symbol = tree.Find(in.Word(), path);
  in.Skip(path.Depth);
  tree.Update(symbol, path);
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

// The working state of one decode. The ring doubles as the output buffer:
// what was written since the last flush goes to the caller when the write
// position wraps and at the end.
struct TLZH::TTables {
  TLZHTree Tree;
  uint8_t Ring[RingSize + LookAhead - 1] = {};
  int Flushed = 0;
  const TLZHWriteBytes* Write = nullptr;
  const TLZHReadBytes* Read = nullptr;
  bool ReadEnded = false;
  uint8_t In[4096] = {};

  void Flush(int end) {
    if (end == Flushed) return;
    uint16_t actual = 0;
    (*Write)(Ring + Flushed, static_cast<uint16_t>(end - Flushed), actual);
    Flushed = end & RingMask;
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
  t.Tree.Start();
  std::memset(t.Ring, 0x20, InitialWritePos);
  int r = InitialWritePos;
  t.Flushed = r;
  TBitReader in(Code, Code + CodeSize, &TTables::More, &t);

  int64_t count = 0;
  while (count < TextSize) {
    in.Fill();
    const int y = DecodeSymbol(t.Tree, in);
    if (y < 256) {
      t.Ring[r++] = static_cast<uint8_t>(y);
      ++count;
      if (r == RingSize) {
        t.Flush(r);
        r = 0;
      }
      continue;
    }
    const int s = (r - DecodePosition(in) - 1) & RingMask;
    const int length = y - 255 + Threshold;
    count += length;
    if (s + length <= RingSize && r + length < RingSize) {
      if (s + length <= r || s >= r + length) {
        std::memcpy(t.Ring + r, t.Ring + s, length);
      } else {
        // Overlapping: each byte may be one this match has just produced.
        for (int k = 0; k < length; ++k) t.Ring[r + k] = t.Ring[s + k];
      }
      r += length;
      continue;
    }
    // Wrapping, at either end: the same byte by byte, flushing on the way.
    for (int k = 0; k < length; ++k) {
      t.Ring[r++] = t.Ring[(s + k) & RingMask];
      if (r == RingSize) {
        t.Flush(r);
        r = 0;
      }
    }
  }
  t.Flush(r);
}

}  // namespace qm
