// Combo boxes, edits and up-down controls painted from the skin: the frame
// each state shows, the button side, the skins that lack an element, and an
// edit's up-down buddy, all read back from the windows' pixels.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "gui/std_controls.h"
#include "skin/1_data/bitmap_utils.h"
#include "skin/3_controls/skin_combo_box.h"
#include "skin/3_controls/skin_up_down.h"
#include "skinned_form.h"

namespace qm {
namespace {

using test::SkinnedForm;

// Cell f of a made-up strip: its left half in CellColour(f, 0), its right
// half in CellColour(f, 1), so that a mirrored cell tells itself apart.
COLORREF CellColour(int f, int half) { return RGB(40 * f, 60 + 100 * half, 200 - 30 * f); }

TSkinImage HalvedStrip(int cells, int w, int h) {
  TSkinImage strip(cells * w, h);
  for (int x = 0; x < cells * w; ++x)
    for (int y = 0; y < h; ++y) strip.SetPixel(x, y, CellColour(x / w + 1, x % w >= w / 2));
  return strip;
}

TEST_F(SkinnedForm, ComboBoxShowsTheFrameOfItsStateOnTheButtonsSide) {
  auto* other = Add<gui::TButton>(&Form, 10, 200, 120, 30, "确定");
  auto* combo = Add<gui::TComboBox>(&Form, 10, 10, 150, 21);
  combo->SetItems({"C:", "D:"});
  Attach();
  HWND h = combo->Handle();
  auto* skinner = dynamic_cast<TSkinComBox*>(SkinnerOf(h));
  ASSERT_NE(skinner, nullptr);
  test::UseSkin(Skin, test::EditedStoredSkin([](TSkinDescription& d) {
    d.ComboButton->Bitmap = HalvedStrip(4, 16, 20);
    d.ComboButton->Bitmap2 = d.ComboButton->Bitmap;
    MirrorBitmap(d.ComboButton->Bitmap2);
  }));
  FormSkinner->ApplySkin();
  RECT wr;
  GetWindowRect(h, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  const int button = GetSystemMetrics(SM_CXHSCROLL) + 2;
  other->SetFocus();

  const auto setLeft = [&](bool left) {
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    SetWindowLongPtrW(h, GWL_EXSTYLE, left ? ex | WS_EX_LEFTSCROLLBAR : ex & ~WS_EX_LEFTSCROLLBAR);
  };
  const struct {
    const char* State;
    std::function<void()> Enter;
    int Frame;
    bool Left;
  } states[] = {
      {"normal", [] {}, 1, false},
      {"hot", [&] { SendMessageW(h, gui::CM_MOUSEENTER, 0, 0); }, 4, false},
      {"left again", [&] { SendMessageW(h, gui::CM_MOUSELEAVE, 0, 0); }, 1, false},
      {"focused", [&] { combo->SetFocus(); }, 4, false},
      {"pressed while focused",
       [&] {
         SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
         SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
       },
       2, false},
      {"released", [&] { SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }, 4, false},
      {"button on the left, from the mirror", [&] { setLeft(true); }, 4, true},
      {"left and normal", [&] { other->SetFocus(); }, 1, true},
      {"disabled", [&] { setLeft(false), combo->SetEnabled(false); }, 3, false},
      {"hover over a disabled one", [&] { SendMessageW(h, gui::CM_MOUSEENTER, 0, 0); }, 3, false},
  };
  for (const auto& s : states) {
    SCOPED_TRACE(s.State);
    s.Enter();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(skinner->Frame(), s.Frame);
    // On either side the cell's left half faces the text: the left-hand
    // button is the mirror of the same frame.
    const int outer = s.Left ? 3 : width - 4, inner = s.Left ? button - 4 : width - button + 3;
    EXPECT_EQ(Pixel(h, inner, height / 2), CellColour(s.Frame, 0));
    EXPECT_EQ(Pixel(h, outer, height / 2), CellColour(s.Frame, 1));
  }
  EXPECT_FALSE(skinner->MouseFlags & TSkinControl::mfHot) << "a disabled combo box is never hot";
}

TEST_F(SkinnedForm, ComboBoxWithoutASunkEdgeKeepsItsOwnLookAndTheFlatStyleFramesIt) {
  auto* combo = Add<gui::TComboBox>(&Form, 10, 10, 150, 21);
  HWND h = combo->Handle();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT wr;
  GetWindowRect(h, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  std::vector<COLORREF> own;
  for (int x = 0; x < width; ++x) own.push_back(Pixel(h, x, height / 2));
  test::UseSkin(Skin, test::EditedStoredSkin([](TSkinDescription& d) { d.SunkEdge.reset(); }));
  Attach();
  ASSERT_NE(dynamic_cast<TSkinComBox*>(SkinnerOf(h)), nullptr);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  for (int x = 0; x < width; ++x) EXPECT_EQ(Pixel(h, x, height / 2), own[x]) << "x " << x;

  // The flat style needs no sunk edge: a shadow line round the whole box.
  test::UseSkin(Skin, test::EditedStoredSkin([](TSkinDescription& d) {
    d.SunkEdge.reset();
    d.ComboButton->Style = 1;
  }));
  FormSkinner->ApplySkin();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const COLORREF shadow = gui::ColorToRGB(Skin.Skin()->ButtonShadowColour);
  for (POINT p : {POINT{0, 0}, POINT{width - 1, height / 2}, POINT{width / 2, height - 1}})
    EXPECT_EQ(Pixel(h, p.x, p.y), shadow) << p.x << "," << p.y;
}

// A bare window holding bare children, skinned by a form skinner of its own.
class SkinnedDialog : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    Dialog = CreateWindowExW(0, L"STATIC", L"对话框", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 320,
                             240, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    Skinner.Detach();
    DestroyWindow(Dialog);
  }
  HWND Child(const wchar_t* cls, DWORD style, DWORD exStyle, RECT r, HWND parent = nullptr) {
    return CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right, r.bottom,
                           parent ? parent : Dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  void AttachDialog() {
    FormSkinner = &Skinner;
    Skinner.FHandle = Dialog;
    Skinner.Attach(&Skin);
  }
  static void Redraw(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW); }

  HWND Dialog = nullptr;
  TWinSkinForm Skinner{nullptr};
};

TEST_F(SkinnedDialog, EditsGetAFlatFrameOnlyWhenTheyHaveABorderAndSkinTheirUpDownOnce) {
  HWND bordered = Child(L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {10, 10, 120, 22});
  HWND plain = Child(L"EDIT", ES_AUTOHSCROLL, 0, {10, 50, 120, 22});
  HWND spin = Child(UPDOWN_CLASSW, 0, 0, {100, 0, 16, 18}, bordered);
  Redraw(plain);
  const COLORREF plainCorner = Pixel(plain, 0, 0);
  AttachDialog();
  auto* edit = dynamic_cast<TSkinEdit*>(SkinnerOf(bordered));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(dynamic_cast<TSkinEdit*>(SkinnerOf(plain)), nullptr);
  for (int i = 0; i < 3; ++i) Redraw(bordered), Redraw(plain), Redraw(spin);

  const COLORREF shadow = gui::ColorToRGB(Skin.Skin()->ButtonShadowColour), white = RGB(255, 255, 255);
  EXPECT_EQ(Pixel(bordered, 0, 0), shadow);
  EXPECT_EQ(Pixel(bordered, 1, 1), white);
  EXPECT_EQ(Pixel(plain, 0, 0), plainCorner) << "no border: the system's picture stays";
  // The frame alone repainted: the system draws its edge, the skinner its frame over it.
  SendMessageW(bordered, WM_NCPAINT, 1, 0);
  EXPECT_EQ(Pixel(bordered, 0, 0), shadow) << "after WM_NCPAINT alone";
  EXPECT_EQ(Pixel(bordered, 1, 1), white) << "after WM_NCPAINT alone";

  auto* upDown = dynamic_cast<TSkinUpDown*>(SkinnerOf(spin));
  ASSERT_NE(upDown, nullptr);
  EXPECT_EQ(edit->UpDownSkinner, upDown);
  EXPECT_TRUE(upDown->InEdit);
  EXPECT_EQ(std::count_if(Skinner.Controls().ControlSkinners().begin(), Skinner.Controls().ControlSkinners().end(),
                          [&](TSkinControl* s) { return s->Handle == spin; }),
            1);
  EXPECT_EQ(Pixel(spin, 0, 0), gui::ColorToRGB(Skin.Skin()->ButtonFaceColour)) << "the halves keep clear of the edge";

  // Printed, the edit gets the shadow line round the outside too.
  gui::TBitmap print;
  print.SetSize(120, 22);
  SendMessageW(bordered, WM_PRINT, reinterpret_cast<WPARAM>(print.Canvas().Handle()), PRF_NONCLIENT | PRF_CLIENT);
  EXPECT_EQ(print.Canvas().Pixel(0, 0), shadow);
}

// An up-down strip of eight solid frames, frame f in colour FrameColour(f).
COLORREF FrameColour(int f) { return RGB(20 * f, 200 - 20 * f, 100 + 10 * f); }

TEST_F(SkinnedDialog, UpDownHalvesShowTheirOwnStateFromTheStripOrAsPlainButtons) {
  test::UseSkin(Skin, test::EditedStoredSkin([](TSkinDescription& d) {
    d.UpDownVert = std::make_unique<TDataSkinBorder>("UpDown.Vert");
    d.UpDownVert->FrameCount = 8;
    d.UpDownVert->Bitmap.SetSize(8 * 6, 6);
    for (int x = 0; x < 8 * 6; ++x)
      for (int y = 0; y < 6; ++y) d.UpDownVert->Bitmap.SetPixel(x, y, FrameColour(x / 6 + 1));
  }));
  HWND vert = Child(UPDOWN_CLASSW, 0, 0, {10, 10, 18, 40});
  HWND horz = Child(UPDOWN_CLASSW, UDS_HORZ, 0, {60, 10, 40, 18});
  SendMessageW(vert, UDM_SETRANGE32, 0, 100);
  SendMessageW(horz, UDM_SETRANGE32, 0, 100);
  AttachDialog();
  // No window class row makes up-down skinners: they are started here.
  for (HWND w : {vert, horz}) Skinner.Make<TSkinUpDown>()->InitWindow(w, &Skin, &Skinner.Controls());
  // The cursor stays over the lower (right) half throughout.
  POINT p{9, 30};
  ClientToScreen(vert, &p);
  SetCursorPos(p.x, p.y);

  const COLORREF face = gui::ColorToRGB(Skin.Skin()->ButtonFaceColour),
                 shade = gui::ColorToRGB(Skin.Skin()->ButtonShadowColour);
  const struct {
    const char* State;
    std::function<void()> Enter;
    COLORREF Upper, Lower;
  } states[] = {
      {"normal", [] {}, FrameColour(1), FrameColour(5)},
      {"lower half pressed", [&] { SendMessageW(vert, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 30)); }, FrameColour(1),
       FrameColour(4 + 2)},
      {"released", [&] { SendMessageW(vert, WM_LBUTTONUP, 0, MAKELPARAM(9, 30)); }, FrameColour(1), FrameColour(5)},
      {"the mouse over the lower half", [&] { SendMessageW(vert, WM_MOUSEMOVE, 0, MAKELPARAM(9, 30)); },
       FrameColour(1), FrameColour(4 + 4)},
      {"the mouse gone", [&] { SendMessageW(vert, WM_MOUSELEAVE, 0, 0); }, FrameColour(1), FrameColour(5)},
      {"disabled", [&] { EnableWindow(vert, FALSE); }, FrameColour(3), FrameColour(4 + 3)},
  };
  for (const auto& s : states) {
    SCOPED_TRACE(s.State);
    s.Enter();
    Redraw(vert);
    EXPECT_EQ(Pixel(vert, 9, 5), s.Upper);
    EXPECT_EQ(Pixel(vert, 9, 35), s.Lower);
  }

  // No horizontal element: plain buttons edged in the dark shadow, the
  // pressed one filled with the shadow colour.
  POINT q{30, 9};
  ClientToScreen(horz, &q);
  SetCursorPos(q.x, q.y);
  SendMessageW(horz, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 9));
  Redraw(horz);
  EXPECT_EQ(Pixel(horz, 0, 0), gui::ColorToRGB(Skin.Skin()->ButtonDkShadowColour));
  EXPECT_EQ(Pixel(horz, 2, 2), face);
  EXPECT_EQ(Pixel(horz, 37, 2), shade);
  SendMessageW(horz, WM_LBUTTONUP, 0, MAKELPARAM(30, 9));
}

}  // namespace
}  // namespace qm
