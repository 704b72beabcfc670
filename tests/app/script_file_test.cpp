// Writing script files, the code page they are written in, the clock of
// line 9 and the program folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "form_host.h"
#include "gbk.h"
#include "local_clock.h"
#include "program_folder.h"
#include "script_file.h"
#include "test_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qm {
namespace {

namespace fs = std::filesystem;

using test::PathOf;
using test::ReadAll;
using test::Utf8Of;

class ScriptFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = qm::test::FreshTestFolder("qm-script-file");
  }
  void TearDown() override { fs::remove_all(Dir); }

  // Only the named files are in the folder: no temporary file stays behind.
  void ExpectOnlyFiles(std::initializer_list<const char*> names) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Dir)) ++count;
    EXPECT_EQ(count, names.size());
    for (const char* name : names) EXPECT_TRUE(fs::exists(Dir / PathOf(name))) << name;
  }

  fs::path Dir;
};

TEST_F(ScriptFileTest, WritesExactlyTheBytesAndReplacesWholeContent) {
  const fs::path target = Dir / "BeiFen.bat";
  { std::ofstream(target, std::ios::binary) << std::string(5000, 'x'); }
  const std::string bytes("@echo.\r\n\x00\xC6\xF4\r\n", 12);
  SaveScriptFile(Utf8Of(target), bytes);
  EXPECT_EQ(ReadAll(target), bytes);
  ExpectOnlyFiles({"BeiFen.bat"});
}

TEST_F(ScriptFileTest, WritesUnderAChineseName) {
  const fs::path target = Dir / PathOf("恢复.bat");
  SaveScriptFile(Utf8Of(target), "x\r\n");
  EXPECT_EQ(ReadAll(target), "x\r\n");
}

TEST_F(ScriptFileTest, MissingFolderNamesTheFullPathAndTheReason) {
  const std::string target = Utf8Of(Dir / "missing" / "HuiFu.bat");
  try {
    SaveScriptFile(target, "x\r\n");
    FAIL() << "no error for a missing folder";
  } catch (const EFCreateError& e) {
    const std::string prefix = "无法创建文件 \"" + FullPathOf(target) + "\"。";
    const std::string message = e.what();
    EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
    EXPECT_GT(message.size(), prefix.size()) << "no system reason";
  }
  ExpectOnlyFiles({});
}

TEST_F(ScriptFileTest, FailedReplaceLeavesTheTargetAndNoTemporaryFile) {
  // A folder where the script should go: the file is written beside it, but
  // moving it into place fails.
  fs::create_directory(Dir / "BeiFen.bat");
  { std::ofstream(Dir / "BeiFen.bat" / "keep.txt") << "kept"; }
  EXPECT_THROW(SaveScriptFile(Utf8Of(Dir / "BeiFen.bat"), "new\r\n"), EFCreateError);
  EXPECT_TRUE(fs::is_directory(Dir / "BeiFen.bat"));
  EXPECT_EQ(ReadAll(Dir / "BeiFen.bat" / "keep.txt"), "kept");
  ExpectOnlyFiles({"BeiFen.bat"});
}

TEST_F(ScriptFileTest, EmptyPathIsRefused) { EXPECT_THROW(SaveScriptFile("", "x"), EFCreateError); }

TEST(FullPath, RelativePathsBecomeAbsolute) {
  const std::string full = FullPathOf("out.bat");
  EXPECT_TRUE(PathOf(full).is_absolute()) << full;
  EXPECT_EQ(PathOf(full).filename(), "out.bat");
}

// --- code page 936

TEST(Gbk, ConvertsChineseToItsTwoByteCodes) {
  std::string gbk;
  ASSERT_TRUE(Utf8ToGbk("启明 A:\\", gbk));
  EXPECT_EQ(gbk, "\xC6\xF4\xC3\xF7 A:\\");
  std::string back;
  ASSERT_TRUE(GbkToUtf8(gbk, back));
  EXPECT_EQ(back, "启明 A:\\");
  EXPECT_TRUE(Utf8ToGbk("", gbk));
  EXPECT_TRUE(gbk.empty());
}

TEST(Gbk, FullWidthPunctuationOfTheScriptsIsGbk) {
  std::string gbk;
  ASSERT_TRUE(Utf8ToGbk("：，！", gbk));
  EXPECT_EQ(gbk, "\xA3\xBA\xA3\xAC\xA3\xA1");
}

TEST(Gbk, RefusesWhatTheCodePageCannotHoldInsteadOfSubstituting) {
  std::string gbk;
  EXPECT_FALSE(Utf8ToGbk("C:\\\xF0\x9F\x98\x80.gho", gbk));  // emoji
  EXPECT_FALSE(Utf8ToGbk("\xED\x95\x9C", gbk));              // Hangul syllable
  EXPECT_FALSE(Utf8ToGbk("abc\xFF", gbk));                   // not UTF-8
  EXPECT_FALSE(Utf8ToGbk("\xE5\x90", gbk));                  // cut short
}

