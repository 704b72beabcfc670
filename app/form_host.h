#pragma once
// What the form logic needs from whoever hosts it: the window, the
// command-line tool or a test each supply their own.

#include <stdexcept>
#include <string>

namespace qm {

struct TLocalTime {
  std::string Date;  // the locale's short date form, e.g. 2026/12/7
  std::string Time;  // the locale's long time form, e.g. 8:30:00
};

// What the file system says about a path that its text does not: where the
// path leads once the current folder and the short (8.3) aliases or links of
// its existing part are resolved, and which file it opens if one is there.
struct TPathFacts {
  std::string LongPath;  // absolute; empty when the system cannot tell
  std::string FileId;    // the file's identity on its volume; empty when no file is there
};

// Raised when a script file cannot be created or written; the message names
// the full path and the system's reason. It reaches the host's error box.
class EFCreateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IFormHost {
 public:
  virtual ~IFormHost() = default;
  // A modal message box with the text and an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // The current local date and time, read by each writer as it builds line 9.
  virtual TLocalTime Now() = 0;
  // Replaces the whole file at path with bytes, or throws EFCreateError and
  // leaves whatever was there untouched.
  virtual void SaveFile(const std::string& path, const std::string& bytes) = 0;
  // What the file system says about path, read when the scripts are about
  // to be written.
  virtual TPathFacts PathFacts(const std::string& path) = 0;
};

}  // namespace qm
