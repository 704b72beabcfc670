#pragma once
// Writing a script file so that a failure never leaves half a script at the
// path the user chose.

#include <string>

namespace qm {

// The absolute form of path, as the error message names it.
std::string FullPathOf(const std::string& path);

// Writes bytes to a new file beside path and then moves it over path, so
// the target holds either its old content or the whole new one. On failure
// the temporary file is removed and EFCreateError is thrown with
// "无法创建文件 "<full path>"。<system reason>". Paths are UTF-8.
void SaveScriptFile(const std::string& path, const std::string& bytes);

}  // namespace qm
