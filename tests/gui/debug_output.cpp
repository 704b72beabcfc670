#include "debug_output.h"

#include <windows.h>

#include <algorithm>
#include <mutex>

namespace qmtest {

namespace {

// OutputDebugString raises these for a debugger to catch; a vectored handler
// sees them first, whether or not a debugger is attached.
constexpr DWORD kPrintA = 0x40010006;  // DBG_PRINTEXCEPTION_C
constexpr DWORD kPrintW = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C

std::mutex gLock;
std::vector<std::wstring> gLines;
int gCaptures = 0;
void* gHandler = nullptr;

LONG CALLBACK Catch(EXCEPTION_POINTERS* p) {
  const EXCEPTION_RECORD& r = *p->ExceptionRecord;
  if ((r.ExceptionCode != kPrintA && r.ExceptionCode != kPrintW) || r.NumberParameters < 2)
    return EXCEPTION_CONTINUE_SEARCH;
  std::wstring line;
  if (r.ExceptionCode == kPrintW) {
    line = reinterpret_cast<const wchar_t*>(r.ExceptionInformation[1]);
  } else {
    const char* text = reinterpret_cast<const char*>(r.ExceptionInformation[1]);
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    line.resize(n > 0 ? n - 1 : 0);
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, line.data(), n);
  }
  std::lock_guard<std::mutex> lock(gLock);
  // Windows raises the wide form and, unhandled, the narrow one too.
  if (gLines.empty() || gLines.back() != line) gLines.push_back(line);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

TDebugOutput::TDebugOutput() {
  std::lock_guard<std::mutex> lock(gLock);
  gLines.clear();
  if (gCaptures++ == 0) gHandler = AddVectoredExceptionHandler(1, &Catch);
}

TDebugOutput::~TDebugOutput() {
  std::lock_guard<std::mutex> lock(gLock);
  if (--gCaptures == 0) RemoveVectoredExceptionHandler(gHandler);
}

std::vector<std::wstring> TDebugOutput::Lines() const {
  std::lock_guard<std::mutex> lock(gLock);
  return gLines;
}

bool TDebugOutput::Saw(std::initializer_list<std::wstring> pieces) const {
  for (const std::wstring& line : Lines())
    if (std::all_of(pieces.begin(), pieces.end(),
                    [&](const std::wstring& piece) { return line.find(piece) != std::wstring::npos; }))
      return true;
  return false;
}

std::string TDebugOutput::Text() const {
  std::string out;
  for (const std::wstring& line : Lines()) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), n, nullptr, nullptr);
    out += utf8;
  }
  return out;
}

}  // namespace qmtest
