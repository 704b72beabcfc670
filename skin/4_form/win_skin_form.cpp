#include "skin/4_form/win_skin_form.h"

#include <algorithm>
#include <stdexcept>

#include "gui/debug_report.h"
#include "gui/desktop_compositor.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/monitors.h"
#include "gui/timer.h"
#include "gui/visual_styles.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/control_dispatch.h"
#include "skin/3_controls/skin_control.h"
#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/skin_window_messages.h"

namespace qm {

namespace {

constexpr LONG_PTR kCaptionBits = WS_CAPTION;  // 0xC00000
// Sent by themed systems to draw the native caption and frame directly
// (WM_NCUAHDRAWCAPTION, WM_NCUAHDRAWFRAME); undocumented, never by Wine.
constexpr UINT kDrawNativeCaption = 0x00AE, kDrawNativeFrame = 0x00AF;
constexpr UINT kCompositionChanged = 0x031E;  // WM_DWMCOMPOSITIONCHANGED

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

std::wstring WindowTextOf(HWND window) {
  wchar_t text[1000] = {};
  SendMessageW(window, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(text));
  return text;
}

// The caption's length as the widening rule counts it: in GB2312 bytes, two
// for each Chinese character, which is about how many spaces it is wide.
int CaptionBytes(const std::wstring& caption) {
  if (caption.empty()) return 0;
  const int bytes = WideCharToMultiByte(936, 0, caption.c_str(), static_cast<int>(caption.size()), nullptr, 0,
                                        nullptr, nullptr);
  return bytes > 0 ? bytes : static_cast<int>(caption.size());
}

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

std::wstring ClassNameOf(HWND window) {
  wchar_t name[100] = {};
  GetClassNameW(window, name, 100);
  return name;
}

}  // namespace

TWinSkinForm::TWinSkinForm(gui::TComponent* Owner) : gui::TComponent(Owner), FDoubleClickTime(GetDoubleClickTime()) {
  LoadCaptionFont();
  // The user is told nothing: the window keeps what it had.
  FSubclass.DebugName = L"form skinner";
  FSubclass.OnWindowDestroyed = [this] { FPhase = phDead; };
}

TWinSkinForm::~TWinSkinForm() {
  // The teardown needs the whole object, also for a skinner without holder.
  Release();
}

void TWinSkinForm::BeforeDestruction() {
  const bool formGoing = FForm && (FForm->ComponentState() & gui::csDestroying);
  if (FSubclass.Attached() && !formGoing && FPhase != phDestroying && IsWindow(FHandle)) {
    try {
      Detach();
    } catch (...) {
      gui::DebugReport(L"giving a window back as its form skinner is freed", FHandle);
    }
  }
  // A form that outlives its skinner must not keep menu handlers that
  // point at it.
  if (FForm && !formGoing) SetPopupsOwnerDraw(FForm, false);
  UnhookClient();
  if (FSubclass.Attached()) {
    RestoreProcedures();
    DropRegion();
    GiveFrameToSystem(false);
  }
  FreeControls();
  if (TFormSkinnerHost* host = FormSkinnerHost()) host->RemoveFormSkinner(this);
  // The owned timer, menu bar and system menu go here.
  gui::TComponent::BeforeDestruction();
  FHoverTimer = nullptr;
  FMenuBar = nullptr;
  FSystemPopup = nullptr;
}

void TWinSkinForm::LoadCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    FCaptionFont = gui::TGdiHandle<HFONT>(CreateFontIndirectW(&metrics.lfCaptionFont), true);
}

bool TWinSkinForm::AttachLibraryForm(TSkinData* SkinData, gui::TCustomForm* Form) {
  // Nothing loaded yet: nothing to draw with.
  if (FSubclass.Attached() || !FHandle || !Form || !SkinData->Skin()) return false;
  return AttachOrUndo(SkinData, Form);
}

bool TWinSkinForm::Attach(TSkinData* SkinData) {
  if (FSubclass.Attached() || !FHandle || !SkinData->Skin()) return false;
  return AttachOrUndo(SkinData, nullptr);
}

bool TWinSkinForm::AttachOrUndo(TSkinData* SkinData, gui::TCustomForm* Form) {
  // What the window is now, given back exactly if the attach cannot finish.
  const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  const HMENU menu = GetMenu(FHandle);
  const bool autoScroll = Form && Form->AutoScroll;
  try {
    if (Form) {
      FForm = Form;
      Form->AutoScroll = false;
      if (SkinData->SkinControls.Contains(TSkinControlType::xcMainMenu) &&
          !FFormHook.Attach(Form, [this](gui::TMessage& m) { FormWindowProc(m); }))
        throw std::runtime_error("the form's message handler cannot be hooked");
    }
    AttachWindow(SkinData);
    if (Form) {
      // Menu items are drawn by the window that skins its menus, so they
      // follow the frame's gate, not only the popup menus' own.
      if (FSkinFrame) SetPopupsOwnerDraw(Form, true);
      FSavedColor = Form->Color();
      FColourTaken = true;
      Form->SetColor(FSkin->ButtonFaceColour);
    }
    return true;
  } catch (...) {
    gui::DebugReport(L"attaching the form skinner", FHandle);
    UndoAttach(style, menu);
    if (Form) Form->AutoScroll = autoScroll;
    return false;
  }
}

