// The generated scripts run in a real DOS command interpreter, with stand-ins
// for TWAY.EXE, CHOICE and Ghost.exe: for every page and every answer a
// script can meet, Ghost runs once with exactly the expected command, or not
// at all, and the script runs to its end.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "dos_machine.h"
#include "gbk.h"
#include "program_folder.h"
#include "test_files.h"

namespace fs = std::filesystem;
using qm::test::TDosCall;
using qm::test::TDosMachine;
using qm::test::TDosRun;

namespace {

std::string Gbk(const std::string& utf8) {
  std::string gbk;
  EXPECT_TRUE(qm::Utf8ToGbk(utf8, gbk)) << utf8;
  return gbk;
}

std::vector<std::string> LinesOf(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// One page's form settings and what Ghost must be told.
struct TPage {
  const char* Name;
  std::string ProgramFolder;              // as the scripts name it
  std::vector<std::string> Actions;       // qiming-cli actions before the run button
  std::string BackupTail;                 // Ghost's command tail for the backup script
  std::string RestoreTail;                // ... and for the restore script
  std::string RestoreTarget;              // image restores ask a second time about this; "" for copies
};

const std::vector<TPage>& Pages() {
  static const std::vector<TPage> pages = {
      {"PartitionImage", "C:\\QM", {"FenQuListBox0#0", "click:moveButton1"},
       " -clone,mode=pdump,src=1:1,dst=C:\\QM\\WinBF.gho -sure -z1 -fx -rb -fro",
       " -clone,mode=pload,src=C:\\QM\\WinBF.gho:1,dst=1:1 -sure -fx -rb -fro", "1:1"},
      {"DiskImage", "C:\\QM",
       {"+SecondYinPanCheckBox", "page=1", "YinPanComboBox2#1", "YaSuoComboBox2#1", "-rbCheckBox2",
        "+splitCheckBox2", "splitEdit2=700", "+szeCheckBox2"},
       " -clone,mode=dump,src=2,dst=C:\\QM\\WinBF.gho -sure -z2 -fx -fro -span -split=700",
       " -clone,mode=load,src=C:\\QM\\WinBF.gho,dst=2,sze1=30P,sze2=30P,sze3=40P -sure -fx -fro", "第二硬盘"},
      {"PartitionCopy", "C:\\QM", {"firstYinPanEdit=2", "page=2", "FenQuComboBox32#1"},
       " -clone,mode=pcopy,src=1:1,dst=1:2 -sure -fx -rb -fro",
       " -clone,mode=pcopy,src=1:2,dst=1:1 -sure -fx -rb -fro", ""},
      {"DiskCopy", "C:\\QM", {"page=3", "YinPanComboBox42#1", "-fxCheckBox4"},
       " -clone,mode=copy,src=1,dst=2 -sure -rb -fro", " -clone,mode=copy,src=2,dst=1 -sure -rb -fro", ""},
      // The program at a drive's root: the scripts then name "C:\\Ghost".
      {"PartitionImageAtDriveRoot", "C:\\\\",
       {"firstYinPanEdit=2", "+SecondYinPanCheckBox", "secondYinPanEdit=3", "YinPanComboBox1#1",
        "FenQuListBox0#0", "click:moveButton1", "FenQuListBox0#2", "click:moveButton1", "YaSuoComboBox1#2",
        "-fxCheckBox1", "-rbCheckBox1", "-froCheckBox1", "+splitCheckBox1", "splitEdit1=650"},
       " -clone,mode=pdump,src=2:1:3,dst=C:\\\\WinBF.gho -sure -z3 -span -split=650",
       " -clone,mode=pload,src=C:\\\\WinBF.gho:1:3,dst=2:1:3 -sure", "2:1:3"},
  };
  return pages;
}

struct TCase {
  const TPage* Page;
  bool Restore;
  std::string Answers;
};

std::string CaseName(const ::testing::TestParamInfo<TCase>& info) {
  return std::string(info.param.Page->Name) + (info.param.Restore ? "_Restore_" : "_Backup_") + info.param.Answers;
}

void PrintTo(const TCase& c, std::ostream* out) {
  *out << c.Page->Name << (c.Restore ? " restore" : " backup") << " answered " << c.Answers;
}

// The calls the programs saw, one per line, for failure messages.
std::string Describe(const std::vector<TDosCall>& calls) {
  std::string text;
  for (const TDosCall& call : calls) {
    text += "  " + call.Program;
    if (!call.Answer.empty()) text += " answered " + call.Answer;
    if (call.TailLength >= 0) text += " (" + std::to_string(call.TailLength) + ")";
    std::string tail;
    if (!qm::GbkToUtf8(call.Tail, tail)) tail = call.Tail;
    text += " [" + tail + "]\n";
  }
  return text;
}

// Every answer pattern each script can meet.
std::vector<TCase> AllCases() {
  std::vector<TCase> cases;
  for (const TPage& page : Pages()) {
    for (const char* answers : {"Y", "N"}) cases.push_back({&page, false, answers});
    if (page.RestoreTarget.empty()) {
      for (const char* answers : {"Y", "N"}) cases.push_back({&page, true, answers});
    } else {
      for (const char* answers : {"YY", "YN", "N"}) cases.push_back({&page, true, answers});
    }
  }
  return cases;
}

std::string ProgramFolderWithBackslash(const TPage& page) {
  return page.ProgramFolder.back() == '\\' ? page.ProgramFolder : page.ProgramFolder + "\\";
}

// Presses the run button of a page with qiming-cli, the scripts going into
// the program folder on the machine's drive C. Returns what the tool printed.
std::string PressRun(const TDosMachine& machine, const TPage& page, const std::vector<std::string>& extra) {
  const std::string folder = ProgramFolderWithBackslash(page);
  fs::create_directories(machine.HostPath(folder));
  std::vector<std::string> args = {"--program-dir", page.ProgramFolder, "--now", "2026-12-07 08:30:00",
                                   "BeiFenEdit=" + machine.HostPath(folder + "BeiFen.bat").string(),
                                   "HuifuEdit=" + machine.HostPath(folder + "HuiFu.bat").string()};
  args.insert(args.end(), page.Actions.begin(), page.Actions.end());
  args.insert(args.end(), extra.begin(), extra.end());
  args.push_back("click:RunButton");
  std::string line = qm::test::ShellQuote(qm::OwnProgramFolder() + "/qiming-cli");
  for (const std::string& arg : args) line += " " + qm::test::ShellQuote(arg);
  const fs::path out = machine.DriveC().parent_path() / "cli-output.txt";
  line += " >" + qm::test::ShellQuote(out.string()) + " 2>&1";
  const int status = std::system(line.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << qm::test::ReadAll(out);
  return qm::test::ReadAll(out);
}

// Writes both scripts of a page with qiming-cli into the machine's drive C.
// Returns the DOS paths of the backup and the restore script.
std::pair<std::string, std::string> WriteScripts(const TDosMachine& machine, const TPage& page,
                                                 const std::vector<std::string>& extra = {}) {
  const std::string folder = ProgramFolderWithBackslash(page);
  const std::string backup = folder + "BeiFen.bat", restore = folder + "HuiFu.bat";
  const std::string output = PressRun(machine, page, extra);
  EXPECT_TRUE(fs::exists(machine.HostPath(backup))) << output;
  EXPECT_TRUE(fs::exists(machine.HostPath(restore))) << output;
  machine.InstallTools(folder + "Ghost");
  return {backup, restore};
}

// What the user must see: the script's banner block (everything it echoes
// before its first question), then per question the prompt and the key
// pressed, a blank line before a second question, Ghost's own output when
// it runs, and the script's closing blank line.
std::vector<std::string> ExpectedScreen(const std::string& script, const std::vector<std::string>& prompts,
                                        const std::string& answers, bool ghostRuns) {
  std::vector<std::string> screen;
  for (const std::string& line : LinesOf(script)) {
    if (line.find("CHOICE") != std::string::npos) break;
    if (line == "@echo.") {
      screen.push_back("");
    } else if (line.rfind("@echo ", 0) == 0 || line.rfind("@ECHO ", 0) == 0) {
      screen.push_back(line.substr(6));
    }
  }
  for (size_t i = 0; i < answers.size(); ++i) {
    if (i > 0) screen.push_back("");
    screen.push_back(prompts.at(i).substr(1) + "[Y,N]?" + answers[i]);
  }
  if (ghostRuns) screen.push_back("Ghost.exe stand-in ran");
  screen.push_back("");
  return screen;
}

class DosScriptTest : public ::testing::TestWithParam<TCase> {
 protected:
  void SetUp() override { Folder = qm::test::FreshTestFolder("qm-dos"); }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(Folder);
  }
  fs::path Folder;
};

TEST_P(DosScriptTest, GhostRunsOnlyAfterEveryYesAndTheScriptRunsToItsEnd) {
  const TCase& c = GetParam();
  const TPage& page = *c.Page;
  TDosMachine machine(Folder);
  const auto [backup, restore] = WriteScripts(machine, page);
  const std::string scriptPath = c.Restore ? restore : backup;
  const std::string script = qm::test::ReadAll(machine.HostPath(scriptPath));

  const TDosRun run = machine.Run(scriptPath, c.Answers);

  // The questions the script must ask, in order.
  std::vector<std::string> prompts = {Gbk(" 继续吗?")};
  if (c.Restore && !page.RestoreTarget.empty())
    prompts.push_back(Gbk(" " + page.RestoreTarget + "上的数据将全部被覆盖，此分区上的数据将丢失，要继续吗?"));
  const bool ghostRuns = c.Answers.find('N') == std::string::npos;
  ASSERT_EQ(c.Answers.size(), ghostRuns ? prompts.size() : c.Answers.size());

  std::vector<TDosCall> expected = {{"TWAY", "", -1, ""}};
  for (size_t i = 0; i < c.Answers.size(); ++i) expected.push_back({"CHOICE", c.Answers.substr(i, 1), -1, prompts[i]});
  const std::string tail = c.Restore ? page.RestoreTail : page.BackupTail;
  if (ghostRuns) expected.push_back({"GHOST", "", static_cast<int>(tail.size()), tail});

  ASSERT_TRUE(run.Returned) << "the script did not return to the prompt\n" << run.Log;
  ASSERT_EQ(run.Calls.size(), expected.size()) << "the programs saw:\n" << Describe(run.Calls) << "expected:\n"
                                              << Describe(expected);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(run.Calls[i].Program, expected[i].Program) << "call " << i;
    EXPECT_EQ(run.Calls[i].Answer, expected[i].Answer) << "call " << i;
    EXPECT_EQ(run.Calls[i].TailLength, expected[i].TailLength) << "call " << i;
    EXPECT_EQ(run.Calls[i].Tail, expected[i].Tail) << "call " << i;
  }
  EXPECT_EQ(run.AnswersLeft, "");

  // The screen shows exactly what the script printed, no interpreter
  // complaint, and the cursor sits under the script's closing blank line.
  const std::vector<std::string> screen = ExpectedScreen(script, prompts, c.Answers, ghostRuns);
  ASSERT_EQ(run.Screen.size(), 25u);
  EXPECT_EQ(run.CursorRow, static_cast<int>(screen.size()));
  EXPECT_EQ(run.CursorColumn, 0);
  for (size_t row = 0; row < run.Screen.size(); ++row)
    EXPECT_EQ(run.Screen[row], row < screen.size() ? screen[row] : "") << "screen row " << row;
}

INSTANTIATE_TEST_SUITE_P(EveryPageAndAnswer, DosScriptTest, ::testing::ValuesIn(AllCases()), CaseName);

class DosCommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { Folder = qm::test::FreshTestFolder("qm-dos"); }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(Folder);
  }

  // The tail Ghost gets from the partition backup when the image has the
  // given DOS path; the generated tail is returned through `written`.
  TDosCall GhostCallFor(const std::string& imagePath, std::string& written) {
    TDosMachine machine(Folder);
    const auto scripts = WriteScripts(machine, Pages()[0], {"ghostEdit=" + imagePath});
    const std::string script = qm::test::ReadAll(machine.HostPath(scripts.first));
    const std::string marker = "Ghost.exe";
    for (const std::string& line : LinesOf(script))
      if (line.find(marker) != std::string::npos) written = line.substr(line.find(marker) + marker.size());
    const TDosRun run = machine.Run(scripts.first, "Y");
    EXPECT_TRUE(run.Returned) << run.Log;
    for (const TDosCall& call : run.Calls)
      if (call.Program == "GHOST") return call;
    ADD_FAILURE() << "Ghost did not run\n" << run.Log;
    return {};
  }

  fs::path Folder;
};

