// Start-up defaults, page switching and the small handlers that only touch
// the form's own state.

#include "disk_model.h"
#include "form_fixture.h"

namespace qm::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(FormTest, FreshStartShowsTheDefaults) {
  EXPECT_EQ(Form.PageControl1.ActivePageIndex, 0);
  EXPECT_EQ(Form.YinPanComboBox1.Items, Strings{"第一硬盘"});
  EXPECT_EQ(Form.YinPanComboBox1.Text(), "第一硬盘");
  EXPECT_EQ(Form.FenQuListBox0.Items, Strings{"第一分区C:[]"});
  EXPECT_EQ(Form.FenQuListBox0.ItemIndex, -1);
  EXPECT_TRUE(Form.FenQuListBox1.Items.empty());
  EXPECT_EQ(Form.FQBFYinPan, 0);
  EXPECT_EQ(Form.YaSuoComboBox1.Text(), "快速压缩");
  EXPECT_EQ(Form.YaSuoComboBox2.Text(), "快速压缩");
  for (TCheckBoxState* box : {&Form.fxCheckBox1, &Form.rbCheckBox1, &Form.froCheckBox1, &Form.fxCheckBox2,
                              &Form.rbCheckBox2, &Form.froCheckBox2, &Form.fxCheckBox3, &Form.rbCheckBox3,
                              &Form.froCheckBox3, &Form.fxCheckBox4, &Form.rbCheckBox4, &Form.froCheckBox4})
    EXPECT_TRUE(box->Checked) << box->Name;
  EXPECT_FALSE(Form.splitCheckBox1.Checked);
  EXPECT_EQ(Form.splitEdit1.Text, "600");
  EXPECT_FALSE(Form.splitEdit1.Enabled);
  EXPECT_EQ(Form.splitEdit2.Text, "600");
  EXPECT_FALSE(Form.splitEdit2.Enabled);
  EXPECT_FALSE(Form.szeCheckBox2.Checked);
  EXPECT_EQ(Form.szeEdit2.Text, "sze1=30P,sze2=30P,sze3=40P");
  EXPECT_FALSE(Form.szeEdit2.Enabled);
}

TEST_F(FormTest, FreshStartOffersOneDiskWithOnePartitionOnEveryPage) {
  for (TListState* disk : {&Form.YinPanComboBox2, &Form.YinPanComboBox31, &Form.YinPanComboBox32}) {
    EXPECT_EQ(disk->Items, Strings{"第一硬盘"}) << disk->Name;
    EXPECT_EQ(disk->ItemIndex, 0) << disk->Name;
  }
  for (TListState* part : {&Form.FenQuComboBox31, &Form.FenQuComboBox32}) {
    EXPECT_EQ(part->Items, Strings{"第一分区C:[]"}) << part->Name;
    EXPECT_EQ(part->ItemIndex, 0) << part->Name;
  }
  // Page 3 is fixed and ignores the settings.
  EXPECT_EQ(Form.YinPanComboBox41.Items, (Strings{"第一硬盘", "第二硬盘"}));
  EXPECT_EQ(Form.YinPanComboBox42.ItemIndex, 0);
}

TEST_F(FormTest, FreshStartSettingsPage) {
  EXPECT_TRUE(Form.firstYinPanCheckBox.Checked);
  EXPECT_FALSE(Form.firstYinPanCheckBox.Enabled);
  EXPECT_EQ(Form.firstYinPanEdit.Text, "1");
  EXPECT_FALSE(Form.SecondYinPanCheckBox.Checked);
  EXPECT_EQ(Form.secondYinPanEdit.Text, "1");
  EXPECT_FALSE(Form.secondYinPanEdit.Enabled);
}

