#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_message.h"
#include "skin/1_data/skin_package_writer.h"
#include "skin/1_data/skin_reader.h"

namespace qm {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::vector<std::string> Messages;
void Capture(const std::string& text) { Messages.push_back(text); }

class SkinReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Messages.clear();
    FPrevious = SetSkinMessageHandler(Capture);
  }
  void TearDown() override { SetSkinMessageHandler(FPrevious); }

  // Reads a container given as raw bytes, wrapped in the LZH layer.
  bool Read(const Bytes& container) {
    TMemoryStream packed(LzhEncode(container));
    return Reader.ReadSkin(packed);
  }
  std::string Member(const std::string& name) {
    TMemoryStream out;
    Reader.GetMember(name, out);
    return std::string(out.Bytes().begin(), out.Bytes().end());
  }

  TSkinReader Reader;

 private:
  TSkinMessageHandler FPrevious = nullptr;
};

// A container with its parts spelled out, for damaged layouts.
Bytes RawContainer(uint32_t version, int32_t namesLength, const std::string& names, const std::vector<int32_t>& sizes,
                   const std::string& data) {
  Bytes out;
  auto put = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  put(version);
  put(static_cast<uint32_t>(namesLength));
  out.insert(out.end(), 8, 0xEE);
  out.insert(out.end(), names.begin(), names.end());
  for (int32_t s : sizes) put(static_cast<uint32_t>(s));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

TEST_F(SkinReaderTest, IndexesMembersAndLooksThemUp) {
  ASSERT_TRUE(Read(BuildSkinContainer(
      {{"Skin.INI", B("[x]")}, {"top.bmp", B("TOP")}, {"top.bmp", B("SECOND")}, {"empty.bmp", {}}, {"a.bmp", B("A")}})));
  EXPECT_EQ(Reader.PackageVersion, 20000u);
  EXPECT_EQ(Reader.Count, 5);
  EXPECT_EQ(Reader.Names, (std::vector<std::string>{"skin.ini", "top.bmp", "top.bmp", "empty.bmp", "a.bmp"}));
  EXPECT_TRUE(Messages.empty());

  EXPECT_EQ(Member("TOP.Bmp"), "TOP");  // case ignored; the first of two wins
  EXPECT_EQ(Member("empty.bmp"), "");
  EXPECT_EQ(Member("a.bmp"), "A");
  EXPECT_EQ(Member("missing.bmp"), "");

  TMemoryStream out;
  std::string name = "kept";
  Reader.FindMember(".INI", out, name);  // fragments are not lowered
  EXPECT_EQ(out.Size(), 0u);
  EXPECT_EQ(name, "kept");
  Reader.FindMember(".ini", out, name);
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), "[x]");
  EXPECT_EQ(out.Position(), 0u);
}

