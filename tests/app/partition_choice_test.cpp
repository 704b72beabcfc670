// The settings page's disks and counts, the partition lists they fill, and
// choosing partitions on page 0.

#include "disk_model.h"
#include "form_fixture.h"

namespace qm::test {
namespace {

using Strings = std::vector<std::string>;

class TwoDiskTest : public FormTest {
 protected:
  TwoDiskTest() {
    Type(Form.firstYinPanEdit, "3");
    Check(Form.SecondYinPanCheckBox, true);
    Type(Form.secondYinPanEdit, "2");
  }
};

TEST_F(TwoDiskTest, SecondDiskLettersContinueAfterTheFirst) {
  EXPECT_EQ(Form.FenQuListBox0.Items, (Strings{"第一分区C:[]", "第二分区D:[]", "第三分区E:[]"}));
  Pick(Form.YinPanComboBox1, 1);
  EXPECT_EQ(Form.FenQuListBox0.Items, (Strings{"第一分区F:[]", "第二分区G:[]"}));
  Pick(Form.YinPanComboBox31, 1);
  EXPECT_EQ(Form.FenQuComboBox31.Items, (Strings{"第一分区F:[]", "第二分区G:[]"}));
  EXPECT_EQ(Form.FenQuComboBox32.Items.size(), 3u);
}

TEST_F(TwoDiskTest, SecondDiskBoxOffersTheSecondDiskEverywhere) {
  EXPECT_TRUE(Form.secondYinPanEdit.Enabled);
  for (TListState* disk : {&Form.YinPanComboBox1, &Form.YinPanComboBox2, &Form.YinPanComboBox31,
                           &Form.YinPanComboBox32})
    EXPECT_EQ(disk->Items, (Strings{"第一硬盘", "第二硬盘"})) << disk->Name;
}

TEST(PartitionEntries, BothCountsAtTenEndWithLetterV) {
  const Strings second = PartitionEntries(10, 10);
  EXPECT_EQ(second.front(), "第一分区M:[]");
  EXPECT_EQ(second.back(), "第十分区V:[]");
  EXPECT_TRUE(PartitionEntries(0, 0).empty());
}

TEST_F(TwoDiskTest, ChosenEntriesFollowTheOrderOfChoosing) {
  Choose(0);
  Choose(2);
  EXPECT_EQ(Form.FenQuListBox1.Items, (Strings{"1:1", "1:3"}));
  EXPECT_EQ(Form.PartitionSpec(), "1:1:3");
  EXPECT_EQ(Form.FenQuListBox0.Items, (Strings{"*第一分区C:[]", "第二分区D:[]", "*第三分区E:[]"}));

  Click(Form.MoveButton2);
  Choose(2);
  Choose(0);
  EXPECT_EQ(Form.PartitionSpec(), "1:3:1");
}

TEST_F(TwoDiskTest, MarkedEntryCannotBeChosenAgain) {
  Choose(1);
  Choose(1);
  EXPECT_EQ(Form.FenQuListBox1.Items, Strings{"1:2"});
  EXPECT_EQ(Form.FenQuListBox0.Items[1], "*第二分区D:[]");
  EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(TwoDiskTest, ChoosingWithoutASelectionDoesNothing) {
  Choose(-1);
  EXPECT_TRUE(Form.FenQuListBox1.Items.empty());
  EXPECT_EQ(Form.FQBFYinPan, 0);
}

TEST_F(TwoDiskTest, ClearingUnmarksEveryEntryAndEmptiesTheChosenList) {
  Choose(0);
  Choose(1);
  Click(Form.MoveButton2);
  EXPECT_TRUE(Form.FenQuListBox1.Items.empty());
  EXPECT_EQ(Form.FQBFYinPan, 0);
  EXPECT_EQ(Form.FenQuListBox0.Items, (Strings{"第一分区C:[]", "第二分区D:[]", "第三分区E:[]"}));
}

TEST_F(TwoDiskTest, PartitionsOfTwoDisksCannotBeMixed) {
  Choose(0);
  Pick(Form.YinPanComboBox1, 1);
  Choose(0);
  EXPECT_EQ(Host.Messages, Strings{"不能同时备份二个硬盘上的分区"});
  EXPECT_EQ(Form.FenQuListBox1.Items, Strings{"1:1"});
  EXPECT_EQ(Form.FenQuListBox0.Items[0], "第一分区F:[]");  // not marked

  // Back on disk 1 the marks are gone, so partition 1 can be chosen twice.
  Pick(Form.YinPanComboBox1, 0);
  EXPECT_EQ(Form.FenQuListBox0.Items[0], "第一分区C:[]");
  Choose(0);
  EXPECT_EQ(Form.FenQuListBox1.Items, (Strings{"1:1", "1:1"}));
  EXPECT_EQ(Form.PartitionSpec(), "1:1:1");
}

TEST_F(TwoDiskTest, UncheckingTheSecondDiskKeepsItsChosenEntries) {
  Pick(Form.YinPanComboBox1, 1);
  Choose(1);
  Check(Form.SecondYinPanCheckBox, false);
  EXPECT_FALSE(Form.secondYinPanEdit.Enabled);
  EXPECT_EQ(Form.FenQuListBox1.Items, Strings{"2:2"});
  EXPECT_EQ(Form.FQBFYinPan, 2);
  EXPECT_EQ(Form.YinPanComboBox1.Items, Strings{"第一硬盘"});
  EXPECT_EQ(Form.YinPanComboBox1.ItemIndex, 0);
  EXPECT_EQ(Form.FenQuListBox0.Items.size(), 3u);
}

TEST_F(TwoDiskTest, SettingsBoxResetsEveryDiskPickToTheFirstDisk) {
  Pick(Form.YinPanComboBox2, 1);
  Pick(Form.YinPanComboBox32, 1);
  Choose(0);
  Check(Form.SecondYinPanCheckBox, false);
  Check(Form.SecondYinPanCheckBox, true);
  for (TListState* disk : {&Form.YinPanComboBox1, &Form.YinPanComboBox2, &Form.YinPanComboBox31,
                           &Form.YinPanComboBox32})
    EXPECT_EQ(disk->ItemIndex, 0) << disk->Name;
  EXPECT_EQ(Form.FenQuListBox1.Items, Strings{"1:1"});
}

TEST_F(TwoDiskTest, AnyCopyDiskChangeResetsBothPartitionPicks) {
  Form.FenQuComboBox31.ItemIndex = 2;
  Form.FenQuComboBox32.ItemIndex = 1;
  Pick(Form.YinPanComboBox32, 1);
  EXPECT_EQ(Form.FenQuComboBox31.ItemIndex, 0);
  EXPECT_EQ(Form.FenQuComboBox32.ItemIndex, 0);
  EXPECT_EQ(Form.FenQuComboBox32.Items, (Strings{"第一分区F:[]", "第二分区G:[]"}));
}

TEST_F(TwoDiskTest, DiskPickWithNoEntrySelectedEmptiesThePartitionList) {
  Pick(Form.YinPanComboBox1, -1);
  EXPECT_TRUE(Form.FenQuListBox0.Items.empty());
}

TEST_F(TwoDiskTest, SecondCountIsCheckedLikeTheFirst) {
  Type(Form.secondYinPanEdit, "11");
  EXPECT_EQ(Host.Messages, Strings{"请输入1~10的数字。"});
  EXPECT_EQ(Form.secondYinPanEdit.Text, "1");
  Pick(Form.YinPanComboBox1, 1);
  EXPECT_EQ(Form.FenQuListBox0.Items, Strings{"第一分区F:[]"});
}

TEST(IntegerParsing, AcceptsOnlyADecimalNumberWithinInt) {
  int v = 0;
  EXPECT_TRUE(TryParseInteger("-12", v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(TryParseInteger("2147483647", v));
  EXPECT_TRUE(TryParseInteger("-2147483648", v));
  EXPECT_EQ(v, -2147483647 - 1);
  EXPECT_FALSE(TryParseInteger("2147483648", v));
  for (const char* bad : {"", " ", "+", "1e2", "0x10", "１", "1 2"}) EXPECT_FALSE(TryParseInteger(bad, v)) << bad;
}

}  // namespace
}  // namespace qm::test
