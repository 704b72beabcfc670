#pragma once
// Whether what a window shows once it has settled is what a full repaint of
// it draws. Stale pixels (bits the system copied when a client moved, a
// paint clipped wrongly, a part never painted) survive until something
// repaints them; a forced repaint of frame, children and background shows
// what should have been there.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qmtest {

// The pixels of a window's rectangle as the screen shows them.
struct TScreenPixels {
  int Width = 0, Height = 0;
  std::vector<DWORD> Bits;  // top-down rows, 0x00RRGGBB
  DWORD At(int x, int y) const { return Bits[static_cast<size_t>(y) * Width + x]; }
};

TScreenPixels ScreenPixels(HWND window);

// Pumps the GUI thread until the window and its children have nothing left
// to paint and two looks at the screen agree outside Masks (window
// coordinates), or until LimitMs has passed; the last look.
TScreenPixels SettledPixels(HWND window, const std::vector<RECT>& Masks = {}, int LimitMs = 5000);

struct TPaintDifference {
  int Count = 0;        // pixels that differ outside the masks
  RECT Bounds{};        // where they lie, window coordinates
  std::string Pictures;  // where both looks were saved, when they differ
  std::string Describe() const;
};

TPaintDifference Difference(const TScreenPixels& Before, const TScreenPixels& After,
                            const std::vector<RECT>& Masks = {});

// Saves the pixels as a 32-bit BMP file.
void SavePixels(const TScreenPixels& Pixels, const std::wstring& Path);

// Lets the window settle, keeps what it shows, repaints it whole (frame,
// children, background) and compares. Masks leave out parts that change on
// their own (the banner's scrolling strip).
TPaintDifference StaleAgainstFullRepaint(HWND window, const std::vector<RECT>& Masks = {});

// The visible descendants of a window that reach out of its client area,
// by class and text; empty when every one lies inside.
std::string ChildrenOutsideClient(HWND window);

// A rectangle of a child window, in the coordinates of its top-level window.
RECT RectInWindow(HWND child, HWND window);

// Keeps every processor busy from its construction to its destruction, as
// other programs of a loaded machine do.
class TBusyMachine {
 public:
  TBusyMachine();
  ~TBusyMachine();
  TBusyMachine(const TBusyMachine&) = delete;
  TBusyMachine& operator=(const TBusyMachine&) = delete;

 private:
  struct TState;
  std::unique_ptr<TState> FState;
};

}  // namespace qmtest
