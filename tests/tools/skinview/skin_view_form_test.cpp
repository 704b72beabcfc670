// SkinView opens the stored default skin and a second skin file, refuses
// damaged files with a message while keeping the skin it shows, and
// switches skinning off and on.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "gui/graphics.h"
#include "gui/menus.h"
#include "gui/menus.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_package_writer.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/5_manage/skin_manage.h"
#include "skin_view_form.h"
#include "skin_view_menu.h"
#include "ui_driver.h"

namespace qm {
namespace {

using qmtest::BesideProgram;

std::string WriteFile(const std::wstring& name, const std::vector<uint8_t>& bytes) {
  return qmtest::WriteFileBytes(qmtest::MakeTempFolder(L"skinview"), name, bytes);
}

bool WindowSkinned(HWND h) { return SendMessageW(h, WM_ISSKINNED, 0, 0) == 1; }

class SkinView : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TSkinViewForm>(nullptr);
    Form->Show();
    SetActiveWindow(Form->Handle());
    qmtest::PumpUntilSettled();
  }
  void TearDown() override {
    Form.reset();
    TSkinManage::Free();
  }
  // Opens a file, answering the message a refusal shows; the message's text,
  // empty when there was none.
  std::wstring Open(const std::string& path, bool& opened) {
    std::wstring said;
    qmtest::TDialogWatcher watcher([&](HWND box) {
      said = qmtest::DialogText(box);
      qmtest::PressFirstButton(box);
    });
    opened = Form->OpenSkin(path);
    qmtest::PumpFor(700, [&] { return opened && WindowSkinned(Form->Handle()); });
    return said;
  }
  std::unique_ptr<TSkinViewForm> Form;
};

TEST_F(SkinView, OpensSkinFilesAndRefusesDamagedOnesKeepingItsSkin) {
  const std::string defaultSkin = qmtest::Utf8(BesideProgram(L"default.skn"));
  const std::string second = qmtest::Utf8(BesideProgram(L"second.skn"));
  const std::vector<uint8_t> good = qmtest::ReadFileBytes(BesideProgram(L"default.skn"));
  ASSERT_GT(good.size(), 1000u);
  std::vector<uint8_t> noise(good.size());
  std::mt19937 random(7);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
  const std::vector<uint8_t> oldContainer = LzhEncode(BuildSkinContainer({{"skin.ini", {'[', 'a', ']'}}}, 19999));
  const struct {
    const char* What;
    std::string Path;
    bool Opens;
    const wchar_t* Says;  // a piece of the message, for a refusal
  } files[] = {
      {"the stored default skin", defaultSkin, true, L""},
      {"a second skin file", second, true, L""},
      {"a truncated file", WriteFile(L"truncated.skn", {good.begin(), good.begin() + good.size() / 3}), false,
       L"truncated.skn"},
      {"an older container", WriteFile(L"old.skn", oldContainer), false, L"Older Skin File"},
      {"random bytes", WriteFile(L"noise.skn", noise), false, L"noise.skn"},
      {"a missing file", qmtest::Utf8(BesideProgram(L"missing.skn")), false, L"missing.skn"},
  };
  std::string shown;
  for (const auto& f : files) {
    SCOPED_TRACE(f.What);
    bool opened = false;
    const std::wstring said = Open(f.Path, opened);
    EXPECT_EQ(opened, f.Opens);
    if (f.Opens) {
      shown = f.Path;
      EXPECT_TRUE(said.empty()) << qmtest::Utf8(said);
    } else {
      EXPECT_NE(said.find(f.Says), std::wstring::npos) << qmtest::Utf8(said);
    }
    // A refusal leaves the window as it was: skinned with the last good file.
    EXPECT_EQ(Form->SkinFile(), shown);
    EXPECT_FALSE(Form->Skin->SkinEmpty);
    EXPECT_TRUE(WindowSkinned(Form->Handle()));
    const std::string name = shown.substr(shown.find_last_of('\\') + 1);
    EXPECT_NE(Form->Caption().find(name), std::string::npos) << Form->Caption();
  }
}

