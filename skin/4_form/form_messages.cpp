#include "skin/4_form/form_messages.h"

#include "gui/forms.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

// Sent by themed systems to draw the native caption and frame directly
// (WM_NCUAHDRAWCAPTION, WM_NCUAHDRAWFRAME); undocumented, never by Wine.
constexpr UINT kDrawNativeCaption = 0x00AE, kDrawNativeFrame = 0x00AF;
constexpr UINT kCompositionChanged = 0x031E;  // WM_DWMCOMPOSITIONCHANGED

// Sets a flag for as long as it lives, and puts back what it was.
class TFlagWhile {
 public:
  explicit TFlagWhile(bool& Flag) : FFlag(Flag), FWas(Flag) { Flag = true; }
  ~TFlagWhile() { FFlag = FWas; }
  TFlagWhile(const TFlagWhile&) = delete;
  TFlagWhile& operator=(const TFlagWhile&) = delete;

 private:
  bool& FFlag;
  const bool FWas;
};

}  // namespace

TFormMessages::TFormMessages(TWinSkinForm& Form) : FForm(Form) {
  // The user is told nothing: the window keeps what it had.
  FSubclass.DebugName = L"form skinner";
  FSubclass.OnWindowDestroyed = [this] { FForm.Window().Phase = TFormWindow::phDead; };
}

bool TFormMessages::Attach(HWND Window) {
  return FSubclass.Attach(Window, [this](UINT msg, WPARAM w, LPARAM l) { return SkinWndProc(msg, w, l); });
}

bool TFormMessages::HookForm(gui::TCustomForm* Form) {
  return FFormHook.Attach(Form, [this](gui::TMessage& m) { FormWindowProc(m); });
}

void TFormMessages::Restore() {
  FFormHook.Detach();
  FSubclass.Detach();
}

LRESULT TFormMessages::CallOldProcUnseen(UINT Msg, WPARAM wParam, LPARAM lParam) {
  const HWND handle = FForm.FHandle;
  const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
  if (!(style & WS_VISIBLE)) return CallOldProc(Msg, wParam, lParam);
  struct TShownAgain {
    HWND Window;
    ~TShownAgain() { SetWindowLongPtrW(Window, GWL_STYLE, GetWindowLongPtrW(Window, GWL_STYLE) | WS_VISIBLE); }
  };
  SetWindowLongPtrW(handle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  const TShownAgain shown{handle};
  return CallOldProc(Msg, wParam, lParam);
}

void TFormMessages::FormWindowProc(gui::TMessage& Message) {
  if (Message.Msg == WM_SKINREAPPLY) {
    FForm.ApplySkin();
    return;
  }
  if (Message.Msg == gui::CM_DIALOGCHAR && FForm.Menus().DialogChar(Message.WParam)) {
    Message.Result = 1;
    return;
  }
  FFormHook.CallPrevious(Message);
}

LRESULT TFormMessages::SkinWndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (const std::optional<LRESULT> answer = AlwaysStage(Msg, wParam, lParam)) return *answer;
  const TFormWindow& w = FForm.Window();
  if (!w.SkinFrame || ((w.Style & WS_CHILD) && w.MDIKind != TFormWindow::mkChild))
    return CallOldProc(Msg, wParam, lParam);
  if (const std::optional<LRESULT> answer = FrameStage(Msg, wParam, lParam)) return *answer;
  if (w.Phase == TFormWindow::phAttaching || w.State == TFormWindow::wsMinimized || FForm.MDI().ChildOutsideNormal())
    return CallOldProc(Msg, wParam, lParam);
  if (const std::optional<LRESULT> answer = ShownStage(Msg, wParam, lParam)) return *answer;
  return CallOldProc(Msg, wParam, lParam);
}

