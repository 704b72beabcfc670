// Program entry: the application object, its title, the main form and the
// message loop.
#include "program_start.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::unique_ptr<qm::TMainForm> form = qm::StartProgram();
  if (!form) return 1;
  gui::Application().SetMainForm(form.get());
  gui::Application().Run();
  return 0;
}
