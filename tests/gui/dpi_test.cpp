// Display scales in the class layer: the rounding, the stored layout a form
// is scaled from, and a form moved between scales. Run at 96 DPI: the
// scales are asked for with ChangeScale and WM_DPICHANGED.
#include <gtest/gtest.h>

#include "gui/comctrls.h"
#include "gui/dpi.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "ui_driver.h"

using namespace gui;

namespace {

RECT PlaceInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

TEST(Dpi, LengthsAreRoundedAsWindowsRoundsItsMetrics) {
  struct {
    int Value, Dpi, Scaled;
  } const cases[] = {
      {483, 96, 483}, {483, 120, 604}, {483, 144, 725}, {483, 192, 966},  // halves away from zero
      {18, 120, 23},  {15, 120, 19},   {39, 144, 59},   {7, 120, 9},
      {-12, 120, -15}, {-12, 144, -18}, {-13, 144, -20}, {0, 192, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ScaleForDpi(c.Value, c.Dpi), c.Scaled) << c.Value << " at " << c.Dpi;
  EXPECT_EQ(RescaleDpi(725, 96, 144), 483);
}

// Scaling starts from the stored length every time, so a length that
// rounds badly at one scale comes back exact; one set by code at a scale
// is stored as that length at 96 DPI.
TEST(Dpi, DesignLengthNeverDriftsAndTakesChangesMadeByCode) {
  TDesignLength length;
  int value = 483;
  for (int i = 0; i < 20; ++i) {
    value = length.At(value, 120, 96);
    EXPECT_EQ(value, 604);
    value = length.At(value, 144, 120);
    EXPECT_EQ(value, 725);
    value = length.At(value, 96, 144);
    EXPECT_EQ(value, 483);
  }
  EXPECT_EQ(length.At(200, 192, 96), 400);  // set to 200 by code at 96 DPI
  EXPECT_EQ(length.At(300, 96, 192), 150);  // set to 300 by code at 192 DPI
}

TEST(Dpi, FormScalesItsClientControlsAndFontsAndComesBackExactly) {
  TForm form(nullptr);
  form.SetBorderStyle(TFormBorderStyle::bsDialog);
  form.SetClientSize(483, 436);
  form.Font().SetHeight(-12);
  auto* box = form.Make<TGroupBox>();
  box->SetBounds(8, 40, 222, 140);
  box->SetParent(&form);
  auto* button = form.Make<TButton>();
  button->SetBounds(99, 48, 24, 23);
  button->SetParent(box);
  auto* own = form.Make<TEdit>();
  own->SetBounds(10, 100, 52, 21);
  own->Font().Assign(form.Font());  // a font of its own, the form's size
  own->Font().SetHeight(-16);
  own->SetParent(box);
  auto* label = form.Make<TLabel>();
  label->SetBounds(12, 14, 0, 0);
  label->SetCaption("◇ 选择硬盘：");
  label->SetParent(&form);
  form.Show();
  const int labelWidth = label->Width();

  for (int dpi : {120, 144, 192, 96}) {
    form.ChangeScale(dpi);
    EXPECT_EQ(form.ClientWidth(), ScaleForDpi(483, dpi)) << dpi;
    EXPECT_EQ(form.ClientHeight(), ScaleForDpi(436, dpi)) << dpi;
    const RECT b = PlaceInParent(button->Handle());
    EXPECT_EQ(b.left, ScaleForDpi(99, dpi)) << dpi;
    EXPECT_EQ(b.right, ScaleForDpi(99 + 24, dpi)) << dpi;
    EXPECT_EQ(b.bottom, ScaleForDpi(48 + 23, dpi)) << dpi;
    EXPECT_EQ(button->Font().Height(), ScaleForDpi(-12, dpi)) << dpi;
    EXPECT_TRUE(button->ParentFont()) << dpi;
    EXPECT_EQ(own->Font().Height(), ScaleForDpi(-16, dpi)) << dpi;
    EXPECT_EQ(label->Left(), ScaleForDpi(12, dpi)) << dpi;
    // Sized to its text in the scaled font, not its 96-DPI width scaled.
    EXPECT_NEAR(label->Width(), ScaleForDpi(labelWidth, dpi), dpi / 24) << dpi;
  }
  // A control put on the form now is laid out at the form's scale.
  form.ChangeScale(144);
  auto* late = form.Make<TButton>();
  late->SetBounds(10, 10, 60, 23);
  late->SetParent(&form);
  EXPECT_EQ(late->CurrentDpi(), 144);
  EXPECT_EQ(PlaceInParent(late->Handle()).right, 105);
}

// What the system sends when the window reaches a monitor of another
// scale: the form takes the rectangle suggested, fitting its client area.
TEST(Dpi, DpiChangedMovesTheFormToTheSuggestedPlaceAtTheNewScale) {
  TForm form(nullptr);
  form.SetClientSize(300, 200);
  auto& pages = *form.Make<TPageControl>();
  pages.SetBounds(0, 0, 300, 150);
  pages.SetParent(&form);
  auto& sheet = *form.Make<TTabSheet>();
  sheet.SetPageControl(&pages);
  sheet.SetCaption("分区备份");
  form.Show();
  RECT tab96{};
  TabCtrl_GetItemRect(pages.Handle(), 0, &tab96);

  RECT suggested{200, 100, 200 + 480, 100 + 340};
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.CurrentDpi(), 192);
  RECT window, client;
  GetWindowRect(form.Handle(), &window);
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(window.left, 200);
  EXPECT_EQ(window.top, 100);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 400);
  // The tabs grow with the font and padding; the sheet fills what they leave.
  RECT tab{};
  TabCtrl_GetItemRect(pages.Handle(), 0, &tab);
  EXPECT_GT(tab.right - tab.left, tab96.right - tab96.left);
  const RECT display = pages.DisplayRect();
  EXPECT_EQ(sheet.BoundsRect().top, display.top);
  EXPECT_EQ(sheet.BoundsRect().right, display.right);
}
