#pragma once
// A DOS machine for the generated scripts: DOSBox run headless, drive C: a
// host folder, and stand-ins for the three programs the scripts call. The
// stand-ins record every call in C:\QMLOG.TXT; after the script returns, the
// driver records the cursor and the text screen, which is what the user saw.

#include <filesystem>
#include <string>
#include <vector>

namespace qm::test {

struct TDosCall {
  std::string Program;  // "TWAY", "CHOICE" or "GHOST"
  std::string Answer;   // CHOICE: the answer it gave ("Y", "N", "-" for none left)
  int TailLength = -1;  // GHOST: the length byte DOS put before the tail
  std::string Tail;     // the command tail as DOS handed it over
};

struct TDosRun {
  bool Returned = false;  // the driver went on after the script
  std::vector<TDosCall> Calls;
  int CursorRow = -1;
  int CursorColumn = -1;
  std::vector<std::string> Screen;  // 25 rows, trailing blanks cut
  std::string AnswersLeft;
  std::string Log;  // DOSBox's own output and the raw record, for messages
};

class TDosMachine {
 public:
  // `folder` is an empty host folder; drive C: is its subfolder "c".
  explicit TDosMachine(const std::filesystem::path& folder);

  std::filesystem::path DriveC() const { return Folder / "c"; }
  // Host path of a DOS path on drive C: ("C:\QM\BeiFen.bat").
  std::filesystem::path HostPath(const std::string& dosPath) const;

  // Puts TWAY.EXE, CHOICE.COM and Ghost.exe stand-ins into the DOS folder.
  void InstallTools(const std::string& dosFolder) const;

  // Runs the batch file at `dosPath` as a user would from the DOS prompt,
  // with CHOICE answering from `answers` ('Y'/'N', one per call).
  TDosRun Run(const std::string& dosPath, const std::string& answers) const;

 private:
  std::filesystem::path Folder;
};

// Where the assembled stand-ins are, and the DOSBox program.
std::filesystem::path StandInFolder();
std::string DosBoxProgram();

}  // namespace qm::test
