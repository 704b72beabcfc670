// The skin data component on Windows: its stored values, its requests to the
// skin manager, the window-class gate, the menu glyphs and the ready bitmaps
// of the loaded skin.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "skin_fixture.h"
#include "../stored_skin.h"
#include "gui/forms.h"
#include "gui/timer.h"
#include "gui_objects.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_message.h"
#include "skin/1_data/skin_package_writer.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/5_manage/skin_manage.h"

namespace qm {
namespace {

// A fresh manager per test; the component registers with it when loaded.
class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSkinManage::Free();
    FPrevious = SetSkinMessageHandler([](const std::string& text) { Messages().push_back(text); });
    Messages().clear();
  }
  void TearDown() override {
    SetSkinMessageHandler(FPrevious);
    TSkinManage::Free();
  }
  static TSkinManage& Manager() { return *TSkinManage::Instance(); }
  static std::vector<std::string>& Messages() {
    static std::vector<std::string> m;
    return m;
  }
  // Reads stored values as a form does, then finishes loading.
  static void ReadAndLoad(TSkinData& sd, const std::vector<TStoredValue>& values) {
    const auto bytes = WriteStoredValues(values);
    sd.ReadStoredValues(bytes.data(), bytes.size());
    sd.Loaded();
  }

 private:
  TSkinMessageHandler FPrevious = nullptr;
};

TEST_F(SkinDataTest, TheEmbeddedMainFormValuesSwitchSkinningOnBeforeAnyActivation) {
  TSkinData sd(nullptr);
  ReadStoredValuesFromResource(sd, GetModuleHandleW(nullptr), L"MAINFORM_SKINDATA1");
  sd.BeginLoading();  // as its form does while reading its components
  EXPECT_TRUE(sd.Reading());
  EXPECT_EQ(TSkinManage::Instance(), nullptr);  // reading only stores Active
  EXPECT_FALSE(sd.SkinEmpty);
  sd.Loaded();
  ASSERT_NE(TSkinManage::Instance(), nullptr);
  EXPECT_FALSE(sd.Reading());
  EXPECT_EQ(sd.ComponentState() & gui::csLoading, 0u);
  EXPECT_TRUE(sd.Active());
  EXPECT_NE(Manager().HookHandle(), nullptr);
  EXPECT_EQ(Manager().AllSkinData(), std::vector<TSkinData*>{&sd});
  // No window was activated yet: the request only set the manager's flag.
  EXPECT_EQ(Manager().Activated(), 0);
  EXPECT_TRUE(Manager().Active());
  EXPECT_FALSE(Manager().ActionPending());
  EXPECT_NE(sd.Skin()->ButtonFaceBrush(), nullptr);
  EXPECT_EQ(sd.GetPropValue("SkinStore"), "(none)");
}

TEST_F(SkinDataTest, StoredActiveWithAnEmptyOrOutdatedSkinEndsInactive) {
  const std::string ini = "[Personality]\r\n";
  const std::vector<TSkinMember> members = {{"skin.ini", {ini.begin(), ini.end()}}};
  const std::vector<std::vector<uint8_t>> streams = {
      {0, 0, 0, 0},  // N = 0
      [&] {
        auto packed = LzhEncode(BuildSkinContainer(members, 19999));
        std::vector<uint8_t> s(4);
        const uint32_t n = static_cast<uint32_t>(packed.size());
        for (int i = 0; i < 4; ++i) s[i] = static_cast<uint8_t>(n >> (8 * i));
        s.insert(s.end(), packed.begin(), packed.end());
        return s;
      }()};
  for (const auto& stream : streams) {
    TSkinManage::Free();
    TSkinData sd(nullptr);
    ReadAndLoad(sd, {TStoredValue::Boolean("Active", true), TStoredValue::Binary("SkinStream", stream)});
    EXPECT_TRUE(sd.SkinEmpty);
    EXPECT_FALSE(sd.Active());
    EXPECT_FALSE(Manager().Active());
    // Switching on later is skipped while there is no skin.
    sd.SetActive(true);
    EXPECT_FALSE(Manager().Active());
    EXPECT_EQ(Manager().PendingSkinData(), nullptr);
  }
  EXPECT_EQ(Messages().size(), 1u);  // the outdated container was reported once
}

