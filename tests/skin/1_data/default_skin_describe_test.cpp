// `skintool describe` on the stored default skin gives the geometry, frame
// layout and colours the whole program's look is built on.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

namespace {

// What `skintool ARGS` prints on the stored skin's behalf.
std::string Skintool(const std::string& args) {
  const std::string cmd = std::string("\"") + QM_SKINTOOL + "\" " + args;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
  std::string text;
  if (!pipe) return text;
  char buf[4096];
  while (size_t n = fread(buf, 1, sizeof buf, pipe.get())) text.append(buf, n);
  return text;
}

class DefaultSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string text = Skintool(std::string("describe \"") + QM_DEFAULT_SKN + "\"");
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      const size_t eq = line.find(" = ");
      if (eq != std::string::npos) Fields()[line.substr(0, eq)] = line.substr(eq + 3);
      start = end + 1;
    }
  }
  static std::map<std::string, std::string>& Fields() {
    static std::map<std::string, std::string> f;
    return f;
  }
  static std::string F(const std::string& key) {
    auto it = Fields().find(key);
    return it == Fields().end() ? "<missing " + key + ">" : it->second;
  }
  static int I(const std::string& key) { return std::stoi(F(key)); }
  static std::string Rgb(int r, int g, int b) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "0x%08X (%d %d %d)", r | g << 8 | b << 16, r, g, b);
    return buf;
  }
  // Width and height of an image as the description gives it.
  static std::pair<int, int> Size(const std::string& key) {
    const std::string s = F(key);
    const size_t x = s.find('x');
    return {std::stoi(s.substr(0, x)), std::stoi(s.substr(x + 1))};
  }
  static void Margins(const std::string& e, int l, int t, int r, int b) {
    EXPECT_EQ(I(e + ".LeftWidth"), l) << e;
    EXPECT_EQ(I(e + ".TopHeight"), t) << e;
    EXPECT_EQ(I(e + ".RightWidth"), r) << e;
    EXPECT_EQ(I(e + ".BottomHeight"), b) << e;
  }
  // The text colour an element resolves to through the colour table.
  static std::string Indexed(const std::string& e, const std::string& which) {
    return F("ColourTable[" + std::to_string(I(e + "." + which)) + "]");
  }
};

TEST_F(DefaultSkin, FrameMetrics) {
  ASSERT_FALSE(Fields().empty()) << "skintool describe printed nothing";
  EXPECT_EQ(Size("BorderTop.Bitmap").second / I("BorderTop.FrameCount"), 39);     // title height
  EXPECT_EQ(Size("BorderLeft.Bitmap").first / I("BorderLeft.FrameCount"), 18);    // side width
  EXPECT_EQ(Size("BorderRight.Bitmap").first / I("BorderRight.FrameCount"), 18);
  EXPECT_EQ(Size("BorderBottom.Bitmap").second / I("BorderBottom.FrameCount"), 15);
  Margins("BorderTop", 20, 0, 65, 0);
  Margins("BorderBottom", 4, 0, 4, 0);
  Margins("BorderLeft", 0, 40, 0, 15);
  Margins("BorderRight", 0, 40, 0, 15);
  for (const char* b : {"BorderTop", "BorderBottom", "BorderLeft", "BorderRight"}) {
    EXPECT_EQ(I(std::string(b) + ".FrameCount"), 2) << b;
    EXPECT_EQ(I(std::string(b) + ".Tile"), 0) << b;
    EXPECT_EQ(I(std::string(b) + ".Trans"), 1) << b;
  }
}

