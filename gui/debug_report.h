#pragma once
// Failures the program lives through without a word to the user (a window
// the skin cannot paint keeps its own look) still reach whoever watches with
// a debugger, or Wine's debug channel: what failed, for a window of which
// class, and why.

#include <windows.h>

#include <exception>
#include <string_view>

namespace gui {

// Sends "QiMing: <what> failed (window class "<class>"): <reason>" to
// OutputDebugStringW. Never throws.
void DebugReport(std::wstring_view what, HWND window, std::exception_ptr error = std::current_exception()) noexcept;

}  // namespace gui
