#include "skin/1_data/skin_description.h"

#include <climits>
#include <new>
#include <type_traits>

#include "skin/1_data/bitmap_utils.h"
#include "skin/1_data/bmp_file.h"
#include "skin/1_data/lzh.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_message.h"

namespace qm {

namespace {
std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}
bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
}  // namespace

TSkinDescription::TSkinDescription()
    : BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {}

TSkinColour TSkinDescription::ParseColour(const std::string& Text, TSkinColour Default) {
  if (Text.empty()) return Default;
  size_t a = 0, b = Text.size();
  while (a < b && (Text[a] == ' ' || Text[a] == '\t')) ++a;
  while (b > a && (Text[b - 1] == ' ' || Text[b - 1] == '\t')) --b;

  int64_t parts[3] = {0, 0, 0};
  int stored = 0;
  int64_t number = 0;
  bool digits = false;
  bool overflow = false;
  for (size_t i = a; i < b && !overflow; ++i) {
    const char c = Text[i];
    if (c >= '0' && c <= '9') {
      number = number * 10 + (c - '0');
      digits = true;
      // A run too long for a 32-bit number cannot be stored; it and all
      // that follows are dropped.
      if (number > INT32_MAX) overflow = true;
    } else if (digits) {
      if (stored < 3) parts[stored] = number;
      ++stored;
      number = 0;
      digits = false;
    }
  }
  // Trailing digits complete a colour only as its third number.
  if (!overflow && digits && stored == 2) parts[2] = number;
  return static_cast<TSkinColour>((parts[0] & 0xFF) | ((parts[1] & 0xFF) << 8) | ((parts[2] & 0xFF) << 16));
}

void TSkinDescription::LoadImage(TSkinImage& Image, const std::string& Value) {
  const size_t cut = Value.find_last_of("\\:");
  const std::string name = cut == std::string::npos ? Value : Value.substr(cut + 1);
  const size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  if (name.empty() || ext != ".bmp") {
    Image.Clear();
    return;
  }
  TMemoryStream member;
  FReader->GetMember(name, member);
  // A member that is not a readable BMP leaves the image empty, like a
  // missing one.
  if (member.Size() == 0 || !LoadBmp(member.Memory(), member.Size(), Image)) Image.Clear();
}

