#pragma once
// Private messages shared by the manager, the form skinner and the popup
// skinner.

#include <windows.h>

namespace qm {

inline constexpr UINT WM_SKINREAPPLY = 0x3401;
inline constexpr UINT WM_SKINPAINTFRAME = 0x3502;
inline constexpr UINT WM_SKINATTACHED = 0x3503;
inline constexpr UINT WM_ISSKINNED = 0x3504;

}  // namespace qm
