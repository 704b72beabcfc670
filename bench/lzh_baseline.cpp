// A verbatim copy of the earlier decoder (tree, bit reader, decode loop and
// the LzhDecode wrapper), renamed into its own namespace. Only the
// benchmark uses it.

#include "lzh_baseline.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "skin/1_data/lzh.h"

namespace qm::baseline {
namespace {

using namespace lzh;

struct TTree {
  std::array<uint16_t, TreeSize + 1> Freq{};
  std::array<int16_t, TreeSize + SymbolCount> Parent{};
  std::array<int16_t, TreeSize> Child{};

  void Start() {
    for (int s = 0; s < SymbolCount; ++s) {
      Freq[s] = 1;
      Child[s] = static_cast<int16_t>(s + TreeSize);
      Parent[s + TreeSize] = static_cast<int16_t>(s);
    }
    for (int i = 0, j = SymbolCount; j <= Root; i += 2, ++j) {
      Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
      Child[j] = static_cast<int16_t>(i);
      Parent[i] = Parent[i + 1] = static_cast<int16_t>(j);
    }
    Freq[TreeSize] = 0xFFFF;
    Parent[Root] = 0;
  }

  void Rebuild() {
    int j = 0;
    for (int i = 0; i < TreeSize; ++i) {
      if (Child[i] >= TreeSize) {
        Freq[j] = static_cast<uint16_t>((Freq[i] + 1u) / 2u);
        Child[j] = Child[i];
        ++j;
      }
    }
    for (int i = 0, jj = SymbolCount; jj < TreeSize; i += 2, ++jj) {
      const unsigned f = static_cast<unsigned>(Freq[i]) + Freq[i + 1];
      int k = jj - 1;
      while (f < Freq[k]) --k;
      ++k;
      for (int m = jj; m > k; --m) {
        Freq[m] = Freq[m - 1];
        Child[m] = Child[m - 1];
      }
      Freq[k] = static_cast<uint16_t>(f);
      Child[k] = static_cast<int16_t>(i);
    }
    for (int k = 0; k < TreeSize; ++k) {
      const int i = Child[k];
      if (i >= TreeSize) {
        Parent[i] = static_cast<int16_t>(k);
      } else {
        Parent[i] = Parent[i + 1] = static_cast<int16_t>(k);
      }
    }
  }

  void Update(int symbol) {
    if (Freq[Root] == RebuildLimit) Rebuild();
    int n = Parent[symbol + TreeSize];
    do {
      const unsigned k = ++Freq[n];
      if (k > Freq[n + 1]) {
        int l = n + 1;
        while (k > Freq[l + 1]) ++l;
        Freq[n] = Freq[l];
        Freq[l] = static_cast<uint16_t>(k);

        const int i = Child[n];
        Parent[i] = static_cast<int16_t>(l);
        if (i < TreeSize) Parent[i + 1] = static_cast<int16_t>(l);
        const int j = Child[l];
        Child[l] = static_cast<int16_t>(i);
        Parent[j] = static_cast<int16_t>(n);
        if (j < TreeSize) Parent[j + 1] = static_cast<int16_t>(n);
        Child[n] = static_cast<int16_t>(j);
        n = l;
      }
      n = Parent[n];
    } while (n != 0);
  }
};

class TDecoder {
 public:
  void Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const TLZHReadBytes& ReadBytes);

 private:
  struct TTables {
    TTree Tree;
    uint8_t Ring[RingSize + LookAhead - 1] = {};
    uint8_t In[4096] = {};
    uint16_t InPos = 0;
    uint16_t InLen = 0;
    bool InEnded = false;
    uint8_t Out[4096] = {};
    uint16_t OutLen = 0;
  };
  int GetBit();
  int GetByte();
  int DecodeChar();
  int DecodePosition();
  void Emit(uint8_t b);
  void FlushOutput();

  std::unique_ptr<TTables> FTables;
  uint16_t FBitBuffer = 0;
  uint8_t FBitCount = 0;
  const TLZHReadBytes* FRead = nullptr;
  const TLZHWriteBytes* FWrite = nullptr;
};

int TDecoder::GetBit() {
  while (FBitCount <= 8) {
    auto& t = *FTables;
    uint8_t byte = 0;
    if (t.InPos == t.InLen && !t.InEnded) {
      uint16_t actual = 0;
      (*FRead)(t.In, static_cast<uint16_t>(sizeof t.In), actual);
      if (actual > sizeof t.In) actual = sizeof t.In;
      t.InPos = 0;
      t.InLen = actual;
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

int TDecoder::GetByte() {
  int b = 0;
  for (int i = 0; i < 8; ++i) b = (b << 1) | GetBit();
  return b;
}

int TDecoder::DecodeChar() {
  auto& tree = FTables->Tree;
  int n = tree.Child[Root];
  while (n < TreeSize) n = tree.Child[n + GetBit()];
  const int symbol = n - TreeSize;
  tree.Update(symbol);
  return symbol;
}

int TDecoder::DecodePosition() {
  int b = GetByte();
  const int upper = PositionHigh[b] << 6;
  for (int k = PositionBits[b] - 2; k > 0; --k) b = (b << 1) | GetBit();
  return upper | (b & 0x3F);
}

void TDecoder::FlushOutput() {
  auto& t = *FTables;
  if (t.OutLen == 0) return;
  uint16_t actual = 0;
  (*FWrite)(t.Out, t.OutLen, actual);
  t.OutLen = 0;
}

void TDecoder::Emit(uint8_t b) {
  auto& t = *FTables;
  t.Out[t.OutLen++] = b;
  if (t.OutLen == sizeof t.Out) FlushOutput();
}

void TDecoder::Decode(int32_t TextSize, const TLZHWriteBytes& WriteBytes, const TLZHReadBytes& ReadBytes) {
  FTables.reset(new (std::nothrow) TTables);
  if (!FTables) throw ElzhException(LzhNoMemoryMessage);
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

}  // namespace

std::vector<uint8_t> LzhDecode(const uint8_t* Data, size_t Size, int64_t MaxSize) {
  std::vector<uint8_t> out;
  if (Size < 4) return out;
  const int32_t textSize = static_cast<int32_t>(static_cast<uint32_t>(Data[0]) | (static_cast<uint32_t>(Data[1]) << 8) |
                                                (static_cast<uint32_t>(Data[2]) << 16) |
                                                (static_cast<uint32_t>(Data[3]) << 24));
  if (textSize > MaxSize)
    throw ElzhException("LZH : declared size " + std::to_string(textSize) + " exceeds the limit of " +
                        std::to_string(MaxSize) + " bytes");
  if (textSize > 0) out.reserve(static_cast<size_t>(textSize) + LookAhead);
  size_t pos = 4;
  TDecoder lzh;
  lzh.Decode(
      textSize,
      [&](const uint8_t* buffer, uint16_t count, uint16_t& actual) {
        out.insert(out.end(), buffer, buffer + count);
        actual = count;
      },
      [&](uint8_t* buffer, uint16_t count, uint16_t& actual) {
        const size_t n = std::min<size_t>(count, Size - pos);
        std::memcpy(buffer, Data + pos, n);
        pos += n;
        actual = static_cast<uint16_t>(n);
      });
  return out;
}

}  // namespace qm::baseline
