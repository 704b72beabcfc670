#include "skin/4_form/form_mdi.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

void TFormMDI::FindClient() {
  for (HWND child = GetTopWindow(FForm.FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[100] = {};
    GetClassNameW(child, name, 100);
    if (std::wstring_view(name) != L"MDIClient") continue;
    FForm.Window().MDIKind = TFormWindow::mkFrame;
    FClientWnd = child;
    return;
  }
}

void TFormMDI::HookClient() {
  if (!FClientWnd || FClientSubclass.Attached()) return;
  FClientSubclass.DebugName = L"form skinner's MDI client";
  FClientSubclass.OnWindowDestroyed = [this] { FClientWnd = nullptr; };
  FClientSubclass.Attach(FClientWnd, [this](UINT msg, WPARAM w, LPARAM l) { return ClientWindowProc(msg, w, l); });
}

bool TFormMDI::ChildOutsideNormal() const {
  const TFormWindow& w = FForm.Window();
  return w.MDIKind == TFormWindow::mkChild && w.State != TFormWindow::wsNormal;
}

bool TFormMDI::ChildWhileMaximized() const {
  if (FForm.Window().MDIKind != TFormWindow::mkChild) return false;
  const TWinSkinForm* frame = Frame();
  return frame && frame->MDI().ChildMaximized();
}

TWinSkinForm* TFormMDI::Frame() const {
  TFormSkinnerHost* host = FormSkinnerHost();
  if (FForm.Window().MDIKind != TFormWindow::mkChild || !host) return nullptr;
  TWinSkinForm* frame = host->FindFormSkinner(GetAncestor(FForm.FHandle, GA_ROOT));
  return frame != &FForm && frame && frame->Window().MDIKind == TFormWindow::mkFrame ? frame : nullptr;
}

bool TFormMDI::IsChildOfMine(const TWinSkinForm& Child) const {
  return FForm.Window().MDIKind == TFormWindow::mkFrame && FClientWnd &&
         Child.Window().MDIKind == TFormWindow::mkChild && GetParent(Child.FHandle) == FClientWnd;
}

void TFormMDI::SetChildMaximized(bool Maximized) {
  if (Maximized == FChildMaximized) return;
  FChildMaximized = Maximized;
  TFormSkinnerHost* host = FormSkinnerHost();
  if (!host) return;
  for (TWinSkinForm* s : std::vector<TWinSkinForm*>(host->AllFormSkinners()))
    if (IsChildOfMine(*s)) s->MDI().MaximizedChanged(Maximized);
}

int TFormMDI::CountMDIChildren() const {
  TFormSkinnerHost* host = FormSkinnerHost();
  if (!host) return 0;
  const auto& all = host->AllFormSkinners();
  return static_cast<int>(std::count_if(all.begin(), all.end(), [this](TWinSkinForm* s) {
    return IsChildOfMine(*s) && s->Phase() != TFormWindow::phDead && s->Phase() != TFormWindow::phDestroying;
  }));
}

bool TFormMDI::ActiveChildMaximized() const {
  if (FForm.Window().MDIKind != TFormWindow::mkFrame || !FClientWnd || !IsWindow(FClientWnd)) return false;
  BOOL maximized = FALSE;
  const HWND active =
      reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return active && maximized;
}

void TFormMDI::ChildCommand(WPARAM Command) {
  if (FForm.Window().MDIKind != TFormWindow::mkFrame || !FClientWnd) return;
  if (const HWND active = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(active, WM_SYSCOMMAND, Command, 0);
  if (FChildMaximized && !ActiveChildMaximized()) SetChildMaximized(false);
}

void TFormMDI::MaximizedChanged(bool Maximized) {
  const TFormWindow& w = FForm.Window();
  if (w.MDIKind != TFormWindow::mkChild || !w.SkinFrame || !FForm.Attached()) return;
  TFormFrame& frame = FForm.Frame();
  if (Maximized) {
    frame.SetCaptionStyles(true);
    frame.DropRegion();
    frame.Refresh();
    return;
  }
  if (w.State != TFormWindow::wsNormal) return;
  frame.SetCaptionStyles(false);
  frame.Refresh();
  frame.UpdateRegion();
}

void TFormMDI::ChildrenGone() {
  FMenuBarOnHold = false;
  TFormMenu& menus = FForm.Menus();
  if (TWinSkinMenu* bar = menus.Bar()) {
    if (bar->FMenu)
      bar->BuildFromMainMenu();
    else
      bar->BuildFromMenuHandle(nullptr);
    menus.Repaint();
  }
}

LRESULT TFormMDI::ClientWindowProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto previous = [&] { return FClientSubclass.CallPrevious(Msg, wParam, lParam); };
  const bool skinFrame = FForm.Window().SkinFrame;
  switch (Msg) {
    case WM_NCCALCSIZE:
      // The client's own scroll bars would show unskinned in the skinned
      // frame; children placed beyond its edge are reached by arranging.
      if (skinFrame) {
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
      if (skinFrame) {
        SetChildMaximized(ActiveChildMaximized());
        if (CountMDIChildren() == 0) ChildrenGone();
      }
      return result;
    }
    case WM_MDISETMENU: {
      const LRESULT result = previous();
      TFormMenu& menus = FForm.Menus();
      TWinSkinMenu* bar = menus.Bar();
      if (skinFrame && bar) {
        const HMENU menu = reinterpret_cast<HMENU>(wParam);
        if (menu && (menu != bar->FMenuHandle || FNewChildWnd)) {
          bar->BuildFromMenuHandle(GetMenu(FForm.FHandle));
          menus.Repaint();
        }
        // The bar is drawn by the skin; the native one stays off.
        SetMenu(FForm.FHandle, nullptr);
      }
      return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (skinFrame && FChildMaximized) SetChildMaximized(false);
      return previous();
    case WM_MDIREFRESHMENU: {
      const LRESULT result = previous();
      if (TFormSkinnerHost* host = FormSkinnerHost(); FNewChildWnd && host) {
        const HWND child = FNewChildWnd;
        FNewChildWnd = nullptr;
        host->AttachMDIChild(child);
        PostMessageW(FForm.FHandle, WM_SKINPAINTFRAME, 0, 0);
      }
      return result;
    }
  }
  return previous();
}

}  // namespace qm
