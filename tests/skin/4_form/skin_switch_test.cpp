// A skin loaded while a window shows another. Until the manager's tick
// re-applies it, everything the window does with its frame (painting,
// hovering and pressing its caption buttons, hit tests, its system menu)
// uses the skin it was built from; after the tick its frame and its region
// are the new skin's, as a window skinned with it from the start has them.
// A skin that fails to load changes nothing. Run on the poisoned heap, a
// window that read a description of the skin before fails here.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_message.h"
#include "skin/1_data/skin_package_writer.h"
#include "skin/1_data/skin_reader.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"

namespace qm {
namespace {

using qmtest::BesideProgram;
using qmtest::ReadFileBytes;
using qmtest::WriteFileBytes;

// The default skin with a dozen more caption buttons than it has, on the
// left of the title: a skin whose button descriptions cannot sit where the
// old ones were.
std::vector<uint8_t> ManyButtonsSkin(const std::vector<uint8_t>& packed) {
  TSkinReader reader;
  TMemoryStream source(packed);
  if (!reader.ReadSkin(source)) return {};
  std::vector<TSkinMember> members;
  for (const std::string& name : reader.Names) {
    TMemoryStream member;
    reader.GetMember(name, member);
    members.push_back({name, member.Bytes()});
    if (name.find(".ini") == std::string::npos) continue;
    std::string ini(member.Bytes().begin(), member.Bytes().end());
    // Appended piece by piece: the i686 GCC 12 takes a literal put before a
    // string for an overlapping copy.
    for (int i = 0; i < 12; ++i) {
      ini.append("\r\n[Button").append(std::to_string(20 + i));
      ini.append("]\r\nAction=").append(std::to_string(100 + i));
      ini.append("\r\nAlign=0\r\nXcoord=").append(std::to_string(60 + 20 * i));
      ini.append("\r\nYcoord=6\r\nVisibility=200\r\nButtonImage=close.bmp\r\n");
    }
    members.back().Bytes.assign(ini.begin(), ini.end());
  }
  return PackSkin(members);
}

std::vector<std::string> Messages;
void RecordMessage(const std::string& text) { Messages.push_back(text); }

// The window as the screen shows it, and its region.
struct TFrameShot {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  std::shared_ptr<std::remove_pointer_t<HRGN>> Region;
};

TFrameShot Shoot(HWND h) {
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  TFrameShot shot;
  RECT r;
  GetWindowRect(h, &r);
  shot.Width = r.right - r.left, shot.Height = r.bottom - r.top;
  gui::TBitmap copy(shot.Width, shot.Height);
  HDC dc = GetWindowDC(h);
  BitBlt(copy.Canvas().Handle(), 0, 0, shot.Width, shot.Height, dc, 0, 0, SRCCOPY);
  ReleaseDC(h, dc);
  for (int y = 0; y < shot.Height; ++y)
    for (int x = 0; x < shot.Width; ++x) {
      const uint8_t* p = copy.ScanLine(y) + 3 * x;
      shot.Pixels.push_back(RGB(p[2], p[1], p[0]));
    }
  shot.Region.reset(CreateRectRgn(0, 0, 0, 0), &DeleteObject);
  if (GetWindowRgn(h, shot.Region.get()) == ERROR) shot.Region.reset();
  return shot;
}

// Pixels of the window that differ, where the window is (its region).
int Differences(const TFrameShot& a, const TFrameShot& b) {
  if (a.Width != b.Width || a.Height != b.Height) return -1;
  if (!a.Region || !b.Region || !EqualRgn(a.Region.get(), b.Region.get())) return -2;
  int n = 0;
  for (int y = 0; y < a.Height; ++y)
    for (int x = 0; x < a.Width; ++x)
      n += PtInRegion(a.Region.get(), x, y) && a.Pixels[y * a.Width + x] != b.Pixels[y * b.Width + x];
  return n;
}

class SkinSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    Messages.clear();
    FPreviousHandler = SetSkinMessageHandler(&RecordMessage);
    Skin = std::make_unique<TSkinData>(nullptr);
    Skin->SetSkinFile(Default);
    ASSERT_FALSE(Skin->SkinEmpty);
    Skin->Loaded();
    Skin->SetActive(true);
    Form = MakeForm(0);
    ASSERT_NE(Skinner(*Form), nullptr);
  }
  void TearDown() override {
    Form.reset();
    Skin.reset();
    TSkinManage::Free();
    SetSkinMessageHandler(FPreviousHandler);
  }

