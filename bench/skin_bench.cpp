// Skin loading costs: LZH decode of a skin-sized container, encode, and the
// whole open-and-parse of a packed skin. The skin is the stored default skin
// packed from its members when they are present, else a synthetic one of
// the same shape (34 images of the same sizes and a description).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "lzh_encoder.h"
#include "skin_description.h"
#include "skin_package_writer.h"
#include "skin_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<qm::TSkinMember> DefaultSkinMembers() {
  const std::filesystem::path dir = QM_DEFAULT_SKIN_DIR;
  std::vector<qm::TSkinMember> members;
  if (!std::filesystem::exists(dir / "members.txt")) return members;
  const Bytes list = ReadFile(dir / "members.txt");
  for (const std::string& name : qm::SplitSkinLines(std::string(list.begin(), list.end())))
    if (!name.empty()) members.push_back({name, ReadFile(dir / name)});
  return members;
}

// Shaded art with a frame, compressing about as well as drawn skin images.
qm::TSkinImage Art(int w, int h, int seed) {
  qm::TSkinImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      const int shade = 90 + (y * 120) / h + ((x * 7 + seed) % 5);
      image.SetPixel(x, y, edge ? 0x333333u : static_cast<uint32_t>(shade * 0x010101));
    }
  return image;
}

std::vector<qm::TSkinMember> SyntheticSkinMembers() {
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
  std::vector<qm::TSkinMember> members{{"skin.ini", Bytes(ini.begin(), ini.end())}};
  int seed = 0;
  for (const auto& i : images) members.push_back({i.Name, qm::SaveBmp(Art(i.W, i.H, seed++))});
  return members;
}

struct TSkinFixture {
  Bytes Container;
  Bytes Packed;
  TSkinFixture() {
    std::vector<qm::TSkinMember> members = DefaultSkinMembers();
    if (members.empty()) members = SyntheticSkinMembers();
    Container = qm::BuildSkinContainer(members);
    Packed = qm::LzhEncode(Container);
  }
};

const TSkinFixture& Skin() {
  static const TSkinFixture fixture;
  return fixture;
}

void BM_LzhDecodeContainer(benchmark::State& state) {
  const Bytes& packed = Skin().Packed;
  for (auto _ : state) {
    Bytes out = qm::LzhDecode(packed.data(), packed.size(), qm::SkinMaxDecodedSize);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Skin().Container.size()));
  state.counters["container_bytes"] = static_cast<double>(Skin().Container.size());
  state.counters["packed_bytes"] = static_cast<double>(packed.size());
}
BENCHMARK(BM_LzhDecodeContainer)->Unit(benchmark::kMillisecond);

void BM_LzhEncodeContainer(benchmark::State& state) {
  const Bytes& container = Skin().Container;
  for (auto _ : state) {
    Bytes out = qm::LzhEncode(container);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(container.size()));
}
BENCHMARK(BM_LzhEncodeContainer)->Unit(benchmark::kMillisecond);

void BM_SkinOpenAndParse(benchmark::State& state) {
  for (auto _ : state) {
    qm::TMemoryStream packed(Skin().Packed);
    qm::TSkinDescription skin;
    if (!skin.LoadPackage(packed)) state.SkipWithError("skin refused");
    benchmark::DoNotOptimize(skin.BorderTop->Bitmap.Width());
  }
}
BENCHMARK(BM_SkinOpenAndParse)->Unit(benchmark::kMillisecond);

void BM_ParseDescriptionOnly(benchmark::State& state) {
  qm::TMemoryStream packed(Skin().Packed);
  qm::TSkinReader reader;
  reader.ReadSkin(packed);
  qm::TMemoryStream ini;
  std::string name;
  reader.FindMember(".ini", ini, name);
  const std::string text(ini.Bytes().begin(), ini.Bytes().end());
  for (auto _ : state) {
    qm::TSkinDescription skin;
    skin.LoadDescription(qm::TIniText(text), reader);
    benchmark::DoNotOptimize(skin.SysButtons.size());
  }
}
BENCHMARK(BM_ParseDescriptionOnly)->Unit(benchmark::kMillisecond);

}  // namespace
