// Check boxes, radio buttons and group boxes corrected after they painted
// themselves: the skin's cell for each state in the right place, and the
// group box's rounded frame under its caption.
#include "gui/std_controls.h"
#include "skin/3_controls/skin_check_box.h"
#include "skinned_form.h"

namespace qm {
namespace {

using test::SkinnedForm;

TEST(SkinCheckBoxBox, CellsSitWhereTheirWidthPutsThem) {
  const RECT control{0, 0, 100, 20};
  const struct {
    int Width;
    bool LeftText;
    LONG Left, Right;
  } rows[] = {
      {13, false, 0, 13}, {10, false, 2, 12}, {16, false, 0, 16},
      {16, true, 83, 99}, {13, true, 87, 100}, {10, true, 88, 98},
  };
  for (const auto& r : rows) {
    const RECT box = TSkinCheckBox::BoxRect(control, r.Width, 14, r.LeftText);
    EXPECT_EQ(box.left, r.Left) << r.Width << (r.LeftText ? " left text" : "");
    EXPECT_EQ(box.right, r.Right) << r.Width << (r.LeftText ? " left text" : "");
    EXPECT_EQ(box.top, 3);
    EXPECT_EQ(box.bottom, 17);
  }
}

TEST_F(SkinnedForm, CheckBoxesAndRadioButtonsShowTheCellOfTheirState) {
  auto* check = Add<gui::TCheckBox>(&Form, 10, 10, 160, 20, "操作结束后重启");
  HWND bare = CreateWindowExW(0, L"BUTTON", L"三态", WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, 10, 40, 160, 20,
                              Form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND radio = CreateWindowExW(0, L"BUTTON", L"单选", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 10, 70, 160, 20,
                               Form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  Attach();
  // Bare children of a library form are the host's to skin; these two are
  // skinned here as a dialog's would be.
  FormSkinner->Controls().SkinChildWindow(bare);
  FormSkinner->Controls().SkinChildWindow(radio);
  const struct {
    const char* State;
    HWND Window;
    std::function<void()> Enter;
    int Frame;
  } states[] = {
      {"unchecked", check->Handle(), [] {}, 1},
      {"checked by code", check->Handle(), [&] { check->SetChecked(true); }, 2},
      {"checked, disabled", check->Handle(), [&] { check->SetEnabled(false); }, 4},
      {"unchecked, disabled", check->Handle(), [&] { check->SetChecked(false); }, 3},
      {"indeterminate while enabled", bare, [&] { SendMessageW(bare, BM_SETCHECK, BST_INDETERMINATE, 0); }, 4},
      {"radio checked", radio, [&] { SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0); }, 2},
  };
  for (const auto& s : states) {
    SCOPED_TRACE(s.State);
    s.Enter();
    RedrawWindow(s.Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto* skinner = dynamic_cast<TSkinCheckBox*>(SkinnerOf(s.Window));
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->Frame(), s.Frame);
    const bool isRadio = s.Window == radio;
    gui::TBitmap& strip = *Skin.Skin()->SkinBitmap(isRadio ? Skin.Skin()->Buttons->RadioBitmap : Skin.Skin()->Buttons->CheckBitmap);
    const int cell = strip.Width() / (isRadio ? Skin.Skin()->Buttons->RadioFrames() : Skin.Skin()->Buttons->CheckFrames());
    const RECT box = TSkinCheckBox::BoxRect(RECT{0, 0, 160, 20}, cell, strip.Height(), false);
    // The middle of the cell, on the window.
    EXPECT_EQ(Pixel(s.Window, box.left + cell / 2, box.top + strip.Height() / 2),
              strip.Canvas().Pixel((s.Frame - 1) * cell + cell / 2, strip.Height() / 2));
  }
}

TEST_F(SkinnedForm, GroupBoxCaptionSitsOnTheFaceOverItsRoundedFrame) {
  auto* box = Add<gui::TGroupBox>(&Form, 10, 10, 200, 100, "填加分区");
  Attach();
  HWND h = box->Handle();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const COLORREF face = gui::ColorToRGB(Skin.Skin()->ButtonFaceColour), line = gui::ColorToRGB(Skin.Skin()->ButtonShadowColour);
  HDC dc = GetWindowDC(h);
  const gui::TSelectGuard font(dc, box->Font().Handle());
  SIZE zero{};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  ReleaseDC(h, dc);
  const int top = zero.cy / 2 - 1;
  EXPECT_EQ(Pixel(h, 150, top), line) << "the frame's top line";
  EXPECT_EQ(Pixel(h, 0, 50), line) << "the frame's left line";
  EXPECT_EQ(Pixel(h, 9, top), face) << "the caption's background covers the line";
  int inked = 0;
  for (int y = 0; y < zero.cy; ++y)
    for (int x = 9; x < 80; ++x) inked += Pixel(h, x, y) != face && Pixel(h, x, y) != line;
  EXPECT_GT(inked, 20);
}

}  // namespace
}  // namespace qm
