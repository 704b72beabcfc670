// Program entry: the application object, its title, the main form and the
// message loop.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "main_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  gui::Application().Title = "启明映像向导";
  std::unique_ptr<qm::TMainForm> form;
  gui::GuardedCall([&] { form = std::make_unique<qm::TMainForm>(nullptr); });
  if (!form) return 1;
  gui::Application().SetMainForm(form.get());
  gui::Application().Run();
  return 0;
}