TEST_F(SkinDataTest, SettingActiveToItsValueMakesNoRequest) {
  TSkinData sd(nullptr);
  ReadAndLoad(sd, MainFormSkinDataValues(test::PackedStoredSkin()));
  Manager().CountActivation();  // as after the first window activation
  sd.SetActive(true);
  EXPECT_EQ(Manager().PendingAction(), saNone);
  EXPECT_EQ(Manager().PendingSkinData(), nullptr);
  sd.SetActive(false);
  EXPECT_EQ(Manager().PendingAction(), saSkinOff);
  EXPECT_EQ(Manager().PendingSkinData(), &sd);
  EXPECT_TRUE(Manager().ActionPending());
}

TEST_F(SkinDataTest, TheActionTimerCarriesOutTheRequestAndReports) {
  TSkinData sd(nullptr);
  ReadAndLoad(sd, MainFormSkinDataValues(test::PackedStoredSkin()));
  Manager().CountActivation();
  int changed = 0;
  sd.OnSkinChanged = [&](gui::TComponent* sender) {
    EXPECT_EQ(sender, &sd);
    ++changed;
  };
  sd.SetActive(false);
  EXPECT_TRUE(Manager().Active());  // not before the tick
  const DWORD until = GetTickCount() + 3000;
  while (changed == 0 && GetTickCount() < until) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
  EXPECT_EQ(changed, 1);
  EXPECT_FALSE(Manager().Active());
  EXPECT_EQ(Manager().PendingSkinData(), nullptr);
  EXPECT_FALSE(Manager().ActionPending());
}

TEST_F(SkinDataTest, ADialogComponentOnlyChangesThePropertyAfterLoading) {
  TSkinData sd(nullptr);
  auto values = MainFormSkinDataValues(test::PackedStoredSkin());
  values[5] = TStoredValue::Enum("SkinFormtype", "sfDialog");
  ReadAndLoad(sd, values);
  EXPECT_EQ(Manager().Activated(), 1);  // a non-main component counts as an activation
  EXPECT_TRUE(Manager().Active());
  EXPECT_EQ(Manager().HookHandle(), nullptr);
  sd.SetActive(false);
  EXPECT_FALSE(sd.Active());
  EXPECT_EQ(Manager().PendingAction(), saNone);
  EXPECT_EQ(Manager().PendingSkinData(), nullptr);
  EXPECT_TRUE(Manager().Active());
}

TEST_F(SkinDataTest, AThisFormComponentNamesItselfForARequestEvenWithoutASkin) {
  TSkinData sd(nullptr);
  ReadAndLoad(sd, {TStoredValue::Enum("SkinFormtype", "sfOnlyThisForm")});
  ASSERT_TRUE(sd.SkinEmpty);
  EXPECT_EQ(Manager().Activated(), 1);
  sd.SetActive(true);
  EXPECT_TRUE(sd.Active());
  EXPECT_EQ(Manager().PendingSkinData(), &sd);
  EXPECT_EQ(Manager().PendingAction(), saNone);  // nothing to switch on
  sd.PackedSkin = TMemoryStream(test::PackedStoredSkin());
  ASSERT_TRUE(sd.LoadSkin());
  sd.SetActive(false);
  EXPECT_EQ(Manager().PendingAction(), saSkinOff);
  EXPECT_EQ(Manager().PendingSkinData(), &sd);
  EXPECT_TRUE(Manager().ActionPending());
}

TEST_F(SkinDataTest, AComponentMadeAtRunTimeGetsAManagerWhenSwitchedOn) {
  TSkinData sd(nullptr);
  sd.SetSkinFile("");  // no file: stays empty
  sd.PackedSkin = TMemoryStream(test::PackedStoredSkin());
  ASSERT_TRUE(sd.LoadSkin());
  sd.SetActive(true);
  ASSERT_NE(TSkinManage::Instance(), nullptr);
  EXPECT_EQ(Manager().AllSkinData(), std::vector<TSkinData*>{&sd});
  EXPECT_TRUE(Manager().Active());
}