TEST_F(FormTest, PathsDefaultToTheProgramFolderAndToolsToItsGhostFolder) {
  EXPECT_EQ(Form.GhostDir, "C:\\QM\\Ghost");
  EXPECT_EQ(Form.ghostEdit.Text, "C:\\QM\\WinBF.gho");
  EXPECT_EQ(Form.BeiFenEdit.Text, "C:\\QM\\BeiFen.bat");
  EXPECT_EQ(Form.HuifuEdit.Text, "C:\\QM\\HuiFu.bat");
}

TEST(FormAtDriveRoot, KeepsTheRootBackslashSoPathsDoubleIt) {
  TRecordingHost host;
  TMainFormModel form(host);
  form.FormCreate("C:\\");
  EXPECT_EQ(form.ghostEdit.Text, "C:\\\\WinBF.gho");
  EXPECT_EQ(form.GhostDir, "C:\\\\Ghost");
  EXPECT_EQ(form.BeiFenEdit.Text, "C:\\\\BeiFen.bat");
}

TEST_F(FormTest, PageChangeEnablesTheFilePanelForTheOperationPagesOnly) {
  ShowPage(2);
  EXPECT_TRUE(Form.Panel1.Enabled);
  EXPECT_FALSE(Form.ghostEdit.Enabled);
  EXPECT_FALSE(Form.selectButton11.Enabled);
  EXPECT_TRUE(Form.IsOperable(Form.BeiFenEdit));
  EXPECT_FALSE(Form.IsOperable(Form.ghostEdit));

  ShowPage(4);  // leaves the image edit as page 2 left it
  EXPECT_FALSE(Form.Panel1.Enabled);
  EXPECT_FALSE(Form.ghostEdit.Enabled);
  EXPECT_FALSE(Form.IsOperable(Form.HuifuEdit));
  EXPECT_TRUE(Form.RunButton.Enabled);

  ShowPage(1);
  EXPECT_TRUE(Form.Panel1.Enabled);
  EXPECT_TRUE(Form.ghostEdit.Enabled);
  EXPECT_TRUE(Form.selectButton11.Enabled);

  ShowPage(5);
  EXPECT_FALSE(Form.Panel1.Enabled);
  EXPECT_TRUE(Form.ghostEdit.Enabled);
  ShowPage(3);
  EXPECT_TRUE(Form.Panel1.Enabled);
  EXPECT_FALSE(Form.ghostEdit.Enabled);
}

TEST_F(FormTest, GenerateOnSettingsOrAboutPageDoesNothing) {
  Choose(0);
  for (int page : {4, 5}) {
    ShowPage(page);
    Generate();
  }
  EXPECT_TRUE(Host.Messages.empty());
  EXPECT_TRUE(Host.Files.empty());
}

TEST_F(FormTest, ExitButtonEndsTheProgramAndTouchesNothingElse) {
  EXPECT_FALSE(Form.Terminated);
  Click(Form.Button2);
  EXPECT_TRUE(Form.Terminated);
  EXPECT_TRUE(Host.Messages.empty());
  EXPECT_TRUE(Host.Files.empty());
}

TEST_F(FormTest, FindControlKnowsEveryControlByName) {
  EXPECT_EQ(Form.FindControl("FenQuListBox0"), &Form.FenQuListBox0);
  EXPECT_EQ(Form.FindControl("RunButton"), &Form.RunButton);
  EXPECT_EQ(Form.FindControl("nosuch"), nullptr);
  for (const TControlState* control : Form.Controls()) EXPECT_EQ(Form.FindControl(control->Name), control);
}

// --- partition counts on the settings page

class CountFieldTest : public FormTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CountFieldTest, RefusesWithAMessageAndFallsBackToOne) {
  Check(Form.SecondYinPanCheckBox, true);
  Type(Form.firstYinPanEdit, "3");
  Choose(0);
  Type(Form.firstYinPanEdit, GetParam());
  EXPECT_EQ(Host.Messages, Strings{"请输入1~10的数字。"});
  EXPECT_EQ(Form.firstYinPanEdit.Text, "1");
  // The re-fired change event re-filled every list for the count 1.
  EXPECT_EQ(Form.FenQuListBox0.Items, Strings{"第一分区C:[]"});
  EXPECT_EQ(Form.FenQuComboBox31.Items, Strings{"第一分区C:[]"});
  EXPECT_TRUE(Form.FenQuListBox1.Items.empty());
  EXPECT_EQ(Form.FQBFYinPan, 0);
}