std::optional<LRESULT> TFormMessages::AlwaysStage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  const bool bare = !FForm.Form();
  switch (Msg) {
    case WM_ERASEBKGND: {
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      if (!bare) return result;
      RECT client;
      GetClientRect(FForm.FHandle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, FForm.Skin()->ButtonFaceBrush());
      return 1;
    }
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE))
        FForm.Window().Style = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
      return CallOldProc(Msg, wParam, lParam);
    case WM_NCDESTROY: {
      FForm.Window().Phase = TFormWindow::phDestroying;
      FForm.DetachOnDestroy();
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      FForm.Window().Phase = TFormWindow::phDead;
      return result;
    }
    case WM_CTLCOLORBTN: {
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      if (bare) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return result;
    }
    case WM_CTLCOLORSTATIC:
      CallOldProc(Msg, wParam, lParam);
      if (bare) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(FForm.Skin()->ButtonFaceBrush());
    case WM_ISSKINNED: return 1;
    case WM_DPICHANGED: return FForm.DpiChanged(wParam, lParam);
    case kGetDpiScaledSize: return FForm.ScaledSize(wParam, lParam);
    case WM_MENUSELECT: FForm.Menus().MenuSelect(wParam, lParam); break;
  }
  return std::nullopt;
}

std::optional<LRESULT> TFormMessages::FrameStage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  TFormWindow& w = FForm.Window();
  switch (Msg) {
    case WM_SIZE: return Size(wParam, lParam);
    case WM_ACTIVATE: w.Active = LOWORD(wParam) != WA_INACTIVE; break;
    case WM_GETMINMAXINFO: return MinMaxInfo(wParam, lParam);
    case WM_WINDOWPOSCHANGED: FForm.ReadWindowState(); return CallOldProc(Msg, wParam, lParam);
    case WM_SETTEXT:
      // Library form or foreign window alike, the caption is ours. Once the
      // frame shows, the native handling runs out of sight (stage 3);
      // before that there is no frame of ours to repaint.
      if (w.Phase == TFormWindow::phAttaching || w.State == TFormWindow::wsMinimized ||
          FForm.MDI().ChildOutsideNormal()) {
        const LRESULT result = CallOldProc(Msg, wParam, lParam);
        FForm.Frame().ReadCaption();
        return result;
      }
      break;
    case WM_NCACTIVATE: w.Active = wParam != 0; break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE:
        case SC_NEXTWINDOW: case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
          // A system-menu command tracked with this window as its owner.
          PostMessageW(FForm.FHandle, WM_SYSCOMMAND, LOWORD(wParam), 0);
          return 0;
      }
      return CallOldProc(Msg, wParam, lParam);
    case WM_SYSCOMMAND: return SysCommand(wParam, lParam);
    case WM_SKINATTACHED: FForm.FinishAttach(); return 0;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE:
    case kCompositionChanged: {
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      FForm.SystemSettingsChanged(Msg == kCompositionChanged);
      return result;
    }
    case WM_UPDATEUISTATE: {
      // The bar's underlines follow the window's keyboard cues.
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      FForm.Menus().Repaint();
      return result;
    }
    case gui::CM_MENUCHANGED: return MenuChanged(Msg, wParam, lParam);
  }
  return std::nullopt;
}

std::optional<LRESULT> TFormMessages::ShownStage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  TFormFrame& frame = FForm.Frame();
  TCaptionButtons& buttons = FForm.CaptionButtons();
  switch (Msg) {
    case WM_NCACTIVATE: return NCActivate();
    case kDrawNativeCaption:
    case kDrawNativeFrame: frame.Paint(nullptr); return 0;
    case WM_SETTEXT:
    case WM_SETICON: return NewTextOrIcon(Msg, wParam, lParam);
    case WM_NCCALCSIZE: return frame.NCCalcSize(wParam, lParam);
    case WM_NCHITTEST: return buttons.NCHitTest(wParam, lParam);
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN: return buttons.NCMouse(Msg, wParam, lParam);
    case WM_NCPAINT: return frame.NCPaint(wParam);
    case WM_NCLBUTTONDBLCLK:
      if (FForm.Window().State != TFormWindow::wsNormal)
        FForm.SystemMenu().RestoreWindow();
      else if (FForm.Window().BorderIcons & TFormWindow::biMaximize)
        FForm.SystemMenu().ToggleMaximize();
      return 0;
    case WM_SKINPAINTFRAME: frame.Paint(nullptr); return 0;
    case WM_MEASUREITEM: return FForm.MenuItems().MeasureItemMessage(wParam, lParam);
    case WM_DRAWITEM: return FForm.MenuItems().DrawItemMessage(wParam, lParam);
  }
  return std::nullopt;
}