TEST_F(DefaultSkin, TitleAndMenuBar) {
  EXPECT_EQ(F("Title.Bitmap"), "0x0");
  EXPECT_EQ(I("Title.LeftWidth"), 20);    // TextShift
  EXPECT_EQ(I("Title.TopHeight"), -10);   // TextShiftVert
  EXPECT_EQ(I("Title.RightWidth"), 70);   // TextRightClip
  EXPECT_EQ(I("Title.TextAlignment"), 0);
  EXPECT_EQ(I("Title.TextBackground"), 0);
  EXPECT_EQ(I("Title.FontHeight"), 13);
  EXPECT_EQ(F("Title.ActiveTextColour"), Rgb(220, 220, 220));
  EXPECT_EQ(F("Title.InactiveTextColour"), Rgb(180, 180, 180));
  EXPECT_EQ(F("MenuBar"), "present");
  EXPECT_EQ(F("MenuBar.Bitmap"), "100x38");
  EXPECT_EQ(I("MenuBar.FrameCount"), 2);
  EXPECT_EQ(I("MenuBar.Tile"), 0);
  Margins("MenuBar", 6, 0, 6, 0);
}

TEST_F(DefaultSkin, ButtonsAndTheirTextColoursResolveToBlack) {
  EXPECT_EQ(F("Buttons.Bitmap"), "275x22");
  EXPECT_EQ(I("Buttons.FrameCount"), 5);
  Margins("Buttons", 4, 4, 4, 4);
  EXPECT_EQ(I("Buttons.Trans"), 0);
  EXPECT_EQ(I("Buttons.Tile"), 0);
  EXPECT_EQ(I("Buttons.NormalColour"), 0);
  EXPECT_EQ(I("Buttons.MouseOverColour"), 1);
  EXPECT_EQ(I("Buttons.PressedColour"), 1);
  for (const char* c : {"HasNormalColour2", "HasMouseOverColour2", "HasPressedColour2"})
    EXPECT_EQ(I(std::string("Buttons.") + c), 1) << c;
  const std::string black = Rgb(0, 0, 0);
  for (const char* c : {"NormalColour", "MouseOverColour", "PressedColour"}) {
    EXPECT_EQ(Indexed("Buttons", c), black) << c << " through the colour table";
    EXPECT_EQ(F(std::string("Buttons.") + c + "2"), black) << c << "2";
  }
  EXPECT_EQ(F("Buttons.CheckBitmap"), "56x14");
  EXPECT_EQ(F("Buttons.RadioBitmap"), "56x14");
  EXPECT_EQ(I("Buttons.CheckFrameCount"), 4);
  EXPECT_EQ(I("Buttons.RadioFrameCount"), 4);
}

TEST_F(DefaultSkin, TabsNormalTextIs220ByBothRoutes) {
  EXPECT_EQ(F("Tabs.Bitmap"), "275x22");
  EXPECT_EQ(F("Tabs.Bitmap2"), "32x32");
  EXPECT_EQ(I("Tabs.FrameCount"), 5);
  Margins("Tabs", 4, 4, 4, 4);
  EXPECT_EQ(I("Tabs.Tile"), 0);
  EXPECT_EQ(I("Tabs.NormalColour"), 3);
  EXPECT_EQ(I("Tabs.MouseOverColour"), 1);
  EXPECT_EQ(I("Tabs.PressedColour"), 0);
  EXPECT_EQ(Indexed("Tabs", "NormalColour"), Rgb(220, 220, 220));
  EXPECT_EQ(F("Tabs.NormalColour2"), Rgb(220, 220, 220));
  EXPECT_EQ(F("Tabs.MouseOverColour2"), Rgb(0, 0, 0));
  EXPECT_EQ(F("Tabs.PressedColour2"), F("ButtonTextColour"));
}

