// The program's window under Wine, driven only by real window messages:
// clicks, selections, typed text and tab changes; message boxes and save
// dialogs are real and answered from a second thread; files are real.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <sstream>

#include "html_help.h"
#include "main_form.h"
#include "ui_driver.h"

using namespace qmtest;

namespace {

const std::wstring kCompletion = L"生成批处理文件完成，请退出WINDOW进到DOS下运行批处理文件。";

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\'));
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { Open(MakeTempFolder(L"form")); }
  void TearDown() override { form.reset(); }

  void Open(const std::wstring& folder) {
    form.reset();
    dir = folder;
    gui::Application().Title = "启明映像向导";
    form = std::make_unique<qm::TMainForm>(nullptr, Utf8(dir));
    gui::Application().SetMainForm(form.get());
    // The banner is driven tick by tick below; its own clock stays quiet.
    form->Timer1->SetInterval(0x7FFFFFFF);
    form->Show();
  }

  HWND H(gui::TWinControl* c) { return c->Handle(); }
  void Click(gui::TWinControl* c) { SendMessageW(H(c), BM_CLICK, 0, 0); }
  // A selection as the list box delivers it: the selection, then the
  // notification to the parent window.
  void SelectInList(gui::TListBox* list, int index) {
    SendMessageW(H(list), LB_SETCURSEL, index, 0);
    SendMessageW(GetParent(H(list)), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H(list)), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(H(list)));
  }
  void SelectInCombo(gui::TComboBox* combo, int index) {
    SendMessageW(H(combo), CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(H(combo)), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H(combo)), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(H(combo)));
  }
  void SelectPage(int page) {
    HWND tabs = H(form->PageControl1);
    NMHDR hdr{tabs, 0, static_cast<UINT>(TCN_SELCHANGING)};
    if (SendMessageW(GetParent(tabs), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr))) return;
    SendMessageW(tabs, TCM_SETCURSEL, page, 0);
    hdr.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageW(GetParent(tabs), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  }
  // Replaces the whole text, as selecting all and typing would; the edit
  // reports the change to its parent itself.
  void Type(gui::TWinControl* edit, const std::wstring& text) {
    SendMessageW(H(edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  std::wstring ListItem(gui::TWinControl* c, int i, bool combo) {
    wchar_t buffer[256] = {};
    SendMessageW(H(c), combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  int ListCount(gui::TWinControl* c, bool combo) {
    return static_cast<int>(SendMessageW(H(c), combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  }
  bool Checked(gui::TWinControl* c) { return SendMessageW(H(c), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(gui::TWinControl* c) { return IsWindowEnabled(H(c)) != 0; }
  RECT Place(gui::TWinControl* c) {
    RECT r;
    GetWindowRect(H(c), &r);
    MapWindowPoints(nullptr, H(form.get()), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void ChooseFirstPartition() {
    SelectInList(form->FenQuListBox0, 0);
    Click(form->moveButton1);
  }
  // Every control that carries model state shows exactly that state: text,
  // check, entries, selection and whether the user can operate it.
  void ExpectWindowMirrorsModel(const std::string& after) {
    qm::TMainFormModel& model = form->Model();
    for (qm::TControlState* state : model.Controls()) {
      auto* control = dynamic_cast<gui::TWinControl*>(form->FindComponent(state->Name));
      if (!control || state == &model.Memo1) continue;
      HWND h = H(control);
      const std::string where = state->Name + " after " + after;
      if (state != &model.PageControl1) {
        EXPECT_EQ(IsWindowEnabled(h) != 0, model.IsOperable(*state)) << where;
      }
      switch (state->Kind) {
        case qm::TControlKind::Edit:
          EXPECT_EQ(Utf8(WindowText(h)), static_cast<qm::TEditState*>(state)->Text) << where;
          break;
        case qm::TControlKind::CheckBox:
          EXPECT_EQ(Checked(control), static_cast<qm::TCheckBoxState*>(state)->Checked) << where;
          break;
        case qm::TControlKind::PickList:
        case qm::TControlKind::ListBox: {
          const auto* list = static_cast<qm::TListState*>(state);
          const bool combo = state->Kind == qm::TControlKind::PickList;
          std::vector<std::string> items;
          for (int i = 0; i < ListCount(control, combo); ++i) items.push_back(Utf8(ListItem(control, i, combo)));
          EXPECT_EQ(items, list->Items) << where;
          EXPECT_EQ(SendMessageW(h, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0), list->ItemIndex) << where;
          break;
        }
        case qm::TControlKind::PageControl:
          EXPECT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), static_cast<qm::TPageControlState*>(state)->ActivePageIndex)
              << where;
          break;
        default:
          break;
      }
    }
  }
  std::wstring BackupPath() { return WindowText(H(form->BeiFenEdit)); }
  std::wstring RestorePath() { return WindowText(H(form->HuifuEdit)); }

  std::wstring dir;
  std::unique_ptr<qm::TMainForm> form;
};

}  // namespace

TEST_F(MainWindow, FreshStartShowsTheDefaults) {
  EXPECT_EQ(WindowText(H(form.get())), L"启明映像向导 V1.0");
  EXPECT_EQ(SendMessageW(H(form->PageControl1), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageW(H(form->PageControl1), TCM_GETITEMCOUNT, 0, 0), 6);
  EXPECT_EQ(WindowText(H(form->YinPanComboBox1)), L"第一硬盘");
  ASSERT_EQ(ListCount(form->YinPanComboBox1, true), 1);
  ASSERT_EQ(ListCount(form->FenQuListBox0, false), 1);
  const std::wstring partition = ListItem(form->FenQuListBox0, 0, false);
  EXPECT_EQ(partition.rfind(L"第一分区", 0), 0u);
  EXPECT_NE(partition.find(L"C:[]"), std::wstring::npos);
  EXPECT_EQ(ListCount(form->FenQuListBox1, false), 0);
  EXPECT_EQ(WindowText(H(form->YaSuoComboBox1)), L"快速压缩");
  EXPECT_TRUE(Checked(form->fxCheckBox1));
  EXPECT_TRUE(Checked(form->rbCheckBox1));
  EXPECT_TRUE(Checked(form->froCheckBox1));
  EXPECT_FALSE(Checked(form->splitCheckBox1));
  EXPECT_EQ(WindowText(H(form->splitEdit1)), L"600");
  EXPECT_FALSE(Enabled(form->splitEdit1));
  EXPECT_EQ(WindowText(H(form->ghostEdit)), dir + L"\\WinBF.gho");
  EXPECT_EQ(BackupPath(), dir + L"\\BeiFen.bat");
  EXPECT_EQ(RestorePath(), dir + L"\\HuiFu.bat");
  EXPECT_EQ(form->Model().GhostDir, Utf8(dir) + "\\Ghost");
  EXPECT_EQ(WindowText(H(form->GroupBox1)), L"目录及文件名都不能含有中文，且必须符合8.3规则。");
  EXPECT_TRUE(IsChild(H(form.get()), GetFocus()));  // the keyboard starts inside the window
  // Building is over for the form and everything on it.
  EXPECT_FALSE(form->ComponentState() & gui::csLoading);
  EXPECT_FALSE(form->RunButton->ComponentState() & gui::csLoading);
  EXPECT_FALSE(form->Timer1->ComponentState() & gui::csLoading);
}

TEST_F(MainWindow, ProgramInADriveRootKeepsItsBackslash) {
  form = std::make_unique<qm::TMainForm>(nullptr, "C:\\");
  EXPECT_EQ(WindowText(H(form->ghostEdit)), L"C:\\\\WinBF.gho");
  EXPECT_EQ(form->Model().GhostDir, "C:\\\\Ghost");
}

TEST_F(MainWindow, ClientAreaAndControlsSitWhereTheyBelong) {
  RECT client;
  GetClientRect(H(form.get()), &client);
  EXPECT_EQ(client.right, 483);
  EXPECT_EQ(client.bottom, 436);
  const LONG style = GetWindowLongW(H(form.get()), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));  // a dialog's fixed frame

  auto expectAt = [&](gui::TWinControl* c, int x, int y, int w, int h) {
    const RECT r = Place(c);
    EXPECT_EQ(r.left, x) << c->Name;
    EXPECT_EQ(r.top, y) << c->Name;
    EXPECT_EQ(r.right - r.left, w) << c->Name;
    EXPECT_EQ(r.bottom - r.top, h) << c->Name;
  };
  expectAt(form->Panel3, 0, 0, 483, 31);
  expectAt(form->PageControl1, 0, 31, 483, 217);
  expectAt(form->Panel1, 0, 248, 483, 134);
  EXPECT_EQ(form->drawImage->Width(), 481);
  EXPECT_EQ(form->drawImage->Height(), 29);
  EXPECT_EQ(form->drawImage->Left(), 1);
  EXPECT_EQ(form->drawImage->Top(), 1);

  gui::TButton* row[] = {form->Button3, form->Button1, form->Button2, form->RunButton};
  const wchar_t* captions[] = {L"帮  助", L"在线帮助", L"退  出", L"生成批处理文件"};
  int right = 0;
  for (int i = 0; i < 4; ++i) {
    const RECT r = Place(row[i]);
    EXPECT_EQ(r.top, 400);
    EXPECT_GE(r.left, right);  // left to right, no overlap
    EXPECT_LE(r.right, 483);
    right = r.right;
    EXPECT_EQ(WindowText(H(row[i])), captions[i]);
  }
  EXPECT_FALSE(IsWindowVisible(H(form->Memo1)));
  EXPECT_FALSE(form->drawLabel->Visible());
  EXPECT_EQ(form->drawLabel->Font().Height(), -16);
}

// Every control fits inside its parent and no two siblings overlap, so no
// text is clipped or covered on any page.
TEST_F(MainWindow, NoControlLeavesItsParentOrCoversASibling) {
  std::function<void(gui::TWinControl*)> check = [&](gui::TWinControl* parent) {
    RECT inside;
    GetClientRect(H(parent), &inside);
    std::vector<gui::TControl*> shown;
    for (int i = 0; i < parent->ControlCount(); ++i) {
      gui::TControl* c = parent->Controls(i);
      if (!c->Visible() || c == form->Memo1 || dynamic_cast<gui::TTabSheet*>(c)) continue;
      const RECT r = c->BoundsRect();
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= inside.right && r.bottom <= inside.bottom)
          << c->Name << " " << c->Caption() << " leaves " << parent->Name;
      for (gui::TControl* other : shown) {
        RECT overlap;
        const RECT o = other->BoundsRect();
        EXPECT_FALSE(IntersectRect(&overlap, &r, &o)) << c->Caption() << " covers " << other->Caption();
      }
      shown.push_back(c);
      if (auto* w = dynamic_cast<gui::TWinControl*>(c)) check(w);
    }
  };
  check(form.get());
  for (int i = 0; i < form->PageControl1->PageCount(); ++i) check(form->PageControl1->Pages(i));
}

TEST_F(MainWindow, EmptyChoiceIsRefusedAndWritesNothing) {
  TDialogWatcher watcher;
  Click(form->RunButton);
  const auto seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Text, L"请至少添加一个分区！");
  EXPECT_EQ(seen[0].Caption, L"启明映像向导");
  EXPECT_FALSE(FileExists(BackupPath()));
  EXPECT_FALSE(FileExists(RestorePath()));
}

TEST_F(MainWindow, SettingsAndAboutPagesGenerateNothingAndDisableTheFilePanel) {
  TDialogWatcher watcher;
  for (int page : {4, 5}) {
    SelectPage(page);
    EXPECT_EQ(form->Model().PageControl1.ActivePageIndex, page);
    EXPECT_TRUE(IsWindowVisible(H(form->PageControl1->Pages(page))));
    EXPECT_FALSE(Enabled(form->Panel1));
    EXPECT_FALSE(Enabled(form->BeiFenEdit));
    EXPECT_TRUE(Enabled(form->RunButton));
    Click(form->RunButton);
  }
  EXPECT_EQ(watcher.Count(), 0);
  EXPECT_FALSE(FileExists(BackupPath()));
  SelectPage(2);
  EXPECT_TRUE(Enabled(form->Panel1));
  EXPECT_TRUE(Enabled(form->BeiFenEdit));
  EXPECT_FALSE(Enabled(form->ghostEdit));
  EXPECT_FALSE(Enabled(form->selectButton11));
  SelectPage(0);
  EXPECT_TRUE(Enabled(form->ghostEdit));
}

TEST_F(MainWindow, GoodGenerationOnEachPageWritesBothFilesAndSaysSoOnce) {
  // Copies need two different partitions and two disks.
  SelectPage(4);
  Type(form->firstYinPanEdit, L"2");
  Click(form->SecondYinPanCheckBox);
  SelectPage(0);
  ChooseFirstPartition();
  ASSERT_EQ(ListCount(form->FenQuListBox1, false), 1);
  EXPECT_EQ(ListItem(form->FenQuListBox1, 0, false), L"1:1");
  for (int page : {0, 1, 2, 3}) {
    SelectPage(page);
    if (page == 2) SelectInCombo(form->FenQuComboBox32, 1);
    if (page == 3) SelectInCombo(form->YinPanComboBox42, 1);
    DeleteFileW(BackupPath().c_str());
    DeleteFileW(RestorePath().c_str());
    TDialogWatcher watcher;
    Click(form->RunButton);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u) << "page " << page;
    EXPECT_EQ(seen[0].Text, kCompletion);
    const std::string backup = ReadFile(BackupPath()), restore = ReadFile(RestorePath());
    EXPECT_FALSE(backup.empty()) << "page " << page;
    EXPECT_FALSE(restore.empty()) << "page " << page;
    EXPECT_NE(backup.find("\r\n"), std::string::npos);
    EXPECT_NE(backup.find(Utf8(dir) + "\\Ghost"), std::string::npos);
  }
}

TEST_F(MainWindow, AScriptThatCannotBeWrittenReachesTheErrorBoxAndNothingElseIsSaid) {
  ChooseFirstPartition();
  Type(form->BeiFenEdit, dir + L"\\missing\\BeiFen.bat");
  {
    TDialogWatcher watcher;
    Click(form->RunButton);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].Text.find(L"missing"), std::wstring::npos);
    EXPECT_NE(seen[0].Text, kCompletion);
  }
  EXPECT_FALSE(FileExists(RestorePath()));  // the restore script is not attempted
  // The program goes on: fixing the path makes the next press work.
  Type(form->BeiFenEdit, dir + L"\\BeiFen.bat");
  TDialogWatcher again;
  Click(form->RunButton);
  ASSERT_EQ(again.Count(), 1);
  EXPECT_EQ(again.Seen()[0].Text, kCompletion);
}

TEST_F(MainWindow, VolumeSizeEditsFallBackToOne) {
  Click(form->splitCheckBox1);
  EXPECT_TRUE(Enabled(form->splitEdit1));
  for (const wchar_t* bad : {L"", L"0", L"-5", L"abc"}) {
    Type(form->splitEdit1, bad);
    EXPECT_EQ(WindowText(H(form->splitEdit1)), L"1") << Utf8(bad);
  }
  Type(form->splitEdit1, L"123456");
  EXPECT_EQ(WindowText(H(form->splitEdit1)), L"123456");
  // Typed key by key, a leading zero is corrected at once.
  Type(form->splitEdit1, L"");
  SendMessageW(H(form->splitEdit1), EM_SETSEL, 0, -1);
  SendMessageW(H(form->splitEdit1), WM_CHAR, L'7', 1);
  EXPECT_EQ(WindowText(H(form->splitEdit1)), L"7");
  Click(form->splitCheckBox1);
  EXPECT_FALSE(Enabled(form->splitEdit1));
  EXPECT_EQ(WindowText(H(form->splitEdit1)), L"7");  // unchecking keeps the text

  SelectPage(1);
  Click(form->splitCheckBox2);
  Type(form->splitEdit2, L"");
  EXPECT_EQ(WindowText(H(form->splitEdit2)), L"1");
  Click(form->szeCheckBox2);
  EXPECT_TRUE(Enabled(form->szeEdit2));
  EXPECT_EQ(WindowText(H(form->szeEdit2)), L"sze1=30P,sze2=30P,sze3=40P");
}

// What the program puts back after a wrong entry is selected, so that the
// user's next keys replace it rather than land before it ("7001").
TEST_F(MainWindow, TextPutBackIsSelectedSoTheNextKeysReplaceIt) {
  auto keys = [&](gui::TWinControl* edit, const std::wstring& typed) {
    for (wchar_t c : typed) SendMessageW(H(edit), WM_CHAR, c, 1);
  };
  Click(form->splitCheckBox1);
  SendMessageW(H(form->splitEdit1), EM_SETSEL, 0, -1);
  keys(form->splitEdit1, L"\b");
  EXPECT_EQ(WindowText(H(form->splitEdit1)), L"1");
  keys(form->splitEdit1, L"700");
  EXPECT_EQ(WindowText(H(form->splitEdit1)), L"700");
  EXPECT_EQ(form->Model().splitEdit1.Text, "700");

  SelectPage(4);
  SendMessageW(H(form->firstYinPanEdit), EM_SETSEL, 0, -1);
  TDialogWatcher watcher;
  keys(form->firstYinPanEdit, L"11");  // "请输入1~10的数字。", then "1"
  keys(form->firstYinPanEdit, L"7");
  EXPECT_EQ(watcher.Count(), 1);
  EXPECT_EQ(WindowText(H(form->firstYinPanEdit)), L"7");
  EXPECT_EQ(ListCount(form->FenQuComboBox31, true), 7);
}

TEST_F(MainWindow, SecondDiskFromTheSettingsPageReachesThePickLists) {
  SelectPage(4);
  Click(form->SecondYinPanCheckBox);
  EXPECT_TRUE(Enabled(form->secondYinPanEdit));
  Type(form->secondYinPanEdit, L"3");
  ASSERT_EQ(ListCount(form->YinPanComboBox1, true), 2);
  EXPECT_EQ(ListItem(form->YinPanComboBox1, 1, true), L"第二硬盘");
  SelectPage(0);
  SelectInCombo(form->YinPanComboBox1, 1);
  EXPECT_EQ(ListCount(form->FenQuListBox0, false), 3);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 0, false).rfind(L"第一分区", 0), 0u);
  EXPECT_NE(ListItem(form->FenQuListBox0, 0, false).find(L"D:[]"), std::wstring::npos);
}

