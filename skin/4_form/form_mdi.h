#pragma once
// The MDI side of a form skinner. A frame finds its MDI client and takes
// over the client's procedure to learn of children being made, destroyed
// and arranged; its children switch between the skinned look and the
// native one while one of them is maximised (the system then draws them),
// and the frame's child buttons send their commands to the active child.

#include <windows.h>

#include "gui/subclass.h"

namespace qm {

class TWinSkinForm;

class TFormMDI {
 public:
  explicit TFormMDI(TWinSkinForm& Form) : FForm(Form) {}
  TFormMDI(const TFormMDI&) = delete;
  TFormMDI& operator=(const TFormMDI&) = delete;

  // Makes the window an MDI frame when it has an MDI client.
  void FindClient();
  void HookClient();
  void UnhookClient() { FClientSubclass.Detach(); }
  bool Handling() const { return FClientSubclass.Handling(); }
  HWND ClientWnd() const { return FClientWnd; }

  // MDI frame: a child of its client is maximised (the frame's bar shows
  // the child's buttons); the frame's children then keep their native
  // caption and drop their region.
  bool ChildMaximized() const { return FChildMaximized; }
  void SetChildMaximized(bool Maximized);
  // MDI frame: from a child's creation until the last child is gone the
  // bar is rebuilt by the client's messages, not by the form's menu
  // changes (the skin data's MenuUpdate is every window's, not this one's).
  bool MenuBarOnHold() const { return FMenuBarOnHold; }
  // MDI frame: live form skinners of its children.
  int CountMDIChildren() const;
  // MDI frame: whether the client's active child is maximised.
  bool ActiveChildMaximized() const;
  // MDI frame: a system command for the active child (the child buttons).
  void ChildCommand(WPARAM Command);

  // MDI child: the form skinner of its frame, or none.
  TWinSkinForm* Frame() const;
  // MDI child: its frame's switch (see ChildMaximized).
  void MaximizedChanged(bool Maximized);
  // MDI child that is minimised or maximised: the system draws it.
  bool ChildOutsideNormal() const;
  // MDI child while its frame has a maximised child.
  bool ChildWhileMaximized() const;

 private:
  bool IsChildOfMine(const TWinSkinForm& Child) const;
  LRESULT ClientWindowProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  void ChildrenGone();

  TWinSkinForm& FForm;
  HWND FClientWnd = nullptr;
  HWND FNewChildWnd = nullptr;
  bool FChildMaximized = false;
  bool FMenuBarOnHold = false;
  gui::TWindowSubclass FClientSubclass;
};

}  // namespace qm
