#include "skin/1_data/lzh.h"

#include <algorithm>
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
      *this = Refilled(*this);
    }
  }
  uint64_t Word() const { return FBits; }
  // Bits in hand, not yet decoded.
  int Count() const { return FCount; }
  unsigned Peek(int n) const { return static_cast<unsigned>(FBits >> (64 - n)); }
  void Skip(int n) {
    FBits <<= n;
    FCount -= n;
  }

 private:
  // Works on a copy: the callback takes the input pointers by reference,
  // and were the decode loop's reader to lend them, its bits would have
  // to live in memory across every call instead of in registers.
  static TBitReader Refilled(TBitReader r) {
    r.FillByBytes();
    return r;
  }
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
  int length;
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

// Room past the last byte a decode step may start at: a final match, and
// what a word-wise copy writes beyond it (up to 7 bytes, or 13 when a
// 3-byte match is copied as two words).
constexpr int Slack = LookAhead + 8;

// Copies a match that reaches back before the first byte produced, into
// what the ring holds then: its unset tail (zeros) and then the spaces.
// Only the first RingSize bytes of a stream can need it.
void CopyFromStart(uint8_t* to, int produced, int distance, int length) {
  for (int k = 0; k < length; ++k) {
    const int p = produced - distance + k;
    to[k] = p >= 0 ? to[p - produced] : p >= -InitialWritePos ? 0x20 : 0;
  }
}

// Output for the callback interface. Instead of a ring, the window holds
// the last RingSize bytes produced and after them the bytes produced since
// the last flush, so a match copies from one straight run of bytes. When
// the run is long enough it goes to the caller and the history moves back
// to the start. Before the first byte, the history is what the ring would
// hold.
class TWindowOutput {
 public:
  static constexpr bool HistoryInFront = true;

  explicit TWindowOutput(const TLZHWriteBytes& Write) : FWrite(Write) {
    FWindow.reset(new (std::nothrow) uint8_t[Size]);
    if (!FWindow) throw ElzhException(LzhNoMemoryMessage);
    std::memset(FWindow.get(), 0, RingSize - InitialWritePos);
    std::memset(FWindow.get() + RingSize - InitialWritePos, 0x20, InitialWritePos);
  }
  uint8_t* Begin() const { return FWindow.get() + RingSize; }
  uint8_t* Limit() const { return FWindow.get() + RingSize + Chunk; }
  // Passes on what was produced and keeps its last RingSize bytes;
  // returns the new write position.
  uint8_t* Flush(uint8_t* end) {
    uint8_t* const start = Begin();
    if (end == start) return end;
    uint16_t actual = 0;
    FWrite(start, static_cast<uint16_t>(end - start), actual);
    std::memmove(FWindow.get(), end - RingSize, RingSize);
    return start;
  }
  void Finish(uint8_t* end) { Flush(end); }

 private:
  static constexpr int Chunk = 60 * 1024;
  static constexpr int Size = RingSize + Chunk + Slack;
  const TLZHWriteBytes& FWrite;
  std::unique_ptr<uint8_t[]> FWindow;
};

// Output straight into the caller's vector, which is the window itself: no
// second copy. Its room is reserved once, then made usable a chunk at a
// time just ahead of the decoding, so fresh pages are touched in order
// and while they are still in the cache.
class TVectorOutput {
 public:
  static constexpr bool HistoryInFront = false;

  TVectorOutput(std::vector<uint8_t>& Out, int32_t TextSize) : FOut(Out) {
    FOut.clear();
    FTotal = TextSize > 0 ? static_cast<size_t>(TextSize) + Slack : 0;
    FOut.reserve(FTotal);
    FOut.resize(std::min(FTotal, Chunk));
  }
  uint8_t* Begin() { return FOut.data(); }
  uint8_t* Limit() { return FOut.data() + FOut.size() - std::min(FOut.size(), size_t{Slack}); }
  // Makes the next chunk usable; the room reserved keeps the bytes where
  // they are. Once all of it is usable, the limit lies at TextSize, which
  // the decoding stops at.
  uint8_t* Flush(uint8_t* end) {
    FOut.resize(std::min(FTotal, FOut.size() + Chunk));
    return end;
  }
  void Finish(uint8_t* end) { FOut.resize(static_cast<size_t>(end - FOut.data())); }

