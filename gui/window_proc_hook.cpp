#include "window_proc_hook.h"

#include <algorithm>

namespace gui {

TWindowProcHook::~TWindowProcHook() {
  // A message still being handled must not touch this object afterwards.
  for (TCall* c = FCall; c; c = c->Outer) c->Freed = true;
  Detach();
}

bool TWindowProcHook::Attach(TControl* control, THandler handler) {
  if (FControl || !control || !handler) return false;
  FHandler = std::make_shared<THandler>(std::move(handler));
  control->FHooks.push_back(this);
  FControl = control;
  return true;
}

void TWindowProcHook::Detach() {
  if (!FControl) return;
  std::erase(FControl->FHooks, this);
  FControl = nullptr;
}

void TWindowProcHook::CallPrevious(TMessage& message) {
  TControl* control = FCall ? FCall->Control : FControl;
  if (!control) return;
  // Hooks may have come and gone meanwhile: start under wherever this one
  // stands now, or where it stood if it has come off.
  size_t below = FCall ? FCall->Below : control->FHooks.size();
  const auto at = std::find(control->FHooks.begin(), control->FHooks.end(), this);
  if (at != control->FHooks.end()) below = static_cast<size_t>(at - control->FHooks.begin());
  control->CallHandlers(message, below);
}

void TWindowProcHook::Handle(TControl& control, size_t below, TMessage& message) {
  TCall call{&control, below};
  call.Outer = FCall;
  FCall = &call;
  // Restores the call record however the handler ends, unless this hook
  // was freed meanwhile.
  struct TRestore {
    TWindowProcHook* Hook;
    TCall& Call;
    ~TRestore() {
      if (!Call.Freed) Hook->FCall = Call.Outer;
    }
  } restore{this, call};
  const std::shared_ptr<THandler> handler = FHandler;
  (*handler)(message);
}

}  // namespace gui
