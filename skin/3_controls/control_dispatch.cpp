#include "skin/3_controls/control_dispatch.h"

#include <algorithm>
#include <functional>
#include <string>

#include "gui/comctrls.h"
#include "gui/debug_report.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "skin/1_data/loaded_skin.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/3_controls/form_skinner_link.h"
#include "skin/3_controls/skin_button.h"
#include "skin/3_controls/skin_check_box.h"
#include "skin/3_controls/skin_combo_box.h"
#include "skin/3_controls/skin_common_controls.h"
#include "skin/3_controls/skin_scrollbar.h"
#include "skin/3_controls/skin_tab.h"
#include "skin/3_controls/skin_up_down.h"

namespace qm {

namespace {

enum class TSkinnerKind {
  Button,
  CheckBox,
  RadioButton,
  GroupBox,
  Box,
  Tab,
  Tab31,
  TrackBar,
  UpDown,
  ComBox,
  Edit,
  Scrollbar,
  ListView,
  Progress,
  Sizer,
  None,  // no skinner: only the children are looked at
};

// The skinner of a kind, owned by Owner; nullptr for the kinds that have no
// skinner in this build, whose controls keep their native look.
TSkinControl* MakeSkinner(TSkinnerKind Kind, gui::TComponent* Owner) {
  switch (Kind) {
    case TSkinnerKind::Button: return Owner->Make<TSkinButton>();
    case TSkinnerKind::CheckBox: return Owner->Make<TSkinCheckBox>();
    case TSkinnerKind::RadioButton: return Owner->Make<TSkinRadioButton>();
    case TSkinnerKind::GroupBox: return Owner->Make<TSkinGroupBox>();
    case TSkinnerKind::Box: return Owner->Make<TSkinBox>();
    case TSkinnerKind::Tab: return Owner->Make<TSkinTab>();
    case TSkinnerKind::Tab31: return Owner->Make<TSkinTab31>();
    case TSkinnerKind::TrackBar: return Owner->Make<TSkinTrackBar>();
    case TSkinnerKind::Progress: return Owner->Make<TSkinProgress>();
    case TSkinnerKind::Sizer: return Owner->Make<TSkinSizer>();
    case TSkinnerKind::UpDown: return Owner->Make<TSkinUpDown>();
    case TSkinnerKind::ComBox: return Owner->Make<TSkinComBox>();
    case TSkinnerKind::Edit: return Owner->Make<TSkinEdit>();
    case TSkinnerKind::Scrollbar: return Owner->Make<TSkinScrollbar>();
    case TSkinnerKind::ListView: return Owner->Make<TSkinListView>();
    default: return nullptr;
  }
}

enum class TStart { Control, Window, Scroll };

struct TClassRow {
  std::function<bool(const gui::TComponent&, const std::string& upper)> Test;
  std::function<bool(const TSkinData&)> Gate;
  TSkinnerKind Kind;
  TStart Start = TStart::Control;
  bool Recolour = false;  // or, for Scroll, the scroll flag
  bool OwnedByFormSkinner = false;
  bool Recurse = false;  // the control holds controls that are looked at too
  const char* FlatProperty = nullptr;
};

bool Has(const TSkinData& sd, TSkinControlType t) { return sd.SkinControls.Contains(t); }
auto Gate(TSkinControlType t) {
  return [t](const TSkinData& sd) { return Has(sd, t); };
}
auto TabGate() {
  return [](const TSkinData& sd) { return Has(sd, TSkinControlType::xcTab) && sd.Skin() && sd.Skin()->Tabs; };
}
auto Named(std::initializer_list<const char*> names) {
  std::vector<std::string> list(names.begin(), names.end());
  return [list](const gui::TComponent&, const std::string& upper) {
    return std::find(list.begin(), list.end(), upper) != list.end();
  };
}
auto Is(const char* libraryClass) {
  return [libraryClass](const gui::TComponent& c, const std::string&) { return c.InheritsFrom(libraryClass); };
}
auto Always() {
  return [](const TSkinData&) { return true; };
}

// A bare button's skinner by its type, which is a number under
// BS_TYPEMASK, not a set of flags. Buttons whose face carries more than the
// push skinner draws (a split button's arrow, a command link's note) and
// those their owner paints keep their own look.
TSkinnerKind ButtonKind(LONG_PTR Style) {
  switch (Style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_PUSHBOX: return TSkinnerKind::Button;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return TSkinnerKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return TSkinnerKind::RadioButton;
    default: return TSkinnerKind::None;  // group box, owner-drawn, split, command link
  }
}

// A date-time picker that edits with arrows has no drop-down to draw: it is
// an edit with an up-down inside.
bool IsUpDownPicker(const gui::TComponent& c, const std::string& upper) {
  if (upper != "TDATETIMEPICKER") return false;
  auto* control = dynamic_cast<const gui::TWinControl*>(&c);
  if (!control || !control->HandleAllocated()) return false;
  HWND h = const_cast<gui::TWinControl*>(control)->Handle();
  return (GetWindowLongPtrW(h, GWL_STYLE) & DTS_UPDOWN) != 0;
}

// A windowed control with scroll bars, or one that always scrolls.
bool NeedsScrollSkinner(const gui::TComponent& c) {
  auto* control = dynamic_cast<const gui::TWinControl*>(&c);
  if (!control) return false;
  if (c.InheritsFrom("TCustomListBox") || c.InheritsFrom("TCustomMemo") || c.Tag == 55) return true;
  if (!control->HandleAllocated()) return false;
  HWND h = const_cast<gui::TWinControl*>(control)->Handle();
  return (GetWindowLongPtrW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

const std::vector<TClassRow>& ClassRows() {
  using enum TSkinControlType;
  static const std::vector<TClassRow> rows = {
      {Named({"TTABSET"}), TabGate(), TSkinnerKind::Tab31},
      {Named({"TTABBEDNOTEBOOK"}), TabGate(), TSkinnerKind::Tab, TStart::Window},
      {Named({"TMVCPANEL"}), Always(), TSkinnerKind::None, TStart::Control, false, false, true},
      {Is("TCustomTabControl"), TabGate(), TSkinnerKind::Tab, TStart::Window, false, true},
      {Is("TCustomCheckBox"), Gate(xcCheckBox), TSkinnerKind::CheckBox},
      {Is("TRadioButton"), Gate(xcRadioButton), TSkinnerKind::RadioButton},
      {Named({"TTRACKBAR"}), Gate(xcButton), TSkinnerKind::TrackBar},
      {Named({"TUPDOWN"}), Gate(xcButton), TSkinnerKind::UpDown},
      {Named({"TDBNAVIGATOR"}), Gate(xcPanel), TSkinnerKind::Box, TStart::Control, true, false, false, "Flat"},
      {Is("TCustomGroupBox"), Gate(xcPanel), TSkinnerKind::GroupBox, TStart::Control, true, false, true},
      {Is("TCustomComboBox"), Gate(xcCombo), TSkinnerKind::ComBox},
      {IsUpDownPicker, Gate(xcEdit), TSkinnerKind::Edit},
      {Named({"TDATETIMEPICKER"}), Gate(xcEdit), TSkinnerKind::ComBox},
      {Named({"TRICHEDIT"}), Gate(xcScrollbar), TSkinnerKind::Scrollbar, TStart::Scroll, true},
      {Named({"TWWDBRICHEDIT", "TDXDBMEMO"}), Gate(xcScrollbar), TSkinnerKind::Scrollbar, TStart::Scroll, true},
      {Is("TCustomPanel"), Gate(xcPanel), TSkinnerKind::Box, TStart::Control, true, false, true},
      {Named({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}), Gate(xcScrollbar), TSkinnerKind::Scrollbar,
       TStart::Scroll, false},
      {Is("TCustomMemo"), Gate(xcScrollbar), TSkinnerKind::Scrollbar, TStart::Scroll, true},
      // Its column header comes with it.
      {Is("TCustomListView"), Gate(xcScrollbar), TSkinnerKind::ListView, TStart::Scroll, true},
      {[](const gui::TComponent& c, const std::string&) { return NeedsScrollSkinner(c); }, Gate(xcScrollbar),
       TSkinnerKind::Scrollbar, TStart::Scroll, true},
      {Is("TButton"), Gate(xcButton), TSkinnerKind::Button},
      {Is("TCustomEdit"), Gate(xcEdit), TSkinnerKind::Edit, TStart::Window},
      {Is("TCustomForm"), Always(), TSkinnerKind::Box, TStart::Control, true, false, true},
  };
  return rows;
}

std::string LowerCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Tag modulo 100 with the sign of Tag, as the disable tag is compared.
int TagClass(int Tag) { return Tag % 100; }

bool IsPreviewForm(const gui::TComponent* Container) {
  auto* form = dynamic_cast<const gui::TCustomForm*>(Container);
  if (!form) return false;
  const std::string cls = form->ClassName();
  return LowerCase(form->Name).find("preview") != std::string::npos || cls == "TQRStandardPreview" ||
         cls == "TppPrintPreview" || cls == "TdxfmStdPreview";
}

}  // namespace

bool TControlDispatch::IsAlreadySkinned(gui::TComponent* Component, gui::TComponent* Container) const {
  auto* windowed = dynamic_cast<gui::TWinControl*>(Component);
  for (TSkinControl* s : FForm.ControlSkinners()) {
    if (s->Control == Component || s->Owner() == Component) return true;
    if (windowed && windowed->HandleAllocated() && s->Handle == windowed->Handle()) return true;
  }
  return windowed && !windowed->HandleAllocated() && IsPreviewForm(Container);
}

void TControlDispatch::StartSkinner(TSkinControl* Skinner, gui::TComponent* Component, int Start, bool Recolour) {
  if (!Skinner) return;
  try {
    StartSkinnerAs(Skinner, Component, Start, Recolour);
  } catch (...) {
    // A control whose skinner cannot start keeps its own look; the others
    // are skinned all the same.
    gui::DebugReport(L"starting " + gui::Widen(Skinner->ClassName()), Skinner->Handle);
    Skinner->RestoreControl();
    FForm.RemoveControl(Skinner);
    Skinner->Free();
  }
}

void TControlDispatch::StartSkinnerAs(TSkinControl* Skinner, gui::TComponent* Component, int Start, bool Recolour) {
  switch (static_cast<TStart>(Start)) {
    case TStart::Control: Skinner->InitControl(&FForm, &FSkinData, Recolour); break;
    case TStart::Scroll:
      // For scrolled controls the flag says whether the skinner drags the thumb.
      if (auto* scroller = dynamic_cast<TSkinScrollbar*>(Skinner))
        scroller->InitScroll(&FForm, &FSkinData, Recolour);
      else
        Skinner->InitControl(&FForm, &FSkinData, Recolour);
      break;
    case TStart::Window:
      if (auto* windowed = dynamic_cast<gui::TWinControl*>(Component))
        Skinner->InitWindow(windowed->Handle(), &FSkinData, &FForm);
      break;
  }
}

void TControlDispatch::SkinComponents(gui::TComponent* Container) {
  FForm.SweepControls();
  for (gui::TComponent* component : Container->ComponentList()) {
    try {
      SkinComponent(component, Container);
    } catch (...) {
      // The host's OnSkinControl, say: this control stays as it is.
      auto* windowed = dynamic_cast<gui::TWinControl*>(component);
      gui::DebugReport(L"skinning control \"" + gui::Widen(component->Name) + L"\" (" +
                           gui::Widen(component->ClassName()) + L")",
                       windowed && windowed->HandleAllocated() ? windowed->Handle() : FForm.SkinnedWindow());
    }
  }
}

void TControlDispatch::SkinComponent(gui::TComponent* Component, gui::TComponent* Container) {
  TSkinData& sd = FSkinData;
  if (TagClass(Component->Tag) == sd.DisableTag || IsAlreadySkinned(Component, Container)) return;
  auto* control = dynamic_cast<gui::TControl*>(Component);
  if (auto* windowed = dynamic_cast<gui::TWinControl*>(Component)) {
    try {
      windowed->HandleNeeded();
    } catch (...) {
      // A control that cannot have a window stays as it is.
      gui::DebugReport(L"making the window of control \"" + gui::Widen(Component->Name) + L"\"", FForm.SkinnedWindow());
      return;
    }
  }
  const std::string upper = gui::UpperCase(Component->ClassName());
  if (sd.OnSkinControl) {
    gui::TComponent* made = nullptr;
    sd.OnSkinControl(FForm.LinkComponent(), &sd, dynamic_cast<gui::TControl*>(Container), control, upper, made);
    if (auto* skinner = dynamic_cast<TSkinControl*>(made)) {
      if (!FForm.AddControl(skinner)) StartSkinner(skinner, Component, static_cast<int>(TStart::Control), skinner->Recolour);
      if (Component->InheritsFrom("TCustomPanel")) SkinComponents(Component);
      return;
    }
  }
  if (upper == "TDBCOMBOBOXEH" || upper == "TQRPREVIEW" || upper == "TFRDESIGNERPAGE" || upper == "TFRPBOX") return;
  if (SkinByKind(upper, Component)) return;
  for (const TClassRow& row : ClassRows()) {
    if (!row.Test(*Component, upper) || !row.Gate(sd)) continue;
    if (row.FlatProperty && Component->PropertyKind(row.FlatProperty) == gui::TPropertyKind::Enumerated)
      Component->SetPropValue(row.FlatProperty, "True");
    gui::TComponent* owner = row.OwnedByFormSkinner ? FForm.LinkComponent() : Component;
    StartSkinner(MakeSkinner(row.Kind, owner), Component, static_cast<int>(row.Start), row.Recolour);
    if (row.Recurse) SkinComponents(Component);
    return;
  }
}

bool TControlDispatch::SkinByKind(const std::string& ClassName, gui::TComponent* Component) {
  const std::string prefix = LowerCase(ClassName) + "=";
  std::string kind;
  bool found = false;
  for (const std::string& line : FSkinData.Skin3rd()) {
    const std::string lower = LowerCase(line);
    if (lower.compare(0, prefix.size(), prefix) != 0) continue;
    kind = lower.substr(lower.find('=') + 1, 50);
    found = true;
    break;
  }
  if (!found) return false;
  TSkinData& sd = FSkinData;
  using enum TSkinControlType;
  auto transparent = [&] {
    if (Component->PropertyKind("Transparent") == gui::TPropertyKind::Enumerated)
      Component->SetPropValue("Transparent", "True");
  };
  auto make = [&](TSkinnerKind k, TStart start, bool recolour) {
    StartSkinner(MakeSkinner(k, Component), Component, static_cast<int>(start), recolour);
  };
  auto group = [&](TSkinnerKind childKind) {
    if (Has(sd, xcRadioButton))
      if (auto* parent = dynamic_cast<gui::TWinControl*>(Component))
        for (int i = 0; i < parent->ControlCount(); ++i)
          if (auto* child = dynamic_cast<gui::TWinControl*>(parent->Controls(i)))
            StartSkinner(MakeSkinner(childKind, child), child, static_cast<int>(TStart::Control), false);
    make(TSkinnerKind::GroupBox, TStart::Control, true);
  };
  if (kind == "combobox") {
    if (Has(sd, xcCombo)) make(TSkinnerKind::ComBox, TStart::Control, false);
  } else if (kind == "edit") {
    if (Has(sd, xcEdit)) make(TSkinnerKind::Edit, TStart::Window, false);
  } else if (kind == "radiobutton") {
    if (Has(sd, xcRadioButton)) make(TSkinnerKind::RadioButton, TStart::Control, false);
  } else if (kind == "panel") {
    if (Has(sd, xcPanel)) transparent(), make(TSkinnerKind::Box, TStart::Control, true);
  } else if (kind == "trackbar") {
    if (Has(sd, xcButton)) transparent(), make(TSkinnerKind::TrackBar, TStart::Control, false);
  } else if (kind == "button") {
    if (Has(sd, xcButton)) make(TSkinnerKind::Button, TStart::Control, false);
  } else if (kind == "tab") {
    if (Has(sd, xcTab) && FForm.Skin()->Tabs) make(TSkinnerKind::Tab, TStart::Window, false);
  } else if (kind == "progress") {
    if (Has(sd, xcProgress)) make(TSkinnerKind::Progress, TStart::Control, false);
  } else if (kind == "scrollbar") {
    if (Has(sd, xcScrollbar)) make(TSkinnerKind::Scrollbar, TStart::Scroll, true);
  } else if (kind == "radiogroup") {
    if (Has(sd, xcPanel)) group(TSkinnerKind::RadioButton);
  } else if (kind == "checkgroup") {
    if (Has(sd, xcPanel)) group(TSkinnerKind::CheckBox);
  } else if (kind == "checkbox") {
    if (Has(sd, xcCheckBox)) make(TSkinnerKind::CheckBox, TStart::Control, false);
  }
  return true;
}

void TControlDispatch::SkinChildWindows() {
  for (HWND child = GetTopWindow(FForm.SkinnedWindow()); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) SkinChildWindow(child);
}

void TControlDispatch::SkinChildWindow(HWND Child) {
  for (TSkinControl* s : FForm.ControlSkinners())
    if (s->Handle == Child) return;
  wchar_t name[100] = {};
  GetClassNameW(Child, name, 100);
  const std::string cls = LowerCase(std::string(name, name + wcslen(name)));
  const LONG_PTR style = GetWindowLongPtrW(Child, GWL_STYLE);
  TSkinnerKind kind = TSkinnerKind::None;
  HWND target = Child;
  if (cls == "button") {
    kind = ButtonKind(style);
    if (kind == TSkinnerKind::None) return;
  } else if (cls == "combobox") {
    if ((style & 3) == CBS_SIMPLE) return;
    kind = TSkinnerKind::ComBox;
  } else if (cls == "comboboxex32") {
    target = GetTopWindow(Child);
    if (!target) return;
    kind = TSkinnerKind::ComBox;
  } else if (cls == "scrollbar") {
    // Only a size box is a grip; a real scroll bar painted as one would
    // show an empty square where the user expects a bar.
    if (!(style & (SBS_SIZEBOX | SBS_SIZEGRIP))) return;
    kind = TSkinnerKind::Sizer;
  } else if (cls == "systabcontrol32") {
    if (style & TCS_OWNERDRAWFIXED) return;
    kind = TSkinnerKind::Tab;
  } else if (cls == "edit") {
    kind = TSkinnerKind::Edit;
  } else {
    return;
  }
  if (TSkinControl* skinner = MakeSkinner(kind, FForm.LinkComponent())) {
    try {
      skinner->InitWindow(target, &FSkinData, &FForm);
    } catch (...) {
      gui::DebugReport(L"starting " + gui::Widen(skinner->ClassName()), target);
      skinner->Free();
    }
  }
}

}  // namespace qm
