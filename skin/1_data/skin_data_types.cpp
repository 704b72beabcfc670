#include "skin/1_data/skin_data_types.h"

#include <array>

namespace qm {

namespace {
constexpr std::array<const char*, 3> FormTypeNames = {"sfMainform", "sfOnlyThisForm", "sfDialog"};
constexpr std::array<const char*, SkinControlTypeCount> ControlTypeNames = {
    "xcMainMenu", "xcPopupMenu", "xcToolbar",   "xcControlbar", "xcCombo",      "xcCheckBox",  "xcRadioButton",
    "xcProgress", "xcScrollbar", "xcEdit",      "xcButton",     "xcBitBtn",     "xcSpeedButton", "xcPanel",
    "xcGroupBox", "xcStatusBar", "xcTab",       "xcSystemMenu", "xcFastReport"};
}  // namespace

const char* SkinFormTypeName(TSkinFormType t) { return FormTypeNames.at(static_cast<size_t>(t)); }

bool SkinFormTypeFromName(const std::string& name, TSkinFormType& out) {
  for (size_t i = 0; i < FormTypeNames.size(); ++i)
    if (name == FormTypeNames[i]) {
      out = static_cast<TSkinFormType>(i);
      return true;
    }
  return false;
}

const char* SkinControlTypeName(TSkinControlType t) { return ControlTypeNames.at(static_cast<size_t>(t)); }

const std::vector<std::string>& DefaultSkin3rd() {
  // The letter case of the kinds varies and does not matter: the map is read
  // case-insensitively. Three lines stand twice, as they always have.
  static const std::vector<std::string> lines = {
      "TTBDock=panel",
      "TTBToolbar=panel",
      "TImageEnMView=scrollbar",
      "TImageEnView=scrollbar",
      "TRzButton=button",
      "TRzCheckGroup=checkgroup",
      "TRzRadioGroup=radiogroup",
      "TRzDBRadioGroup=radiogroup",
      "TRzRadioButton=radiobutton",
      "TRzDBRadioButton=radiobutton",
      "TRzCheckBox=checkbox",
      "TRzDBCheckBox=checkbox",
      "TRzButtonEdit=edit",
      "TDBCheckboxEh=Checkbox",
      "TDBCheckboxEh=Checkbox",
      "TLMDGROUPBOX=panel",
      "TLMDSIMPLEPANEL=panel",
      "TLMDDBCalendar=panel",
      "TLMDButtonPanel=panel",
      "TLMDLMDCalculator=panel",
      "TLMDHeaderPanel=panel",
      "TLMDTechnicalLine=panel",
      "TLMDLMDClock=panel",
      "TLMDCheckGroup=checkgroup",
      "TLMDDBCheckGroup=checkgroup",
      "TLMDRADIOGROUP=radiogroup",
      "TLMDDBRADIOGROUP=radiogroup",
      "TLMDRadiobutton=radiobutton",
      "TLMDCHECKBOX=checkbox",
      "TLMDDBCHECKBOX=checkbox",
      "TLMDEDIT=edit",
      "TLMDMASKEDIT=edit",
      "TLMDBROWSEEDIT=edit",
      "TLMDEXTSPINEDIT=edit",
      "TLMDCALENDAREDIT=edit",
      "TLMDFILEOPENEDIT=edit",
      "TLMDFILESAVEEDIT=edit",
      "TLMDCOLOREDIT=edit",
      "TLMDDBEDIT=edit",
      "TLMDDBMASKEDIT=edit",
      "TLMDDBEXTSPINEDIT=edit",
      "TLMDDBSPINEDIT=edit",
      "TLMDDBEDITDBLookup=edit",
      "TLMDEDITDBLookup=edit",
      "TLMDTrackbar=trackbar",
      "TLMDListCombobox=combobox",
      "TLMDCheckListCombobox=combobox",
      "TLMDHeaderListCombobox=combobox",
      "TLMDImageCombobox=combobox",
      "TLMDColorCombobox=combobox",
      "TLMDFontCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDPrinterCombobox=combobox",
      "TLMDDriveCombobox=combobox",
      "TLMDCalculatorComboBox=combobox",
      "TLMDTrackBarComboBox=combobox",
      "TLMDCalendarComboBox=combobox",
      "TDBLookupCombobox=combobox",
      "TWWRADIOGROUP=radiogroup",
      "TWWDBCombobox=Combobox",
      "TWWDBCombobox=Combobox",
      "TWWDBLookupCombo=combobox",
      "TWWKeyCombo=combobox",
      "TWWTempKeyCombo=combobox",
      "TWWDBDateTimePicker=combobox",
      "TDXDBCURRENCYEDIT=edit",
      "TDXDBEDIT=edit",
      "TDXDBMASKEDIT=edit",
      "TDXDBHYPERLINKEDIT=edit",
      "TDXEDIT=edit",
      "TDXMASKEDIT=edit",
      "TWWDBEDIT=edit",
      "TDXBUTTONEDIT=edit",
      "TDXCURRENCYEDIT=edit",
      "TDXHYPERLINKEDIT=edit",
      "TDXDBPICKEDIT=combobox",
      "TDXDBCALCEDIT=combobox",
      "TDXDBIMAGEEDIT=combobox",
      "TDXDBPOPUPEDIT=combobox",
      "TDXDBEXTLOOKUPEDIT=combobox",
      "TDXDBLOOKUPEDIT=combobox",
      "TDXDBDATEEDIT=combobox",
      "TDXDATEEDIT=combobox",
      "TDXPICKEDIT=combobox",
      "TDXPOPUPEDIT=combobox",
      "TOVCPICTUREFIELD=edit",
      "TOVCDBPICTUREFIELD=edit",
      "TOVCSLIDEREDIT=edit",
      "TOVCDBSLIDEREDIT=edit",
      "TOVCSIMPLEFIELD=edit",
      "TOVCDBSIMPLEFIELD=edit",
      "TO32DBFLEXEDIT=edit",
      "TOVCNUMERICFIELD=edit",
      "TOVCDBNUMERICFIELD=edit",
  };
  return lines;
}

bool FormSkinAllowed(const std::string& className, TSkinControlTypes controls, bool doSkin) {
  if (className == "SysMonthCal32") return false;
  if (controls.Contains(TSkinControlType::xcFastReport) && className.rfind("Tfr", 0) == 0) return false;
  return doSkin;
}

}  // namespace qm
