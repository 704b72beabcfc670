#pragma once
// The settings vocabulary of the skin data component: which control kinds
// are skinned, what the component skins, the default map of foreign control
// classes, and the window-class gate. Portable, so tools and native tests
// share it with the program.

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

enum class TSkinControlType : uint8_t {
  xcMainMenu,
  xcPopupMenu,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcSystemMenu,
  xcFastReport,
};
inline constexpr int SkinControlTypeCount = 19;

// A set of control kinds, bit n for member n; stored in 3 bytes.
class TSkinControlTypes {
 public:
  constexpr TSkinControlTypes() = default;
  static constexpr TSkinControlTypes FromBits(uint32_t bits) {
    TSkinControlTypes s;
    s.FBits = bits & AllBits;
    return s;
  }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool Contains(TSkinControlType t) const { return (FBits >> static_cast<int>(t)) & 1u; }
  constexpr void Include(TSkinControlType t) { FBits |= 1u << static_cast<int>(t); }
  constexpr void Exclude(TSkinControlType t) { FBits &= ~(1u << static_cast<int>(t)); }
  friend constexpr bool operator==(TSkinControlTypes, TSkinControlTypes) = default;

  static constexpr uint32_t AllBits = (1u << SkinControlTypeCount) - 1;

 private:
  uint32_t FBits = 0;
};

// Every kind but xcFastReport.
inline constexpr TSkinControlTypes DefaultSkinControls = TSkinControlTypes::FromBits(0x3FFFF);

enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// Names of the enumerations as they are stored and published.
const char* SkinFormTypeName(TSkinFormType t);
bool SkinFormTypeFromName(const std::string& name, TSkinFormType& out);
const char* SkinControlTypeName(TSkinControlType t);

inline constexpr const char* SkinEngineVersion = "2.62.5.26";
inline constexpr int DefaultDisableTag = 99;

// The 95 default lines of Skin3rd ("ClassName=kind"), in their stored order.
const std::vector<std::string>& DefaultSkin3rd();

// The window-class gate used when no OnFormSkin handler decides: month
// calendars are never skinned, and report-designer windows ("Tfr...") not
// when xcFastReport is asked for. Otherwise the caller's answer stands.
bool FormSkinAllowed(const std::string& className, TSkinControlTypes controls, bool doSkin);

}  // namespace qm
