// The portable part of the skin data component: its defaults, the stored
// values it is read from, SkinStream and loading the stored default skin.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_data_core.h"
#include "skin/1_data/skin_message.h"
#include "skin/1_data/skin_package_writer.h"

namespace qm {
namespace {

std::vector<uint8_t> DefaultSkinBytes() {
  std::ifstream in(QM_DEFAULT_SKN, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// ---------------------------------------------------------------- defaults

TEST(SkinDataDefaults, Skin3rdHoldsNinetyFiveLinesWithThreeStandingTwice) {
  const auto& lines = DefaultSkin3rd();
  ASSERT_EQ(lines.size(), 95u);
  std::map<std::string, int> count;
  for (const auto& l : lines) ++count[l];
  std::vector<std::string> twice;
  for (const auto& [line, n] : count)
    if (n > 1) twice.push_back(line);
  EXPECT_EQ(twice, (std::vector<std::string>{"TDBCheckboxEh=Checkbox", "TLMDFontSizeCombobox=combobox",
                                             "TWWDBCombobox=Combobox"}));
}

TEST(SkinDataDefaults, Skin3rdKindsListTheirClassesInOrderOfFirstAppearance) {
  const std::map<std::string, std::vector<std::string>> byKind = {
      {"panel", {"TTBDock", "TTBToolbar", "TLMDGROUPBOX", "TLMDSIMPLEPANEL", "TLMDDBCalendar", "TLMDButtonPanel",
                 "TLMDLMDCalculator", "TLMDHeaderPanel", "TLMDTechnicalLine", "TLMDLMDClock"}},
      {"scrollbar", {"TImageEnMView", "TImageEnView"}},
      {"button", {"TRzButton"}},
      {"checkgroup", {"TRzCheckGroup", "TLMDCheckGroup", "TLMDDBCheckGroup"}},
      {"radiogroup", {"TRzRadioGroup", "TRzDBRadioGroup", "TLMDRADIOGROUP", "TLMDDBRADIOGROUP", "TWWRADIOGROUP"}},
      {"radiobutton", {"TRzRadioButton", "TRzDBRadioButton", "TLMDRadiobutton"}},
      {"checkbox", {"TRzCheckBox", "TRzDBCheckBox", "TDBCheckboxEh", "TLMDCHECKBOX", "TLMDDBCHECKBOX"}},
      {"edit", {"TRzButtonEdit",       "TLMDEDIT",           "TLMDMASKEDIT",       "TLMDBROWSEEDIT",
                "TLMDEXTSPINEDIT",     "TLMDCALENDAREDIT",   "TLMDFILEOPENEDIT",   "TLMDFILESAVEEDIT",
                "TLMDCOLOREDIT",       "TLMDDBEDIT",         "TLMDDBMASKEDIT",     "TLMDDBEXTSPINEDIT",
                "TLMDDBSPINEDIT",      "TLMDDBEDITDBLookup", "TLMDEDITDBLookup",   "TDXDBCURRENCYEDIT",
                "TDXDBEDIT",           "TDXDBMASKEDIT",      "TDXDBHYPERLINKEDIT", "TDXEDIT",
                "TDXMASKEDIT",         "TWWDBEDIT",          "TDXBUTTONEDIT",      "TDXCURRENCYEDIT",
                "TDXHYPERLINKEDIT",    "TOVCPICTUREFIELD",   "TOVCDBPICTUREFIELD", "TOVCSLIDEREDIT",
                "TOVCDBSLIDEREDIT",    "TOVCSIMPLEFIELD",    "TOVCDBSIMPLEFIELD",  "TO32DBFLEXEDIT",
                "TOVCNUMERICFIELD",    "TOVCDBNUMERICFIELD"}},
      {"trackbar", {"TLMDTrackbar"}},
      {"combobox", {"TLMDListCombobox",       "TLMDCheckListCombobox", "TLMDHeaderListCombobox",
                    "TLMDImageCombobox",      "TLMDColorCombobox",     "TLMDFontCombobox",
                    "TLMDFontSizeCombobox",   "TLMDPrinterCombobox",   "TLMDDriveCombobox",
                    "TLMDCalculatorComboBox", "TLMDTrackBarComboBox",  "TLMDCalendarComboBox",
                    "TDBLookupCombobox",      "TWWDBCombobox",         "TWWDBLookupCombo",
                    "TWWKeyCombo",            "TWWTempKeyCombo",       "TWWDBDateTimePicker",
                    "TDXDBPICKEDIT",          "TDXDBCALCEDIT",         "TDXDBIMAGEEDIT",
                    "TDXDBPOPUPEDIT",         "TDXDBEXTLOOKUPEDIT",    "TDXDBLOOKUPEDIT",
                    "TDXDBDATEEDIT",          "TDXDATEEDIT",           "TDXPICKEDIT",
                    "TDXPOPUPEDIT"}},
  };
  std::map<std::string, std::vector<std::string>> seen;
  std::vector<std::string> kindOrder;
  for (const auto& line : DefaultSkin3rd()) {
    const auto eq = line.find('=');
    ASSERT_NE(eq, std::string::npos) << line;
    const std::string cls = line.substr(0, eq), kind = Lower(line.substr(eq + 1));
    auto& classes = seen[kind];
    if (classes.empty()) kindOrder.push_back(kind);
    if (std::find(classes.begin(), classes.end(), cls) == classes.end()) classes.push_back(cls);
  }
  EXPECT_EQ(seen, byKind);
  EXPECT_EQ(kindOrder, (std::vector<std::string>{"panel", "scrollbar", "button", "checkgroup", "radiogroup",
                                                  "radiobutton", "checkbox", "edit", "trackbar", "combobox"}));
  // The vendor groups open in their fixed order.
  const auto& lines = DefaultSkin3rd();
  EXPECT_EQ(lines[0].rfind("TTB", 0), 0u);
  EXPECT_EQ(lines[1].rfind("TTB", 0), 0u);
  EXPECT_EQ(lines[2].rfind("TImageEn", 0), 0u);
  EXPECT_EQ(lines[4].rfind("TRz", 0), 0u);
  EXPECT_EQ(lines.back().rfind("TOVC", 0), 0u);
}

TEST(SkinDataDefaults, SkinControlsHoldEveryKindButFastReport) {
  EXPECT_EQ(DefaultSkinControls.Bits(), 0x3FFFFu);
  EXPECT_FALSE(DefaultSkinControls.Contains(TSkinControlType::xcFastReport));
  EXPECT_TRUE(DefaultSkinControls.Contains(TSkinControlType::xcMainMenu));
  EXPECT_TRUE(DefaultSkinControls.Contains(TSkinControlType::xcSystemMenu));
  // The set is 19 bits wide; stray high bits from a stored value are dropped.
  EXPECT_EQ(TSkinControlTypes::FromBits(0xFFFFFF).Bits(), 0x7FFFFu);
}

TEST(SkinDataDefaults, ANewComponentHasTheStatedDefaults) {
  TSkinDataCore sd;
  EXPECT_FALSE(sd.Active());
  EXPECT_EQ(sd.DisableTag, 99);
  EXPECT_EQ(sd.SkinControls, DefaultSkinControls);
  EXPECT_EQ(sd.Skin3rd(), DefaultSkin3rd());
  EXPECT_EQ(sd.SkinFile(), "");
  EXPECT_EQ(sd.SkinFormtype, TSkinFormType::sfMainform);
  EXPECT_EQ(sd.Version, "2.62.5.26");
  EXPECT_TRUE(sd.MenuUpdate);
  EXPECT_TRUE(sd.SkinEmpty);
  EXPECT_TRUE(sd.FramePainting);
  EXPECT_EQ(sd.PackedSkin.Size(), 0u);
  EXPECT_FALSE(sd.Reading());
}

TEST(SkinDataDefaults, Skin3rdIsCopiedOnAssignment) {
  TSkinDataCore sd;
  std::vector<std::string> mine = {"TFoo=panel", "TBar=edit"};
  sd.SetSkin3rd(mine);
  mine.push_back("TBaz=button");
  mine[0] = "TFoo=combobox";
  EXPECT_EQ(sd.Skin3rd(), (std::vector<std::string>{"TFoo=panel", "TBar=edit"}));
}

TEST(SkinDataDefaults, SkinStoreReadsNoneAndIgnoresWrites) {
  TSkinDataCore sd;
  sd.PackedSkin = TMemoryStream(DefaultSkinBytes());
  sd.LoadSkin();
  EXPECT_EQ(sd.GetSkinStore(), "(none)");
  sd.SetSkinStore("(Good)");
  EXPECT_EQ(sd.GetSkinStore(), "(none)");
}

TEST(FormSkinGate, MonthCalendarsAndReportDesignersAreLeftAlone) {
  TSkinControlTypes withReports = DefaultSkinControls;
  withReports.Include(TSkinControlType::xcFastReport);
  EXPECT_FALSE(FormSkinAllowed("SysMonthCal32", DefaultSkinControls, true));
  EXPECT_TRUE(FormSkinAllowed("SysMonthCal321", DefaultSkinControls, true));  // exact name only
  EXPECT_TRUE(FormSkinAllowed("TfrDesigner", DefaultSkinControls, true));
  EXPECT_FALSE(FormSkinAllowed("TfrDesigner", withReports, true));
  EXPECT_TRUE(FormSkinAllowed("tfrDesigner", withReports, true));  // the prefix is case-sensitive
  EXPECT_TRUE(FormSkinAllowed("TMainForm", withReports, true));
  EXPECT_FALSE(FormSkinAllowed("TMainForm", withReports, false));  // the caller's answer stands
}

// ------------------------------------------------------------ stored values

TEST(StoredValues, EveryKindSurvivesARoundTrip) {
  const std::vector<TStoredValue> values = {
      TStoredValue::Boolean("Active", true),
      TStoredValue::Integer("DisableTag", -12345678),
      TStoredValue::SetOf("SkinControls", 0x40001),
      TStoredValue::StringList("Skin3rd", {"A=b", "", "启明=panel"}),
      TStoredValue::String("Version", "2.62.5.26"),
      TStoredValue::Enum("SkinFormtype", "sfDialog"),
      TStoredValue::Binary("SkinStream", {0, 1, 2, 255}),
      TStoredValue::Binary("Empty", {}),
  };
  const auto bytes = WriteStoredValues(values);
  const auto back = ReadStoredValues(bytes.data(), bytes.size());
  ASSERT_EQ(back.size(), values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(back[i].Name, values[i].Name);
    EXPECT_EQ(back[i].Kind, values[i].Kind);
    EXPECT_EQ(back[i].Bool, values[i].Bool);
    EXPECT_EQ(back[i].Int, values[i].Int);
    EXPECT_EQ(back[i].Text, values[i].Text);
    EXPECT_EQ(back[i].Lines, values[i].Lines);
    EXPECT_EQ(back[i].Bytes, values[i].Bytes);
  }
}

TEST(StoredValues, DamagedStreamsAreRefused) {
  const auto good = WriteStoredValues({TStoredValue::String("Version", "x"), TStoredValue::Boolean("Active", true)});
  // Every truncation falls inside some value or misses the end marker.
  for (size_t n = 0; n < good.size(); ++n)
    EXPECT_THROW(ReadStoredValues(good.data(), n), EStoredValuesError) << "cut at " << n;
  auto signature = good;
  signature[0] = 'X';
  EXPECT_THROW(ReadStoredValues(signature.data(), signature.size()), EStoredValuesError);
  auto trailing = good;
  trailing.push_back(7);
  EXPECT_THROW(ReadStoredValues(trailing.data(), trailing.size()), EStoredValuesError);
  auto boolean = good;
  boolean[boolean.size() - 2] = 2;  // Active's value byte
  EXPECT_THROW(ReadStoredValues(boolean.data(), boolean.size()), EStoredValuesError);
  auto kind = good;
  kind[4 + 1 + 7] = 99;  // Version's kind byte
  EXPECT_THROW(ReadStoredValues(kind.data(), kind.size()), EStoredValuesError);
  // A huge declared length must not be taken at its word.
  auto huge = WriteStoredValues({TStoredValue::Binary("SkinStream", {1, 2, 3})});
  huge[4 + 1 + 10 + 1 + 3] = 0x7F;
  EXPECT_THROW(ReadStoredValues(huge.data(), huge.size()), EStoredValuesError);
  EXPECT_THROW(WriteStoredValues({TStoredValue::Boolean("", true)}), EStoredValuesError);
}

TEST(StoredValues, TheMainFormsValuesComeInStorageOrderAroundThePackedSkin) {
  const auto packed = DefaultSkinBytes();
  ASSERT_FALSE(packed.empty());
  const auto values = MainFormSkinDataValues(packed);
  std::vector<std::string> names;
  for (const auto& v : values) names.push_back(v.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Active", "DisableTag", "SkinControls", "Skin3rd", "SkinStore",
                                              "SkinFormtype", "Version", "MenuUpdate", "SkinStream"}));
  EXPECT_EQ(values[4].Text, "(Good)");
  // SkinStream: its own 4-byte size, then the packed skin.
  const auto& stream = values.back().Bytes;
  ASSERT_EQ(stream.size(), packed.size() + 4);
  EXPECT_EQ(stream[0] | stream[1] << 8 | stream[2] << 16 | stream[3] << 24, static_cast<int>(packed.size()));
  EXPECT_TRUE(std::equal(packed.begin(), packed.end(), stream.begin() + 4));
}

TEST(StoredValues, ReadingTheMainFormsValuesLoadsTheSkin) {
  const auto bytes = WriteStoredValues(MainFormSkinDataValues(DefaultSkinBytes()));
  TSkinDataCore sd;
  sd.SetSkin3rd({});
  sd.ReadStoredValues(bytes.data(), bytes.size());
  EXPECT_TRUE(sd.Reading());
  EXPECT_TRUE(sd.Active());
  EXPECT_EQ(sd.DisableTag, 99);
  EXPECT_EQ(sd.SkinControls, DefaultSkinControls);
  EXPECT_EQ(sd.Skin3rd(), DefaultSkin3rd());
  EXPECT_EQ(sd.GetSkinStore(), "(none)");
  EXPECT_EQ(sd.SkinFormtype, TSkinFormType::sfMainform);
  EXPECT_EQ(sd.Version, "2.62.5.26");
  EXPECT_TRUE(sd.MenuUpdate);
  EXPECT_FALSE(sd.SkinEmpty);
  EXPECT_EQ(sd.PackedSkin.Bytes(), DefaultSkinBytes());
  EXPECT_EQ(sd.Skin()->BorderTop->Bitmap.Height(), 78);
}

TEST(StoredValues, AnUnknownPropertyOrKindChangesNothing) {
  TSkinDataCore sd;
  const auto unknown = WriteStoredValues({TStoredValue::Integer("DisableTag", 5), TStoredValue::Boolean("Flat", true)});
  EXPECT_THROW(sd.ReadStoredValues(unknown.data(), unknown.size()), EStoredValuesError);
  EXPECT_EQ(sd.DisableTag, 99);
  EXPECT_FALSE(sd.Reading());
  const auto wrongKind = WriteStoredValues({TStoredValue::String("Active", "True")});
  EXPECT_THROW(sd.ReadStoredValues(wrongKind.data(), wrongKind.size()), EStoredValuesError);
  const auto badEnum = WriteStoredValues({TStoredValue::Enum("SkinFormtype", "sfEverything")});
  EXPECT_THROW(sd.ReadStoredValues(badEnum.data(), badEnum.size()), EStoredValuesError);
  EXPECT_EQ(sd.SkinFormtype, TSkinFormType::sfMainform);
}

// --------------------------------------------------------------- SkinStream

class CapturedMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    Messages().clear();
    FPrevious = SetSkinMessageHandler([](const std::string& text) { Messages().push_back(text); });
  }
  void TearDown() override { SetSkinMessageHandler(FPrevious); }
  static std::vector<std::string>& Messages() {
    static std::vector<std::string> m;
    return m;
  }
  static TMemoryStream SkinStreamOf(int32_t n, const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.Write(&n, 4);
    s.Write(bytes.data(), bytes.size());
    s.Seek(0);
    return s;
  }

