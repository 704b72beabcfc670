#pragma once
// One action of the command line, applied to the form the way the window
// would apply what the user did.

#include <optional>
#include <ostream>
#include <string>

#include "main_form_model.h"

namespace qm::cli {

enum class TActionKind { Page, SetText, TypeKeys, Select, Check, Uncheck, Click, Dump };

struct TAction {
  TActionKind Kind = TActionKind::Dump;
  std::string Argument;  // as given, for messages
  std::string Name;      // the control; empty for Page
  std::string Text;      // SetText, TypeKeys
  int Index = 0;         // Page, Select
};

// Reads one argument: page=N, NAME=TEXT, keys:NAME=TEXT, NAME#N, +NAME,
// -NAME, click:NAME, dump:NAME. The control must exist and be of a kind the action fits; on
// anything else error says why and nothing is returned.
std::optional<TAction> ParseAction(const std::string& argument, const TMainFormModel& form, std::string& error);

// What would stop the action in the form's present state: a control the
// user cannot operate now, or an entry the list does not have. Empty if
// the action can be applied.
std::string RefusalOf(const TAction& action, const TMainFormModel& form);

// Stores the new state and raises the control's event. Exceptions of the
// handlers pass through, as they do to the window's error box.
void ApplyAction(const TAction& action, TMainFormModel& form, std::ostream& out);

// "dump: NAME text="…" items=[…] index=N checked=1|0|- enabled=1|0".
std::string DumpLine(const TControlState& control);

}  // namespace qm::cli
