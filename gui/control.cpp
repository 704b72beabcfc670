#include "control.h"

#include <algorithm>

#include "forms.h"
#include "window_proc_hook.h"
#include "window_table.h"

namespace gui {

namespace {
TWindowTable<TWinControl>& BoundControls() {
  // Never destroyed: windows may still go after static destruction began.
  static auto* controls = new TWindowTable<TWinControl>;
  return *controls;
}

// WM_MEASUREITEM names its control only by the control identifier, so each
// child window gets one its siblings do not have. They start above the
// dialog range, where IDOK and IDCANCEL would draw commands from
// IsDialogMessage, and stay within the 16 bits WM_COMMAND carries.
HMENU FreeChildId(HWND parent) {
  for (UINT_PTR id = 0x100; id <= 0xFFFF; ++id)
    if (!GetDlgItem(parent, static_cast<int>(id))) return reinterpret_cast<HMENU>(id);
  return nullptr;
}

bool IsLibraryMessage(UINT msg) { return msg >= CM_BASE && msg < 0xC000; }

// A window message being dispatched to a control, innermost last. Default
// handling marks the frame of its message, so that a handler failing after
// it does not get the default run a second time. A list on the stack rather
// than a member, because a handler may free its own control.
struct TDispatchFrame {
  const TWinControl* Control;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  bool Defaulted;
  LRESULT Result;
  TDispatchFrame* Outer;
};
TDispatchFrame* gDispatching = nullptr;  // the layer's windows live on the GUI thread

// BeginPaint when WM_PAINT brings no DC of its own, and EndPaint on every way out.
class TPaintScope {
 public:
  TPaintScope(HWND window, HDC lent) : FWindow(window), FDC(lent), FOwn(lent == nullptr) {
    if (FOwn) FDC = BeginPaint(window, &FPaint);
  }
  ~TPaintScope() {
    if (FOwn) EndPaint(FWindow, &FPaint);
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  HDC DC() const { return FDC; }
  // The area to paint, when the system said.
  const RECT* Clip() const { return FOwn ? &FPaint.rcPaint : nullptr; }

 private:
  HWND FWindow;
  HDC FDC;
  bool FOwn;
  PAINTSTRUCT FPaint{};
};
}  // namespace

void GuardedCall(const std::function<void()>& call) {
  try {
    call();
  } catch (...) {
    Application().HandleException(std::current_exception());
  }
}

// --- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont.OnChange = [this] {
    if (!FApplyingParentFont) FParentFont = false;
    FontChanged();
  };
  PublishBool("Visible", [this] { return FVisible; }, [this](bool v) { SetVisible(v); });
  PublishBool("Enabled", [this] { return FEnabled; }, [this](bool v) { SetEnabled(v); });
  PublishBool("ParentFont", [this] { return FParentFont; }, [this](bool v) { SetParentFont(v); });
  PublishBool("ParentColor", [this] { return FParentColor; }, [this](bool v) { SetParentColor(v); });
  PublishBool("DoubleBuffered", [this] { return DoubleBuffered; }, [this](bool v) { DoubleBuffered = v; });
  PublishInt("Color", [this] { return static_cast<int>(FColor); }, [this](int v) { SetColor(static_cast<TColor>(v)); });
  PublishText("Caption", [this] { return Caption(); }, [this](const std::string& v) { SetCaption(v); });
  PublishEnum("Cursor", {"crDefault", "crHandPoint", "crIBeam", "crArrow"}, [this] { return static_cast<int>(Cursor); },
              [this](int v) { Cursor = static_cast<TCursor>(v); });
}

TControl::~TControl() {
  Release();
  if (FParent) FParent->RemoveControl(this);
  // Whoever still hooks this control must not reach it once it is gone.
  for (TWindowProcHook* hook : FHooks) {
    hook->FControl = nullptr;
    for (auto* c = hook->FCall; c; c = c->Outer)
      if (c->Control == this) c->Control = nullptr;
  }
}

