// SkinView: shows one window of every skinned control kind in a packed
// skin file, the one named on the command line or default.skn beside it.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <memory>

#include "gui/graphics.h"
#include "skin_view_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                           ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  gui::Application().Title = "SkinView";
  std::unique_ptr<qm::TSkinViewForm> form;
  gui::GuardedCall([&] { form = std::make_unique<qm::TSkinViewForm>(nullptr); });
  if (!form) return 1;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::filesystem::path skin;
  if (argc > 1) {
    skin = argv[1];
  } else {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    skin = std::filesystem::path(self).parent_path() / L"default.skn";
  }
  LocalFree(argv);
  if (argc > 1 || std::filesystem::exists(skin)) form->OpenSkin(gui::Narrow(skin.wstring()));
  gui::Application().SetMainForm(form.get());
  gui::Application().Run();
  return 0;
}
