#pragma once
// Plain, window-free state of the main form's controls. The window mirrors
// these; the command-line tool and the tests drive them directly. All text is
// UTF-8.

#include <string>
#include <vector>

namespace qm {

enum class TControlKind { Edit, CheckBox, PickList, ListBox, Button, Panel, PageControl, Memo };

struct TControlState {
  TControlState(std::string name, TControlKind kind) : Name(std::move(name)), Kind(kind) {}
  TControlState(const TControlState&) = delete;
  TControlState& operator=(const TControlState&) = delete;
  virtual ~TControlState() = default;

  const std::string Name;
  const TControlKind Kind;
  bool Enabled = true;
};

struct TEditState : TControlState {
  explicit TEditState(std::string name) : TControlState(std::move(name), TControlKind::Edit) {}
  std::string Text;
  // The caret and the selection after it, counted in characters: what a
  // key typed next replaces.
  int SelStart = 0;
  int SelLength = 0;
};

struct TCheckBoxState : TControlState {
  TCheckBoxState(std::string name, std::string caption)
      : TControlState(std::move(name), TControlKind::CheckBox), Caption(std::move(caption)) {}
  std::string Caption;
  bool Checked = false;
};

// A drop-down pick list (TControlKind::PickList) or a list box (ListBox).
// ItemIndex is -1 while nothing is selected.
struct TListState : TControlState {
  TListState(std::string name, TControlKind kind) : TControlState(std::move(name), kind) {}
  std::vector<std::string> Items;
  int ItemIndex = -1;

  // A pick list's text is its selected entry's text.
  std::string Text() const {
    return ItemIndex >= 0 && ItemIndex < static_cast<int>(Items.size()) ? Items[ItemIndex] : std::string();
  }
  void Clear() { Items.clear(); ItemIndex = -1; }
};

struct TButtonState : TControlState {
  TButtonState(std::string name, std::string caption)
      : TControlState(std::move(name), TControlKind::Button), Caption(std::move(caption)) {}
  std::string Caption;
};

struct TPanelState : TControlState {
  explicit TPanelState(std::string name) : TControlState(std::move(name), TControlKind::Panel) {}
};

struct TPageControlState : TControlState {
  explicit TPageControlState(std::string name) : TControlState(std::move(name), TControlKind::PageControl) {}
  int ActivePageIndex = 0;
};

// The hidden memo the script writers use as their text buffer.
struct TMemoState : TControlState {
  explicit TMemoState(std::string name) : TControlState(std::move(name), TControlKind::Memo) {}
  std::vector<std::string> Lines;
};

}  // namespace qm