void TSkinDescription::ReadRGB(const std::string& Section, const std::string& Prefix, TSkinColour& Colour) {
  const int32_t r = Int(Section, Prefix + "R", -1);
  const int32_t g = Int(Section, Prefix + "G", -1);
  const int32_t b = Int(Section, Prefix + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0)
    Colour = static_cast<TSkinColour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

void TSkinDescription::ReadBorders() {
  const std::pair<const char*, TDataSkinBorder*> sides[] = {
      {"Left", BorderLeft.get()}, {"Right", BorderRight.get()}, {"Top", BorderTop.get()}, {"Bottom", BorderBottom.get()}};
  for (const auto& [side, border] : sides) {
    const std::string s = side;
    const int32_t first = Int("Personality", s + "TopHeight", 0);
    const int32_t second = Int("Personality", s + "BotHeight", 0);
    if (s == "Left" || s == "Right") {
      border->TopHeight = first;
      border->BottomHeight = second;
      border->LeftWidth = border->RightWidth = 0;
    } else {
      border->LeftWidth = first;
      border->RightWidth = second;
      border->TopHeight = border->BottomHeight = 0;
    }
    border->FrameCount = Int("Personality", s + "Frame", 1);
    border->Tile = Int("Personality", s + "Stretch", 1);
    border->Trans = Int("Personality", s + "Trans", 1);
    LoadImage(border->Bitmap, Str("Personality", s));
  }
}

void TSkinDescription::ReadColours() {
  auto colour = [this](const char* key, TSkinColour fallback) { return ParseColour(Str("Colours", key), fallback); };
  WindowTextColour = colour("WindowText", SystemColour(8));
  ButtonFaceColour = colour("ButtonFace", SystemColour(15));
  ScrollbarColour = colour("Scrollbar", SystemColour(0));
  HilightTextColour = colour("HilightText", SystemColour(14));
  HilightColour = colour("Hilight", SystemColour(13));
  MenubarColour = colour("Menubar", ButtonFaceColour);
  MenuColour = colour("Menu", SystemColour(4));
  MenuTextColour = colour("MenuText", SystemColour(7));
  ButtonTextColour = colour("ButtonText", SystemColour(18));
  ButtonHilightColour = colour("ButtonHilight", SystemColour(20));
  ButtonLightColour = colour("Buttonlight", SystemColour(20));
  ButtonShadowColour = colour("ButtonShadow", SystemColour(16));
  ButtonDkShadowColour = colour("ButtonDkShadow", SystemColour(21));
  MenuBarTextColour = colour("MenuBarText", SystemColour(7));
  TitleTextActiveColour = colour("TitleTextActive", SystemColour(9));
  TitleTextNoActiveColour = colour("TitleTextNoActive", SystemColour(19));

  ColourTable.clear();
  for (const std::string& section : FSections) {
    const std::string upper = UpperAscii(section);
    if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
      ColourTable.push_back(ParseColour(Str(section, "color"), SystemColour(8)));
  }
}

void TSkinDescription::ReadSysButtons() {
  SysButtons.clear();
  std::vector<std::string> qualifying;
  for (const std::string& section : FSections) {
    const std::string upper = UpperAscii(section);
    if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" || upper == "BUTTON") continue;
    if (!StartsWith(upper, "BUTTON")) continue;
    if (Int(section, "Action", 0) == button_action::kNone && Int(section, "Visibility", -1) != 0) continue;
    qualifying.push_back(section);
  }

  for (const std::string& section : qualifying) {
    auto button = std::make_unique<TDataSkinSysButton>(UpperAscii(section));
    button->Action = Int(section, "Action", 0);
    button->Align = Int(section, "Align", 0);
    button->XCoord = Int(section, "Xcoord", 0);
    button->YCoord = Int(section, "Ycoord", 0);
    button->Visibility = Int(section, "Visibility", 0);
    button->Visibility1 = Int(section, "Visibility1", button->Action == button_action::kNone ? -1 : 0);
    button->CombineOp = Int(section, "CombineOp", -1);
    button->FrameCount = Int(section, "frame", 0);
    LoadImage(button->Bitmap, Str(section, "ButtonImage"));
    if (button->FrameCount == 0) {
      button->FrameCount = 6;
      if (!button->Bitmap.Empty()) {
        // width / height <= 3.8, in integers so that the exact ratio 3.8
        // compares the same on every floating-point unit.
        const int64_t w = button->Bitmap.Width(), h = button->Bitmap.Height();
        button->FrameCount = 5 * w <= 19 * h ? 3 : 6;
      }
      if (button->Action < 0) button->FrameCount = 6;
      if (button->Action == button_action::kIcon || button->Action == button_action::kIconToo) button->Bitmap.Clear();
    }
    SysButtons.push_back(std::move(button));
  }

  const size_t n = SysButtons.size();
  for (int action : {button_action::kChildMinimize, button_action::kChildRestore, button_action::kChildClose}) {
    auto mdi = std::make_unique<TDataSkinSysButton>("MDI");
    mdi->Action = action;
    mdi->Align = button_align::kInMenuBar;
    mdi->Visibility = button_visibility::kMDIChildMaximized;
    mdi->Visibility1 = button_visibility::kMDIChildMaximized;
    mdi->FrameCount = 4;
    SysButtons.push_back(std::move(mdi));
  }
  TSkinImage strip;
  LoadImage(strip, Str("MDICONTROLS", "Image"));
  if (strip.Empty()) return;
  const int cell = strip.Width() / 12;
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton& mdi = *SysButtons[n + static_cast<size_t>(i)];
    mdi.Bitmap = strip.Columns(i * 4 * cell, 4 * cell);
    mdi.XCoord = (3 - i) * (cell + 4);
  }
}

