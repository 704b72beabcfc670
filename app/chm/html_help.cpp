#include "html_help.h"

#include <htmlhelp.h>

#include <vector>

namespace qm {

HMODULE HelpLibrary = nullptr;
THtmlHelpEntry HtmlHelpEntry = nullptr;
DWORD HelpCookie = 0;

THtmlHelpLoader& HtmlHelpLoader() {
  static THtmlHelpLoader loader;
  return loader;
}

namespace {

// The system folder as the platform reports it; empty when it does not fit
// the 255 characters the loader allows (the path would be cut otherwise).
std::wstring SystemFolder() {
  const THtmlHelpLoader& loader = HtmlHelpLoader();
  if (!loader.SystemFolder.empty()) return loader.SystemFolder;
  wchar_t buffer[256];
  const UINT length = GetSystemDirectoryW(buffer, 255);
  if (length == 0 || length > 255) return std::wstring();
  return std::wstring(buffer, length);
}

void LoadHelpLibrary() {
  THtmlHelpLoader& loader = HtmlHelpLoader();
  const std::wstring folder = SystemFolder();
  ++loader.LoadAttempts;
  HMODULE library = folder.empty() ? nullptr : LoadLibraryW((folder + L"\\hhctrl.ocx").c_str());
  if (library == nullptr) throw EHtmlHelpError(HelpLibraryMissingText);

  auto entry = reinterpret_cast<THtmlHelpEntry>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA")));
  if (entry == nullptr) {
    // Not a help library after all; keeping it loaded would only leak it,
    // since the next request loads again anyway.
    FreeLibrary(library);
    throw EHtmlHelpError(HelpEntryMissingText);
  }
  HelpLibrary = library;
  HtmlHelpEntry = entry;
  ++loader.Initialisations;
  HtmlHelpEntry(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&HelpCookie));
}

// The entry is the ANSI one, so the path travels in the ANSI code page. A
// character that code page lacks would silently turn into '?' and open some
// other file or none; refuse instead.
std::string AnsiPath(const std::wstring& file) {
  if (file.empty()) return std::string();
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, file.data(), static_cast<int>(file.size()),
                                       nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) throw EHtmlHelpError(HelpPathNotAnsiText);
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, file.data(), static_cast<int>(file.size()), ansi.data(), size,
                      nullptr, nullptr);
  return ansi;
}

}  // namespace

HWND CallHtmlHelp(HWND window, const std::wstring& file, UINT command, DWORD_PTR data) {
  const std::string path = AnsiPath(file);
  if (HtmlHelpEntry == nullptr) LoadHelpLibrary();
  return HtmlHelpEntry(window, path.empty() ? nullptr : path.c_str(), command, data);
}

bool PreTranslateHelpMessage(MSG& msg) {
  return HtmlHelpEntry != nullptr &&
         HtmlHelpEntry(nullptr, nullptr, HH_PRETRANSLATEMESSAGE, reinterpret_cast<DWORD_PTR>(&msg)) != nullptr;
}

void ResetHtmlHelpForTesting() {
  if (HelpLibrary != nullptr) FreeLibrary(HelpLibrary);
  HelpLibrary = nullptr;
  HtmlHelpEntry = nullptr;
  HelpCookie = 0;
  HtmlHelpLoader() = THtmlHelpLoader();
}

}  // namespace qm
