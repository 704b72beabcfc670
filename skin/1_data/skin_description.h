#pragma once
// Everything a skin's description says, parsed: the element descriptions
// with their images, the window colours, the colour table and the caption
// buttons. The skin data component publishes each skin it loads as one of
// these, never changed after; tools and tests use it without any window
// system.

#include <memory>
#include <string>
#include <vector>

#include "skin/1_data/ini_text.h"
#include "skin/1_data/memory_stream.h"
#include "skin/1_data/skin_objects.h"
#include "skin/1_data/skin_reader.h"

namespace qm {

class TSkinDescription {
 public:
  TSkinDescription();
  virtual ~TSkinDescription() = default;
  TSkinDescription(const TSkinDescription&) = delete;
  TSkinDescription& operator=(const TSkinDescription&) = delete;
  // A parsed skin moves into the object that is shared; its elements (and
  // so the images inside them) keep their addresses.
  TSkinDescription(TSkinDescription&&) = default;

  std::string SkinName;
  // The display scale every length and image below is for: the skin as
  // drawn is for 96 DPI, a copy made by ScaledSkinDescription for another.
  int Dpi = 96;

  // Always present.
  std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  // The caption buttons of the description, then the three MDI buttons.
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;

  // Present only when the description gives their image.
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight,
      TrackbarThumbUp, TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;

  TSkinColour WindowTextColour = SystemColour(8);
  TSkinColour ButtonFaceColour = SystemColour(15);
  TSkinColour ScrollbarColour = SystemColour(0);
  TSkinColour HilightTextColour = SystemColour(14);
  TSkinColour HilightColour = SystemColour(13);
  TSkinColour MenubarColour = SystemColour(15);
  TSkinColour MenuColour = SystemColour(4);
  TSkinColour MenuTextColour = SystemColour(7);
  TSkinColour ButtonTextColour = SystemColour(18);
  TSkinColour ButtonHilightColour = SystemColour(20);
  TSkinColour ButtonLightColour = SystemColour(20);
  TSkinColour ButtonShadowColour = SystemColour(16);
  TSkinColour ButtonDkShadowColour = SystemColour(21);
  TSkinColour MenuBarTextColour = SystemColour(7);
  TSkinColour TitleTextActiveColour = SystemColour(9);
  TSkinColour TitleTextNoActiveColour = SystemColour(19);
  std::vector<TSkinColour> ColourTable;

  // Fills every description from the INI text; images come from Reader.
  void LoadDescription(const TIniText& Ini, const TSkinReader& Reader);

  // Unpacks a packed skin, finds its description (the first member whose
  // name contains ".ini") and parses it. False, with Error set, when the
  // package is refused or holds no description; the descriptions are then
  // untouched. Running out of memory while expanding is reported through
  // the skin message hook, not thrown.
  bool LoadPackage(TMemoryStream& PackedSkin, std::string* Error = nullptr);

  // Red, green and blue as three numbers in any separators.
  static TSkinColour ParseColour(const std::string& Text, TSkinColour Default);

  // The elements in their fixed order, absent ones as nullptr.
  struct TElementRef {
    const char* Member;
    const TDataSkinObject* Object;
  };
  std::vector<TElementRef> Elements() const;

 private:
  void LoadImage(TSkinImage& Image, const std::string& Value);
  void ReadRGB(const std::string& Section, const std::string& Prefix, TSkinColour& Colour);
  void ReadBorders();
  void ReadColours();
  void ReadSysButtons();
  void ReadButtons();
  void ReadTitle();
  void ReadProgress();
  void ReadMenuBar();
  template <typename T>
  T* ReadCommon(std::unique_ptr<T>& Member, const std::string& Section, bool ReadStyle,
                const std::string& SecondKey);
  void ReadElement(std::unique_ptr<TDataSkinObject>& Member, const std::string& Section);
  void ReadBorderElement(std::unique_ptr<TDataSkinBorder>& Member, const std::string& Section,
                         const std::string& SecondKey);
  void ReadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& Member, const std::string& Section);
  void SetFrameCounts();

  int32_t Int(const std::string& Section, const std::string& Key, int32_t Default) const {
    return FIni->ReadInteger(Section, Key, Default);
  }
  std::string Str(const std::string& Section, const std::string& Key) const {
    return FIni->ReadString(Section, Key, std::string());
  }

  // Valid only while LoadDescription runs.
  const TIniText* FIni = nullptr;
  const TSkinReader* FReader = nullptr;
  std::vector<std::string> FSections;
};

// A stable text form of a parsed skin, one "key = value" line per field,
// elements in their fixed order.
std::string DescribeSkin(const TSkinDescription& Skin);

}  // namespace qm
