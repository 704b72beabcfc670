#pragma once
// Drives real dialogs of this process from a second thread: message boxes
// are read and confirmed, save dialogs are given a file name or cancelled.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qmtest {

struct TSeenDialog {
  std::wstring Caption;
  std::wstring Text;  // the static texts, joined by newlines
};

// Answers every dialog ("#32770") the GUI thread opens, one at a time.
class TDialogWatcher {
 public:
  // answer gets each new dialog on the watcher thread and must close it.
  explicit TDialogWatcher(std::function<void(HWND)> answer);
  // A watcher that confirms message boxes with their first button.
  TDialogWatcher();
  ~TDialogWatcher();
  std::vector<TSeenDialog> Seen();
  int Count();

 private:
  void Loop();
  std::function<void(HWND)> FAnswer;
  std::atomic<bool> FStop{false};
  std::mutex FLock;
  std::vector<TSeenDialog> FSeen;
  std::vector<HWND> FHandled;
  std::thread FThread;
};

std::wstring DialogText(HWND dialog);
std::wstring WindowText(HWND window);
// Clicks the first push button of a dialog (OK of a message box).
void PressFirstButton(HWND dialog);
void PressButton(HWND dialog, int id);
// Types a name into a save dialog's file-name field and confirms it.
void ChooseFile(HWND dialog, const std::wstring& path);

// A real mouse event (SendInput), as a user's hand makes it; call it from a
// thread other than the GUI thread when that thread must pump meanwhile.
void SendMouse(DWORD flags, DWORD data = 0);
// Moves the real mouse to a screen point and presses and lets go of a button
// there (e.g. MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); from a thread other
// than the GUI thread, as SendMouse.
void ClickAt(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);
// A real key going down or up, the same way.
void SendKey(WORD vk, bool up);

// Runs Open, which shows a dialog modally on this thread (a message box, a
// file dialog), and Check with the dialog once it shows, from within the
// dialog's own message loop; Check must close it.
void WhileDialogShows(const std::function<void()>& Open, std::function<void(HWND)> Check);

// A window made and pumped by a thread of its own: the GUI thread can send
// it messages but can never take over its procedure. Top-level with a menu
// when Parent is null, else a push button inside Parent.
class TOtherThreadWindow {
 public:
  explicit TOtherThreadWindow(HWND parent = nullptr);
  ~TOtherThreadWindow();
  HWND Handle() const { return FWindow; }

 private:
  HWND FParent;
  std::atomic<HWND> FWindow{nullptr};
  std::atomic<DWORD> FThreadId{0};
  std::atomic<bool> FDone{false};
  std::thread FThread;
};

// Pumps the GUI thread's messages for a while, or until done() holds.
void PumpFor(int milliseconds, const std::function<bool()>& done = nullptr);
// Pumps until the thread has nothing left to do: its queue stays empty and
// none of its windows waits to be painted, twice in a row; at most
// `limit` milliseconds. For what showing, activating or attaching a window
// sets going; a wait for something that comes later (a timer) needs its
// own condition.
void PumpUntilSettled(int limit = 1000);
// Waits, without pumping, until done() holds or `limit` milliseconds have
// passed; for threads other than the GUI thread. True when done() held.
bool WaitFor(const std::function<bool()>& done, int limit);
// How many popup menus of this process are open.
int OpenPopupMenus();
// A timer procedure that ends the menu being tracked, for a test that opens
// one modally: SetTimer(nullptr, 0, ms, &EndMenuNow).
void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR, DWORD);

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);
// A file beside the test program (the skin files, the help file).
std::wstring BesideProgram(const std::wstring& name);
// A fresh empty folder for one test's files (Windows path).
std::wstring MakeTempFolder(const std::wstring& tag);
std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
// Writes Bytes as Folder\Name; answers its path in UTF-8.
std::string WriteFileBytes(const std::wstring& folder, const std::wstring& name, const std::vector<uint8_t>& bytes);

}  // namespace qmtest