TEST_F(SkinDataTest, SkinFileThatDoesNotExistLeavesTheComponentEmptyWithoutARequest) {
  TSkinData sd(nullptr);
  ReadAndLoad(sd, MainFormSkinDataValues(test::PackedStoredSkin()));
  Manager().CountActivation();
  sd.SetSkinFile("Z:\\no\\such\\folder\\missing.skn");
  EXPECT_TRUE(sd.SkinEmpty);
  EXPECT_EQ(sd.SkinFile(), "Z:\\no\\such\\folder\\missing.skn");
  EXPECT_EQ(Manager().PendingAction(), saNone);
  EXPECT_EQ(sd.Skin()->BorderTop->Bitmap.Width(), 209);
}

TEST_F(SkinDataTest, SkinFileThatExistsIsLoadedAndApplied) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"default.skn";
  std::string utf8(path.begin(), path.end());  // the build path is ASCII
  TSkinData sd(nullptr);
  ReadAndLoad(sd, {TStoredValue::Boolean("Active", false)});
  Manager().CountActivation();
  sd.SetSkinFile(utf8);
  EXPECT_FALSE(sd.SkinEmpty);
  EXPECT_EQ(Manager().PendingAction(), saSkinChanged);
  EXPECT_EQ(Manager().PendingSkinData(), &sd);
}

TEST_F(SkinDataTest, DestroyingAComponentWithdrawsItsPendingRequest) {
  auto sd = std::make_unique<TSkinData>(nullptr);
  ReadAndLoad(*sd, MainFormSkinDataValues(test::PackedStoredSkin()));
  Manager().CountActivation();
  sd->SetActive(false);
  ASSERT_EQ(Manager().PendingSkinData(), sd.get());
  sd.reset();
  EXPECT_TRUE(Manager().AllSkinData().empty());
  EXPECT_EQ(Manager().PendingSkinData(), nullptr);
  EXPECT_FALSE(Manager().ActionPending());
}

TEST_F(SkinDataTest, LoadingTwiceRegistersOnceAndHooksOnce) {
  TSkinData sd(nullptr);
  ReadAndLoad(sd, MainFormSkinDataValues(test::PackedStoredSkin()));
  const HHOOK hook = Manager().HookHandle();
  sd.Loaded();
  EXPECT_EQ(Manager().AllSkinData().size(), 1u);
  EXPECT_EQ(Manager().HookHandle(), hook);
}

TEST_F(SkinDataTest, ApplySkinIsIgnoredWhileReading) {
  TSkinData sd(nullptr);
  const auto bytes = WriteStoredValues(MainFormSkinDataValues(test::PackedStoredSkin()));
  sd.ReadStoredValues(bytes.data(), bytes.size());
  sd.ApplySkin();
  EXPECT_EQ(TSkinManage::Instance(), nullptr);
}

// ------------------------------------------------------------- DoFormSkin

TEST_F(SkinDataTest, DoFormSkinRules) {
  TSkinData sd(nullptr);
  auto ask = [&](const std::string& name, bool start = true) {
    bool doSkin = start;
    sd.DoFormSkin(name, doSkin);
    return doSkin;
  };
  EXPECT_FALSE(ask("SysMonthCal32"));
  EXPECT_TRUE(ask("TfrPreviewForm"));  // xcFastReport is not in the default set
  sd.SkinControls.Include(TSkinControlType::xcFastReport);
  EXPECT_FALSE(ask("TfrPreviewForm"));
  EXPECT_TRUE(ask("tfrPreviewForm"));
  EXPECT_FALSE(ask("TMainForm", false));
  // With a handler only the handler decides, for every name.
  std::vector<std::string> asked;
  sd.OnFormSkin = [&](gui::TComponent* sender, const std::string& name, bool& doSkin) {
    EXPECT_EQ(sender, &sd);
    asked.push_back(name);
    doSkin = name == "SysMonthCal32";
  };
  EXPECT_TRUE(ask("SysMonthCal32"));
  EXPECT_FALSE(ask("TMainForm"));
  EXPECT_TRUE(ask("TfrPreviewForm", true) == false);
  EXPECT_EQ(asked.size(), 3u);
}