TEST_F(DefaultSkin, ControlElements) {
  struct Row {
    const char* element;
    const char* bitmap;
    int frames, l, t, r, b, tile;
  };
  const Row rows[] = {
      {"Progress", "120x18", 2, 2, 2, 2, 2, 1},       {"GroupBoxEdge", "64x32", 2, 3, 3, 3, 3, 0},
      {"GroupBox", "55x14", 1, 3, 3, 3, 2, 0},        {"Toolbars", "275x22", 5, 1, 1, 1, 1, 0},
      {"Headerbar", "275x22", 5, 1, 1, 1, 1, 0},      {"ComboButton", "72x22", 4, 1, 1, 1, 1, 0},
      {"SunkEdge", "128x32", 4, 3, 3, 3, 3, 0},       {"MenuItem", "500x17", 5, 6, 2, 1, 4, 0},
      {"MenuBackground", "50x50", 1, 18, 1, 1, 1, 1}, {"Scrollbar", "368x16", 23, 0, 0, 0, 0, 0},
      {"HorzScroll", "64x16", 4, 0, 1, 0, 1, 1},      {"VertScroll", "64x16", 4, 1, 0, 1, 0, 1},
      {"HorzScrollThumb", "48x16", 3, 5, 2, 5, 2, 1}, {"VertScrollThumb", "48x16", 3, 2, 5, 2, 5, 1},
  };
  for (const Row& row : rows) {
    const std::string e = row.element;
    ASSERT_EQ(F(e), "present") << e;
    EXPECT_EQ(F(e + ".Bitmap"), row.bitmap) << e;
    EXPECT_EQ(I(e + ".FrameCount"), row.frames) << e;
    Margins(e, row.l, row.t, row.r, row.b);
    EXPECT_EQ(I(e + ".Tile"), row.tile) << e;
  }
  EXPECT_EQ(F("Progress.Bitmap2"), "0x0");  // no chunk image
  EXPECT_EQ(F("ComboButton.Bitmap2"), "72x22");
  EXPECT_EQ(I("GroupBox.NormalColour"), 1);
  EXPECT_EQ(I("GroupBox.BackgroundLeftShift"), -5);
  EXPECT_EQ(I("GroupBox.BackgroundRightShift"), -5);
  EXPECT_EQ(I("GroupBox.BackgroundAlignment"), 0);
  EXPECT_EQ(I("MenuItem.Trans"), 1);
  EXPECT_EQ(I("MenuItem.NormalColour"), 1);
  EXPECT_EQ(I("MenuItem.PressedColour"), 1);
  for (const char* absent : {"StatusBarEdges", "ExtraImages", "TrackbarThumbHorz", "TrackbarThumbVert",
                             "TrackbarThumbLeft", "TrackbarThumbRight", "TrackbarThumbUp", "TrackbarThumbDown",
                             "UpDownHorz", "UpDownVert"})
    EXPECT_EQ(F(absent), "absent") << absent;
}

