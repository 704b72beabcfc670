// Two script paths that name one file would leave only the script written
// last: the generate button refuses them, judging sameness as Windows does.

#include "form_fixture.h"
#include "same_file.h"

namespace qm::test {
namespace {

TEST(SameFile, SpellingsWindowsOpensAsOneFile) {
  struct Row {
    const char* a;
    const char* b;
    bool same;
  };
  const Row rows[] = {
      {"C:\\QM\\BACKUP.BAT", "c:\\qm\\backup.bat", true},
      {"C:/QM/BeiFen.bat", "C:\\QM\\BeiFen.bat", true},
      {"BeiFen.bat", "C:\\QM\\BeiFen.bat", true},             // relative: from the program folder
      {".\\sub\\..\\BeiFen.bat", "C:\\QM\\BeiFen.bat", true},
      {"..\\QM\\BeiFen.bat", "BeiFen.bat", true},
      {"\\QM\\BeiFen.bat", "C:\\QM\\BeiFen.bat", true},       // rooted: on the program's drive
      {"c:BeiFen.bat", "C:\\QM\\BeiFen.bat", true},           // the program's drive, its folder
      {"C:\\QM\\BeiFen.bat.", "C:\\QM\\BeiFen.bat", true},
      {"C:\\QM\\BeiFen.bat . .", "C:\\QM\\BeiFen.bat", true},
      {"C:\\QM.\\\\BeiFen.bat", "C:\\QM\\BeiFen.bat", true},
      {"C:\\..\\QM\\BeiFen.bat", "C:\\QM\\BeiFen.bat", true},
      {"\\\\?\\C:\\QM\\BeiFen.bat", "C:\\QM\\BeiFen.bat", true},
      {"\\\\srv\\share\\x.bat", "//SRV/Share/X.BAT", true},
      {"\\\\?\\UNC\\srv\\share\\x.bat", "\\\\srv\\share\\x.bat", true},
      {"C:\\QM\\ＡäǎΩяё.bat", "C:\\QM\\ａÄǍωЯЁ.bat", true},  // every cased letter GBK holds
      {"C:\\QM\\BeiFen.bat", "C:\\QM\\BeiFen.bak", false},
      {"C:\\QM\\BeiFen.bat", "D:\\QM\\BeiFen.bat", false},
      {"C:\\QM\\BeiFen.bat", "C:\\QM\\ BeiFen.bat", false},    // a leading blank is part of the name
      {"C:\\QM\\启明.bat", "C:\\QM\\向导.bat", false},
      {"d:BeiFen.bat", "D:\\BeiFen.bat", false},              // another drive's current folder is unknown
      {"\\\\srv\\share\\x.bat", "\\\\srv\\other\\x.bat", false},
      {"BeiFen.bat", "C:\\BeiFen.bat", false},
  };
  for (const Row& row : rows)
    EXPECT_EQ(NameSameFile(row.a, {}, row.b, {}, "C:\\QM"), row.same) << row.a << " | " << row.b;
  // A program in a drive root names its files with two backslashes.
  EXPECT_TRUE(NameSameFile("C:\\\\BeiFen.bat", {}, "beifen.bat", {}, "C:\\"));
  // Without a folder, a relative spelling equals only itself.
  EXPECT_FALSE(NameSameFile("x.bat", {}, "\\x.bat", {}, ""));
  EXPECT_FALSE(NameSameFile("..\\x.bat", {}, "x.bat", {}, ""));
  EXPECT_TRUE(NameSameFile("a\\..\\x.bat", {}, "X.BAT", {}, ""));
}

// The file system's word counts where the text cannot tell: an alias or a
// link (one identity), a relative path written from the current folder.
TEST(SameFile, WhatTheFileSystemSaysDecidesWhereTheTextCannot) {
  const std::string folder = "C:\\QM";
  EXPECT_TRUE(NameSameFile("BEIFEN~1.BAT", {"", "7:0:42"}, "BeiFenLong.bat", {"", "7:0:42"}, folder));
  EXPECT_TRUE(NameSameFile("HuiFu.bat", {"D:\\cwd\\HuiFu.bat", ""}, "D:\\CWD\\huifu.bat", {"D:\\CWD\\huifu.bat", ""},
                           folder));
  EXPECT_FALSE(NameSameFile("a.bat", {"C:\\QM\\a.bat", "7:0:42"}, "b.bat", {"C:\\QM\\b.bat", "7:0:43"}, folder));
}

class ClashTest : public FormTest {
 protected:
  void SetUp() override {
    // Every page can write: two disks, two partitions each, one chosen.
    Type(Form.firstYinPanEdit, "2");
    Check(Form.SecondYinPanCheckBox, true);
    Choose(0);
    Pick(Form.FenQuComboBox32, 1);
    Pick(Form.YinPanComboBox42, 1);
  }
};

TEST_F(ClashTest, EveryPageRefusesTwoFieldsNamingOneFileAndWritesNothing) {
  const std::string backupRestore =
      "“备份文件”和“恢复文件”指向同一个文件，恢复批处理文件会覆盖备份批处理文件。请为它们选择不同的文件。";
  struct Row {
    const char* backup;
    const char* restore;
    const char* image;
    std::string message;
  };
  const Row rows[] = {
      {"BACKUP.BAT", "BACKUP.BAT", "C:\\QM\\WinBF.gho", backupRestore},
      {"C:\\QM\\BeiFen.bat", "c:/qm/beifen.bat.", "C:\\QM\\WinBF.gho", backupRestore},
      {"C:\\QM\\WinBF.gho", "C:\\QM\\HuiFu.bat", "winbf.gho",
       "“备份文件”和“映像文件”指向同一个文件，批处理文件会覆盖映像文件。请为它们选择不同的文件。"},
      {"C:\\QM\\BeiFen.bat", "C:\\QM\\WinBF.gho ", "C:\\QM\\WinBF.gho",
       "“恢复文件”和“映像文件”指向同一个文件，批处理文件会覆盖映像文件。请为它们选择不同的文件。"},
      // All three alike: the first pair is named.
      {"x.bat", "X.BAT", "x.bat", backupRestore},
  };
  for (int page : {0, 1, 2, 3}) {
    ShowPage(page);
    for (const Row& row : rows) {
      Form.BeiFenEdit.Text = row.backup;
      Form.HuifuEdit.Text = row.restore;
      Form.ghostEdit.Text = row.image;
      Host.Messages.clear();
      Generate();
      EXPECT_EQ(Host.Messages, std::vector<std::string>{row.message}) << "page " << page << ": " << row.backup;
    }
  }
  EXPECT_TRUE(Host.Files.empty());
  EXPECT_EQ(Host.ClockReads, 0);

  // An alias only the file system knows is refused the same way.
  ShowPage(0);
  Form.BeiFenEdit.Text = "C:\\QM\\BEIFEN~1.BAT";
  Form.HuifuEdit.Text = "C:\\QM\\BeiFenLongName.bat";
  Host.Facts[Form.BeiFenEdit.Text].FileId = Host.Facts[Form.HuifuEdit.Text].FileId = "7:0:42";
  Host.Messages.clear();
  Generate();
  EXPECT_EQ(Host.Messages, std::vector<std::string>{backupRestore});
  EXPECT_TRUE(Host.Files.empty());
}

TEST_F(ClashTest, RestorePathThatBecomesTheNewBackupsAliasIsNotWrittenOverIt) {
  Form.BeiFenEdit.Text = "C:\\QM\\BeiFenLongName.bat";
  Form.HuifuEdit.Text = "C:\\QM\\BEIFEN~1.BAT";
  Host.ShortNames[Form.BeiFenEdit.Text] = Form.HuifuEdit.Text;
  Generate();
  EXPECT_EQ(Host.Order, std::vector<std::string>{"C:\\QM\\BeiFenLongName.bat"});
  ASSERT_EQ(Host.Messages.size(), 1u);
  EXPECT_EQ(Host.Messages[0].rfind("“备份文件”和“恢复文件”指向同一个文件", 0), 0u) << Host.Messages[0];
}

}  // namespace
}  // namespace qm::test
