#pragma once
// A library form with the stored skin, and a plain window with native
// children, each with a form skinner attached: the ground the control
// skinner tests stand on.
#include <gtest/gtest.h>

#include <windows.h>

#include "../stored_skin.h"
#include "gui/forms.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/3_controls/skin_control.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"
#include "ui_driver.h"

namespace qm::test {

class SkinnedForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Skin.PackedSkin = TMemoryStream(PackedStoredSkin());
    ASSERT_TRUE(Skin.LoadSkin());
    Form.SetClientSize(420, 300);
    Form.Show();
  }

  template <class T>
  T* Add(gui::TWinControl* parent, int left, int top, int width, int height, const char* caption = "") {
    auto* control = Form.Make<T>();
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    control->SetCaption(caption);
    return control;
  }

  TWinSkinForm* Attach() {
    FormSkinner = Form.Make<TWinSkinForm>();
    FormSkinner->FHandle = Form.Handle();
    FormSkinner->AttachLibraryForm(&Skin, &Form);
    PostMessageW(Form.Handle(), WM_SKINATTACHED, 0, 1000);
    qmtest::PumpFor(300, [&] { return FormSkinner->Phase() == TWinSkinForm::phReady; });
    qmtest::PumpUntilSettled();
    return FormSkinner;
  }

  // The skinner a control got, or none.
  TSkinControl* SkinnerOf(HWND window) const {
    for (TSkinControl* s : FormSkinner->Controls().ControlSkinners())
      if (s->Handle == window) return s;
    return nullptr;
  }

  static COLORREF Pixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
  }

  TSkinData Skin{nullptr};
  gui::TForm Form{nullptr};
  TWinSkinForm* FormSkinner = nullptr;
};

}  // namespace qm::test
