// Runs the real skintool found beside this test program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "skin/1_data/bmp_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

fs::path SelfDir() {
#ifdef _WIN32
  wchar_t buf[MAX_PATH];
  GetModuleFileNameW(nullptr, buf, MAX_PATH);
  return fs::path(buf).parent_path();
#else
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

struct TResult {
  int Code;
  std::string Out;
};

class SkintoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() /
           ("skintool_test_" + std::to_string(std::random_device{}()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(FDir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(FDir, ec);
  }

  fs::path P(const std::string& name) const { return FDir / name; }

  TResult Run(const std::vector<std::string>& args) {
#ifdef _WIN32
    const fs::path tool = SelfDir() / "skintool.exe";
    std::string command = "\"\"" + tool.string() + "\"";
#else
    const fs::path tool = SelfDir() / "skintool";
    std::string command = "'" + tool.string() + "'";
#endif
    for (const auto& a : args) command += " \"" + a + "\"";
    const fs::path out = P("stdout.txt");
    command += " > \"" + out.string() + "\" 2> \"" + P("stderr.txt").string() + "\"";
#ifdef _WIN32
    command += "\"";
    const int code = std::system(command.c_str());
#else
    const int status = std::system(command.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {code, ReadText(out)};
  }

  static std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static Bytes ReadBytes(const fs::path& p) {
    const std::string s = ReadText(p);
    return Bytes(s.begin(), s.end());
  }
  static void Write(const fs::path& p, const Bytes& b) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  static void WriteText(const fs::path& p, const std::string& s) { Write(p, Bytes(s.begin(), s.end())); }

  fs::path FDir;
};

TEST_F(SkintoolTest, LzhRoundTripsOverVariedFiles) {
  std::mt19937 rng(5);
  Bytes random(100000), big(1 << 20);
  for (auto& b : random) b = static_cast<uint8_t>(rng());
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>((i % 251) ^ (rng() % 4 == 0 ? rng() : 0));
  std::string text;
  while (text.size() < 50000) text += "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=4\r\n";
  const std::vector<Bytes> cases = {{}, {0x7F}, Bytes(10000, 0), Bytes(text.begin(), text.end()), random, big};
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    Write(P("in"), cases[i]);
    ASSERT_EQ(Run({"lzh-encode", P("in").string(), P("packed").string()}).Code, 0);
    ASSERT_EQ(Run({"lzh-decode", P("packed").string(), P("out").string()}).Code, 0);
    EXPECT_EQ(ReadBytes(P("out")), cases[i]);
  }
}

TEST_F(SkintoolTest, RefusedDecodeLeavesExistingOutputAlone) {
  Write(P("huge"), {0x00, 0x00, 0x00, 0x08, 1, 2});  // 128 MiB declared
  WriteText(P("out"), "precious");
  const TResult r = Run({"lzh-decode", P("huge").string(), P("out").string()});
  EXPECT_EQ(r.Code, 1);
  EXPECT_EQ(ReadText(P("out")), "precious");
  EXPECT_NE(ReadText(P("stderr.txt")).find("exceeds"), std::string::npos);
}

TEST_F(SkintoolTest, PackListExtractDescribe) {
  fs::create_directories(P("skin"));
  WriteText(P("skin") / "Skin.ini",
            "[TitlebarSkin]\r\nSkinName=Graphite\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n"
            "[Button0]\r\nAction=0\r\nButtonImage=close.bmp\r\n[Colour0]\r\ncolor=220 220 220\r\n");
  Write(P("skin") / "top.bmp", qm::SaveBmp(qm::TSkinImage(209, 78)));
  Write(P("skin") / "close.bmp", qm::SaveBmp(qm::TSkinImage(114, 17)));
  WriteText(P("skin") / "members.txt", "Skin.ini\r\ntop.bmp\r\n\r\nclose.bmp\r\ntop.bmp\r\n");
  ASSERT_EQ(Run({"pack", P("skin").string(), P("s.skin").string()}).Code, 0);

  const TResult list = Run({"list", P("s.skin").string()});
  ASSERT_EQ(list.Code, 0);
  const std::string topSize = std::to_string(fs::file_size(P("skin") / "top.bmp"));
  EXPECT_NE(list.Out.find("version = 20000\n"), std::string::npos) << list.Out;
  EXPECT_NE(list.Out.find("members = 4\n"), std::string::npos) << list.Out;
  EXPECT_NE(list.Out.find("skin.ini = "), std::string::npos) << list.Out;
  EXPECT_NE(list.Out.find("top.bmp = " + topSize + "\n"), std::string::npos) << list.Out;

  ASSERT_EQ(Run({"extract", P("s.skin").string(), "CLOSE.BMP", P("c.bmp").string()}).Code, 0);
  EXPECT_EQ(ReadBytes(P("c.bmp")), ReadBytes(P("skin") / "close.bmp"));
  EXPECT_EQ(Run({"extract", P("s.skin").string(), "none.bmp", P("n.bmp").string()}).Code, 1);
  EXPECT_FALSE(fs::exists(P("n.bmp")));

  const TResult d = Run({"describe", P("s.skin").string()});
  ASSERT_EQ(d.Code, 0);
  EXPECT_NE(d.Out.find("SkinName = Graphite\n"), std::string::npos);
  EXPECT_NE(d.Out.find("BorderTop.Bitmap = 209x78\nBorderTop.Trans = 1\n"), std::string::npos);
  EXPECT_NE(d.Out.find("SysButtons[0].Bitmap = 114x17\n"), std::string::npos);
  EXPECT_NE(d.Out.find("ColourTable[0] = 0x00DCDCDC (220 220 220)\n"), std::string::npos);
  EXPECT_EQ(Run({"describe", P("s.skin").string()}).Out, d.Out);
}

TEST_F(SkintoolTest, BadInputsFailInAnOrderlyWay) {
  fs::create_directories(P("skin"));
  WriteText(P("skin") / "members.txt", "missing.bmp\n");
  EXPECT_EQ(Run({"pack", P("skin").string(), P("s.skin").string()}).Code, 1);
  EXPECT_FALSE(fs::exists(P("s.skin")));

  WriteText(P("skin") / "a.bmp", "x");
  WriteText(P("skin") / "members.txt", "a.bmp\n");
  ASSERT_EQ(Run({"pack", P("skin").string(), P("s.skin").string()}).Code, 0);
  EXPECT_EQ(Run({"describe", P("s.skin").string()}).Code, 1);  // no description member

  WriteText(P("junk"), "not a skin at all");
  EXPECT_EQ(Run({"list", P("junk").string()}).Code, 1);
  EXPECT_EQ(Run({"list", P("absent").string()}).Code, 1);
  EXPECT_EQ(Run({}).Code, 2);
  EXPECT_EQ(Run({"list"}).Code, 2);
  EXPECT_EQ(Run({"frobnicate", "x"}).Code, 2);
}

}  // namespace
