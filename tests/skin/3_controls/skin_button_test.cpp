// Push, bit and speed buttons painted from the skin: the frame and glyph
// cell for each state on the screen itself, and the clicks.
#include "gui/glyph_buttons.h"
#include "gui/std_controls.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/skin_button.h"
#include "skinned_form.h"

namespace qm {
namespace {

using test::SkinnedForm;

// The pixel just inside the top-left corner of frame f of the button strip:
// the corners are drawn unscaled, and this pixel differs in every frame.
COLORREF StripCorner(TSkinData& sd, int frame, int frames = 5) {
  const TLoadedSkin& skin = *sd.Skin();
  gui::TBitmap& strip = *skin.SkinBitmap(skin.Buttons->Bitmap);
  return strip.Canvas().Pixel((frame - 1) * (strip.Width() / frames) + 1, 1);
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
      {"left: focused from the press", [&] { SendMessageW(h, gui::CM_MOUSELEAVE, 0, 0); },
       TSkinButton::FocusedFrame(Skin.Skin()->Buttons->FrameCount)},
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
  EXPECT_EQ(skinner.Controls().HotButton(), a);
  SendMessageW(second, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(skinner.Controls().HotButton(), b);
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

// Four 8 x 8 glyph cells, each a square of its own colour on the key colour.
constexpr COLORREF kCellColour[] = {RGB(200, 0, 0), RGB(128, 128, 128), RGB(0, 0, 200), RGB(0, 160, 0)};

void PaintGlyph(gui::TButtonGlyph& glyph) {
  glyph.Glyph().SetSize(32, 8);
  gui::TCanvas& c = glyph.Glyph().Canvas();
  for (int x = 0; x < 32; ++x)
    for (int y = 0; y < 8; ++y) {
      const bool inside = x % 8 >= 1 && x % 8 <= 6 && y >= 1 && y <= 6;
      c.SetPixel(x, y, inside ? static_cast<gui::TColor>(kCellColour[x / 8]) : static_cast<gui::TColor>(RGB(255, 0, 255)));
    }
  glyph.SetNumGlyphs(4);
}

// The host makes the glyph buttons' skinners, as SkinView does.
class GlyphButtons : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    Skin.OnSkinControl = [](gui::TComponent* Sender, TSkinData* Data, gui::TControl*, gui::TControl* Control,
                            const std::string& ClassName, gui::TComponent*& Made) {
      if (ClassName == "TBITBTN") Made = Control->Make<TSkinBitButton>();
      if (ClassName == "TSPEEDBUTTON") {
        auto* skinner = Control->Make<TSkinSpeedButton>();
        skinner->InitGraphic(FormSkinnerLinkOf(Sender), Data);
        Made = skinner;
      }
    };
  }
  // A pixel of the form's client area.
  COLORREF ClientPixel(int x, int y) {
    HDC dc = GetDC(Form.Handle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(Form.Handle(), dc);
    return c;
  }
};

TEST_F(GlyphButtons, BitButtonShowsTheFrameAndGlyphCellOfItsState) {
  auto* other = Add<gui::TButton>(&Form, 10, 60, 120, 30, "帮  助");
  auto* button = Add<gui::TBitBtn>(&Form, 10, 10, 120, 30);
  PaintGlyph(button->ButtonGlyph());
  int clicks = 0;
  button->OnClick = [&clicks](gui::TControl&) { ++clicks; };
  Attach();
  HWND h = button->Handle();
  ASSERT_NE(dynamic_cast<TSkinBitButton*>(SkinnerOf(h)), nullptr);
  const int frames = Skin.Skin()->Buttons->Frames();
  other->SetFocus();
  const struct {
    const char* State;
    std::function<void()> Enter;
    int Frame, Cell;
  } states[] = {
      {"normal", [] {}, 1, 1},
      {"hot", [&] { SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }, 4, 1},
      {"pressed", [&] { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }, 2, 3},
      {"released", [&] { SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }, 4, 1},
      // Focus makes an owner-drawn button paint itself at once: the skin's
      // face must stay.
      {"focused, mouse gone", [&] {
         SendMessageW(h, gui::CM_MOUSELEAVE, 0, 0);
         other->SetFocus();
         button->SetFocus();
       }, TSkinButton::FocusedFrame(frames), 1},
      {"disabled", [&] { button->SetEnabled(false); }, 3, 2},
  };
  for (const auto& s : states) {
    SCOPED_TRACE(s.State);
    s.Enter();
    qmtest::PumpFor(20);
    EXPECT_EQ(Pixel(h, 1, 1), StripCorner(Skin, s.Frame, frames));
    EXPECT_EQ(Pixel(h, 60, 15), kCellColour[s.Cell - 1]) << "the lone glyph sits in the middle";
  }
  EXPECT_EQ(clicks, 1);
}

TEST_F(GlyphButtons, SpeedButtonsPaintIntoTheirParentAndGiveItBackWhenSkinningGoesOff) {
  auto speed = [&](int left) {
    auto* b = Form.Make<gui::TSpeedButton>();
    b->SetParent(&Form);
    b->SetBounds(left, 10, 40, 30);
    b->GroupIndex = 1;
    PaintGlyph(b->ButtonGlyph());
    return b;
  };
  gui::TSpeedButton *a = speed(10), *b = speed(60);
  int clicks = 0;
  a->OnClick = [&clicks](gui::TControl&) { ++clicks; };
  Attach();
  const LPARAM onA = MAKELPARAM(15, 15), onB = MAKELPARAM(65, 15);
  const struct {
    const char* State;
    std::function<void()> Enter;
    int FrameA, CellA, FrameB;
  } states[] = {
      {"normal", [] {}, 1, 1, 1},
      {"hot", [&] { SendMessageW(Form.Handle(), WM_MOUSEMOVE, 0, onA); }, 4, 1, 1},
      {"pressed", [&] { SendMessageW(Form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onA); }, 2, 3, 1},
      {"released: down, which looks pressed", [&] { SendMessageW(Form.Handle(), WM_LBUTTONUP, 0, onA); }, 2, 3, 1},
      {"the other of the group goes down", [&] { b->SetDown(true); }, 4, 1, 2},
      {"left, disabled", [&] {
         SendMessageW(Form.Handle(), WM_MOUSEMOVE, 0, onB);
         a->SetEnabled(false);
       }, 3, 2, 2},
      {"down keeps its face when disabled, its glyph greyed; the other is up and hot", [&] { a->SetDown(true); },
       2, 2, 4},
  };
  const int frames = Skin.Skin()->Buttons->Frames();
  for (const auto& s : states) {
    SCOPED_TRACE(s.State);
    s.Enter();
    qmtest::PumpFor(20);
    EXPECT_EQ(ClientPixel(11, 11), StripCorner(Skin, s.FrameA, frames));
    EXPECT_EQ(ClientPixel(30, 25), kCellColour[s.CellA - 1]);
    EXPECT_EQ(ClientPixel(61, 11), StripCorner(Skin, s.FrameB, frames));
  }
  EXPECT_EQ(clicks, 1);

  FormSkinner->Detach();
  qmtest::PumpFor(50);
  EXPECT_EQ(FormSkinner->Controls().ControlSkinners().size(), 0u);
  // Back to its own look (the sunken edge of a button that is down) and its
  // own handling of clicks.
  b->SetDown(true);
  qmtest::PumpFor(20);
  EXPECT_EQ(ClientPixel(60, 10), GetSysColor(COLOR_3DSHADOW));
  a->SetEnabled(true);
  SendMessageW(Form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onA);
  SendMessageW(Form.Handle(), WM_LBUTTONUP, 0, onA);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace qm
