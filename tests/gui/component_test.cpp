// Ownership, class membership and published properties.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/comctrls.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "gui/timer.h"

using namespace gui;

namespace {
std::vector<std::string> destroyed;

class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::string name) : TComponent(owner) { Name = std::move(name); }
  ~TProbe() override { destroyed.push_back(Name); }
};
}  // namespace

TEST(Component, OwnerFreesOwnedNewestFirstAndFreeTakesOneOut) {
  destroyed.clear();
  {
    TComponent root(nullptr);
    TProbe* a = root.Make<TProbe>("a");
    root.Make<TProbe>("b");
    TProbe* c = root.Make<TProbe>("c");
    c->Make<TProbe>("c.helper");  // a helper owned by an owned component
    EXPECT_EQ(root.ComponentCount(), 3);
    EXPECT_EQ(root.Components(0), a);
    EXPECT_EQ(a->Owner(), &root);
    EXPECT_EQ(root.FindComponent("B")->Name, "b");
    EXPECT_EQ(root.FindComponent("nothing"), nullptr);

    a->Free();
    EXPECT_EQ(destroyed, std::vector<std::string>{"a"});
    EXPECT_EQ(root.ComponentCount(), 2);
  }
  // A component's own helpers go before it, while it is still whole.
  EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "c.helper", "c", "b"}));
}

namespace {
std::vector<std::string> events;

// Stands in for a control skinner: owned by the control it hooks, it hears
// the release notification and puts the control's handler back when freed.
class THook : public TComponent {
 public:
  explicit THook(TComponent* owner)
      : TComponent(owner), Target(dynamic_cast<TWinControl&>(*owner)), Saved(Target.WindowProc) {
    Target.WindowProc = [this](TMessage& m) {
      if (m.Msg == 0xB021) events.push_back("release " + Target.ClassName());
      Saved(m);
    };
  }
  ~THook() override {
    events.push_back("hook freed: " + Target.ClassName() + (Target.HandleAllocated() ? " with window" : " without"));
    Target.WindowProc = Saved;
  }
  TWinControl& Target;
  TWndMethod Saved;
};

class TSkinnedPanel : public TPanel {
  QM_GUI_CLASS(TSkinnedPanel, TPanel)
 public:
  explicit TSkinnedPanel(TComponent* owner) : TPanel(owner) { Make<THook>(); }
  ~TSkinnedPanel() override { events.push_back("panel destructor"); }
};
}  // namespace

