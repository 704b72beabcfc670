#pragma once
// SkinView's window: one of every control kind the skin engine paints, each
// in its usual states, for skin authors to see a skin on and for the tests
// of the control skinners. It opens any packed skin file, switches skinning
// on and off and shows a message box; its title names the skin.

#include <memory>
#include <string>
#include <vector>

#include "gui/forms.h"

namespace gui {
class TButton;
class TListBox;
class TOpenDialog;
class TPopupMenu;
class TStatusBar;
}

namespace qm {

class TSkinData;
class TSkinViewMenu;

class TSkinViewForm : public gui::TForm {
  QM_GUI_CLASS(TSkinViewForm, gui::TForm)
 public:
  explicit TSkinViewForm(gui::TComponent* Owner);
  ~TSkinViewForm() override;

  // Loads a packed skin file and puts it on the window. A file that cannot
  // be read or is not a skin gets a message; the window keeps the skin it
  // had. True when the skin was taken.
  bool OpenSkin(const std::string& Path);
  void ToggleSkinning();
  std::string SkinFile() const { return FSkinFile; }
  // Every control of the window switched off at once, to see the skin's
  // disabled looks beside nothing else; back on, the controls that were
  // off to begin with stay off.
  void SetControlsEnabled(bool Enabled);
  bool ControlsEnabled() const { return FDisabledByUser.empty(); }

  TSkinData* Skin = nullptr;
  gui::TButton *OpenButton = nullptr, *ToggleButton = nullptr, *MessageButton = nullptr;
  gui::TListBox* LongList = nullptr;
  gui::TStatusBar* StatusBar = nullptr;
  gui::TOpenDialog* OpenDialog = nullptr;
  // Right click on the window's own area: every kind of menu item.
  gui::TPopupMenu* ContextMenu = nullptr;
  // The menu bar and the MDI window it opens.
  std::unique_ptr<TSkinViewMenu> Menus;

 private:
  template <class T>
  T* Put(gui::TWinControl* Parent, const std::string& Name, int Left, int Top, int Width, int Height,
         const std::string& Caption = "");
  void BuildButtons();
  void BuildInputs();
  void BuildPages();
  void BuildGlyphButtons(gui::TWinControl* Parent);
  void ShowTitle();
  std::string FSkinFile;
  // The controls the user's switch turned off (by name: a control can go).
  std::vector<std::string> FDisabledByUser;
};

}  // namespace qm
