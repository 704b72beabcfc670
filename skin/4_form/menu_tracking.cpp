#include "skin/4_form/menu_tracking.h"

#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

// The hook is the thread's: so is the popup it serves.
thread_local TMenuTracking* CurrentTracking = nullptr;

}  // namespace

TMenuTracking::TMenuTracking(TWinSkinForm& Form, int OpenIndex)
    : FForm(Form), FOuter(CurrentTracking), FOpenIndex(OpenIndex) {
  GetCursorPos(&FLastMousePos);
  CurrentTracking = this;
  FHook = SetWindowsHookExW(WH_MSGFILTER, FilterProc, nullptr, GetCurrentThreadId());
}

TMenuTracking::~TMenuTracking() {
  if (FHook) UnhookWindowsHookEx(FHook);
  CurrentTracking = FOuter;
}

TMenuTracking* TMenuTracking::Current() { return CurrentTracking; }

bool TMenuTracking::MenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && !lParam) return !FSwitching;
  FSwitching = false;
  FSelectedMenu = reinterpret_cast<HMENU>(lParam);
  FSelectedHasSubMenu = (flags & MF_POPUP) != 0;
  return false;
}

TMenuBtn* TMenuTracking::TargetOf(const MSG& Msg) {
  TWinSkinMenu* bar = FForm.Menus().Bar();
  if (!bar) return nullptr;
  if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_RIGHT) {
    if (!FSelectedHasSubMenu) return bar->NextItem(FOpenIndex, true);
  } else if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_LEFT) {
    // Inside a submenu the left arrow closes that submenu only.
    if (!FSelectedMenu || FSelectedMenu == FForm.Menus().TrackedPopup()) return bar->NextItem(FOpenIndex, false);
  } else if (Msg.message == WM_MOUSEMOVE) {
    POINT p;
    GetCursorPos(&p);
    if (p.x != FLastMousePos.x || p.y != FLastMousePos.y) {
      FLastMousePos = p;
      return bar->ItemAt(FForm.CaptionButtons().ScreenToWindow(p));
    }
  }
  return nullptr;
}

LRESULT CALLBACK TMenuTracking::FilterProc(int Code, WPARAM wParam, LPARAM lParam) {
  if (TMenuTracking* tracking = CurrentTracking) return tracking->Filter(Code, wParam, lParam);
  return CallNextHookEx(nullptr, Code, wParam, lParam);
}

LRESULT TMenuTracking::Filter(int Code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  TWinSkinMenu* bar = FForm.Menus().Bar();
  if (Code >= 0 && msg && bar && bar->RightToLeft() && msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_LEFT)
      msg->wParam = VK_RIGHT;
    else if (msg->wParam == VK_RIGHT)
      msg->wParam = VK_LEFT;
  }
  const LRESULT next = CallNextHookEx(FHook, Code, wParam, lParam);
  if (next || Code != MSGF_MENU || !msg || !bar) return next;
  if (!FFirstKeySent) {
    FFirstKeySent = true;
    PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);  // the first item gets selected
  }
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) FSwitching = false;
  if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_MENU) {
    FForm.Menus().EndTracking();
    return next;
  }
  TMenuBtn* target = TargetOf(*msg);
  if (!target || target->FIndex == FOpenIndex || FSwitchTo >= 0) return next;
  // The popup open now closes; the opener then opens the target's.
  FSwitching = true;
  FSwitchTo = target->FIndex;
  EndMenu();
  return msg->message == WM_KEYDOWN ? 1 : next;
}

}  // namespace qm
