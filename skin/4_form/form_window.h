#pragma once
// What a form skinner knows of its window: read at attach, kept current by
// the message stages, and read by every part of the skinner.

#include <windows.h>

#include <string>

#include "skin/1_data/skin_format.h"

namespace qm {

// WM_GETDPISCALEDSIZE, which older headers lack.
constexpr UINT kGetDpiScaledSize = 0x02E4;

struct TFormWindow {
  enum TPhase : int { phAttaching = 0, phReady = 1, phReskinning = 3, phDestroying = 4, phResizing = 5, phDead = 6 };
  enum TWindowState : int { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };
  enum TMDIKind : int { mkNone = 0, mkFrame = 1, mkChild = 2 };
  // Bits of BorderIcons.
  enum TBorderIcon : unsigned { biMaximize = 1, biMinimize = 2, biSystemMenu = 8, biCaptionRemoved = 0x10 };

  LONG_PTR Style = 0;
  TFrameKind FrameKind = TFrameKind::Fixed;
  // The caption buttons the window had, and whether its caption was taken.
  unsigned BorderIcons = 0;
  TWindowState State = wsNormal;
  TPhase Phase = phAttaching;
  TMDIKind MDIKind = mkNone;
  bool Active = true;
  bool RightToLeft = false;
  // The frame is the skin's (xcMainMenu was on at attach).
  bool SkinFrame = false;
  HWND Owner = nullptr;
  std::wstring ClassName;
};

}  // namespace qm
