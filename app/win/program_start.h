#pragma once
// The program's start, shared by its entry point and the screenshot host
// that shows the same window in another skin.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "html_help.h"
#include "main_form.h"

namespace qm {

// The common controls, the application's title and the main form; none when
// the form could not be made (the failure has been shown).
inline std::unique_ptr<TMainForm> StartProgram() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  gui::Application().Title = "启明映像向导";
  gui::Application().OnMessage = [](MSG& msg) { return PreTranslateHelpMessage(msg); };
  std::unique_ptr<TMainForm> form;
  gui::GuardedCall([&] { form = std::make_unique<TMainForm>(nullptr); });
  return form;
}

}  // namespace qm
