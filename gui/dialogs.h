#pragma once
// The open-file and save-file dialogs.

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "component.h"

namespace gui {

class TOpenDialog : public TComponent {
  QM_GUI_CLASS(TOpenDialog, TComponent, "TCommonDialog")
 public:
  explicit TOpenDialog(TComponent* owner);
  // "description|pattern|description|pattern..."
  std::string Filter;
  int FilterIndex = 1;
  std::string FileName;
  std::string DefaultExt;
  std::string InitialDir;
  std::string Title;
  // Runs the dialog modally over owner (the active window when none); true
  // with FileName set to the chosen file, false when cancelled.
  bool Execute(HWND owner = nullptr);

 protected:
  virtual DWORD ExtraFlags() const { return OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST; }
  virtual bool Show(OPENFILENAMEW& ofn) { return GetOpenFileNameW(&ofn) != 0; }
};

class TSaveDialog : public TOpenDialog {
  QM_GUI_CLASS(TSaveDialog, TOpenDialog)
 public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
  bool OverwritePrompt = false;

 protected:
  DWORD ExtraFlags() const override { return OverwritePrompt ? OFN_OVERWRITEPROMPT : 0; }
  bool Show(OPENFILENAMEW& ofn) override { return GetSaveFileNameW(&ofn) != 0; }
};

}  // namespace gui
