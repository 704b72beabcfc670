// Runs the real qiming-cli executable that sits beside this test and checks
// its output, exit status and the files it writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "program_folder.h"
#include "test_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;

using qm::test::PathOf;
using qm::test::ReadAll;
using qm::test::Utf8Of;

std::string Expected(const std::string& name) { return ReadAll(PathOf(QM_EXPECTED_DIR) / name); }

struct TRun {
  int Status = -1;
  std::string Out, Err;
};

#ifdef _WIN32

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

// Quoting that CommandLineToArgvW reads back as the same argument.
std::wstring Quote(const std::wstring& arg) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

TRun RunTool(const std::vector<std::string>& args, const fs::path& scratch) {
  const std::wstring tool = Wide(qm::OwnProgramFolder()) + L"\\qiming-cli.exe";
  std::wstring line = Quote(tool);
  for (const std::string& arg : args) line += L" " + Quote(Wide(arg));
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const fs::path outPath = scratch / "stdout.txt", errPath = scratch / "stderr.txt";
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  TRun run;
  if (CreateProcessW(tool.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    run.Status = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  run.Out = ReadAll(outPath);
  run.Err = ReadAll(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return run;
}

#else

TRun RunTool(const std::vector<std::string>& args, const fs::path& scratch) {
  std::string line = qm::test::ShellQuote(qm::OwnProgramFolder() + "/qiming-cli");
  for (const std::string& arg : args) line += " " + qm::test::ShellQuote(arg);
  const fs::path outPath = scratch / "stdout.txt", errPath = scratch / "stderr.txt";
  line += " >" + qm::test::ShellQuote(outPath.string()) + " 2>" + qm::test::ShellQuote(errPath.string());
  TRun run;
  const int status = std::system(line.c_str());
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Out = ReadAll(outPath);
  run.Err = ReadAll(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return run;
}

#endif

const std::string Completion = "message: 生成批处理文件完成，请退出WINDOW进到DOS下运行批处理文件。\n";

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = qm::test::FreshTestFolder("qm-cli");
  }
  void TearDown() override { fs::remove_all(Dir); }

  std::string BackupPath() const { return Utf8Of(Dir / "BeiFen.bat"); }
  std::string RestorePath() const { return Utf8Of(Dir / "HuiFu.bat"); }

  // The tool at C:\QM writing into this test's folder.
  TRun Run(std::vector<std::string> actions) {
    std::vector<std::string> args = {"--program-dir", "C:\\QM", "--now", "2026-12-07 08:30:00",
                                     "BeiFenEdit=" + BackupPath(), "HuifuEdit=" + RestorePath()};
    args.insert(args.end(), actions.begin(), actions.end());
    return RunTool(args, Dir);
  }

  void ExpectUsageError(const std::vector<std::string>& actions, const std::string& named) {
    const TRun run = Run(actions);
    EXPECT_EQ(run.Status, 2) << named;
    EXPECT_EQ(run.Out, "") << named;
    EXPECT_NE(run.Err.find(named), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_FALSE(fs::exists(Dir / "BeiFen.bat")) << named;
    EXPECT_FALSE(fs::exists(Dir / "HuiFu.bat")) << named;
  }

  fs::path Dir;
};

TEST_F(CliTest, DemoCallWritesTheSameBytesAsTheWindow) {
  const TRun run = Run({"FenQuListBox0#0", "click:moveButton1", "click:RunButton"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, Completion);
  EXPECT_EQ(ReadAll(Dir / "BeiFen.bat"), Expected("fqbf_backup.bat"));
  EXPECT_EQ(ReadAll(Dir / "HuiFu.bat"), Expected("fqbf_restore.bat"));
}

#ifdef _WIN32
TEST_F(CliTest, DemoCallWritesIntoTheProgramFolderByDefault) {
  fs::create_directories("C:\\QM");
  for (const char* name : {"C:\\QM\\BeiFen.bat", "C:\\QM\\HuiFu.bat"}) fs::remove(name);
  const TRun run = RunTool({"--program-dir", "C:\\QM", "--now", "2026-12-07 08:30:00", "FenQuListBox0#0",
                            "click:moveButton1", "click:RunButton"},
                           Dir);
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(ReadAll("C:\\QM\\BeiFen.bat"), Expected("fqbf_backup.bat"));
  EXPECT_EQ(ReadAll("C:\\QM\\HuiFu.bat"), Expected("fqbf_restore.bat"));
  for (const char* name : {"C:\\QM\\BeiFen.bat", "C:\\QM\\HuiFu.bat"}) fs::remove(name);
}
#endif

TEST_F(CliTest, DriveRootProgramFolderWithEveryOptionChanged) {
  const TRun run = RunTool({"--program-dir", "C:\\\\", "--now", "2026-12-07 08:30:00", "BeiFenEdit=" + BackupPath(),
                            "HuifuEdit=" + RestorePath(), "firstYinPanEdit=2", "+SecondYinPanCheckBox",
                            "secondYinPanEdit=3", "YinPanComboBox1#1", "FenQuListBox0#0", "click:moveButton1",
                            "FenQuListBox0#2", "click:moveButton1", "YaSuoComboBox1#2", "-fxCheckBox1",
                            "-rbCheckBox1", "-froCheckBox1", "+splitCheckBox1", "splitEdit1=650", "click:RunButton"},
                           Dir);
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, Completion);
  EXPECT_EQ(ReadAll(Dir / "BeiFen.bat"), Expected("fqbf_root_backup.bat"));
  EXPECT_EQ(ReadAll(Dir / "HuiFu.bat"), Expected("fqbf_root_restore.bat"));
}

TEST_F(CliTest, ProgramFolderLosesATrailingBackslashUnlessItIsARoot) {
  TRun run = RunTool({"--program-dir", "C:\\QM\\", "dump:ghostEdit"}, Dir);
  EXPECT_EQ(run.Out, "dump: ghostEdit text=\"C:\\QM\\WinBF.gho\" items=- index=- checked=- enabled=1\n");
  run = RunTool({"--program-dir", "D:\\", "dump:HuifuEdit"}, Dir);
  EXPECT_EQ(run.Out, "dump: HuifuEdit text=\"D:\\\\HuiFu.bat\" items=- index=- checked=- enabled=1\n");
}

TEST_F(CliTest, DefaultProgramFolderIsTheToolsOwn) {
  const TRun run = RunTool({"dump:BeiFenEdit"}, Dir);
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "dump: BeiFenEdit text=\"" + qm::OwnProgramFolder() +
                         "\\BeiFen.bat\" items=- index=- checked=- enabled=1\n");
}

TEST_F(CliTest, DumpShowsEntriesIndexCheckAndEnabledState) {
  const TRun run = Run({"dump:FenQuListBox0", "dump:YaSuoComboBox1", "dump:splitCheckBox1", "dump:splitEdit1",
                        "page=4", "dump:PageControl1", "dump:Panel1", "dump:RunButton"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "dump: FenQuListBox0 text=\"\" items=[\"第一分区C:[]\"] index=-1 checked=- enabled=1\n"
            "dump: YaSuoComboBox1 text=\"快速压缩\" items=[\"快速压缩\",\"中度压缩\",\"高度压缩\"] index=0 "
            "checked=- enabled=1\n"
            "dump: splitCheckBox1 text=\"将映像文件分卷，每卷\" items=- index=- checked=0 enabled=1\n"
            "dump: splitEdit1 text=\"600\" items=- index=- checked=- enabled=0\n"
            "dump: PageControl1 text=- items=- index=4 checked=- enabled=1\n"
            "dump: Panel1 text=- items=- index=- checked=- enabled=0\n"
            "dump: RunButton text=\"生成批处理文件\" items=- index=- checked=- enabled=1\n");
}

TEST_F(CliTest, MessagesAreLinesAndHandlersRunAsInTheWindow) {
  const TRun ok = Run({"click:RunButton", "firstYinPanEdit=abc", "dump:firstYinPanEdit"});
  EXPECT_EQ(ok.Status, 0);
  EXPECT_EQ(ok.Out,
            "message: 请至少添加一个分区！\n"
            "message: 请输入1~10的数字。\n"
            "dump: firstYinPanEdit text=\"1\" items=- index=- checked=- enabled=1\n");
  EXPECT_FALSE(fs::exists(Dir / "BeiFen.bat"));
}

TEST_F(CliTest, CheckBoxActionRunsTheHandlerOnlyOnAChange) {
  const TRun run = Run({"+splitCheckBox1", "+splitCheckBox1", "splitEdit1=0", "dump:splitEdit1", "-splitCheckBox1",
                        "dump:splitEdit1"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out,
            "dump: splitEdit1 text=\"1\" items=- index=- checked=- enabled=1\n"
            "dump: splitEdit1 text=\"1\" items=- index=- checked=- enabled=0\n");
}

TEST_F(CliTest, ExitButtonEndsTheRunAndNothingAfterItHappens) {
  const TRun run = Run({"FenQuListBox0#0", "click:moveButton1", "dump:FenQuListBox1", "click:Button2",
                        "dump:FenQuListBox1", "click:RunButton", "splitEdit1=5"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "dump: FenQuListBox1 text=\"\" items=[\"1:1\"] index=-1 checked=- enabled=1\n");
  EXPECT_FALSE(fs::exists(Dir / "BeiFen.bat"));
  EXPECT_FALSE(fs::exists(Dir / "HuiFu.bat"));
}

TEST_F(CliTest, FailedWriteIsReportedAndTheRunEndsWithStatusOne) {
  const std::string missing = Utf8Of(Dir / "missing" / "BeiFen.bat");
  const TRun run = Run({"BeiFenEdit=" + missing, "FenQuListBox0#0", "click:moveButton1", "click:RunButton",
                        "dump:FenQuListBox1"});
  EXPECT_EQ(run.Status, 1);
  const std::string firstLine = run.Out.substr(0, run.Out.find('\n'));
  EXPECT_EQ(firstLine.rfind("error: 无法创建文件 \"", 0), 0u) << run.Out;
  EXPECT_NE(firstLine.find("BeiFen.bat\"。"), std::string::npos) << run.Out;
  // The run goes on after the error box, but no restore and no completion.
  EXPECT_EQ(run.Out.find("message:"), std::string::npos);
  EXPECT_NE(run.Out.find("dump: FenQuListBox1 text=\"\" items=[\"1:1\"]"), std::string::npos);
  EXPECT_FALSE(fs::exists(Dir / "HuiFu.bat"));
}

TEST_F(CliTest, TextOutsideGbkIsRefusedWithAMessage) {
  const TRun run = Run({"page=1", "ghostEdit=C:\\\xED\x95\x9C.gho", "click:RunButton"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out.rfind("message: 以下内容不能用GBK编码写入批处理文件：", 0), 0u) << run.Out;
  EXPECT_FALSE(fs::exists(Dir / "BeiFen.bat"));
}

TEST_F(CliTest, GhostCommandTooLongForDosIsRefusedWithAMessage) {
  // " -clone,mode=dump,src=1,dst=" + image + " -sure -z1 -fx -rb -fro": 127 bytes.
  const TRun run = Run({"page=1", "ghostEdit=D:\\" + std::string(69, 'W') + ".gho", "click:RunButton"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "message: Ghost 命令行太长（127 个字符），DOS 最多只能传给程序 126 个字符。"
            "请缩短映像文件的路径或文件名。\n");
  EXPECT_FALSE(fs::exists(Dir / "BeiFen.bat"));
  EXPECT_FALSE(fs::exists(Dir / "HuiFu.bat"));
}

// Refused like any other input the check turns down: a message, nothing
// written, exit status 0.
TEST_F(CliTest, ScriptPathsNamingOneFileAreRefusedAndEveryFileKeepsItsContent) {
  const std::string both = "message: “备份文件”和“恢复文件”指向同一个文件，恢复批处理文件会覆盖备份批处理文件。请为它们选择不同的文件。\n";
  const std::string dir = Utf8Of(Dir);
  { std::ofstream(Dir / "BACKUP.BAT", std::ios::binary) << "old"; }
  fs::create_hard_link(Dir / "BACKUP.BAT", Dir / "Link.bat");
  struct Row {
    std::string Backup, Restore, Message;
  };
  std::vector<Row> rows = {
      {dir + "/BACKUP.BAT", dir + "/backup.bat", both},
      {dir + "\\BACKUP.BAT", dir + "/BACKUP.BAT", both},
      {"BACKUP.BAT", dir + "/BACKUP.BAT", both},  // relative: from the program folder
      {dir + "/BACKUP.BAT.", dir + "/BACKUP.BAT", both},
      {dir + "/BACKUP.BAT", dir + "/BACKUP.BAT ", both},
      {dir + "/Link.bat", dir + "/BACKUP.BAT", both},
      {dir + "/BACKUP.BAT", "winbf.gho",
       "message: “恢复文件”和“映像文件”指向同一个文件，批处理文件会覆盖映像文件。请为它们选择不同的文件。\n"},
  };
#ifdef _WIN32
  { std::ofstream(Dir / "BeiFenLongName.bat", std::ios::binary) << "old"; }
  wchar_t alias[MAX_PATH];
  const DWORD n = GetShortPathNameW((Dir / "BeiFenLongName.bat").c_str(), alias, MAX_PATH);
  ASSERT_TRUE(n && n < MAX_PATH);
  rows.push_back({Utf8Of(alias), dir + "\\BeiFenLongName.bat", both});
#endif
  for (const Row& row : rows) {
    const TRun run = RunTool({"--program-dir", dir, "BeiFenEdit=" + row.Backup, "HuifuEdit=" + row.Restore,
                              "FenQuListBox0#0", "click:moveButton1", "click:RunButton"},
                             Dir);
    EXPECT_EQ(run.Status, 0) << row.Backup;
    EXPECT_EQ(run.Out, row.Message) << row.Backup << " | " << row.Restore;
  }
  EXPECT_EQ(ReadAll(Dir / "BACKUP.BAT"), "old");
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(Dir)) names.insert(Utf8Of(entry.path().filename()));
  names.erase("BeiFenLongName.bat");
  EXPECT_EQ(names, (std::set<std::string>{"BACKUP.BAT", "Link.bat"}));
}

TEST_F(CliTest, KeysTypedAfterTheVolumeSizeIsPutBackReplaceIt) {
  const TRun run = Run({"+splitCheckBox1", "splitEdit1=", "keys:splitEdit1=700", "dump:splitEdit1"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "dump: splitEdit1 text=\"700\" items=- index=- checked=- enabled=1\n");
}

TEST_F(CliTest, BadActionsStopEverythingBeforeAnythingIsWritten) {
  const std::vector<std::string> write = {"FenQuListBox0#0", "click:moveButton1", "click:RunButton"};
  auto after = [&](const std::string& bad) {
    std::vector<std::string> actions = write;
    actions.push_back(bad);
    return actions;
  };
  ExpectUsageError(after("nosuch=1"), "nosuch");
  ExpectUsageError(after("click:ghostEdit"), "ghostEdit");
  ExpectUsageError(after("+YaSuoComboBox1"), "YaSuoComboBox1");
  ExpectUsageError(after("moveButton1#0"), "moveButton1");
  ExpectUsageError(after("fxCheckBox1=1"), "fxCheckBox1");
  ExpectUsageError(after("FenQuListBox0#x"), "FenQuListBox0#x");
  ExpectUsageError(after("FenQuListBox0#-2"), "FenQuListBox0#-2");
  ExpectUsageError(after("page=6"), "page=6");
  ExpectUsageError(after("dump:"), "dump:");
  ExpectUsageError(after("gibberish"), "gibberish");
  ExpectUsageError(after("keys:ghostEdit"), "keys:ghostEdit");
  ExpectUsageError(after("keys:fxCheckBox1=1"), "fxCheckBox1");
  // Out of reach only in the state the earlier actions leave.
  ExpectUsageError(after("FenQuListBox0#1"), "FenQuListBox0#1");
  ExpectUsageError(after("splitEdit1=5"), "splitEdit1");
  ExpectUsageError({"page=4", "BeiFenEdit=x.bat"}, "BeiFenEdit");
}

TEST_F(CliTest, BadOptionsAreUsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--now", "2026-02-30 00:00:00"}, {"--now"}, {"--program-dir", ""}, {"--verbose"}}) {
    const TRun run = RunTool(args, Dir);
    EXPECT_EQ(run.Status, 2) << args[0];
    EXPECT_FALSE(run.Err.empty());
  }
}

}  // namespace
