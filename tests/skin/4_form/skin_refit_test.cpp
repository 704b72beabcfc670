// A skinned window whose skin data switches to another skin file at run
// time: the manager carries the change out on its timer, and the window
// keeps its client area under the new frame, painted and shaped by it.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "../stored_skin.h"
#include "gui/forms.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_frame.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"

namespace qm {
namespace {

// The skin files the build puts beside the test program.
std::string SkinFileBesideProgram(const char* name) { return qmtest::Utf8(qmtest::BesideProgram(gui::Widen(name))); }

struct TWindowShape {
  SIZE Client, Window;
  RECT RegionBox;
};

TWindowShape ShapeOf(HWND h) {
  TWindowShape s{};
  RECT r;
  GetClientRect(h, &r);
  s.Client = {r.right, r.bottom};
  GetWindowRect(h, &r);
  s.Window = {r.right - r.left, r.bottom - r.top};
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(h, region) != ERROR) GetRgnBox(region, &s.RegionBox);
  DeleteObject(region);
  return s;
}

class SkinRefit : public ::testing::Test {
 protected:
  void SetUp() override {
    // As in the program: a main-form skin data component that has been
    // loaded with its stored skin and switched on, and a form that the
    // manager's hook skins when it is first activated.
    Skin = std::make_unique<TSkinData>(nullptr);
    Skin->PackedSkin = TMemoryStream(test::PackedStoredSkin());
    ASSERT_TRUE(Skin->LoadSkin());
    Skin->Loaded();
    Skin->SetActive(true);
    Form = std::make_unique<gui::TForm>(nullptr);
    Form->SetBorderStyle(gui::TFormBorderStyle::bsDialog);
    Form->SetClientSize(483, 436);
    Form->SetCaption("启明映像向导 V1.0");
    Form->Show();
    SetActiveWindow(Form->Handle());
    qmtest::PumpFor(1000, [&] { return Skinner() && Skinner()->Phase() == TWinSkinForm::phReady; });
    qmtest::PumpUntilSettled();
  }
  void TearDown() override {
    Form.reset();
    Skin.reset();
    TSkinManage::Free();
  }

  TWinSkinForm* Skinner() const {
    return FormSkinnerHost() ? FormSkinnerHost()->FindFormSkinner(Form->Handle()) : nullptr;
  }

  // Switches the skin file and waits for the manager's timer to refit.
  void SwitchTo(const std::string& file, const TFrameMetrics& expected) {
    Skin->SetSkinFile(file);
    qmtest::PumpFor(2000, [&] {
      return TSkinManage::Instance()->PendingSkinData() == nullptr && Skinner()->Frame().Metrics() == expected;
    });
    qmtest::PumpFor(100);
  }

  std::unique_ptr<TSkinData> Skin;
  std::unique_ptr<gui::TForm> Form;
};

TEST_F(SkinRefit, SwitchingTheSkinFileRefitsTheFrameAroundTheSameClientArea) {
  HWND h = Form->Handle();
  ASSERT_NE(Skinner(), nullptr);
  ASSERT_EQ(Skinner()->Frame().Metrics(), (TFrameMetrics{18, 39, 18, 15}));

  const struct {
    const char* File;
    TFrameMetrics Frame;
    COLORREF Face;
    POINT Close;  // from the window's top right
  } steps[] = {
      {"second.skn", {6, 28, 6, 6}, RGB(206, 214, 226), {26, 4}},
      {"default.skn", {18, 39, 18, 15}, RGB(180, 180, 180), {25, 6}},
      {"second.skn", {6, 28, 6, 6}, RGB(206, 214, 226), {26, 4}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.File);
    SwitchTo(SkinFileBesideProgram(step.File), step.Frame);
    ASSERT_EQ(Skinner()->Frame().Metrics(), step.Frame);
    const TWindowShape s = ShapeOf(h);
    const int width = 483 + step.Frame.BorderLeft + step.Frame.BorderRight;
    const int height = 436 + step.Frame.TitleHeight + step.Frame.BorderBottom;
    EXPECT_EQ(s.Client.cx, 483);
    EXPECT_EQ(s.Client.cy, 436);
    EXPECT_EQ(s.Window.cx, width);
    EXPECT_EQ(s.Window.cy, height);
    // The region is cut anew for the new size: its box reaches the bottom
    // right corner of the window, and no further.
    EXPECT_EQ(s.RegionBox.right, width);
    EXPECT_EQ(s.RegionBox.bottom, height);
    EXPECT_EQ(gui::ColorToRGB(Form->Color()), step.Face);

    // The frame on screen is the new skin's, and so is the close button's place.
    gui::TBitmap expected(width, height);
    PaintSkinBorder(*Skin->Skin(), TFrameSide::Bottom, FrameSideRect(step.Frame, TFrameSide::Bottom, width, height),
                    expected.Canvas().Handle(), Skinner()->Window().Active);
    HDC dc = GetWindowDC(h);
    EXPECT_EQ(GetPixel(dc, width / 2, height - 3), expected.Canvas().Pixel(width / 2, height - 3));
    ReleaseDC(h, dc);
    const TWinSysButton* close = nullptr;
    for (const auto& b : Skinner()->CaptionButtons().Buttons())
      if (b->FVisible && b->FData.Action == 0) close = b.get();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->FBounds.left, width - step.Close.x);
    EXPECT_EQ(close->FBounds.top, step.Close.y);
  }

  // A file that is not there changes nothing on screen.
  const TWindowShape before = ShapeOf(h);
  Skin->SetSkinFile(SkinFileBesideProgram("missing.skn"));
  qmtest::PumpFor(600);
  EXPECT_EQ(Skinner()->Frame().Metrics(), (TFrameMetrics{6, 28, 6, 6}));
  EXPECT_EQ(ShapeOf(h).Window.cx, before.Window.cx);
  EXPECT_EQ(ShapeOf(h).Window.cy, before.Window.cy);
  EXPECT_EQ(SendMessageW(h, WM_ISSKINNED, 0, 0), 1);
}

}  // namespace
}  // namespace qm