void TControl::CallHandlers(TMessage& message, size_t count) {
  count = std::min(count, FHooks.size());
  if (count == 0)
    WindowProc(message);
  else
    FHooks[count - 1]->Handle(*this, count - 1, message);
}

void TControl::BeforeDestruction() {
  GuardedCall([this] { Perform(CM_RELEASE); });
  TComponent::BeforeDestruction();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  CallHandlers(m, FHooks.size());
  return m.Result;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) FParent->RemoveControl(this);
  FParent = parent;
  if (FParent) {
    FParent->InsertControl(this);
    ChangeScale(FParent->FDpi);
    if (FParentFont) ParentFontChanged();
    ParentColorChanged();
  }
}

void TControl::ChangeScale(int dpi) {
  if (dpi == FDpi) return;
  const int from = FDpi;
  FDpi = dpi;
  ScaleLayout(from);
}

// Bounds before the font: a label sizing itself to its text then measures
// in the new font from its new place.
void TControl::ScaleLayout(int fromDpi) {
  ScaleBounds(fromDpi);
  ScaleFont(fromDpi);
}

void TControl::ScaleBounds(int fromDpi) {
  // Edges, not sizes: controls that touch at 96 DPI touch at every scale.
  const int left = FDesignEdges[0].At(FBounds.left, FDpi, fromDpi);
  const int top = FDesignEdges[1].At(FBounds.top, FDpi, fromDpi);
  const int right = FDesignEdges[2].At(FBounds.right, FDpi, fromDpi);
  const int bottom = FDesignEdges[3].At(FBounds.bottom, FDpi, fromDpi);
  SetBounds(left, top, right - left, bottom - top);
}

void TControl::ScaleFont(int fromDpi) {
  // A font taken from the parent follows the parent's (a form has none to
  // take it from); 0 is the system's default size, which the system scales.
  if ((FParentFont && FParent) || FFont.Height() == 0) return;
  FFont.SetHeight(FDesignFontHeight.At(FFont.Height(), FDpi, fromDpi));
}

RECT TControl::ClientRect() const { return RECT{0, 0, Width(), Height()}; }

void TControl::SetBounds(int left, int top, int width, int height) {
  if (FParent) FParent->Invalidate();
  FBounds = RECT{left, top, left + width, top + height};
  Invalidate();
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (FParent) FParent->Invalidate();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  Invalidate();
}

void TControl::SetColor(TColor color) {
  FParentColor = false;
  ChangeColor(color);
}

void TControl::ChangeColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (FParentColor && FParent) ChangeColor(FParent->Color());
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FApplyingParentFont = true;
  FFont.Assign(FParent->Font());
  FApplyingParentFont = false;
}

void TControl::FontChanged() { Invalidate(); }

void TControl::Invalidate() {}

void TControl::Update() {
  if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->Handle());
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      FMouseInControl = true;
      break;
    case CM_MOUSELEAVE:
      FMouseInControl = false;
      FPressed = false;
      break;
    default:
      break;
  }
  CallDefault(m);
}

// --- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() { Release(); }

void TGraphicControl::Invalidate() {
  if (TWinControl* p = Parent(); p && p->HandleAllocated()) {
    const RECT r = BoundsRect();
    InvalidateRect(p->Handle(), &r, TRUE);
  }
}

