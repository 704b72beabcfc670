#include "settled_paint.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "ui_driver.h"

namespace qmtest {

namespace {

bool Masked(const std::vector<RECT>& masks, int x, int y) {
  const POINT p{x, y};
  for (const RECT& r : masks)
    if (PtInRect(&r, p)) return true;
  return false;
}

// Nothing of this thread's windows waits to be painted, and nothing is
// posted or sent that could make it so.
bool NothingPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return HIWORD(GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) == 0;
}

}  // namespace

TScreenPixels ScreenPixels(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  TScreenPixels out;
  out.Width = r.right - r.left;
  out.Height = r.bottom - r.top;
  out.Bits.assign(static_cast<size_t>(out.Width) * out.Height, 0);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = out.Width;
  bi.bmiHeader.biHeight = -out.Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, picture);
  // From the screen, not the window's DC: what shows, whatever the window
  // believes it has painted.
  BitBlt(memory, 0, 0, out.Width, out.Height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const DWORD*>(bits);
  for (size_t i = 0; i < out.Bits.size(); ++i) out.Bits[i] = p[i] & 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

TPaintDifference Difference(const TScreenPixels& Before, const TScreenPixels& After, const std::vector<RECT>& Masks) {
  TPaintDifference d;
  if (Before.Width != After.Width || Before.Height != After.Height) {
    d.Count = std::max(Before.Width * Before.Height, After.Width * After.Height);
    d.Bounds = RECT{0, 0, std::max(Before.Width, After.Width), std::max(Before.Height, After.Height)};
    return d;
  }
  d.Bounds = RECT{Before.Width, Before.Height, 0, 0};
  for (int y = 0; y < Before.Height; ++y)
    for (int x = 0; x < Before.Width; ++x)
      if (Before.At(x, y) != After.At(x, y) && !Masked(Masks, x, y)) {
        ++d.Count;
        d.Bounds.left = std::min<LONG>(d.Bounds.left, x);
        d.Bounds.top = std::min<LONG>(d.Bounds.top, y);
        d.Bounds.right = std::max<LONG>(d.Bounds.right, x + 1);
        d.Bounds.bottom = std::max<LONG>(d.Bounds.bottom, y + 1);
      }
  if (d.Count == 0) d.Bounds = RECT{};
  return d;
}

std::string TPaintDifference::Describe() const {
  if (Count == 0) return "no pixel differs";
  return std::to_string(Count) + " pixels differ within (" + std::to_string(Bounds.left) + ", " +
         std::to_string(Bounds.top) + ") - (" + std::to_string(Bounds.right) + ", " + std::to_string(Bounds.bottom) +
         "); " + Pictures;
}

void SavePixels(const TScreenPixels& Pixels, const std::wstring& Path) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = Pixels.Width;
  info.biHeight = -Pixels.Height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  const DWORD data = static_cast<DWORD>(Pixels.Bits.size() * sizeof(DWORD));
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + data;
  std::ofstream out(Path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(Pixels.Bits.data()), data);
}

TScreenPixels SettledPixels(HWND window, const std::vector<RECT>& Masks, int LimitMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(LimitMs);
  TScreenPixels last;
  bool haveLast = false;
  while (Clock::now() < deadline) {
    if (!NothingPending()) {
      Sleep(5);
      continue;
    }
    TScreenPixels now = ScreenPixels(window);
    if (haveLast && Difference(last, now, Masks).Count == 0) return now;
    last = std::move(now);
    haveLast = true;
    // Long enough for the window system to have shown whatever was painted
    // (Wine passes painted pixels to the screen at most every 50 ms).
    PumpFor(80);
  }
  return haveLast ? last : ScreenPixels(window);
}

TPaintDifference StaleAgainstFullRepaint(HWND window, const std::vector<RECT>& Masks) {
  const TScreenPixels settled = SettledPixels(window, Masks);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const TScreenPixels repainted = SettledPixels(window, Masks);
  TPaintDifference d = Difference(settled, repainted, Masks);
  if (d.Count > 0) {
    // Both looks, for a person to see what was stale.
    static int saved = 0;
    const std::wstring base = MakeTempFolder(L"paint") + L"\\" + std::to_wstring(++saved);
    SavePixels(settled, base + L"-shown.bmp");
    SavePixels(repainted, base + L"-repainted.bmp");
    d.Pictures = "pictures: " + Utf8(base) + "-shown.bmp, -repainted.bmp";
  }
  return d;
}

namespace {
// Adds a child that reaches out of the client rectangle (screen
// coordinates) to the list.
BOOL CALLBACK NoteChildOutside(HWND child, LPARAM p) {
  auto* s = reinterpret_cast<std::pair<RECT, std::string>*>(p);
  RECT r, both;
  GetWindowRect(child, &r);
  IntersectRect(&both, &r, &s->first);
  if (IsWindowVisible(child) && !EqualRect(&both, &r)) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    s->second += Utf8(cls) + " \"" + Utf8(WindowText(child)) + "\"; ";
  }
  return TRUE;
}
}  // namespace

std::string ChildrenOutsideClient(HWND window) {
  std::pair<RECT, std::string> search;
  GetClientRect(window, &search.first);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&search.first), 2);
  EnumChildWindows(window, &NoteChildOutside, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

RECT RectInWindow(HWND child, HWND window) {
  RECT c, w;
  GetWindowRect(child, &c);
  GetWindowRect(window, &w);
  OffsetRect(&c, -w.left, -w.top);
  return c;
}

struct TBusyMachine::TState {
  std::atomic<bool> Stop{false};
  std::vector<std::thread> Threads;
};

TBusyMachine::TBusyMachine() : FState(std::make_unique<TState>()) {
  const unsigned n = std::max(2u, std::thread::hardware_concurrency());
  for (unsigned i = 0; i < n; ++i)
    FState->Threads.emplace_back([s = FState.get()] {
      volatile unsigned long long spin = 0;
      while (!s->Stop.load(std::memory_order_relaxed)) spin = spin + 1;
    });
}

TBusyMachine::~TBusyMachine() {
  FState->Stop = true;
  for (std::thread& t : FState->Threads) t.join();
}

}  // namespace qmtest
