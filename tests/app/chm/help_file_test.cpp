// The help file the help button opens: built beside the program, holding
// every page of the guide, with a table of contents and an index that lead
// only to pages that exist, and the Chinese locale the viewer needs to show
// its titles.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "chm_directory.h"
#include "../form_fixture.h"
#include "main_form_model.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using qm::test::ReadChm;
using qm::test::TChmFile;

namespace {

fs::path ProgramFolder() {
#ifdef _WIN32
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
#else
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

const fs::path HelpSources = QM_HELP_SOURCE_DIR;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<std::string> PagesOnDisk() {
  std::set<std::string> pages;
  for (const auto& entry : fs::directory_iterator(HelpSources))
    if (entry.path().extension() == ".htm") pages.insert(entry.path().filename().string());
  return pages;
}

// The [FILES] section of the project.
std::set<std::string> ProjectFiles() {
  std::istringstream project(ReadText(HelpSources / "PartKit.hhp"));
  std::set<std::string> files;
  bool inFiles = false;
  for (std::string line; std::getline(project, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inFiles = line == "[FILES]";
      continue;
    }
    if (inFiles && !line.empty()) files.insert(line);
  }
  return files;
}

std::set<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::set<std::string> found;
  const std::regex re(pattern, std::regex::icase);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    found.insert((*it)[1].str());
  return found;
}

std::set<std::string> SitemapTargets(const std::string& file) {
  return Matches(ReadText(HelpSources / file), R"re(<param\s+name="Local"\s+value="([^"]+)")re");
}

const TChmFile& BuiltHelp() {
  static const TChmFile chm = ReadChm((ProgramFolder() / "PartKit.chm").string());
  return chm;
}

}  // namespace

TEST(HelpSources, ProjectListsEveryPageAndOnlyPagesThatExist) {
  std::set<std::string> listedPages;
  for (const auto& file : ProjectFiles()) {
    EXPECT_TRUE(fs::exists(HelpSources / file)) << file << " is listed but missing";
    if (fs::path(file).extension() == ".htm") listedPages.insert(file);
  }
  EXPECT_EQ(listedPages, PagesOnDisk());
}

TEST(HelpSources, ContentsReachEveryPageAndIndexOnlyExistingOnes) {
  const auto contents = SitemapTargets("PartKit.hhc");
  for (const auto& page : PagesOnDisk()) EXPECT_TRUE(contents.count(page)) << page << " is not in the contents";
  for (const auto& target : contents) EXPECT_TRUE(fs::exists(HelpSources / target)) << target;
  const auto index = SitemapTargets("PartKit.hhk");
  EXPECT_GE(index.size(), 8u);
  for (const auto& target : index) EXPECT_TRUE(fs::exists(HelpSources / target)) << target;
}

TEST(HelpSources, LinksBetweenPagesLeadToExistingPages) {
  for (const auto& page : PagesOnDisk()) {
    const std::string text = ReadText(HelpSources / page);
    for (const auto& target : Matches(text, R"re(href="([^"#:]+))re"))
      EXPECT_TRUE(fs::exists(HelpSources / target)) << page << " links to missing " << target;
    EXPECT_FALSE(Matches(text, R"re(<title>([^<]+)</title>)re").empty()) << page << " has no title";
  }
}

TEST(HelpSources, GuideQuotesTheProgramsOwnTexts) {
  const std::string files = ReadText(HelpSources / "files.htm");
  EXPECT_NE(files.find("目录及文件名都不能含有中文，且必须符合8.3规则。"), std::string::npos);
  const std::string messages = ReadText(HelpSources / "messages.htm");
  for (const char* text : {"请至少添加一个分区！", "请选择一个映像文件！", "请选择一个备份文件！", "请选择一个恢复文件！",
                           "不能同时备份二个硬盘上的分区", "源分区和目的分区不能是同一分区！",
                           "源硬盘和目的硬盘不能是同一硬盘！", "请输入1~10的数字。",
                           "“备份文件”和“恢复文件”指向同一个文件，恢复批处理文件会覆盖备份批处理文件。请为它们选择不同的文件。",
                           "和“映像文件”指向同一个文件，批处理文件会覆盖映像文件。请为它们选择不同的文件。",
                           "个字符），DOS 最多只能传给程序 126 个字符。请缩短映像文件的路径或文件名。",
                           "生成批处理文件完成，请退出WINDOW进到DOS下运行批处理文件。",
                           "HHCtrl.ocx 文件没有安装，或已经损坏! HtmlHelp 格式文件不能显示!",
                           "HtmlHelp 函数不能装载!"})
    EXPECT_NE(messages.find(text), std::string::npos) << text;
}

TEST(HelpSources, GuideGivesTheProgramsOwnHomePageAndMailAddress) {
  const std::string about = ReadText(HelpSources / "about.htm");
  EXPECT_NE(about.find(qm::HomePageAddress), std::string::npos);
  EXPECT_NE(about.find(std::string(qm::HomePageAddress) + "/PartKit.htm"), std::string::npos);
  EXPECT_NE(about.find(qm::AuthorMail), std::string::npos);
  // The sample script shows line 4 as the program writes it.
  const std::string script = ReadText(HelpSources / "script.htm");
  EXPECT_NE(script.find(std::string("@ECHO 制作--启明映像向导--") + qm::HomePageAddress), std::string::npos);
}

// The guide walks through a sample pair of scripts line by line; they must be
// what the program really writes for that choice.
class GuideSampleScripts : public qm::test::FormTest {
 protected:
  GuideSampleScripts() : FormTest("C:\\QIMING") {}

  static std::vector<std::string> PreformattedLines(int block) {
    const std::string page = ReadText(HelpSources / "script.htm");
    size_t at = 0;
    for (int i = 0; i <= block; ++i) at = page.find("<pre>", at) + 5;
    std::istringstream text(page.substr(at, page.find("</pre>", at) - at));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }
};

TEST_F(GuideSampleScripts, MatchWhatThePartitionPageWrites) {
  Host.Clock = {"2026/12/8", "9:30:00"};
  Choose(0);
  Generate();
  ASSERT_EQ(Host.Files.size(), 2u);

  EXPECT_EQ(PreformattedLines(0), ScriptLines("C:\\QIMING\\BeiFen.bat"));
  // The restore sample starts with a note standing for lines 1..11.
  const auto restore = ScriptLines("C:\\QIMING\\HuiFu.bat");
  auto sample = PreformattedLines(1);
  ASSERT_EQ(restore.size(), 20u);
  sample.erase(sample.begin());
  EXPECT_EQ(sample, std::vector<std::string>(restore.begin() + 11, restore.end()));
}

TEST(BuiltHelpFile, LiesBesideTheProgramWithEveryPage) {
  const TChmFile& chm = BuiltHelp();
  for (const auto& page : PagesOnDisk()) EXPECT_TRUE(chm.Entries.count("/" + page)) << page;
  EXPECT_TRUE(chm.Entries.count("/PartKit.hhc"));
  EXPECT_TRUE(chm.Entries.count("/PartKit.hhk"));
  EXPECT_TRUE(chm.Entries.count("/help.css"));
}

TEST(BuiltHelpFile, SystemDataNamesChineseLocaleGbkTitleAndStartPage) {
  const std::string system = BuiltHelp().Uncompressed("/#SYSTEM");
  std::string title, topic;
  unsigned lcid = 0;
  for (size_t at = 4; at + 4 <= system.size();) {
    const unsigned code = static_cast<unsigned char>(system[at]) | static_cast<unsigned char>(system[at + 1]) << 8;
    const size_t length = static_cast<unsigned char>(system[at + 2]) | static_cast<unsigned char>(system[at + 3]) << 8;
    const std::string data = system.substr(at + 4, length);
    if (code == 2) topic = data.c_str();
    if (code == 3) title = data.c_str();
    if (code == 4 && data.size() >= 4)
      lcid = static_cast<unsigned char>(data[0]) | static_cast<unsigned char>(data[1]) << 8;
    at += 4 + length;
  }
  EXPECT_EQ(lcid, 0x0804u);
  EXPECT_EQ(topic, "index.htm");
  // "启明映像向导 帮助" in GBK: the viewer decodes titles with the locale's code page.
  EXPECT_EQ(title, "\xC6\xF4\xC3\xF7\xD3\xB3\xCF\xF1\xCF\xF2\xB5\xBC \xB0\xEF\xD6\xFA");
}