LRESULT TFormMessages::Size(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallOldProc(WM_SIZE, wParam, lParam);
  TFormWindow& w = FForm.Window();
  if (wParam == SIZE_RESTORED)
    w.State = TFormWindow::wsNormal;
  else if (wParam == SIZE_MINIMIZED)
    w.State = TFormWindow::wsMinimized;
  else if (wParam == SIZE_MAXIMIZED)
    w.State = TFormWindow::wsMaximized;
  if (w.Phase != TFormWindow::phReady && w.Phase != TFormWindow::phReskinning) return result;
  TFormMDI& mdi = FForm.MDI();
  if (mdi.ChildOutsideNormal()) {
    // The system draws a minimised or maximised child whole; a region cut
    // for its normal size would clip it.
    FForm.Frame().DropRegion();
  } else if (w.State != TFormWindow::wsMinimized && !mdi.ChildWhileMaximized()) {
    FForm.Frame().UpdateRegion();
  }
  return result;
}

LRESULT TFormMessages::MinMaxInfo(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallOldProc(WM_GETMINMAXINFO, wParam, lParam);
  FForm.ReadWindowState();
  const TFormWindow& w = FForm.Window();
  TFormFrame& frame = FForm.Frame();
  const bool child = w.MDIKind == TFormWindow::mkChild;
  if (child && w.State == TFormWindow::wsNormal) {
    if (TWinSkinForm* parent = FForm.MDI().Frame(); parent && parent->MDI().ChildMaximized())
      parent->MDI().SetChildMaximized(false);
    frame.SetCaptionStyles(false);
  } else {
    frame.SetCaptionStyles(w.State == TFormWindow::wsMinimized || (child && w.State == TFormWindow::wsMaximized));
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  // An MDI child maximises inside its client, as the system says; an
  // unskinned popup frame keeps the system's full-monitor answer.
  if (!child && w.FrameKind != TFrameKind::Unskinned) frame.MaximisedArea(*info);
  return result;
}

LRESULT TFormMessages::SysCommand(WPARAM wParam, LPARAM lParam) {
  TFormWindow& w = FForm.Window();
  const bool child = w.MDIKind == TFormWindow::mkChild;
  if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == L' ' && !child && (w.BorderIcons & TFormWindow::biSystemMenu) &&
      w.FrameKind != TFrameKind::Unskinned && w.State != TFormWindow::wsMinimized) {
    // Alt+Space: the skin's system menu, not the native one (which a
    // minimised window, drawn by the system, keeps).
    FForm.SystemMenu().ShowFromKeyboard();
    return 0;
  }
  if (FForm.Menus().KeyFilter(wParam, lParam)) return 1;
  switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
      w.State = TFormWindow::wsMinimized;
      if (child) FForm.Frame().SetCaptionStyles(true);
      break;
    case SC_MAXIMIZE: w.State = TFormWindow::wsMaximized; break;
    case SC_RESTORE:
      w.State = TFormWindow::wsNormal;
      if (child) FForm.Frame().SetCaptionStyles(false);
      break;
  }
  return CallOldProc(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TFormMessages::MenuChanged(UINT Msg, WPARAM wParam, LPARAM lParam) {
  // The menu's own changes must not paint the frame the native way.
  LRESULT result;
  {
    const TFlagWhile changing(FForm.Frame().MenuChanging());
    result = CallOldProc(Msg, wParam, lParam);
  }
  FForm.Menus().MenuChanged(FForm.SkinData()->MenuUpdate && !FForm.MDI().MenuBarOnHold());
  return result;
}

LRESULT TFormMessages::NCActivate() {
  // Answered here: the system would paint the native caption first.
  const bool active = FForm.Window().Active;
  FForm.CaptionButtons().EnableHover(active);
  // With the timer off nobody would tell the button the mouse left.
  if (!active) FForm.Controls().ReleaseHotButton();
  FForm.Frame().Paint(nullptr);
  return 1;
}

LRESULT TFormMessages::NewTextOrIcon(UINT Msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallOldProcUnseen(Msg, wParam, lParam);
  if (Msg == WM_SETTEXT)
    FForm.Frame().ReadCaption();
  else
    FForm.CaptionButtons().LoadIcon();
  FForm.Frame().Paint(nullptr);
  return result;
}

}  // namespace qm