INSTANTIATE_TEST_SUITE_P(BadCounts, CountFieldTest,
                         ::testing::Values("0", "11", "abc", "-1", "1.5", "99999999999"));

TEST_F(FormTest, CountOfTenIsAccepted) {
  Type(Form.firstYinPanEdit, "10");
  EXPECT_TRUE(Host.Messages.empty());
  ASSERT_EQ(Form.FenQuListBox0.Items.size(), 10u);
  EXPECT_EQ(Form.FenQuListBox0.Items[9], "第十分区L:[]");
  EXPECT_EQ(Form.FenQuComboBox32.Items.size(), 10u);
}

TEST_F(FormTest, CountWithBlanksOrSignIsReadAsItsNumber) {
  Type(Form.firstYinPanEdit, " +2 ");
  EXPECT_TRUE(Host.Messages.empty());
  EXPECT_EQ(Form.FenQuListBox0.Items.size(), 2u);
}

TEST_F(FormTest, ValidCountClearsTheChosenList) {
  Type(Form.firstYinPanEdit, "3");
  Choose(2);
  ASSERT_EQ(Form.FenQuListBox1.Items, Strings{"1:3"});
  Type(Form.firstYinPanEdit, "4");
  EXPECT_TRUE(Form.FenQuListBox1.Items.empty());
  EXPECT_EQ(Form.FQBFYinPan, 0);
  EXPECT_EQ(Form.FenQuListBox0.Items.size(), 4u);
}

TEST_F(FormTest, EmptyCountIsAcceptedSilentlyAndLaterRefillReportsIt) {
  Type(Form.firstYinPanEdit, "3");
  Choose(0);
  Type(Form.firstYinPanEdit, "");
  EXPECT_TRUE(Host.Messages.empty());
  EXPECT_EQ(Form.FenQuListBox0.Items.size(), 3u);  // nothing re-filled
  EXPECT_EQ(Form.FenQuListBox1.Items, Strings{"1:1"});

  // A later re-fill needs the count and reaches the error box; the list it
  // was about to fill keeps its entries.
  EXPECT_THROW(Click(Form.MoveButton2), EConvertError);
  EXPECT_EQ(Form.FenQuListBox0.Items.size(), 3u);
}

TEST_F(FormTest, SettingTheSameTextDoesNotRaiseTheChangeEvent) {
  Choose(0);
  Form.SetEditText(Form.firstYinPanEdit, "1");
  EXPECT_EQ(Form.FenQuListBox1.Items, Strings{"1:1"});  // a change would have cleared it
}

// --- option toggles and the volume-size edits

TEST_F(FormTest, OptionBoxesEnableTheirEditsAndKeepTheText) {
  struct Pair {
    TCheckBoxState& box;
    TEditState& edit;
  };
  for (Pair p : {Pair{Form.splitCheckBox1, Form.splitEdit1}, Pair{Form.splitCheckBox2, Form.splitEdit2},
                 Pair{Form.szeCheckBox2, Form.szeEdit2}}) {
    const std::string text = p.edit.Text;
    Check(p.box, true);
    EXPECT_TRUE(p.edit.Enabled) << p.edit.Name;
    Check(p.box, false);
    EXPECT_FALSE(p.edit.Enabled) << p.edit.Name;
    EXPECT_EQ(p.edit.Text, text);
  }
}