TEST_F(MainWindow, WindowShowsTheModelAfterEveryHandler) {
  ExpectWindowMirrorsModel("start");
  SelectPage(4);
  ExpectWindowMirrorsModel("page 4");
  Type(form->firstYinPanEdit, L"3");
  ExpectWindowMirrorsModel("first count 3");
  Click(form->SecondYinPanCheckBox);
  ExpectWindowMirrorsModel("second disk");
  Type(form->secondYinPanEdit, L"2");
  ExpectWindowMirrorsModel("second count 2");
  SelectPage(0);
  SelectInList(form->FenQuListBox0, 2);
  Click(form->moveButton1);
  ExpectWindowMirrorsModel("choose 3");
  SelectInCombo(form->YinPanComboBox1, 1);
  ExpectWindowMirrorsModel("disk 2 on page 0");
  SelectInCombo(form->YaSuoComboBox1, 2);
  Click(form->froCheckBox1);
  Click(form->splitCheckBox1);
  Type(form->splitEdit1, L"0");
  ExpectWindowMirrorsModel("page 0 options");
  SelectPage(1);
  Click(form->szeCheckBox2);
  SelectInCombo(form->YinPanComboBox2, 1);
  ExpectWindowMirrorsModel("page 1");
  SelectPage(2);
  SelectInCombo(form->FenQuComboBox31, 2);
  SelectInCombo(form->YinPanComboBox32, 1);
  ExpectWindowMirrorsModel("page 2");
  SelectPage(3);
  SelectInCombo(form->YinPanComboBox41, 1);
  Type(form->HuifuEdit, dir + L"\\R.BAT");
  ExpectWindowMirrorsModel("page 3");
  SelectPage(5);
  ExpectWindowMirrorsModel("page 5");
  SelectPage(4);
  Click(form->SecondYinPanCheckBox);
  ExpectWindowMirrorsModel("second disk off");
}