// ----------------------------------------------------- published properties

TEST_F(SkinDataTest, PublishedPropertiesReadAndWriteByName) {
  TSkinData sd(nullptr);
  EXPECT_EQ(sd.ClassName(), "TSkinData");
  EXPECT_EQ(sd.GetPropValue("Active"), "False");
  EXPECT_EQ(sd.GetPropValue("DisableTag"), "99");
  EXPECT_EQ(sd.GetPropValue("SkinFormtype"), "sfMainform");
  EXPECT_EQ(sd.GetPropValue("Version"), "2.62.5.26");
  EXPECT_EQ(sd.GetPropValue("MenuUpdate"), "True");
  const std::string controls = *sd.GetPropValue("SkinControls");
  EXPECT_EQ(controls.rfind("[xcMainMenu,xcPopupMenu,", 0), 0u);
  EXPECT_EQ(controls.find("xcFastReport"), std::string::npos);
  EXPECT_TRUE(sd.SetPropValue("SkinControls", "[xcButton, xcTab]"));
  EXPECT_EQ(sd.SkinControls.Bits(), (1u << 10) | (1u << 16));
  sd.SetPropValue("SkinControls", "[xcButton,xcNoSuchKind]");
  EXPECT_EQ(sd.SkinControls.Bits(), (1u << 10) | (1u << 16));  // refused whole
  sd.SetPropValue("SkinStore", "(Good)");
  EXPECT_EQ(sd.GetPropValue("SkinStore"), "(none)");
  EXPECT_TRUE(sd.SetPropValue("Skin3rd", "TFoo=panel\r\nTBar=edit\r\n"));
  EXPECT_EQ(sd.Skin3rd(), (std::vector<std::string>{"TFoo=panel", "TBar=edit"}));
}

// ------------------------------------------------------------- MenuImages

TEST_F(SkinDataTest, MenuGlyphsHaveExactlyTheListedPixelsAndAWhiteKey) {
  struct Run { int y0, y1, x0, x1; };
  const std::vector<std::vector<Run>> glyphs = {
      // restore
      {{4, 5, 5, 12}, {6, 8, 12, 12}, {6, 6, 5, 5}, {7, 8, 3, 10}, {9, 9, 3, 3}, {9, 9, 10, 12},
       {10, 11, 3, 3}, {10, 11, 10, 10}, {12, 12, 3, 10}},
      // maximise
      {{3, 4, 3, 12}, {5, 11, 3, 3}, {5, 11, 12, 12}, {12, 12, 3, 12}},
      // minimise
      {{7, 8, 5, 11}},
      // close
      {{4, 4, 3, 4}, {4, 4, 10, 11}, {5, 5, 3, 5}, {5, 5, 9, 11}, {6, 6, 4, 6}, {6, 6, 8, 10}, {7, 7, 5, 9},
       {8, 8, 6, 8}, {9, 9, 5, 9}, {10, 10, 4, 6}, {10, 10, 8, 10}, {11, 11, 3, 5}, {11, 11, 9, 11},
       {12, 12, 3, 4}, {12, 12, 10, 11}},
  };
  TSkinData sd(nullptr);
  ASSERT_EQ(sd.MenuImages->Count(), 4);
  EXPECT_EQ(sd.MenuImages->Width(), 16);
  EXPECT_EQ(sd.MenuImages->Height(), 16);
  for (int g = 0; g < 4; ++g) {
    std::set<std::pair<int, int>> ink;
    for (const Run& r : glyphs[g])
      for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x) ink.insert({x, y});
    // Drawn over red: ink shows black, white is transparent and keeps red.
    gui::TBitmap canvas(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) canvas.Canvas().SetPixel(x, y, 0x0000FF);
    sd.MenuImages->Draw(canvas.Canvas(), 0, 0, g);
    GdiFlush();
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint8_t* p = canvas.ScanLine(y) + x * 3;  // blue, green, red
        const bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
        const bool red = p[0] == 0 && p[1] == 0 && p[2] == 255;
        if (ink.count({x, y}))
          EXPECT_TRUE(black) << "glyph " << g + 1 << " pixel " << x << "," << y << " should be black";
        else
          EXPECT_TRUE(red) << "glyph " << g + 1 << " pixel " << x << "," << y << " should be transparent";
      }
  }
}

