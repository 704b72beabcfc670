#pragma once
// The generated DOS batch files: one skeleton for the whole program. Every
// script starts with the same head; a backup-form script asks once and runs
// Ghost on yes, a restore-form script asks a second time with an overwrite
// warning before it runs Ghost.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "form_host.h"

namespace qm {

// Options of a Ghost command line, written after " -sure" in this order.
struct TGhostOptions {
  int Compression = -1;  // pick-list index 0..2 gives -z1..-z3; -1 writes none
  bool ExitToDos = false;
  bool Reboot = false;
  bool RescueBadSectors = false;
  std::optional<std::string> SplitSize;  // megabytes, as typed
};

// toolDir + "\Ghost.exe -clone,mode=" + mode + ",src=" ... + options.
std::string GhostCommand(const std::string& toolDir, const std::string& mode, const std::string& src,
                         const std::string& dst, const TGhostOptions& options);

// One question ("继续吗?"), then the Ghost command on yes. The compression
// line appears only for image pages.
std::vector<std::string> BackupFormScript(const std::string& toolDir, const std::string& description,
                                          const std::optional<std::string>& compressionText,
                                          const TLocalTime& when, const std::string& ghostCommand);

// Two questions, the second warning that target will be overwritten.
std::vector<std::string> RestoreFormScript(const std::string& toolDir, const std::string& description,
                                           const std::string& compressionText, const TLocalTime& when,
                                           const std::string& target, const std::string& ghostCommand);

// A script that cannot be written as it stands: a character outside code
// page 936, or a line break inside a line that would split it in two.
class EScriptTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of the file: every line in code page 936 followed by CR LF, no
// byte-order mark. Throws EScriptTextError naming the offending line.
std::string EncodeScript(const std::vector<std::string>& lines);

// DOS hands a program at most this many bytes after its name (the command
// tail, leading blank included) and drops the rest without a word, so a
// longer Ghost command would lose its options or even name another image.
inline constexpr std::size_t MaxCommandTail = 126;

// Throws EScriptTextError with the message for the user when the Ghost
// command of a script built above, run from toolDir, would reach Ghost cut
// short. The tail is counted as DOS counts it: in bytes of code page 936, so
// a Chinese character counts twice.
void CheckGhostCommandTail(const std::vector<std::string>& lines, const std::string& toolDir);

}  // namespace qm