// The count fields: a refused count shows the message, the field reads "1"
// and every list the window shows is the one for a single partition.
TEST_F(MainWindow, RefusedPartitionCountFallsBackToOneInTheWindow) {
  SelectPage(4);
  Type(form->firstYinPanEdit, L"3");
  SelectPage(0);
  ChooseFirstPartition();
  ASSERT_EQ(ListCount(form->FenQuListBox1, false), 1);
  SelectPage(4);
  for (const wchar_t* bad : {L"11", L"0", L"abc"}) {
    TDialogWatcher watcher;
    Type(form->firstYinPanEdit, bad);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u) << Utf8(bad);
    EXPECT_EQ(seen[0].Text, L"请输入1~10的数字。");
    EXPECT_EQ(WindowText(H(form->firstYinPanEdit)), L"1");
    EXPECT_EQ(ListCount(form->FenQuListBox0, false), 1);
    EXPECT_EQ(ListCount(form->FenQuComboBox32, true), 1);
    EXPECT_EQ(ListCount(form->FenQuListBox1, false), 0);
  }
  TDialogWatcher quiet;
  Type(form->firstYinPanEdit, L"10");
  EXPECT_EQ(quiet.Count(), 0);
  EXPECT_EQ(ListCount(form->FenQuListBox0, false), 10);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 9, false), L"第十分区L:[]");
  EXPECT_EQ(ListCount(form->FenQuComboBox31, true), 10);
  EXPECT_EQ(SendMessageW(H(form->FenQuComboBox31), CB_GETCURSEL, 0, 0), 0);
}

