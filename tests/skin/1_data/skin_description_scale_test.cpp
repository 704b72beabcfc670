// The stored default skin at display scales: every length and every image
// frame grows as Windows scales its metrics, and nothing else changes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "skin/1_data/memory_stream.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/skin_description_scale.h"
#include "skin/1_data/skin_scale.h"

namespace qm {
namespace {

TSkinDescription StoredSkin() {
  std::ifstream in(QM_DEFAULT_SKN, std::ios::binary);
  TMemoryStream stream(std::vector<uint8_t>{std::istreambuf_iterator<char>(in), {}});
  TSkinDescription skin;
  EXPECT_TRUE(skin.LoadPackage(stream));
  return skin;
}

// Frame f's size in a strip cut Across x Down.
struct SIZE {
  int cx, cy;
};
SIZE FrameSize(const TSkinImage& image, int across, int down) {
  return SIZE{image.Width() / across, image.Height() / down};
}

TEST(ScaledSkinDescription, AtNinetySixItIsTheSkinAsDrawn) {
  const TSkinDescription skin = StoredSkin();
  EXPECT_EQ(DescribeSkin(ScaledSkinDescription(skin, 96)), DescribeSkin(skin));
  const TSkinDescription scaled = ScaledSkinDescription(skin, 144);
  EXPECT_EQ(scaled.Dpi, 144);
  // Scaling twice would blur what one scale keeps sharp.
  EXPECT_THROW(ScaledSkinDescription(scaled, 192), std::invalid_argument);
  EXPECT_THROW(ScaledSkinDescription(skin, 0), std::invalid_argument);
}

TEST(ScaledSkinDescription, EveryLengthAndEveryFrameGrowsWithTheScale) {
  const TSkinDescription skin = StoredSkin();
  for (int dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const TSkinDescription scaled = ScaledSkinDescription(skin, dpi);
    auto S = [dpi](int length) { return ScaleSkinLength(length, dpi); };
    // The frame of the main window: 18/39/18/15, scaled.
    EXPECT_EQ(FrameSize(scaled.BorderLeft->Bitmap, 2, 1).cx, S(18));
    EXPECT_EQ(FrameSize(scaled.BorderTop->Bitmap, 1, 2).cy, S(39));
    EXPECT_EQ(FrameSize(scaled.BorderRight->Bitmap, 2, 1).cx, S(18));
    EXPECT_EQ(FrameSize(scaled.BorderBottom->Bitmap, 1, 2).cy, S(15));

    const auto before = skin.Elements(), after = scaled.Elements();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
      const TDataSkinObject* a = before[i].Object;
      const TDataSkinObject* b = after[i].Object;
      ASSERT_EQ(a == nullptr, b == nullptr) << before[i].Member;
      if (!a) continue;
      SCOPED_TRACE(before[i].Member);
      EXPECT_EQ(b->LeftWidth, S(a->LeftWidth));
      EXPECT_EQ(b->TopHeight, S(a->TopHeight));
      EXPECT_EQ(b->RightWidth, S(a->RightWidth));
      EXPECT_EQ(b->BottomHeight, S(a->BottomHeight));
      EXPECT_EQ(b->FrameCount, a->FrameCount);
      if (a->Bitmap.Empty()) continue;
      // Cut the way its painter cuts it, each frame is the scaled frame.
      const std::string name = before[i].Member;
      const bool stacked = name == "BorderTop" || name == "BorderBottom" || name == "Title" || name == "MenuBar";
      const int across = stacked ? 1 : a->Frames(), down = stacked ? a->Frames() : 1;
      const SIZE from = FrameSize(a->Bitmap, across, down), to = FrameSize(b->Bitmap, across, down);
      EXPECT_EQ(to.cx, S(from.cx));
      EXPECT_EQ(to.cy, S(from.cy));
      EXPECT_EQ(b->Bitmap.Width() % across, 0);
      EXPECT_EQ(b->Bitmap.Height() % down, 0);
    }
    // The check and radio cells, and the caption buttons' places and cells.
    EXPECT_EQ(FrameSize(scaled.Buttons->CheckBitmap, 4, 1).cx, S(14));
    EXPECT_EQ(FrameSize(scaled.Buttons->RadioBitmap, 4, 1).cy, S(14));
    ASSERT_EQ(scaled.SysButtons.size(), skin.SysButtons.size());
    for (size_t i = 0; i < skin.SysButtons.size(); ++i) {
      const TDataSkinSysButton &a = *skin.SysButtons[i], &b = *scaled.SysButtons[i];
      EXPECT_EQ(b.XCoord, S(a.XCoord)) << i;
      EXPECT_EQ(b.YCoord, S(a.YCoord)) << i;
      EXPECT_EQ(b.Action, a.Action) << i;
      if (!a.Bitmap.Empty()) {
        EXPECT_EQ(FrameSize(b.Bitmap, b.Frames(), 1).cx, S(FrameSize(a.Bitmap, a.Frames(), 1).cx)) << i;
      }
    }
    EXPECT_EQ(scaled.Title->TextBackLeft, S(skin.Title->TextBackLeft));
    EXPECT_EQ(scaled.ButtonFaceColour, skin.ButtonFaceColour);
    EXPECT_EQ(scaled.ColourTable, skin.ColourTable);
  }
}

}  // namespace
}  // namespace qm
