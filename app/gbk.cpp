#include "gbk.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace qm {

#ifdef _WIN32

namespace {

bool Convert(UINT from, DWORD fromFlags, UINT to, DWORD toFlags, bool checkDefault, const std::string& in,
             std::string& out) {
  out.clear();
  if (in.empty()) return true;
  const int wideLen = MultiByteToWideChar(from, fromFlags, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (wideLen <= 0) return false;
  std::wstring wide(static_cast<size_t>(wideLen), L'\0');
  MultiByteToWideChar(from, fromFlags, in.data(), static_cast<int>(in.size()), wide.data(), wideLen);
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultArg = checkDefault ? &usedDefault : nullptr;
  const int outLen = WideCharToMultiByte(to, toFlags, wide.data(), wideLen, nullptr, 0, nullptr, usedDefaultArg);
  if (outLen <= 0 || usedDefault) return false;
  out.resize(static_cast<size_t>(outLen));
  WideCharToMultiByte(to, toFlags, wide.data(), wideLen, out.data(), outLen, nullptr, usedDefaultArg);
  return !usedDefault;
}

}  // namespace

bool Utf8ToGbk(const std::string& utf8, std::string& gbk) {
  return Convert(CP_UTF8, MB_ERR_INVALID_CHARS, 936, WC_NO_BEST_FIT_CHARS, true, utf8, gbk);
}

bool GbkToUtf8(const std::string& gbk, std::string& utf8) {
  return Convert(936, MB_ERR_INVALID_CHARS, CP_UTF8, 0, false, gbk, utf8);
}

#else

namespace {

bool Convert(const char* to, const char* from, const std::string& in, std::string& out) {
  out.clear();
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  bool ok = true;
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;  // EILSEQ: unrepresentable or malformed; EINVAL: truncated
      break;
    }
    // iconv counts irreversible conversions in r; GBK has none it would
    // substitute silently, but treat any as a refusal all the same.
    if (r != static_cast<size_t>(-1) && r > 0) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

bool Utf8ToGbk(const std::string& utf8, std::string& gbk) { return Convert("GBK", "UTF-8", utf8, gbk); }

bool GbkToUtf8(const std::string& gbk, std::string& utf8) { return Convert("UTF-8", "GBK", gbk, utf8); }

#endif

}  // namespace qm
