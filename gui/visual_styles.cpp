#include "visual_styles.h"

namespace gui {

namespace {

using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

TSetWindowTheme SetWindowThemeEntry() {
  // Loaded once and kept: every skinned window asks on attach and detach.
  static const TSetWindowTheme entry = [] {
    HMODULE library = LoadLibraryW(L"uxtheme.dll");
    return library ? reinterpret_cast<TSetWindowTheme>(reinterpret_cast<void*>(GetProcAddress(library, "SetWindowTheme")))
                   : nullptr;
  }();
  return entry;
}

}  // namespace

bool TurnWindowThemeOff(HWND window) {
  const TSetWindowTheme entry = SetWindowThemeEntry();
  return entry && window && SUCCEEDED(entry(window, L" ", L" "));
}

void RestoreWindowTheme(HWND window) {
  if (const TSetWindowTheme entry = SetWindowThemeEntry(); entry && window && IsWindow(window))
    entry(window, nullptr, nullptr);
}

}  // namespace gui