void TSkinDescription::ReadButtons() {
  TDataSkinButton& b = *Buttons;
  b.LeftWidth = Int("Buttons", "LeftWidth", 0);
  b.RightWidth = Int("Buttons", "RightWidth", 0);
  b.TopHeight = Int("Buttons", "TopHeight", 0);
  b.BottomHeight = Int("Buttons", "BottomHeight", 0);
  b.Trans = Int("Buttons", "Trans", 0);
  LoadImage(b.Bitmap, Str("Buttons", "Bitmap"));
  b.Tile = Int("Buttons", "Tile", 0);
  LoadImage(b.CheckBitmap, Str("Buttons", "CheckButton"));
  LoadImage(b.RadioBitmap, Str("Buttons", "RadioButton"));
  b.NormalColour = Int("Buttons", "NormalColour", -1);
  b.MouseOverColour = Int("Buttons", "MouseOverColour", -1);
  b.PressedColour = Int("Buttons", "PressedColour", -1);
  b.RadioFrameCount = Int("Buttons", "RadioButtonFrame", 0);
  b.CheckFrameCount = Int("Buttons", "CheckButtonFrame", 0);
  b.HasNormalColour2 = !Str("Buttons", "NormalColour2").empty();
  b.HasMouseOverColour2 = !Str("Buttons", "MouseOverColour2").empty();
  b.HasPressedColour2 = !Str("Buttons", "PressedColour2").empty();
  b.NormalColour2 = ParseColour(Str("Buttons", "NormalColour2"), ButtonTextColour);
  b.MouseOverColour2 = ParseColour(Str("Buttons", "MouseOverColour2"), ButtonTextColour);
  b.PressedColour2 = ParseColour(Str("Buttons", "PressedColour2"), ButtonTextColour);
}

void TSkinDescription::ReadTitle() {
  TDataSkinTitle& t = *Title;
  LoadImage(t.Bitmap, Str("Personality", "TextBack"));
  t.LeftWidth = Int("Personality", "TextShift", 0);
  t.TopHeight = Int("Personality", "TextShiftVert", 0);
  t.RightWidth = Int("Personality", "TextRightClip", 0);
  t.BottomHeight = 0;
  t.TextAlignment = Int("Personality", "TextAlignment", 0);
  t.TextBackground = Int("Personality", "Textbackground", 0);
  t.FontHeight = Int("Fonts", "FontHeight", 14);
  t.TextBackLeft = Int("Personality", "TXTBackleft", 0);
  t.TextBackRight = Int("Personality", "TXTBackRight", 0);
  t.ActiveTextColour = TitleColourNotGiven;
  t.InactiveTextColour = TitleColourNotGiven;
  ReadRGB("Personality", "ActiveText", t.ActiveTextColour);
  ReadRGB("Personality", "InActiveText", t.InactiveTextColour);
}

void TSkinDescription::ReadProgress() {
  Progress.reset();
  const std::string image = Str("Progress", "Bitmap");
  if (image.empty()) return;
  auto p = std::make_unique<TDataSkinBorder>("Progress");
  LoadImage(p->Bitmap, image);
  const std::string chunk = Str("Progress", "Chunk");
  if (!chunk.empty()) LoadImage(p->Bitmap2, chunk);
  p->Style = Int("Progress", "Style", 0);
  p->LeftWidth = Int("Progress", "LeftWidth", 0);
  p->RightWidth = Int("Progress", "RightWidth", 0);
  p->TopHeight = Int("Progress", "TopHeight", 0);
  p->BottomHeight = Int("Progress", "BottomHeight", 0);
  p->Trans = Int("Progress", "Trans", 0);
  p->Tile = Int("Progress", "Tile", 0);
  Progress = std::move(p);
}

void TSkinDescription::ReadMenuBar() {
  MenuBar.reset();
  const std::string image = Str("Personality", "menuBar");
  if (image.empty()) return;
  auto m = std::make_unique<TDataSkinObject>("Personality");
  LoadImage(m->Bitmap, image);
  m->TopHeight = m->BottomHeight = 0;
  m->Tile = Int("Personality", "TileMenu", 0);
  m->LeftWidth = Int("Personality", "TileLeftMenu", 1);
  m->RightWidth = Int("Personality", "TileRightMenu", 1);
  MenuBar = std::move(m);
}

