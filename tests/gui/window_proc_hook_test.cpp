// Hooks in front of a control's WindowProc, beside plain assignments to it,
// coming off in any order.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui/control.h"
#include "gui/window_proc_hook.h"

using namespace gui;

namespace {

constexpr UINT CM_SUM = WM_APP + 9;

// Answers 1 to CM_SUM itself; each hook adds its own value to the answer
// behind it.
class TSummingControl : public TControl {
 public:
  using TControl::TControl;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_SUM) m.Result = 1;
  }
};

void AttachAdding(TWindowProcHook& h, TControl& c, LRESULT add) {
  ASSERT_TRUE(h.Attach(&c, [&h, add](TMessage& m) {
    h.CallPrevious(m);
    if (m.Msg == CM_SUM) m.Result += add;
  }));
}

}  // namespace

TEST(WindowProcHook, HooksAndPlainAssignmentsComeOffInAnyOrder) {
  // A and B are hooks (10, 100); P is a plain assignment (1000) that saves
  // WindowProc and later assigns the saved one back, as code that knows
  // nothing of hooks does.
  const struct {
    const char* Name;
    std::vector<char> Order;
    std::vector<LRESULT> Sums;
  } cases[] = {
      {"newest first", {'B', 'P', 'A'}, {1011, 11, 1}},
      {"oldest first", {'A', 'P', 'B'}, {1101, 101, 1}},
      {"plain one first", {'P', 'A', 'B'}, {111, 101, 1}},
      {"middle hook first", {'P', 'B', 'A'}, {111, 11, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSummingControl control(nullptr);
    auto a = std::make_unique<TWindowProcHook>();
    auto b = std::make_unique<TWindowProcHook>();
    AttachAdding(*a, control, 10);
    const TWndMethod saved = control.WindowProc;
    control.WindowProc = [&control, saved](TMessage& m) {
      saved(m);
      if (m.Msg == CM_SUM) m.Result += 1000;
    };
    AttachAdding(*b, control, 100);
    ASSERT_EQ(control.Perform(CM_SUM), 1111);
    for (size_t i = 0; i < c.Order.size(); ++i) {
      switch (c.Order[i]) {
        case 'A': a.reset(); break;  // freed: comes off as it goes
        case 'B': b->Detach(); break;
        case 'P': control.WindowProc = saved; break;
      }
      EXPECT_EQ(control.Perform(CM_SUM), c.Sums[i]) << "after " << c.Order[i];
    }
  }
}

TEST(WindowProcHook, AHandlerMayTakeItselfOffAndAControlFreedFirstLetsGo) {
  auto control = std::make_unique<TSummingControl>(nullptr);
  TWindowProcHook self, outer;
  ASSERT_TRUE(self.Attach(control.get(), [&self](TMessage& m) {
    self.Detach();  // replaces the very handler running now
    self.CallPrevious(m);
    m.Result += 10;
  }));
  EXPECT_FALSE(self.Attach(control.get(), [](TMessage&) {})) << "attached once";
  EXPECT_EQ(control->Perform(CM_SUM), 11);
  EXPECT_FALSE(self.Attached());
  EXPECT_EQ(control->Perform(CM_SUM), 1);

  // A hook freed by its own handler: the handler still runs to its end.
  auto doomed = std::make_unique<TWindowProcHook>();
  ASSERT_TRUE(doomed->Attach(control.get(), [&doomed](TMessage& m) {
    doomed.reset();
    m.Result = 5;
  }));
  EXPECT_EQ(control->Perform(CM_SUM), 5);
  EXPECT_EQ(control->Perform(CM_SUM), 1);

  AttachAdding(outer, *control, 100);
  control.reset();
  EXPECT_FALSE(outer.Attached());
  outer.Detach();  // the control is gone: nothing to touch
}