// An 8.3 image path of exactly `length` characters.
std::string ImagePathOfLength(size_t length) {
  std::string path = "C:\\";
  while (length - path.size() > 8 + 4) path += "IMAGES00\\";
  const size_t stem = length - path.size() - 4;
  EXPECT_GE(stem, 1u);
  EXPECT_LE(stem, 8u);
  return path + std::string(stem, 'W') + ".GHO";
}

// DOS hands a program at most 126 characters of command tail and cuts a
// longer one without a word, so the longest command the scripts may hold
// reaches Ghost whole, and one character more is refused before anything
// is written: scripts from an earlier run stay as they were.
TEST_F(DosCommandLineTest, GhostGetsItsWholeCommandOrNoScriptIsWritten) {
  std::string written;
  // " -clone,mode=pdump,src=1:1,dst=" + path + " -sure -z1 -fx -rb -fro"
  const TDosCall call = GhostCallFor(ImagePathOfLength(72), written);
  ASSERT_EQ(written.size(), 126u);
  EXPECT_EQ(call.TailLength, 126);
  EXPECT_EQ(call.Tail, written);

  TDosMachine machine(Folder);
  const auto scripts = WriteScripts(machine, Pages()[0]);
  const std::string backup = qm::test::ReadAll(machine.HostPath(scripts.first));
  const std::string restore = qm::test::ReadAll(machine.HostPath(scripts.second));
  EXPECT_EQ(PressRun(machine, Pages()[0], {"ghostEdit=" + ImagePathOfLength(73)}),
            "message: Ghost 命令行太长（127 个字符），DOS 最多只能传给程序 126 个字符。"
            "请缩短映像文件的路径或文件名。\n");
  EXPECT_EQ(qm::test::ReadAll(machine.HostPath(scripts.first)), backup);
  EXPECT_EQ(qm::test::ReadAll(machine.HostPath(scripts.second)), restore);
}

// The DOS run tells a broken script from a sound one: the backup script with
// its yes test off by one runs Ghost after "no".
TEST_F(DosCommandLineTest, AScriptWithABrokenErrorlevelTestIsCaught) {
  TDosMachine machine(Folder);
  const auto scripts = WriteScripts(machine, Pages()[0]);
  const fs::path host = machine.HostPath(scripts.first);
  std::string script = qm::test::ReadAll(host);
  const std::string sound = "if not errorlevel 2 C:", broken = "if not errorlevel 3 C:";
  ASSERT_NE(script.find(sound), std::string::npos);
  script.replace(script.find(sound), sound.size(), broken);
  std::ofstream(host, std::ios::binary | std::ios::trunc) << script;

  const TDosRun run = machine.Run(scripts.first, "N");
  ASSERT_TRUE(run.Returned) << run.Log;
  ASSERT_EQ(run.Calls.size(), 3u) << Describe(run.Calls);
  EXPECT_EQ(run.Calls[1].Answer, "N");
  EXPECT_EQ(run.Calls[2].Program, "GHOST");
}

}  // namespace
