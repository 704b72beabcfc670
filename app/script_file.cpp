#include "script_file.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "form_host.h"

#ifdef _WIN32
#include <windows.h>

#include "wide_text.h"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#endif

namespace qm {

namespace {

std::atomic<unsigned> TempCounter{0};

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
  throw EFCreateError("无法创建文件 \"" + FullPathOf(path) + "\"。" + reason);
}

}  // namespace

#ifdef _WIN32

namespace {

std::string SystemReason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = n && text ? std::wstring(text, n) : L"错误代码 " + std::to_wstring(error);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' '))
    reason.pop_back();
  return Utf8FromWide(reason);
}

}  // namespace

std::string FullPathOf(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return path;
  full.resize(written);
  return Utf8FromWide(full);
}

void SaveScriptFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) Fail(path, SystemReason(ERROR_INVALID_NAME));
  const std::wstring target = WideFromUtf8(path);
  const std::wstring temp = target + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(TempCounter.fetch_add(1));
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail(path, SystemReason(GetLastError()));
  DWORD error = ERROR_SUCCESS;
  size_t done = 0;
  while (done < bytes.size() && error == ERROR_SUCCESS) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    done += written;
  }
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS &&
      !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temp.c_str());
    Fail(path, SystemReason(error));
  }
}

#else

std::string FullPathOf(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

void SaveScriptFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) Fail(path, std::strerror(ENOENT));
  const std::string temp =
      path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(TempCounter.fetch_add(1));
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) Fail(path, std::strerror(errno));
  int error = 0;
  size_t done = 0;
  while (done < bytes.size() && error == 0) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno != EINTR) error = errno;
    } else {
      done += static_cast<size_t>(n);
    }
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    Fail(path, std::strerror(error));
  }
}

#endif

}  // namespace qm