// --- clock

TEST(Clock, ParsesOnlyRealDatesAndTimes) {
  TClockReading r;
  ASSERT_TRUE(ParseClockReading("2026-12-07 08:30:00", r));
  EXPECT_EQ(r.Year, 2026);
  EXPECT_EQ(r.Day, 7);
  EXPECT_EQ(r.Hour, 8);
  EXPECT_TRUE(ParseClockReading("2028-02-29 23:59:59", r));
  for (const char* bad : {"2027-02-29 00:00:00", "2026-12-07 24:00:00", "2026-13-01 00:00:00",
                          "2026-12-07T08:30:00", "2026-12-7 08:30:00", "2026-12-07 08:30", "1600-01-01 00:00:00",
                          "2026-12-07 08:30:00 ", "abcd-ef-gh ij:kl:mn"})
    EXPECT_FALSE(ParseClockReading(bad, r)) << bad;
}

TEST(Clock, ChineseFormsDropLeadingZerosOfDateAndHourOnly) {
  const TLocalTime t = ChineseDateTime({2026, 12, 7, 8, 30, 0});
  EXPECT_EQ(t.Date, "2026/12/7");
  EXPECT_EQ(t.Time, "8:30:00");
  const TLocalTime u = ChineseDateTime({2027, 1, 31, 23, 5, 9});
  EXPECT_EQ(u.Date, "2027/1/31");
  EXPECT_EQ(u.Time, "23:05:09");
}

TEST(Clock, LocaleFormsShowTheReading) {
  const TLocalTime t = FormatLocalTime({2026, 12, 7, 18, 30, 45});
#ifdef _WIN32
  // Whatever the user's forms, the year, the minutes and seconds show.
  EXPECT_NE(t.Date.find("2026"), std::string::npos) << t.Date;
  EXPECT_NE(t.Time.find("30"), std::string::npos) << t.Time;
  EXPECT_NE(t.Time.find("45"), std::string::npos) << t.Time;
  // Under a Chinese user locale (as the test prefix has) these are the short
  // date and long time forms, not the long date or a time without seconds.
  if (PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_CHINESE &&
      SUBLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == SUBLANG_CHINESE_SIMPLIFIED) {
    EXPECT_EQ(t.Date, "2026/12/7");
    EXPECT_EQ(t.Time, "18:30:45");
  }
#else
  EXPECT_EQ(t.Date, "2026/12/7");
  EXPECT_EQ(t.Time, "18:30:45");
#endif
}

TEST(Clock, NowHasADateAndATime) {
  const TLocalTime now = LocalNow();
  EXPECT_FALSE(now.Date.empty());
  EXPECT_FALSE(now.Time.empty());
}

// --- program folder

TEST(ProgramFolder, DriveRootKeepsItsBackslashOtherFoldersLoseIt) {
  EXPECT_EQ(DirectoryOfPath("C:\\QM\\QiMing.exe"), "C:\\QM");
  EXPECT_EQ(DirectoryOfPath("C:\\QiMing.exe"), "C:\\");
  EXPECT_EQ(DirectoryOfPath("\\\\server\\share\\QiMing.exe"), "\\\\server\\share");
  EXPECT_EQ(DirectoryOfPath("/opt/qm/qiming-cli"), "/opt/qm");
  EXPECT_EQ(DirectoryOfPath("/qiming-cli"), "/");
  EXPECT_EQ(DirectoryOfPath("QiMing.exe"), "");
}

TEST(ProgramFolder, UserGivenFolderDropsTrailingSeparatorsUnlessRoot) {
  EXPECT_EQ(NormalizeFolder("C:\\QM\\"), "C:\\QM");
  EXPECT_EQ(NormalizeFolder("C:\\QM\\\\"), "C:\\QM");
  EXPECT_EQ(NormalizeFolder("C:\\"), "C:\\");
  EXPECT_EQ(NormalizeFolder("C:\\\\"), "C:\\");
  EXPECT_EQ(NormalizeFolder("D:/"), "D:/");
  EXPECT_EQ(NormalizeFolder("out/"), "out");
  EXPECT_EQ(NormalizeFolder("/"), "/");
  EXPECT_EQ(NormalizeFolder("C:\\QM"), "C:\\QM");
}

TEST(ProgramFolder, OwnFolderHoldsThisExecutable) {
  const std::string folder = OwnProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(fs::is_directory(PathOf(folder))) << folder;
}

}  // namespace
}  // namespace qm
