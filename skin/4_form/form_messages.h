#pragma once
// The procedure a form skinner gives its window. Messages pass three
// stages: some always (WM_ISSKINNED, destruction, the background and static
// colours), some only while the frame is skinned (size, activation,
// commands, the private attach message), and the frame's own only once the
// attach has finished and the window shows its skinned frame (not
// minimised, not an MDI child the system draws).

#include <windows.h>

#include <optional>

#include "gui/subclass.h"
#include "gui/window_proc_hook.h"

namespace gui {
class TCustomForm;
struct TMessage;
}

namespace qm {

class TWinSkinForm;

class TFormMessages {
 public:
  explicit TFormMessages(TWinSkinForm& Form);
  TFormMessages(const TFormMessages&) = delete;
  TFormMessages& operator=(const TFormMessages&) = delete;

  // Takes over the window's procedure; false when it cannot.
  bool Attach(HWND Window);
  // Takes over a library form's WindowProc; false when it cannot.
  bool HookForm(gui::TCustomForm* Form);
  // Both procedures given back.
  void Restore();
  bool Attached() const { return FSubclass.Attached(); }
  bool Handling() const { return FSubclass.Handling() || FFormHook.Handling(); }

  LRESULT CallOldProc(UINT Msg, WPARAM wParam, LPARAM lParam) { return FSubclass.CallPrevious(Msg, wParam, lParam); }
  // The previous procedure with the window seemingly hidden: the system
  // paints the native caption straight onto a visible window while it
  // handles a new text or icon, over the skin's title.
  LRESULT CallOldProcUnseen(UINT Msg, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT SkinWndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Each stage answers, or leaves the message to the next.
  std::optional<LRESULT> AlwaysStage(UINT Msg, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> FrameStage(UINT Msg, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> ShownStage(UINT Msg, WPARAM wParam, LPARAM lParam);
  void FormWindowProc(gui::TMessage& Message);
  LRESULT Size(WPARAM wParam, LPARAM lParam);
  LRESULT MinMaxInfo(WPARAM wParam, LPARAM lParam);
  LRESULT SysCommand(WPARAM wParam, LPARAM lParam);
  LRESULT MenuChanged(UINT Msg, WPARAM wParam, LPARAM lParam);
  // The frame shows: activation, new text or icon.
  LRESULT NCActivate();
  LRESULT NewTextOrIcon(UINT Msg, WPARAM wParam, LPARAM lParam);

  TWinSkinForm& FForm;
  gui::TWindowSubclass FSubclass;
  gui::TWindowProcHook FFormHook;
};

}  // namespace qm