// ">" marks the entry in the window's list, "<" clears the choice and the
// marks, and partitions of two disks are not mixed.
TEST_F(MainWindow, ChoosingPartitionsShowsMarksAndClearingRemovesThem) {
  SelectPage(4);
  Type(form->firstYinPanEdit, L"2");
  Click(form->SecondYinPanCheckBox);
  SelectPage(0);
  SelectInList(form->FenQuListBox0, 1);
  Click(form->moveButton1);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 1, false), L"*第二分区D:[]");
  EXPECT_EQ(SendMessageW(H(form->FenQuListBox0), LB_GETCURSEL, 0, 0), 1);
  Click(form->moveButton1);  // already chosen: nothing
  ASSERT_EQ(ListCount(form->FenQuListBox1, false), 1);
  EXPECT_EQ(ListItem(form->FenQuListBox1, 0, false), L"1:2");

  SelectInCombo(form->YinPanComboBox1, 1);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 0, false), L"第一分区E:[]");
  {
    TDialogWatcher watcher;
    SelectInList(form->FenQuListBox0, 0);
    Click(form->moveButton1);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, L"不能同时备份二个硬盘上的分区");
  }
  EXPECT_EQ(ListCount(form->FenQuListBox1, false), 1);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 0, false), L"第一分区E:[]");

  // Back on disk 1 the list is filled afresh, without marks.
  SelectInCombo(form->YinPanComboBox1, 0);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 1, false), L"第二分区D:[]");
  SelectInList(form->FenQuListBox0, 0);
  Click(form->moveButton1);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 0, false), L"*第一分区C:[]");
  ASSERT_EQ(ListCount(form->FenQuListBox1, false), 2);
  EXPECT_EQ(ListItem(form->FenQuListBox1, 1, false), L"1:1");

  Click(form->MoveButton2);
  EXPECT_EQ(ListCount(form->FenQuListBox1, false), 0);
  EXPECT_EQ(ListItem(form->FenQuListBox0, 0, false), L"第一分区C:[]");
  EXPECT_EQ(form->Model().FQBFYinPan, 0);
}

