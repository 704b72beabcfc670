#pragma once
// A library form with the stored skin and a form skinner attached, and what
// the form-skinner tests read back from such a window.
#include <gtest/gtest.h>

#include <windows.h>

#include "../stored_skin.h"
#include "gui/forms.h"
#include "skin/1_data/loaded_skin.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_frame.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"

namespace qm::test {

inline COLORREF WindowPixel(HWND w, int x, int y) {
  HDC dc = GetWindowDC(w);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

// What a border should look like at (x, y) of a window W x H.
inline COLORREF BorderPixel(const TLoadedSkin& skin, TFrameSide side, int W, int H, int x, int y, bool active) {
  const TFrameMetrics m = SkinFrameMetrics(skin, false);
  gui::TBitmap window(W, H);
  PaintSkinBorder(skin, side, FrameSideRect(m, side, W, H), window.Canvas().Handle(), active);
  return window.Canvas().Pixel(x, y);
}

class WinSkinForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Skin.PackedSkin = TMemoryStream(test::PackedStoredSkin());
    ASSERT_TRUE(Skin.LoadSkin());
    Form.SetBorderStyle(gui::TFormBorderStyle::bsDialog);
    Form.SetClientSize(483, 436);
    Form.SetCaption("启明映像向导 V1.0");
    Form.Show();
    qmtest::PumpUntilSettled();
  }

  TWinSkinForm* AttachSkinner() { return AttachSkinner(Form); }
  // A skinner for any shown form, attached as the manager attaches one.
  TWinSkinForm* AttachSkinner(gui::TCustomForm& form) {
    auto* skinner = form.Make<TWinSkinForm>();
    skinner->FHandle = form.Handle();
    skinner->AttachLibraryForm(&Skin, &form);
    PostMessageW(form.Handle(), WM_SKINATTACHED, 0, 1000);
    qmtest::PumpFor(200, [&] { return skinner->Phase() == TWinSkinForm::phReady; });
    qmtest::PumpUntilSettled();
    return skinner;
  }

  TSkinData Skin{nullptr};
  gui::TForm Form{nullptr};
};

inline const TWinSysButton* ButtonWithAction(const TWinSkinForm& skinner, int action) {
  for (const auto& b : skinner.CaptionButtons().Buttons())
    if (b->FVisible && b->FData.Action == action) return b.get();
  return nullptr;
}

inline LPARAM ScreenPoint(HWND h, POINT windowPoint) {
  RECT r;
  GetWindowRect(h, &r);
  return MAKELPARAM(r.left + windowPoint.x, r.top + windowPoint.y);
}

}  // namespace qm::test