class VolumeSizeTest : public FormTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(VolumeSizeTest, NonPositiveOrNonNumericBecomesOneWithoutAMessage) {
  for (TEditState* edit : {&Form.splitEdit1, &Form.splitEdit2}) {
    Type(*edit, GetParam());
    EXPECT_EQ(edit->Text, "1") << edit->Name;
  }
  EXPECT_TRUE(Host.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(BadSizes, VolumeSizeTest, ::testing::Values("", "0", "-5", "abc", " 650", "+650", "00"));

// What the program puts back is selected, so the next keys replace it
// instead of landing before it ("7001" for 700).
TEST_F(FormTest, TextPutBackIsSelectedAndTheNextKeysReplaceIt) {
  Check(Form.splitCheckBox1, true);
  Check(Form.splitCheckBox2, true);
  struct Row {
    TEditState& edit;
    const char* wrong;
    const char* keys;
    const char* result;
  };
  for (const Row& row : {Row{Form.splitEdit1, "", "700", "700"}, Row{Form.splitEdit2, "0", "650", "650"},
                         Row{Form.firstYinPanEdit, "11", "7", "7"}}) {
    Type(row.edit, row.wrong);
    EXPECT_EQ(row.edit.Text, "1") << row.edit.Name;
    EXPECT_EQ(row.edit.SelStart, 0) << row.edit.Name;
    EXPECT_EQ(row.edit.SelLength, 1) << row.edit.Name;
    Keys(row.edit, row.keys);
    EXPECT_EQ(row.edit.Text, row.result) << row.edit.Name;
    EXPECT_EQ(row.edit.SelStart, static_cast<int>(std::string(row.result).size())) << row.edit.Name;
  }
  // Keys land at the caret, a character at a time; code puts the caret first.
  Form.SetEditText(Form.szeEdit2, "启明x");
  EXPECT_EQ(Form.szeEdit2.SelStart, 0);
  Form.szeEdit2.SelStart = 1;
  Keys(Form.szeEdit2, "向导");
  EXPECT_EQ(Form.szeEdit2.Text, "启向导明x");
  EXPECT_EQ(Form.szeEdit2.SelStart, 3);
}

TEST_F(FormTest, LargeVolumeSizeStaysAsTyped) {
  Type(Form.splitEdit2, "123456789012345");
  EXPECT_EQ(Form.splitEdit2.Text, "123456789012345");
  EXPECT_EQ(Form.splitEdit1.Text, "600");
}

// --- choosers and banner

TEST(WithExtension, AppendsOnlyWhenTheExtensionIsNowhereInTheName) {
  EXPECT_EQ(TMainFormModel::WithExtension("backup", ".bat"), "backup.bat");
  EXPECT_EQ(TMainFormModel::WithExtension("BACKUP.BAT", ".bat"), "BACKUP.BAT");
  EXPECT_EQ(TMainFormModel::WithExtension("x.gho.txt", ".gho"), "x.gho.txt");
  EXPECT_EQ(TMainFormModel::WithExtension("X.GHO", ".gho"), "X.GHO");
  EXPECT_EQ(TMainFormModel::WithExtension("C:\\dir\\x", ".GHO"), "C:\\dir\\x.gho");
}

TEST(Banner, MovesLeftAPixelPerTickAndWrapsOnceWhollyGone) {
  TRecordingHost host;
  TMainFormModel form(host);
  form.FormCreate("C:\\QM", 481, 100);
  EXPECT_EQ(form.BannerX, 481);
  EXPECT_EQ(form.Timer1Timer(), 480);
  int ticks = 1;
  int x = 480;
  while (x >= -100) {
    x = form.Timer1Timer();
    ++ticks;
  }
  // Drawn last at -101, wholly left of the strip; starts over at the edge.
  EXPECT_EQ(x, -101);
  EXPECT_EQ(ticks, 481 + 101);
  EXPECT_EQ(form.BannerX, 481);
  EXPECT_EQ(form.Timer1Timer(), 480);
}

}  // namespace
}  // namespace qm::test