// ---------------------------------------------------------- ready bitmaps

// A skin unlike the stored one in every image: other sizes, a title image,
// the images the stored skin lacks (tab border, progress chunk, up-down
// glyphs) and none of the menu or scroll-bar elements.
std::vector<uint8_t> PackedSecondSkin() {
  const std::string ini =
      "[TitlebarSkin]\r\nSkinName=second\r\n"
      "[Personality]\r\nLeft=l.bmp\r\nRight=r.bmp\r\nTop=t.bmp\r\nBottom=b.bmp\r\nTextBack=text.bmp\r\n"
      "[Buttons]\r\nBitmap=btn.bmp\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
      "[Tabs]\r\nImage=tab.bmp\r\nBorder=tabborder.bmp\r\n"
      "[Progress]\r\nBitmap=bar.bmp\r\nChunk=chunk.bmp\r\n"
      "[UpDown.Horz]\r\nImage=ud.bmp\r\nGlyphImage=glyph.bmp\r\n"
      "[ComboButton]\r\nImage=combo.bmp\r\n"
      "[Button0]\r\nAction=0\r\nButtonImage=close.bmp\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
  std::vector<TSkinMember> members = {{"skin.ini", {ini.begin(), ini.end()}}};
  const std::pair<const char*, int> images[] = {
      {"l.bmp", 7},     {"r.bmp", 8},      {"t.bmp", 9},     {"b.bmp", 10},   {"text.bmp", 11},
      {"btn.bmp", 12},  {"check.bmp", 13}, {"radio.bmp", 14}, {"tab.bmp", 15}, {"tabborder.bmp", 16},
      {"bar.bmp", 17},  {"chunk.bmp", 18}, {"ud.bmp", 19},    {"glyph.bmp", 20}, {"combo.bmp", 21},
      {"close.bmp", 22}, {"mdi.bmp", 24}};
  for (const auto& [name, side] : images) members.push_back(test::BmpMember(name, side * 3, side));
  return PackSkin(members);
}

// Each non-empty image has a bitmap of its size and pixels, each empty one
// none, and no bitmap of anything else is kept: Count images in all.
void ExpectReadyBitmaps(const TSkinData& sd, size_t Count, const std::string& when) {
  const std::shared_ptr<const TLoadedSkin> skin = sd.Skin();
  if (!skin) {
    EXPECT_EQ(Count, 0u) << when;
    return;
  }
  size_t drawn = 0, seen = 0;
  ForEachSkinImage(*skin, [&](const TSkinImage& image) {
    gui::TBitmap* bitmap = skin->SkinBitmap(image);
    ++seen;
    if (image.Empty()) {
      EXPECT_EQ(bitmap, nullptr) << when << ": image " << seen;
      return;
    }
    ++drawn;
    ASSERT_NE(bitmap, nullptr) << when << ": image " << seen;
    EXPECT_EQ(SkinImageOf(*bitmap), image) << when << ": image " << seen;
  });
  EXPECT_EQ(drawn, Count) << when;
  EXPECT_EQ(skin->SkinBitmaps().Count(), Count) << when;
}

// The GDI objects the skin made: its bitmaps, the DC one of them draws
// from, the face brush.
std::vector<HGDIOBJ> SkinGdiObjects(const TLoadedSkin& skin) {
  std::vector<HGDIOBJ> out{skin.ButtonFaceBrush()};
  ForEachSkinImage(skin, [&](const TSkinImage& image) {
    if (gui::TBitmap* b = skin.SkinBitmap(image)) out.push_back(b->Handle());
  });
  return out;
}

