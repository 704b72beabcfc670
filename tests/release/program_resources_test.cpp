// The programs as Windows sees them: the manifest the loader binds by, the
// version information a file's properties show and the icon Explorer and
// the taskbar show, read back from the built files with the system's own
// calls.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

struct TProgram {
  const wchar_t* File;
  const wchar_t* Description;
};

const TProgram kPrograms[] = {{L"qiming.exe", L"启明映像向导"}, {L"skinview.exe", L"SkinView"}};

// This test is built by the same tool chain as the programs beside it.
const char* const kArchitecture = sizeof(void*) == 8 ? "amd64" : "x86";

std::filesystem::path Beside(const wchar_t* file) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / file;
}

std::string Manifest(HMODULE module) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
  if (!found) return {};
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
}

std::wstring VersionString(const std::vector<char>& info, const std::wstring& name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\080404b0\\" + name;
  if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return L"<none>";
  return value;
}

class ProgramResources : public ::testing::TestWithParam<TProgram> {
 protected:
  void SetUp() override {
    Path = Beside(GetParam().File);
    ASSERT_TRUE(std::filesystem::exists(Path)) << Path;
    Module = LoadLibraryExW(Path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(Module, nullptr);
  }
  void TearDown() override {
    if (Module) FreeLibrary(Module);
  }
  std::filesystem::path Path;
  HMODULE Module = nullptr;
};

TEST_P(ProgramResources, ManifestBindsThisArchitectureAndDeclaresWindows7To11AsInvoker) {
  const std::string manifest = Manifest(Module);
  ASSERT_FALSE(manifest.empty());
  // The program's own identity and its common-controls dependency alike:
  // one naming another architecture keeps the program from starting.
  std::set<std::string> architectures;
  const std::regex attribute("processorArchitecture=\"([^\"]*)\"");
  for (std::sregex_iterator it(manifest.begin(), manifest.end(), attribute), end; it != end; ++it)
    architectures.insert((*it)[1]);
  EXPECT_EQ(architectures, std::set<std::string>{kArchitecture});
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                         "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"), std::string::npos) << os;
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos);
}

// Windows 10 (1703) on reads dpiAwareness and takes its first known word;
// Windows 7 and 8 read only dpiAware, where "true/pm" means system-wide
// (8.1: per monitor). Each in its own schema's namespace, or it is ignored.
TEST_P(ProgramResources, ManifestDeclaresPerMonitorAwarenessWithTheSystemWideFormAsFallback) {
  const std::string manifest = Manifest(Module);
  const std::regex aware("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                         "\\s*true/pm\\s*</dpiAware>");
  const std::regex awareness("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                             "\\s*PerMonitorV2,\\s*PerMonitor\\s*</dpiAwareness>");
  EXPECT_TRUE(std::regex_search(manifest, aware)) << manifest;
  EXPECT_TRUE(std::regex_search(manifest, awareness)) << manifest;
  const size_t settings = manifest.find("<windowsSettings>");
  ASSERT_NE(settings, std::string::npos);
  EXPECT_LT(settings, manifest.find("<dpiAware "));
  EXPECT_LT(manifest.find("<dpiAwareness "), manifest.find("</windowsSettings>"));
}

TEST_P(ProgramResources, VersionInformationNamesTheProgramItsVersionAndAuthor) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(Path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(Path.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  // Explorer picks the string table by the translation the file lists.
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);
  EXPECT_EQ(VersionString(info, L"FileDescription"), GetParam().Description);
  EXPECT_EQ(VersionString(info, L"ProductName"), L"启明映像向导");
  EXPECT_EQ(VersionString(info, L"FileVersion"), L"1.0");
  EXPECT_EQ(VersionString(info, L"ProductVersion"), L"1.0");
  EXPECT_EQ(VersionString(info, L"CompanyName"), L"启明映像向导开发组");
  EXPECT_EQ(VersionString(info, L"OriginalFilename"), GetParam().File);
}

TEST_P(ProgramResources, IconIsTheFirstOfTheFileAndComesInTheSizesWindowsShows) {
  EXPECT_EQ(ExtractIconExW(Path.c_str(), -1, nullptr, nullptr, 0), 1u);
  HRSRC group = FindResourceW(Module, L"MAINICON", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  ASSERT_NE(group, nullptr);
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(Module, group)));
  for (int size : {16, 24, 32, 48}) {
    // The image the system picks for a size must be drawn at that size, not
    // scaled from another, and carry its alpha.
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceW(Module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3) /* RT_ICON */);
    ASSERT_NE(image, nullptr) << size;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Module, image)));
    EXPECT_EQ(header->biWidth, size);
    EXPECT_EQ(header->biBitCount, 32) << size;
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(const_cast<BITMAPINFOHEADER*>(header)),
                                          SizeofResource(Module, image), TRUE, 0x00030000, size, size, 0);
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(icon);
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResources, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) { return info.param.File[0] == L'q' ? "QiMing" : "SkinView"; });

}  // namespace
