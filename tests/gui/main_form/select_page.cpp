// Screenshot helper: selects a page of the running program's window as a
// user would, with the arrow keys on the tabs,
// and prints the window's rectangle as "x y width height". It can also
// open the program's message box for an empty choice, or take the
// activation away from the program's window for a while.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui_driver.h"

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
// A small window of our own in the screen's top left corner takes the
// activation, so the program's window shows its inactive frame until this
// helper ends, `seconds` later.
void HoldActivation(HWND form, int seconds) {
  HWND mine = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0, 40, 20, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(mine);
  SetActiveWindow(mine);
  auto pump = [](DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    while (GetTickCount() < until) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(20);
    }
  };
  pump(500);
  PrintRect(form);
  std::fflush(stdout);
  pump(static_cast<DWORD>(seconds) * 1000);
  DestroyWindow(mine);
}

void Key(WORD vk, bool up) {
  qmtest::SendKey(vk, up);
  Sleep(60);
}

void Press(WORD vk, int times = 1) {
  for (int i = 0; i < times; ++i) Key(vk, false), Key(vk, true), Sleep(120);
}

void AltKey(WORD vk) {
  Key(VK_MENU, false);
  Press(vk);
  Key(VK_MENU, true);
  Sleep(400);
}

// The window and the popup menus open over it, together.
void PrintRectWithMenus(HWND window) {
  Sleep(800);
  RECT all;
  GetWindowRect(window, &all);
  for (HWND popup = FindWindowW(L"#32768", nullptr); popup; popup = FindWindowExW(nullptr, popup, L"#32768", nullptr)) {
    RECT r;
    if (IsWindowVisible(popup) && GetWindowRect(popup, &r)) UnionRect(&all, &all, &r);
  }
  std::printf("%ld %ld %ld %ld\n", all.left, all.top, all.right - all.left, all.bottom - all.top);
}

HWND WaitForWindow(const wchar_t* cls, const wchar_t* caption) {
  HWND w = nullptr;
  for (int i = 0; i < 200 && !w; ++i) {
    w = FindWindowW(cls, caption);
    if (!w) Sleep(50);
  }
  return w;
}

// The first visible window of a class that the skin engine has skinned
// (it answers WM_ISSKINNED, 0x3504, with 1), waited for on a busy machine.
HWND WaitForSkinned(const wchar_t* cls) {
  for (int i = 0; i < 400; ++i) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) {
      DWORD_PTR skinned = 0;
      if (IsWindowVisible(w) && SendMessageTimeoutW(w, 0x3504, 0, 0, SMTO_ABORTIFHUNG, 1000, &skinned) && skinned == 1)
        return w;
    }
    Sleep(50);
  }
  return nullptr;
}
// Presses Tab until the window's thread has the focus on the button with
// Caption; false when it never comes there.
bool TabTo(HWND window, const wchar_t* caption) {
  SetForegroundWindow(window);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  for (int i = 0; i < 40; ++i) {
    Sleep(300);
    wchar_t text[64] = {};
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus && GetWindowTextW(info.hwndFocus, text, 64) &&
        lstrcmpW(text, caption) == 0)
      return true;
    Press(VK_TAB);
  }
  return false;
}
}  // namespace

