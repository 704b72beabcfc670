#include "ui_driver.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qmtest {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND window) {
  wchar_t buffer[4096] = {};
  // WM_GETTEXT rather than GetWindowText: the window lives on another thread.
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buffer;
}

std::wstring DialogText(HWND dialog) {
  std::wstring text;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (lstrcmpiW(cls, L"Static") != 0) continue;
    const std::wstring t = WindowText(child);
    if (t.empty()) continue;
    if (!text.empty()) text += L"\n";
    text += t;
  }
  return text;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PressFirstButton(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    const LONG style = GetWindowLongW(child, GWL_STYLE) & 0x0F;
    if (lstrcmpiW(cls, L"Button") == 0 && (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON)) {
      PressButton(dialog, GetDlgCtrlID(child));
      return;
    }
  }
  PressButton(dialog, IDOK);
}

void ChooseFile(HWND dialog, const std::wstring& path) {
  // The explorer-style dialog keeps the name in a combo box (cmb13) or, in
  // older layouts, an edit (edt1). It may still be filling that field with
  // its start name after it has become visible (seen on a busy machine under
  // 64-bit Wine), which would overwrite a name typed too early: type it
  // again until it has stayed put for a while, then press OK.
  HWND field = GetDlgItem(dialog, 0x47c);
  if (!field) field = GetDlgItem(dialog, 0x480);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int steady = 0;
  while (steady < 5 && std::chrono::steady_clock::now() < deadline) {
    if (WindowText(field) == path) {
      ++steady;
    } else {
      steady = 0;
      SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
    }
    Sleep(40);
  }
  PressButton(dialog, IDOK);
}

TDialogWatcher::TDialogWatcher(std::function<void(HWND)> answer) : FAnswer(std::move(answer)) {
  FThread = std::thread([this] { Loop(); });
}

TDialogWatcher::TDialogWatcher() : TDialogWatcher(PressFirstButton) {}

TDialogWatcher::~TDialogWatcher() {
  FStop = true;
  FThread.join();
}

std::vector<TSeenDialog> TDialogWatcher::Seen() {
  std::lock_guard<std::mutex> lock(FLock);
  return FSeen;
}

int TDialogWatcher::Count() {
  std::lock_guard<std::mutex> lock(FLock);
  return static_cast<int>(FSeen.size());
}

namespace {
BOOL CALLBACK CollectDialog(HWND w, LPARAM p) {
  auto* list = reinterpret_cast<std::pair<DWORD, std::vector<HWND>*>*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (owner == list->first && IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0) list->second->push_back(w);
  return TRUE;
}
}  // namespace

void TDialogWatcher::Loop() {
  const DWORD pid = GetCurrentProcessId();
  // A dialog may be seen before its texts are readable (CI once read an
  // empty message under a busy 64-bit Wine): wait for text a while before
  // taking it as it stands, since some dialogs have none.
  std::vector<std::pair<HWND, std::chrono::steady_clock::time_point>> waiting;
  while (!FStop) {
    std::vector<HWND> found;
    std::pair<DWORD, std::vector<HWND>*> search(pid, &found);
    EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&search));
    const auto now = std::chrono::steady_clock::now();
    for (HWND dialog : found) {
      bool known = false;
      {
        std::lock_guard<std::mutex> lock(FLock);
        for (HWND h : FHandled) known = known || h == dialog;
      }
      if (known) continue;
      auto since = std::find_if(waiting.begin(), waiting.end(), [&](const auto& w) { return w.first == dialog; });
      if (since == waiting.end()) since = waiting.insert(waiting.end(), {dialog, now});
      TSeenDialog seen{WindowText(dialog), DialogText(dialog)};
      if (seen.Text.empty() && now - since->second < std::chrono::milliseconds(1500)) continue;
      waiting.erase(since);
      {
        std::lock_guard<std::mutex> lock(FLock);
        FHandled.push_back(dialog);
        FSeen.push_back(std::move(seen));
      }
      FAnswer(dialog);
    }
    // A closed dialog's handle may come back for the next one.
    {
      std::lock_guard<std::mutex> lock(FLock);
      std::erase_if(FHandled, [](HWND h) { return !IsWindow(h) || !IsWindowVisible(h); });
    }
    std::erase_if(waiting, [](const auto& w) { return !IsWindow(w.first) || !IsWindowVisible(w.first); });
    Sleep(30);
  }
}

