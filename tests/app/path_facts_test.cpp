// What this machine's file system says about a path, read from real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "path_facts.h"
#include "same_file.h"
#include "test_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qm {
namespace {

namespace fs = std::filesystem;

using test::Utf8Of;

class PathFactsTest : public ::testing::Test {
 protected:
  void SetUp() override { Dir = test::FreshTestFolder("qm-path-facts"); }
  void TearDown() override { fs::remove_all(Dir); }
  bool Same(const std::string& a, const std::string& b) {
    return NameSameFile(a, ReadPathFacts(a), b, ReadPathFacts(b), "");
  }
  fs::path Dir;
};

TEST_F(PathFactsTest, ExistingFileHasAnIdentityItsLinksShareAndAFileToBeWrittenHasNone) {
  const fs::path file = Dir / "BeiFen.bat";
  { std::ofstream(file) << "@echo.\r\n"; }
  fs::create_hard_link(file, Dir / "Link.bat");
  EXPECT_TRUE(Same(Utf8Of(file), Utf8Of(Dir / "Link.bat")));
  const TPathFacts missing = ReadPathFacts(Utf8Of(Dir / "HuiFu.bat"));
  EXPECT_TRUE(missing.FileId.empty());
  EXPECT_TRUE(test::PathOf(missing.LongPath).is_absolute()) << missing.LongPath;
}

#ifdef _WIN32
std::wstring ShortPathOf(const fs::path& path) {
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

TEST_F(PathFactsTest, ShortAliasesOfTheFileAndOfItsFolderNameTheLongFile) {
  const fs::path folder = Dir / "Long Folder Name";
  fs::create_directory(folder);
  const fs::path file = folder / "BeiFenLongName.bat";
  { std::ofstream(file) << "@echo.\r\n"; }
  const std::wstring shortFile = ShortPathOf(file), shortFolder = ShortPathOf(folder);
  ASSERT_FALSE(shortFile.empty());
  ASSERT_NE(shortFile, file.wstring()) << "the file system gives no short names";
  EXPECT_TRUE(Same(Utf8Of(shortFile), Utf8Of(file)));
  // A script still to be written, in a folder spelt by its alias.
  EXPECT_TRUE(Same(Utf8Of(fs::path(shortFolder) / "HuiFu.bat"), Utf8Of(folder / "huifu.bat")));
  EXPECT_FALSE(Same(Utf8Of(fs::path(shortFolder) / "HuiFu.bat"), Utf8Of(file)));
}
#endif

}  // namespace
}  // namespace qm
