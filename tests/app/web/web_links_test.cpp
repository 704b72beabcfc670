#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "web_links.h"
using namespace qm;
static BOOL CALLBACK Show(HWND h, LPARAM) { wchar_t c[128], t[128]; GetClassNameW(h, c, 128); GetWindowTextW(h, t, 128); DWORD pid; GetWindowThreadProcessId(h,&pid); if (IsWindowVisible(h)) std::printf("win %ls '%ls' pid %lu\n", c, t, pid); return TRUE; }
TEST(Probe, Browser) {
  try { OpenInBrowser(L"about:blank"); std::printf("OK\n"); }
  catch (const EAutomationError& e) { std::printf("ERR %s %08lx\n", e.what(), (unsigned long)e.Code()); }
  Sleep(3000);
  EnumWindows(Show, 0);
  std::printf("self %lu\n", GetCurrentProcessId());
}