template <typename T>
T* TSkinDescription::ReadCommon(std::unique_ptr<T>& Member, const std::string& Section, bool ReadStyle,
                                const std::string& SecondKey) {
  Member.reset();
  const std::string image = Str(Section, "Image");
  if (image.empty()) return nullptr;
  auto e = std::make_unique<T>(Section);
  LoadImage(e->Bitmap, image);
  if constexpr (std::is_same_v<T, TDataSkinBorder>) {
    const std::string second = Str(Section, SecondKey);
    if (!second.empty()) LoadImage(e->Bitmap2, second);
  }
  if (ReadStyle) e->Style = Int(Section, "Style", 0);
  e->LeftWidth = Int(Section, "LeftWidth", 0);
  e->RightWidth = Int(Section, "RightWidth", 0);
  e->TopHeight = Int(Section, "TopHeight", 0);
  e->BottomHeight = Int(Section, "BottomHeight", 0);
  e->Trans = Int(Section, "Trans", 0);
  e->Tile = Int(Section, "Tile", 0);
  e->NormalColour = Int(Section, "NormalColour", -1);
  e->MouseOverColour = Int(Section, "MouseOverColour", -1);
  e->PressedColour = Int(Section, "PressedColour", -1);
  e->NormalColour2 = ParseColour(Str(Section, "NormalColour2"), ButtonTextColour);
  e->MouseOverColour2 = ParseColour(Str(Section, "MouseOverColour2"), ButtonTextColour);
  e->PressedColour2 = ParseColour(Str(Section, "PressedColour2"), ButtonTextColour);
  if (e->Tile > 1) e->Tile = 0;
  Member = std::move(e);
  return Member.get();
}

void TSkinDescription::ReadElement(std::unique_ptr<TDataSkinObject>& Member, const std::string& Section) {
  ReadCommon(Member, Section, true, std::string());
}

void TSkinDescription::ReadBorderElement(std::unique_ptr<TDataSkinBorder>& Member, const std::string& Section,
                                         const std::string& SecondKey) {
  ReadCommon(Member, Section, false, SecondKey);
}

void TSkinDescription::ReadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& Member, const std::string& Section) {
  if (TDataSkinBoxLabel* box = ReadCommon(Member, Section, true, std::string())) {
    box->BackgroundAlignment = Int(Section, "BackgroundAlignment", 0);
    box->BackgroundLeftShift = Int(Section, "BackgroundLeftShift", 0);
    box->BackgroundRightShift = Int(Section, "BackgroundRightShift", 0);
  }
}

