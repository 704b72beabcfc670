#pragma once
// The program's window. It mirrors TMainFormModel: what the user does goes
// into the model's state and its event; afterwards every control is set
// from the model again.

#include <string>
#include <vector>

#include "gui/comctrls.h"
#include "gui/dialogs.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "gui/timer.h"
#include "main_form_model.h"
#include "skin/1_data/win_skin_data.h"
#include "windows_form_host.h"

namespace qm {

class TMainForm : public gui::TForm {
  QM_GUI_CLASS(TMainForm, gui::TForm)
 public:
  // programDir: where the image and scripts go by default and where the help
  // file is looked for; the executable's own folder unless a test says else.
  explicit TMainForm(gui::TComponent* owner, const std::string& programDir = std::string());
  ~TMainForm() override;

  TMainFormModel& Model() { return FModel; }
  const std::string& ProgramDir() const { return FModel.ProgramDir; }

  // --- banner strip
  gui::TPanel* Panel3;
  gui::TImage* drawImage;
  // --- pages
  gui::TPageControl* PageControl1;
  gui::TTabSheet *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4, *TabSheet5, *TabSheet6;
  // --- file panel
  gui::TPanel* Panel1;
  gui::TGroupBox* GroupBox1;
  gui::TEdit *ghostEdit, *BeiFenEdit, *HuifuEdit;
  gui::TButton *selectButton11, *selectButton12, *selectButton13;
  // --- page 0
  gui::TComboBox* YinPanComboBox1;
  gui::TListBox *FenQuListBox0, *FenQuListBox1;
  gui::TButton *moveButton1, *MoveButton2;
  gui::TComboBox* YaSuoComboBox1;
  gui::TCheckBox *fxCheckBox1, *rbCheckBox1, *froCheckBox1, *splitCheckBox1;
  gui::TEdit* splitEdit1;
  // --- page 1
  gui::TComboBox *YinPanComboBox2, *YaSuoComboBox2;
  gui::TCheckBox *fxCheckBox2, *rbCheckBox2, *froCheckBox2, *splitCheckBox2, *szeCheckBox2;
  gui::TEdit *splitEdit2, *szeEdit2;
  // --- page 2
  gui::TComboBox *YinPanComboBox31, *FenQuComboBox31, *YinPanComboBox32, *FenQuComboBox32;
  gui::TCheckBox *fxCheckBox3, *rbCheckBox3, *froCheckBox3;
  // --- page 3
  gui::TComboBox *YinPanComboBox41, *YinPanComboBox42;
  gui::TCheckBox *fxCheckBox4, *rbCheckBox4, *froCheckBox4;
  // --- page 4
  gui::TCheckBox *firstYinPanCheckBox, *SecondYinPanCheckBox;
  gui::TEdit *firstYinPanEdit, *secondYinPanEdit;
  // --- page 5
  gui::TPanel* AboutPanel;
  gui::TLabel *http, *mail;
  // --- button row, hidden and non-visual
  gui::TButton *Button3, *Button1, *Button2, *RunButton;
  gui::TLabel* drawLabel;
  gui::TMemo* Memo1;
  gui::TSaveDialog *SaveDialog1, *SaveDialog2;
  gui::TTimer* Timer1;
  TSkinData* SkinData1;

  // --- handlers bound to the controls
  void FormCreate();
  void PageControl1Change();
  void Button2Click();
  void selectButton11Click();
  void selectButton12Click();
  void selectButton13Click();
  void Button3Click();
  void Button1Click();
  void httpClick();
  void mailClick();
  void Timer1Timer();

  // Sets every control from the model's state.
  void ShowModel();

 private:
  struct TBinding {
    TControlState* State;
    gui::TControl* Control;
  };
  void Build(const std::string& programDir);
  void BuildBanner();
  void BuildPages();
  void BuildFilePanel();
  void BuildButtons();
  void BuildAbout(gui::TTabSheet* sheet);
  void Bind();
  // Runs a handler for something the user did and shows the model after it,
  // also when the handler fails. Changes made while the model is being shown
  // are the window's own and run nothing.
  void UserEvent(const std::function<void()>& handler);
  void Choose(TEditState& edit, gui::TSaveDialog& dialog, const std::string& extension);

  template <class T>
  T* Put(gui::TWinControl* parent, const char* name, int x, int y, int w, int h, const std::string& caption = {});
  gui::TLabel* Text(gui::TWinControl* parent, int x, int y, const std::string& caption);
  gui::TCheckBox* Check(gui::TWinControl* parent, const char* name, int x, int y, int w);

  TWindowsFormHost FHost;
  TMainFormModel FModel;
  std::vector<TBinding> FBindings;
  bool FShowing = false;
};

}  // namespace qm
