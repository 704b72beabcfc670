// The program's end with skinned windows, a dialog, a message box and a
// popup menu still open, in both orders of the forms and the manager.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "gui/graphics.h"

namespace {

DWORD RunProbe(const std::wstring& arguments) {
  std::wstring command = L"\"" QM_PROGRAM_END_PROBE L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0xFFFFFFFF;
  // It ends by itself within a few seconds; a hang counts as a failure.
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 0xDEAD);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

}  // namespace

TEST(ProgramEnd, WithSkinnedWindowsDialogsAndPopupsOpenTheProgramEndsCleanly) {
  // Freed before the end: nothing but the program's end itself, the main
  // form with its skin, or the manager.
  for (const wchar_t* first : {L"", L"forms", L"manager"}) {
    SCOPED_TRACE(gui::Narrow(first));
    EXPECT_EQ(RunProbe(first), 0u);
  }
}
