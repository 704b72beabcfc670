// The committed default skin is what the generator draws, and its images have
// the sizes and frame layouts the skin engine cuts them by.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> readAll(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

std::vector<std::string> lines(const fs::path& p) {
  std::ifstream f(p);
  std::vector<std::string> out;
  for (std::string s; std::getline(f, s);) out.push_back(s);
  return out;
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

struct Pixel {
  int r, g, b;
  bool isKey() const { return r == 255 && g == 0 && b == 255; }
};

// Just enough of a BMP reader for 24-bit bottom-up files.
struct Bmp {
  int width = 0, height = 0, bits = 0;
  std::vector<std::uint8_t> bytes;
  explicit Bmp(const fs::path& p) : bytes(readAll(p)) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return;
    width = int(le32(bytes, 18));
    height = int(le32(bytes, 22));
    bits = bytes[28] | bytes[29] << 8;
  }
  Pixel at(int x, int y) const {
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    const std::size_t o = le32(bytes, 10) + (std::size_t(height - 1 - y)) * stride + std::size_t(x) * 3;
    return {bytes[o + 2], bytes[o + 1], bytes[o]};
  }
};

const fs::path kSkin = QM_SKIN_DIR;

class Regenerated : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = fs::temp_directory_path() / ("skingen-test-" + std::to_string(::getpid()));
    fs::remove_all(out_);
    const std::string cmd = std::string("\"") + QM_SKINGEN + "\" \"" + (out_ / "default").string() + "\" \"" +
                            (out_ / "lacquermenu.bmp").string() + "\"";
    status_ = std::system(cmd.c_str());
    const std::string steel = std::string("\"") + QM_SKINGEN + "\" --steel \"" + (out_ / "second").string() + "\"";
    steelStatus_ = std::system(steel.c_str());
    const std::string icons = std::string("\"") + QM_SKINGEN + "\" --icons \"" + (out_ / "wizard.ico").string() +
                              "\" \"" + (out_ / "skinview.ico").string() + "\"";
    iconStatus_ = std::system(icons.c_str());
  }
  static void TearDownTestSuite() { fs::remove_all(out_); }
  static fs::path out_;
  static int status_, steelStatus_, iconStatus_;
};
fs::path Regenerated::out_;
int Regenerated::status_ = -1;
int Regenerated::steelStatus_ = -1;
int Regenerated::iconStatus_ = -1;

TEST_F(Regenerated, WritesExactlyTheCommittedFiles) {
  ASSERT_EQ(status_, 0);
  std::set<std::string> committed, fresh;
  for (const auto& e : fs::directory_iterator(kSkin)) committed.insert(e.path().filename().string());
  for (const auto& e : fs::directory_iterator(out_ / "default")) fresh.insert(e.path().filename().string());
  EXPECT_EQ(committed, fresh);
  for (const auto& name : fresh)
    EXPECT_TRUE(readAll(kSkin / name) == readAll(out_ / "default" / name)) << name << " differs from the committed file";
  EXPECT_TRUE(readAll(QM_MENU_GLYPHS) == readAll(out_ / "lacquermenu.bmp"));
  ASSERT_EQ(iconStatus_, 0);
  EXPECT_TRUE(readAll(QM_WIZARD_ICON) == readAll(out_ / "wizard.ico"));
  EXPECT_TRUE(readAll(QM_SKINVIEW_ICON) == readAll(out_ / "skinview.ico"));
}