TEST_F(SkinDataTest, EveryImageHasABitmapOfTheSkinTheDescriptionsHold) {
  TSkinData sd(nullptr);
  ExpectReadyBitmaps(sd, 0, "before any skin");
  const auto packed = [&sd](std::vector<uint8_t> bytes) {
    return [&sd, bytes] {
      sd.PackedSkin = TMemoryStream(bytes);
      return sd.LoadSkin();
    };
  };
  const auto outdated = LzhEncode(BuildSkinContainer({{"skin.ini", {'[', ']'}}}, 19999));
  // The stored skin draws from 32 images: one serves two elements, the MDI
  // strip is cut in three, the combo button is mirrored, one caption
  // button's image is dropped and the dialog image is never read. The
  // second skin's 17 images give 20 the same way.
  struct TStep {
    const char* What;
    std::function<bool()> Load;
    bool Loads;
    size_t Count;
  } const steps[] = {
      {"stored skin", packed(test::PackedStoredSkin()), true, 32},
      {"second skin", packed(PackedSecondSkin()), true, 20},
      // Refused loads leave the descriptions, and so the bitmaps, as they were.
      {"outdated package", packed(outdated), false, 20},
      {"missing skin file", [&sd] { sd.SetSkinFile("Z:\\no\\such.skn"); return !sd.SkinEmpty; }, false, 20},
      {"stored skin again", packed(test::PackedStoredSkin()), true, 32},
  };
  for (const TStep& step : steps) {
    EXPECT_EQ(step.Load(), step.Loads) << step.What;
    ExpectReadyBitmaps(sd, step.Count, step.What);
  }

  // As GDI draws them: 24 bits, the MDI buttons' key columns magenta.
  const TLoadedSkin& skin = *sd.Skin();
  const size_t mdi = skin.SysButtons.size() - 3;
  for (size_t i = mdi; i < skin.SysButtons.size(); ++i) {
    ASSERT_NE(skin.SkinBitmap(skin.SysButtons[i]->Bitmap), nullptr);
    gui::TBitmap& b = *skin.SkinBitmap(skin.SysButtons[i]->Bitmap);
    EXPECT_EQ(b.Width(), 60);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(b.Handle(), sizeof info, &info));
    EXPECT_EQ(info.bmBitsPixel, 24);
    for (int x : {56, 59}) EXPECT_EQ(b.Canvas().Pixel(x, 7), RGB(255, 0, 255)) << "MDI button " << i - mdi;
    EXPECT_NE(b.Canvas().Pixel(20, 7), RGB(255, 0, 255));
  }
}

TEST_F(SkinDataTest, NoGdiObjectOutlivesTheSkinItWasMadeFor) {
  const auto counted = [] { return qmtest::GdiObjectCount(); };
  const auto gone = [](const std::vector<HGDIOBJ>& objects) {
    return std::all_of(objects.begin(), objects.end(), [](HGDIOBJ h) { return GetObjectType(h) == 0; });
  };
  const auto stored = test::PackedStoredSkin(), second = PackedSecondSkin();
  {
    // Whatever GDI and the layer keep after a first use: the memory DCs of
    // bitmap canvases, for one, go back to the layer's pool to be reused.
    TSkinData warm(nullptr);
    warm.PackedSkin = TMemoryStream(stored);
    warm.LoadSkin();
  }
  const int before = counted();
  std::vector<HGDIOBJ> last;
  {
    TSkinData sd(nullptr);
    int loaded = 0;
    for (int round = 0; round < 40; ++round) {
      sd.PackedSkin = TMemoryStream(round % 4 == 3 ? second : stored);
      ASSERT_TRUE(sd.LoadSkin());
      EXPECT_TRUE(gone(last)) << "round " << round;
      last = SkinGdiObjects(*sd.Skin());
      if (round == 0) loaded = counted();
      EXPECT_TRUE(round % 4 != 0 || counted() == loaded) << "round " << round;
    }
    EXPECT_GE(static_cast<size_t>(loaded - before), last.size());
  }
  EXPECT_TRUE(gone(last));
  EXPECT_EQ(counted(), before);
}

}  // namespace
}  // namespace qm
