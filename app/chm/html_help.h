#pragma once
// The HTML Help viewer, reached through hhctrl.ocx from the system folder.
// The library is loaded at the first help request and kept for the life of
// the program; HTML Help is initialised exactly once, right after loading.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace qm {

// The help library's ANSI entry point.
using THtmlHelpEntry = HWND(WINAPI*)(HWND window, LPCSTR file, UINT command, DWORD_PTR data);

// Raised when the help library or its entry cannot be had, or when a help
// file path cannot be handed to the ANSI entry. what() is UTF-8 Chinese text
// for the application's standard error box.
class EHtmlHelpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* HelpLibraryMissingText =
    "HHCtrl.ocx 文件没有安装，或已经损坏! HtmlHelp 格式文件不能显示!";
inline constexpr const char* HelpEntryMissingText = "HtmlHelp 函数不能装载!";
inline constexpr const char* HelpPathNotAnsiText =
    "帮助文件的路径中有本机代码页无法表示的字符，HtmlHelp 格式文件不能显示!";

// Kept for the program's life once the first help request succeeded.
extern HMODULE HelpLibrary;
extern THtmlHelpEntry HtmlHelpEntry;
extern DWORD HelpCookie;

// Opens file (empty: no file) with an HTML Help command and returns the
// viewer's window, or nullptr when the viewer gives none (a missing help
// file, for one). Loads and initialises the library on first use; throws
// EHtmlHelpError when that fails, and the next call tries again.
HWND CallHtmlHelp(HWND window, const std::wstring& file, UINT command, DWORD_PTR data);

// The help viewer runs on this thread once HTML Help is initialised, and
// sees its keys (Tab, the arrows, Alt+key) only through the message loop:
// true when the viewer took msg (HH_PRETRANSLATEMESSAGE). False while no
// help has been opened.
bool PreTranslateHelpMessage(MSG& msg);

// How the loading went, for tests: they count loads and initialisations and
// point the system folder elsewhere to see the failures.
struct THtmlHelpLoader {
  int LoadAttempts = 0;     // LoadLibrary calls made for the help library
  int Initialisations = 0;  // HH_INITIALIZE commands sent
  std::wstring SystemFolder;  // empty: the platform's system folder
};
THtmlHelpLoader& HtmlHelpLoader();

// Test use only: frees the library and forgets the entry, the cookie and the
// counters, so that the next call loads afresh.
void ResetHtmlHelpForTesting();

}  // namespace qm
