#include "focus_walk.h"

#include <algorithm>
#include <chrono>

#include "gui/forms.h"
#include "ui_driver.h"

namespace qmtest {

int Differing(const TScreenPixels& A, const TScreenPixels& B, const RECT& R) {
  int n = 0;
  const int bottom = std::min<int>({R.bottom, A.Height, B.Height}), right = std::min<int>({R.right, A.Width, B.Width});
  for (int y = std::max<int>(0, R.top); y < bottom; ++y)
    for (int x = std::max<int>(0, R.left); x < right; ++x) n += A.At(x, y) != B.At(x, y);
  return n;
}

void PressKey(WORD vk, bool shift) {
  if (shift) SendKey(VK_SHIFT, false);
  SendKey(vk, false);
  SendKey(vk, true);
  if (shift) SendKey(VK_SHIFT, true);
}

void ProcessUntil(const std::function<bool()>& done, int Limit) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Limit);
  while (std::chrono::steady_clock::now() < end) {
    gui::Application().ProcessMessages();
    if (done()) return;
    Sleep(5);
  }
}

HWND FocusStop() {
  HWND focus = GetFocus();
  HWND parent = focus ? GetParent(focus) : nullptr;
  wchar_t cls[32] = {};
  if (parent) GetClassNameW(parent, cls, 32);
  return lstrcmpiW(cls, L"ComboBox") == 0 ? parent : focus;
}

std::vector<TFocusStop> WalkWithTab(HWND window, const std::vector<RECT>& Masks, int MaxStops) {
  std::vector<TFocusStop> stops;
  for (int i = 0; i < MaxStops; ++i) {
    const HWND before = FocusStop();
    PressKey(VK_TAB);
    ProcessUntil([&] { return FocusStop() != before; });
    const HWND now = FocusStop();
    if (now == before || (!stops.empty() && now == stops.front().Control)) break;
    stops.push_back(TFocusStop{now, SettledPixels(window, Masks)});
  }
  return stops;
}

std::vector<std::string> FocusFaults(const std::vector<TFocusStop>& stops, HWND window) {
  std::vector<std::string> faults;
  if (stops.size() < 2) return {"fewer than two stops"};
  for (size_t c = 0; c < stops.size(); ++c) {
    const RECT place = RectInWindow(stops[c].Control, window);
    const std::string name = Utf8(WindowText(stops[c].Control)) + " (stop " + std::to_string(c) + ")";
    // Its looks without the focus, just before and just after it had it: a
    // control may keep what the focus did to it (an edit scrolled to its
    // caret), but not the focus look.
    const TScreenPixels& before = stops[c == 0 ? 1 : c - 1].Look;
    const TScreenPixels& after = stops[c + 1 < stops.size() ? c + 1 : c - 1].Look;
    if (Differing(stops[c].Look, after, place) == 0) faults.push_back(name + " shows no focus");
    for (size_t s = 0; s < stops.size(); ++s) {
      if (s == c) continue;
      if (Differing(stops[s].Look, s < c ? before : after, place) != 0)
        faults.push_back(name + " changes while stop " + std::to_string(s) + " has the focus");
    }
  }
  return faults;
}

}  // namespace qmtest
