#include <gtest/gtest.h>

#include "skin/1_data/bitmap_utils.h"
#include "skin/1_data/skin_draw_text.h"
#include "skin/1_data/win_skin_bitmap.h"
#include "skin_fixture.h"

namespace qm {
namespace {

TEST(WinSkinBitmap, AssignAndTurnGuiBitmaps) {
  const TSkinImage src = test::Pattern(3, 2);
  gui::TBitmap bmp;
  AssignSkinImage(bmp, src);
  ASSERT_EQ(bmp.Width(), 3);
  EXPECT_EQ(SkinImageOf(bmp), src);

  RotateBitmapLeft(bmp);
  ASSERT_EQ(bmp.Width(), 2);
  ASSERT_EQ(bmp.Height(), 3);
  TSkinImage expected = src;
  RotateBitmapLeft(expected);
  EXPECT_EQ(SkinImageOf(bmp), expected);
  RotateBitmapRight(bmp);
  EXPECT_EQ(SkinImageOf(bmp), src);

  MirrorBitmap(bmp);
  FlipBitmap(bmp);
  expected = src;
  MirrorBitmap(expected);
  FlipBitmap(expected);
  EXPECT_EQ(SkinImageOf(bmp), expected);

  AssignSkinImage(bmp, TSkinImage());
  EXPECT_TRUE(bmp.Empty());
}

TEST(SkinDrawText, MeasuringLeavesTheRectangleAlone) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  const RECT rect{0, 0, 200, 100};
  const bool nt = SkinPlatformIsNT;
  for (bool wide : {true, false}) {
    SkinPlatformIsNT = wide;
    RECT copy = rect;
    const int height = SkinDrawText(dc, L"Skin text", copy, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    EXPECT_EQ(copy.left, rect.left);
    EXPECT_EQ(copy.right, rect.right);
    EXPECT_EQ(copy.bottom, rect.bottom);
    EXPECT_GT(SkinDrawText(dc, L"", copy, DT_CALCRECT | DT_SINGLELINE), 0);
  }
  SkinPlatformIsNT = nt;
  DeleteDC(dc);
}

}  // namespace
}  // namespace qm
