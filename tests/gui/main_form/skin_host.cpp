// Screenshot helper: the program's main window wearing another skin file,
// given as the only argument, instead of its stored skin.
#include "program_start.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  std::unique_ptr<qm::TMainForm> form = qm::StartProgram();
  if (!form) return 1;
  // Before the window is first activated, so that it is skinned once, with this skin.
  form->SkinData1->SetSkinFile(gui::Narrow(argv[1]));
  if (form->SkinData1->SkinEmpty) return 1;
  gui::Application().SetMainForm(form.get());
  gui::Application().Run();
  return 0;
}