void TGraphicControl::WndProc(TMessage& m) {
  // Windowed controls click by their own window's rules; a windowless one
  // clicks when the button goes down and up over it.
  if (m.Msg == WM_LBUTTONDOWN) {
    FPressed = true;
  } else if (m.Msg == WM_LBUTTONUP && FPressed) {
    FPressed = false;
    const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    const RECT r = ClientRect();
    if (Enabled() && PtInRect(&r, p)) Click();
  }
  if (m.Msg == WM_PAINT && m.WParam) {
    FCanvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
    FCanvas.Font.Assign(Font());
    try {
      Paint();
    } catch (...) {
      FCanvas.SetHandle(nullptr);
      throw;
    }
    FCanvas.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

// --- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  PublishBool("TabStop", [this] { return TabStop; }, [this](bool v) { TabStop = v; });
}

TWinControl::~TWinControl() {
  Release();
  DestroyHandle();  // a window made again while the object was released
  Unbind();         // a window gone without telling us must not name this object
  // Children are owned elsewhere; they must not reach back into this object.
  for (TControl* c : FControls) c->FParent = nullptr;
  FControls.clear();
}

TWinControl* TWinControl::FindControl(HWND window) {
  return BoundControls().Find(window);
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control); w && FHandle) w->HandleNeeded();
  if (!dynamic_cast<TWinControl*>(control)) control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  std::erase(FControls, control);
  if (FMouseControl == control) FMouseControl = nullptr;
  if (FCaptureControl == control) FCaptureControl = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->FHandle && FHandle) {
    // The window cannot live on without its parent window.
    w->DestroyHandle();
  }
  Invalidate();
}

TControl* TWinControl::ControlAtPos(POINT p, bool graphicOnly) const {
  // Topmost first: later controls paint over earlier ones.
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || (graphicOnly && dynamic_cast<TWinControl*>(c))) continue;
    const RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.ClassName = Widen(ClassName());
  p.Caption = Widen(FCaption);
  p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (FVisible) p.Style |= WS_VISIBLE;
  if (!FEnabled) p.Style |= WS_DISABLED;
  if (TabStop) p.Style |= WS_TABSTOP;
  p.Bounds = FBounds;
}

void TWinControl::CreateHandle() {
  TCreateParams p;
  CreateParams(p);
  if (Parent()) p.Parent = Parent()->Handle();
  if (FHandle) return;  // the parent created this one while creating itself
  if ((p.Style & WS_CHILD) && p.Parent && !p.Id) p.Id = FreeChildId(p.Parent);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!p.SystemClass) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, p.ClassName.c_str(), &wc)) {
      wc = WNDCLASSEXW{};
      wc.cbSize = sizeof wc;
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = &TWinControl::ClassWndProc;
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      // The program's own icon (its resource MAINICON, if it has one) in
      // frames and on the taskbar, which take it from the window.
      wc.hIcon = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
      wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
      wc.lpszClassName = p.ClassName.c_str();
      if (!RegisterClassExW(&wc)) throw std::runtime_error("cannot register window class " + ClassName());
    }
  }
  const RECT& b = p.Bounds;
  HWND h = CreateWindowExW(p.ExStyle, p.ClassName.c_str(), p.Caption.c_str(), p.Style, b.left, b.top,
                           b.right - b.left, b.bottom - b.top, p.Parent, p.Id, instance, this);
  if (!h) throw std::runtime_error("cannot create the window of " + (Name.empty() ? ClassName() : Name));
  if (p.SystemClass) {
    // A system control: put our procedure in front of its own. Anyone may
    // later stack theirs on top and take it off again; we never re-assert.
    Bind(h);
    FDefWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::ClassWndProc)));
  }
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), FALSE);
  CreateWnd();
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
}

void TWinControl::DestroyHandle() {
  if (FHandle) DestroyWindow(FHandle);
}

void TWinControl::BeforeDestruction() {
  TControl::BeforeDestruction();
  DestroyHandle();
}

void TWinControl::Bind(HWND hwnd) {
  FHandle = hwnd;
  FDefWndProc = &DefWindowProcW;
  BoundControls().Set(hwnd, this);
}

void TWinControl::Unbind() {
  if (!FHandle) return;
  BoundControls().Forget(FHandle, this);
  FHandle = nullptr;
  FMouseInControl = false;
}

LRESULT CALLBACK TWinControl::ClassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* self = nullptr;
  if (msg == WM_NCCREATE && !FindControl(hwnd)) {
    // An own-class window: the object came as the creation parameter.
    self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) self->Bind(hwnd);
  } else {
    self = FindControl(hwnd);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Dispatch(hwnd, msg, wParam, lParam);
}

