// The browser link under Wine: its builtin browser answers the automation
// object "InternetExplorer.Application" from a separate process, navigates
// (the page stays blank, since the HTML engine is switched off in the test
// prefix) and shows its window, which the test then closes.

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <set>
#include <thread>

#include "web_links.h"

namespace fs = std::filesystem;
using namespace qm;

namespace {

struct TBrowserWindow {
  HWND Frame = nullptr;
  std::wstring Address;
};

BOOL CALLBACK FindAddressEdit(HWND child, LPARAM found) {
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  if (wcscmp(className, L"Edit") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

std::wstring AddressOf(HWND frame) {
  HWND edit = nullptr;
  EnumChildWindows(frame, FindAddressEdit, reinterpret_cast<LPARAM>(&edit));
  if (edit == nullptr) return std::wstring();
  wchar_t text[1024] = {};
  // The frame belongs to another process: WM_GETTEXT is marshalled, a
  // direct GetWindowText would not read another process's control.
  SendMessageTimeoutW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

struct TSearch {
  std::wstring Marker;
  TBrowserWindow Found;
};

BOOL CALLBACK FindBrowser(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<TSearch*>(search);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (wcscmp(className, L"IEFrame") != 0 || !IsWindowVisible(window)) return TRUE;
  const std::wstring address = AddressOf(window);
  if (address.find(s.Marker) == std::wstring::npos) return TRUE;
  s.Found = {window, address};
  return FALSE;
}

// The visible browser frame whose address holds marker, waiting for it up to
// a few seconds; a null frame when none turns up.
TBrowserWindow WaitForBrowser(const std::wstring& marker, bool present = true) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  for (;;) {
    TSearch search{marker, {}};
    EnumWindows(FindBrowser, reinterpret_cast<LPARAM>(&search));
    if ((search.Found.Frame != nullptr) == present || std::chrono::steady_clock::now() > deadline) return search.Found;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

std::set<DWORD> BrowserProcesses() {
  std::set<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, L"iexplore.exe") == 0) ids.insert(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

// Ends every browser that came up while it lived, whatever the test's
// outcome: one left running keeps the output pipe of the test open, and the
// harness waiting for it.
class TBrowserCleanup {
 public:
  ~TBrowserCleanup() {
    for (const DWORD id : BrowserProcesses()) {
      if (FBefore.count(id) != 0) continue;
      if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
        if (WaitForSingleObject(process, 5000) == WAIT_TIMEOUT) TerminateProcess(process, 1);
        CloseHandle(process);
      }
    }
  }

 private:
  std::set<DWORD> FBefore = BrowserProcesses();
};

}  // namespace

TEST(BrowserLink, OpensAVisibleBrowserWindowAtTheAddressAndLeavesItOpen) {
  const fs::path page = fs::temp_directory_path() / "qm-browser-link.htm";
  std::ofstream(page) << "<html><body>QiMing</body></html>";
  std::wstring url = L"file:///" + page.wstring();
  for (auto& c : url)
    if (c == L'\\') c = L'/';

  const TBrowserCleanup cleanup;
  // Wine gives the browser's server 30 s to come up; the first start in a
  // fresh prefix on a busy machine has taken longer, and the browser then
  // answered only a second request.
  for (int attempt = 1;; ++attempt) {
    try {
      OpenInBrowser(url);
      break;
    } catch (const EAutomationError& e) {
      ASSERT_TRUE(attempt < 2 && e.Code() != REGDB_E_CLASSNOTREG) << e.what();
    }
  }

  const TBrowserWindow browser = WaitForBrowser(L"qm-browser-link.htm");
  ASSERT_NE(browser.Frame, nullptr) << "no browser window came up";
  DWORD browserProcess = 0;
  GetWindowThreadProcessId(browser.Frame, &browserProcess);
  EXPECT_NE(browserProcess, GetCurrentProcessId()) << "the browser should run as its own program";

  PostMessageW(browser.Frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForBrowser(L"qm-browser-link.htm", false).Frame, nullptr) << "the browser window did not close";
  std::error_code ignored;
  fs::remove(page, ignored);
}

TEST(BrowserLink, AutomationErrorNamesTheStepAndThePlatformReason) {
  const EAutomationError classMissing("不能创建浏览器对象 InternetExplorer.Application", REGDB_E_CLASSNOTREG);
  const std::string text = classMissing.what();
  EXPECT_EQ(text.rfind("不能创建浏览器对象 InternetExplorer.Application：", 0), 0u) << text;
  EXPECT_NE(text.find("0x80040154"), std::string::npos) << text;
  EXPECT_EQ(classMissing.Code(), REGDB_E_CLASSNOTREG);

  // A code the platform has words for keeps them, without the trailing
  // line break those words come with.
  const std::string denied = SystemErrorText(E_ACCESSDENIED);
  EXPECT_NE(denied.find("0x80070005"), std::string::npos) << denied;
  EXPECT_GT(denied.size(), std::string(" (0x80070005)").size()) << denied;
  EXPECT_EQ(denied.find_first_of("\r\n"), std::string::npos) << denied;
}