void TSkinDescription::SetFrameCounts() {
  auto set = [](auto& member, int32_t frames) {
    if (member) member->FrameCount = frames;
  };
  set(Title, 2);
  set(Buttons, 5);
  set(MenuBar, 2);
  set(Progress, 2);
  set(GroupBoxEdge, 2);
  set(GroupBox, 1);
  set(Toolbars, 5);
  set(Tabs, 5);
  set(StatusBarEdges, 3);
  set(ComboButton, 4);
  set(SunkEdge, 4);
  set(ExtraImages, 5);
  set(Headerbar, 5);
  set(MenuItem, 5);
  set(MenuBackground, 1);
  set(Scrollbar, 23);
  set(HorzScroll, 4);
  set(VertScroll, 4);
  set(HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
  set(VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
  for (auto* thumb : {&TrackbarThumbHorz, &TrackbarThumbVert, &TrackbarThumbLeft, &TrackbarThumbRight,
                      &TrackbarThumbUp, &TrackbarThumbDown})
    set(*thumb, 5);
  set(UpDownHorz, 8);
  set(UpDownVert, 8);

  auto frames = [](int32_t& count, const TSkinImage& image) {
    if (count != 0) return;
    const int cell = image.Height() < 16 ? 13 : 16;
    count = image.Width() / cell;
    if (count < 4) count = 4;
  };
  frames(Buttons->RadioFrameCount, Buttons->RadioBitmap);
  frames(Buttons->CheckFrameCount, Buttons->CheckBitmap);
}

void TSkinDescription::LoadDescription(const TIniText& Ini, const TSkinReader& Reader) {
  FIni = &Ini;
  FReader = &Reader;
  FSections = Ini.ReadSections();
  struct TDone {
    TSkinDescription* D;
    ~TDone() {
      D->FIni = nullptr;
      D->FReader = nullptr;
      D->FSections.clear();
    }
  } done{this};

  SkinName = Str("TitlebarSkin", "SkinName");
  ReadBorders();
  ReadColours();
  ReadSysButtons();
  ReadButtons();
  ReadTitle();
  ReadProgress();
  ReadMenuBar();
  ReadElement(GroupBoxEdge, "GroupBoxEdge");
  ReadBoxLabel(GroupBox, "GroupBox");
  ReadElement(Toolbars, "Toolbars");
  ReadBorderElement(Tabs, "Tabs", "Border");
  ReadElement(StatusBarEdges, "StatusBarEdges");
  ReadBorderElement(ComboButton, "ComboButton", "****");
  if (ComboButton && !ComboButton->Bitmap.Empty()) {
    ComboButton->Bitmap2 = ComboButton->Bitmap;
    MirrorBitmap(ComboButton->Bitmap2);
  }
  const std::pair<std::unique_ptr<TDataSkinObject>*, const char*> plain[] = {
      {&SunkEdge, "SunkEdge"},
      {&ExtraImages, "ExtraImages"},
      {&Headerbar, "Headerbar"},
      {&MenuItem, "MenuItem"},
      {&MenuBackground, "MenuBackground"},
      {&Scrollbar, "Scrollbar"},
      {&HorzScroll, "HorzScroll"},
      {&VertScroll, "VertScroll"},
      {&HorzScrollThumb, "HorzScrollThumb"},
      {&VertScrollThumb, "VertScrollThumb"},
      {&TrackbarThumbHorz, "Trackbar.ThumbHorz"},
      {&TrackbarThumbVert, "Trackbar.ThumbVert"},
      {&TrackbarThumbLeft, "Trackbar.ThumbLeft"},
      {&TrackbarThumbRight, "Trackbar.ThumbRight"},
      {&TrackbarThumbUp, "Trackbar.ThumbUp"},
      {&TrackbarThumbDown, "Trackbar.ThumbDown"},
  };
  for (const auto& [member, section] : plain) ReadElement(*member, section);
  ReadBorderElement(UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadBorderElement(UpDownVert, "UpDown.Vert", "GlyphImage");
  SetFrameCounts();
}

bool TSkinDescription::LoadPackage(TMemoryStream& PackedSkin, std::string* Error) {
  TSkinReader reader;
  bool accepted = false;
  try {
    accepted = reader.ReadSkin(PackedSkin);
  } catch (const ElzhException& e) {
    // Out of memory while expanding: say so the one way the skin engine
    // speaks, and leave the skin empty rather than abort loading the form.
    ShowSkinMessage(e.what());
    reader.LastError = e.what();
  } catch (const std::bad_alloc&) {
    ShowSkinMessage(LzhNoMemoryMessage);
    reader.LastError = LzhNoMemoryMessage;
  }
  if (!accepted) {
    if (Error) *Error = reader.LastError;
    return false;
  }
  TMemoryStream ini;
  std::string name;
  reader.FindMember(".ini", ini, name);
  if (name.empty()) {
    if (Error) *Error = "the package holds no description (.ini member)";
    return false;
  }
  LoadDescription(TIniText(std::string(ini.Bytes().begin(), ini.Bytes().end())), reader);
  if (Error) Error->clear();
  return true;
}

std::vector<TSkinDescription::TElementRef> TSkinDescription::Elements() const {
  return {
      {"BorderLeft", BorderLeft.get()},
      {"BorderRight", BorderRight.get()},
      {"BorderTop", BorderTop.get()},
      {"BorderBottom", BorderBottom.get()},
      {"Title", Title.get()},
      {"Buttons", Buttons.get()},
      {"MenuBar", MenuBar.get()},
      {"Progress", Progress.get()},
      {"GroupBoxEdge", GroupBoxEdge.get()},
      {"GroupBox", GroupBox.get()},
      {"Toolbars", Toolbars.get()},
      {"Tabs", Tabs.get()},
      {"StatusBarEdges", StatusBarEdges.get()},
      {"ComboButton", ComboButton.get()},
      {"SunkEdge", SunkEdge.get()},
      {"ExtraImages", ExtraImages.get()},
      {"Headerbar", Headerbar.get()},
      {"MenuItem", MenuItem.get()},
      {"MenuBackground", MenuBackground.get()},
      {"Scrollbar", Scrollbar.get()},
      {"HorzScroll", HorzScroll.get()},
      {"VertScroll", VertScroll.get()},
      {"HorzScrollThumb", HorzScrollThumb.get()},
      {"VertScrollThumb", VertScrollThumb.get()},
      {"TrackbarThumbHorz", TrackbarThumbHorz.get()},
      {"TrackbarThumbVert", TrackbarThumbVert.get()},
      {"TrackbarThumbLeft", TrackbarThumbLeft.get()},
      {"TrackbarThumbRight", TrackbarThumbRight.get()},
      {"TrackbarThumbUp", TrackbarThumbUp.get()},
      {"TrackbarThumbDown", TrackbarThumbDown.get()},
      {"UpDownHorz", UpDownHorz.get()},
      {"UpDownVert", UpDownVert.get()},
  };
}

}  // namespace qm
