// A program that ends while its windows are still skinned: the main form,
// a bare dialog, a message box and a popup menu opened from it. It calls
// exit() from inside the menu's loop, inside the box's loop, so that the
// program's end takes the manager and the library's objects with all of
// them open; first it frees the main form (with its skin) with "forms", or
// the manager with "manager". It runs on the poisoned heap: a dangling read
// ends it with a fault, and the test that starts it sees an exit code other
// than 0.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "../stored_skin.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/5_manage/skin_manage.h"

namespace {

const char* gFirst = "";
// exit() does not free it, as it does not free the program's main form.
gui::TForm* gForm = nullptr;
HWND gMain = nullptr;

BOOL CALLBACK Repaint(HWND w, LPARAM) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
  return TRUE;
}

void CALLBACK EndNow(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (std::strcmp(gFirst, "forms") == 0) std::unique_ptr<gui::TForm>(gForm).reset();
  if (std::strcmp(gFirst, "manager") == 0) qm::TSkinManage::Free();
  // What is still open paints and answers once more.
  EnumThreadWindows(GetCurrentThreadId(), &Repaint, 0);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  std::exit(0);
}

void CALLBACK OpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = FindWindowW(L"#32770", L"启明映像向导");
  SetForegroundWindow(box);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"打开皮肤");
  SetTimer(nullptr, 0, 300, &EndNow);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, 120, 120, 0, box, nullptr);
  std::exit(13);  // the menu was closed before the end came
}

void CALLBACK OpenBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SetTimer(nullptr, 0, 300, &OpenMenu);
  MessageBoxW(gMain, L"请选择分区", L"启明映像向导", MB_OK);
  std::exit(14);  // the box was closed before the end came
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) gFirst = argv[1];
  gForm = new gui::TForm(nullptr);
  gui::TForm* form = gForm;
  form->SetClientSize(320, 200);
  form->SetCaption("启明映像向导");
  auto* button = form->Make<gui::TButton>();
  button->SetParent(form);
  button->SetBounds(10, 10, 90, 26);
  button->SetCaption("确定");
  auto* skin = form->Make<qm::TSkinData>();
  skin->PackedSkin = qm::TMemoryStream(qm::test::PackedStoredSkin());
  if (!skin->LoadSkin()) return 12;
  qm::TSkinManage& manager = qm::TSkinManage::Make();
  manager.AddSkinData(skin);
  manager.InstallHook();
  manager.RequestAction(qm::saSkinOn, qm::kSkinActionDelayMs);  // before any activation: at once
  form->Show();
  gMain = form->Handle();
  SetActiveWindow(gMain);
  // A dialog of its own beside the form, skinned as any foreign window.
  HWND dialog = CreateWindowExW(0, L"#32770", L"对话框", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 380, 40,
                                200, 120, gMain, nullptr, GetModuleHandleW(nullptr), nullptr);
  CreateWindowExW(0, L"BUTTON", L"取消", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, dialog, nullptr,
                  GetModuleHandleW(nullptr), nullptr);
  SetActiveWindow(dialog);
  SetTimer(nullptr, 0, 300, &OpenBox);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 15;  // the loop ended before the end came
}
