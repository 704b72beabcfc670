// Screenshot helper: selects a page of the running program's window as a
// user would, with the arrow keys on the tabs,
// and prints the window's rectangle as "x y width height".
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// A window that is being skinned changes its size once its frame is fitted:
// the rectangle counts once it has stayed the same for half a second.
void PrintRect(HWND window) {
  RECT r{}, last{};
  int steady = 0;
  for (int i = 0; i < 60 && steady < 5; ++i) {
    GetWindowRect(window, &r);
    steady = EqualRect(&r, &last) ? steady + 1 : 0;
    last = r;
    Sleep(100);
  }
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}
}  // namespace

// Argument: a page number (-1 leaves the page alone), or "help" to press the
// help button and report the help viewer's rectangle instead.
int main(int argc, char** argv) {
  const bool help = argc > 1 && std::string(argv[1]) == "help";
  const int page = argc > 1 && !help ? std::atoi(argv[1]) : -1;
  HWND form = nullptr;
  for (int i = 0; i < 200 && !form; ++i) {
    form = FindWindowW(L"TMainForm", nullptr);
    if (!form) Sleep(50);
  }
  if (!form) {
    std::fprintf(stderr, "the program's window is not there\n");
    return 1;
  }
  HWND tabs = FindWindowExW(form, nullptr, WC_TABCONTROLW, nullptr);
  if (tabs && page >= 0) {
    // Messages that carry pointers (WM_NOTIFY, TCM_GETITEMRECT) do not
    // travel between processes, so use the keyboard as a user could: the tab
    // control then notifies its parent itself.
    for (int i = 0; i < 6; ++i) SendMessageW(tabs, WM_KEYDOWN, VK_LEFT, 0);
    for (int i = 0; i < page; ++i) SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  }
  SetForegroundWindow(form);
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (help) {
    HWND button = FindWindowExW(form, nullptr, L"Button", L"帮  助");
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND viewer = nullptr;
    for (int i = 0; i < 200 && !viewer; ++i) {
      viewer = FindWindowW(L"HH Parent", nullptr);
      if (!viewer) Sleep(50);
    }
    if (!viewer) {
      std::fprintf(stderr, "the help viewer did not open\n");
      return 1;
    }
    PrintRect(viewer);
    return 0;
  }
  PrintRect(form);
  return 0;
}