TEST_F(Regenerated, SecondSkinHasTheSameMembersAndAThinFrameOfItsOwn) {
  ASSERT_EQ(steelStatus_, 0);
  const fs::path second = out_ / "second";
  EXPECT_EQ(lines(second / "members.txt"), lines(kSkin / "members.txt"));
  // Frame sizes 6 / 28 / 6 / 6, two frames each; the caption buttons sit on
  // the new title, and the controls' art is shared.
  const std::map<std::string, std::pair<int, int>> frame = {
      {"top.bmp", {209, 56}}, {"bottom.bmp", {332, 12}}, {"left.bmp", {12, 294}}, {"right.bmp", {12, 294}}};
  const std::set<std::string> captionButtons = {"close.bmp",  "restore.bmp",  "maximize.bmp", "minimize.bmp",
                                                "rollup.bmp", "rolldown.bmp", "launch.bmp",   "link.bmp"};
  for (const auto& name : lines(kSkin / "members.txt")) {
    if (name == "skin.ini" || captionButtons.count(name)) continue;
    const Bmp bmp(second / name);
    if (frame.count(name)) {
      EXPECT_EQ(bmp.width, frame.at(name).first) << name;
      EXPECT_EQ(bmp.height, frame.at(name).second) << name;
    } else {
      EXPECT_TRUE(bmp.bytes == readAll(kSkin / name)) << name;
    }
  }
  // The outer top corners are cut, within the thin borders; the title is opaque.
  const Bmp left(second / "left.bmp"), right(second / "right.bmp"), top(second / "top.bmp");
  for (int frameStart : {0, 6}) {
    EXPECT_TRUE(left.at(frameStart, 0).isKey());
    EXPECT_FALSE(left.at(frameStart + 5, 0).isKey());
    EXPECT_TRUE(right.at(frameStart + 5, 0).isKey());
    EXPECT_FALSE(right.at(frameStart, 0).isKey());
  }
  for (int y = 0; y < 56; ++y) ASSERT_FALSE(top.at(100, y).isKey()) << y;
}

TEST(DefaultSkinMembers, ThirtyFiveLowerCaseNamesWithOneImageListedTwice) {
  const auto names = lines(kSkin / "members.txt");
  ASSERT_EQ(names.size(), 35u);
  std::map<std::string, int> count;
  int ini = 0;
  for (const auto& n : names) {
    ++count[n];
    for (char c : n) EXPECT_FALSE(c >= 'A' && c <= 'Z') << n;
    EXPECT_TRUE(fs::exists(kSkin / n)) << n;
    if (n.find(".ini") != std::string::npos) ++ini;
  }
  EXPECT_EQ(ini, 1);
  int twice = 0;
  for (const auto& [n, c] : count) {
    EXPECT_LE(c, 2) << n;
    if (c == 2) {
      ++twice;
      EXPECT_EQ(n.substr(n.size() - 4), ".bmp");
    }
  }
  EXPECT_EQ(twice, 1);
  EXPECT_EQ(count.size(), 34u);
}

TEST(DefaultSkinMembers, ImagesHaveTheSizesTheEngineCutsThemBy) {
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"top.bmp", {209, 78}},         {"bottom.bmp", {332, 30}},      {"left.bmp", {36, 294}},
      {"right.bmp", {36, 294}},       {"menubar.bmp", {100, 38}},     {"button.bmp", {275, 22}},
      {"checkbox.bmp", {56, 14}},     {"radio.bmp", {56, 14}},        {"progress.bmp", {120, 18}},
      {"groupboxedge.bmp", {64, 32}}, {"groupbox.bmp", {55, 14}},     {"tab.bmp", {275, 22}},
      {"tabborder.bmp", {32, 32}},    {"header.bmp", {275, 22}},      {"combobutton.bmp", {72, 22}},
      {"sunkedge.bmp", {128, 32}},    {"menuitem.bmp", {500, 17}},    {"menubackground.bmp", {50, 50}},
      {"scrollbar.bmp", {368, 16}},   {"hscroll.bmp", {64, 16}},      {"vscroll.bmp", {64, 16}},
      {"hthumb.bmp", {48, 16}},       {"vthumb.bmp", {48, 16}},       {"mdi.bmp", {180, 14}},
      {"close.bmp", {114, 17}},       {"maximize.bmp", {114, 17}},    {"restore.bmp", {114, 17}},
      {"minimize.bmp", {114, 17}},    {"rollup.bmp", {114, 17}},      {"rolldown.bmp", {114, 17}},
      {"launch.bmp", {114, 17}},      {"link.bmp", {150, 20}},        {"dialog.bmp", {18, 18}},
  };
  int images = 0;
  for (const auto& e : fs::directory_iterator(kSkin)) {
    if (e.path().extension() != ".bmp") continue;
    ++images;
    const auto name = e.path().filename().string();
    const Bmp bmp(e.path());
    ASSERT_TRUE(sizes.count(name)) << name << " has no role";
    EXPECT_EQ(bmp.bits, 24) << name;
    EXPECT_EQ(bmp.width, sizes.at(name).first) << name;
    EXPECT_EQ(bmp.height, sizes.at(name).second) << name;
  }
  EXPECT_EQ(images, 33);
}

