#include "skin_description.h"

#include <sstream>
#include <stdexcept>

namespace skingen {

namespace {
// Written with LF and turned into CR LF once, so the text below stays readable.
constexpr const char* kDescription = R"([TitlebarSkin]
SkinName=QiMing Graphite
Author=QiMing
Description=Graphite frame, grey faces, green highlight

[Personality]
Top=top.bmp
TopTopHeight=20
TopBotHeight=65
TopFrame=2
TopStretch=0
Bottom=bottom.bmp
BottomTopHeight=4
BottomBotHeight=4
BottomFrame=2
BottomStretch=0
Left=left.bmp
LeftTopHeight=40
LeftBotHeight=15
LeftFrame=2
LeftStretch=0
Right=right.bmp
RightTopHeight=40
RightBotHeight=15
RightFrame=2
RightStretch=0
TextShift=20
TextShiftVert=-10
TextRightClip=70
TextAlignment=0
Textbackground=0
ActiveTextR=220
ActiveTextG=220
ActiveTextB=220
InActiveTextR=180
InActiveTextG=180
InActiveTextB=180
menuBar=menubar.bmp
TileMenu=0
TileLeftMenu=6
TileRightMenu=6

[Fonts]
FontHeight=13

[Colours]
WindowText=51 51 51
ButtonFace=180 180 180
Scrollbar=102 102 102
HilightText=0 0 0
Hilight=112 188 31
Menubar=180 180 180
Menu=180 180 180
MenuText=0 0 0
ButtonText=51 51 51
ButtonHilight=210 210 210
Buttonlight=210 210 210
ButtonShadow=90 90 90
ButtonDkShadow=90 90 90
MenuBarText=0 0 0
TitleTextActive=220 220 220
TitleTextNoActive=180 180 180

[Colour0]
color=0 0 0

[Colour1]
color=0 0 0

[Colour2]
color=70 70 70

[Colour3]
color=220 220 220

[Colour4]
color=220 220 220

[Button0]
; close
Action=0
Align=1
Xcoord=25
Ycoord=6
Visibility=0
ButtonImage=close.bmp

[Button1]
; restore, shown while the window is maximised
Action=1
Align=1
Xcoord=49
Ycoord=6
Visibility=1
ButtonImage=restore.bmp

[Button2]
; maximise, shown while the window is not maximised
Action=1
Align=1
Xcoord=49
Ycoord=6
Visibility=2
ButtonImage=maximize.bmp

[Button3]
; minimise
Action=2
Align=1
Xcoord=73
Ycoord=6
Visibility=0
ButtonImage=minimize.bmp

[Button4]
; roll-up, kept in the skin but hidden
Action=-1
Align=1
Xcoord=97
Ycoord=6
Visibility=10
ButtonImage=rollup.bmp

[Button6]
; the window icon takes this place: an icon button without a frame key
; loses its image when the skin is read
Action=3
Align=0
Xcoord=28
Ycoord=6
Visibility=0
ButtonImage=launch.bmp

[Buttons]
Bitmap=button.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=0
Tile=0
CheckButton=checkbox.bmp
RadioButton=radio.bmp
NormalColour=0
MouseOverColour=1
PressedColour=1
NormalColour2=0 0 0
MouseOverColour2=0 0 0
PressedColour2=0 0 0

[Progress]
Bitmap=progress.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
Tile=1

[GroupBoxEdge]
Image=groupboxedge.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Tile=0

[GroupBox]
Image=groupbox.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=2
Tile=0
NormalColour=1
BackgroundLeftShift=-5
BackgroundRightShift=-5
BackgroundAlignment=0

[Toolbars]
Image=header.bmp
LeftWidth=1
RightWidth=1
TopHeight=1
BottomHeight=1
Tile=0

[Tabs]
Image=tab.bmp
Border=tabborder.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Tile=0
NormalColour=3
MouseOverColour=1
PressedColour=0
NormalColour2=220 220 220
MouseOverColour2=0 0 0

[ComboButton]
Image=combobutton.bmp
LeftWidth=1
RightWidth=1
TopHeight=1
BottomHeight=1

[SunkEdge]
Image=sunkedge.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3

[Headerbar]
Image=header.bmp
LeftWidth=1
RightWidth=1
TopHeight=1
BottomHeight=1
Tile=0

[MenuItem]
Image=menuitem.bmp
LeftWidth=6
RightWidth=1
TopHeight=2
BottomHeight=4
Trans=1
Tile=0
NormalColour=1
PressedColour=1

[MenuBackground]
Image=menubackground.bmp
LeftWidth=18
RightWidth=1
TopHeight=1
BottomHeight=1
Tile=1

[Scrollbar]
Image=scrollbar.bmp
LeftWidth=0
RightWidth=0
TopHeight=0
BottomHeight=0

[HorzScroll]
Image=hscroll.bmp
TopHeight=1
BottomHeight=1
Tile=1

[VertScroll]
Image=vscroll.bmp
LeftWidth=1
RightWidth=1
Tile=1

[HorzScrollThumb]
Image=hthumb.bmp
LeftWidth=5
RightWidth=5
TopHeight=2
BottomHeight=2
Tile=1

[VertScrollThumb]
Image=vthumb.bmp
LeftWidth=2
RightWidth=2
TopHeight=5
BottomHeight=5
Tile=1

[MDICONTROLS]
Image=mdi.bmp

[Extras]
; Art shipped with the skin for hosts that place more caption buttons.
RollDown=rolldown.bmp
Link=link.bmp
Dialog=dialog.bmp
)";

// The second skin's frame: thin borders, a lower title and its own colours.
struct Override {
  const char* section;
  const char* key;
  const char* value;
};
constexpr Override kSteelOverrides[] = {
    {"TitlebarSkin", "SkinName", "QiMing Steel"},
    {"TitlebarSkin", "Description", "Thin steel-blue frame, blue-grey faces, amber highlight"},
    {"Personality", "LeftTopHeight", "29"},
    {"Personality", "LeftBotHeight", "6"},
    {"Personality", "RightTopHeight", "29"},
    {"Personality", "RightBotHeight", "6"},
    {"Personality", "TextShift", "18"},
    {"Personality", "TextShiftVert", "-4"},
    {"Personality", "TextRightClip", "72"},
    {"Personality", "ActiveTextR", "255"},
    {"Personality", "ActiveTextG", "255"},
    {"Personality", "ActiveTextB", "255"},
    {"Personality", "InActiveTextR", "60"},
    {"Personality", "InActiveTextG", "70"},
    {"Personality", "InActiveTextB", "90"},
    {"Colours", "ButtonFace", "206 214 226"},
    {"Colours", "Menubar", "206 214 226"},
    {"Colours", "Menu", "206 214 226"},
    {"Colours", "Hilight", "240 160 48"},
    {"Colours", "ButtonHilight", "232 236 244"},
    {"Colours", "Buttonlight", "232 236 244"},
    {"Colours", "ButtonShadow", "110 122 146"},
    {"Colours", "ButtonDkShadow", "110 122 146"},
    {"Colours", "TitleTextActive", "255 255 255"},
    {"Colours", "TitleTextNoActive", "60 70 90"},
    {"Button0", "Xcoord", "26"},
    {"Button0", "Ycoord", "4"},
    {"Button1", "Xcoord", "48"},
    {"Button1", "Ycoord", "4"},
    {"Button2", "Xcoord", "48"},
    {"Button2", "Ycoord", "4"},
    {"Button3", "Xcoord", "70"},
    {"Button3", "Ycoord", "4"},
    {"Button4", "Xcoord", "92"},
    {"Button4", "Ycoord", "4"},
    {"Button6", "Xcoord", "10"},
};

// Replaces the value of a key that the text already has in that section.
void setValue(std::string& text, const Override& o) {
  const size_t section = text.find(std::string("[") + o.section + "]\n");
  const std::string key = std::string("\n") + o.key + "=";
  const size_t at = section == std::string::npos ? section : text.find(key, section);
  if (at == std::string::npos || text.find("\n[", section + 1) < at)
    throw std::logic_error(std::string("no ") + o.key + " in [" + o.section + "]");
  const size_t begin = at + key.size();
  text.replace(begin, text.find('\n', begin) - begin, o.value);
}

}  // namespace

std::string skinDescription(SkinVariant variant) {
  std::string text = kDescription;
  if (variant == SkinVariant::Steel)
    for (const Override& o : kSteelOverrides) setValue(text, o);
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace skingen
