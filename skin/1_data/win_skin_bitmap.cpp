#include "skin/1_data/win_skin_bitmap.h"

#include <cstring>

#include "skin/1_data/bitmap_transforms.h"

namespace qm {

void AssignSkinImage(gui::TBitmap& Target, const TSkinImage& Source) {
  Target.SetSize(0, 0);
  if (Source.Empty()) return;
  Target.SetSize(Source.Width(), Source.Height());
  for (int y = 0; y < Source.Height(); ++y) std::memcpy(Target.ScanLine(y), Source.ScanLine(y), Source.RowBytes());
}

TSkinImage SkinImageOf(const gui::TBitmap& Source) {
  TSkinImage image(Source.Width(), Source.Height());
  for (int y = 0; y < image.Height(); ++y) std::memcpy(image.ScanLine(y), Source.ScanLine(y), image.RowBytes());
  return image;
}

void MirrorBitmap(gui::TBitmap& Bitmap) { detail::MirrorImage(Bitmap); }
void FlipBitmap(gui::TBitmap& Bitmap) { detail::FlipImage(Bitmap); }
void RotateBitmapLeft(gui::TBitmap& Bitmap) { detail::TurnImage(Bitmap, detail::TurnLeft); }
void RotateBitmapRight(gui::TBitmap& Bitmap) { detail::TurnImage(Bitmap, detail::TurnRight); }

void ForEachSkinImage(const TSkinDescription& Skin, const std::function<void(const TSkinImage&)>& Visit) {
  for (const auto& element : Skin.Elements()) {
    if (!element.Object) continue;
    Visit(element.Object->Bitmap);
    if (const auto* border = dynamic_cast<const TDataSkinBorder*>(element.Object)) Visit(border->Bitmap2);
    if (const auto* button = dynamic_cast<const TDataSkinButton*>(element.Object)) {
      Visit(button->CheckBitmap);
      Visit(button->RadioBitmap);
    }
  }
  for (const auto& button : Skin.SysButtons) Visit(button->Bitmap);
}

void TSkinBitmaps::Build(const TSkinDescription& Skin) {
  // Made aside and swapped in, so that a failure part-way leaves no mix of
  // two skins.
  decltype(FBitmaps) made;
  ForEachSkinImage(Skin, [&made](const TSkinImage& image) {
    if (image.Empty()) return;
    auto bitmap = std::make_unique<gui::TBitmap>();
    AssignSkinImage(*bitmap, image);
    made[&image] = std::move(bitmap);
  });
  FBitmaps.swap(made);
}

gui::TBitmap* TSkinBitmaps::Find(const TSkinImage& Image) const {
  const auto found = FBitmaps.find(&Image);
  return found == FBitmaps.end() ? nullptr : found->second.get();
}

}  // namespace qm
