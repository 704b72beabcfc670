#pragma once
// Subclassing any window of this thread: a handler in front of the window's
// procedure, which it reaches through CallPrevious. Several may stack on one
// window, together with the layer's own procedures and anyone who replaces
// GWLP_WNDPROC directly, and come off again in any order. All handlers of a
// window share one procedure put in front of the window's own; it is taken
// off only while it is still the outermost one, so an old procedure is never
// put back over a newer one. The skin engine takes over foreign windows, MDI
// clients and popup menus this way.

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace gui {

struct TSubclassChain;

class TWindowSubclass {
 public:
  using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  TWindowSubclass() = default;
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;
  ~TWindowSubclass();

  // Puts Handler in front of the window's procedure and of the handlers
  // already there; false when the window is not one of this thread's or this
  // object is attached already.
  bool Attach(HWND window, THandler handler);
  // Takes the handler off; the window keeps every other procedure. Inside
  // the handler, CallPrevious still reaches the rest of the chain for the
  // message being handled.
  void Detach();
  bool Attached() const { return FWindow != nullptr; }
  // A message is going through the handler now (it may be on the stack
  // under the caller).
  bool Handling() const { return FCall != nullptr; }
  HWND Window() const { return FWindow; }

  // The procedure behind this one (default handling), for the message being
  // handled or any other; only while a message is being handled.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

  // Runs after WM_NCDESTROY has gone through and the handler has come off
  // by itself; the window is gone then. A window destroyed from inside one
  // of its own messages is taken off when the outermost of them returns.
  std::function<void()> OnWindowDestroyed;
  // Exceptions stop at the window procedure's edge. OnError gets them when
  // set; else a handler with a DebugName tells the debugger (the skin engine
  // says nothing to the user) what failed on which message; else they go to
  // the application's error box. The message is then answered by the
  // previous procedure unless the handler had already called it.
  std::function<void(std::exception_ptr)> OnError;
  std::wstring DebugName;

 private:
  friend struct TSubclassChain;
  static LRESULT CALLBACK ChainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, TSubclassChain& chain, size_t below, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND FWindow = nullptr;
  // Held here, not looked up on the window: once the window is gone its
  // property is, but a handler may still come off before the chain is done.
  TSubclassChain* FChain = nullptr;
  // Shared, so that a handler that frees this object runs to its end.
  std::shared_ptr<THandler> FHandler;
  // What CallPrevious answered for the message being handled, so that a
  // handler that fails after calling it is not followed by a second call.
  struct TCall {
    HWND Window;
    TSubclassChain* Chain;
    size_t Below;  // handlers under this one when the message came
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    bool Previous = false;
    LRESULT Result = 0;
    bool Freed = false;  // this object was freed while handling it
    TCall* Outer = nullptr;
  };
  TCall* FCall = nullptr;
};

}  // namespace gui
