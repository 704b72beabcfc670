#include "skin/1_data/lzh_encoder.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>

#include "skin/1_data/lzh.h"
#include "skin/1_data/lzh_tree.h"

namespace qm {

using namespace lzh;

namespace {

constexpr int Nil = RingSize;  // "no node" in the match trees

class TBitWriter {
 public:
  explicit TBitWriter(std::vector<uint8_t>& out) : FOut(out) {}
  // Appends the low `count` bits of value, most significant first.
  void Put(int count, unsigned value) {
    for (int i = count - 1; i >= 0; --i) {
      FByte = static_cast<uint8_t>((FByte << 1) | ((value >> i) & 1u));
      if (++FBits == 8) {
        FOut.push_back(FByte);
        FByte = 0;
        FBits = 0;
      }
    }
  }
  void Finish() {
    if (FBits > 0) FOut.push_back(static_cast<uint8_t>(FByte << (8 - FBits)));
    FBits = 0;
  }

 private:
  std::vector<uint8_t>& FOut;
  uint8_t FByte = 0;
  int FBits = 0;
};

// The prefix code of each upper position value, read off the decoder's
// tables: the first code byte carrying that value starts with the code.
struct TPositionCode {
  uint8_t Length[64] = {};
  uint8_t Code[64] = {};
  constexpr TPositionCode() {
    for (int b = 255; b >= 0; --b) {
      const int u = PositionHigh[b];
      Length[u] = PositionBits[b];
      Code[u] = static_cast<uint8_t>(b >> (8 - PositionBits[b]));
    }
  }
};
constexpr TPositionCode PositionCode;

class TEncoder {
 public:
  TEncoder(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
      : FData(data), FSize(size), FBits(out) {}

  void Run();

 private:
  void InitTrees();
  void InsertNode(int r);
  void DeleteNode(int p);
  void EncodeChar(int symbol);
  void EncodePosition(int position);
  int NextByte() { return FRead < FSize ? FData[FRead++] : -1; }

  const uint8_t* FData;
  size_t FSize;
  size_t FRead = 0;
  TBitWriter FBits;
  TLZHTree FTree;
  uint8_t FRing[RingSize + LookAhead - 1] = {};
  // Binary search trees of ring positions keyed by the text starting there;
  // one tree per first byte, rooted at RingSize + 1 + byte.
  int16_t FLeft[RingSize + 1];
  int16_t FRight[RingSize + 257];
  int16_t FUp[RingSize + 1];
  int FMatchPosition = 0;
  int FMatchLength = 0;
};

void TEncoder::InitTrees() {
  for (int i = RingSize + 1; i <= RingSize + 256; ++i) FRight[i] = Nil;
  for (int i = 0; i < RingSize; ++i) FUp[i] = Nil;
}

// Inserts the string at r into its tree and leaves the longest match found
// on the way in FMatchLength/FMatchPosition (nearest position on ties).
// A node whose string equals r's over the whole look-ahead is replaced by r.
void TEncoder::InsertNode(int r) {
  const uint8_t* key = &FRing[r];
  int cmp = 1;
  int p = RingSize + 1 + key[0];
  FRight[r] = FLeft[r] = Nil;
  FMatchLength = 0;
  for (;;) {
    if (cmp >= 0) {
      if (FRight[p] != Nil) {
        p = FRight[p];
      } else {
        FRight[p] = static_cast<int16_t>(r);
        FUp[r] = static_cast<int16_t>(p);
        return;
      }
    } else {
      if (FLeft[p] != Nil) {
        p = FLeft[p];
      } else {
        FLeft[p] = static_cast<int16_t>(r);
        FUp[r] = static_cast<int16_t>(p);
        return;
      }
    }
    int i = 1;
    for (; i < LookAhead; ++i)
      if ((cmp = key[i] - FRing[p + i]) != 0) break;
    if (i > Threshold) {
      const int distance = ((r - p) & RingMask) - 1;
      if (i > FMatchLength) {
        FMatchPosition = distance;
        if ((FMatchLength = i) >= LookAhead) break;
      } else if (i == FMatchLength && distance < FMatchPosition) {
        FMatchPosition = distance;
      }
    }
  }
  FUp[r] = FUp[p];
  FLeft[r] = FLeft[p];
  FRight[r] = FRight[p];
  FUp[FLeft[p]] = static_cast<int16_t>(r);
  FUp[FRight[p]] = static_cast<int16_t>(r);
  if (FRight[FUp[p]] == p)
    FRight[FUp[p]] = static_cast<int16_t>(r);
  else
    FLeft[FUp[p]] = static_cast<int16_t>(r);
  FUp[p] = Nil;
}

void TEncoder::DeleteNode(int p) {
  if (FUp[p] == Nil) return;
  int q;
  if (FRight[p] == Nil) {
    q = FLeft[p];
  } else if (FLeft[p] == Nil) {
    q = FRight[p];
  } else {
    q = FLeft[p];
    if (FRight[q] != Nil) {
      do q = FRight[q]; while (FRight[q] != Nil);
      FRight[FUp[q]] = FLeft[q];
      FUp[FLeft[q]] = FUp[q];
      FLeft[q] = FLeft[p];
      FUp[FLeft[p]] = static_cast<int16_t>(q);
    }
    FRight[q] = FRight[p];
    FUp[FRight[p]] = static_cast<int16_t>(q);
  }
  FUp[q] = FUp[p];
  if (FRight[FUp[p]] == p)
    FRight[FUp[p]] = static_cast<int16_t>(q);
  else
    FLeft[FUp[p]] = static_cast<int16_t>(q);
  FUp[p] = Nil;
}

void TEncoder::EncodeChar(int symbol) {
  // Collect the path from the leaf up to the root, then send it root first.
  uint32_t path = 0;
  int length = 0;
  int k = FTree.Parent[symbol + TreeSize];
  do {
    const int parent = FTree.Parent[k];
    path |= static_cast<uint32_t>(k - FTree.Child[parent]) << length;
    ++length;
    k = parent;
  } while (k != Root);
  FBits.Put(length, path);
  FTree.Update(symbol);
}

void TEncoder::EncodePosition(int position) {
  const int u = position >> 6;
  FBits.Put(PositionCode.Length[u], PositionCode.Code[u]);
  FBits.Put(6, static_cast<unsigned>(position & 0x3F));
}

void TEncoder::Run() {
  if (FSize == 0) return;
  FTree.Start();
  InitTrees();
  int s = 0;
  int r = InitialWritePos;
  std::memset(FRing, 0x20, static_cast<size_t>(r));
  int len = 0;
  for (int c; len < LookAhead && (c = NextByte()) >= 0; ++len) FRing[r + len] = static_cast<uint8_t>(c);
  for (int i = 1; i <= LookAhead; ++i) InsertNode(r - i);
  InsertNode(r);
  do {
    if (FMatchLength > len) FMatchLength = len;
    if (FMatchLength <= Threshold) {
      FMatchLength = 1;
      EncodeChar(FRing[r]);
    } else {
      EncodeChar(255 - Threshold + FMatchLength);
      EncodePosition(FMatchPosition);
    }
    const int lastMatchLength = FMatchLength;
    int i = 0;
    for (int c; i < lastMatchLength && (c = NextByte()) >= 0; ++i) {
      DeleteNode(s);
      FRing[s] = static_cast<uint8_t>(c);
      // The bytes past the ring's end mirror its start so that string
      // comparisons need no wrap-around.
      if (s < LookAhead - 1) FRing[s + RingSize] = static_cast<uint8_t>(c);
      s = (s + 1) & RingMask;
      r = (r + 1) & RingMask;
      InsertNode(r);
    }
    while (i++ < lastMatchLength) {
      DeleteNode(s);
      s = (s + 1) & RingMask;
      r = (r + 1) & RingMask;
      if (--len) InsertNode(r);
    }
  } while (len > 0);
  FBits.Finish();
}

}  // namespace

std::vector<uint8_t> LzhEncode(const uint8_t* Data, size_t Size) {
  if (Size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw std::length_error("LZH: input too large for a 32-bit size header");
  std::vector<uint8_t> out;
  out.reserve(Size / 2 + 16);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(Size >> (8 * i)));
  auto encoder = std::make_unique<TEncoder>(Data, Size, out);
  encoder->Run();
  return out;
}

std::vector<uint8_t> LzhDecode(const uint8_t* Data, size_t Size, int64_t MaxSize) {
  std::vector<uint8_t> out;
  if (Size < 4) return out;
  const int32_t textSize = static_cast<int32_t>(static_cast<uint32_t>(Data[0]) | (static_cast<uint32_t>(Data[1]) << 8) |
                                                (static_cast<uint32_t>(Data[2]) << 16) |
                                                (static_cast<uint32_t>(Data[3]) << 24));
  if (textSize > MaxSize)
    throw ElzhException("LZH : declared size " + std::to_string(textSize) + " exceeds the limit of " +
                        std::to_string(MaxSize) + " bytes");
  TLZH lzh;
  lzh.Decode(textSize, out, Data + 4, Size - 4);
  return out;
}

}  // namespace qm
