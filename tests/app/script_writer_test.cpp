// The backup and restore scripts of the four operation pages, checked byte
// for byte against hand-written GBK files, and the checks before them.

#include "form_fixture.h"

namespace qm::test {
namespace {

using Strings = std::vector<std::string>;

const char* const Completion = "生成批处理文件完成，请退出WINDOW进到DOS下运行批处理文件。";

class ScriptTest : public FormTest {
 protected:
  void ExpectWritten(const std::string& backupName, const std::string& restoreName) {
    EXPECT_EQ(Host.Messages, Strings{Completion});
    EXPECT_EQ(Host.Order, (Strings{Form.BeiFenEdit.Text, Form.HuifuEdit.Text}));
    EXPECT_EQ(Host.Files[Form.BeiFenEdit.Text], ExpectedScript(backupName)) << backupName;
    EXPECT_EQ(Host.Files[Form.HuifuEdit.Text], ExpectedScript(restoreName)) << restoreName;
  }
  void HighCompressionNoOptionsSplitAt650() {
    Form.YaSuoComboBox1.ItemIndex = 2;
    Check(Form.fxCheckBox1, false);
    Check(Form.rbCheckBox1, false);
    Check(Form.froCheckBox1, false);
    Check(Form.splitCheckBox1, true);
    Type(Form.splitEdit1, "650");
  }
  void ExpectRefused(const std::string& message) {
    EXPECT_EQ(Host.Messages, Strings{message});
    EXPECT_TRUE(Host.Files.empty());
  }
};

// --- page 0

TEST_F(ScriptTest, PartitionImageDefaults) {
  Choose(0);
  Generate();
  ExpectWritten("fqbf_backup.bat", "fqbf_restore.bat");
  ASSERT_EQ(Backup().size(), 15u);
  ASSERT_EQ(Restore().size(), 20u);
  EXPECT_EQ(Backup()[5], "@echo 将1:1上的内容备份到文件C:\\QM\\WinBF.gho");
  EXPECT_EQ(Restore()[15], "@C:\\QM\\Ghost\\CHOICE 1:1上的数据将全部被覆盖，此分区上的数据将丢失，要继续吗?");
  // The buffer keeps the last script written.
  EXPECT_EQ(Form.Memo1.Lines, Restore());
}

class RootScriptTest : public ScriptTest {
 protected:
  RootScriptTest() {
    Form.FormCreate("C:\\");
  }
};

TEST_F(RootScriptTest, PartitionImageFromADriveRootWithEveryOptionChanged) {
  Type(Form.firstYinPanEdit, "2");
  Check(Form.SecondYinPanCheckBox, true);
  Type(Form.secondYinPanEdit, "3");
  Pick(Form.YinPanComboBox1, 1);
  Choose(0);
  Choose(2);
  HighCompressionNoOptionsSplitAt650();
  Generate();
  ExpectWritten("fqbf_root_backup.bat", "fqbf_root_restore.bat");
  EXPECT_EQ(Form.BeiFenEdit.Text, "C:\\\\BeiFen.bat");
}

TEST_F(ScriptTest, PartitionImageNeedsAChosenPartitionFirst) {
  Form.ghostEdit.Text.clear();
  Form.BeiFenEdit.Text.clear();
  Generate();
  ExpectRefused("请至少添加一个分区！");
}

TEST_F(ScriptTest, EmptyImagePathIsTheOnlyComplaintEvenWithoutScriptPaths) {
  Choose(0);
  Form.ghostEdit.Text.clear();
  Form.BeiFenEdit.Text.clear();
  Form.HuifuEdit.Text.clear();
  Generate();
  ExpectRefused("请选择一个映像文件！");
}

TEST_F(ScriptTest, ScriptPathsAreCheckedInOrderAndBlanksCountAsText) {
  Choose(0);
  Form.BeiFenEdit.Text.clear();
  Form.HuifuEdit.Text.clear();
  Generate();
  ExpectRefused("请选择一个备份文件！");
  Host.Messages.clear();
  Form.BeiFenEdit.Text = " ";
  Generate();
  ExpectRefused("请选择一个恢复文件！");
}

TEST_F(ScriptTest, PartitionImageOfTheSecondDisk) {
  Type(Form.firstYinPanEdit, "3");
  Check(Form.SecondYinPanCheckBox, true);
  Type(Form.secondYinPanEdit, "3");
  Pick(Form.YinPanComboBox1, 1);
  Choose(0);
  Choose(2);
  Generate();
  EXPECT_EQ(Backup()[11],
            "@If errorlevel 1 if not errorlevel 2 C:\\QM\\Ghost\\Ghost.exe -clone,mode=pdump,src=2:1:3,"
            "dst=C:\\QM\\WinBF.gho -sure -z1 -fx -rb -fro");
  EXPECT_EQ(Restore()[16],
            "@If errorlevel 1 if not errorlevel 2 C:\\QM\\Ghost\\Ghost.exe -clone,mode=pload,"
            "src=C:\\QM\\WinBF.gho:1:3,dst=2:1:3 -sure -fx -rb -fro");
  EXPECT_EQ(Restore()[5], "@echo 将文件将C:\\QM\\WinBF.gho:1:3中的内容恢复到2:1:3");
}

TEST_F(ScriptTest, CompressionHighWithOptionsClearedAndSplitting) {
  Choose(0);
  HighCompressionNoOptionsSplitAt650();
  Generate();
  const std::string line = Backup()[11];
  EXPECT_EQ(line.substr(line.find(" -sure")), " -sure -z3 -span -split=650");
  EXPECT_EQ(Backup()[6], "@echo 压缩率：高度压缩");
  // The restore shows the compression but passes neither it nor splitting.
  EXPECT_EQ(Restore()[6], "@echo 压缩率：高度压缩");
  EXPECT_EQ(Restore()[16].substr(Restore()[16].find(" -sure")), " -sure");
}

TEST_F(ScriptTest, NoCompressionPickedWritesNoCompressionOption) {
  Choose(0);
  Form.YaSuoComboBox1.ItemIndex = -1;
  Generate();
  EXPECT_EQ(Backup()[6], "@echo 压缩率：");
  EXPECT_EQ(Backup()[11].substr(Backup()[11].find(" -sure")), " -sure -fx -rb -fro");
}

TEST_F(ScriptTest, EachWriterReadsTheClockForItsOwnLine) {
  Choose(0);
  Generate();
  EXPECT_EQ(Backup()[8], "@echo 备份时间：2026/12/7 8:30:00");
  // One read to check the scripts can be written, one per writer.
  EXPECT_EQ(Host.ClockReads, 3);
}

TEST_F(ScriptTest, GeneratingAgainOverwritesBothFiles) {
  Choose(0);
  Generate();
  Host.Clock = {"2026/12/8", "9:00:01"};
  Generate();
  EXPECT_EQ(Backup()[8], "@echo 备份时间：2026/12/8 9:00:01");
  EXPECT_EQ(Restore()[8], "@echo 备份时间：2026/12/8 9:00:01");
  EXPECT_EQ(Host.Messages, (Strings{Completion, Completion}));
}

// --- page 1

TEST_F(ScriptTest, DiskImageDefaults) {
  ShowPage(1);
  Generate();
  EXPECT_EQ(Host.Messages, Strings{Completion});
  ASSERT_EQ(Backup().size(), 15u);
  ASSERT_EQ(Restore().size(), 20u);
  EXPECT_EQ(Backup()[11],
            "@If errorlevel 1 if not errorlevel 2 C:\\QM\\Ghost\\Ghost.exe -clone,mode=dump,src=1,"
            "dst=C:\\QM\\WinBF.gho -sure -z1 -fx -rb -fro");
  EXPECT_EQ(Restore()[16],
            "@If errorlevel 1 if not errorlevel 2 C:\\QM\\Ghost\\Ghost.exe -clone,mode=load,src=C:\\QM\\WinBF.gho,"
            "dst=1 -sure -fx -rb -fro");
  EXPECT_EQ(Restore()[5], "@echo 将文件将C:\\QM\\WinBF.gho中的内容恢复到第一硬盘");
}

TEST_F(ScriptTest, DiskImageResizeClauseFollowsTheDiskNumber) {
  ShowPage(1);
  Check(Form.szeCheckBox2, true);
  Generate();
  const std::string command = Restore()[16];
  EXPECT_EQ(command.substr(command.find(",dst=")), ",dst=1,sze1=30P,sze2=30P,sze3=40P -sure -fx -rb -fro");
  // The backup does not resize.
  EXPECT_EQ(Backup()[11].find("sze"), std::string::npos);
}

TEST_F(ScriptTest, DiskImageOfTheSecondDiskSplitAndResized) {
  Check(Form.SecondYinPanCheckBox, true);
  ShowPage(1);
  Pick(Form.YinPanComboBox2, 1);
  Form.YaSuoComboBox2.ItemIndex = 1;
  Check(Form.rbCheckBox2, false);
  Check(Form.splitCheckBox2, true);
  Type(Form.splitEdit2, "700");
  Check(Form.szeCheckBox2, true);
  Generate();
  ExpectWritten("ypbf_backup.bat", "ypbf_restore.bat");
  EXPECT_EQ(Form.splitEdit1.Text, "600");  // page 0's size plays no part
}

TEST_F(ScriptTest, DiskImageNeedsOnlyThePaths) {
  ShowPage(1);
  Form.ghostEdit.Text.clear();
  Generate();
  ExpectRefused("请选择一个映像文件！");
}

// --- page 2

TEST_F(ScriptTest, PartitionCopyBothWays) {
  Type(Form.firstYinPanEdit, "2");
  ShowPage(2);
  Form.FenQuComboBox32.ItemIndex = 1;
  Generate();
  ExpectWritten("fqdk_backup.bat", "fqdk_restore.bat");
  EXPECT_EQ(Backup().size(), 14u);
  EXPECT_EQ(Restore().size(), 14u);
}

TEST_F(ScriptTest, PartitionCopyAcrossDisksIsAccepted) {
  Check(Form.SecondYinPanCheckBox, true);
  ShowPage(2);
  Pick(Form.YinPanComboBox32, 1);
  Generate();
  EXPECT_EQ(Host.Messages, Strings{Completion});
  EXPECT_EQ(Backup()[5], "@echo 将1:1上的内容拷贝到2:1");
}

TEST_F(ScriptTest, PartitionCopyOntoItselfIsRefusedBeforeThePaths) {
  ShowPage(2);
  Form.BeiFenEdit.Text.clear();
  Form.HuifuEdit.Text.clear();
  Generate();
  ExpectRefused("源分区和目的分区不能是同一分区！");
}

// --- page 3

TEST_F(ScriptTest, DiskCopyInitialStateIsRefused) {
  ShowPage(3);
  Generate();
  ExpectRefused("源硬盘和目的硬盘不能是同一硬盘！");
}

TEST_F(ScriptTest, DiskCopyBothWaysEvenWithoutASecondDiskInTheSettings) {
  ShowPage(3);
  Form.YinPanComboBox42.ItemIndex = 1;
  Check(Form.fxCheckBox4, false);
  Generate();
  ExpectWritten("ypdk_backup.bat", "ypdk_restore.bat");
}

TEST_F(ScriptTest, DiskCopyNeedsBothScriptPaths) {
  ShowPage(3);
  Form.YinPanComboBox41.ItemIndex = 1;
  Form.HuifuEdit.Text.clear();
  Generate();
  ExpectRefused("请选择一个恢复文件！");
}

// --- failures while writing

TEST_F(ScriptTest, FailedBackupStopsBeforeTheRestoreAndTheCompletionMessage) {
  Choose(0);
  Host.FailingPath = Form.BeiFenEdit.Text;
  EXPECT_THROW(Generate(), EFCreateError);
  EXPECT_TRUE(Host.Files.empty());
  EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(ScriptTest, FailedRestoreKeepsTheBackupWritten) {
  Choose(0);
  Host.FailingPath = Form.HuifuEdit.Text;
  EXPECT_THROW(Generate(), EFCreateError);
  EXPECT_EQ(Host.Order, Strings{Form.BeiFenEdit.Text});
  EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(ScriptTest, TextOutsideGbkIsRefusedAndNothingIsWritten) {
  Choose(0);
  Form.ghostEdit.Text = "C:\\QM\\Ωmega\xF0\x9F\x98\x80.gho";  // Ω is in GBK, the emoji is not
  Generate();
  ASSERT_EQ(Host.Messages.size(), 1u);
  EXPECT_EQ(Host.Messages[0].rfind("以下内容不能用GBK编码写入批处理文件：", 0), 0u) << Host.Messages[0];
  EXPECT_NE(Host.Messages[0].find("Ωmega"), std::string::npos);
  // The characters at fault are named on their own.
  EXPECT_NE(Host.Messages[0].find("（无法编码的字符：\xF0\x9F\x98\x80）"), std::string::npos) << Host.Messages[0];
  EXPECT_TRUE(Host.Files.empty());
}

TEST_F(ScriptTest, RestoreOnlyTextOutsideGbkStillRefusesBoth) {
  Check(Form.szeCheckBox2, true);
  ShowPage(1);
  Form.szeEdit2.Text = "sze1=\xE2\x82\xA9";  // the won sign has no GBK code
  Generate();
  ASSERT_EQ(Host.Messages.size(), 1u);
  EXPECT_NE(Host.Messages[0].find("sze1="), std::string::npos);
  EXPECT_TRUE(Host.Files.empty());
}

TEST_F(ScriptTest, BytesThatAreNotUtf8AreRefusedAndShownAsReplacementCharacter) {
  ShowPage(1);
  Form.ghostEdit.Text = "C:\\a\xB0\xA1.gho";  // GBK bytes typed where UTF-8 belongs
  Generate();
  ASSERT_EQ(Host.Messages.size(), 1u);
  EXPECT_NE(Host.Messages[0].find("C:\\a\xEF\xBF\xBD\xEF\xBF\xBD.gho（无法编码的字符：\xEF\xBF\xBD）"),
            std::string::npos)
      << Host.Messages[0];
  EXPECT_TRUE(Host.Files.empty());
}

TEST_F(ScriptTest, LineBreakInAPathIsRefused) {
  ShowPage(1);
  Form.ghostEdit.Text = "C:\\a.gho\r\n@format c:";
  Generate();
  ASSERT_EQ(Host.Messages.size(), 1u);
  EXPECT_EQ(Host.Messages[0].rfind("以下内容含有换行符", 0), 0u);
  EXPECT_TRUE(Host.Files.empty());
}

TEST_F(ScriptTest, WriterCalledDirectlyRaisesOnUnwritableText) {
  ShowPage(1);
  Form.ghostEdit.Text = "\xF0\x9F\x98\x80";
  EXPECT_THROW(Form.YPBFBeiFen(), std::runtime_error);
  EXPECT_TRUE(Host.Files.empty());
}

// --- the command tail DOS hands Ghost: at most 126 bytes

// An image path of the given length in GBK bytes. A Chinese character is
// two bytes in the script, and DOS counts bytes.
std::string ImagePath(size_t bytes, bool chinese) {
  const std::string folder = chinese ? "D:\\映像\\" : "D:\\";
  return folder + std::string(bytes - (chinese ? 8 : 3) - 4, 'W') + ".gho";
}

std::string TailTooLong(size_t bytes) {
  return "Ghost 命令行太长（" + std::to_string(bytes) +
         " 个字符），DOS 最多只能传给程序 126 个字符。请缩短映像文件的路径或文件名。";
}

// GBK bytes after "Ghost.exe" in the line that runs Ghost.
size_t TailBytes(const Strings& script) {
  for (const std::string& line : script) {
    const size_t at = line.find("\\Ghost.exe ");
    if (line.rfind("@If errorlevel 1", 0) != 0 || at == std::string::npos) continue;
    std::string gbk;
    EXPECT_TRUE(Utf8ToGbk(line.substr(at + 10), gbk));
    return gbk.size();
  }
  ADD_FAILURE() << "no Ghost command";
  return 0;
}

struct TTailCase {
  const char* Name;
  int Page;
  bool Restore;  // the restore's command is the one at the limit, else the backup's
  bool Chinese;  // the image path holds Chinese characters
  size_t Bytes = 0;  // 126 or 127
};

void PrintTo(const TTailCase& c, std::ostream* out) { *out << c.Name << " at " << c.Bytes << " bytes"; }

// The tool folder is far longer than 126 characters: it precedes
// "Ghost.exe" and so is no part of the tail. The copy pages name no file,
// so their commands (55 bytes at most) never come near the limit.
class CommandTailTest : public ScriptTest, public ::testing::WithParamInterface<TTailCase> {
 protected:
  CommandTailTest() { Form.FormCreate("C:\\" + std::string(150, 'Q')); }

  // Makes the case's command tail exactly c.Bytes long, the other script's shorter.
  void Prepare(const TTailCase& c) {
    ShowPage(c.Page);
    if (c.Page == 0) {
      Choose(0);
      // " -clone,mode=pdump,src=1:1,dst=" + image + " -sure -z1 -fx -rb -fro" for the backup,
      // " -clone,mode=pload,src=" + image + ":1,dst=1:1 -sure -fx -rb -fro" for the restore,
      // which without a compression pick is the longer one.
      if (c.Restore) Form.YaSuoComboBox1.ItemIndex = -1;
      Form.ghostEdit.Text = ImagePath(c.Bytes - (c.Restore ? 52 : 54), c.Chinese);
    } else if (!c.Restore) {
      // " -clone,mode=dump,src=1,dst=" + image + " -sure -z1 -fx -rb -fro"
      Form.ghostEdit.Text = ImagePath(c.Bytes - 51, c.Chinese);
    } else {
      // " -clone,mode=load,src=" + image + ",dst=1," + clause + " -sure -fx -rb -fro"
      Form.ghostEdit.Text = ImagePath(20, c.Chinese);
      Check(Form.szeCheckBox2, true);
      Form.szeEdit2.Text = "sze1=" + std::string(c.Bytes - 68 - 6, '9') + "P";
    }
  }
};

TEST_P(CommandTailTest, LongestCommandIsWrittenAndOneByteMoreWritesNothing) {
  const TTailCase& c = GetParam();
  Prepare(c);
  const Strings backup = Form.BackupScriptLines(c.Page, Host.Clock);
  const Strings restore = Form.RestoreScriptLines(c.Page, Host.Clock);
  ASSERT_EQ(TailBytes(c.Restore ? restore : backup), c.Bytes);
  ASSERT_LT(TailBytes(c.Restore ? backup : restore), c.Bytes);

  Generate();
  if (c.Bytes <= 126) {
    EXPECT_EQ(Host.Messages, Strings{Completion});
    EXPECT_EQ(Backup(), backup);
    EXPECT_EQ(Restore(), restore);
  } else {
    ExpectRefused(TailTooLong(c.Bytes));
  }
}

std::vector<TTailCase> TailCases() {
  const TTailCase kinds[] = {{"PartitionImageBackup", 0, false, false},   {"PartitionImageRestore", 0, true, false},
                             {"PartitionImageChinese", 0, false, true},   {"DiskImageBackup", 1, false, false},
                             {"DiskImageBackupChinese", 1, false, true},  {"DiskImageRestoreResized", 1, true, false}};
  std::vector<TTailCase> cases;
  for (TTailCase c : kinds) {
    for (size_t bytes : {126u, 127u}) {
      c.Bytes = bytes;
      cases.push_back(c);
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(AtTheLimit, CommandTailTest, ::testing::ValuesIn(TailCases()),
                         [](const ::testing::TestParamInfo<TTailCase>& info) {
                           return std::string(info.param.Name) + "_" + std::to_string(info.param.Bytes);
                         });

}  // namespace
}  // namespace qm::test
