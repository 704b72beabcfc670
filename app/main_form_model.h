#pragma once
// The main form as plain state plus its operations. One implementation of
// every handler, shared by the window (which mirrors this state into real
// controls) and by qiming-cli.

#include <string>
#include <vector>

#include "control_state.h"
#include "form_host.h"

namespace qm {

class TMainFormModel {
 public:
  explicit TMainFormModel(IFormHost& host);

  // --- file panel (shared by pages 0..3)
  TPanelState Panel1{"Panel1"};
  TEditState ghostEdit{"ghostEdit"};
  TButtonState selectButton11{"selectButton11", "选  择"};
  TEditState BeiFenEdit{"BeiFenEdit"};
  TButtonState selectButton12{"selectButton12", "选  择"};
  TEditState HuifuEdit{"HuifuEdit"};
  TButtonState selectButton13{"selectButton13", "选  择"};

  TPageControlState PageControl1{"PageControl1"};

  // --- page 0 "分区备份"
  TListState YinPanComboBox1{"YinPanComboBox1", TControlKind::PickList};
  TListState FenQuListBox0{"FenQuListBox0", TControlKind::ListBox};
  TListState FenQuListBox1{"FenQuListBox1", TControlKind::ListBox};
  TButtonState moveButton1{"moveButton1", ">"};
  TButtonState MoveButton2{"MoveButton2", "<"};
  TListState YaSuoComboBox1{"YaSuoComboBox1", TControlKind::PickList};
  TCheckBoxState fxCheckBox1{"fxCheckBox1", "操作结束退出时自动回到DOS提示符"};
  TCheckBoxState rbCheckBox1{"rbCheckBox1", "操作结束退出时自动重启"};
  TCheckBoxState froCheckBox1{"froCheckBox1", "挽救硬盘坏道中的数据"};
  TCheckBoxState splitCheckBox1{"splitCheckBox1", "将映像文件分卷，每卷"};
  TEditState splitEdit1{"splitEdit1"};

  // --- page 1 "硬盘备份"
  TListState YinPanComboBox2{"YinPanComboBox2", TControlKind::PickList};
  TListState YaSuoComboBox2{"YaSuoComboBox2", TControlKind::PickList};
  TCheckBoxState fxCheckBox2{"fxCheckBox2", "操作结束退出时自动回到DOS提示符"};
  TCheckBoxState rbCheckBox2{"rbCheckBox2", "操作结束退出时自动重启"};
  TCheckBoxState froCheckBox2{"froCheckBox2", "挽救硬盘坏道中的数据"};
  TCheckBoxState splitCheckBox2{"splitCheckBox2", "将映像文件分卷，每卷"};
  TEditState splitEdit2{"splitEdit2"};
  TCheckBoxState szeCheckBox2{"szeCheckBox2", "映像文件还原时分区调整比例（例如 30：30：40）"};
  TEditState szeEdit2{"szeEdit2"};

  // --- page 2 "分区对拷"
  TListState YinPanComboBox31{"YinPanComboBox31", TControlKind::PickList};
  TListState FenQuComboBox31{"FenQuComboBox31", TControlKind::PickList};
  TListState YinPanComboBox32{"YinPanComboBox32", TControlKind::PickList};
  TListState FenQuComboBox32{"FenQuComboBox32", TControlKind::PickList};
  TCheckBoxState fxCheckBox3{"fxCheckBox3", "操作结束退出时自动回到DOS提示符"};
  TCheckBoxState rbCheckBox3{"rbCheckBox3", "操作结束退出时自动重启"};
  TCheckBoxState froCheckBox3{"froCheckBox3", "挽救硬盘坏道中的数据"};

  // --- page 3 "硬盘对拷"
  TListState YinPanComboBox41{"YinPanComboBox41", TControlKind::PickList};
  TListState YinPanComboBox42{"YinPanComboBox42", TControlKind::PickList};
  TCheckBoxState fxCheckBox4{"fxCheckBox4", "操作结束退出时自动回到DOS提示符"};
  TCheckBoxState rbCheckBox4{"rbCheckBox4", "操作结束退出时自动重启"};
  TCheckBoxState froCheckBox4{"froCheckBox4", "挽救硬盘坏道中的数据"};

  // --- page 4 "系统设置"
  TCheckBoxState firstYinPanCheckBox{"firstYinPanCheckBox", "第一硬盘 中的分区数量："};
  TEditState firstYinPanEdit{"firstYinPanEdit"};
  TCheckBoxState SecondYinPanCheckBox{"SecondYinPanCheckBox", "第二硬盘 中的分区数量："};
  TEditState secondYinPanEdit{"secondYinPanEdit"};

  // --- button row and hidden buffer
  TButtonState Button3{"Button3", "帮  助"};
  TButtonState Button1{"Button1", "在线帮助"};
  TButtonState Button2{"Button2", "退  出"};
  TButtonState RunButton{"RunButton", "生成批处理文件"};
  TMemoState Memo1{"Memo1"};

