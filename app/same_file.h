#pragma once
// Whether two paths the user typed name one file, judged the way Windows
// opens them: letter case, / or \, doubled separators, "." and "..", and
// dots or blanks at the end of a name make no difference, and a relative
// path starts from the program's folder. What only the file system knows
// (short 8.3 aliases, links, the current folder) comes from the host as
// TPathFacts.

#include <string>

#include "form_host.h"

namespace qm {

// The absolute spelling that Windows resolves path to, with every letter in
// upper case, so that equal keys name the same file. A relative path is
// taken from folder ("BeiFen.bat", "\QM\BeiFen.bat", and "C:BeiFen.bat"
// when folder is on C:); without a folder, or for a drive other than the
// folder's, it stays relative and equals only the same relative spelling.
std::string PathKey(const std::string& path, const std::string& folder);

// True when a and b, as typed and with what the file system says about
// each, name the same file.
bool NameSameFile(const std::string& a, const TPathFacts& aFacts, const std::string& b, const TPathFacts& bFacts,
                  const std::string& folder);

}  // namespace qm
