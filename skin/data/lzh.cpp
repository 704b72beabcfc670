#include "lzh.h"

#include <new>

namespace qm {

using namespace lzh;

// The working state of one decode. Input and output go through small
// buffers so the callbacks are not called once per byte; the decoded bytes
// are the same either way.
struct TLZH::TTables {
  TLZHTree Tree;
  uint8_t Ring[RingSize + LookAhead - 1] = {};
  uint8_t In[4096] = {};
  uint16_t InPos = 0;
  uint16_t InLen = 0;
  bool InEnded = false;
  uint8_t Out[4096] = {};
  uint16_t OutLen = 0;
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

int TLZH::GetBit() {
  while (FBitCount <= 8) {
    auto& t = *FTables;
    uint8_t byte = 0;
    if (t.InPos == t.InLen && !t.InEnded) {
      uint16_t actual = 0;
      (*FRead)(t.In, static_cast<uint16_t>(sizeof t.In), actual);
      if (actual > sizeof t.In) actual = sizeof t.In;
      t.InPos = 0;
      t.InLen = actual;
      // Nothing delivered means the input is exhausted; from here on every
      // bit reads as zero without asking again.
      if (actual == 0) t.InEnded = true;
    }
    if (t.InPos < t.InLen) byte = t.In[t.InPos++];
    FBitBuffer = static_cast<uint16_t>(FBitBuffer | (byte << (8 - FBitCount)));
    FBitCount = static_cast<uint8_t>(FBitCount + 8);
  }
  const int bit = FBitBuffer >> 15;
  FBitBuffer = static_cast<uint16_t>(FBitBuffer << 1);
  --FBitCount;
  return bit;
}

int TLZH::GetByte() {
  int b = 0;
  for (int i = 0; i < 8; ++i) b = (b << 1) | GetBit();
  return b;
}

int TLZH::DecodeChar() {
  auto& tree = FTables->Tree;
  int n = tree.Child[Root];
  while (n < TreeSize) n = tree.Child[n + GetBit()];
  const int symbol = n - TreeSize;
  tree.Update(symbol);
  return symbol;
}

int TLZH::DecodePosition() {
  int b = GetByte();
  const int upper = PositionHigh[b] << 6;
  for (int k = PositionBits[b] - 2; k > 0; --k) b = (b << 1) | GetBit();
  return upper | (b & 0x3F);
}

void TLZH::FlushOutput() {
  auto& t = *FTables;
  if (t.OutLen == 0) return;
  uint16_t actual = 0;
  (*FWrite)(t.Out, t.OutLen, actual);
  t.OutLen = 0;
}

void TLZH::Emit(uint8_t b) {
  auto& t = *FTables;
  t.Out[t.OutLen++] = b;
  if (t.OutLen == sizeof t.Out) FlushOutput();
}

void TLZH::Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const TLZHReadBytes& ReadBytes) {
  FTables.reset(new (std::nothrow) TTables);
  if (!FTables) throw ElzhException(LzhNoMemoryMessage);
  // Released on every way out, also when a callback throws.
  struct TRelease {
    std::unique_ptr<TTables>& T;
    ~TRelease() { T.reset(); }
  } release{FTables};

  FBitBuffer = 0;
  FBitCount = 0;
  FRead = &ReadBytes;
  FWrite = &WriteBytes;
  auto& t = *FTables;
  t.Tree.Start();
  for (int i = 0; i < InitialWritePos; ++i) t.Ring[i] = 0x20;
  int r = InitialWritePos;

  int64_t count = 0;
  while (count < TextSize) {
    const int y = DecodeChar();
    if (y < 256) {
      Emit(static_cast<uint8_t>(y));
      t.Ring[r] = static_cast<uint8_t>(y);
      r = (r + 1) & RingMask;
      ++count;
    } else {
      const int s = (r - DecodePosition() - 1) & RingMask;
      const int length = y - 255 + Threshold;
      for (int k = 0; k < length; ++k) {
        const uint8_t b = t.Ring[(s + k) & RingMask];
        Emit(b);
        t.Ring[r] = b;
        r = (r + 1) & RingMask;
        ++count;
      }
    }
  }
  FlushOutput();
}

}  // namespace qm