TEST_F(SkinReaderTest, OtherVersionsAreRefusedWithTheMessage) {
  for (uint32_t version : {19999u, 20001u, 0u}) {
    SCOPED_TRACE(version);
    Messages.clear();
    TSkinReader fresh;
    TMemoryStream packed(LzhEncode(BuildSkinContainer({{"a.bmp", B("A")}}, version)));
    EXPECT_FALSE(fresh.ReadSkin(packed));
    EXPECT_EQ(Messages, std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"});
    EXPECT_EQ(fresh.Count, 0);
    EXPECT_TRUE(fresh.Names.empty());
    EXPECT_EQ(fresh.Data.Size(), 0u);
  }
}

TEST_F(SkinReaderTest, APackageCutShortIsRefusedAndNothingIndexed) {
  const Bytes packed = LzhEncode(BuildSkinContainer({{"skin.ini", B("[Colours]\r\nButtonFace=1 2 3\r\n")}}));
  TMemoryStream cut(Bytes(packed.begin(), packed.end() - 1));
  EXPECT_FALSE(Reader.ReadSkin(cut));
  EXPECT_NE(Reader.LastError.find("ends before"), std::string::npos);
  EXPECT_EQ(Reader.Count, 0);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(SkinReaderTest, NegativeDecodedSizeGivesAnEmptyContainer) {
  Bytes packed = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
  TMemoryStream s(packed);
  EXPECT_FALSE(Reader.ReadSkin(s));
  EXPECT_EQ(Messages.size(), 1u);
}

TEST_F(SkinReaderTest, NameTextLineRules) {
  // No final break, an empty line in the middle, mixed line ends.
  const std::string names = "a.bmp\r\n\nb.bmp\rc.bmp";
  ASSERT_TRUE(Read(RawContainer(20000, static_cast<int32_t>(names.size()), names, {1, 2, 3, 4}, "ABBCCCDDDD")));
  EXPECT_EQ(Reader.Names, (std::vector<std::string>{"a.bmp", "", "b.bmp", "c.bmp"}));
  EXPECT_EQ(Member("b.bmp"), "CCC");  // the nameless member took its own slot
  EXPECT_EQ(Member("c.bmp"), "DDDD");

  EXPECT_EQ(SplitSkinLines(std::string("x\0y\r\nz", 6)), std::vector<std::string>{"x"});
  EXPECT_EQ(SplitSkinLines("x\r\n"), std::vector<std::string>{"x"});
  EXPECT_EQ(SplitSkinLines("\r\n"), std::vector<std::string>{""});
  EXPECT_TRUE(SplitSkinLines("").empty());
}

TEST_F(SkinReaderTest, MembersBeyondTheDataComeOutShortOrEmpty) {
  ASSERT_TRUE(Read(RawContainer(20000, 12, "a.bmp\r\nb.bmp", {3, 1000}, "AAAB")));
  EXPECT_EQ(Member("a.bmp"), "AAA");
  EXPECT_EQ(Member("b.bmp"), "B");
  // Sizes that are missing altogether read as zero.
  TSkinReader fresh;
  TMemoryStream packed(LzhEncode(RawContainer(20000, 12, "a.bmp\r\nb.bmp", {}, "")));
  ASSERT_TRUE(fresh.ReadSkin(packed));
  EXPECT_EQ(fresh.Sizes[0], 0);
  EXPECT_EQ(fresh.Sizes[1], 0);
}

TEST_F(SkinReaderTest, NameTextRunningPastTheContainerIsCut) {
  ASSERT_TRUE(Read(RawContainer(20000, 100000, "only.bmp", {}, "")));
  EXPECT_EQ(Reader.Names, std::vector<std::string>{"only.bmp"});
  EXPECT_EQ(Member("only.bmp"), "");
}

TEST_F(SkinReaderTest, DamagedDirectoriesAreRefusedWithoutReadingOut) {
  EXPECT_FALSE(Read(RawContainer(20000, 12, "a.bmp\r\nb.bmp", {3, -1}, "AAAB")));
  EXPECT_NE(Reader.LastError.find("negative size"), std::string::npos);
  EXPECT_FALSE(Read(RawContainer(20000, -5, "", {}, "")));
  EXPECT_EQ(Reader.Count, 0);

  std::string many;
  for (int i = 0; i < 1002; ++i) many += "m\r\n";
  EXPECT_FALSE(Read(RawContainer(20000, static_cast<int32_t>(many.size()), many, {}, "")));
  EXPECT_NE(Reader.LastError.find("1001"), std::string::npos);
  many.resize(1001 * 3);
  EXPECT_TRUE(Read(RawContainer(20000, static_cast<int32_t>(many.size()), many, {}, "")));
  EXPECT_EQ(Reader.Count, 1001);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(SkinReaderTest, HugeDeclaredSizeIsRefusedBeforeDecoding) {
  Bytes packed = {0x00, 0x00, 0x00, 0x10, 0, 0, 0, 0};  // 256 MiB
  TMemoryStream s(packed);
  EXPECT_FALSE(Reader.ReadSkin(s));
  EXPECT_NE(Reader.LastError.find("exceeds"), std::string::npos);
  EXPECT_TRUE(Messages.empty());
}

}  // namespace
}  // namespace qm
