#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "skin/1_data/lzh.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/lzh_tree.h"

namespace qm {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(int32_t size) {
  Bytes b(4);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(static_cast<uint32_t>(size) >> (8 * i));
  return b;
}

// Decodes through TLZH directly, counting how many input bytes it took.
Bytes DecodeBody(int32_t size, const Bytes& code, size_t* consumed = nullptr) {
  Bytes out;
  size_t pos = 0;
  TLZH lzh;
  lzh.Decode(
      size,
      [&](const uint8_t* b, uint16_t n, uint16_t& actual) {
        out.insert(out.end(), b, b + n);
        actual = n;
      },
      [&](uint8_t* b, uint16_t n, uint16_t& actual) {
        const size_t k = std::min<size_t>(n, code.size() - pos);
        std::memcpy(b, code.data() + pos, k);
        pos += k;
        actual = static_cast<uint16_t>(k);
      });
  if (consumed) *consumed = pos;
  return out;
}

Bytes RoundTrip(const Bytes& data) {
  const Bytes packed = LzhEncode(data);
  return LzhDecode(packed.data(), packed.size(), int64_t{1} << 31);
}

// Writes chosen symbols and positions with the decoder's own code, so tests
// can state streams that an encoder would rarely produce.
class TSymbolWriter {
 public:
  TSymbolWriter() { FTree.Start(); }
  void Literal(uint8_t b) { Symbol(b); }
  void Match(int length, int position) {
    Symbol(253 + length);
    int u = position >> 6, len = 0, code = 0;
    for (int b = 255; b >= 0; --b)
      if (lzh::PositionHigh[b] == u) {
        len = lzh::PositionBits[b];
        code = b >> (8 - len);
      }
    Put(len, code);
    Put(6, position & 0x3F);
  }
  Bytes Finish() {
    Bytes out = FOut;
    if (FBits) out.push_back(static_cast<uint8_t>(FByte << (8 - FBits)));
    return out;
  }
  int LongestCode = 0;

 private:
  void Symbol(int s) {
    std::vector<int> path;
    for (int k = FTree.Parent[s + lzh::TreeSize]; k != lzh::Root; k = FTree.Parent[k])
      path.push_back(k - FTree.Child[FTree.Parent[k]]);
    for (auto it = path.rbegin(); it != path.rend(); ++it) Put(1, *it);
    LongestCode = std::max(LongestCode, static_cast<int>(path.size()));
    FTree.Update(s);
  }
  void Put(int n, int v) {
    for (int i = n - 1; i >= 0; --i) {
      FByte = static_cast<uint8_t>((FByte << 1) | ((v >> i) & 1));
      if (++FBits == 8) {
        FOut.push_back(FByte);
        FBits = 0;
      }
    }
  }
  TLZHTree FTree;
  Bytes FOut;
  uint8_t FByte = 0;
  int FBits = 0;
};

// The decoding algorithm transcribed step by step, as naively as possible:
// plain arrays, one input byte per request, tables computed from their
// group rule. Round trips cannot tell whether the shared Huffman tree
// evolves exactly as streams from other encoders expect (a different tie
// order in an update or a rebuild stays self-consistent); comparing with
// this transcription can.
class TPlainDecoder {
 public:
  explicit TPlainDecoder(const Bytes& code) : FCode(code) {}

  Bytes Decode(int32_t textSize) {
    Start();
    Bytes out;
    uint8_t ring[4096 + 60 - 1] = {};
    for (int i = 0; i < 4036; ++i) ring[i] = 0x20;
    int r = 4036;
    while (static_cast<int64_t>(out.size()) < textSize) {
      const int c = DecodeChar();
      if (c < 256) {
        out.push_back(static_cast<uint8_t>(c));
        ring[r] = static_cast<uint8_t>(c);
        r = (r + 1) & 0xFFF;
      } else {
        const int s = (r - DecodePosition() - 1) & 0xFFF;
        for (int k = 0; k < c - 253; ++k) {
          const uint8_t b = ring[(s + k) & 0xFFF];
          out.push_back(b);
          ring[r] = b;
          r = (r + 1) & 0xFFF;
        }
      }
    }
    return out;
  }
  int Rebuilds = 0;

