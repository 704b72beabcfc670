// A help library whose viewer takes some of the messages it is offered in
// the program's message loop (HH_PRETRANSLATEMESSAGE), as the real viewer
// takes its own keys: here those numbered WM_APP + 0x48.
#include <windows.h>
// After windows.h, which it needs.
#include <htmlhelp.h>

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpA(HWND, LPCSTR, UINT command, DWORD_PTR data) {
  if (command == HH_PRETRANSLATEMESSAGE && reinterpret_cast<const MSG*>(data)->message == WM_APP + 0x48)
    return reinterpret_cast<HWND>(1);
  return nullptr;
}