 private:
  TSkinMessageHandler FPrevious = nullptr;
};

TEST_F(CapturedMessages, SkinStreamRoundTrip) {
  TSkinDataCore source;
  source.PackedSkin = TMemoryStream(DefaultSkinBytes());
  TMemoryStream stored;
  source.WriteSkinStream(stored);
  EXPECT_EQ(stored.Size(), source.PackedSkin.Size() + 4);
  stored.Seek(0);
  TSkinDataCore sd;
  sd.ReadSkinStream(stored);
  EXPECT_EQ(sd.PackedSkin.Bytes(), source.PackedSkin.Bytes());
  EXPECT_FALSE(sd.SkinEmpty);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CapturedMessages, AnEmptyComponentWritesASizeOfZeroAndReadsItBackEmpty) {
  TSkinDataCore empty;
  TMemoryStream stored;
  empty.WriteSkinStream(stored);
  EXPECT_EQ(stored.Bytes(), (std::vector<uint8_t>{0, 0, 0, 0}));
  stored.Seek(0);
  TSkinDataCore sd;
  sd.ReadSkinStream(stored);
  EXPECT_TRUE(sd.SkinEmpty);
  EXPECT_EQ(sd.PackedSkin.Size(), 0u);
}

TEST_F(CapturedMessages, ANegativeOrShortSizeLoadsNothing) {
  const auto packed = DefaultSkinBytes();
  for (int32_t n : {-1, static_cast<int32_t>(0x80000000), static_cast<int32_t>(packed.size() + 1), INT32_MAX}) {
    TSkinDataCore sd;
    auto s = SkinStreamOf(n, packed);
    sd.ReadSkinStream(s);
    EXPECT_TRUE(sd.SkinEmpty) << n;
    EXPECT_EQ(sd.PackedSkin.Size(), 0u) << n;
  }
  TSkinDataCore sd;
  TMemoryStream twoBytes(std::vector<uint8_t>{5, 0});
  sd.ReadSkinStream(twoBytes);
  EXPECT_TRUE(sd.SkinEmpty);
}

