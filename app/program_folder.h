#pragma once
// The program folder: where the scripts expect the Ghost tool folder and
// where the image and the scripts go by default.

#include <string>

namespace qm {

// The folder part of a file path: no trailing backslash, except for a drive
// root such as C:\ (and a bare root), which keeps it.
std::string DirectoryOfPath(const std::string& path);

// A folder as given by a user: trailing separators dropped unless the
// folder is a root, which keeps its one separator.
std::string NormalizeFolder(const std::string& folder);

// The folder of the running executable.
std::string OwnProgramFolder();

}  // namespace qm
