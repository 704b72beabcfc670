// Push buttons painted from the skin: the frame for each state on the
// window itself, and the click the skinner makes in place of the button.
#include "gui/std_controls.h"
#include "skin_bitmap_draw.h"
#include "skin_button.h"
#include "skinned_form.h"

namespace qm {
namespace {

using test::SkinnedForm;

// The pixel just inside the top-left corner of frame f of the button strip:
// the corners are drawn unscaled, and this pixel differs in every frame.
COLORREF StripCorner(TSkinData& skin, int frame) {
  gui::TBitmap& strip = *skin.SkinBitmap(skin.Buttons->Bitmap);
  return strip.Canvas().Pixel((frame - 1) * (strip.Width() / 5) + 1, 1);
}

TEST_F(SkinnedForm, ButtonShowsTheSkinFrameOfItsStateAndClicksOnce) {
  auto* other = Add<gui::TButton>(&Form, 10, 60, 120, 30, "帮  助");
  auto* button = Add<gui::TButton>(&Form, 10, 10, 120, 30, "生成批处理文件");
  int clicks = 0;
  button->OnClick = [&clicks](gui::TControl&) { ++clicks; };
  Attach();
  HWND h = button->Handle();
  auto* skinner = dynamic_cast<TSkinButton*>(SkinnerOf(h));
  ASSERT_NE(skinner, nullptr);
  other->SetFocus();
  const struct {
    const char* State;
    std::function<void()> Enter;
    int Frame;
  } states[] = {
      {"normal", [] {}, 1},
      {"hot", [&] { SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }, 4},
      {"pressed", [&] { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }, 2},
      {"released: clicked, hot again", [&] { SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }, 4},
      {"left: focused from the press", [&] { SendMessageW(h, gui::CM_MOUSELEAVE, 0, 0); }, 4},
      {"disabled, under the mouse", [&] {
         button->SetEnabled(false);
         SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
       }, 3},
  };
  for (const auto& s : states) {
    SCOPED_TRACE(s.State);
    s.Enter();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(skinner->Frame(), s.Frame);
    EXPECT_EQ(Pixel(h, 1, 1), StripCorner(Skin, s.Frame));
  }
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinnedForm, BareDialogButtonsHandTheHotLookOnAndPostOneCommand) {
  HWND dialog = CreateWindowExW(0, L"STATIC", L"对话框", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  auto button = [&](int id, int top) {
    return CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, top, 100, 26, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  };
  HWND first = button(101, 10), second = button(102, 50);
  TWinSkinForm skinner(nullptr);
  FormSkinner = &skinner;
  skinner.FHandle = dialog;
  skinner.Attach(&Skin);
  auto* a = dynamic_cast<TSkinButton*>(SkinnerOf(first));
  auto* b = dynamic_cast<TSkinButton*>(SkinnerOf(second));
  ASSERT_TRUE(a && b);
  SendMessageW(first, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(skinner.HotButton(), a);
  SendMessageW(second, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(skinner.HotButton(), b);
  EXPECT_FALSE(a->MouseFlags & TSkinControl::mfHot) << "the first lost its hot look first";
  // Press and release: exactly one command, notification 0, from the button.
  SendMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(second, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  int commands = 0;
  MSG msg;
  while (PeekMessageW(&msg, dialog, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    ++commands;
    EXPECT_EQ(msg.wParam, MAKEWPARAM(102, 0));
    EXPECT_EQ(reinterpret_cast<HWND>(msg.lParam), second);
  }
  EXPECT_EQ(commands, 1);
  skinner.Detach();
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace qm