TEST_F(DefaultSkin, CaptionButtonsInOrder) {
  ASSERT_EQ(I("SysButtons.Count"), 8);
  struct Row {
    const char* name;
    int action, align, x, y, visibility;
    const char* bitmap;
    int frames;
  };
  const Row rows[] = {
      {"BUTTON0", 0, 1, 25, 6, 0, "114x17", 6}, {"BUTTON1", 1, 1, 49, 6, 1, "114x17", 6},
      {"BUTTON2", 1, 1, 49, 6, 2, "114x17", 6}, {"BUTTON3", 2, 1, 73, 6, 0, "114x17", 6},
      {"BUTTON6", 3, 0, 28, 6, 0, "0x0", 6},  // the icon button: emptied
  };
  for (int i = 0; i < 5; ++i) {
    const std::string p = "SysButtons[" + std::to_string(i) + "]";
    EXPECT_EQ(F(p + ".Name"), rows[i].name) << p;
    EXPECT_EQ(I(p + ".Action"), rows[i].action) << p;
    EXPECT_EQ(I(p + ".Align"), rows[i].align) << p;
    EXPECT_EQ(I(p + ".XCoord"), rows[i].x) << p;
    EXPECT_EQ(I(p + ".YCoord"), rows[i].y) << p;
    EXPECT_EQ(I(p + ".Visibility"), rows[i].visibility) << p;
    EXPECT_EQ(I(p + ".Visibility1"), 0) << p;
    EXPECT_EQ(I(p + ".CombineOp"), -1) << p;
    EXPECT_EQ(F(p + ".Bitmap"), rows[i].bitmap) << p;
    EXPECT_EQ(I(p + ".FrameCount"), rows[i].frames) << p;
  }
  // The icon button is empty because the parser dropped its image, not for
  // want of one: its section names a caption-button image of the package.
  const std::string ini = QM_DEFAULT_SKN + std::string(".ini");
  ASSERT_EQ(Skintool(std::string("extract \"") + QM_DEFAULT_SKN + "\" skin.ini \"" + ini + "\""), "");
  std::ifstream in(ini, std::ios::binary);
  const std::string description{std::istreambuf_iterator<char>(in), {}};
  std::remove(ini.c_str());
  const size_t section = description.find("[Button6]");
  ASSERT_NE(section, std::string::npos);
  const std::string body = description.substr(section, description.find("\r\n[", section) - section);
  EXPECT_NE(body.find("\r\nButtonImage=launch.bmp\r\n"), std::string::npos) << body;
  EXPECT_EQ(body.find("\r\nframe="), std::string::npos) << body;
  EXPECT_NE(Skintool(std::string("list \"") + QM_DEFAULT_SKN + "\"").find("\nlaunch.bmp = 5902\n"), std::string::npos);

  const int mdiX[] = {57, 38, 19};
  for (int i = 0; i < 3; ++i) {
    const std::string p = "SysButtons[" + std::to_string(5 + i) + "]";
    EXPECT_EQ(I(p + ".Action"), 7 + i) << p;
    EXPECT_EQ(I(p + ".Align"), 100) << p;
    EXPECT_EQ(I(p + ".Visibility"), 100) << p;
    EXPECT_EQ(I(p + ".Visibility1"), 100) << p;
    EXPECT_EQ(I(p + ".XCoord"), mdiX[i]) << p;
    EXPECT_EQ(F(p + ".Bitmap"), "60x14") << p;
    EXPECT_EQ(I(p + ".FrameCount"), 4) << p;
  }
}

TEST_F(DefaultSkin, WindowColoursAndColourTable) {
  const std::map<std::string, std::string> colours = {
      {"WindowTextColour", Rgb(51, 51, 51)},        {"ButtonFaceColour", Rgb(180, 180, 180)},
      {"ScrollbarColour", Rgb(102, 102, 102)},      {"HilightTextColour", Rgb(0, 0, 0)},
      {"HilightColour", Rgb(112, 188, 31)},         {"MenubarColour", Rgb(180, 180, 180)},
      {"MenuColour", Rgb(180, 180, 180)},           {"MenuTextColour", Rgb(0, 0, 0)},
      {"ButtonTextColour", Rgb(51, 51, 51)},        {"ButtonHilightColour", Rgb(210, 210, 210)},
      {"ButtonLightColour", Rgb(210, 210, 210)},    {"ButtonShadowColour", Rgb(90, 90, 90)},
      {"ButtonDkShadowColour", Rgb(90, 90, 90)},    {"MenuBarTextColour", Rgb(0, 0, 0)},
      {"TitleTextActiveColour", Rgb(220, 220, 220)}, {"TitleTextNoActiveColour", Rgb(180, 180, 180)},
  };
  for (const auto& [key, value] : colours) EXPECT_EQ(F(key), value) << key;
  ASSERT_EQ(I("ColourTable.Count"), 5);
  EXPECT_EQ(F("ColourTable[0]"), Rgb(0, 0, 0));
  EXPECT_EQ(F("ColourTable[1]"), Rgb(0, 0, 0));
  EXPECT_EQ(F("ColourTable[2]"), Rgb(70, 70, 70));
  EXPECT_EQ(F("ColourTable[3]"), Rgb(220, 220, 220));
  EXPECT_EQ(F("ColourTable[4]"), Rgb(220, 220, 220));
}

}  // namespace
