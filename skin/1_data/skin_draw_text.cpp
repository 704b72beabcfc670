#include "skin/1_data/skin_draw_text.h"

#include <vector>

namespace qm {

namespace {
// The high bit of the version word is set on the 9x family.
bool DetectNT() { return (GetVersion() & 0x80000000u) == 0; }
}  // namespace

bool SkinPlatformIsNT = DetectNT();

int SkinDrawText(HDC DC, const std::wstring& Text, const RECT& Rect, UINT Format) {
  RECT local = Rect;
  if (SkinPlatformIsNT)
    return DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &local, Format);
  // The 9x family has no wide drawing entry: go through the ANSI code page.
  const int n = WideCharToMultiByte(CP_ACP, 0, Text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::vector<char> narrow(n > 0 ? static_cast<size_t>(n) : 1, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, Text.c_str(), -1, narrow.data(), n, nullptr, nullptr);
  return DrawTextA(DC, narrow.data(), -1, &local, Format);
}

}  // namespace qm
