#include "timer.h"

#include "control.h"

namespace gui {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  static const wchar_t kClass[] = L"TTimerWindow";
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  if (!GetClassInfoW(instance, kClass, &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = &TTimer::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
  }
  // A message-only window: it never shows and is never skinned.
  FWindow = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  PublishInt("Interval", [this] { return static_cast<int>(FInterval); }, [this](int v) { SetInterval(v < 0 ? 0 : v); });
  PublishBool("Enabled", [this] { return FEnabled; }, [this](bool v) { SetEnabled(v); });
  Update();
}

TTimer::~TTimer() {
  if (FWindow) {
    KillTimer(FWindow, 1);
    DestroyWindow(FWindow);
  }
}

void TTimer::SetInterval(unsigned ms) {
  FInterval = ms;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Update();
}

void TTimer::Update() {
  KillTimer(FWindow, 1);
  if (FEnabled && FInterval > 0) SetTimer(FWindow, 1, FInterval, nullptr);
}

LRESULT CALLBACK TTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto* self = reinterpret_cast<TTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->FEnabled && self->OnTimer) GuardedCall([self] { self->OnTimer(*self); });
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace gui
