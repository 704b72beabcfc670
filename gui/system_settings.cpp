#include "system_settings.h"

#include "control.h"

namespace gui {

namespace {
constexpr UINT kChangeHeard = WM_APP + 0x51;
constexpr UINT kCompositionChanged = 0x031E;  // WM_DWMCOMPOSITIONCHANGED

bool IsSettingChange(UINT msg) {
  return msg == WM_SETTINGCHANGE || msg == WM_SYSCOLORCHANGE || msg == WM_THEMECHANGED || msg == WM_DISPLAYCHANGE ||
         msg == kCompositionChanged;
}
}  // namespace

std::function<bool()>& HighContrastOverride() {
  static std::function<bool()> override;
  return override;
}

bool HighContrastOn() {
  if (const auto& override = HighContrastOverride()) return override();
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

TSettingsListener::TSettingsListener(std::function<void(UINT)> OnChange) : FOnChange(std::move(OnChange)) {
  static const wchar_t kClass[] = L"TSettingsListener";
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  if (!GetClassInfoW(instance, kClass, &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = &TSettingsListener::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
  }
  // Top-level and unowned, or the broadcasts pass it by; a tool window, so
  // that it never reaches the task bar even if something shows it.
  FWindow = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TSettingsListener::~TSettingsListener() {
  if (!FWindow) return;
  SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
  DestroyWindow(FWindow);
}

LRESULT CALLBACK TSettingsListener::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TSettingsListener*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && IsSettingChange(msg)) {
    if (!self->FPending) PostMessageW(hwnd, kChangeHeard, 0, 0);
    self->FPending = msg;
  } else if (self && msg == kChangeHeard && self->FPending) {
    const UINT heard = self->FPending;
    self->FPending = 0;
    if (self->FOnChange) GuardedCall([self, heard] { self->FOnChange(heard); });
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace gui
