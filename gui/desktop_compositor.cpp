#include "desktop_compositor.h"

namespace gui {

namespace {
// From dwmapi.h, which older headers lack in part.
constexpr DWORD kNonClientRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
constexpr DWORD kCloak = 13;                    // DWMWA_CLOAK
constexpr int kUseWindowStyle = 0, kDisabled = 1;  // DWMNCRP_*
}  // namespace

TCompositorCalls& CompositorCalls() {
  static TCompositorCalls calls = [] {
    TCompositorCalls loaded;
    if (HMODULE library = LoadLibraryW(L"dwmapi.dll"))
      loaded.SetWindowAttribute = reinterpret_cast<decltype(loaded.SetWindowAttribute)>(
          reinterpret_cast<void*>(GetProcAddress(library, "DwmSetWindowAttribute")));
    return loaded;
  }();
  return calls;
}

bool SetNonClientRendering(HWND window, bool enabled) {
  const auto set = CompositorCalls().SetWindowAttribute;
  const int policy = enabled ? kUseWindowStyle : kDisabled;
  return set && window && SUCCEEDED(set(window, kNonClientRenderingPolicy, &policy, sizeof policy));
}

bool SetCloaked(HWND window, bool cloaked) {
  const auto set = CompositorCalls().SetWindowAttribute;
  const BOOL value = cloaked ? TRUE : FALSE;
  return set && window && SUCCEEDED(set(window, kCloak, &value, sizeof value));
}

}  // namespace gui
