#pragma once
// The element descriptions a skin is parsed into. Skinners only read these;
// none of them looks at the description text or the package.

#include <cstdint>
#include <string>

#include "skin/1_data/skin_image.h"

namespace qm {

// 0x00BBGGRR, or 0xFF000000 + n for the system colour with index n.
using TSkinColour = uint32_t;
inline constexpr TSkinColour SystemColour(int index) { return 0xFF000000u + static_cast<uint32_t>(index); }
inline constexpr bool IsSystemColour(TSkinColour c) { return (c & 0xFF000000u) == 0xFF000000u; }
// A title text colour that the description did not give.
inline constexpr TSkinColour TitleColourNotGiven = 0x1FFFFFFF;

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  // Copied whole, as its own kind, for the skin at another scale.
  explicit TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
  TSkinImage Bitmap;
  int32_t Trans = 0;
  int32_t Tile = 0;
  std::string Name;
  int32_t FrameCount = 0;
  int32_t Style = 0;
  int32_t NormalColour = 0;
  int32_t MouseOverColour = 0;
  int32_t PressedColour = 0;
  TSkinColour NormalColour2 = 0;
  TSkinColour MouseOverColour2 = 0;
  TSkinColour PressedColour2 = 0;

  // What to divide the image by: a description may give a frame count of
  // zero or less, which would make every frame size meaningless.
  int32_t Frames() const { return FrameCount > 0 ? FrameCount : 1; }
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TSkinImage Bitmap2;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t TextAlignment = 0;
  int32_t TextBackground = 0;
  int32_t FontHeight = 0;
  int32_t TextBackLeft = 0;
  int32_t TextBackRight = 0;
  TSkinColour ActiveTextColour = 0;
  TSkinColour InactiveTextColour = 0;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TSkinImage CheckBitmap;
  TSkinImage RadioBitmap;
  int32_t RadioFrameCount = 0;
  int32_t CheckFrameCount = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;

  // As Frames(): a negative RadioButtonFrame or CheckButtonFrame is kept as
  // given, but never divided by.
  int32_t RadioFrames() const { return RadioFrameCount > 0 ? RadioFrameCount : 1; }
  int32_t CheckFrames() const { return CheckFrameCount > 0 ? CheckFrameCount : 1; }
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};

}  // namespace qm
