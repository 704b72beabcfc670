// The standard controls as the main form uses them.
#include <gtest/gtest.h>

#include "gui/comctrls.h"
#include "gui/dialogs.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "ui_driver.h"

using namespace gui;

namespace {
struct Controls : ::testing::Test {
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetClientSize(400, 300);
    form->Show();
  }
  template <class T>
  T* Add(int x, int y, int w, int h) {
    T* c = form->Make<T>();
    c->SetParent(form.get());
    c->SetBounds(x, y, w, h);
    return c;
  }
  std::unique_ptr<TForm> form;
};
}  // namespace

TEST_F(Controls, DropDownListSelectionTextAndReplacedEntries) {
  auto* combo = Add<TComboBox>(10, 10, 120, 20);
  combo->SetItems({"第一硬盘", "第二硬盘"});
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  int changes = 0;
  combo->OnChange = [&](TComboBox&) { ++changes; };
  // A real selection: the list changes, then the parent hears CBN_SELCHANGE.
  SendMessageW(combo->Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->Handle()));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "第二硬盘");
  combo->SetItem(1, "第二硬盘!");
  EXPECT_EQ(combo->ItemIndex(), 1);  // replacing the selected entry keeps it selected
  EXPECT_EQ(combo->Text(), "第二硬盘!");
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 2);
  combo->SetItemIndex(7);  // out of range: nothing selected
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(changes, 1);  // code changes raise no event
  combo->Clear();
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 0);
}

TEST_F(Controls, ListBoxItemsBeforeAndAfterTheWindowExists) {
  auto* list = form->Make<TListBox>();
  list->Add("1:1");
  list->Add("1:2");
  list->SetItemIndex(1);
  list->SetParent(form.get());  // the window is made now, with the items
  list->SetBounds(10, 10, 80, 100);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(list->ItemIndex(), 1);
  int clicks = 0;
  list->OnClick = [&](TControl&) { ++clicks; };
  SendMessageW(list->Handle(), LB_SETCURSEL, 0, 0);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list->Handle()));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->ItemIndex(), 0);
  list->Delete(0);
  EXPECT_EQ(list->Items(), std::vector<std::string>{"1:2"});
}

TEST_F(Controls, EditChangeOnTypedTextAndMemoLines) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  std::vector<std::string> seen;
  edit->OnChange = [&](TCustomEdit& e) { seen.push_back(e.Text()); };
  SendMessageW(edit->Handle(), WM_CHAR, L'6', 1);
  SendMessageW(edit->Handle(), WM_CHAR, L'0', 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"6", "60"}));
  edit->SetText("600");
  EXPECT_EQ(seen.back(), "600");

  auto* memo = Add<TMemo>(10, 40, 200, 100);
  memo->SetLines({"@ECHO OFF", "", "REM 启明"});
  EXPECT_EQ(memo->Text(), "@ECHO OFF\r\n\r\nREM 启明\r\n");
  EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"@ECHO OFF", "", "REM 启明"}));
  memo->Clear();
  EXPECT_TRUE(memo->Lines().empty());
  memo->AddLine("x");
  EXPECT_EQ(memo->Lines(), std::vector<std::string>{"x"});
}

// The control counts UTF-16 units; a character beyond the BMP takes two.
TEST_F(Controls, EditSelectionIsCountedInCharacters) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  edit->SetText("启\xF0\x9F\x98\x80x");
  edit->SetSel(1, 2);
  DWORD start = 0, end = 0;
  SendMessageW(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 2);
  SendMessageW(edit->Handle(), EM_SETSEL, 3, 4);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 1);
}

