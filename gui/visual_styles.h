#pragma once
// Visual styles (uxtheme.dll) for one window. A window whose looks another
// painter takes over must not be themed as well: the theme would draw its
// own faces under that painter's pictures and play its hover and press
// animations over them. The library is loaded when first needed; where it
// is missing, windows are not themed in the first place.

#include <windows.h>

namespace gui {

// SetWindowTheme with blank names: no theme class matches the window any
// more, and it is drawn as on a system without visual styles. (A blank, not
// an empty string: some systems take an empty name for no name at all.)
// False where there are no visual styles to turn off.
bool TurnWindowThemeOff(HWND window);
// SetWindowTheme with no names: the window follows its class's theme again.
void RestoreWindowTheme(HWND window);

}  // namespace gui