LRESULT TWinControl::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  TDispatchFrame frame{this, msg, wParam, lParam, false, 0, gDispatching};
  gDispatching = &frame;
  bool handled = false;
  GuardedCall([&] {
    CallHandlers(m, FHooks.size());
    handled = true;
  });
  gDispatching = frame.Outer;
  if (!handled && frame.Defaulted) {
    m.Result = frame.Result;  // the answer default handling gave before the failure
  } else if (!handled && msg != WM_NCDESTROY) {
    // The handler failed half-way; the window still needs an answer.
    m.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : &DefWindowProcW, hwnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) Unbind();
  return m.Result;
}

void TWinControl::CallDefault(TMessage& m) {
  if (IsLibraryMessage(m.Msg) || !FHandle) {
    m.Result = 0;
    return;
  }
  m.Result = CallWindowProcW(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
  for (TDispatchFrame* f = gDispatching; f; f = f->Outer) {
    if (f->Control != this) continue;
    if (f->Msg == m.Msg && f->WParam == m.WParam && f->LParam == m.LParam) {
      f->Defaulted = true;
      f->Result = m.Result;
    }
    break;
  }
}

// Reflection. Child controls report to their parent window (WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL,
// WM_VSCROLL). The parent's own handler, at the end of its WindowProc chain,
// sends the message on to the library control it came from as CN_BASE + msg
// through that control's WindowProc, and the control's answer is the answer.
// Messages from windows that are no library control, menu items and
// accelerators (no control window) stay with the parent. A handler earlier in
// the parent's chain sees the message first and may keep it.
bool TWinControl::Reflect(TMessage& m) {
  HWND from = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      from = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      from = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType != ODT_MENU) from = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis->CtlType != ODT_MENU && FHandle) from = GetDlgItem(FHandle, static_cast<int>(mis->CtlID));
      break;
    }
    default:
      return false;
  }
  TWinControl* child = FindControl(from);
  if (!child || child == this) return false;
  m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::ApplyCtlColor(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(FEnabled ? FFont.Color() : clGrayText));
  SetBkColor(dc, ColorToRGB(FColor));
  if (!FColorBrush) {
    if ((FColor & 0xFF000000u) == 0xFF000000u)
      FColorBrush = TGdiHandle<HBRUSH>(GetSysColorBrush(static_cast<int>(FColor & 0xFF)), false);
    else
      FColorBrush = TGdiHandle<HBRUSH>(CreateSolidBrush(ColorToRGB(FColor)), true);
  }
  m.Result = reinterpret_cast<LRESULT>(FColorBrush.Get());
}

void TWinControl::TrackGraphicMouse(TMessage& m) {
  const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p, true);
  if (m.Msg == WM_MOUSEMOVE && target != FMouseControl) {
    if (FMouseControl) FMouseControl->Perform(CM_MOUSELEAVE);
    FMouseControl = target;
    if (FMouseControl) FMouseControl->Perform(CM_MOUSEENTER);
  }
  if (!target) return;
  const LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
  if (m.Msg == WM_LBUTTONDOWN) {
    FCaptureControl = target;
    SetCapture(FHandle);
  }
  target->Perform(m.Msg, m.WParam, local);
  if (m.Msg == WM_LBUTTONUP) {
    FCaptureControl = nullptr;
    if (GetCapture() == FHandle) ReleaseCapture();
  }
}

