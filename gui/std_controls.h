#pragma once
// The standard controls: buttons, check boxes, radio buttons, edits, memos,
// drop-down lists, list boxes, labels, images, panels and group boxes.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "control.h"

namespace gui {

class TButton : public TWinControl {
  QM_GUI_CLASS(TButton, TWinControl, "TButtonControl")
 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return FDefault; }
  void SetDefault(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  bool FDefault = false;
};

// Check boxes and radio buttons: a button window that keeps a check state.
class TCheckControl : public TWinControl {
  QM_GUI_CLASS(TCheckControl, TWinControl, "TButtonControl")
 public:
  explicit TCheckControl(TComponent* owner);
  bool Checked() const;
  // Changes the state as code does: no click event, but the check-changed
  // notification so that a painter can follow.
  virtual void SetChecked(bool checked);

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  bool FChecked = false;
};

class TCheckBox : public TCheckControl {
  QM_GUI_CLASS(TCheckBox, TCheckControl, "TCustomCheckBox")
 public:
  explicit TCheckBox(TComponent* owner) : TCheckControl(owner) {}

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TRadioButton : public TCheckControl {
  QM_GUI_CLASS(TRadioButton, TCheckControl)
 public:
  explicit TRadioButton(TComponent* owner) : TCheckControl(owner) {}
  // Checking one radio button unchecks its siblings.
  void SetChecked(bool checked) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TCustomEdit : public TWinControl {
  QM_GUI_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  // The caret and the selection after it (EM_GETSEL, EM_SETSEL), counted in
  // characters of Text() rather than in the control's UTF-16 units.
  int SelStart() const;
  int SelLength() const;
  void SetSel(int start, int length);
  std::function<void(TCustomEdit&)> OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  virtual void Change();
  bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
  QM_GUI_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TMemo : public TCustomEdit {
  QM_GUI_CLASS(TMemo, TCustomEdit, "TCustomMemo")
 public:
  explicit TMemo(TComponent* owner) : TCustomEdit(owner) {}
  // Lines are separated by CR LF in the window's text.
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  void Clear() { SetCaption(std::string()); }

 protected:
  void CreateParams(TCreateParams& params) override;
};

// List boxes and drop-down lists share their item handling; only the
// messages differ.
class TCustomListControl : public TWinControl {
  QM_GUI_CLASS(TCustomListControl, TWinControl)
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const std::vector<std::string>& Items() const { return FItems; }
  std::string Item(int index) const { return FItems.at(index); }
  void Add(const std::string& item);
  void SetItem(int index, const std::string& item);
  void Delete(int index);
  void Clear();
  void SetItems(const std::vector<std::string>& items);
  // -1 while nothing is selected.
  int ItemIndex() const;
  void SetItemIndex(int index);

 protected:
  struct TListMessages {
    UINT AddString, InsertString, DeleteString, ResetContent, GetCurSel, SetCurSel;
  };
  TCustomListControl(TComponent* owner, TListMessages messages);
  void CreateWnd() override;
  std::vector<std::string> FItems;
  int FItemIndex = -1;

 private:
  TListMessages FMsg;
};

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TCustomListControl {
  QM_GUI_CLASS(TComboBox, TCustomListControl, "TCustomComboBox")
 public:
  explicit TComboBox(TComponent* owner);
  TComboBoxStyle Style = TComboBoxStyle::csDropDownList;
  int DropDownCount = 8;
  // The selected entry's text, or what was typed into a drop-down.
  std::string Caption() const override;
  std::function<void(TComboBox&)> OnChange;
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  // What the window adds below the closed box for the dropped list.
  int DroppedListHeight() const;
};

class TListBox : public TCustomListControl {
  QM_GUI_CLASS(TListBox, TCustomListControl, "TCustomListBox")
 public:
  explicit TListBox(TComponent* owner);
  // Width the lines may take; beyond the box's width it scrolls sideways.
  // Set before the window is made.
  int ScrollWidth = 0;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
  QM_GUI_CLASS(TLabel, TGraphicControl, "TCustomLabel")
 public:
  explicit TLabel(TComponent* owner);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TAlignment Alignment = TAlignment::taLeftJustify;
  void SetCaption(const std::string& caption) override;

 protected:
  void Paint() override;
  void FontChanged() override;
  void AdjustBounds();

 private:
  bool FAutoSize = true;
  bool FTransparent = false;
};

class TImage : public TGraphicControl {
  QM_GUI_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* owner);
  TBitmap& Picture() { return FPicture; }
  // The picture's canvas, as drawing on an image means drawing on its picture.
  TCanvas& Canvas() { return FPicture.Canvas(); }
  bool Stretch = false;
  bool Transparent = false;
  // An opaque picture covers its whole area: repaint without erasing first,
  // so a picture redrawn many times a second does not flicker.
  void Invalidate() override;

 protected:
  void Paint() override;

 private:
  TBitmap FPicture;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
  QM_GUI_CLASS(TPanel, TWinControl, "TCustomPanel", "TCustomControl")
 public:
  explicit TPanel(TComponent* owner);
  TBevelCut BevelOuter = TBevelCut::bvRaised;
  TBevelCut BevelInner = TBevelCut::bvNone;
  bool Border = false;  // a single black frame line

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
};

class TGroupBox : public TWinControl {
  QM_GUI_CLASS(TGroupBox, TWinControl, "TCustomGroupBox", "TCustomControl")
 public:
  explicit TGroupBox(TComponent* owner);
  void SetCaption(const std::string& caption) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
};

}  // namespace gui
