// The help loader against the real help library of the platform and against
// a system folder where the library is missing or is not a help library.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <htmlhelp.h>

#include <filesystem>
#include <string>

#include "html_help.h"

namespace fs = std::filesystem;
using namespace qm;

namespace {

fs::path ProgramFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

fs::path FreshFolder(const wchar_t* name) {
  const fs::path folder = fs::temp_directory_path() / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void PumpMessages() {
  for (int round = 0; round < 20; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// Runs call and returns the text of the EHtmlHelpError it raised.
template <typename F>
std::string HelpErrorOf(F call) {
  try {
    call();
  } catch (const EHtmlHelpError& error) {
    return error.what();
  }
  return "(no error)";
}

class HtmlHelpLoading : public ::testing::Test {
 protected:
  void SetUp() override { ResetHtmlHelpForTesting(); }
  void TearDown() override {
    if (HtmlHelpEntry != nullptr) CallHtmlHelp(nullptr, L"", HH_CLOSE_ALL, 0);
    PumpMessages();
    ResetHtmlHelpForTesting();
  }
  static HWND CloseAll() { return CallHtmlHelp(nullptr, L"", HH_CLOSE_ALL, 0); }
};

}  // namespace

TEST_F(HtmlHelpLoading, TwoRequestsLoadAndInitialiseTheLibraryOnce) {
  CloseAll();
  CloseAll();
  EXPECT_EQ(HtmlHelpLoader().LoadAttempts, 1);
  EXPECT_EQ(HtmlHelpLoader().Initialisations, 1);
  ASSERT_NE(HelpLibrary, nullptr);
  EXPECT_NE(HtmlHelpEntry, nullptr);

  wchar_t loaded[MAX_PATH] = {}, system[MAX_PATH] = {};
  GetModuleFileNameW(HelpLibrary, loaded, MAX_PATH);
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(CompareStringOrdinal(loaded, -1, (std::wstring(system) + L"\\hhctrl.ocx").c_str(), -1, TRUE), CSTR_EQUAL)
      << "loaded from " << fs::path(loaded).string();
}

TEST_F(HtmlHelpLoading, MissingLibraryIsReportedAndTriedAgainNextTime) {
  HtmlHelpLoader().SystemFolder = FreshFolder(L"qm-no-help").wstring();
  EXPECT_EQ(HelpErrorOf(CloseAll), HelpLibraryMissingText);
  EXPECT_EQ(HelpErrorOf(CloseAll), HelpLibraryMissingText);
  EXPECT_EQ(HtmlHelpLoader().LoadAttempts, 2);
  EXPECT_EQ(HtmlHelpLoader().Initialisations, 0);
  EXPECT_EQ(HtmlHelpEntry, nullptr);

  // Once the library is there the next request succeeds.
  HtmlHelpLoader().SystemFolder.clear();
  EXPECT_NO_THROW(CloseAll());
  EXPECT_EQ(HtmlHelpLoader().LoadAttempts, 3);
  EXPECT_EQ(HtmlHelpLoader().Initialisations, 1);
}

TEST_F(HtmlHelpLoading, LibraryWithoutTheEntryIsReportedAndNotKept) {
  const fs::path folder = FreshFolder(L"qm-wrong-help");
  fs::copy_file(ProgramFolder() / "not_html_help.dll", folder / "hhctrl.ocx");
  HtmlHelpLoader().SystemFolder = folder.wstring();

  EXPECT_EQ(HelpErrorOf(CloseAll), HelpEntryMissingText);
  EXPECT_EQ(HelpLibrary, nullptr);
  EXPECT_EQ(HtmlHelpEntry, nullptr);
  EXPECT_EQ(HtmlHelpLoader().Initialisations, 0);
  // Freed again, so the impostor can be removed.
  EXPECT_EQ(GetModuleHandleW((folder / "hhctrl.ocx").c_str()), nullptr);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

TEST_F(HtmlHelpLoading, TheViewerIsOfferedTheLoopsMessagesOnceHelpIsOpen) {
  MSG viewers{nullptr, WM_APP + 0x48, 0, 0, 0, {}}, others{nullptr, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_FALSE(PreTranslateHelpMessage(viewers)) << "no help opened yet";
  const fs::path folder = FreshFolder(L"qm-keys-help");
  fs::copy_file(ProgramFolder() / "pretranslating_help.dll", folder / "hhctrl.ocx");
  HtmlHelpLoader().SystemFolder = folder.wstring();
  CloseAll();
  EXPECT_TRUE(PreTranslateHelpMessage(viewers));
  EXPECT_FALSE(PreTranslateHelpMessage(others));
}

TEST_F(HtmlHelpLoading, PathOutsideTheAnsiCodePageIsRefusedBeforeLoading) {
  // U+0E01 (a Thai letter) exists in no Chinese or Western ANSI code page.
  EXPECT_EQ(HelpErrorOf([] { CallHtmlHelp(nullptr, L"C:\\help\\\u0E01.chm", HH_DISPLAY_TOPIC, 0); }),
            HelpPathNotAnsiText);
  EXPECT_EQ(HtmlHelpLoader().LoadAttempts, 0);
}

TEST_F(HtmlHelpLoading, MissingHelpFileGivesNoViewerAndNoError) {
  const fs::path absent = FreshFolder(L"qm-absent-help") / "PartKit.chm";
  HWND viewer = reinterpret_cast<HWND>(1);
  EXPECT_NO_THROW(viewer = CallHtmlHelp(nullptr, absent.wstring(), HH_DISPLAY_TOPIC, 0));
  EXPECT_EQ(viewer, nullptr);
}

class HelpViewer : public HtmlHelpLoading {
 protected:
  // Opens file at its default topic, checks the viewer's title and closes it.
  void OpenAndClose(const fs::path& file) {
    HWND viewer = CallHtmlHelp(nullptr, file.wstring(), HH_DISPLAY_TOPIC, 0);
    ASSERT_NE(viewer, nullptr) << file.string();
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(viewer));
    EXPECT_EQ(WindowText(viewer), L"启明映像向导 帮助");
    CloseAll();
    PumpMessages();
    EXPECT_FALSE(IsWindow(viewer));
  }
};

TEST_F(HelpViewer, OpensTheHelpFileBesideTheProgram) { OpenAndClose(ProgramFolder() / "PartKit.chm"); }

TEST_F(HelpViewer, OpensTheHelpFileFromAFolderWithAChineseName) {
  if (GetACP() != 936) GTEST_SKIP() << "needs the Chinese ANSI code page";
  const fs::path folder = FreshFolder(L"启明帮助");
  fs::copy_file(ProgramFolder() / "PartKit.chm", folder / "PartKit.chm");
  OpenAndClose(folder / "PartKit.chm");
}
