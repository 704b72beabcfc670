// The listener for the system's setting broadcasts: it hears them although
// it is never shown, and passes them on only once they are over.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "gui/system_settings.h"
#include "ui_driver.h"

using namespace gui;

TEST(SettingsListener, HearsTheBroadcastsAndPassesThemOnOnceWhenTheyAreOver) {
  std::vector<UINT> heard;
  TSettingsListener listener([&](UINT msg) { heard.push_back(msg); });
  ASSERT_NE(listener.Window(), nullptr);
  EXPECT_FALSE(IsWindowVisible(listener.Window()));
  // What the system sends for one change of high contrast, in a row.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  SendMessageW(listener.Window(), WM_SYSCOLORCHANGE, 0, 0);
  SendMessageW(listener.Window(), WM_THEMECHANGED, 0, 0);
  EXPECT_TRUE(heard.empty()) << "not while the senders still wait";
  qmtest::PumpFor(1000, [&] { return !heard.empty(); });
  qmtest::PumpUntilSettled();
  EXPECT_EQ(heard, std::vector<UINT>{WM_THEMECHANGED});
  SendMessageW(listener.Window(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  qmtest::PumpFor(1000, [&] { return heard.size() == 2; });
  EXPECT_EQ(heard, (std::vector<UINT>{WM_THEMECHANGED, WM_DISPLAYCHANGE}));
}
