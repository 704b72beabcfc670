#pragma once
// skintool: packs, unpacks, lists and describes packed skins for skin
// authors and for tests.

#include <ostream>
#include <string>
#include <vector>

namespace qm {

// args excludes the program name; paths are UTF-8. Returns the exit code:
// 0 done, 1 failed (message on err), 2 wrong usage.
int RunSkintool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qm
