#include <gtest/gtest.h>

#include "skin/1_data/bitmap_utils.h"
#include "skin/1_data/skin_description.h"
#include "skin_fixture.h"

namespace qm {
namespace {

using test::BmpMember;
using test::Parse;
using test::Pattern;

constexpr TSkinColour Rgb(int r, int g, int b) { return static_cast<TSkinColour>(r | (g << 8) | (b << 16)); }

TEST(ParseColour, TextForms) {
  const TSkinColour def = 0xFF000012;
  EXPECT_EQ(TSkinDescription::ParseColour("220 220 220", def), Rgb(220, 220, 220));
  EXPECT_EQ(TSkinDescription::ParseColour("1,2,3", def), Rgb(1, 2, 3));
  EXPECT_EQ(TSkinDescription::ParseColour("12 34", def), Rgb(12, 0, 0));
  EXPECT_EQ(TSkinDescription::ParseColour("-1 -1 -1", def), Rgb(1, 1, 1));
  EXPECT_EQ(TSkinDescription::ParseColour("300, 0, 0", def), Rgb(44, 0, 0));
  EXPECT_EQ(TSkinDescription::ParseColour("", def), def);
  EXPECT_EQ(TSkinDescription::ParseColour("  7 8 9  ", def), Rgb(7, 8, 9));
  EXPECT_EQ(TSkinDescription::ParseColour("1 2 3 4 5", def), Rgb(1, 2, 3));
  EXPECT_EQ(TSkinDescription::ParseColour("abc", def), Rgb(0, 0, 0));  // not empty: no default
  // A run too long for 32 bits is dropped with everything after it.
  EXPECT_EQ(TSkinDescription::ParseColour("5 99999999999 6 7", def), Rgb(5, 0, 0));
  EXPECT_EQ(TSkinDescription::ParseColour("5 6 99999999999", def), Rgb(5, 6, 0));
}

TEST(SkinDescription, EmptyDescriptionGivesDefaults) {
  TSkinDescription skin;
  Parse(skin, "[Nothing]\r\n");
  for (const auto* border : {skin.BorderLeft.get(), skin.BorderRight.get(), skin.BorderTop.get(), skin.BorderBottom.get()}) {
    EXPECT_EQ(border->FrameCount, 1);
    EXPECT_EQ(border->Tile, 1);
    EXPECT_EQ(border->Trans, 1);
    EXPECT_TRUE(border->Bitmap.Empty());
  }
  EXPECT_EQ(skin.BorderLeft->Name, "Left");
  EXPECT_EQ(skin.Title->FontHeight, 14);
  EXPECT_EQ(skin.Title->FrameCount, 2);
  EXPECT_EQ(skin.Title->ActiveTextColour, TitleColourNotGiven);
  EXPECT_EQ(skin.Buttons->FrameCount, 5);
  EXPECT_EQ(skin.Buttons->NormalColour, -1);
  EXPECT_FALSE(skin.Buttons->HasNormalColour2);
  EXPECT_EQ(skin.Buttons->NormalColour2, SystemColour(18));
  EXPECT_EQ(skin.Buttons->RadioFrameCount, 4);
  for (const auto& [member, object] : skin.Elements()) {
    const std::string m = member;
    const bool always = m.rfind("Border", 0) == 0 || m == "Title" || m == "Buttons";
    EXPECT_EQ(object != nullptr, always) << m;
  }
  ASSERT_EQ(skin.SysButtons.size(), 3u);
  EXPECT_EQ(skin.SysButtons[0]->Action, 7);
  EXPECT_EQ(skin.SysButtons[2]->Action, 9);
  EXPECT_EQ(skin.SysButtons[1]->FrameCount, 4);
  EXPECT_EQ(skin.SysButtons[1]->Align, 100);
  EXPECT_TRUE(skin.SysButtons[1]->Bitmap.Empty());
  EXPECT_EQ(skin.WindowTextColour, SystemColour(8));
  EXPECT_EQ(skin.MenubarColour, SystemColour(15));
  EXPECT_EQ(skin.TitleTextNoActiveColour, SystemColour(19));
  EXPECT_TRUE(skin.ColourTable.empty());
}

TEST(SkinDescription, BordersAndTitle) {
  TSkinDescription skin;
  Parse(skin,
        "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=20\r\nTopBotHeight=65\r\nTopFrame=2\r\nTopStretch=0\r\n"
        "Left=dir\\side.bmp\r\nLeftTopHeight=40\r\nLeftBotHeight=15\r\nLeftFrame=2\r\n"
        "Bottom=Frame.BMP\r\nRight=c:side.bmp\r\nRightTrans=0\r\n"
        "TextShift=20\r\nTextShiftVert=-10\r\nTextRightClip=70\r\nActiveTextR=220\r\nActiveTextG=220\r\n"
        "ActiveTextB=220\r\nInActiveTextR=180\r\nInActiveTextG=180\r\n[Fonts]\r\nFontHeight=13\r\n",
        {BmpMember("top.bmp", 209, 78), BmpMember("side.bmp", 36, 294), BmpMember("frame.bmp", 4, 4)});
  EXPECT_EQ(skin.BorderTop->LeftWidth, 20);
  EXPECT_EQ(skin.BorderTop->RightWidth, 65);
  EXPECT_EQ(skin.BorderTop->TopHeight, 0);
  EXPECT_EQ(skin.BorderTop->Tile, 0);
  EXPECT_EQ(skin.BorderTop->Bitmap.Height() / skin.BorderTop->Frames(), 39);
  EXPECT_EQ(skin.BorderLeft->TopHeight, 40);
  EXPECT_EQ(skin.BorderLeft->BottomHeight, 15);
  EXPECT_EQ(skin.BorderLeft->LeftWidth, 0);
  EXPECT_EQ(skin.BorderLeft->Bitmap.Width() / skin.BorderLeft->Frames(), 18);
  EXPECT_TRUE(skin.BorderBottom->Bitmap.Empty());  // ".BMP" is not ".bmp"
  EXPECT_EQ(skin.BorderRight->Bitmap.Width(), 36);  // drive part dropped
  EXPECT_EQ(skin.BorderRight->Trans, 0);

  EXPECT_EQ(skin.Title->LeftWidth, 20);
  EXPECT_EQ(skin.Title->TopHeight, -10);
  EXPECT_EQ(skin.Title->RightWidth, 70);
  EXPECT_EQ(skin.Title->FontHeight, 13);
  EXPECT_EQ(skin.Title->ActiveTextColour, Rgb(220, 220, 220));
  EXPECT_EQ(skin.Title->InactiveTextColour, TitleColourNotGiven);  // blue missing
}

TEST(SkinDescription, ElementsFromTheirSections) {
  TSkinDescription skin;
  Parse(skin,
        "[ToolBars]\r\nImage=bar.bmp\r\nTile=2\r\nLeftWidth=1\r\nStyle=3\r\n"
        "[Personality]\r\nMenuBar=bar.bmp\r\nTileLeftMenu=6\r\n"
        "[Tabs]\r\nImage=bar.bmp\r\nBorder=border.bmp\r\nStyle=4\r\nNormalColour=3\r\nNormalColour2=220 220 220\r\n"
        "[Progress]\r\nImage=bar.bmp\r\n"
        "[GroupBox]\r\nImage=bar.bmp\r\nBackgroundLeftShift=-5\r\nTile=1\r\n"
        "[ComboButton]\r\nImage=combo.bmp\r\n"
        "[HorzScrollThumb]\r\nImage=bar.bmp\r\nFrameCount=0\r\n[VertScrollThumb]\r\nImage=bar.bmp\r\n"
        "[Scrollbar]\r\nImage=missing.bmp\r\n[Colours]\r\nButtonText=51 51 51\r\n",
        {BmpMember("bar.bmp", 275, 22), BmpMember("border.bmp", 32, 32), BmpMember("combo.bmp", 72, 22)});
  ASSERT_TRUE(skin.Toolbars);
  EXPECT_EQ(skin.Toolbars->Tile, 0);  // above 1 means 0
  EXPECT_EQ(skin.Toolbars->Style, 3);
  EXPECT_EQ(skin.Toolbars->Name, "Toolbars");
  EXPECT_EQ(skin.Toolbars->FrameCount, 5);
  EXPECT_EQ(skin.Toolbars->NormalColour, -1);
  EXPECT_EQ(skin.Toolbars->NormalColour2, Rgb(51, 51, 51));  // the button text colour

  ASSERT_TRUE(skin.MenuBar);
  EXPECT_EQ(skin.MenuBar->Name, "Personality");
  EXPECT_EQ(skin.MenuBar->LeftWidth, 6);
  EXPECT_EQ(skin.MenuBar->RightWidth, 1);

  ASSERT_TRUE(skin.Tabs);
  EXPECT_EQ(skin.Tabs->Style, 0);  // border elements ignore Style
  EXPECT_EQ(skin.Tabs->Bitmap2.Width(), 32);
  EXPECT_EQ(skin.Tabs->NormalColour, 3);
  EXPECT_EQ(skin.Tabs->NormalColour2, Rgb(220, 220, 220));

  EXPECT_FALSE(skin.Progress);  // needs key Bitmap, not Image
  ASSERT_TRUE(skin.GroupBox);
  EXPECT_EQ(skin.GroupBox->BackgroundLeftShift, -5);
  EXPECT_EQ(skin.GroupBox->Tile, 1);
  EXPECT_EQ(skin.GroupBox->FrameCount, 1);

  ASSERT_TRUE(skin.ComboButton);
  TSkinImage mirrored = skin.ComboButton->Bitmap;
  MirrorBitmap(mirrored);
  EXPECT_EQ(skin.ComboButton->Bitmap2, mirrored);
  EXPECT_EQ(skin.ComboButton->FrameCount, 4);

  EXPECT_EQ(skin.HorzScrollThumb->FrameCount, 0);  // stored as given...
  EXPECT_EQ(skin.HorzScrollThumb->Frames(), 1);    // ...but never divided by
  EXPECT_EQ(skin.VertScrollThumb->FrameCount, 3);
  ASSERT_TRUE(skin.Scrollbar);  // present even though its image is missing
  EXPECT_TRUE(skin.Scrollbar->Bitmap.Empty());
  EXPECT_FALSE(skin.SunkEdge);
}

TEST(SkinDescription, ProgressAndButtons) {
  TSkinDescription skin;
  Parse(skin,
        "[Progress]\r\nBitmap=bar.bmp\r\nChunk=chunk.bmp\r\nTile=5\r\nLeftWidth=2\r\n"
        "[Buttons]\r\nBitmap=bar.bmp\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\nNormalColour=0\r\n"
        "NormalColour2=0 0 0\r\nLeftWidth=4\r\nTile=3\r\n",
        {BmpMember("bar.bmp", 120, 18), BmpMember("chunk.bmp", 8, 8), BmpMember("check.bmp", 64, 16),
         BmpMember("radio.bmp", 26, 13)});
  ASSERT_TRUE(skin.Progress);
  EXPECT_EQ(skin.Progress->Tile, 5);  // not corrected here
  EXPECT_EQ(skin.Progress->Bitmap2.Width(), 8);
  EXPECT_EQ(skin.Progress->NormalColour, 0);
  EXPECT_EQ(skin.Progress->FrameCount, 2);
  EXPECT_EQ(skin.Buttons->Tile, 3);
  EXPECT_EQ(skin.Buttons->LeftWidth, 4);
  EXPECT_EQ(skin.Buttons->NormalColour, 0);
  EXPECT_TRUE(skin.Buttons->HasNormalColour2);
  EXPECT_FALSE(skin.Buttons->HasPressedColour2);
  EXPECT_EQ(skin.Buttons->CheckFrameCount, 4);  // 64 div 16
  EXPECT_EQ(skin.Buttons->RadioFrameCount, 4);  // 26 div 13 = 2, raised to 4

  TSkinDescription wide;
  Parse(wide, "[Buttons]\r\nCheckButton=check.bmp\r\nRadioButtonFrame=7\r\n", {BmpMember("check.bmp", 130, 14)});
  EXPECT_EQ(wide.Buttons->CheckFrameCount, 10);  // 130 div 13
  EXPECT_EQ(wide.Buttons->RadioFrameCount, 7);
  EXPECT_EQ(wide.Buttons->RadioFrames(), 7);
  TSkinDescription negative;
  Parse(negative, "[Buttons]\r\nRadioButtonFrame=-2\r\nCheckButtonFrame=-1\r\n");
  EXPECT_EQ(negative.Buttons->RadioFrameCount, -2);  // only 0 asks for a count from the image
  EXPECT_EQ(negative.Buttons->RadioFrames(), 1);
  EXPECT_EQ(negative.Buttons->CheckFrames(), 1);
  TSkinDescription stored;
  Parse(stored, "[Buttons]\r\nCheckButton=check.bmp\r\n", {BmpMember("check.bmp", 56, 14)});
  EXPECT_EQ(stored.Buttons->CheckFrameCount, 4);
}

TEST(SkinDescription, CaptionButtons) {
  TSkinDescription skin;
  Parse(skin,
        "[Buttons]\r\n[Button]\r\n[Button.Radio]\r\n[Button.CheckBox]\r\n"
        "[Button0]\r\nAction=0\r\nAlign=1\r\nXcoord=25\r\nYcoord=6\r\nButtonImage=wide.bmp\r\n"
        "[Button1]\r\nAction=1\r\nButtonImage=narrow.bmp\r\nVisibility=1\r\n"
        "[Button2]\r\nAction=1\r\nButtonImage=exact.bmp\r\n"
        "[Button6]\r\nAction=3\r\nButtonImage=wide.bmp\r\n"
        "[Button7]\r\nAction=3\r\nButtonImage=wide.bmp\r\nframe=6\r\n"
        "[Button8]\r\nAction=-1\r\nVisibility=10\r\n"
        "[Button9]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=narrow.bmp\r\n"
        "[ButtonX]\r\nAction=11\r\n"
        "[MDICONTROLS]\r\nImage=mdi.bmp\r\n",
        {BmpMember("wide.bmp", 114, 17), BmpMember("narrow.bmp", 57, 17), BmpMember("exact.bmp", 76, 20),
         BmpMember("mdi.bmp", 180, 14)});
  ASSERT_EQ(skin.SysButtons.size(), 7u + 3u);
  const auto& b = skin.SysButtons;
  EXPECT_EQ(b[0]->Name, "BUTTON0");
  EXPECT_EQ(b[0]->FrameCount, 6);  // 114 x 17
  EXPECT_EQ(b[0]->XCoord, 25);
  EXPECT_EQ(b[0]->YCoord, 6);
  EXPECT_EQ(b[0]->CombineOp, -1);
  EXPECT_EQ(b[0]->Visibility1, 0);
  EXPECT_EQ(b[1]->FrameCount, 3);  // 57 x 17
  EXPECT_EQ(b[1]->Visibility, 1);
  EXPECT_EQ(b[2]->FrameCount, 3);  // 76 x 20, exactly 3.8
  EXPECT_TRUE(b[3]->Bitmap.Empty());  // Action 3 without a frame key
  EXPECT_EQ(b[4]->Bitmap.Width(), 114);
  EXPECT_EQ(b[4]->FrameCount, 6);
  EXPECT_EQ(b[5]->Name, "BUTTON9");  // Button8 gave no button
  EXPECT_EQ(b[5]->FrameCount, 6);
  EXPECT_EQ(b[5]->Visibility1, -1);
  EXPECT_EQ(b[6]->Action, 11);
  EXPECT_EQ(b[6]->FrameCount, 6);  // no image

  const int xs[] = {57, 38, 19};
  for (int i = 0; i < 3; ++i) {
    const auto& mdi = *b[7 + i];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.XCoord, xs[i]);
    ASSERT_EQ(mdi.Bitmap.Width(), 60);
    EXPECT_EQ(mdi.Bitmap.Height(), 14);
    EXPECT_EQ(mdi.Bitmap.Pixel(0, 3), Pattern(180, 14).Pixel(60 * i, 3));
  }
}

TEST(SkinDescription, ColoursAndColourTable) {
  TSkinDescription skin;
  Parse(skin,
        "[Colour2]\r\ncolor=70 70 70\r\n[Colours]\r\nButtonFace=180 180 180\r\nWindowText=\r\nhilight=112,188,31\r\n"
        "[COLOUR0]\r\nColor=1 2 3\r\n[Colour9]\r\n[colour1]\r\ncolor=220 220 220\r\n[Colour2]\r\ncolor=9 9 9\r\n"
        "[TitlebarSkin]\r\nSkinName=  Lacquer  \r\n");
  EXPECT_EQ(skin.ButtonFaceColour, Rgb(180, 180, 180));
  EXPECT_EQ(skin.MenubarColour, Rgb(180, 180, 180));  // follows ButtonFace
  EXPECT_EQ(skin.WindowTextColour, SystemColour(8));    // empty value
  EXPECT_EQ(skin.HilightColour, Rgb(112, 188, 31));
  // File order, the first [Colour2] read for both of its appearances.
  EXPECT_EQ(skin.ColourTable, (std::vector<TSkinColour>{Rgb(70, 70, 70), Rgb(1, 2, 3), SystemColour(8),
                                                        Rgb(220, 220, 220), Rgb(70, 70, 70)}));
  EXPECT_EQ(skin.SkinName, "Lacquer");
}

TEST(SkinDescription, ReloadReplacesEverything) {
  TSkinDescription skin;
  Parse(skin, "[SunkEdge]\r\nImage=a.bmp\r\n[Button0]\r\nAction=0\r\n[Colour0]\r\ncolor=1 1 1\r\n",
        {BmpMember("a.bmp", 8, 8)});
  ASSERT_TRUE(skin.SunkEdge);
  ASSERT_EQ(skin.SysButtons.size(), 4u);
  Parse(skin, "[Tabs]\r\nImage=a.bmp\r\n", {BmpMember("a.bmp", 8, 8)});
  EXPECT_FALSE(skin.SunkEdge);
  EXPECT_TRUE(skin.Tabs);
  EXPECT_EQ(skin.SysButtons.size(), 3u);
  EXPECT_TRUE(skin.ColourTable.empty());
}

TEST(SkinDescription, PackageWithoutDescriptionIsRefused) {
  TSkinDescription skin;
  TMemoryStream packed(PackSkin({test::BmpMember("a.bmp", 2, 2)}));
  std::string error;
  EXPECT_FALSE(skin.LoadPackage(packed, &error));
  EXPECT_NE(error.find(".ini"), std::string::npos);
}

TEST(SkinDescription, DamagedImageMemberLeavesImageEmpty) {
  TSkinDescription skin;
  Parse(skin, "[Personality]\r\nTop=top.bmp\r\n", {{"top.bmp", {'B', 'M', 1, 2, 3}}});
  EXPECT_TRUE(skin.BorderTop->Bitmap.Empty());
}

TEST(DescribeSkin, StableLines) {
  TSkinDescription skin;
  Parse(skin, "[MenuItem]\r\nImage=a.bmp\r\nLeftWidth=6\r\n[Colour0]\r\ncolor=0 0 0\r\n", {BmpMember("a.bmp", 500, 17)});
  const std::string text = DescribeSkin(skin);
  EXPECT_NE(text.find("MenuItem = present\nMenuItem.Name = MenuItem\nMenuItem.LeftWidth = 6\n"), std::string::npos);
  EXPECT_NE(text.find("MenuItem.Bitmap = 500x17\n"), std::string::npos);
  EXPECT_NE(text.find("SunkEdge = absent\n"), std::string::npos);
  EXPECT_NE(text.find("WindowTextColour = 0xFF000008 (system 8)\n"), std::string::npos);
  EXPECT_NE(text.find("ColourTable[0] = 0x00000000 (0 0 0)\n"), std::string::npos);
  EXPECT_NE(text.find("SysButtons[2].Action = 9\n"), std::string::npos);
  EXPECT_LT(text.find("BorderLeft = present"), text.find("UpDownVert = absent"));
  EXPECT_EQ(text, DescribeSkin(skin));
}

}  // namespace
}  // namespace qm