TEST(Component, EveryWayOfDyingReleasesTheWholeObjectBeforeDestroyingIt) {
  const std::vector<std::string> whole{"release TSkinnedPanel", "hook freed: TSkinnedPanel with window",
                                       "panel destructor"};
  struct Way {
    const char* name;
    std::function<void(std::unique_ptr<TForm>& form)> kill;
  };
  const Way ways[] = {
      {"Free",
       [](std::unique_ptr<TForm>& form) {
         auto* panel = form->Make<TSkinnedPanel>();
         panel->SetParent(form.get());
         panel->Free();
       }},
      {"owner freed",
       [](std::unique_ptr<TForm>& form) {
         form->Make<TSkinnedPanel>()->SetParent(form.get());
         form.reset();
       }},
      {"owner's owner freed",
       [](std::unique_ptr<TForm>& form) {
         auto* box = form->Make<TPanel>();
         box->SetParent(form.get());
         box->Make<TSkinnedPanel>()->SetParent(box);
         box->Free();
       }},
      {"unique_ptr holder",
       [](std::unique_ptr<TForm>& form) {
         auto panel = std::make_unique<TSkinnedPanel>(nullptr);
         panel->SetParent(form.get());
         panel.reset();
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    auto form = std::make_unique<TForm>(nullptr);
    form->Show();
    events.clear();
    way.kill(form);
    EXPECT_EQ(events, whole);
  }
}

TEST(Component, ClassNamesAndMembershipIncludeDescendants) {
  TForm form(nullptr);
  auto* panel = form.Make<TPanel>();
  auto* box = form.Make<TGroupBox>();
  auto* check = form.Make<TCheckBox>();
  auto* radio = form.Make<TRadioButton>();
  auto* combo = form.Make<TComboBox>();
  auto* memo = form.Make<TMemo>();
  auto* pages = form.Make<TPageControl>();

  EXPECT_EQ(form.ClassName(), "TForm");
  EXPECT_TRUE(form.InheritsFrom("TCustomForm"));
  EXPECT_TRUE(form.InheritsFrom("twincontrol"));
  EXPECT_EQ(UpperCase(panel->ClassName()), "TPANEL");
  EXPECT_TRUE(panel->InheritsFrom("TCustomPanel"));
  EXPECT_FALSE(panel->InheritsFrom("TCustomGroupBox"));
  EXPECT_TRUE(box->InheritsFrom("TCustomGroupBox"));
  EXPECT_TRUE(check->InheritsFrom("TCustomCheckBox"));
  EXPECT_FALSE(radio->InheritsFrom("TCustomCheckBox"));
  EXPECT_TRUE(radio->InheritsFrom("TButtonControl"));
  EXPECT_TRUE(combo->InheritsFrom("TCustomComboBox"));
  EXPECT_TRUE(memo->InheritsFrom("TCustomEdit"));
  EXPECT_FALSE(memo->InheritsFrom("TEdit"));
  EXPECT_TRUE(pages->InheritsFrom("TPageControl"));
  EXPECT_TRUE(pages->Is<TWinControl>());
  EXPECT_FALSE(pages->InheritsFrom("TTabSheet"));
}

TEST(Component, BooleanAndEnumeratedPropertiesByName) {
  TForm form(nullptr);
  auto* check = form.Make<TCheckBox>();
  auto* label = form.Make<TLabel>();
  auto* panel = form.Make<TPanel>();

  EXPECT_EQ(check->GetPropValue("Checked"), "False");
  EXPECT_TRUE(check->SetPropValue("checked", "TRUE"));
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(check->GetPropValue("Checked"), "True");
  EXPECT_FALSE(check->SetPropValue("Checked", "maybe"));
  EXPECT_TRUE(check->Checked());

  EXPECT_EQ(label->PropertyKind("Transparent"), TPropertyKind::Enumerated);
  EXPECT_TRUE(label->SetPropValue("Transparent", "True"));
  EXPECT_TRUE(label->Transparent());

  EXPECT_TRUE(form.SetPropValue("BorderStyle", "bsDialog"));
  EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsDialog);
  EXPECT_TRUE(form.SetPropValue("AutoScroll", "True"));
  EXPECT_TRUE(form.AutoScroll);
  EXPECT_TRUE(panel->SetPropValue("BevelOuter", "bvLowered"));
  EXPECT_EQ(panel->BevelOuter, TBevelCut::bvLowered);

  // Properties a class does not have are refused, not invented.
  EXPECT_FALSE(panel->HasProperty("Flat"));
  EXPECT_FALSE(panel->SetPropValue("Flat", "True"));
  EXPECT_EQ(panel->GetPropValue("Flat"), std::nullopt);

  EXPECT_TRUE(panel->SetPropValue("Tag", "199"));
  EXPECT_EQ(panel->Tag, 199);
  EXPECT_FALSE(panel->SetPropValue("Tag", "12x"));
  EXPECT_FALSE(panel->SetPropValue("Tag", ""));
  EXPECT_EQ(panel->Tag, 199);
}

namespace {
std::vector<std::string> loaded;

class TLoadProbe : public TComponent {
 public:
  TLoadProbe(TComponent* owner, std::string name) : TComponent(owner) { Name = std::move(name); }

 protected:
  void Loaded() override {
    EXPECT_TRUE(ComponentState() & csLoading);
    loaded.push_back(Name);
    TComponent::Loaded();
  }
};
}  // namespace

TEST(Component, LoadedRunsOnceForWhatWasBuiltWhileLoading) {
  loaded.clear();
  TLoadProbe form(nullptr, "form");
  form.Make<TLoadProbe>("early");  // made before building starts: never loading
  form.BeginLoading();
  TLoadProbe* a = form.Make<TLoadProbe>("a");
  a->Make<TLoadProbe>("a.helper");
  form.Make<TLoadProbe>("b");
  EXPECT_TRUE(a->ComponentState() & csLoading);
  form.FinishLoading();
  EXPECT_EQ(loaded, (std::vector<std::string>{"a.helper", "a", "b", "form"}));
  EXPECT_FALSE(a->ComponentState() & csLoading);
  form.FinishLoading();  // nothing is loading any more
  EXPECT_EQ(loaded.size(), 4u);
}