void SendMouse(DWORD flags, DWORD data) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.mouseData = data;
  SendInput(1, &input, sizeof input);
}

void ClickAt(POINT at, DWORD down, DWORD up) {
  SetCursorPos(at.x, at.y);
  SendMouse(MOUSEEVENTF_MOVE);
  Sleep(100);
  SendMouse(down);
  Sleep(50);
  SendMouse(up);
}

void SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

namespace {
std::function<void(HWND)> gDialogCheck;

BOOL CALLBACK TakeShownDialog(HWND w, LPARAM p) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(p) = w;
  return FALSE;
}

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &TakeShownDialog, reinterpret_cast<LPARAM>(&found));
  if (!found || !gDialogCheck) return;
  KillTimer(nullptr, timer);
  const std::function<void(HWND)> check = std::move(gDialogCheck);
  gDialogCheck = nullptr;
  check(found);
}
}  // namespace

void WhileDialogShows(const std::function<void()>& Open, std::function<void(HWND)> Check) {
  gDialogCheck = std::move(Check);
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &LookForDialog);
  Open();
  KillTimer(nullptr, timer);
  gDialogCheck = nullptr;
}

void PumpFor(int milliseconds, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done && done()) return;
    Sleep(5);
  }
}

std::wstring BesideProgram(const std::wstring& name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring self = path;
  return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

namespace {
BOOL CALLBACK FindUnpainted(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  EnumChildWindows(window, &FindUnpainted, found);
  return !*reinterpret_cast<bool*>(found);
}

bool ThreadIsIdle() {
  if (HIWORD(GetQueueStatus(QS_ALLINPUT))) return false;
  bool unpainted = false;
  EnumThreadWindows(GetCurrentThreadId(), &FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}
}  // namespace

void PumpUntilSettled(int limit) {
  int idle = 0;
  PumpFor(limit, [&] {
    idle = ThreadIsIdle() ? idle + 1 : 0;
    return idle >= 2;
  });
}

bool WaitFor(const std::function<bool()>& done, int limit) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(5);
  }
  return true;
}

namespace {
BOOL CALLBACK CountPopupMenu(HWND window, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpW(cls, L"#32768") == 0)
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}
}  // namespace

void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

int OpenPopupMenus() {
  int count = 0;
  EnumWindows(&CountPopupMenu, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::wstring MakeTempFolder(const std::wstring& tag) {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"qm-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string WriteFileBytes(const std::wstring& folder, const std::wstring& name, const std::vector<uint8_t>& bytes) {
  const std::wstring path = folder + L"\\" + name;
  std::ofstream(std::filesystem::path(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return Utf8(path);
}

TOtherThreadWindow::TOtherThreadWindow(HWND parent) : FParent(parent) {
  FThread = std::thread([this] {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // a queue for the quit message
    FThreadId = GetCurrentThreadId();
    HWND w;
    if (FParent) {
      w = CreateWindowExW(0, L"BUTTON", L"别处", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 200, 10, 60, 24, FParent,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
    } else {
      HMENU menu = CreateMenu();
      AppendMenuW(menu, MF_STRING, 1, L"文件");
      w = CreateWindowExW(0, L"STATIC", L"别的线程", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 240, 160, nullptr,
                          menu, GetModuleHandleW(nullptr), nullptr);
    }
    FWindow = w;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(w);
    FDone = true;
  });
  // A child's creation tells its parent, on this thread, which must pump.
  while (!FWindow || !FThreadId) PumpFor(5);
}

TOtherThreadWindow::~TOtherThreadWindow() {
  PostThreadMessageW(FThreadId, WM_QUIT, 0, 0);
  // The window's end may send to the GUI thread (a parent's notification).
  while (!FDone) PumpFor(5);
  FThread.join();
}

}  // namespace qmtest
