#pragma once
// A handler in front of a control's WindowProc, as TWindowSubclass stands in
// front of a window's procedure: it reaches the handling behind it through
// CallPrevious and comes off in any order.
//
// Saving WindowProc and assigning the saved one back later drops whoever
// came in between. Hooks instead stand in a chain of the control's own, in
// front of WindowProc: every message to the control (Perform, or the
// window's) passes the hooks newest first, then WindowProc. Taking a hook
// off takes out only that link, so hooks come off in any order, and code
// that assigns WindowProc directly, knowing nothing of hooks, works behind
// them undisturbed. A control freed first lets go of its hooks: their
// Detach then does nothing.

#include <functional>
#include <memory>

#include "control.h"

namespace gui {

class TWindowProcHook {
 public:
  using THandler = std::function<void(TMessage&)>;

  TWindowProcHook() = default;
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;
  ~TWindowProcHook();

  // Puts Handler in front of the control's handlers; false when already
  // attached or given nothing.
  bool Attach(TControl* control, THandler handler);
  // Takes the handler off; the control keeps every other one. Inside the
  // handler, CallPrevious still reaches what was behind it.
  void Detach();
  bool Attached() const { return FControl != nullptr; }
  // A message is going through the handler now.
  bool Handling() const { return FCall != nullptr; }
  TControl* Control() const { return FControl; }

  // The handling behind this hook: the older hooks, then WindowProc.
  void CallPrevious(TMessage& message);

 private:
  friend class TControl;
  void Handle(TControl& control, size_t below, TMessage& message);
  TControl* FControl = nullptr;
  // Shared, so that a handler that frees this object runs to its end.
  std::shared_ptr<THandler> FHandler;
  // The message being handled, for CallPrevious, innermost first.
  struct TCall {
    TControl* Control;  // null once the control is freed under the call
    size_t Below;       // hooks behind this one when the message came
    bool Freed = false; // this hook was freed while handling it
    TCall* Outer = nullptr;
  };
  TCall* FCall = nullptr;
};

}  // namespace gui
