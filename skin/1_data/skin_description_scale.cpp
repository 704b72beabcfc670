#include "skin/1_data/skin_description_scale.h"

#include <memory>
#include <stdexcept>

#include "skin/1_data/skin_image_scale.h"
#include "skin/1_data/skin_scale.h"

namespace qm {

namespace {

TSkinFrames Across(int frames) { return TSkinFrames{frames > 0 ? frames : 1, 1}; }
TSkinFrames Down(int frames) { return TSkinFrames{1, frames > 0 ? frames : 1}; }

class TScaler {
 public:
  explicit TScaler(int Dpi) : FDpi(Dpi) {}

  int Length(int value) const { return ScaleSkinLength(value, FDpi); }
  void Image(TSkinImage& image, TSkinFrames frames) const {
    // At 96 DPI the images stay exactly as drawn, columns past the last
    // whole frame included.
    if (!image.Empty() && FDpi != kSkinDpi) image = ScaleSkinImage(image, FDpi, frames);
  }
  // The parts every element has: its margins and its strip.
  void Common(TDataSkinObject& e, TSkinFrames frames) const {
    e.LeftWidth = Length(e.LeftWidth);
    e.TopHeight = Length(e.TopHeight);
    e.RightWidth = Length(e.RightWidth);
    e.BottomHeight = Length(e.BottomHeight);
    Image(e.Bitmap, frames);
  }

  // A copy of the element scaled, Scale doing what its kind needs beyond
  // the common parts; an absent element stays absent.
  template <typename T, typename F>
  std::unique_ptr<T> Copy(const std::unique_ptr<T>& source, F&& Scale) const {
    if (!source) return nullptr;
    auto copy = std::make_unique<T>(*source);
    Scale(*copy);
    return copy;
  }
  template <typename T>
  std::unique_ptr<T> Plain(const std::unique_ptr<T>& source) const {
    return Copy(source, [&](T& e) { Common(e, Across(e.Frames())); });
  }

