// Which skinner each control gets, for library forms and for bare windows,
// and that switching off gives every control back as it was.
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/std_controls.h"
#include "debug_output.h"
#include "skinned_form.h"

#include <commctrl.h>

namespace qm {
namespace {

using test::SkinnedForm;

std::string SkinnerName(const TSkinControl* s) { return s ? s->ClassName() : "none"; }

// A date-time picker of another library, known to the dispatch by its class
// name only.
class TDateTimePicker : public gui::TWinControl {
  QM_GUI_CLASS(TDateTimePicker, gui::TWinControl)
 public:
  TDateTimePicker(gui::TComponent* Owner, bool UpDown) : gui::TWinControl(Owner), FUpDown(UpDown) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
  }

 protected:
  void CreateParams(gui::TCreateParams& p) override {
    gui::TWinControl::CreateParams(p);
    p.ClassName = DATETIMEPICK_CLASSW;
    p.SystemClass = true;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    if (FUpDown) p.Style |= DTS_UPDOWN;
  }

 private:
  bool FUpDown;
};

TEST_F(SkinnedForm, EachLibraryControlGetsTheSkinnerItsClassCallsFor) {
  // Listed foreign classes decide alone, even with a kind that makes nothing.
  std::vector<std::string> lines = Skin.Skin3rd();
  lines.push_back("TRadioButton=RadioButton");
  lines.push_back("TGroupBox=nothing");
  Skin.SetSkin3rd(lines);
  auto* panel = Add<gui::TPanel>(&Form, 200, 10, 200, 100);
  const gui::TColor panelColour = panel->Color();
  auto* inPanel = Add<gui::TButton>(panel, 10, 10, 80, 24, "里面");
  int clicks = 0;
  inPanel->OnClick = [&clicks](gui::TControl&) { ++clicks; };
  auto* disabled = Add<gui::TButton>(&Form, 10, 40, 80, 24, "不要");
  disabled->Tag = 199;  // 199 mod 100 is the disable tag
  auto picker = [&](bool upDown) {
    auto* p = Form.Make<TDateTimePicker>(upDown);
    p->SetParent(&Form);
    p->SetBounds(200, upDown ? 150 : 180, 150, 24);
    return p;
  };
  auto* arrows = picker(true);
  const struct {
    const char* Name;
    gui::TWinControl* Control;
    const char* Skinner;
  } expected[] = {
      {"button", Add<gui::TButton>(&Form, 10, 10, 80, 24, "确定"), "TSkinButton"},
      {"button with the disable tag", disabled, "none"},
      {"check box", Add<gui::TCheckBox>(&Form, 10, 70, 120, 20, "重启"), "TSkinCheckBox"},
      {"listed radio button", Add<gui::TRadioButton>(&Form, 10, 100, 120, 20, "一"), "TSkinRadioButton"},
      {"panel", panel, "TSkinBox"},
      {"button on the panel", inPanel, "TSkinButton"},
      {"listed group box", Add<gui::TGroupBox>(&Form, 10, 130, 180, 80, "分区"), "none"},
      {"date picker with arrows", arrows, "TSkinEdit"},
      {"date picker with a drop-down", picker(false), "TSkinComBox"},
  };
  Attach();
  for (const auto& e : expected) EXPECT_EQ(SkinnerName(SkinnerOf(e.Control->Handle())), e.Skinner) << e.Name;
  // The picker's arrows take the skin's up-down look with it.
  UpdateWindow(arrows->Handle());
  HWND upDown = FindWindowExW(arrows->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(upDown, nullptr);
  EXPECT_EQ(SkinnerName(SkinnerOf(upDown)), "TSkinUpDown");
  EXPECT_EQ(panel->Color(), gui::TColor(Skin.Skin()->ButtonFaceColour));

  // A second start changes nothing.
  TSkinControl* button = SkinnerOf(expected[0].Control->Handle());
  const size_t listed = FormSkinner->Controls().ControlSkinners().size();
  button->InitControl(&FormSkinner->Controls(), &Skin, false);
  EXPECT_EQ(FormSkinner->Controls().ControlSkinners().size(), listed);

  // Off: no skinner left, the panel's colour back, the button clicks as ever.
  FormSkinner->Detach();
  EXPECT_TRUE(FormSkinner->Controls().ControlSkinners().empty());
  EXPECT_EQ(panel->Color(), panelColour);
  SendMessageW(inPanel->Handle(), BM_CLICK, 0, 0);
  qmtest::PumpFor(50);
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinnedForm, BareChildWindowsGetTheirSkinnerByWindowClassAndStyle) {
  HWND dialog = CreateWindowExW(0, L"STATIC", L"对话框", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 260, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  // A button's type is a number, not a set of flags: an owner-drawn button
  // (11) is no check box for having bit 2, a split button (12) no radio.
  const struct {
    const wchar_t* Class;
    DWORD Style;
    const char* Skinner;
  } rows[] = {
      {L"BUTTON", BS_PUSHBUTTON, "TSkinButton"},         {L"BUTTON", BS_DEFPUSHBUTTON, "TSkinButton"},
      {L"BUTTON", BS_PUSHBOX, "TSkinButton"},            {L"BUTTON", BS_CHECKBOX, "TSkinCheckBox"},
      {L"BUTTON", BS_AUTOCHECKBOX, "TSkinCheckBox"},     {L"BUTTON", BS_3STATE, "TSkinCheckBox"},
      {L"BUTTON", BS_AUTO3STATE, "TSkinCheckBox"},       {L"BUTTON", BS_RADIOBUTTON, "TSkinRadioButton"},
      {L"BUTTON", BS_AUTORADIOBUTTON, "TSkinRadioButton"}, {L"BUTTON", BS_GROUPBOX, "none"},
      {L"BUTTON", BS_OWNERDRAW, "none"},
      {L"BUTTON", BS_SPLITBUTTON, "none"},               {L"BUTTON", BS_DEFSPLITBUTTON, "none"},
      {L"BUTTON", BS_COMMANDLINK, "none"},               {L"BUTTON", BS_DEFCOMMANDLINK, "none"},
      // Only a size box is a grip.
      {L"SCROLLBAR", SBS_VERT, "none"},                  {L"SCROLLBAR", SBS_HORZ, "none"},
      {L"SCROLLBAR", SBS_SIZEGRIP, "TSkinSizer"},        {L"SCROLLBAR", SBS_SIZEBOX, "TSkinSizer"},
  };
  std::vector<HWND> children;
  for (const auto& r : rows)
    children.push_back(CreateWindowExW(0, r.Class, L"钮", WS_CHILD | WS_VISIBLE | r.Style, 10,
                                       10 + 12 * static_cast<int>(children.size()), 120, 12, dialog, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
  TWinSkinForm skinner(nullptr);
  FormSkinner = &skinner;
  skinner.FHandle = dialog;
  skinner.Attach(&Skin);
  for (size_t i = 0; i < children.size(); ++i) {
    ASSERT_NE(children[i], nullptr);
    EXPECT_EQ(SkinnerName(SkinnerOf(children[i])), rows[i].Skinner) << gui::Narrow(rows[i].Class) << " style " << rows[i].Style;
  }
  // A child's end marks its skinner dead; the next sweep frees it.
  DestroyWindow(children[0]);
  skinner.Controls().SweepControls();
  EXPECT_EQ(SkinnerOf(children[0]), nullptr);
  skinner.Detach();
  EXPECT_TRUE(skinner.Controls().ControlSkinners().empty());
  DestroyWindow(dialog);
}

// A skinner that fails at whatever it is asked to do.
class TFailingSkinner : public TSkinControl {
  QM_GUI_CLASS(TFailingSkinner, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  bool FailInMessages = false;

 protected:
  bool BeforeMessage(gui::TMessage& Message) override {
    if (FailInMessages && Message.Msg == WM_USER + 5) throw std::runtime_error("message failed");
    return TSkinControl::BeforeMessage(Message);
  }
  void Paint(HDC, const RECT&) override { throw std::runtime_error("paint failed"); }
};

TEST_F(SkinnedForm, AControlThatCannotBeSkinnedKeepsItsLookTheOthersAreSkinnedAndTheDebuggerIsTold) {
  qmtest::TDebugOutput debug;
  // A library control whose host event fails, and one whose skinner fails
  // to paint and to handle a message.
  auto* refused = Add<gui::TButton>(&Form, 10, 10, 80, 24, "拒绝");
  refused->Name = "RefusedButton";
  auto* failing = Add<gui::TPanel>(&Form, 10, 40, 80, 24);
  auto* plain = Add<gui::TButton>(&Form, 10, 70, 80, 24, "普通");
  Skin.OnSkinControl = [&](gui::TComponent*, TSkinData*, gui::TControl*, gui::TControl* control, const std::string&,
                           gui::TComponent*& made) {
    if (control == refused) throw std::runtime_error("the host refuses");
    if (control == failing) made = failing->Make<TFailingSkinner>();
  };
  Attach();
  EXPECT_EQ(SkinnerOf(refused->Handle()), nullptr);
  EXPECT_EQ(SkinnerName(SkinnerOf(plain->Handle())), "TSkinButton");
  EXPECT_TRUE(debug.Saw({L"RefusedButton", L"the host refuses"})) << debug.Text();
  auto* skinner = dynamic_cast<TFailingSkinner*>(SkinnerOf(failing->Handle()));
  ASSERT_NE(skinner, nullptr);
  RedrawWindow(failing->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(debug.Saw({L"painting with TFailingSkinner", L"paint failed"})) << debug.Text();

  // A bare dialog's button made by another thread cannot be subclassed
  // here: it stays unskinned, and its neighbour is skinned all the same.
  HWND dialog = CreateWindowExW(0, L"STATIC", L"对话框", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 120, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND own = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 24, dialog,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  TWinSkinForm* formSkinner = FormSkinner;
  {
    qmtest::TOtherThreadWindow foreign(dialog);
    TWinSkinForm bare(nullptr);
    bare.FHandle = dialog;
    ASSERT_TRUE(bare.Attach(&Skin));
    FormSkinner = &bare;
    EXPECT_EQ(SkinnerOf(foreign.Handle()), nullptr);
    EXPECT_EQ(SkinnerName(SkinnerOf(own)), "TSkinButton");
    EXPECT_TRUE(debug.Saw({L"starting TSkinButton", L"Button"})) << debug.Text();
    // A bare window's skinner failing in a message: the window still answers.
    auto* failingBare = bare.Make<TFailingSkinner>();
    failingBare->FailInMessages = true;
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 50, 60, 20, dialog, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    failingBare->InitWindow(edit, &Skin, &bare.Controls());
    SendMessageW(edit, WM_USER + 5, 0, 0);
    EXPECT_TRUE(debug.Saw({L"TFailingSkinner handling message 0x0405", L"Edit", L"message failed"})) << debug.Text();
    bare.Detach();
  }
  FormSkinner = formSkinner;
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace qm