TEST(DefaultSkinArt, MdiButtonsLeaveTheLastFourColumnsOfEachGroupTransparent) {
  const Bmp mdi(kSkin / "mdi.bmp");
  for (int group = 0; group < 3; ++group)
    for (int x = group * 60 + 56; x < group * 60 + 60; ++x)
      for (int y = 0; y < 14; ++y) EXPECT_TRUE(mdi.at(x, y).isKey()) << x << "," << y;
  // Each frame still shows a button.
  for (int f = 0; f < 12; ++f) EXPECT_FALSE(mdi.at(f * 15 + 5, 7).isKey()) << "frame " << f + 1;
}

TEST(DefaultSkinArt, TopCornersAreShapedWithTheKeyColourAndTheRestIsOpaque) {
  // The window region is cut from the key colour in the side borders: the
  // outer top corner must be keyed, the inner side and the client edge not.
  for (const char* name : {"left.bmp", "right.bmp"}) {
    const Bmp side(kSkin / name);
    const bool right = std::string(name) == "right.bmp";
    for (int frame = 0; frame < 2; ++frame) {
      const int outer = right ? frame * 18 + 17 : frame * 18, inner = right ? frame * 18 : frame * 18 + 17;
      EXPECT_TRUE(side.at(outer, 0).isKey()) << name << " frame " << frame + 1;
      EXPECT_TRUE(side.at(outer, 1).isKey()) << name;
      EXPECT_FALSE(side.at(inner, 0).isKey()) << name;
      for (int y = 10; y < 290; ++y) EXPECT_FALSE(side.at(outer, y).isKey()) << name << " row " << y;
    }
  }
  // The title strip itself is fully opaque, so dragging by it always works.
  const Bmp top(kSkin / "top.bmp");
  for (int y = 0; y < 78; ++y)
    for (int x = 0; x < 209; ++x) ASSERT_FALSE(top.at(x, y).isKey()) << x << "," << y;
}

TEST(DefaultSkinArt, CaptionButtonFramesDifferFromEachOther) {
  // Six frames of 19 pixels; the states the engine shows (normal, pressed,
  // hot, inactive) must be told apart.
  for (const char* name : {"close.bmp", "maximize.bmp", "restore.bmp", "minimize.bmp"}) {
    const Bmp b(kSkin / name);
    for (int f = 0; f < 4; ++f)
      for (int g = f + 1; g < 4; ++g) {
        bool differs = false;
        for (int y = 0; y < 17 && !differs; ++y)
          for (int x = 0; x < 19 && !differs; ++x) {
            const Pixel p = b.at(f * 19 + x, y), q = b.at(g * 19 + x, y);
            differs = p.r != q.r || p.g != q.g || p.b != q.b;
          }
        EXPECT_TRUE(differs) << name << " frames " << f + 1 << " and " << g + 1;
      }
  }
}

}  // namespace

TEST(DefaultSkinArt, TheRightBorderIsTheLeftOneMirroredWithNoGripInItsCorner) {
  // The borders are drawn for every window, resizable or not: a size grip
  // in them would show on windows that cannot be sized.
  const Bmp left(kSkin / "left.bmp"), right(kSkin / "right.bmp");
  for (int frame = 0; frame < 2; ++frame)
    for (int y = 0; y < 294; ++y)
      for (int x = 0; x < 18; ++x) {
        const Pixel l = left.at(frame * 18 + x, y), r = right.at(frame * 18 + 17 - x, y);
        ASSERT_TRUE(l.r == r.r && l.g == r.g && l.b == r.b) << "frame " << frame + 1 << " at " << x << "," << y;
      }
}
