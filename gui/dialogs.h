#pragma once
// The save-file dialog.

#include <windows.h>

#include <string>

#include "component.h"

namespace gui {

class TSaveDialog : public TComponent {
  QM_GUI_CLASS(TSaveDialog, TComponent, "TOpenDialog", "TCommonDialog")
 public:
  explicit TSaveDialog(TComponent* owner);
  // "description|pattern|description|pattern..."
  std::string Filter;
  int FilterIndex = 1;
  std::string FileName;
  std::string DefaultExt;
  std::string InitialDir;
  std::string Title;
  bool OverwritePrompt = false;
  // Runs the dialog modally over owner (the active window when none); true
  // with FileName set to the chosen file, false when cancelled.
  bool Execute(HWND owner = nullptr);
};

}  // namespace gui