 private:
  static constexpr size_t Chunk = 64 * 1024;
  std::vector<uint8_t>& FOut;
  size_t FTotal = 0;
};

}  // namespace

// The tree and the input of one decode.
struct TLZH::TTables {
  TLZHTree Tree;
  const TLZHReadBytes* Read = nullptr;
  bool ReadEnded = false;
  // Zero bytes put in for input there was not: one per call of More that
  // delivered nothing.
  int64_t PastEnd = 0;
  uint8_t In[4096] = {};

  // Asks the read callback for the next bytes. Nothing delivered means the
  // input is exhausted; from then on every bit reads as zero without asking
  // again.
  static void More(void* context, const uint8_t*& next, const uint8_t*& end) {
    auto& t = *static_cast<TTables*>(context);
    if (!t.Read || t.ReadEnded) {
      ++t.PastEnd;
      return;
    }
    uint16_t actual = 0;
    (*t.Read)(t.In, static_cast<uint16_t>(sizeof t.In), actual);
    if (actual > sizeof t.In) actual = sizeof t.In;
    if (actual == 0) {
      t.ReadEnded = true;
      ++t.PastEnd;
    }
    next = t.In;
    end = t.In + actual;
  }
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

bool TLZH::Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const TLZHReadBytes& ReadBytes) {
  TWindowOutput output(WriteBytes);
  return Run(TextSize, output, &ReadBytes, nullptr, 0);
}

bool TLZH::Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const uint8_t* Code, size_t CodeSize) {
  TWindowOutput output(WriteBytes);
  return Run(TextSize, output, nullptr, Code, CodeSize);
}

bool TLZH::Decode(int32_t TextSize, std::vector<uint8_t>& Out, const uint8_t* Code, size_t CodeSize) {
  TVectorOutput output(Out, TextSize);
  return Run(TextSize, output, nullptr, Code, CodeSize);
}

template <class TOutput>
bool TLZH::Run(int32_t TextSize, TOutput& Output, const TLZHReadBytes* ReadBytes, const uint8_t* Code,
               size_t CodeSize) {
  FTables.reset(new (std::nothrow) TTables);
  if (!FTables) throw ElzhException(LzhNoMemoryMessage);
  // Released on every way out, also when a callback throws.
  struct TRelease {
    std::unique_ptr<TTables>& T;
    ~TRelease() { T.reset(); }
  } release{FTables};

  auto& t = *FTables;
  t.Read = ReadBytes;
  t.Tree.Start();
  uint8_t* to = Output.Begin();
  uint8_t* limit = Output.Limit();
  TBitReader in(Code, Code + CodeSize, &TTables::More, &t);

  int64_t count = 0;
  while (count < TextSize) {
    if (to >= limit) {
      to = Output.Flush(to);
      limit = Output.Limit();
    }
    in.Fill();
    const int y = DecodeSymbol(t.Tree, in);
    if (y < 256) {
      *to++ = static_cast<uint8_t>(y);
      ++count;
      continue;
    }
    const int distance = DecodePosition(in) + 1;
    const int length = y - 255 + Threshold;
    if constexpr (!TOutput::HistoryInFront) {
      if (distance > count) [[unlikely]] {
        CopyFromStart(to, static_cast<int>(count), distance, length);
        to += length;
        count += length;
        continue;
      }
    }
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
    to += length;
    count += length;
  }
  Output.Finish(to);
  // The zero bytes put in lie behind every real bit in hand: the code
  // sufficed when they are all still there, undecoded.
  return 8 * t.PastEnd <= in.Count();
}

}  // namespace qm
