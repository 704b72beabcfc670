#pragma once
// What the file system of this machine says about a path: the hosts of the
// form hand it to the model, which cannot see aliases or links in the text.

#include <string>

#include "form_host.h"

namespace qm {

// On Windows the full path with the short (8.3) names of its existing part
// spelt out long (GetLongPathNameW) and the existing file's volume serial
// and file index (GetFileInformationByHandle); elsewhere the path with its
// existing part's links resolved and the file's device and inode. A
// relative path is taken from the current folder, as writing it would.
TPathFacts ReadPathFacts(const std::string& path);

}  // namespace qm
