#include "dos_machine.h"

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "program_folder.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace qm::test {

namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// DOSBox keeps the case it created a file with; DOS names are not case
// sensitive, so look the name up the way DOS would.
fs::path FindIgnoringCase(const fs::path& folder, const std::string& name) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string found = entry.path().filename().string();
    if (found.size() == name.size() &&
        std::equal(found.begin(), found.end(), name.begin(),
                   [](char a, char b) { return std::toupper((unsigned char)a) == std::toupper((unsigned char)b); }))
      return entry.path();
  }
  return folder / name;
}

std::vector<std::string> SplitFields(const std::string& line, int count) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (static_cast<int>(fields.size()) + 1 < count) {
    const size_t bar = line.find('|', start);
    if (bar == std::string::npos) break;
    fields.push_back(line.substr(start, bar - start));
    start = bar + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

void ParseRecord(const std::string& record, TDosRun& run) {
  std::istringstream lines(record);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string kind = line.substr(0, line.find('|'));
    if (kind == "TWAY") {
      run.Calls.push_back({"TWAY", "", -1, SplitFields(line, 2)[1]});
    } else if (kind == "CHOICE") {
      const auto f = SplitFields(line, 3);
      run.Calls.push_back({"CHOICE", f.at(1), -1, f.at(2)});
    } else if (kind == "GHOST") {
      const auto f = SplitFields(line, 3);
      run.Calls.push_back({"GHOST", "", std::stoi(f.at(1)), f.at(2)});
    } else if (kind == "DONE") {
      const auto f = SplitFields(line, 3);
      run.Returned = true;
      run.CursorRow = std::stoi(f.at(1));
      run.CursorColumn = std::stoi(f.at(2));
    } else if (kind == "ROW") {
      run.Screen.push_back(line.substr(4));
    }
  }
}

}  // namespace

fs::path StandInFolder() { return fs::path(qm::OwnProgramFolder()) / "dos"; }

std::string DosBoxProgram() { return QM_DOSBOX; }

TDosMachine::TDosMachine(const fs::path& folder) : Folder(folder) { fs::create_directories(DriveC()); }

fs::path TDosMachine::HostPath(const std::string& dosPath) const {
  std::string rest = dosPath;
  if (rest.size() >= 2 && (rest[1] == ':')) rest = rest.substr(2);
  fs::path path = DriveC();
  std::string part;
  for (char c : rest + "\\") {
    if (c != '\\') {
      part += c;
    } else if (!part.empty()) {
      path /= part;
      part.clear();
    }
  }
  return path;
}

void TDosMachine::InstallTools(const std::string& dosFolder) const {
  const fs::path folder = HostPath(dosFolder);
  fs::create_directories(folder);
  // Names as a user would copy them from a DOS boot disk and a Ghost folder.
  fs::copy_file(StandInFolder() / "TWAY.EXE", folder / "TWAY.EXE", fs::copy_options::overwrite_existing);
  fs::copy_file(StandInFolder() / "CHOICE.COM", folder / "CHOICE.COM", fs::copy_options::overwrite_existing);
  fs::copy_file(StandInFolder() / "GHOST.EXE", folder / "Ghost.exe", fs::copy_options::overwrite_existing);
}

TDosRun TDosMachine::Run(const std::string& dosPath, const std::string& answers) const {
  for (const char* name : {"QMLOG.TXT", "ANSWERS.TXT", "DONE.COM"}) fs::remove(FindIgnoringCase(DriveC(), name));
  WriteFile(DriveC() / "ANSWERS.TXT", answers);
  fs::copy_file(StandInFolder() / "DONE.COM", DriveC() / "DONE.COM");

  // Echo off, as the scripts' own '@' prefixes would give at a prompt:
  // this DOSBox adds a blank line after every batch line while echo is on.
  std::ostringstream conf;
  conf << "[sdl]\noutput=surface\n"
          "[dosbox]\nmachine=svga_s3\nmemsize=16\n"
          "[cpu]\ncore=normal\ncycles=max\n"
          "[mixer]\nnosound=true\n"
          "[speaker]\npcspeaker=false\ntandy=off\ndisney=false\n"
          "[sblaster]\nsbtype=none\n[gus]\ngus=false\n[midi]\nmpu401=none\n"
          "[dos]\nkeyboardlayout=none\n"
          "[serial]\nserial1=disabled\nserial2=disabled\n"
          "[autoexec]\n"
       << "mount c \"" << DriveC().string() << "\"\n"
       << "c:\ncd \\\n@echo off\n"
       << "call " << dosPath << "\n"
       << "C:\\DONE.COM\n"
       << "exit\n";
  WriteFile(Folder / "dosbox.conf", conf.str());

  const fs::path output = Folder / "dosbox-output.txt";
  // A stand-in that waited for a key would hang the machine: the timeout
  // turns that into a run that did not return.
  const std::string command = "cd " + ShellQuote(Folder.string()) + " && HOME=" + ShellQuote(Folder.string()) +
                              " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 " +
                              ShellQuote(DosBoxProgram()) + " -conf dosbox.conf -noconsole >" +
                              ShellQuote(output.string()) + " 2>&1";
  const int status = std::system(command.c_str());

  TDosRun run;
  const std::string record = ReadAll(FindIgnoringCase(DriveC(), "QMLOG.TXT"));
  ParseRecord(record, run);
  run.AnswersLeft = ReadAll(FindIgnoringCase(DriveC(), "ANSWERS.TXT"));
  run.Log = "DOSBox exit status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "\n" +
            ReadAll(output) + "--- record\n" + record;
  return run;
}

}  // namespace qm::test
