// The MDI side of TWinSkinForm: a frame finds its MDI client and takes over
// the client's procedure to learn of children being made, destroyed and
// arranged; children switch between the skinned look and the native one
// while one of them is maximised (the system then draws them), and the
// frame's child buttons send their commands to the active child.

#include <algorithm>
#include <string_view>
#include <vector>

#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

void TWinSkinForm::FindClientWindow() {
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[100] = {};
    GetClassNameW(child, name, 100);
    if (std::wstring_view(name) != L"MDIClient") continue;
    FMDIKind = mkFrame;
    FClientWnd = child;
    return;
  }
}

void TWinSkinForm::HookClient() {
  if (!FClientWnd || FClientSubclass.Attached()) return;
  FClientSubclass.DebugName = L"form skinner's MDI client";
  FClientSubclass.OnWindowDestroyed = [this] { FClientWnd = nullptr; };
  FClientSubclass.Attach(FClientWnd, [this](UINT msg, WPARAM w, LPARAM l) { return ClientWindowProc(msg, w, l); });
}

void TWinSkinForm::UnhookClient() { FClientSubclass.Detach(); }

bool TWinSkinForm::MDIChildWhileMaximized() const {
  if (FMDIKind != mkChild) return false;
  const TWinSkinForm* frame = MDIFrame();
  return frame && frame->ChildMaximized();
}

TWinSkinForm* TWinSkinForm::MDIFrame() const {
  TFormSkinnerHost* host = FormSkinnerHost();
  if (FMDIKind != mkChild || !host) return nullptr;
  TWinSkinForm* frame = host->FindFormSkinner(GetAncestor(FHandle, GA_ROOT));
  return frame != this && frame && frame->FMDIKind == mkFrame ? frame : nullptr;
}

bool TWinSkinForm::IsChildOfMine(const TWinSkinForm& Child) const {
  return FMDIKind == mkFrame && FClientWnd && Child.FMDIKind == mkChild && GetParent(Child.FHandle) == FClientWnd;
}

void TWinSkinForm::SetChildMaximized(bool Maximized) {
  if (Maximized == FChildMaximized) return;
  FChildMaximized = Maximized;
  TFormSkinnerHost* host = FormSkinnerHost();
  if (!host) return;
  for (TWinSkinForm* s : std::vector<TWinSkinForm*>(host->AllFormSkinners()))
    if (IsChildOfMine(*s)) s->MDIMaximizedChanged(Maximized);
}

int TWinSkinForm::CountMDIChildren() const {
  TFormSkinnerHost* host = FormSkinnerHost();
  if (!host) return 0;
  const auto& all = host->AllFormSkinners();
  return static_cast<int>(std::count_if(all.begin(), all.end(), [this](TWinSkinForm* s) {
    return IsChildOfMine(*s) && s->Phase() != phDead && s->Phase() != phDestroying;
  }));
}

bool TWinSkinForm::ActiveChildMaximized() const {
  if (FMDIKind != mkFrame || !FClientWnd || !IsWindow(FClientWnd)) return false;
  BOOL maximized = FALSE;
  const HWND active = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return active && maximized;
}

void TWinSkinForm::ChildCommand(WPARAM Command) {
  if (FMDIKind != mkFrame || !FClientWnd) return;
  if (const HWND active = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(active, WM_SYSCOMMAND, Command, 0);
  if (FChildMaximized && !ActiveChildMaximized()) SetChildMaximized(false);
}

void TWinSkinForm::MDIMaximizedChanged(bool Maximized) {
  if (FMDIKind != mkChild || !FSkinFrame || !FSubclass.Attached()) return;
  if (Maximized) {
    SetCaptionStyles(true);
    DropRegion();
    RefreshFrame();
    return;
  }
  if (FWindowState != wsNormal) return;
  SetCaptionStyles(false);
  RefreshFrame();
  UpdateRegion();
}

LRESULT TWinSkinForm::ClientWindowProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto previous = [&] { return FClientSubclass.CallPrevious(Msg, wParam, lParam); };
  switch (Msg) {
    case WM_NCCALCSIZE:
      // The client's own scroll bars would show unskinned in the skinned
      // frame; children placed beyond its edge are reached by arranging.
      if (FSkinFrame) {
        const LONG_PTR style = GetWindowLongPtrW(FClientWnd, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongPtrW(FClientWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
      }
      return previous();
    case WM_MDICREATE: {
      // The child's creation changes the window menu; the bar follows once
      // the child is complete.
      FMenuBarOnHold = true;
      const LRESULT result = previous();
      FNewChildWnd = reinterpret_cast<HWND>(result);
      return result;
    }
    case WM_MDIDESTROY: {
      const LRESULT result = previous();
      if (FSkinFrame) {
        SetChildMaximized(ActiveChildMaximized());
        if (CountMDIChildren() == 0) {
          FMenuBarOnHold = false;
          if (FMenuBar) {
            if (FMenuBar->FMenu)
              FMenuBar->BuildFromMainMenu();
            else
              FMenuBar->BuildFromMenuHandle(nullptr);
            RepaintMenuBar();
          }
        }
      }
      return result;
    }
    case WM_MDISETMENU: {
      const LRESULT result = previous();
      if (FSkinFrame) {
        const HMENU menu = reinterpret_cast<HMENU>(wParam);
        if (menu && FMenuBar && (menu != FMenuBar->FMenuHandle || FNewChildWnd)) {
          FMenuBar->BuildFromMenuHandle(GetMenu(FHandle));
          RepaintMenuBar();
        }
        // The bar is drawn by the skin; the native one stays off.
        if (FMenuBar) SetMenu(FHandle, nullptr);
      }
      return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (FSkinFrame && FChildMaximized) SetChildMaximized(false);
      return previous();
    case WM_MDIREFRESHMENU: {
      const LRESULT result = previous();
      if (TFormSkinnerHost* host = FormSkinnerHost(); FNewChildWnd && host) {
        const HWND child = FNewChildWnd;
        FNewChildWnd = nullptr;
        host->AttachMDIChild(child);
        PostMessageW(FHandle, WM_SKINPAINTFRAME, 0, 0);
      }
      return result;
    }
  }
  return previous();
}

}  // namespace qm