// Argument: a page number (-1 leaves the page alone); "help" to press the
// help button and report the help viewer's rectangle instead; "msgbox" to
// press "生成批处理文件" with nothing chosen and report the message box's
// rectangle; "blur N" to hold the activation away from the program for N
// seconds, having printed its window's rectangle; "skinview" to report the
// rectangle of SkinView's window instead ("skinview N": after turning to
// its page N); "sysmenu" to right-click the program's caption and report
// the rectangle of its top left corner with the system menu that opens
// there; "skinview-sysmenu" to open SkinView's system menu with Alt+Space
// and report the same; "skinview-menu" to open SkinView's demo menu down to its deepest
// submenu and report the window with the popups; "skinview-mdi" to open SkinView's MDI window from its menu, maximise a
// child and report the MDI window's rectangle; "start" to report the
// program's window as it shows once it has started, touching nothing;
// "save" to press the image file's "选  择" and report the Save dialog's
// rectangle; "focus-run" to move the keyboard focus with Tab to
// "生成批处理文件"; "skinview-focus" the same to SkinView's "皮肤开/关";
// "skinview-disabled" to switch SkinView's controls off from its demo menu;
// each reporting its window's rectangle.
int main(int argc, char** argv) {
  // Rectangles as they are on screen, at whatever scale the display runs:
  // the program is aware of it, and so must its photographer be.
  SetProcessDPIAware();
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "start") {
    HWND form = WaitForSkinned(L"TMainForm");
    if (!form) {
      std::fprintf(stderr, "the program's window did not come up skinned\n");
      return 1;
    }
    PrintRect(form);
    return 0;
  }
  if (what == "sysmenu") {
    HWND form = WaitForWindow(L"TMainForm", nullptr);
    if (!form) {
      std::fprintf(stderr, "the program's window is not there\n");
      return 1;
    }
    SetForegroundWindow(form);
    Sleep(500);
    RECT w{};
    GetWindowRect(form, &w);
    // The click of a user's right button on the caption, as the window sees it.
    const POINT at{w.left + 120, w.top + 12};
    PostMessageW(form, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    HWND menu = nullptr;
    for (int i = 0; i < 100 && !menu; ++i) {
      menu = FindWindowW(L"#32768", nullptr);
      if (menu && !IsWindowVisible(menu)) menu = nullptr;
      if (!menu) Sleep(50);
    }
    if (!menu) {
      std::fprintf(stderr, "no system menu came up\n");
      return 1;
    }
    Sleep(500);
    RECT m{};
    GetWindowRect(menu, &m);
    std::printf("%ld %ld %ld %ld\n", w.left, w.top, m.right + 24 - w.left, m.bottom + 24 - w.top);
    return 0;
  }
  if (what == "skinview-sysmenu") {
    // Alt+Space, as a user would open the system menu from the keyboard.
    HWND view = WaitForWindow(L"TSkinViewForm", nullptr);
    if (!view) {
      std::fprintf(stderr, "SkinView's window is not there\n");
      return 1;
    }
    SetForegroundWindow(view);
    Sleep(1500);
    AltKey(VK_SPACE);
    HWND menu = WaitForWindow(L"#32768", nullptr);
    if (!menu) {
      std::fprintf(stderr, "no system menu came up\n");
      return 1;
    }
    Sleep(500);
    RECT w{}, m{};
    GetWindowRect(view, &w);
    GetWindowRect(menu, &m);
    std::printf("%ld %ld %ld %ld\n", w.left, w.top, m.right + 24 - w.left, m.bottom + 24 - w.top);
    return 0;
  }
  if (what == "skinview-menu" || what == "skinview-mdi") {
    HWND view = WaitForWindow(L"TSkinViewForm", nullptr);
    if (!view) {
      std::fprintf(stderr, "SkinView's window is not there\n");
      return 1;
    }
    SetForegroundWindow(view);
    Sleep(1500);
    if (what == "skinview-menu") {
      AltKey('D');
      // Down to "子菜单" (past "全部控件禁用"), then into it and into its
      // own submenu.
      Press(VK_DOWN, 9);
      Press(VK_RIGHT);
      Press(VK_DOWN);
      Press(VK_RIGHT);
      PrintRectWithMenus(view);
      return 0;
    }
    AltKey('W');
    Press(VK_RETURN);
    HWND frame = WaitForWindow(L"SkinViewMDIFrame", nullptr);
    if (!frame) {
      std::fprintf(stderr, "the MDI window did not open\n");
      return 1;
    }
    Sleep(1000);
    HWND client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    SetForegroundWindow(frame);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PrintRect(frame);
    return 0;
  }
  if (what == "focus-run" || what == "skinview-focus" || what == "skinview-disabled") {
    HWND window = what == "focus-run" ? WaitForSkinned(L"TMainForm") : WaitForSkinned(L"TSkinViewForm");
    if (!window) {
      std::fprintf(stderr, "the window did not come up skinned\n");
      return 1;
    }
    if (what == "skinview-disabled") {
      SetForegroundWindow(window);
      Sleep(1500);
      AltKey('D');
      Press('A');
    } else if (!TabTo(window, what == "focus-run" ? L"生成批处理文件" : L"皮肤开/关")) {
      std::fprintf(stderr, "Tab never came to the button\n");
      return 1;
    }
    PrintRect(window);
    return 0;
  }
  if (what == "skinview") {
    HWND view = WaitForSkinned(L"TSkinViewForm");
    if (!view) {
      std::fprintf(stderr, "SkinView's window is not there\n");
      return 1;
    }
    SetForegroundWindow(view);
    if (HWND tabs = FindWindowExW(view, nullptr, WC_TABCONTROLW, nullptr); tabs && argc > 2) {
      // As for the program's pages, by the keyboard (see below).
      for (int i = 0; i < 4; ++i) SendMessageW(tabs, WM_KEYDOWN, VK_LEFT, 0);
      for (int i = 0; i < std::atoi(argv[2]); ++i) SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    }
    PrintRect(view);
    return 0;
  }
  const bool help = what == "help", msgbox = what == "msgbox", blur = what == "blur", save = what == "save";
  const int page = argc > 1 && !help && !msgbox && !blur && !save ? std::atoi(argv[1]) : -1;
  HWND form = WaitForWindow(L"TMainForm", nullptr);
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
  if (blur) {
    HoldActivation(form, argc > 2 ? std::atoi(argv[2]) : 5);
    return 0;
  }
  SetForegroundWindow(form);
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (msgbox) {
    PostMessageW(FindWindowExW(form, nullptr, L"Button", L"生成批处理文件"), BM_CLICK, 0, 0);
    HWND box = WaitForWindow(L"#32770", nullptr);
    if (!box) {
      std::fprintf(stderr, "no message box came up\n");
      return 1;
    }
    PrintRect(box);
    return 0;
  }
  if (save) {
    // The file panel's first "选  择", that of the image file.
    HWND panel = nullptr, button = nullptr;
    while (!button && (panel = FindWindowExW(form, panel, nullptr, nullptr)))
      for (HWND inner = FindWindowExW(panel, nullptr, nullptr, nullptr); inner && !button;
           inner = FindWindowExW(panel, inner, nullptr, nullptr))
        button = FindWindowExW(inner, nullptr, L"Button", L"选  择");
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND dialog = WaitForSkinned(L"#32770");
    if (!dialog) {
      std::fprintf(stderr, "no skinned Save dialog came up\n");
      return 1;
    }
    PrintRect(dialog);
    return 0;
  }
  if (help) {
    HWND button = FindWindowExW(form, nullptr, L"Button", L"帮  助");
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND viewer = WaitForWindow(L"HH Parent", nullptr);
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