TEST_F(Controls, CheckBoxClickAndRadioButtonsExcludeEachOther) {
  auto* check = Add<TCheckBox>(10, 10, 150, 20);
  int clicks = 0;
  check->OnClick = [&](TControl&) { ++clicks; };
  SendMessageW(check->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(clicks, 1);
  SendMessageW(check->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(check->Checked());

  auto* a = Add<TRadioButton>(10, 40, 80, 20);
  auto* b = Add<TRadioButton>(10, 60, 80, 20);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
}

TEST_F(Controls, DisabledPanelBlocksItsChildrenAndGroupBoxCaption) {
  auto* panel = Add<TPanel>(0, 0, 400, 100);
  auto* box = form->Make<TGroupBox>();
  box->SetParent(panel);
  box->SetBounds(5, 5, 300, 80);
  box->SetCaption("源分区");
  auto* button = form->Make<TButton>();
  button->SetParent(box);
  button->SetBounds(10, 20, 60, 24);
  EXPECT_EQ(GetParent(button->Handle()), box->Handle());
  EXPECT_EQ(GetParent(box->Handle()), panel->Handle());
  panel->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(panel->Handle()));
  EXPECT_EQ(box->Caption(), "源分区");
}

TEST_F(Controls, SaveDialogReturnsTheChosenNameOrKeepsItOnCancel) {
  const std::wstring folder = qmtest::MakeTempFolder(L"dialog");
  TSaveDialog dialog(nullptr);
  dialog.Filter = "批处理文件(*.BAT)|*.BAT";
  dialog.FileName = qmtest::Utf8(folder + L"\\start.bat");
  {
    qmtest::TDialogWatcher watcher([&](HWND d) { qmtest::ChooseFile(d, folder + L"\\backup"); });
    EXPECT_TRUE(dialog.Execute(form->Handle()));
  }
  EXPECT_EQ(dialog.FileName, qmtest::Utf8(folder + L"\\backup"));
  {
    qmtest::TDialogWatcher watcher([](HWND d) { qmtest::PressButton(d, IDCANCEL); });
    EXPECT_FALSE(dialog.Execute(form->Handle()));
  }
  EXPECT_EQ(dialog.FileName, qmtest::Utf8(folder + L"\\backup"));
}

TEST_F(Controls, SaveDialogStillOpensWhenTheStartNameIsNoFileName) {
  const std::wstring folder = qmtest::MakeTempFolder(L"badname");
  TSaveDialog dialog(nullptr);
  dialog.Filter = "Ghost文件(*.GHO)|*.GHO";
  dialog.FileName = "a<b>|c\\?*";
  qmtest::TDialogWatcher watcher([&](HWND d) { qmtest::ChooseFile(d, folder + L"\\good"); });
  EXPECT_TRUE(dialog.Execute(form->Handle()));
  EXPECT_EQ(dialog.FileName, qmtest::Utf8(folder + L"\\good"));
}

TEST_F(Controls, ControlsWithoutAColourOfTheirOwnFollowTheirParentsColour) {
  auto* panel = Add<TPanel>(0, 0, 400, 300);
  auto* box = form->Make<TGroupBox>();
  box->SetParent(panel);
  box->SetBounds(10, 10, 200, 150);
  auto* pages = Add<TPageControl>(220, 10, 170, 150);
  auto* sheet = form->Make<TTabSheet>();
  sheet->SetPageControl(pages);
  struct Case {
    const char* name;
    TControl* control;
    bool follows;
  };
  auto in = [&](TControl* c, TWinControl* parent) {
    c->SetParent(parent);
    return c;
  };
  const Case cases[] = {
      {"panel", panel, true},
      {"group box", box, true},
      {"label in the box", in(form->Make<TLabel>(), box), true},
      {"check box in the box", in(form->Make<TCheckBox>(), box), true},
      {"radio button in the box", in(form->Make<TRadioButton>(), box), true},
      {"panel in the box", in(form->Make<TPanel>(), box), true},
      {"edit", in(form->Make<TEdit>(), box), false},
      {"list box", in(form->Make<TListBox>(), box), false},
      {"button", in(form->Make<TButton>(), box), false},
      {"page control", pages, false},
  };
  const TColor green = RGB(0, 200, 0), blue = RGB(0, 0, 200);
  form->SetColor(green);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.control->ParentColor(), c.follows);
    EXPECT_EQ(c.control->Color() == green, c.follows);
  }
  // Tab sheets follow their page control.
  pages->SetColor(blue);
  EXPECT_EQ(sheet->Color(), blue);

  // The change reached the screen: the group box repainted in its new colour.
  UpdateWindow(form->Handle());
  HDC dc = GetDC(box->Handle());
  EXPECT_EQ(GetPixel(dc, 100, 100), green);
  ReleaseDC(box->Handle(), dc);

  // A colour of its own ends following, even the same colour; asking to
  // follow again takes the parent's colour at once.
  TControl* label = cases[2].control;
  label->SetColor(green);
  EXPECT_FALSE(label->ParentColor());
  form->SetColor(blue);
  EXPECT_EQ(box->Color(), blue);
  EXPECT_EQ(label->Color(), green);
  EXPECT_TRUE(label->SetPropValue("ParentColor", "True"));
  EXPECT_EQ(label->Color(), blue);
}
