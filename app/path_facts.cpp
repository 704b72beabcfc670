#include "path_facts.h"

#include "script_file.h"

#ifdef _WIN32
#include <windows.h>

#include "wide_text.h"
#else
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#endif

namespace qm {

#ifdef _WIN32

namespace {

// GetLongPathNameW answers only for a path that exists; for a file still to
// be written, the folders above it are spelt out and its own name kept.
std::wstring LongForm(const std::wstring& full) {
  std::wstring tail;
  std::wstring head = full;
  for (;;) {
    const DWORD n = GetLongPathNameW(head.c_str(), nullptr, 0);
    if (n != 0) {
      std::wstring longer(n, L'\0');
      const DWORD written = GetLongPathNameW(head.c_str(), longer.data(), n);
      if (written != 0 && written < n) {
        longer.resize(written);
        return longer + tail;
      }
    }
    const size_t cut = head.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut + 1 >= head.size() || cut < 3) return full;
    tail = head.substr(cut) + tail;
    head.resize(cut);
  }
}

}  // namespace

TPathFacts ReadPathFacts(const std::string& path) {
  TPathFacts facts;
  const std::wstring full = WideFromUtf8(FullPathOf(path));
  facts.LongPath = Utf8FromWide(LongForm(full));
  // No access asked: the identity can be read even of a file held open.
  HANDLE file = CreateFileW(full.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info))
      facts.FileId = std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
                     std::to_string(info.nFileIndexLow);
    CloseHandle(file);
  }
  return facts;
}

#else

TPathFacts ReadPathFacts(const std::string& path) {
  TPathFacts facts;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::weakly_canonical(FullPathOf(path), ec);
  if (!ec) facts.LongPath = full.string();
  struct stat info;
  if (stat(path.c_str(), &info) == 0)
    facts.FileId = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  return facts;
}

#endif

}  // namespace qm