 private:
  int FDpi;
};

}  // namespace

TSkinDescription ScaledSkinDescription(const TSkinDescription& Skin, int Dpi) {
  if (Skin.Dpi != kSkinDpi) throw std::invalid_argument("only a skin as drawn, for 96 DPI, is scaled");
  if (Dpi <= 0) throw std::invalid_argument("a display scale is a positive number of dots per inch");
  const TScaler s(Dpi);
  TSkinDescription out;
  out.SkinName = Skin.SkinName;
  out.Dpi = Dpi;

  // The side borders' frames lie side by side, the top and bottom ones
  // stacked; the second image, where a skin gives one, is cut the same way.
  auto border = [&](const std::unique_ptr<TDataSkinBorder>& b, bool stacked) {
    return s.Copy(b, [&](TDataSkinBorder& e) {
      const TSkinFrames frames = stacked ? Down(e.Frames()) : Across(e.Frames());
      s.Common(e, frames);
      s.Image(e.Bitmap2, frames);
    });
  };
  out.BorderLeft = border(Skin.BorderLeft, false);
  out.BorderRight = border(Skin.BorderRight, false);
  out.BorderTop = border(Skin.BorderTop, true);
  out.BorderBottom = border(Skin.BorderBottom, true);
  out.Title = s.Copy(Skin.Title, [&](TDataSkinTitle& e) {
    s.Common(e, Down(e.Frames()));
    e.TextBackLeft = s.Length(e.TextBackLeft);
    e.TextBackRight = s.Length(e.TextBackRight);
    e.FontHeight = s.Length(e.FontHeight);
  });
  out.Buttons = s.Copy(Skin.Buttons, [&](TDataSkinButton& e) {
    s.Common(e, Across(e.Frames()));
    s.Image(e.CheckBitmap, Across(e.CheckFrames()));
    s.Image(e.RadioBitmap, Across(e.RadioFrames()));
  });
  for (const auto& b : Skin.SysButtons)
    out.SysButtons.push_back(s.Copy(b, [&](TDataSkinSysButton& e) {
      s.Common(e, Across(e.Frames()));
      e.XCoord = s.Length(e.XCoord);
      e.YCoord = s.Length(e.YCoord);
    }));

  out.MenuBar = s.Copy(Skin.MenuBar, [&](TDataSkinObject& e) { s.Common(e, Down(e.Frames())); });
  // A progress bar with a chunk image draws its frame whole, one without
  // it in two frames, the second the filled part.
  out.Progress = s.Copy(Skin.Progress, [&](TDataSkinBorder& e) {
    s.Common(e, Across(e.Bitmap2.Empty() ? e.Frames() : 1));
    s.Image(e.Bitmap2, Across(1));
  });
  out.GroupBoxEdge = s.Plain(Skin.GroupBoxEdge);
  out.GroupBox = s.Copy(Skin.GroupBox, [&](TDataSkinBoxLabel& e) {
    s.Common(e, Across(e.Frames()));
    e.BackgroundLeftShift = s.Length(e.BackgroundLeftShift);
    e.BackgroundRightShift = s.Length(e.BackgroundRightShift);
  });
  out.Toolbars = s.Plain(Skin.Toolbars);
  // The tabs' second image is the sheet's border, one picture.
  out.Tabs = s.Copy(Skin.Tabs, [&](TDataSkinBorder& e) {
    s.Common(e, Across(e.Frames()));
    s.Image(e.Bitmap2, Across(1));
  });
  out.StatusBarEdges = s.Plain(Skin.StatusBarEdges);
  // The combo button's second image is its first mirrored, and the
  // up-down's its glyphs, in the same cells.
  auto twin = [&](const std::unique_ptr<TDataSkinBorder>& b) {
    return s.Copy(b, [&](TDataSkinBorder& e) {
      s.Common(e, Across(e.Frames()));
      s.Image(e.Bitmap2, Across(e.Frames()));
    });
  };
  out.ComboButton = twin(Skin.ComboButton);
  for (auto [to, from] : {std::pair{&out.SunkEdge, &Skin.SunkEdge}, {&out.ExtraImages, &Skin.ExtraImages},
                          {&out.Headerbar, &Skin.Headerbar}, {&out.MenuItem, &Skin.MenuItem},
                          {&out.MenuBackground, &Skin.MenuBackground}, {&out.Scrollbar, &Skin.Scrollbar},
                          {&out.HorzScroll, &Skin.HorzScroll}, {&out.VertScroll, &Skin.VertScroll},
                          {&out.HorzScrollThumb, &Skin.HorzScrollThumb},
                          {&out.VertScrollThumb, &Skin.VertScrollThumb},
                          {&out.TrackbarThumbHorz, &Skin.TrackbarThumbHorz},
                          {&out.TrackbarThumbVert, &Skin.TrackbarThumbVert},
                          {&out.TrackbarThumbLeft, &Skin.TrackbarThumbLeft},
                          {&out.TrackbarThumbRight, &Skin.TrackbarThumbRight},
                          {&out.TrackbarThumbUp, &Skin.TrackbarThumbUp},
                          {&out.TrackbarThumbDown, &Skin.TrackbarThumbDown}})
    *to = s.Plain(*from);
  out.UpDownHorz = twin(Skin.UpDownHorz);
  out.UpDownVert = twin(Skin.UpDownVert);

  out.WindowTextColour = Skin.WindowTextColour;
  out.ButtonFaceColour = Skin.ButtonFaceColour;
  out.ScrollbarColour = Skin.ScrollbarColour;
  out.HilightTextColour = Skin.HilightTextColour;
  out.HilightColour = Skin.HilightColour;
  out.MenubarColour = Skin.MenubarColour;
  out.MenuColour = Skin.MenuColour;
  out.MenuTextColour = Skin.MenuTextColour;
  out.ButtonTextColour = Skin.ButtonTextColour;
  out.ButtonHilightColour = Skin.ButtonHilightColour;
  out.ButtonLightColour = Skin.ButtonLightColour;
  out.ButtonShadowColour = Skin.ButtonShadowColour;
  out.ButtonDkShadowColour = Skin.ButtonDkShadowColour;
  out.MenuBarTextColour = Skin.MenuBarTextColour;
  out.TitleTextActiveColour = Skin.TitleTextActiveColour;
  out.TitleTextNoActiveColour = Skin.TitleTextNoActiveColour;
  out.ColourTable = Skin.ColourTable;
  return out;
}

}  // namespace qm