TEST_F(MainWindow, ChoosersAddTheExtensionOnlyWhenItIsMissing) {
  struct Case {
    gui::TButton* Button;
    gui::TEdit* Edit;
    std::wstring Typed, Expected;
  } cases[] = {{form->selectButton12, form->BeiFenEdit, dir + L"\\backup", dir + L"\\backup.bat"},
               {form->selectButton13, form->HuifuEdit, dir + L"\\BACKUP.BAT", dir + L"\\BACKUP.BAT"},
               {form->selectButton11, form->ghostEdit, dir + L"\\x", dir + L"\\x.gho"},
               {form->selectButton11, form->ghostEdit, dir + L"\\x.gho.txt", dir + L"\\x.gho.txt"}};
  for (const Case& c : cases) {
    TDialogWatcher watcher([&](HWND d) { ChooseFile(d, c.Typed); });
    Click(c.Button);
    EXPECT_EQ(WindowText(H(c.Edit)), c.Expected);
  }
  TDialogWatcher cancel([](HWND d) { PressButton(d, IDCANCEL); });
  Click(form->selectButton12);
  EXPECT_EQ(BackupPath(), dir + L"\\backup.bat");
}

TEST_F(MainWindow, TwoHelpPressesLoadTheHelpLibraryOnce) {
  qm::ResetHtmlHelpForTesting();
  TDialogWatcher watcher;
  Click(form->Button3);
  Click(form->Button3);
  EXPECT_EQ(qm::HtmlHelpLoader().LoadAttempts, 1);
  EXPECT_EQ(qm::HtmlHelpLoader().Initialisations, 1);
  EXPECT_NE(qm::HelpLibrary, nullptr);
  EXPECT_EQ(watcher.Count(), 0);  // a missing help file is not the program's to report
}