void TWinControl::WndProc(TMessage& m) {
  if (Reflect(m)) return;
  switch (m.Msg) {
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
      ApplyCtlColor(m);
      return;
    case WM_MOUSEMOVE:
      if (!FMouseInControl && FHandle) {
        FMouseInControl = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&tme);
        Perform(CM_MOUSEENTER);
      }
      TrackGraphicMouse(m);
      break;
    case WM_MOUSELEAVE:
      FMouseInControl = false;
      if (FMouseControl) {
        TControl* left = FMouseControl;
        FMouseControl = nullptr;
        left->Perform(CM_MOUSELEAVE);
      }
      Perform(CM_MOUSELEAVE);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      TrackGraphicMouse(m);
      break;
    case WM_GETFONT:
      // Windows of our own classes answer with their font, as system
      // controls do, so that whoever paints them measures as they do.
      if (FDefWndProc == &DefWindowProcW) {
        m.Result = reinterpret_cast<LRESULT>(FFont.Handle());
        return;
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(m.WParam) == FHandle && LOWORD(m.LParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(FHandle, &p);
        TControl* c = ControlAtPos(p, true);
        const TCursor cursor = c ? c->Cursor : Cursor;
        if (cursor == TCursor::crHandPoint) {
          SetCursor(LoadCursorW(nullptr, IDC_HAND));
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_KILLFOCUS:
      CallDefault(m);
      Perform(CM_EXIT);
      return;
    case WM_ERASEBKGND:
      if (!FDefWndProc || FDefWndProc == &DefWindowProcW) {
        if (!DoubleBuffered) PaintBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (FDefWndProc == &DefWindowProcW) {
        const TPaintScope paint(FHandle, reinterpret_cast<HDC>(m.WParam));
        HDC dc = paint.DC();
        RECT client;
        GetClientRect(FHandle, &client);
        if (DoubleBuffered) {
          TBitmap buffer(client.right, client.bottom);
          PaintBackground(buffer.Canvas().Handle());
          PaintWindow(buffer.Canvas().Handle());
          PaintControls(buffer.Canvas().Handle(), nullptr);
          TCanvas target(dc);
          buffer.Draw(target, 0, 0);
        } else {
          PaintWindow(dc);
          PaintControls(dc, paint.Clip());
        }
        return;
      }
      break;
    default:
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::PaintBackground(HDC dc) {
  RECT r;
  GetClientRect(FHandle, &r);
  TCanvas canvas(dc);
  canvas.Brush.SetColor(FColor);
  canvas.FillRect(r);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, const RECT* clip) {
  for (TControl* c : FControls) {
    if (!c->Visible() || dynamic_cast<TWinControl*>(c)) continue;
    RECT r = c->BoundsRect(), hit;
    if (clip && !IntersectRect(&hit, &r, clip)) continue;
    const TDCStateGuard saved(dc);
    POINT org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + r.left, org.y + r.top, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::ScaleLayout(int fromDpi) {
  ScaleBounds(fromDpi);
  // The children are in place before the font they share reaches them.
  for (TControl* c : FControls) c->ChangeScale(FDpi);
  ScaleFont(fromDpi);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  FBounds = RECT{left, top, left + width, top + height};
  if (FHandle) SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  if (FHandle) EnableWindow(FHandle, enabled);
  Perform(CM_ENABLEDCHANGED);
  // The system repaints its own controls; a window of our own class would
  // keep its old look.
  Invalidate();
}

std::string TWinControl::Caption() const {
  if (!FHandle) return FCaption;
  const int n = GetWindowTextLengthW(FHandle);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(FHandle, text.data(), n + 1)));
  return Narrow(text);
}

void TWinControl::SetCaption(const std::string& caption) {
  FCaption = caption;
  if (FHandle && Caption() != caption) SetWindowTextW(FHandle, Widen(caption).c_str());
}

void TWinControl::Invalidate() {
  // A hidden window is painted whole when it is shown; invalidating it now
  // is only a round trip to the window server under Wine.
  if (FHandle && IsWindowVisible(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }
bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::FontChanged() {
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), TRUE);
  for (TControl* c : FControls) c->ParentFontChanged();
  Invalidate();
}

void TWinControl::ColorChanged() {
  FColorBrush.Reset();
  for (TControl* c : FControls) c->ParentColorChanged();
  Invalidate();
}

bool FocusCuesHidden(HWND window) {
  return window && (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

bool AcceleratorCuesHidden(HWND window) {
  return window && (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
}

}  // namespace gui
