#include "program_folder.h"

#ifdef _WIN32
#include <windows.h>

#include "wide_text.h"
#else
#include <unistd.h>

#include <climits>
#endif

namespace qm {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "C:\", "\" or "/" and the like: stripping the separator would name
// another folder (C: is the drive's current folder).
bool IsRoot(const std::string& folder) {
  if (folder.size() == 1) return IsSeparator(folder[0]);
  return folder.size() == 3 && folder[1] == ':' && IsSeparator(folder[2]);
}

}  // namespace

std::string DirectoryOfPath(const std::string& path) {
  const size_t last = path.find_last_of("\\/:");
  if (last == std::string::npos) return {};
  std::string folder = path.substr(0, last + 1);
  if (folder.back() == ':') return folder;  // "C:x.exe" lives in "C:"
  if (!IsRoot(folder)) folder.pop_back();
  return folder;
}

std::string NormalizeFolder(const std::string& folder) {
  std::string result = folder;
  while (result.size() > 1 && IsSeparator(result.back()) && !IsRoot(result)) result.pop_back();
  return result;
}

#ifdef _WIN32

std::string OwnProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return DirectoryOfPath(Utf8FromWide(path));
}

#else

std::string OwnProgramFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return DirectoryOfPath(std::string(buffer, static_cast<size_t>(n)));
}

#endif

}  // namespace qm
