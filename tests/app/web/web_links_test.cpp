// The browser link under Wine: its builtin browser answers the automation
// object "InternetExplorer.Application" from a separate process, navigates
// (the page stays blank, since the HTML engine is switched off in the test
// prefix) and shows its window, which the test then closes.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
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

}  // namespace

TEST(BrowserLink, OpensAVisibleBrowserWindowAtTheAddressAndLeavesItOpen) {
  const fs::path page = fs::temp_directory_path() / "qm-browser-link.htm";
  std::ofstream(page) << "<html><body>QiMing</body></html>";
  std::wstring url = L"file:///" + page.wstring();
  for (auto& c : url)
    if (c == L'\\') c = L'/';

  ASSERT_NO_THROW(OpenInBrowser(url));

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