TEST_F(CapturedMessages, AnOlderContainerIsRefusedWithTheReadersMessage) {
  const std::string ini = "[Personality]\r\nTop=top.bmp\r\n";
  const std::vector<TSkinMember> members = {{"skin.ini", {ini.begin(), ini.end()}}};
  for (uint32_t version : {19999u, 20001u, 0u}) {
    Messages().clear();
    const auto packed = LzhEncode(BuildSkinContainer(members, version));
    TSkinDataCore sd;
    auto s = SkinStreamOf(static_cast<int32_t>(packed.size()), packed);
    sd.ReadSkinStream(s);
    EXPECT_TRUE(sd.SkinEmpty) << version;
    ASSERT_EQ(Messages().size(), 1u) << version;
    EXPECT_EQ(Messages()[0], "This is Older Skin File\rPlease update to new version !");
  }
}

TEST_F(CapturedMessages, APackageWithoutDescriptionStaysEmpty) {
  const auto packed = PackSkin({{"top.bmp", {1, 2, 3}}});
  TSkinDataCore sd;
  auto s = SkinStreamOf(static_cast<int32_t>(packed.size()), packed);
  sd.ReadSkinStream(s);
  EXPECT_TRUE(sd.SkinEmpty);
}

// ----------------------------------------------------------------- SkinFile

TEST(SkinFile, AMissingFileEmptiesTheComponentButKeepsTheDescriptions) {
  TSkinDataCore sd;
  sd.PackedSkin = TMemoryStream(DefaultSkinBytes());
  ASSERT_TRUE(sd.LoadSkin());
  sd.SetSkinFile(std::string(QM_DEFAULT_SKN) + ".missing");
  EXPECT_EQ(sd.SkinFile(), std::string(QM_DEFAULT_SKN) + ".missing");
  EXPECT_TRUE(sd.SkinEmpty);
  EXPECT_EQ(sd.Skin()->BorderTop->Bitmap.Width(), 209);  // the last skin stays in memory
  EXPECT_EQ(sd.PackedSkin.Bytes(), DefaultSkinBytes());
}

TEST(SkinFile, AnExistingFileIsLoaded) {
  TSkinDataCore sd;
  sd.SetSkinFile(QM_DEFAULT_SKN);
  EXPECT_FALSE(sd.SkinEmpty);
  EXPECT_EQ(sd.PackedSkin.Bytes(), DefaultSkinBytes());
  EXPECT_EQ(sd.Skin()->SkinName, "QiMing Graphite");
}

}  // namespace
}  // namespace qm
