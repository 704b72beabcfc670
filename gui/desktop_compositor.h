#pragma once
// The desktop compositor (dwmapi.dll, Windows Vista and later). Where it
// runs, it draws a frame of its own around every top-level window unless
// told that the window draws its frame itself, and it can keep a window off
// the screen (cloak it) while the window is still being dressed. The
// library is loaded when first needed; on systems without it every call
// here does nothing and says so.

#include <windows.h>

namespace gui {

// The compositor's entry points in use. Tests put recorders in their place
// to see what a window asked for, which Wine's compositor stand-in ignores.
struct TCompositorCalls {
  HRESULT(WINAPI* SetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
};
TCompositorCalls& CompositorCalls();

// DWMWA_NCRENDERING_POLICY: the compositor's frame off (DWMNCRP_DISABLED)
// while the window paints its frame itself, or back to what the window's
// style asks for (DWMNCRP_USEWINDOWSTYLE). False where there is no
// compositor to ask.
bool SetNonClientRendering(HWND window, bool enabled);

// DWMWA_CLOAK (Windows 8 and later): a cloaked window is shown as far as
// every program can tell, but the compositor does not draw it. True only
// when the compositor took the request, so that a caller uncloaks only what
// it cloaked.
bool SetCloaked(HWND window, bool cloaked);

}  // namespace gui