  // --- module variables
  std::string ProgramDir;  // as the directory-of-path operation gives it
  std::string GhostDir;    // ProgramDir + "\Ghost"
  int FQBFYinPan = 0;      // disk of the chosen partitions, 0 while none
  int BannerX = 0;
  int BannerWidth = 0;

  // Every control above, in declaration order, for lookup by name.
  const std::vector<TControlState*>& Controls() const { return FControls; }
  TControlState* FindControl(const std::string& name) const;
  // Whether a user can operate the control now: it is enabled and so is the
  // panel holding it (disabling Panel1 disables the whole file panel).
  bool IsOperable(const TControlState& control) const;

  // --- generic events, dispatched to the bound handlers below. The host
  // first stores what the user did (new text, check, selection, page) in the
  // state, then calls the matching event.
  void EditChanged(TEditState& edit);
  void CheckBoxClicked(TCheckBoxState& box);
  void ListSelected(TListState& list);
  void ButtonClicked(TButtonState& button);  // only the model-side buttons
  // Sets an edit's text as code does; raises its change event when the text
  // actually changes, as a real edit does. The caret goes before the text.
  void SetEditText(TEditState& edit, const std::string& text);
  // The user replaces an edit's whole text (selects all, then types or
  // pastes): the caret ends after it, then the change event runs.
  void ReplaceEditText(TEditState& edit, const std::string& text);
  // The user types keys one by one at the caret, each replacing the
  // selection and raising the change event, as a real edit does.
  void TypeKeys(TEditState& edit, const std::string& keys);

  // --- operations of the form (names as bound by the form description)
  // bannerWidth: the banner text's width in the 16-pixel label font;
  // imageWidth: the banner image's width (481).
  void FormCreate(const std::string& programDir, int imageWidth = 481, int bannerWidth = 0);
  void PageControl1Change();
  void RunButtonClick();
  // "退  出": the program ends; whoever hosts the form stops on Terminated.
  void Button2Click();
  bool Terminated = false;

  void AddYinPan();
  void FQBFAddFenQu();
  void FQDKAddFenQu();
  void YinPanComboBox1Change();
  void YinPanComboBox31Change();
  void YinPanComboBox32Change();
  void SecondYinPanCheckBoxClick();
  void firstYinPanEditChange();
  void secondYinPanEditChange();
  void moveButton1Click();
  void MoveButton2Click();

  bool FQBFCeSi();
  bool YPBFCeSi();
  bool FQDKCeSi();
  bool YPDKCeSi();
  void FQBFBeiFen();
  void FQBFHuiFu();
  void YPBFBeiFen();
  void YPBFHuiFu();
  void FQDKBeiFen();
  void FQDKHuiFu();
  void YPDKBeiFen();
  void YPDKHuiFu();

  void splitCheckBox1Click();
  void splitCheckBox2Click();
  void szeCheckBox2Click();
  void splitEdit1Change(TEditState& sender);  // shared by splitEdit1 and splitEdit2

  // One banner tick after the image was cleared: moves left one pixel and
  // wraps to imageWidth once the text has wholly left the strip. Returns the
  // x at which to draw the text this tick.
  int Timer1Timer(int imageWidth = 481);

  // The chooser rule: append ext (lower case) unless the lower-cased name
  // already contains it anywhere.
  static std::string WithExtension(const std::string& chosen, const std::string& ext);

  // Page 0's partition list for Ghost: FQBFYinPan, then ":" and the partition number
  // of each chosen entry in list order (1:1:3).
  std::string PartitionSpec() const;

  // The lines of an operation page's backup or restore script as its
  // writer builds them, with line 9 from when. Empty for pages 4 and 5.
  std::vector<std::string> BackupScriptLines(int page, const TLocalTime& when) const;
  std::vector<std::string> RestoreScriptLines(int page, const TLocalTime& when) const;

 private:
  void FillPartitions(TListState& list, const TListState& disk);
  std::vector<std::string> CopyScriptLines(int page, bool reverse, const TLocalTime& when) const;
  // Shows why a page's scripts cannot be written; false if either cannot.
  bool ScriptsCanBeWritten(int page);
  // Shows which two fields name one file; false if any two do.
  bool ScriptPathsApart();
  // Puts text back into an edit the user got wrong, selected, so that what
  // the user types next replaces it.
  void PutBack(TEditState& edit, const std::string& text);
  // The file's bytes; EScriptTextError when the script cannot be written as
  // it stands or its Ghost command would not reach Ghost whole.
  std::string ScriptBytes(const std::vector<std::string>& lines) const;
  void WriteScript(const std::vector<std::string>& lines, const std::string& path);
  void CountEditChange(TEditState& edit);

  IFormHost& FHost;
  std::vector<TControlState*> FControls;
};

// Constant texts shared by the window, the tool and the tests.
extern const char* const BannerText;
extern const char* const HomePageAddress;
extern const char* const AuthorMail;
extern const char* const CompletionMessage;

}  // namespace qm
