#include "subclass.h"

#include <algorithm>
#include <vector>

#include "control.h"
#include "debug_report.h"
#include "forms.h"
#include "window_table.h"

namespace gui {

struct TSubclassChain;

namespace {
TWindowTable<TSubclassChain>& Chains() {
  // Never destroyed: windows may still go after static destruction began.
  static auto* chains = new TWindowTable<TSubclassChain>;
  return *chains;
}
}  // namespace

// The handlers of one window, oldest first, and the procedure the chain was
// put in front of. Freed when its last handler comes off and no message is
// going through it, or with the window.
struct TSubclassChain {
  WNDPROC Original = nullptr;
  std::vector<TWindowSubclass*> Layers;
  int Running = 0;
  // WM_NCDESTROY has been through while an outer message of the same window
  // was still running (DestroyWindow from inside WM_CLOSE, say).
  bool Destroyed = false;

  static TSubclassChain* Of(HWND window) { return Chains().Find(window); }

  // Calls the topmost of the first `count` handlers, or the window's own
  // procedure when there are none under the caller.
  LRESULT Call(HWND window, size_t count, UINT msg, WPARAM wParam, LPARAM lParam) {
    count = std::min(count, Layers.size());
    if (count == 0) return CallWindowProcW(Original, window, msg, wParam, lParam);
    return Layers[count - 1]->Handle(window, *this, count - 1, msg, wParam, lParam);
  }

  // Frees an empty chain once nothing runs through it. While another
  // procedure sits in front of ours it stays as a pass-through: putting the
  // old procedure back would cut that one off.
  static void ReleaseIfUnused(HWND window, TSubclassChain* chain) {
    if (!chain || !chain->Layers.empty() || chain->Running > 0) return;
    if (!chain->Destroyed) {
      if (GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TWindowSubclass::ChainProc)) return;
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->Original));
    }
    Chains().Forget(window, chain);
    delete chain;
  }
};

bool TWindowSubclass::Attach(HWND window, THandler handler) {
  if (FWindow || !window || !handler) return false;
  // Window procedures run on the window's own thread only.
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  TSubclassChain* chain = TSubclassChain::Of(window);
  if (!chain) {
    auto made = std::make_unique<TSubclassChain>();
    SetLastError(0);
    made->Original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindowSubclass::ChainProc)));
    if (!made->Original) return false;
    chain = made.release();
    Chains().Set(window, chain);
  }
  chain->Layers.push_back(this);
  FHandler = std::make_shared<THandler>(std::move(handler));
  FWindow = window;
  FChain = chain;
  return true;
}

TWindowSubclass::~TWindowSubclass() {
  // A message still being handled must not touch this object afterwards.
  for (TCall* c = FCall; c; c = c->Outer) c->Freed = true;
  Detach();
}

void TWindowSubclass::Detach() {
  if (!FWindow) return;
  HWND window = FWindow;
  TSubclassChain* chain = FChain;
  FWindow = nullptr;
  FChain = nullptr;
  std::erase(chain->Layers, this);
  TSubclassChain::ReleaseIfUnused(window, chain);
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!FCall) return 0;  // only from inside a message this object handles
  TSubclassChain& chain = *FCall->Chain;
  // Handlers may have come and gone meanwhile: start under wherever this
  // one stands now, or where it stood if it has come off.
  size_t below = FCall->Below;
  const auto at = std::find(chain.Layers.begin(), chain.Layers.end(), this);
  if (at != chain.Layers.end()) below = static_cast<size_t>(at - chain.Layers.begin());
  const LRESULT result = chain.Call(FCall->Window, below, msg, wParam, lParam);
  if (msg == FCall->Msg && wParam == FCall->WParam && lParam == FCall->LParam) {
    FCall->Previous = true;
    FCall->Result = result;
  }
  return result;
}

LRESULT TWindowSubclass::Handle(HWND window, TSubclassChain& chain, size_t below, UINT msg, WPARAM wParam,
                                LPARAM lParam) {
  TCall call{window, &chain, below, msg, wParam, lParam};
  call.Outer = FCall;
  FCall = &call;
  // The record goes off the list however this frame is left, also when the
  // system unwinds it (a fault caught outside): a record left behind would
  // point into a dead stack frame, and this object's end writes through it.
  struct TPop {
    TWindowSubclass* Self;
    TCall& Call;
    ~TPop() {
      if (!Call.Freed) Self->FCall = Call.Outer;
    }
  };
  LRESULT result = 0;
  std::exception_ptr error;
  {
    const TPop pop{this, call};
    const std::shared_ptr<THandler> handler = FHandler;
    try {
      result = (*handler)(msg, wParam, lParam);
    } catch (...) {
      error = std::current_exception();
    }
  }
  if (call.Freed) {
    // Freed while handling: only the window is left to answer.
    if (error && !call.Previous) result = chain.Call(window, below, msg, wParam, lParam);
    return error && call.Previous ? call.Result : result;
  }
  if (error) {
    try {
      if (OnError) {
        OnError(error);
      } else if (!DebugName.empty()) {
        wchar_t message[16];
        wsprintfW(message, L"0x%04X", msg);
        DebugReport(DebugName + L" handling message " + message, window, error);
      } else {
        Application().HandleException(error);
      }
    } catch (...) {
      // An error reporter that fails itself must not take the window down.
    }
    result = call.Previous ? call.Result : chain.Call(window, below, msg, wParam, lParam);
  }
  return result;
}

LRESULT CALLBACK TWindowSubclass::ChainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TSubclassChain* chain = TSubclassChain::Of(window);
  if (!chain) return DefWindowProcW(window, msg, wParam, lParam);
  ++chain->Running;
  const LRESULT result = chain->Call(window, chain->Layers.size(), msg, wParam, lParam);
  --chain->Running;
  if (msg == WM_NCDESTROY) chain->Destroyed = true;
  if (!chain->Destroyed) {
    TSubclassChain::ReleaseIfUnused(window, chain);
  } else if (chain->Running == 0) {
    // The window is gone and nothing runs through its chain any more: every
    // handler comes off and is told so.
    std::vector<std::function<void()>> told;
    for (TWindowSubclass* layer : chain->Layers) {
      layer->FWindow = nullptr;
      layer->FChain = nullptr;
      if (layer->OnWindowDestroyed) told.push_back(layer->OnWindowDestroyed);
    }
    chain->Layers.clear();
    TSubclassChain::ReleaseIfUnused(window, chain);
    for (const auto& tell : told) GuardedCall(tell);
  }
  return result;
}

}  // namespace gui