TEST_F(MainWindow, MissingHelpLibraryIsReportedAndTheNextPressTriesAgain) {
  qm::ResetHtmlHelpForTesting();
  qm::HtmlHelpLoader().SystemFolder = dir;  // no hhctrl.ocx there
  TDialogWatcher watcher;
  Click(form->Button3);
  Click(form->Button3);
  const auto seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].Text, L"HHCtrl.ocx 文件没有安装，或已经损坏! HtmlHelp 格式文件不能显示!");
  EXPECT_EQ(qm::HtmlHelpLoader().LoadAttempts, 2);
  qm::ResetHtmlHelpForTesting();
}

TEST_F(MainWindow, HelpButtonOpensTheHelpFileBesideTheProgram) {
  Open(ExeFolder());
  ASSERT_TRUE(FileExists(ExeFolder() + L"\\PartKit.chm"));
  qm::ResetHtmlHelpForTesting();
  Click(form->Button3);
  HWND viewer = nullptr;
  PumpFor(5000, [&] {
    viewer = FindWindowW(L"HH Parent", nullptr);
    return viewer != nullptr;
  });
  ASSERT_NE(viewer, nullptr);
  DWORD pid = 0;
  GetWindowThreadProcessId(viewer, &pid);
  EXPECT_EQ(pid, GetCurrentProcessId());
  SendMessageW(viewer, WM_CLOSE, 0, 0);
  qm::ResetHtmlHelpForTesting();
}

