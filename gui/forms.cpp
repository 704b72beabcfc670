#include "forms.h"

#include <algorithm>
#include <cwctype>

#include "comctrls.h"
#include "menus.h"

namespace gui {

TApplication& Application() {
  static TApplication application;
  return application;
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

// --- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  FVisible = false;
  FColor = clBtnFace;
  Screen().FForms.push_back(this);
  PublishEnum("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
              [this] { return static_cast<int>(FBorderStyle); },
              [this](int v) { SetBorderStyle(static_cast<TFormBorderStyle>(v)); });
  PublishEnum("Position", {"poDesigned", "poDefault", "poScreenCenter", "poDesktopCenter", "poMainFormCenter"},
              [this] { return static_cast<int>(Position); }, [this](int v) { Position = static_cast<TPosition>(v); });
  PublishEnum("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"},
              [this] { return static_cast<int>(FormStyle); }, [this](int v) { FormStyle = static_cast<TFormStyle>(v); });
  PublishBool("AutoScroll", [this] { return AutoScroll; }, [this](bool v) { AutoScroll = v; });
  PublishInt("ClientWidth", [this] { return FClientWidth; }, [this](int v) { SetClientSize(v, FClientHeight); });
  PublishInt("ClientHeight", [this] { return FClientHeight; }, [this](int v) { SetClientSize(FClientWidth, v); });
}

