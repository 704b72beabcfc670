// The text form of a parsed skin that `skintool describe` prints and that
// tests of stored skins compare against. Keep it stable: one line per
// field, fixed order, fixed number formats.

#include <cstdio>
#include <sstream>

#include "skin/1_data/skin_description.h"

namespace qm {

namespace {

std::string Colour(TSkinColour c) {
  char buf[48];
  if (IsSystemColour(c)) {
    std::snprintf(buf, sizeof buf, "0x%08X (system %u)", c, c & 0xFFFFFFu);
  } else if (c == TitleColourNotGiven) {
    std::snprintf(buf, sizeof buf, "0x%08X (not given)", c);
  } else {
    std::snprintf(buf, sizeof buf, "0x%08X (%u %u %u)", c, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  }
  return buf;
}

std::string Size(const TSkinImage& image) {
  return std::to_string(image.Width()) + "x" + std::to_string(image.Height());
}

class TWriter {
 public:
  void Line(const std::string& key, const std::string& value) { FOut << key << " = " << value << '\n'; }
  void Line(const std::string& key, int64_t value) { Line(key, std::to_string(value)); }
  std::string Text() const { return FOut.str(); }

  void Element(const std::string& p, const TDataSkinObject& e) {
    Line(p + ".Name", e.Name);
    Line(p + ".LeftWidth", e.LeftWidth);
    Line(p + ".TopHeight", e.TopHeight);
    Line(p + ".RightWidth", e.RightWidth);
    Line(p + ".BottomHeight", e.BottomHeight);
    Line(p + ".Bitmap", Size(e.Bitmap));
    Line(p + ".Trans", e.Trans);
    Line(p + ".Tile", e.Tile);
    Line(p + ".FrameCount", e.FrameCount);
    Line(p + ".Style", e.Style);
    Line(p + ".NormalColour", e.NormalColour);
    Line(p + ".MouseOverColour", e.MouseOverColour);
    Line(p + ".PressedColour", e.PressedColour);
    Line(p + ".NormalColour2", Colour(e.NormalColour2));
    Line(p + ".MouseOverColour2", Colour(e.MouseOverColour2));
    Line(p + ".PressedColour2", Colour(e.PressedColour2));
    if (auto* b = dynamic_cast<const TDataSkinBorder*>(&e)) Line(p + ".Bitmap2", Size(b->Bitmap2));
    if (auto* t = dynamic_cast<const TDataSkinTitle*>(&e)) {
      Line(p + ".TextAlignment", t->TextAlignment);
      Line(p + ".TextBackground", t->TextBackground);
      Line(p + ".FontHeight", t->FontHeight);
      Line(p + ".TextBackLeft", t->TextBackLeft);
      Line(p + ".TextBackRight", t->TextBackRight);
      Line(p + ".ActiveTextColour", Colour(t->ActiveTextColour));
      Line(p + ".InactiveTextColour", Colour(t->InactiveTextColour));
    }
    if (auto* b = dynamic_cast<const TDataSkinButton*>(&e)) {
      Line(p + ".CheckBitmap", Size(b->CheckBitmap));
      Line(p + ".RadioBitmap", Size(b->RadioBitmap));
      Line(p + ".RadioFrameCount", b->RadioFrameCount);
      Line(p + ".CheckFrameCount", b->CheckFrameCount);
      Line(p + ".HasNormalColour2", b->HasNormalColour2);
      Line(p + ".HasMouseOverColour2", b->HasMouseOverColour2);
      Line(p + ".HasPressedColour2", b->HasPressedColour2);
    }
    if (auto* s = dynamic_cast<const TDataSkinSysButton*>(&e)) {
      Line(p + ".Action", s->Action);
      Line(p + ".Align", s->Align);
      Line(p + ".XCoord", s->XCoord);
      Line(p + ".YCoord", s->YCoord);
      Line(p + ".CombineOp", s->CombineOp);
      Line(p + ".Visibility", s->Visibility);
      Line(p + ".Visibility1", s->Visibility1);
    }
    if (auto* g = dynamic_cast<const TDataSkinBoxLabel*>(&e)) {
      Line(p + ".BackgroundLeftShift", g->BackgroundLeftShift);
      Line(p + ".BackgroundRightShift", g->BackgroundRightShift);
      Line(p + ".BackgroundAlignment", g->BackgroundAlignment);
    }
  }

 private:
  std::ostringstream FOut;
};

}  // namespace

std::string DescribeSkin(const TSkinDescription& Skin) {
  TWriter w;
  w.Line("SkinName", Skin.SkinName);
  for (const auto& [member, object] : Skin.Elements()) {
    w.Line(std::string(member), object ? "present" : "absent");
    if (object) w.Element(member, *object);
  }
  w.Line("SysButtons.Count", static_cast<int64_t>(Skin.SysButtons.size()));
  for (size_t i = 0; i < Skin.SysButtons.size(); ++i)
    w.Element("SysButtons[" + std::to_string(i) + "]", *Skin.SysButtons[i]);

  const std::pair<const char*, TSkinColour> colours[] = {
      {"WindowTextColour", Skin.WindowTextColour},
      {"ButtonFaceColour", Skin.ButtonFaceColour},
      {"ScrollbarColour", Skin.ScrollbarColour},
      {"HilightTextColour", Skin.HilightTextColour},
      {"HilightColour", Skin.HilightColour},
      {"MenubarColour", Skin.MenubarColour},
      {"MenuColour", Skin.MenuColour},
      {"MenuTextColour", Skin.MenuTextColour},
      {"ButtonTextColour", Skin.ButtonTextColour},
      {"ButtonHilightColour", Skin.ButtonHilightColour},
      {"ButtonLightColour", Skin.ButtonLightColour},
      {"ButtonShadowColour", Skin.ButtonShadowColour},
      {"ButtonDkShadowColour", Skin.ButtonDkShadowColour},
      {"MenuBarTextColour", Skin.MenuBarTextColour},
      {"TitleTextActiveColour", Skin.TitleTextActiveColour},
      {"TitleTextNoActiveColour", Skin.TitleTextNoActiveColour},
  };
  for (const auto& [key, value] : colours) w.Line(key, Colour(value));
  w.Line("ColourTable.Count", static_cast<int64_t>(Skin.ColourTable.size()));
  for (size_t i = 0; i < Skin.ColourTable.size(); ++i)
    w.Line("ColourTable[" + std::to_string(i) + "]", Colour(Skin.ColourTable[i]));
  return w.Text();
}

}  // namespace qm