TEST_F(SkinView, SkinningGoesOffAndOnAgain) {
  bool opened = false;
  Open(qmtest::Utf8(BesideProgram(L"default.skn")), opened);
  ASSERT_TRUE(opened);
  RECT client;
  GetClientRect(Form->Handle(), &client);
  for (bool on : {false, true}) {
    SCOPED_TRACE(on ? "on" : "off");
    Form->ToggleSkinning();
    qmtest::PumpFor(700, [&] { return WindowSkinned(Form->Handle()) == on; });
    EXPECT_EQ(WindowSkinned(Form->Handle()), on);
    RECT now;
    GetClientRect(Form->Handle(), &now);
    EXPECT_EQ(now.right, client.right);
    EXPECT_EQ(now.bottom, client.bottom);
    EXPECT_EQ(GetMenu(Form->Handle()), on ? nullptr : Form->Menu()->Handle()) << "the skin draws the bar itself";
  }
}

TEST_F(SkinView, ItsMenuOpensTheMDIWindowWithTwoChildren) {
  bool opened = false;
  Open(qmtest::Utf8(BesideProgram(L"default.skn")), opened);
  gui::TMenuItem& windows = *Form->Menu()->Items().Items(2);
  for (int again = 0; again < 2; ++again) {
    windows.Items(0)->Click();
    const HWND frame = Form->Menus->MDIWindow();
    ASSERT_TRUE(IsWindow(frame));
    qmtest::PumpFor(700, [&] { return WindowSkinned(frame); });
    EXPECT_TRUE(WindowSkinned(frame));
    const HWND client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    int children = 0;
    for (HWND c = GetWindow(client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 2);
    SendMessageW(frame, WM_CLOSE, 0, 0);
    qmtest::PumpFor(100);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(Form->Menus->MDIWindow(), nullptr);
  }
}

TEST_F(SkinView, ARightClickOnTheWindowOpensTheSkinnedDemoMenuAndItsItemsWork) {
  bool opened = false;
  Open(qmtest::Utf8(BesideProgram(L"default.skn")), opened);
  ASSERT_TRUE(opened);
  SetForegroundWindow(Form->Handle());
  qmtest::PumpFor(200);
  // The window's own area, right of the pages and above the status bar.
  RECT client;
  GetClientRect(Form->Handle(), &client);
  POINT at{client.right - 8, client.bottom - 40};
  ClientToScreen(Form->Handle(), &at);
  ASSERT_EQ(ChildWindowFromPointEx(Form->Handle(), POINT{client.right - 8, client.bottom - 40}, CWP_SKIPINVISIBLE), Form->Handle());
  gui::TMenuItem* grid = Form->ContextMenu->Items().Items(0);
  const bool checked = grid->Checked();
  std::atomic<HWND> shown{nullptr};
  std::atomic<bool> skinned{false};
  std::thread hand([&] {
    qmtest::ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    for (int i = 0; i < 100 && !shown; ++i) {
      HWND w = FindWindowW(L"#32768", nullptr);
      if (w && IsWindowVisible(w)) shown = w;
      Sleep(20);
    }
    Sleep(300);
    if (!shown) return;
    // Asked while the GUI thread tracks the menu; it answers from there.
    skinned = SendMessageW(shown, WM_ISSKINNED, 0, 0) == 1;
    RECT first{};
    GetMenuItemRect(nullptr, Form->ContextMenu->Handle(), 0, &first);
    qmtest::ClickAt(POINT{(first.left + first.right) / 2, (first.top + first.bottom) / 2});
  });
  qmtest::PumpFor(4000, [&] { return shown && grid->Checked() != checked; });
  hand.join();
  qmtest::PumpFor(100);
  ASSERT_NE(shown.load(), nullptr);
  EXPECT_TRUE(skinned);
  EXPECT_TRUE(Form->ContextMenu->OwnerDraw()) << "items painted from the skin";
  EXPECT_NE(grid->Checked(), checked) << "the chosen item toggled once";
}

}  // namespace
}  // namespace qm
