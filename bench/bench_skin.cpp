#include "bench_skin.h"

#include <fstream>
#include <iterator>
#include <string>

#include "skin/1_data/bmp_file.h"
#include "skin/1_data/skin_reader.h"

namespace qm::bench {

using Bytes = std::vector<uint8_t>;

namespace {
std::vector<TSkinMember> DefaultSkinMembers() {
  const std::filesystem::path dir = QM_DEFAULT_SKIN_DIR;
  std::vector<TSkinMember> members;
  if (!std::filesystem::exists(dir / "members.txt")) return members;
  const Bytes list = ReadFile(dir / "members.txt");
  for (const std::string& name : SplitSkinLines(std::string(list.begin(), list.end())))
    if (!name.empty()) members.push_back({name, ReadFile(dir / name)});
  return members;
}

// Shaded art with a frame, compressing about as well as drawn skin images.
TSkinImage Art(int w, int h, int seed) {
  TSkinImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      const int shade = 90 + (y * 120) / h + ((x * 7 + seed) % 5);
      image.SetPixel(x, y, edge ? 0x333333u : static_cast<uint32_t>(shade * 0x010101));
    }
  return image;
}

std::vector<TSkinMember> SyntheticSkinMembers() {
  const struct {
    const char* Name;
    int W, H;
  } images[] = {{"top.bmp", 209, 78},       {"bottom.bmp", 332, 30},   {"left.bmp", 36, 294},
                {"right.bmp", 36, 294},     {"menubar.bmp", 100, 38},  {"button.bmp", 275, 22},
                {"checkbox.bmp", 56, 14},   {"radio.bmp", 56, 14},     {"progress.bmp", 120, 18},
                {"groupboxedge.bmp", 64, 32}, {"groupbox.bmp", 55, 14}, {"tab.bmp", 275, 22},
                {"tabborder.bmp", 32, 32},  {"header.bmp", 275, 22},   {"combobutton.bmp", 72, 22},
                {"sunkedge.bmp", 128, 32},  {"menuitem.bmp", 500, 17}, {"menubackground.bmp", 50, 50},
                {"scrollbar.bmp", 368, 16}, {"hscroll.bmp", 64, 16},   {"vscroll.bmp", 64, 16},
                {"hthumb.bmp", 48, 16},     {"vthumb.bmp", 48, 16},    {"mdi.bmp", 180, 14},
                {"close.bmp", 114, 17},     {"maximize.bmp", 114, 17}, {"restore.bmp", 114, 17},
                {"minimize.bmp", 114, 17},  {"rollup.bmp", 114, 17},   {"rolldown.bmp", 114, 17},
                {"launch.bmp", 114, 17},    {"link.bmp", 150, 20},     {"dialog.bmp", 18, 18}};
  const std::string ini =
      "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nBottom=bottom.bmp\r\nLeft=left.bmp\r\nRight=right.bmp\r\n"
      "menuBar=menubar.bmp\r\n[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=checkbox.bmp\r\nRadioButton=radio.bmp\r\n"
      "[Progress]\r\nBitmap=progress.bmp\r\n[GroupBoxEdge]\r\nImage=groupboxedge.bmp\r\n[GroupBox]\r\nImage=groupbox.bmp\r\n"
      "[Tabs]\r\nImage=tab.bmp\r\nBorder=tabborder.bmp\r\n[Toolbars]\r\nImage=header.bmp\r\n[Headerbar]\r\nImage=header.bmp\r\n"
      "[ComboButton]\r\nImage=combobutton.bmp\r\n[SunkEdge]\r\nImage=sunkedge.bmp\r\n[MenuItem]\r\nImage=menuitem.bmp\r\n"
      "[MenuBackground]\r\nImage=menubackground.bmp\r\n[Scrollbar]\r\nImage=scrollbar.bmp\r\n[HorzScroll]\r\nImage=hscroll.bmp\r\n"
      "[VertScroll]\r\nImage=vscroll.bmp\r\n[HorzScrollThumb]\r\nImage=hthumb.bmp\r\n[VertScrollThumb]\r\nImage=vthumb.bmp\r\n"
      "[Button0]\r\nAction=0\r\nButtonImage=close.bmp\r\n[Button1]\r\nAction=1\r\nButtonImage=restore.bmp\r\n"
      "[Button2]\r\nAction=1\r\nButtonImage=maximize.bmp\r\n[Button3]\r\nAction=2\r\nButtonImage=minimize.bmp\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n[Colours]\r\nButtonFace=180 180 180\r\n[Colour0]\r\ncolor=0 0 0\r\n";
  std::vector<TSkinMember> members{{"skin.ini", Bytes(ini.begin(), ini.end())}};
  int seed = 0;
  for (const auto& i : images) members.push_back({i.Name, SaveBmp(Art(i.W, i.H, seed++))});
  return members;
}

}  // namespace

Bytes ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<TSkinMember> BenchSkinMembers() {
  std::vector<TSkinMember> members = DefaultSkinMembers();
  if (members.empty()) members = SyntheticSkinMembers();
  return members;
}

}  // namespace bench
