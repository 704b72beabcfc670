#include "debug_report.h"

#include <string>

#include "graphics.h"

namespace gui {

void DebugReport(std::wstring_view what, HWND window, std::exception_ptr error) noexcept {
  try {
    std::wstring line = L"QiMing: ";
    line += what;
    line += L" failed";
    wchar_t name[100] = {};
    if (window && GetClassNameW(window, name, 100)) {
      line += L" (window class \"";
      line += name;
      line += L"\")";
    }
    std::wstring reason = L"unknown exception";
    try {
      if (error) std::rethrow_exception(error);
      reason = L"no exception";
    } catch (const std::exception& e) {
      reason = Widen(e.what());
    } catch (...) {
    }
    line += L": " + reason + L"\n";
    OutputDebugStringW(line.c_str());
  } catch (...) {
    // Out of memory for the line itself: the bare fact still goes out.
    OutputDebugStringW(L"QiMing: a failure could not be described\n");
  }
}

}  // namespace gui
