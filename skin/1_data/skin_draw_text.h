#pragma once
// Unicode text drawing for the skinners on both platform families
// (Windows build only).

#include <windows.h>

#include <string>

namespace qm {

// True on the NT family: set once at start-up from the platform version.
// Tests may change it to exercise the narrow path.
extern bool SkinPlatformIsNT;

// Draws Text into Rect of DC with DrawText format flags and returns the
// text's height; the caller's rectangle is left as it was, also when the
// format only measures.
int SkinDrawText(HDC DC, const std::wstring& Text, const RECT& Rect, UINT Format);

}  // namespace qm
