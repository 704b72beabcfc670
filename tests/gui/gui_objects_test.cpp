// The object counts every leak test relies on must see objects come and go.
#include <gtest/gtest.h>

#include <windows.h>

#include "gui_objects.h"

TEST(GuiObjects, CountsFollowObjectsBeingMadeAndFreed) {
  const int gdi = qmtest::GdiObjectCount();
  HBRUSH brushes[5];
  for (HBRUSH& b : brushes) b = CreateSolidBrush(RGB(1, 2, 3));
  HRGN region = CreateRectRgn(0, 0, 5, 5);
  EXPECT_EQ(qmtest::GdiObjectCount(), gdi + 6);
  for (HBRUSH b : brushes) DeleteObject(b);
  DeleteObject(region);
  EXPECT_EQ(qmtest::GdiObjectCount(), gdi);

  // The thread's first window brings a window of the system's with it, and
  // its last takes that along.
  HWND anchor = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  const int user = qmtest::UserObjectCount();
  HMENU menu = CreatePopupMenu();
  HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, window, nullptr, nullptr, nullptr);
  ASSERT_TRUE(menu && window && child);
  EXPECT_EQ(qmtest::UserObjectCount(), user + 3);
  DestroyMenu(menu);
  DestroyWindow(window);
  EXPECT_EQ(qmtest::UserObjectCount(), user);
  DestroyWindow(anchor);
}
