#include "cli_action.h"

#include <algorithm>
#include <vector>

#include "disk_model.h"

namespace qm::cli {

namespace {

const char* KindName(TControlKind kind) {
  switch (kind) {
    case TControlKind::Edit: return "an edit";
    case TControlKind::CheckBox: return "a check box";
    case TControlKind::PickList: return "a pick list";
    case TControlKind::ListBox: return "a list box";
    case TControlKind::Button: return "a button";
    case TControlKind::Panel: return "a panel";
    case TControlKind::PageControl: return "a page control";
    case TControlKind::Memo: return "a memo";
  }
  return "a control";
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// A plain decimal number, as an index is written on the command line.
bool ReadIndex(const std::string& text, int& value) {
  if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos) return false;
  return TryParseInteger(text, value);
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::string QuotedList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += ',';
    out += Quoted(items[i]);
  }
  return out + "]";
}

}  // namespace

std::optional<TAction> ParseAction(const std::string& argument, const TMainFormModel& form, std::string& error) {
  TAction action;
  action.Argument = argument;
  std::vector<TControlKind> fits;
  const char* fitsText = "";

  if (StartsWith(argument, "page=")) {
    action.Kind = TActionKind::Page;
    if (!ReadIndex(argument.substr(5), action.Index) || action.Index < 0 || action.Index > 5) {
      error = "bad page number in \"" + argument + "\": pages are 0 to 5";
      return std::nullopt;
    }
    return action;
  }
  if (StartsWith(argument, "click:")) {
    action.Kind = TActionKind::Click;
    action.Name = argument.substr(6);
    fits = {TControlKind::Button};
    fitsText = "a button";
  } else if (StartsWith(argument, "keys:")) {
    action.Kind = TActionKind::TypeKeys;
    const size_t mark = argument.find('=');
    if (mark == std::string::npos) {
      error = "malformed action \"" + argument + "\": expected keys:NAME=TEXT";
      return std::nullopt;
    }
    action.Name = argument.substr(5, mark - 5);
    action.Text = argument.substr(mark + 1);
    fits = {TControlKind::Edit};
    fitsText = "an edit";
  } else if (StartsWith(argument, "dump:")) {
    action.Kind = TActionKind::Dump;
    action.Name = argument.substr(5);
  } else if (StartsWith(argument, "+") || StartsWith(argument, "-")) {
    action.Kind = argument[0] == '+' ? TActionKind::Check : TActionKind::Uncheck;
    action.Name = argument.substr(1);
    fits = {TControlKind::CheckBox};
    fitsText = "a check box";
  } else {
    const size_t mark = argument.find_first_of("=#");
    if (mark == std::string::npos || mark == 0) {
      error = "malformed action \"" + argument +
              "\": expected page=N, NAME=TEXT, keys:NAME=TEXT, NAME#N, +NAME, -NAME, click:NAME or dump:NAME";
      return std::nullopt;
    }
    action.Name = argument.substr(0, mark);
    if (argument[mark] == '=') {
      action.Kind = TActionKind::SetText;
      action.Text = argument.substr(mark + 1);
      fits = {TControlKind::Edit};
      fitsText = "an edit";
    } else {
      action.Kind = TActionKind::Select;
      if (!ReadIndex(argument.substr(mark + 1), action.Index) || action.Index < -1) {
        error = "bad entry number in \"" + argument + "\": expected -1 (none) or an entry from 0";
        return std::nullopt;
      }
      fits = {TControlKind::PickList, TControlKind::ListBox};
      fitsText = "a pick list or a list box";
    }
  }

  if (action.Name.empty()) {
    error = "malformed action \"" + argument + "\": no control named";
    return std::nullopt;
  }
  const TControlState* control = form.FindControl(action.Name);
  if (!control) {
    error = "unknown control \"" + action.Name + "\" in \"" + argument + "\"";
    return std::nullopt;
  }
  if (!fits.empty() && std::find(fits.begin(), fits.end(), control->Kind) == fits.end()) {
    error = "\"" + argument + "\" needs " + fitsText + ", but " + action.Name + " is " + KindName(control->Kind);
    return std::nullopt;
  }
  return action;
}

std::string RefusalOf(const TAction& action, const TMainFormModel& form) {
  if (action.Kind == TActionKind::Page || action.Kind == TActionKind::Dump) return {};
  const TControlState& control = *form.FindControl(action.Name);
  if (!form.IsOperable(control)) return "\"" + action.Argument + "\": " + action.Name + " is disabled at that point";
  if (action.Kind == TActionKind::Select) {
    const auto& list = static_cast<const TListState&>(control);
    if (action.Index >= static_cast<int>(list.Items.size()))
      return "\"" + action.Argument + "\": " + action.Name + " has " + std::to_string(list.Items.size()) +
             " entries at that point";
  }
  return {};
}

void ApplyAction(const TAction& action, TMainFormModel& form, std::ostream& out) {
  if (action.Kind == TActionKind::Page) {
    form.PageControl1.ActivePageIndex = action.Index;
    form.PageControl1Change();
    return;
  }
  TControlState& control = *form.FindControl(action.Name);
  switch (action.Kind) {
    case TActionKind::SetText: {
      auto& edit = static_cast<TEditState&>(control);
      // Typing the text a field already holds changes nothing.
      if (edit.Text == action.Text) return;
      form.ReplaceEditText(edit, action.Text);
      break;
    }
    case TActionKind::TypeKeys:
      form.TypeKeys(static_cast<TEditState&>(control), action.Text);
      break;
    case TActionKind::Select: {
      auto& list = static_cast<TListState&>(control);
      list.ItemIndex = action.Index;
      form.ListSelected(list);
      break;
    }
    case TActionKind::Check:
    case TActionKind::Uncheck: {
      auto& box = static_cast<TCheckBoxState&>(control);
      const bool checked = action.Kind == TActionKind::Check;
      if (box.Checked == checked) return;
      box.Checked = checked;
      form.CheckBoxClicked(box);
      break;
    }
    case TActionKind::Click:
      form.ButtonClicked(static_cast<TButtonState&>(control));
      break;
    case TActionKind::Dump:
      out << DumpLine(control) << "\n";
      break;
    case TActionKind::Page:
      break;
  }
}

std::string DumpLine(const TControlState& control) {
  std::string text = "-", items = "-", index = "-", checked = "-";
  switch (control.Kind) {
    case TControlKind::Edit:
      text = Quoted(static_cast<const TEditState&>(control).Text);
      break;
    case TControlKind::CheckBox: {
      const auto& box = static_cast<const TCheckBoxState&>(control);
      text = Quoted(box.Caption);
      checked = std::string(1, box.Checked ? '1' : '0');
      break;
    }
    case TControlKind::PickList:
    case TControlKind::ListBox: {
      const auto& list = static_cast<const TListState&>(control);
      text = Quoted(list.Text());
      items = QuotedList(list.Items);
      index = std::to_string(list.ItemIndex);
      break;
    }
    case TControlKind::Button:
      text = Quoted(static_cast<const TButtonState&>(control).Caption);
      break;
    case TControlKind::PageControl:
      index = std::to_string(static_cast<const TPageControlState&>(control).ActivePageIndex);
      break;
    case TControlKind::Memo:
      items = QuotedList(static_cast<const TMemoState&>(control).Lines);
      break;
    case TControlKind::Panel:
      break;
  }
  return "dump: " + control.Name + " text=" + text + " items=" + items + " index=" + index + " checked=" + checked +
         " enabled=" + (control.Enabled ? "1" : "0");
}

}  // namespace qm::cli