  // Symbols alone, one after the other, from a fresh tree.
  int NextSymbol() {
    if (!FStarted) Start();
    FStarted = true;
    return DecodeChar();
  }
  bool SameTreeAs(const TLZHTree& t) const {
    for (int k = 0; k <= T; ++k)
      if (Freq[k] != t.Freq[k]) return false;
    for (int k = 0; k < T; ++k)
      if (Son[k] != t.Child[k]) return false;
    for (int k = 0; k < T + NChar; ++k)
      if (Prnt[k] != t.Parent[k]) return false;
    return true;
  }

 private:
  static constexpr int T = 627, R = 626, NChar = 314;
  bool FStarted = false;

  static int High(int b) {
    if (b < 32) return 0;
    if (b < 80) return 1 + (b - 32) / 16;
    if (b < 144) return 4 + (b - 80) / 8;
    if (b < 192) return 12 + (b - 144) / 4;
    if (b < 240) return 24 + (b - 192) / 2;
    return 48 + (b - 240);
  }
  static int Bits(int b) { return b < 32 ? 3 : b < 80 ? 4 : b < 144 ? 5 : b < 192 ? 6 : b < 240 ? 7 : 8; }

  void Fill() {
    while (FLen <= 8) {
      const unsigned byte = FPos < FCode.size() ? FCode[FPos++] : 0;
      FBuf = static_cast<uint16_t>(FBuf | (byte << (8 - FLen)));
      FLen = static_cast<uint8_t>(FLen + 8);
    }
  }
  int Bit() {
    Fill();
    const int b = FBuf >> 15;
    FBuf = static_cast<uint16_t>(FBuf << 1);
    --FLen;
    return b;
  }
  int Byte() {
    Fill();
    const int b = FBuf >> 8;
    FBuf = static_cast<uint16_t>(FBuf << 8);
    FLen = static_cast<uint8_t>(FLen - 8);
    return b;
  }

  void Start() {
    for (int s = 0; s < NChar; ++s) {
      Freq[s] = 1;
      Son[s] = static_cast<int16_t>(s + T);
      Prnt[s + T] = static_cast<int16_t>(s);
    }
    for (int i = 0, j = NChar; j <= R; i += 2, ++j) {
      Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
      Son[j] = static_cast<int16_t>(i);
      Prnt[i] = Prnt[i + 1] = static_cast<int16_t>(j);
    }
    Freq[T] = 0xFFFF;
    Prnt[R] = 0;
  }
  void Reconst() {
    ++Rebuilds;
    int j = 0;
    for (int i = 0; i < T; ++i)
      if (Son[i] >= T) {
        Freq[j] = static_cast<uint16_t>((Freq[i] + 1) / 2);
        Son[j] = Son[i];
        ++j;
      }
    for (int i = 0, jj = NChar; jj < T; i += 2, ++jj) {
      const unsigned f = Freq[i] + Freq[i + 1];
      int k = jj - 1;
      while (f < Freq[k]) --k;
      ++k;
      std::memmove(&Freq[k + 1], &Freq[k], (jj - k) * sizeof Freq[0]);
      std::memmove(&Son[k + 1], &Son[k], (jj - k) * sizeof Son[0]);
      Freq[k] = static_cast<uint16_t>(f);
      Son[k] = static_cast<int16_t>(i);
    }
    for (int k = 0; k < T; ++k) {
      const int i = Son[k];
      Prnt[i] = static_cast<int16_t>(k);
      if (i < T) Prnt[i + 1] = static_cast<int16_t>(k);
    }
  }
  void Update(int c) {
    if (Freq[R] == 0x8000) Reconst();
    int n = Prnt[c + T];
    do {
      const unsigned k = ++Freq[n];
      if (k > Freq[n + 1]) {
        int l = n + 1;
        while (Freq[l + 1] < k) ++l;
        Freq[n] = Freq[l];
        Freq[l] = static_cast<uint16_t>(k);
        const int i = Son[n];
        Prnt[i] = static_cast<int16_t>(l);
        if (i < T) Prnt[i + 1] = static_cast<int16_t>(l);
        const int j = Son[l];
        Son[l] = static_cast<int16_t>(i);
        Prnt[j] = static_cast<int16_t>(n);
        if (j < T) Prnt[j + 1] = static_cast<int16_t>(n);
        Son[n] = static_cast<int16_t>(j);
        n = l;
      }
      n = Prnt[n];
    } while (n != 0);
  }
  int DecodeChar() {
    int n = Son[R];
    while (n < T) n = Son[n + Bit()];
    Update(n - T);
    return n - T;
  }
  int DecodePosition() {
    int b = Byte();
    const int upper = High(b) << 6;
    for (int k = Bits(b) - 2; k > 0; --k) b = b * 2 + Bit();
    return upper | (b & 0x3F);
  }