void TWinSkinForm::UndoAttach(LONG_PTR Style, HMENU Menu) {
  if (FHoverTimer) {
    FHoverTimer->Free();
    FHoverTimer = nullptr;
  }
  if (FForm) {
    SetPopupsOwnerDraw(FForm, false);
    if (FColourTaken) FForm->SetColor(FSavedColor);
  }
  FColourTaken = false;
  FreeControls();
  RestoreProcedures();
  UnhookClient();
  FreeMenuBar(true);
  FreeButtons();
  FMenuHeight = 0;
  if (GetMenu(FHandle) != Menu) SetMenu(FHandle, Menu);
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) != Style) {
    SetWindowLongPtrW(FHandle, GWL_STYLE, Style);
    RefreshFrame();
  }
  FStyle = Style;
  FForm = nullptr;
}

void TWinSkinForm::AttachWindow(TSkinData* SkinData) {
  FSkinData = SkinData;
  FSkin = SkinData->Skin();
  FHoverTimer = Make<gui::TTimer>();
  FHoverTimer->SetEnabled(false);
  FHoverTimer->SetInterval(kHoverTimerMs);
  FHoverTimer->OnTimer = [this](gui::TTimer&) {
    try {
      HoverTick();
    } catch (...) {
      // The hover look simply stays until the next move.
      gui::DebugReport(L"the form skinner's hover tick", FHandle);
    }
  };
  FSkinFrame = SkinData->SkinControls.Contains(TSkinControlType::xcMainMenu);
  FStyle = GetWindowLongPtrW(FHandle, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  FSystemMenu = GetSystemMenu(FHandle, FALSE);
  FHadMenu = GetMenu(FHandle) != nullptr || (FForm && FForm->Menu());
  LoadIcon();
  FCaption = WindowTextOf(FHandle);
  FClassName = ClassNameOf(FHandle);
  FOwnerWnd = GetWindow(FHandle, GW_OWNER);
  GetClientRect(FHandle, &FClientRect);
  RECT window;
  GetWindowRect(FHandle, &window);
  FNativeFrame = RECT{0, 0, Width(window) - Width(FClientRect), Height(window) - Height(FClientRect)};
  FBorderIcons = 0;
  if ((FStyle & WS_SYSMENU) || FSystemMenu) FBorderIcons |= biSystemMenu;
  if (FStyle & WS_MINIMIZEBOX) FBorderIcons |= biMinimize;
  if (FStyle & WS_MAXIMIZEBOX) FBorderIcons |= biMaximize;
  ReadWindowState();
  FindClientWindow();
  if (exStyle & WS_EX_MDICHILD) FMDIKind = mkChild;
  FFrameKind = TFrameKind::Fixed;
  if ((FStyle & WS_POPUP) && (FStyle & kCaptionBits) != kCaptionBits)
    FFrameKind = TFrameKind::Unskinned;
  else if ((exStyle & WS_EX_WINDOWEDGE) || (FStyle & WS_THICKFRAME))
    FFrameKind = TFrameKind::Sizing;
  if (FMDIKind == mkFrame) HookClient();
  if (FSkinFrame) {
    if (GetMenu(FHandle) && FMDIKind != mkChild && FFrameKind != TFrameKind::Unskinned) CreateMenuBar();
    if (!MDIChildWhileMaximized() && FWindowState != wsMinimized) SetCaptionStyles(false);
    BuildFrame();
    TakeFrameFromSystem();
  }
  if (!FSubclass.Attach(FHandle, [this](UINT msg, WPARAM w, LPARAM l) { return SkinWndProc(msg, w, l); }))
    throw std::runtime_error("the window's procedure cannot be replaced");
  TControlDispatch dispatch(*this, *SkinData);
  if (FForm)
    dispatch.SkinComponents(FForm);
  else
    dispatch.SkinChildWindows();
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinSkinForm::SkinChildWindow(HWND Child) {
  if (FSkinData) TControlDispatch(*this, *FSkinData).SkinChildWindow(Child);
}

bool TWinSkinForm::AddControl(TSkinControl* Skinner) {
  if (std::find(FControls.begin(), FControls.end(), Skinner) != FControls.end()) return true;
  FControls.push_back(Skinner);
  return false;
}

void TWinSkinForm::RemoveControl(TSkinControl* Skinner) {
  if (FHotButton == Skinner) FHotButton = nullptr;
  auto last = std::find(FControls.rbegin(), FControls.rend(), Skinner);
  if (last != FControls.rend()) FControls.erase(std::next(last).base());
}

void TWinSkinForm::SweepControls() {
  for (size_t i = FControls.size(); i-- > 0;)
    if (i < FControls.size() && FControls[i]->State == TSkinControl::stDead) FControls[i]->Free();
}

void TWinSkinForm::FreeControls() {
  while (!FControls.empty()) {
    TSkinControl* skinner = FControls.front();
    if (skinner->State != TSkinControl::stDead) skinner->RestoreControl();
    FControls.erase(FControls.begin());
    skinner->Free();
  }
  FHotButton = nullptr;
}

void TWinSkinForm::DetachControls() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  FreeControls();
  if (FForm && FPhase != phDestroying) FForm->SetColor(FSavedColor);
  RestoreProcedures();
  UnhookClient();
  if (FForm && FPhase != phDestroying)
    for (gui::TComponent* c : FForm->ComponentList())
      if (auto* control = dynamic_cast<gui::TControl*>(c)) control->Invalidate();
}

void TWinSkinForm::BuildFrame() {
  FMetrics = SkinFrameMetrics(*FSkin, FFrameKind == TFrameKind::Unskinned);
  // Pictures of the skin before must neither be shown nor shape the region.
  FBorders.Clear();
  FTitleBuffer.SetSize(0, 0);
  if (FFrameKind == TFrameKind::Unskinned) FMenuHeight = 0;
  BuildButtons();
}

void TWinSkinForm::SetCaptionStyles(bool Restore) {
  // While a child is maximised the system draws every child natively.
  if (!Restore && MDIChildWhileMaximized()) return;
  LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  if (Restore) {
    if (FBorderIcons & biSystemMenu) style |= WS_SYSMENU;
    if (FBorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
    if (FBorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
    if (FBorderIcons & biCaptionRemoved) style |= kCaptionBits;
  } else if (FOwnerWnd) {
    // An owned window keeps its caption: the system would otherwise give
    // its task-bar button and activation to the owner.
    style &= ~static_cast<LONG_PTR>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  } else {
    FBorderIcons |= biCaptionRemoved;
    style &= ~kCaptionBits;
  }
  SetWindowLongPtrW(FHandle, GWL_STYLE, style);
  FStyle = style;
}

void TWinSkinForm::TakeFrameFromSystem() {
  // Either would draw a frame of its own under or over the skin's: the
  // theme its caption, buttons and animations, the compositor its glass.
  FUnthemed = gui::TurnWindowThemeOff(FHandle);
  FNoCompositorFrame = gui::SetNonClientRendering(FHandle, false);
}

void TWinSkinForm::GiveFrameToSystem(bool WindowGoing) {
  if (!WindowGoing) {
    if (FUnthemed) gui::RestoreWindowTheme(FHandle);
    if (FNoCompositorFrame) gui::SetNonClientRendering(FHandle, true);
    Uncloak();
  }
  FUnthemed = FNoCompositorFrame = FCloaked = false;
}

void TWinSkinForm::Uncloak() {
  if (FCloaked) gui::SetCloaked(FHandle, false);
  FCloaked = false;
}

LRESULT TWinSkinForm::CallOldProcUnseen(UINT Msg, WPARAM wParam, LPARAM lParam) {
  const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  if (!(style & WS_VISIBLE)) return CallOldProc(Msg, wParam, lParam);
  struct TShownAgain {
    HWND Window;
    ~TShownAgain() { SetWindowLongPtrW(Window, GWL_STYLE, GetWindowLongPtrW(Window, GWL_STYLE) | WS_VISIBLE); }
  };
  SetWindowLongPtrW(FHandle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  const TShownAgain shown{FHandle};
  return CallOldProc(Msg, wParam, lParam);
}

void TWinSkinForm::MaximisedArea(MINMAXINFO& Info) const {
  // Without its native frame the system would maximise the window over the
  // whole monitor, task bar included, or hang its title off the top edge;
  // and it measures from the primary monitor wherever the window is.
  const gui::TMonitorArea area = gui::MonitorAreaOf(FHandle);
  const LONG w = Width(area.Work), h = Height(area.Work);
  Info.ptMaxPosition = POINT{area.Work.left - area.Monitor.left, area.Work.top - area.Monitor.top};
  Info.ptMaxSize = POINT{w, h};
  Info.ptMaxTrackSize.x = std::max(Info.ptMaxTrackSize.x, w);
  Info.ptMaxTrackSize.y = std::max(Info.ptMaxTrackSize.y, h);
}

void TWinSkinForm::SystemSettingsChanged(UINT Msg) {
  LoadCaptionFont();
  gui::Screen().RefreshMenuFont();
  FDoubleClickTime = GetDoubleClickTime();
  LoadIcon();
  if (FMenuBar) FMenuHeight = GetSystemMetrics(SM_CYMENU);
  // A compositor that was switched on anew knows nothing of the window.
  if (Msg == kCompositionChanged && FSkinFrame && FSubclass.Attached())
    FNoCompositorFrame = gui::SetNonClientRendering(FHandle, false);
  RemeasureMenus();
  if (FPhase != phReady || !FSkinFrame) return;
  RefreshFrame();
  PaintFrame(nullptr);
}

void TWinSkinForm::RefreshFrame() {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(FHandle, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = wsMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = wsMaximized; break;
    default: FWindowState = wsNormal;
  }
}

void TWinSkinForm::FitWindow(bool Reskin) {
  if (FWindowState == wsMaximized) {
    RefreshFrame();
    return;
  }
  // The client size measured at attach is the size to keep: recomputing it
  // from the native frame's metrics would be off for any frame that is not
  // a sizing one, and the window would lose client pixels to the skin.
  if (Reskin) GetClientRect(FHandle, &FClientRect);
  int width = Width(FClientRect) + FMetrics.BorderLeft + FMetrics.BorderRight;
  const int height = Height(FClientRect) + FMetrics.TitleHeight + FMetrics.BorderBottom + FMenuHeight;
  if (!Reskin && (FClassName == L"TMessageForm" || FClassName == L"#32770")) {
    // A dialog whose caption does not fit is widened, and its children move
    // to stay centred.
    {
      const gui::TWindowDC dc(FHandle);
      const gui::TSelectGuard font(dc.Handle(), FCaptionFont.Get());
      SIZE space{};
      GetTextExtentPoint32W(dc.Handle(), L" ", 1, &space);
      FSpaceWidth = space.cx;
    }
    FCaption = WindowTextOf(FHandle);
    const TDataSkinTitle* title = FSkin->Title.get();
    const int minimum = (CaptionBytes(FCaption) + 7) * FSpaceWidth + FMetrics.BorderLeft +
                        FMetrics.BorderRight +
                        (title ? title->LeftWidth + title->RightWidth + title->TextBackLeft + title->TextBackRight : 0);
    if (width < minimum) {
      const int shift = (minimum - width) / 2;
      for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = minimum;
    }
  }
  // Never activating: a change of skin refits every skinned window, which
  // must not bring each to the front in turn.
  // After a skin change the client moves within the window as the frame
  // around it changes, painted in the old skin's colours and with parts
  // still waiting to be painted in the new ones: copied to the new place,
  // those parts would no longer be where the system repaints. It paints
  // afresh instead. At the first fit nothing has been painted yet, and the
  // copy costs nothing.
  SetWindowPos(FHandle, nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | (Reskin ? SWP_NOCOPYBITS : 0));
  FFitted = true;
}

void TWinSkinForm::FinishAttach() {
  if (FPhase == phDead || !FSubclass.Attached()) return;
  try {
    FinishAttachSteps();
  } catch (...) {
    // Half a frame is worse than none: the window gets its own back, and
    // the manager frees this skinner at its next sweep.
    gui::DebugReport(L"finishing the form skinner's attach", FHandle);
    if (!FFitted) FPhase = phAttaching;
    Detach();
    FPhase = phDead;
  }
}

void TWinSkinForm::FinishAttachSteps() {
  if (FPhase == phAttaching && FSkinFrame && MDIChildWhileMaximized()) {
    SetCaptionStyles(true);
    RefreshFrame();
  } else if (FPhase == phAttaching && FWindowState != wsMinimized && FFrameKind != TFrameKind::Unskinned && FSkinFrame) {
    // A window may still size itself between its activation and this
    // message (a file dialog takes the size it had last time, and lays its
    // controls out for it): the client to keep is the one it has now.
    RECT window;
    GetWindowRect(FHandle, &window);
    if (Width(window) != Width(FClientRect) + Width(FNativeFrame) ||
        Height(window) != Height(FClientRect) + Height(FNativeFrame)) {
      GetClientRect(FHandle, &FClientRect);
      FNativeFrame = RECT{0, 0, Width(window) - Width(FClientRect), Height(window) - Height(FClientRect)};
    }
    FPhase = phResizing;
    FitWindow(false);
    FPhase = phReady;
    UpdateRegion();
  }
  FPhase = phReady;
  if (FSkinFrame) PaintFrame(nullptr);
  // Dressed: the compositor may show the window now.
  Uncloak();
  if (FHoverTimer) FHoverTimer->SetEnabled(FActive);
}

void TWinSkinForm::ApplySkin() {
  // The one moment this window changes skin. A load that failed published
  // nothing, and the window goes on with the skin it has.
  if (std::shared_ptr<const TLoadedSkin> skin = FSkinData->Skin()) FSkin = std::move(skin);
  if (FForm) {
    FForm->SetColor(FSkin->ButtonFaceColour);
    for (gui::TComponent* c : FForm->ComponentList())
      if (auto* form = dynamic_cast<gui::TCustomForm*>(c)) form->SetColor(FSkin->ButtonFaceColour);
  }
  for (TSkinControl* skinner : std::vector<TSkinControl*>(FControls)) skinner->SkinChanged();
  if (FSkinFrame && FForm) SetPopupsOwnerDraw(FForm, true);
  // Items measured for the old skin's margins keep that size otherwise.
  RemeasureMenus();
  FPhase = phReskinning;
  if (FSkinFrame) {
    BuildFrame();
    FitWindow(true);
    // The region's top is cut from the painted title: paint it in the new
    // skin first.
    if (FWindowState != wsMinimized) PaintFrame(nullptr);
    UpdateRegion();
  }
  FPhase = phReady;
}

HRGN TWinSkinForm::BorderRegion(TFrameSide Side, const RECT& Piece) {
  gui::TBitmap picture(Width(Piece), Height(Piece));
  HDC dc = picture.Canvas().Handle();
  if (Side == TFrameSide::Top && !FTitleBuffer.Empty() && FTitleBuffer.Width() >= Piece.right &&
      FTitleBuffer.Height() >= Piece.bottom) {
    BitBlt(dc, 0, 0, Width(Piece), Height(Piece), FTitleBuffer.Canvas().Handle(), Piece.left, Piece.top, SRCCOPY);
  } else if (gui::TBitmap* border = FBorders.Picture(*FSkin, FMetrics, Side, FRegionWidth, FRegionHeight, FActive)) {
    BitBlt(dc, 0, 0, Width(Piece), Height(Piece), border->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  return BitmapToRegion(picture, Piece.left, Piece.top, 1, 1, 1, SkinKeyColour);
}

void TWinSkinForm::UpdateRegion() {
  RECT window;
  GetWindowRect(FHandle, &window);
  const int w = Width(window), h = Height(window);
  if (w * h == 0 || MDIChildOutsideNormal()) return;
  if (w == FRegionWidth && h == FRegionHeight && FMDIKind != mkChild && FPhase != phReskinning && FOwnsRegion)
    return;
  const TFrameMetrics& m = FMetrics;
  auto trans = [&](const std::unique_ptr<TDataSkinBorder>& b) { return b && b->Trans == kTransKeyed; };
  // Every region here is freed if a shape cannot be cut, until the window
  // takes the finished one over.
  using TRegion = gui::TGdiHandle<HRGN>;
  auto owned = [](HRGN r) { return TRegion(r, true); };
  TRegion region;
  FRegionWidth = w, FRegionHeight = h;
  const TLoadedSkin& skin = *FSkin;
  if (trans(skin.BorderLeft) || trans(skin.BorderRight) || trans(skin.BorderTop) || trans(skin.BorderBottom)) {
    region = owned(CreateRectRgn(m.BorderLeft, m.TitleHeight, w - m.BorderRight, h - m.BorderBottom));
    if (FFrameKind != TFrameKind::Unskinned) {
      const RECT left{0, 0, m.BorderLeft, h}, right{w - m.BorderRight, 0, w, h},
          bottom{m.BorderLeft, h - m.BorderBottom, w - m.BorderRight, h}, top{m.BorderLeft, 0, w - m.BorderRight, m.TitleHeight};
      auto piece = [&](bool shaped, TFrameSide side, const RECT& r) {
        if (r.right <= r.left || r.bottom <= r.top) return owned(CreateRectRgn(0, 0, 0, 0));
        if (shaped)
          if (HRGN shape = BorderRegion(side, r)) return owned(shape);
        return owned(CreateRectRgnIndirect(&r));
      };
      const TRegion l = piece(trans(skin.BorderLeft) && h > 1, TFrameSide::Left, left);
      const TRegion r = piece(trans(skin.BorderRight) && h > 1, TFrameSide::Right, right);
      const TRegion b = piece(trans(skin.BorderBottom) && m.BorderBottom >= 2, TFrameSide::Bottom, bottom);
      const TRegion t = piece(trans(skin.BorderTop) && m.TitleHeight > 1, TFrameSide::Top, top);
      CombineRgn(l.Get(), l.Get(), r.Get(), RGN_OR);
      CombineRgn(t.Get(), t.Get(), b.Get(), RGN_OR);
      CombineRgn(l.Get(), l.Get(), t.Get(), RGN_OR);
      CombineRgn(region.Get(), region.Get(), l.Get(), RGN_OR);
    }
  } else {
    region = owned(CreateRectRgn(0, 0, w, h));
  }
  // The system owns a region once it is the window's, and deletes it when
  // the next one comes: it is never deleted here. Redrawn, so that nothing
  // painted before the cut stays as it was (a window manager under Wine
  // takes its own border off a window once it is shaped, and what the
  // window had painted moves with its frame); the system repaints only what
  // the cut newly uncovers of the windows behind, and never any other window.
  SetWindowRgn(FHandle, region.Detach(), TRUE);
  FOwnsRegion = true;
}

void TWinSkinForm::DropRegion() {
  if (!FOwnsRegion) return;
  FTitleBuffer.SetSize(0, 0);
  SetWindowRgn(FHandle, nullptr, FALSE);
  FOwnsRegion = false;
  FRegionWidth = FRegionHeight = 0;
}

void TWinSkinForm::RestoreProcedures() {
  FFormHook.Detach();
  FSubclass.Detach();
}

void TWinSkinForm::Detach() {
  if (FForm) SetPopupsOwnerDraw(FForm, false);
  if (!FSkinFrame) {
    DetachControls();
    Uncloak();
    return;
  }
  if (FSystemPopup) {
    FSystemPopup->Free();
    FSystemPopup = nullptr;
  }
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  if (!FSubclass.Attached()) return;
  RestoreProcedures();
  FreeControls();
  FreeButtons();
  if (FForm && FPhase != phDestroying) FForm->SetColor(FSavedColor);
  UnhookClient();
  if (!FSkinFrame) return;
  GiveFrameToSystem(false);
  SetCaptionStyles(true);
  FTitleBuffer.SetSize(0, 0);
  FreeMenuBar(true);
  const bool child = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) != 0;
  // A window never fitted to the skin (the attach did not finish) keeps
  // its size.
  if (FPhase != phDestroying && FPhase != phAttaching && (!child || FMDIKind == mkChild)) {
    RECT window;
    GetWindowRect(FHandle, &window);
    if (FMDIKind == mkChild) MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&window), 2);
    const int width = Width(window) + Width(FNativeFrame) - FMetrics.BorderLeft - FMetrics.BorderRight;
    const int height = Height(window) + Height(FNativeFrame) - FMetrics.TitleHeight - FMenuHeight - FMetrics.BorderBottom;
    SetWindowPos(FHandle, nullptr, window.left, window.top, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  FMenuHeight = 0;
  SetWindowRgn(FHandle, nullptr, TRUE);
  FOwnsRegion = false;
  FRegionWidth = FRegionHeight = 0;
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TWinSkinForm::DetachOnDestroy() {
  if (!FSkinFrame) {
    DetachControls();
    return;
  }
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  RestoreProcedures();
  FreeControls();
  UnhookClient();
  FreeMenuBar(false);
  FTitleBuffer.SetSize(0, 0);
  GiveFrameToSystem(true);
}

void TWinSkinForm::FormWindowProc(gui::TMessage& Message) {
  if (Message.Msg == WM_SKINREAPPLY) {
    ApplySkin();
    return;
  }
  if (Message.Msg == gui::CM_DIALOGCHAR && DialogChar(Message.WParam)) {
    Message.Result = 1;
    return;
  }
  FFormHook.CallPrevious(Message);
}

LRESULT TWinSkinForm::SizeHandler(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallOldProc(WM_SIZE, wParam, lParam);
  if (wParam == SIZE_RESTORED)
    FWindowState = wsNormal;
  else if (wParam == SIZE_MINIMIZED)
    FWindowState = wsMinimized;
  else if (wParam == SIZE_MAXIMIZED)
    FWindowState = wsMaximized;
  if (FPhase != phReady && FPhase != phReskinning) return result;
  if (MDIChildOutsideNormal()) {
    // The system draws a minimised or maximised child whole; a region cut
    // for its normal size would clip it.
    DropRegion();
  } else if (FWindowState != wsMinimized && !MDIChildWhileMaximized()) {
    UpdateRegion();
  }
  return result;
}

LRESULT TWinSkinForm::NCCalcSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallOldProc(WM_NCCALCSIZE, wParam, lParam);
  if (LOBYTE(wParam) == 0) return result;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  if (FFrameKind != TFrameKind::Unskinned) params->rgrc[0] = SkinnedClientRect(FMetrics, FMenuHeight, *params->lppos);
  params->rgrc[1] = params->rgrc[0];
  return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::NCPaint(WPARAM wParam) {
  if (!FSkinData->FramePainting || FMenuChanging) return 0;
  if (FFrameKind == TFrameKind::Unskinned) return CallOldProc(WM_NCPAINT, wParam, 0);
  // wParam 1 means the whole frame; it is no region to clip with.
  HDC dc = wParam > 1 ? GetDCEx(FHandle, reinterpret_cast<HRGN>(wParam), DCX_WINDOW | DCX_INTERSECTRGN) : nullptr;
  if (!dc) dc = GetWindowDC(FHandle);
  PaintFrame(dc);
  ReleaseDC(FHandle, dc);
  return 0;
}

void TWinSkinForm::PaintFrame(HDC DC) {
  // Whatever the skin data's state, a load that failed or one still to be
  // applied included, the frame is painted with the skin it was built from.
  if ((FPhase != phReady && FPhase != phReskinning) || FFrameKind == TFrameKind::Unskinned || !FSkin || MDIChildOutsideNormal()) return;
  HDC own = DC ? nullptr : GetWindowDC(FHandle);
  HDC dc = DC ? DC : own;
  try {
    GetWindowRect(FHandle, &FWindowRect);
    FWidth = Width(FWindowRect), FHeight = Height(FWindowRect);
    for (TFrameSide side : {TFrameSide::Left, TFrameSide::Right, TFrameSide::Bottom})
      if (gui::TBitmap* border = FBorders.Picture(*FSkin, FMetrics, side, FWidth, FHeight, FActive)) {
        const RECT r = FrameSideRect(FMetrics, side, FWidth, FHeight);
        BitBlt(dc, r.left, r.top, Width(r), Height(r), border->Canvas().Handle(), 0, 0, SRCCOPY);
      }
    // Only a window its frame sizes shows a grip; a skin's borders are
    // drawn alike for every window and carry none.
    if (SizedByFrame(GetWindowLongPtrW(FHandle, GWL_STYLE))) PaintSizeGrip(dc, FMetrics, FWidth, FHeight, *FSkin);
    PaintTitleBar(dc);
    if (FMenuBar && FMenuHeight > 0)
      FMenuBar->PaintMenuBar(dc, RECT{FMetrics.BorderLeft, FMetrics.TitleHeight, FWidth - FMetrics.BorderRight,
                                      FMetrics.TitleHeight + FMenuHeight});
  } catch (...) {
    // The next paint starts over.
    gui::DebugReport(L"painting the skinned frame", FHandle);
  }
  FHotObject = nullptr;  // a full repaint shows every button at rest
  if (own) ReleaseDC(FHandle, own);
}

void TWinSkinForm::PaintTitleBar(HDC DC) {
  if (FWidth <= 0 || FMetrics.TitleHeight <= 0) return;
  FTitleBuffer.SetSize(FWidth, FMetrics.TitleHeight);
  HDC buffer = FTitleBuffer.Canvas().Handle();
  // The corners are the side borders' top rows, taken from their pictures:
  // the window's own pixels may be another window's where it is covered
  // and no compositor keeps them, or stale where the paint was clipped.
  for (TFrameSide side : {TFrameSide::Left, TFrameSide::Right})
    if (gui::TBitmap* border = FBorders.Picture(*FSkin, FMetrics, side, FWidth, FHeight, FActive)) {
      const RECT r = FrameSideRect(FMetrics, side, FWidth, FHeight);
      BitBlt(buffer, r.left, 0, Width(r), FMetrics.TitleHeight, border->Canvas().Handle(), 0, 0, SRCCOPY);
    }
  const RECT area = FrameSideRect(FMetrics, TFrameSide::Top, FWidth, FHeight);
  if (gui::TBitmap* top = FBorders.Picture(*FSkin, FMetrics, TFrameSide::Top, FWidth, FHeight, FActive))
    BitBlt(buffer, area.left, area.top, Width(area), Height(area), top->Canvas().Handle(), 0, 0, SRCCOPY);
  TCaptionLook look;
  look.Text = FCaptionPrefix + FCaption;
  look.Font = FCaptionFont.Get();
  look.Active = FActive;
  look.RightToLeft = FRightToLeft;
  look.Popup = (FStyle & WS_POPUP) != 0;
  look.RightButtonsLeft = FRightButtonsLeft;
  FCaptionRect = PaintSkinCaption(buffer, area, *FSkin, look);
  LayoutButtons();
  PaintButtons(buffer);
  BitBlt(DC, 0, 0, FWidth, FMetrics.TitleHeight, buffer, 0, 0, SRCCOPY);
  SetBkMode(DC, OPAQUE);
}

void TWinSkinForm::ToggleMaximize() {
  if (FWindowState == wsMaximized) {
    RestoreWindow();
    return;
  }
  FWindowState = wsMaximized;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TWinSkinForm::ToggleMinimize() {
  if (FWindowState == wsMinimized) {
    RestoreWindow();
    return;
  }
  FWindowState = wsMinimized;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::RestoreWindow() {
  FWindowState = wsNormal;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT TWinSkinForm::SkinWndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  // Stage 1: every message.
  switch (Msg) {
    case WM_ERASEBKGND: {
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      if (FForm) return result;
      RECT client;
      GetClientRect(FHandle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, FSkin->ButtonFaceBrush());
      return 1;
    }
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE)) FStyle = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
      return CallOldProc(Msg, wParam, lParam);
    case WM_NCDESTROY: {
      FPhase = phDestroying;
      DetachOnDestroy();
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      FPhase = phDead;
      return result;
    }
    case WM_CTLCOLORBTN: {
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      if (!FForm) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return result;
    }
    case WM_CTLCOLORSTATIC:
      CallOldProc(Msg, wParam, lParam);
      if (!FForm) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(FSkin->ButtonFaceBrush());
    case WM_ISSKINNED: return 1;
    case WM_MENUSELECT: MenuSelect(wParam, lParam); break;
  }
  if (!FSkinFrame || ((FStyle & WS_CHILD) && FMDIKind != mkChild)) return CallOldProc(Msg, wParam, lParam);

  // Stage 2: the frame is skinned.
  switch (Msg) {
    case WM_SIZE: return SizeHandler(wParam, lParam);
    case WM_ACTIVATE: FActive = LOWORD(wParam) != WA_INACTIVE; break;
    case WM_GETMINMAXINFO: {
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      ReadWindowState();
      if (FMDIKind == mkChild && FWindowState == wsNormal) {
        if (TWinSkinForm* frame = MDIFrame(); frame && frame->ChildMaximized()) frame->SetChildMaximized(false);
        SetCaptionStyles(false);
      } else {
        SetCaptionStyles(FWindowState == wsMinimized || (FMDIKind == mkChild && FWindowState == wsMaximized));
      }
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
      // An MDI child maximises inside its client, as the system says; an
      // unskinned popup frame keeps the system's full-monitor answer.
      if (FMDIKind != mkChild && FFrameKind != TFrameKind::Unskinned) MaximisedArea(*info);
      return result;
    }
    case WM_WINDOWPOSCHANGED: ReadWindowState(); return CallOldProc(Msg, wParam, lParam);
    case WM_SETTEXT:
      // Library form or foreign window alike, the caption is ours. Once the
      // frame shows, the native handling runs out of sight (stage 3);
      // before that there is no frame of ours to repaint.
      if (FPhase == phAttaching || FWindowState == wsMinimized || MDIChildOutsideNormal()) {
        const LRESULT result = CallOldProc(Msg, wParam, lParam);
        FCaption = WindowTextOf(FHandle);
        return result;
      }
      break;
    case WM_NCACTIVATE: FActive = wParam != 0; break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE:
        case SC_NEXTWINDOW: case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
          // A system-menu command tracked with this window as its owner.
          PostMessageW(FHandle, WM_SYSCOMMAND, LOWORD(wParam), 0);
          return 0;
      }
      return CallOldProc(Msg, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == L' ' && FMDIKind != mkChild && (FBorderIcons & biSystemMenu) &&
          FFrameKind != TFrameKind::Unskinned && FWindowState != wsMinimized) {
        // Alt+Space: the skin's system menu, not the native one (which a
        // minimised window, drawn by the system, keeps).
        ShowSystemMenuFromKeyboard();
        return 0;
      }
      if (MenuKeyFilter(wParam, lParam)) return 1;
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          FWindowState = wsMinimized;
          if (FMDIKind == mkChild) SetCaptionStyles(true);
          break;
        case SC_MAXIMIZE: FWindowState = wsMaximized; break;
        case SC_RESTORE:
          FWindowState = wsNormal;
          if (FMDIKind == mkChild) SetCaptionStyles(false);
          break;
      }
      return CallOldProc(Msg, wParam, lParam);
    case WM_SKINATTACHED: FinishAttach(); return 0;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE:
    case kCompositionChanged: {
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      SystemSettingsChanged(Msg);
      return result;
    }
    case WM_UPDATEUISTATE: {
      // The bar's underlines follow the window's keyboard cues.
      const LRESULT result = CallOldProc(Msg, wParam, lParam);
      RepaintMenuBar();
      return result;
    }
    case gui::CM_MENUCHANGED: {
      // The menu's own changes must not paint the frame the native way.
      LRESULT result;
      {
        const TFlagWhile changing(FMenuChanging);
        result = CallOldProc(Msg, wParam, lParam);
      }
      if (FMenuBar) {
        // The form has put its native bar back; it stays off either way.
        if (GetMenu(FHandle)) {
          if (FSkinData->MenuUpdate && !FMenuBarOnHold)
            FMenuBar->BuildFromWindowMenu();
          else
            SetMenu(FHandle, nullptr);
        }
        RepaintMenuBar();
      }
      return result;
    }
  }

  // Stage 3: the attach has finished and the window shows its frame.
  if (FPhase == phAttaching || FWindowState == wsMinimized || MDIChildOutsideNormal())
    return CallOldProc(Msg, wParam, lParam);
  switch (Msg) {
    case WM_NCACTIVATE:
      // Answered here: the system would paint the native caption first.
      if (FHoverTimer) FHoverTimer->SetEnabled(FActive);
      // With the timer off nobody would tell the button the mouse left.
      if (!FActive) ReleaseHotButton();
      PaintFrame(nullptr);
      return 1;
    case kDrawNativeCaption:
    case kDrawNativeFrame: PaintFrame(nullptr); return 0;
    case WM_SETTEXT:
    case WM_SETICON: {
      const LRESULT result = CallOldProcUnseen(Msg, wParam, lParam);
      if (Msg == WM_SETTEXT)
        FCaption = WindowTextOf(FHandle);
      else
        LoadIcon();
      PaintFrame(nullptr);
      return result;
    }
    case WM_NCCALCSIZE: return NCCalcSize(wParam, lParam);
    case WM_NCHITTEST: return NCHitTest(wParam, lParam);
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN: return NCMouse(Msg, wParam, lParam);
    case WM_NCPAINT: return NCPaint(wParam);
    case WM_NCLBUTTONDBLCLK:
      if (FWindowState != wsNormal)
        RestoreWindow();
      else if (FBorderIcons & biMaximize)
        ToggleMaximize();
      return 0;
    case WM_SKINPAINTFRAME: PaintFrame(nullptr); return 0;
    case WM_MEASUREITEM: return MeasureItemMessage(wParam, lParam);
    case WM_DRAWITEM: return DrawItemMessage(wParam, lParam);
  }
  return CallOldProc(Msg, wParam, lParam);
}

}  // namespace qm
