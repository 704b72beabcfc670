// qiming-cli: drives the main form's model from the command line, for
// automation and tests. Starts from the state the form has after creation,
// applies the actions in order and writes the scripts as the window would.

#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli_action.h"
#include "local_clock.h"
#include "main_form_model.h"
#include "path_facts.h"
#include "program_folder.h"
#include "script_file.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it builds on
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include "wide_text.h"
#endif

namespace {

using namespace qm;

const char* const Usage =
    "usage: qiming-cli [--program-dir DIR] [--now \"YYYY-MM-DD HH:MM:SS\"] ACTION...\n"
    "  DIR      the program folder the scripts name (default: this tool's folder)\n"
    "  --now    fixes the clock of the scripts' time line (written as yyyy/M/d H:mm:ss)\n"
    "actions, applied in order:\n"
    "  page=N         make page N (0..5) active\n"
    "  NAME=TEXT      replace the text of edit NAME with TEXT\n"
    "  keys:NAME=TEXT type TEXT into edit NAME key by key at its caret\n"
    "  NAME#N         select entry N (-1: none) of pick list or list box NAME\n"
    "  +NAME / -NAME  check / uncheck check box NAME\n"
    "  click:NAME     click button NAME (Button2, \"退  出\", ends the run)\n"
    "  dump:NAME      print the control's state\n"
    "message boxes print \"message: TEXT\", error boxes \"error: TEXT\" (exit status 1);\n"
    "a check that refuses the input prints its message, writes nothing and exits 0.\n";

// One line per box: a line break inside a text would read as a new box.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

class TConsoleHost : public IFormHost {
 public:
  explicit TConsoleHost(std::ostream& out) : FOut(out) {}
  void ShowMessage(const std::string& text) override { FOut << "message: " << OneLine(text) << "\n"; }
  TLocalTime Now() override { return FFixedNow ? *FFixedNow : LocalNow(); }
  void SaveFile(const std::string& path, const std::string& bytes) override { SaveScriptFile(path, bytes); }
  TPathFacts PathFacts(const std::string& path) override { return ReadPathFacts(path); }
  void FixClock(const TLocalTime& when) { FFixedNow = when; }

 private:
  std::ostream& FOut;
  std::optional<TLocalTime> FFixedNow;
};

// Rehearses the run: shows no box and writes nothing.
class TRehearsalHost : public IFormHost {
 public:
  void ShowMessage(const std::string&) override {}
  TLocalTime Now() override { return {"2000/1/1", "0:00:00"}; }
  void SaveFile(const std::string&, const std::string&) override {}
  TPathFacts PathFacts(const std::string&) override { return {}; }
};

int UsageError(const std::string& text) {
  std::cerr << "qiming-cli: " << text << "\n";
  return 2;
}

int Run(const std::vector<std::string>& args) {
  std::string programDir = OwnProgramFolder();
  std::optional<TLocalTime> fixedNow;
  size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
    const std::string& option = args[i];
    if (option == "--help") {
      std::cout << Usage;
      return 0;
    }
    if (option != "--program-dir" && option != "--now") return UsageError("unknown option \"" + option + "\"");
    if (i + 1 == args.size()) return UsageError(option + " needs a value");
    const std::string& value = args[++i];
    if (option == "--program-dir") {
      if (value.empty()) return UsageError("--program-dir needs a folder");
      programDir = NormalizeFolder(value);
    } else {
      TClockReading reading;
      if (!ParseClockReading(value, reading))
        return UsageError("bad time \"" + value + "\" for --now: expected \"YYYY-MM-DD HH:MM:SS\"");
      fixedNow = ChineseDateTime(reading);
    }
  }

  // Every action is checked before any is applied, so a mistake anywhere
  // on the line writes nothing.
  TRehearsalHost rehearsalHost;
  TMainFormModel rehearsal(rehearsalHost);
  rehearsal.FormCreate(programDir);
  std::vector<cli::TAction> actions;
  for (; i < args.size(); ++i) {
    std::string error;
    const auto action = cli::ParseAction(args[i], rehearsal, error);
    if (!action) return UsageError(error);
    actions.push_back(*action);
  }
  std::ostringstream ignored;
  for (const cli::TAction& action : actions) {
    if (rehearsal.Terminated) break;
    const std::string refusal = cli::RefusalOf(action, rehearsal);
    if (!refusal.empty()) return UsageError(refusal);
    try {
      cli::ApplyAction(action, rehearsal, ignored);
    } catch (const std::exception&) {
      // Reported by the real run.
    }
  }

  TConsoleHost host(std::cout);
  if (fixedNow) host.FixClock(*fixedNow);
  TMainFormModel form(host);
  bool failed = false;
  auto guarded = [&](auto&& step) {
    try {
      step();
    } catch (const std::exception& e) {
      std::cout << "error: " << OneLine(e.what()) << "\n";
      failed = true;
    }
  };
  guarded([&] { form.FormCreate(programDir); });
  // After "退  出" the window is gone; nothing later on the line happens.
  for (const cli::TAction& action : actions) {
    if (form.Terminated) break;
    guarded([&] { cli::ApplyAction(action, form, std::cout); });
  }
  std::cout.flush();
  // A failed write is shown like the window's error box, and the run goes
  // on; the exit status still tells automation that something failed.
  return failed ? 1 : 0;
}

}  // namespace

#ifdef _WIN32

int main() {
  // UTF-8 bytes out exactly as written, without CR LF translation.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(Utf8FromWide(argv[i]));
  if (argv) LocalFree(argv);
  return Run(args);
}

#else

int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }

#endif