  const Bytes& FCode;
  size_t FPos = 0;
  uint16_t FBuf = 0;
  uint8_t FLen = 0;
  uint16_t Freq[T + 1] = {};
  int16_t Prnt[T + NChar] = {};
  int16_t Son[T] = {};
};

TEST(LzhDecode, AgreesWithTheAlgorithmWrittenOutStepByStep) {
  // Random code bits give every symbol and position, and a long run of
  // symbols goes through several tree rebuilds.
  std::mt19937 rng(2024);
  Bytes code(200000);
  for (auto& b : code) b = static_cast<uint8_t>(rng());
  TPlainDecoder plain(code);
  const Bytes expected = plain.Decode(3000000);
  ASSERT_GE(plain.Rebuilds, 3);
  EXPECT_TRUE(DecodeBody(3000000, code) == expected);

  // And a real stream whose skewed bytes keep the tree full of ties.
  Bytes data(300000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((rng() % 4) * (rng() % 2) + 'a');
  const Bytes packed = LzhEncode(data);
  const Bytes body(packed.begin() + 4, packed.end());
  TPlainDecoder again(body);
  EXPECT_TRUE(again.Decode(static_cast<int32_t>(data.size())) == data);
  EXPECT_GE(again.Rebuilds, 1);
}

// Every way of feeding the decoder gives what the step-by-step decoder
// gives, on streams that push the tree through rebuilds and on damaged
// ones: the whole input in memory, and callbacks that deliver one byte, an
// odd count or the most a call can carry.
TEST(LzhDecode, EveryInputPathAgreesWithStepByStepOnHostileStreams) {
  std::mt19937 rng(99);
  auto randomBytes = [&](size_t n, uint8_t orMask, uint8_t andMask) {
    Bytes b(n);
    for (auto& x : b) x = static_cast<uint8_t>((rng() | orMask) & andMask);
    return b;
  };
  Bytes text;
  for (int i = 0; i < 9000; ++i) {
    const std::string line = std::string("Image=frame").append(std::to_string(rng() % 40)).append(".bmp 启明 ");
    text.insert(text.end(), line.begin(), line.end());
  }
  for (int i = 0; i < 60000; ++i) text.push_back(static_cast<uint8_t>(i % 3 ? 0x40 : rng() % 4));
  const Bytes packed = LzhEncode(text);
  const Bytes code(packed.begin() + 4, packed.end());
  Bytes flipped = code;
  flipped[flipped.size() / 2] ^= 0x10;
  // Literal weights in Fibonacci proportion, heaviest first, skew the tree
  // as far as its halving allows: codes far longer than a byte.
  TSymbolWriter skewed;
  std::vector<int> fibonacci;
  for (int i = 0, a = 1, b = 1; i < 23; ++i, b += a, a = b - a) fibonacci.insert(fibonacci.end(), a, i * 11);
  for (int round = 0; round < 3; ++round)
    for (auto it = fibonacci.rbegin(); it != fibonacci.rend(); ++it) skewed.Literal(static_cast<uint8_t>(*it));
  ASSERT_GE(skewed.LongestCode, 16);

  const struct {
    const char* Name;
    Bytes Code;
    int32_t Size;
    int MinRebuilds;
  } cases[] = {
      {"random bits", randomBytes(120000, 0, 0xFF), 1500000, 2},
      {"mostly ones: the heaviest side", randomBytes(20000, 0xF7, 0xFF), 1500000, 2},
      {"mostly zeros: the lightest side", randomBytes(20000, 0, 0x08), 1500000, 2},
      {"no code at all", {}, 700000, 1},
      {"encoded text and runs", code, static_cast<int32_t>(text.size()), 0},
      {"cut to a third", Bytes(code.begin(), code.begin() + code.size() / 3), static_cast<int32_t>(text.size()), 0},
      {"one bit flipped", flipped, static_cast<int32_t>(text.size()), 0},
      {"deep codes", skewed.Finish(), static_cast<int32_t>(3 * fibonacci.size()), 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPlainDecoder plain(c.Code);
    const Bytes expected = plain.Decode(c.Size);
    EXPECT_GE(plain.Rebuilds, c.MinRebuilds);

    Bytes stream = Header(c.Size);
    stream.insert(stream.end(), c.Code.begin(), c.Code.end());
    EXPECT_TRUE(LzhDecode(stream.data(), stream.size(), c.Size) == expected);
    for (size_t chunk : {size_t{1}, size_t{4093}, size_t{65535}}) {
      SCOPED_TRACE(chunk);
      Bytes out;
      size_t pos = 0;
      TLZH lzh;
      lzh.Decode(
          c.Size,
          [&](const uint8_t* b, uint16_t n, uint16_t& actual) {
            out.insert(out.end(), b, b + n);
            actual = n;
          },
          [&](uint8_t* b, uint16_t n, uint16_t& actual) {
            const size_t k = std::min({size_t{n}, chunk, c.Code.size() - pos});
            std::memcpy(b, c.Code.data() + pos, k);
            pos += k;
            actual = static_cast<uint16_t>(k);
          });
      EXPECT_TRUE(out == expected);
    }
  }
}

// The decoder reads codes through a table that must follow every move in
// the tree; a stale entry may only show many symbols later, so the whole
// tree is compared after each symbol, through young, skewed and rebuilt
// trees.
TEST(LzhTree, DecodingLeavesTheTreeAsTheStepByStepDecoderDoes) {
  std::mt19937 rng(7);
  for (const auto& [name, orMask, andMask] : {std::tuple{"random bits", 0x00, 0xFF},
                                              std::tuple{"mostly ones", 0xF7, 0xFF},
                                              std::tuple{"mostly zeros", 0x00, 0x08}}) {
    SCOPED_TRACE(name);
    Bytes code(60000);
    for (auto& b : code) b = static_cast<uint8_t>((rng() | orMask) & andMask);
    TPlainDecoder plain(code);
    TLZHTree tree;
    tree.Start();
    size_t bit = 0;
    for (int i = 0; i < 60000; ++i) {
      uint64_t window = 0;
      for (int k = 0; k < 64; ++k) {
        const size_t at = bit + static_cast<size_t>(k);
        const uint64_t b = at / 8 < code.size() ? (code[at / 8] >> (7 - at % 8)) & 1 : 0;
        window |= b << (63 - k);
      }
      int length = 0;
      ASSERT_EQ(tree.Decode(window, length), plain.NextSymbol()) << i;
      ASSERT_TRUE(plain.SameTreeAs(tree)) << i;
      bit += static_cast<size_t>(length);
    }
    EXPECT_GE(plain.Rebuilds, 2);
  }
}

TEST(LzhRoundTrip, VariedData) {
  std::mt19937 rng(7);
  Bytes random(200000);
  for (auto& b : random) b = static_cast<uint8_t>(rng());
  std::string text;
  while (text.size() < 100000) text += "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=20\r\n启明映像向导 ";
  Bytes mixed;
  for (int i = 0; i < 50000; ++i) mixed.push_back(static_cast<uint8_t>(i % 7 == 0 ? rng() : (i / 100) & 0xFF));

  const std::vector<Bytes> cases = {
      {}, {0x41}, {0x20}, {0x00}, Bytes(5000, 0x00), Bytes(5000, 0x20), Bytes(61, 0xAB), Bytes(3, 0xAB),
      Bytes(text.begin(), text.end()), random, mixed};
  for (const Bytes& data : cases) {
    SCOPED_TRACE(data.size());
    EXPECT_EQ(RoundTrip(data), data);
  }
}

TEST(LzhRoundTrip, OneMegabyteAcrossTreeRebuilds) {
  std::mt19937 rng(11);
  Bytes data(1 << 20);
  // Skewed bytes push the root frequency through many rebuilds.
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((rng() % 16) * (rng() % 3) + (i >> 16));
  const Bytes packed = LzhEncode(data);
  EXPECT_LT(packed.size(), data.size());
  EXPECT_EQ(LzhDecode(packed.data(), packed.size(), 2 << 20), data);
}

TEST(LzhEncode, HeaderAndCompression) {
  const Bytes packed = LzhEncode(Bytes(10000, 'x'));
  ASSERT_GE(packed.size(), 4u);
  EXPECT_EQ(Bytes(packed.begin(), packed.begin() + 4), Header(10000));
  EXPECT_LT(packed.size(), 400u);
  EXPECT_EQ(LzhEncode(Bytes{}), Header(0));
}

TEST(LzhDecode, SizeZeroOrNegativeReadsNothing) {
  for (int32_t size : {0, -1, INT32_MIN}) {
    size_t consumed = 99;
    EXPECT_TRUE(DecodeBody(size, Bytes(100, 0xFF), &consumed).empty());
    EXPECT_EQ(consumed, 0u);
  }
}

TEST(LzhDecode, MatchIntoInitialRegionYieldsSpaces) {
  TSymbolWriter w;
  w.Match(10, 100);  // source 4036 - 101: inside the space fill
  w.Literal('A');
  EXPECT_EQ(DecodeBody(11, w.Finish()), Bytes({' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 'A'}));
}

// A match closer than its length repeats its last distance bytes; short
// distances are copied by words, which must keep the period and leave the
// bytes after the match to what follows.
TEST(LzhDecode, OverlappingMatchRepeatsItsPeriod) {
  for (int distance = 1; distance <= 9; ++distance)
    for (int length : {3, 7, 8, 9, 17, 60}) {
      SCOPED_TRACE(testing::Message() << "distance " << distance << ", length " << length);
      TSymbolWriter w;
      Bytes expected;
      for (int i = 0; i < distance; ++i) {
        w.Literal(static_cast<uint8_t>('a' + i));
        expected.push_back(static_cast<uint8_t>('a' + i));
      }
      w.Match(length, distance - 1);
      for (int k = 0; k < length; ++k) expected.push_back(expected[expected.size() - distance]);
      w.Literal('Q');
      w.Match(3, 0);
      expected.insert(expected.end(), 4, 'Q');
      EXPECT_EQ(DecodeBody(static_cast<int32_t>(expected.size()), w.Finish()), expected);
    }
}

TEST(LzhDecode, FinalMatchIsCopiedWholePastTextSize) {
  TSymbolWriter w;
  w.Literal('z');
  w.Match(60, 0);
  EXPECT_EQ(DecodeBody(2, w.Finish()).size(), 61u);
}

// Decoding the whole result in memory has no ring in front of its first
// byte: a match reaching back there must still read the ring's unset zeros
// and its spaces, alone or followed by bytes produced, and the result must
// end where the callbacks' does, also past TextSize and across the chunks
// the room is made usable in.
TEST(LzhDecode, WholeResultInMemoryAgreesWithCallbacksAtItsEdges) {
  struct TCase {
    const char* Name;
    Bytes Code;
    int32_t Size;
  };
  std::vector<TCase> cases;
  auto add = [&](const char* name, int32_t size, auto&& write) {
    TSymbolWriter w;
    write(w);
    cases.push_back({name, w.Finish(), size});
  };
  add("first symbol repeats the last space", 20, [](auto& w) { w.Match(20, 0); });
  add("from the zeros into the spaces", 30, [](auto& w) { w.Match(30, 4040); });
  add("from the farthest byte", 60, [](auto& w) { w.Match(60, 4095); });
  add("from the spaces into the bytes produced", 43, [](auto& w) {
    for (char c : std::string("abc")) w.Literal(static_cast<uint8_t>(c));
    w.Match(40, 5);
  });
  add("back to the start after a ring's worth", 4200, [](auto& w) {
    for (int i = 0; i < 4100; ++i) w.Literal(static_cast<uint8_t>(i * 7));
    w.Match(60, 4095);
    w.Match(40, 4095);
  });
  add("final match past a tiny size", 2, [](auto& w) {
    w.Literal('z');
    w.Match(60, 0);
  });
  std::mt19937 rng(5);
  for (int32_t size : {65536 - 68, 65536 - 67, 65536, 200000})
    add("matches over the chunk edges", size, [&](auto& w) {
      for (int32_t n = 0; n < size; n += 17) {
        w.Literal(static_cast<uint8_t>(rng()));
        w.Match(16, static_cast<int>(rng() % 4096));
      }
    });
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Name << ", size " << c.Size);
    TPlainDecoder plain(c.Code);
    const Bytes expected = plain.Decode(c.Size);
    EXPECT_TRUE(DecodeBody(c.Size, c.Code) == expected);
    Bytes out(3, 0x55);  // what the vector held before goes
    TLZH().Decode(c.Size, out, c.Code.data(), c.Code.size());
    EXPECT_TRUE(out == expected);
  }
}

TEST(LzhDecode, InputPastItsEndReadsAsZero) {
  std::string s = "The quick brown fox jumps over the lazy dog. ";
  Bytes data;
  for (int i = 0; i < 200; ++i) data.insert(data.end(), s.begin(), s.end());
  const Bytes packed = LzhEncode(data);
  const Bytes code(packed.begin() + 4, packed.end());
  // Cut the code in half: the rest must decode as if zero bytes followed.
  Bytes cut(code.begin(), code.begin() + code.size() / 2);
  Bytes padded = cut;
  padded.resize(cut.size() + 20000, 0);
  const Bytes fromCut = DecodeBody(static_cast<int32_t>(data.size()), cut);
  EXPECT_GE(fromCut.size(), data.size());
  EXPECT_LE(fromCut.size(), data.size() + 59);
  EXPECT_EQ(fromCut, DecodeBody(static_cast<int32_t>(data.size()), padded));
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 100, fromCut.begin()));

  // With no code bytes at all the decoder still ends.
  EXPECT_GE(DecodeBody(1000, {}).size(), 1000u);

  // Only a code that ran out says so, by either way in: one byte short is
  // enough, and code to spare is no fault.
  Bytes spare = code;
  spare.resize(code.size() + 100, 0);
  const struct {
    const char* Name;
    Bytes Code;
    bool Whole;
  } cases[] = {{"whole", code, true},
               {"with code to spare", spare, true},
               {"cut in half", cut, false},
               {"one byte short", Bytes(code.begin(), code.end() - 1), false},
               {"none", {}, false}};
  const auto size = static_cast<int32_t>(data.size());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Bytes out;
    EXPECT_EQ(TLZH().Decode(size, out, c.Code.data(), c.Code.size()), c.Whole);
    size_t pos = 0;
    const auto read = [&](uint8_t* b, uint16_t n, uint16_t& actual) {
      const size_t k = std::min<size_t>({n, 7, c.Code.size() - pos});
      std::memcpy(b, c.Code.data() + pos, k);
      pos += k;
      actual = static_cast<uint16_t>(k);
    };
    EXPECT_EQ(TLZH().Decode(size, [](const uint8_t*, uint16_t n, uint16_t& actual) { actual = n; }, read), c.Whole);
  }
}

TEST(LzhDecode, ReaderDeliveringOneByteAtATime) {
  std::string s = "[Colours]\r\nButtonFace=180 180 180\r\n";
  Bytes data;
  for (int i = 0; i < 300; ++i) data.insert(data.end(), s.begin(), s.end());
  const Bytes packed = LzhEncode(data);
  Bytes out;
  size_t pos = 4, calls = 0;
  TLZH lzh;
  lzh.Decode(
      static_cast<int32_t>(data.size()),
      [&](const uint8_t* b, uint16_t n, uint16_t& actual) {
        out.insert(out.end(), b, b + n);
        actual = n;
      },
      [&](uint8_t* b, uint16_t n, uint16_t& actual) {
        ++calls;
        actual = 0;
        if (n > 0 && pos < packed.size()) {
          *b = packed[pos++];
          actual = 1;
        }
      });
  EXPECT_EQ(out, data);
  EXPECT_EQ(pos, packed.size());
  // At most one request past the end: the decoder stops asking once dry.
  EXPECT_LE(calls, packed.size() - 4 + 1);
}

TEST(LzhDecode, CallbackErrorPropagatesAndObjectIsReusable) {
  const Bytes packed = LzhEncode(Bytes(100, 'a'));
  TLZH lzh;
  auto reader = [&](uint8_t* b, uint16_t n, uint16_t& actual) {
    const size_t k = std::min<size_t>(n, packed.size() - 4);
    std::memcpy(b, packed.data() + 4, k);
    actual = static_cast<uint16_t>(k);
  };
  EXPECT_THROW(lzh.Decode(
                   100, [](const uint8_t*, uint16_t, uint16_t&) { throw std::runtime_error("disk full"); }, reader),
               std::runtime_error);
  Bytes out;
  lzh.Decode(
      100,
      [&](const uint8_t* b, uint16_t n, uint16_t& actual) {
        out.insert(out.end(), b, b + n);
        actual = n;
      },
      reader);
  EXPECT_EQ(out, Bytes(100, 'a'));
}

TEST(LzhDecode, DeclaredSizeAboveLimitIsRefused) {
  Bytes stream = Header(70 * 1024 * 1024);
  EXPECT_THROW(LzhDecode(stream.data(), stream.size(), 64 * 1024 * 1024), ElzhException);
}

TEST(LzhPositionTables, GroupsAndBits) {
  EXPECT_EQ(lzh::PositionHigh[0], 0);
  EXPECT_EQ(lzh::PositionHigh[31], 0);
  EXPECT_EQ(lzh::PositionHigh[32], 1);
  EXPECT_EQ(lzh::PositionHigh[79], 3);
  EXPECT_EQ(lzh::PositionHigh[80], 4);
  EXPECT_EQ(lzh::PositionHigh[143], 11);
  EXPECT_EQ(lzh::PositionHigh[144], 12);
  EXPECT_EQ(lzh::PositionHigh[191], 23);
  EXPECT_EQ(lzh::PositionHigh[192], 24);
  EXPECT_EQ(lzh::PositionHigh[239], 47);
  EXPECT_EQ(lzh::PositionHigh[240], 48);
  EXPECT_EQ(lzh::PositionHigh[255], 63);
  EXPECT_EQ(lzh::PositionBits[31], 3);
  EXPECT_EQ(lzh::PositionBits[32], 4);
  EXPECT_EQ(lzh::PositionBits[143], 5);
  EXPECT_EQ(lzh::PositionBits[191], 6);
  EXPECT_EQ(lzh::PositionBits[239], 7);
  EXPECT_EQ(lzh::PositionBits[240], 8);
}

// Frequencies never decrease along the node order and every inner node
// weighs what its two children weigh.
void ExpectTreeConsistent(const TLZHTree& t) {
  for (int k = 0; k < lzh::TreeSize; ++k) {
    if (k + 1 < lzh::TreeSize) {
      ASSERT_LE(t.Freq[k], t.Freq[k + 1]) << k;
    }
    const int c = t.Child[k];
    if (c >= lzh::TreeSize) {
      ASSERT_EQ(t.Parent[c], k);
    } else {
      ASSERT_EQ(t.Freq[k], t.Freq[c] + t.Freq[c + 1]) << k;
      ASSERT_EQ(t.Parent[c], k);
      ASSERT_EQ(t.Parent[c + 1], k);
    }
  }
}

TEST(LzhTree, RebuildsExactlyWhenRootReachesLimit) {
  TLZHTree t;
  t.Start();
  EXPECT_EQ(t.Freq[lzh::Root], lzh::SymbolCount);
  std::mt19937 rng(3);
  while (t.Freq[lzh::Root] < lzh::RebuildLimit) t.Update(static_cast<int>(rng() % 20));
  ASSERT_EQ(t.Freq[lzh::Root], lzh::RebuildLimit);
  ExpectTreeConsistent(t);

  // Halved leaf weights (rounded up), plus the one update being applied.
  unsigned halved = 0;
  for (int k = 0; k < lzh::TreeSize; ++k)
    if (t.Child[k] >= lzh::TreeSize) halved += (t.Freq[k] + 1u) / 2u;
  t.Update(5);
  EXPECT_EQ(t.Freq[lzh::Root], halved + 1);
  ExpectTreeConsistent(t);
}

}  // namespace
}  // namespace qm