TCustomForm::~TCustomForm() {
  Release();
  DestroyHandle();
  std::erase(Screen().FForms, this);
  if (Application().MainForm() == this) Application().SetMainForm(nullptr);
  if (FMenu && FMenu->Form == this) FMenu->Form = nullptr;  // a menu may outlive its form
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  if (FHandle) {
    TCreateParams p;
    CreateParams(p);
    SetWindowLongPtrW(FHandle, GWL_STYLE, static_cast<LONG_PTR>(p.Style | (IsWindowVisible(FHandle) ? WS_VISIBLE : 0)));
    SetWindowLongPtrW(FHandle, GWL_EXSTYLE, static_cast<LONG_PTR>(p.ExStyle));
    SetClientSize(FClientWidth, FClientHeight);
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style = WS_CLIPCHILDREN;
  p.ExStyle = WS_EX_CONTROLPARENT;
  switch (FBorderStyle) {
    case TFormBorderStyle::bsNone: p.Style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle: p.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
    case TFormBorderStyle::bsSizeable: p.Style |= WS_OVERLAPPEDWINDOW; break;
    case TFormBorderStyle::bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case TFormBorderStyle::bsToolWindow: p.Style |= WS_CAPTION | WS_SYSMENU; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    case TFormBorderStyle::bsSizeToolWin: p.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; p.ExStyle |= WS_EX_TOOLWINDOW; break;
  }
  if (FormStyle == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (!FEnabled) p.Style |= WS_DISABLED;
  RECT r{0, 0, FClientWidth, FClientHeight};
  AdjustWindowRectForDpi(r, p.Style, FMenu != nullptr, p.ExStyle, CurrentDpi());
  p.Bounds = RECT{FBounds.left, FBounds.top, FBounds.left + r.right - r.left, FBounds.top + r.bottom - r.top};
}

void TCustomForm::CreateHandle() {
  // Laid out for the monitor it is about to appear on, so that it is not
  // drawn once at 96 DPI first; the system has the last word once the
  // window exists.
  ChangeScale(DpiAtPoint(POINT{FBounds.left, FBounds.top}));
  TWinControl::CreateHandle();
  if (FHandle && WindowDpi(FHandle) != CurrentDpi()) {
    ChangeScale(WindowDpi(FHandle));
    ApplyPosition();
  }
}

void TCustomForm::ScaleLayout(int fromDpi) {
  const int width = FDesignClient[0].At(FClientWidth, CurrentDpi(), fromDpi);
  const int height = FDesignClient[1].At(FClientHeight, CurrentDpi(), fromDpi);
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(CurrentDpi());
  ScaleFont(fromDpi);
  SetClientSize(width, height);
}

void TCustomForm::CreateWnd() {
  if (FMenu) ::SetMenu(FHandle, FMenu->Handle());
  SetClientSize(FClientWidth, FClientHeight);
  ApplyPosition();
}

void TCustomForm::SetClientSize(int width, int height) {
  FClientWidth = width;
  FClientHeight = height;
  if (!FHandle) return;
  RECT r{0, 0, width, height};
  AdjustWindowRectForDpi(r, static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_STYLE)), GetMenu(FHandle) != nullptr,
                         static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_EXSTYLE)), CurrentDpi());
  SetWindowPos(FHandle, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar may wrap to more lines once the width is known, and a frame
  // may differ from what its scale's metrics say (a frame not yet moved to
  // the new scale): fit again.
  RECT client;
  GetClientRect(FHandle, &client);
  if (client.right != width || client.bottom != height) {
    RECT w;
    GetWindowRect(FHandle, &w);
    SetWindowPos(FHandle, nullptr, 0, 0, w.right - w.left + width - client.right,
                 w.bottom - w.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TCustomForm::ApplyPosition() {
  if (!FHandle) return;
  RECT w;
  GetWindowRect(FHandle, &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  RECT area{0, 0, Screen().Width(), Screen().Height()};
  switch (Position) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
      break;
    case TPosition::poMainFormCenter:
      if (TCustomForm* main = Application().MainForm(); main && main != this && main->HandleAllocated())
        GetWindowRect(main->Handle(), &area);
      break;
    default:
      return;
  }
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(FHandle, nullptr, std::max(x, 0), std::max(y, 0), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  // The menu bar takes its height from the client area; give it back.
  const int width = FClientWidth, height = FClientHeight;
  if (FMenu) FMenu->Form = nullptr;
  FMenu = menu;
  if (FMenu) FMenu->Form = this;
  MenuChanged();
  SetClientSize(width, height);
}

void TCustomForm::MenuChanged() {
  // Through the window, so that a procedure stacked on it hears of the
  // change too; the bar itself is set in the form's own handling.
  if (FHandle) SendMessageW(FHandle, CM_MENUCHANGED, 0, 0);
  else Perform(CM_MENUCHANGED);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FMenu) {
    FMenu->Form = nullptr;
    FMenu = nullptr;
    MenuChanged();
  }
}

void TCustomForm::Show() {
  FVisible = true;
  ShowWindow(Handle(), SW_SHOWNORMAL);
  // Start with the keyboard in the first control, so Tab works at once.
  const HWND focus = GetFocus();
  if (!focus || focus == FHandle || !IsChild(FHandle, focus))
    if (HWND first = GetNextDlgTabItem(FHandle, nullptr, FALSE)) ::SetFocus(first);
  UpdateWindow(FHandle);
}

void TCustomForm::Hide() {
  FVisible = false;
  if (FHandle) ShowWindow(FHandle, SW_HIDE);
}

void TCustomForm::Close() {
  if (FHandle) SendMessageW(FHandle, WM_CLOSE, 0, 0);
  else if (Application().MainForm() == this) Application().Terminate();
}

bool TCustomForm::Active() const { return FHandle && GetActiveWindow() == FHandle; }

TMenu* TCustomForm::FindMenuOf(UINT command) const {
  if (FMenu && FMenu->FindItem(command, TFindItemKind::fkCommand)) return FMenu;
  return nullptr;
}

namespace {
// The control whose caption names key as its accelerator ("&X").
TControl* FindAccelerator(TWinControl& container, wchar_t key) {
  for (int i = 0; i < container.ControlCount(); ++i) {
    TControl* c = container.Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    const std::wstring caption = Widen(c->Caption());
    for (size_t at = caption.find(L'&'); at != std::wstring::npos && at + 1 < caption.size();
         at = caption.find(L'&', at + 2)) {
      if (caption[at + 1] != L'&' && std::towupper(caption[at + 1]) == std::towupper(key)) return c;
    }
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (TControl* inner = FindAccelerator(*w, key)) return inner;
  }
  return nullptr;
}
}  // namespace

void TCustomForm::DialogChar(TMessage& m) {
  if (TControl* c = FindAccelerator(*this, static_cast<wchar_t>(m.WParam))) {
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->TabStop) w->SetFocus();
    c->Click();
    m.Result = 1;
  }
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      // Menu commands and accelerators come without a control window.
      if (m.LParam == 0 && HIWORD(m.WParam) <= 1) {
        if (TMenu* menu = FindMenuOf(LOWORD(m.WParam))) {
          menu->DispatchCommand(LOWORD(m.WParam));
          return;
        }
      }
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis->CtlType == ODT_MENU && FMenu && FMenu->MeasureItem(*mis)) {
        m.Result = TRUE;
        return;
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType == ODT_MENU && FMenu && FMenu->DrawItem(*dis)) {
        m.Result = TRUE;
        return;
      }
      break;
    }
    case CM_MENUCHANGED:
      // Attached here, at the end of the handler chain: a skinner drawing
      // its own bar takes the native one away again after this returns.
      if (FHandle) {
        const HMENU wanted = FMenu ? FMenu->Handle() : nullptr;
        if (GetMenu(FHandle) != wanted) ::SetMenu(FHandle, wanted);
        DrawMenuBar(FHandle);
      }
      break;
    case WM_DESTROY:
      // DestroyWindow would destroy the attached menu too, which belongs to
      // its menu component and may be shown again.
      if (FMenu && GetMenu(FHandle) == FMenu->Handle()) ::SetMenu(FHandle, nullptr);
      break;
    case CM_DIALOGCHAR:
      DialogChar(m);
      return;
    case WM_NCCREATE:
      if (!(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)) EnableNonClientScaling(FHandle);
      break;
    case WM_DPICHANGED:
      // Moved to a monitor of another scale: the system suggests the
      // rectangle, the form fits its scaled client area into it.
      if (FHandle) {
        const RECT suggested = *reinterpret_cast<const RECT*>(m.LParam);
        // Every control moves and changes font: drawn once, when all is in
        // place, not once per control.
        const bool shown = IsWindowVisible(FHandle);
        if (shown) SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
        ChangeScale(HIWORD(m.WParam));
        const int width = FClientWidth, height = FClientHeight;
        SetWindowPos(FHandle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SetClientSize(width, height);
        if (shown) {
          SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
          RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        m.Result = 0;
        return;
      }
      break;
    case WM_CLOSE:
      if (Application().MainForm() == this) Application().Terminate();
      else Hide();
      return;
    case WM_WINDOWPOSCHANGED:
      if (FHandle) {
        GetWindowRect(FHandle, &FBounds);
        RECT c;
        GetClientRect(FHandle, &c);
        if (!IsIconic(FHandle)) FClientWidth = c.right, FClientHeight = c.bottom;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

// --- TScreen

TScreen::TScreen() { RefreshMenuFont(); }

TCustomForm* TScreen::FindForm(HWND handle) const {
  if (!handle) return nullptr;
  for (TCustomForm* f : FForms)
    if (f->HandleAllocated() && f->Handle() == handle) return f;
  return nullptr;
}

TFont& TScreen::MenuFont(int dpi) {
  // The system's own answer is at its scale already.
  if (dpi == SystemDpi()) return FMenuFont;
  std::unique_ptr<TFont>& font = FScaledMenuFonts[dpi];
  if (!font) {
    font = std::make_unique<TFont>();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (NonClientMetricsForDpi(ncm, dpi)) font->AssignLogFont(ncm.lfMenuFont);
    else font->Assign(FMenuFont);
  }
  return *font;
}

void TScreen::RefreshMenuFont() {
  FScaledMenuFonts.clear();
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) FMenuFont.AssignLogFont(ncm.lfMenuFont);
}

// --- TApplication

bool TApplication::ProcessMessage(MSG& msg) {
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return false;
  }
  if (OnMessage) {
    bool handled = false;
    GuardedCall([&] { handled = OnMessage(msg); });
    if (handled) return true;
  }
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  TCustomForm* form = Screen().FindForm(root);
  if (msg.message == WM_SYSCHAR && form) {
    LRESULT handled = 0;
    GuardedCall([&] { handled = form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam); });
    if (handled) return true;
  }
  // The form's menu short cuts work wherever the keyboard is in the form.
  if (form && form->Menu() && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
    WORD modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= scCtrl;
    if (GetKeyState(VK_MENU) < 0) modifiers |= scAlt;
    TMenuItem* item = form->Menu()->FindItem(gui::ShortCut(static_cast<WORD>(msg.wParam), modifiers),
                                             TFindItemKind::fkShortCut);
    if (item && item->Enabled()) {
      GuardedCall([item] { item->Click(); });
      return true;
    }
  }
  // Ctrl+Tab turns the pages of the page control that holds the focus,
  // Ctrl+Shift+Tab turns them back.
  if (form && msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
    for (HWND w = GetFocus(); w && w != root; w = GetParent(w)) {
      if (auto* pages = dynamic_cast<TPageControl*>(TWinControl::FindControl(w))) {
        GuardedCall([&] { pages->SelectNextPage(GetKeyState(VK_SHIFT) >= 0); });
        return true;
      }
    }
  }
  // Tab and arrow keys move between the form's controls as in a dialog.
  if (form && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.message != WM_SYSCHAR &&
      IsDialogMessageW(root, &msg))
    return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  MSG msg;
  while (!FTerminated) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (!got) {
      FTerminated = true;
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!ProcessMessage(msg)) break;
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

std::string TApplication::ExceptionMessage(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "发生了未知错误。";
}

void TApplication::HandleException(std::exception_ptr error) {
  const std::string message = ExceptionMessage(error);
  if (OnException) {
    OnException(message);
    return;
  }
  if (FHandlingException) return;  // an error inside the error box itself
  FHandlingException = true;
  ShowMessage(message, MB_OK | MB_ICONSTOP);
  FHandlingException = false;
}

int TApplication::ShowMessage(const std::string& text, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner && FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->Handle();
  return ::MessageBoxW(owner, Widen(text).c_str(), Widen(Title).c_str(), flags);
}

}  // namespace gui
