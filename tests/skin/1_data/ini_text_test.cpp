#include <gtest/gtest.h>

#include "skin/1_data/ini_text.h"

namespace qm {
namespace {

TEST(IniText, SectionsAndKeysIgnoreCaseAndFirstWins) {
  const TIniText ini(
      "orphan=1\r\n[Personality]\r\n  menuBar = bar.bmp  \r\nMENUBAR=second.bmp\r\n"
      "[personality]\r\nOnlyHere=x\r\n[Other]\n\tKey\t=\t\"quoted value\"\nbare line\nEmpty=\n");
  EXPECT_EQ(ini.ReadString("PERSONALITY", "MenuBar", "-"), "bar.bmp");
  EXPECT_EQ(ini.ReadString("Personality", "OnlyHere", "-"), "-");  // a later duplicate section is not read
  EXPECT_EQ(ini.ReadString("Other", "key", "-"), "quoted value");
  EXPECT_EQ(ini.ReadString("Other", "bare line", "-"), "");
  EXPECT_EQ(ini.ReadString("Other", "Empty", "-"), "");
  EXPECT_EQ(ini.ReadString("Other", "missing", "-"), "-");
  EXPECT_EQ(ini.ReadString("", "orphan", "-"), "-");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Personality", "personality", "Other"}));
  EXPECT_TRUE(ini.SectionExists("OTHER"));
}

TEST(IniText, Utf8SignatureIsNotPartOfTheFirstSection) {
  const TIniText ini("\xEF\xBB\xBF[TitlebarSkin]\r\nSkinName=x\r\n");
  EXPECT_EQ(ini.ReadString("TitlebarSkin", "SkinName", ""), "x");
}

TEST(IniText, ValuesAreCutAndQuotesOnlyStrippedInPairs) {
  const std::string longValue(3000, 'v');
  const TIniText ini("[S]\nLong=" + longValue + "\nHalf=\"open\nMixed='a\"\nEq=a=b\n");
  EXPECT_EQ(ini.ReadString("S", "Long", "").size(), TIniText::MaxValueLength);
  EXPECT_EQ(ini.ReadString("S", "Half", ""), "\"open");
  EXPECT_EQ(ini.ReadString("S", "Mixed", ""), "'a\"");
  EXPECT_EQ(ini.ReadString("S", "Eq", ""), "a=b");
}

TEST(IniText, SectionNameListIsLimitedLikeItsBuffer) {
  std::string text;
  const std::string name(99, 'n');  // 100 bytes with its terminator
  for (int i = 0; i < 200; ++i) text += "[" + name + "]\n";
  const auto sections = TIniText(text).ReadSections();
  ASSERT_EQ(sections.size(), 164u);  // 163 whole names and a cut one
  EXPECT_EQ(sections.back().size(), 16382u - 163u * 100u);
}

TEST(IniInteger, Forms) {
  const std::pair<const char*, int32_t> good[] = {
      {"12", 12},          {"-3", -3},      {"+4", 4},         {"0x1F", 31},     {"0XFF", 255},
      {"$10", 16},         {"0xFFFFFFFF", -1}, {"-2147483648", INT32_MIN}, {"2147483647", INT32_MAX},
      {"007", 7},          {"-$10", -16}};
  for (const auto& [text, value] : good) {
    int32_t v = 0;
    EXPECT_TRUE(ParseIniInteger(text, v)) << text;
    EXPECT_EQ(v, value) << text;
  }
  for (const char* text : {"", "12abc", "abc", "2147483648", "0x", "$", "-", "1 2", "0x100000000", "1.5"}) {
    int32_t v = 0;
    EXPECT_FALSE(ParseIniInteger(text, v)) << text;
  }
  const TIniText ini("[S]\nA= 42 \nB=x\n");
  EXPECT_EQ(ini.ReadInteger("S", "A", -1), 42);
  EXPECT_EQ(ini.ReadInteger("S", "B", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "C", 9), 9);
}

}  // namespace
}  // namespace qm