  // A form the manager's hook skins when it is activated, at Left.
  static std::unique_ptr<gui::TForm> MakeForm(int Left) {
    auto form = std::make_unique<gui::TForm>(nullptr);
    form->SetBorderStyle(gui::TFormBorderStyle::bsDialog);
    form->SetClientSize(400, 300);
    form->SetCaption("启明映像向导 V1.0");
    form->Show();
    SetWindowPos(form->Handle(), nullptr, Left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetActiveWindow(form->Handle());
    qmtest::PumpFor(1000, [&] { return Skinner(*form) && Skinner(*form)->Phase() == TWinSkinForm::phReady; });
    qmtest::PumpFor(50);
    return form;
  }
  static TWinSkinForm* Skinner(gui::TForm& form) {
    return FormSkinnerHost() ? FormSkinnerHost()->FindFormSkinner(form.Handle()) : nullptr;
  }
  // Carries out a pending request of the skin data and waits for it.
  static void LetTheManagerTick() {
    TSkinManage::Instance()->RunPendingAction();
    qmtest::PumpFor(2000, [] { return TSkinManage::Instance()->PendingSkinData() == nullptr; });
    qmtest::PumpFor(50);
  }

  const std::string Default = qmtest::Utf8(BesideProgram(L"default.skn"));
  std::unique_ptr<TSkinData> Skin;
  std::unique_ptr<gui::TForm> Form;

 private:
  TSkinMessageHandler FPreviousHandler = nullptr;
};

TEST_F(SkinSwitch, TheWindowUsesItsSkinUntilTheTickAndTheNewOneAfter) {
  const std::wstring folder = qmtest::MakeTempFolder(L"switch");
  const std::vector<uint8_t> second = ReadFileBytes(BesideProgram(L"second.skn"));
  std::vector<uint8_t> noise(4096);
  std::mt19937 random(23);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
  const std::vector<uint8_t> outdated = LzhEncode(BuildSkinContainer({{"skin.ini", {'[', ']'}}}, 19999));
  const struct {
    const char* Case;
    std::string File;
    bool Loads;
  } cases[] = {
      {"another skin", qmtest::Utf8(BesideProgram(L"second.skn")), true},
      {"a skin with many more caption buttons",
       WriteFileBytes(folder, L"many.skn", ManyButtonsSkin(ReadFileBytes(BesideProgram(L"default.skn")))), true},
      {"a file that is not there", qmtest::Utf8(folder + L"\\missing.skn"), false},
      {"a skin cut in half", WriteFileBytes(folder, L"cut.skn", {second.begin(), second.begin() + second.size() / 2}),
       false},
      {"random bytes", WriteFileBytes(folder, L"noise.skn", noise), false},
      {"an outdated package", WriteFileBytes(folder, L"old.skn", outdated), false},
  };
  HWND h = Form->Handle();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    if (Skin->SkinFile() != Default) {
      Skin->SetSkinFile(Default);
      LetTheManagerTick();
    }
    TWinSkinForm& skinner = *Skinner(*Form);
    const std::shared_ptr<const TLoadedSkin> built = skinner.Skin();
    ASSERT_EQ(built, Skin->Skin());
    const TFrameShot before = Shoot(h);
    SendMessageW(h, WM_NCACTIVATE, FALSE, 0);
    const TFrameShot inactive = Shoot(h);
    SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
    RECT wr;
    GetWindowRect(h, &wr);
    const POINT spots[] = {{wr.left + 200, wr.top + 1},  {wr.left + 200, wr.top + 20}, {wr.left + 200, wr.bottom - 2},
                           {wr.left + 2, wr.top + 150}, {wr.right - 2, wr.top + 150}, {wr.left + 200, wr.top + 200}};
    std::vector<LRESULT> hits;
    for (POINT p : spots) hits.push_back(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));

    Skin->SetSkinFile(c.File);
    // The manager's tick is held back while the window is put through its paces.
    TSkinManage::Instance()->HoldPendingActionForTest();
    EXPECT_EQ(Skin->SkinEmpty, !c.Loads);
    EXPECT_EQ(Skin->Skin() != built, c.Loads) << "only a complete load is published";
    EXPECT_EQ(skinner.Skin(), built);
    int visible = 0;
    for (const auto& b : skinner.CaptionButtons().Buttons()) {
      if (!b->FVisible) continue;
      ++visible;
      const POINT centre{wr.left + (b->FBounds.left + b->FBounds.right) / 2,
                         wr.top + (b->FBounds.top + b->FBounds.bottom) / 2};
      SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(centre.x, centre.y));
      EXPECT_EQ(skinner.CaptionButtons().HotObject(), b.get()) << "button " << b->FData.Action;
      SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(centre.x, centre.y));
      EXPECT_EQ(b->FState, TNCObject::stPressed);
      SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(wr.left + 200, wr.top + 20));
    }
    EXPECT_GE(visible, 2) << "close and the icon at least";
    for (size_t i = 0; i < std::size(spots); ++i)
      EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(spots[i].x, spots[i].y)), hits[i]) << "spot " << i;
    bool opened = false;
    skinner.SystemMenu().Popup()->OnPopup = [&](gui::TPopupMenu&) { opened = true; };
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &qmtest::EndMenuNow);
    skinner.SystemMenu().Popup()->Popup(wr.left + 60, wr.top + 30);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(opened);
    SendMessageW(h, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(Differences(Shoot(h), inactive), 0) << "the title follows activation";
    SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(Differences(Shoot(h), before), 0) << "still the skin it was built from";

    LetTheManagerTick();
    ASSERT_EQ(Skinner(*Form), &skinner);
    EXPECT_EQ(skinner.Skin() != built, c.Loads);
    if (!c.Loads) {
      EXPECT_EQ(Differences(Shoot(h), before), 0) << "a load that failed changes nothing";
      continue;
    }
    // The new skin's frame and region, as a window skinned with it from the
    // start has them, both seen inactive.
    auto fresh = MakeForm(wr.right + 2);
    ASSERT_EQ(Skinner(*fresh)->Skin(), skinner.Skin());
    for (HWND w : {h, fresh->Handle()}) SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(Differences(Shoot(h), Shoot(fresh->Handle())), 0);
    fresh.reset();
    SetActiveWindow(h);
    qmtest::PumpFor(500, [&] { return skinner.Window().Active; });
  }
  EXPECT_FALSE(Messages.empty()) << "the outdated package is told of";
}

}  // namespace
}  // namespace qm