TEST_F(MainWindow, BannerMovesOnePixelPerTickAndWraps) {
  qm::TMainFormModel& model = form->Model();
  EXPECT_EQ(model.BannerX, 481);
  EXPECT_EQ(model.BannerWidth, form->drawLabel->Width());
  EXPECT_GT(model.BannerWidth, 481);  // the text is wider than the strip
  auto tick = [&] { SendMessageW(form->Timer1->Window(), WM_TIMER, 1, 0); };
  // The first green column of the strip, or -1.
  auto firstGreen = [&] {
    gui::TBitmap& strip = form->drawImage->Picture();
    for (int x = 0; x < strip.Width(); ++x)
      for (int y = 0; y < strip.Height(); ++y) {
        const std::uint8_t* p = strip.ScanLine(y) + 3 * x;
        if (p[1] > 128 && p[0] < 100 && p[2] < 100) return x;
      }
    return -1;
  };
  model.BannerX = 300;
  tick();
  EXPECT_EQ(model.BannerX, 299);
  const int first = firstGreen();
  ASSERT_GE(first, 299);
  tick();
  EXPECT_EQ(model.BannerX, 298);
  EXPECT_EQ(firstGreen(), first - 1);

  model.BannerX = -model.BannerWidth + 1;
  tick();
  EXPECT_EQ(model.BannerX, -model.BannerWidth);  // drawn just off the strip, not yet wrapped
  EXPECT_EQ(firstGreen(), -1);
  tick();
  EXPECT_EQ(model.BannerX, 481);  // wholly gone: starts again at the right edge
}

TEST_F(MainWindow, AboutPageLinksAndExitButton) {
  SelectPage(5);
  EXPECT_EQ(form->AboutPanel->Width(), 321);
  EXPECT_EQ(form->AboutPanel->Height(), 129);
  EXPECT_EQ(form->http->Caption(), qm::HomePageAddress);
  EXPECT_EQ(form->mail->Caption(), qm::AuthorMail);
  EXPECT_EQ(form->http->Cursor, gui::TCursor::crHandPoint);
  EXPECT_TRUE(form->mail->Font().Style() & gui::fsUnderline);
  EXPECT_EQ(form->mail->Font().Color(), gui::clNavy);
  // The panel names only the project: no person, no account number.
  std::vector<std::string> lines;
  for (int i = 0; i < form->AboutPanel->ControlCount(); ++i) lines.push_back(form->AboutPanel->Controls(i)->Caption());
  EXPECT_EQ(lines, (std::vector<std::string>{"作者：启明映像向导开发组", "OICQ：暂无", "邮件：", "主页：", qm::AuthorMail,
                                             qm::HomePageAddress}));

  gui::Application().Reset();
  Click(form->Button2);
  EXPECT_TRUE(gui::Application().Terminated());
  EXPECT_TRUE(form->Model().Terminated);
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  gui::Application().Reset();
}
