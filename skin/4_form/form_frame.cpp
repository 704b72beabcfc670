#include "skin/4_form/form_frame.h"

#include <algorithm>

#include "gui/debug_report.h"
#include "gui/desktop_compositor.h"
#include "gui/dpi.h"
#include "gui/graphics.h"
#include "gui/monitors.h"
#include "gui/visual_styles.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

constexpr LONG_PTR kCaptionBits = WS_CAPTION;  // 0xC00000

using gui::Height;
using gui::Width;

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

}  // namespace

TFormFrame::TFormFrame(TWinSkinForm& Form) : FForm(Form) { LoadCaptionFont(); }

void TFormFrame::LoadCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (gui::NonClientMetricsForDpi(metrics, FForm.Dpi())) {
    FCaptionFont = gui::TGdiHandle<HFONT>(CreateFontIndirectW(&metrics.lfCaptionFont), true);
    FCaptionFontDpi = FForm.Dpi();
  }
}

void TFormFrame::MeasureNative() {
  GetClientRect(FForm.FHandle, &FClientRect);
  RECT window;
  GetWindowRect(FForm.FHandle, &window);
  FNativeFrame = RECT{0, 0, Width(window) - Width(FClientRect), Height(window) - Height(FClientRect)};
}

void TFormFrame::ReadCaption() { FCaption = WindowTextOf(FForm.FHandle); }

void TFormFrame::Build() {
  const bool unskinned = FForm.Window().FrameKind == TFrameKind::Unskinned;
  FMetrics = SkinFrameMetrics(*FForm.Skin(), unskinned);
  // Pictures of the skin before must neither be shown nor shape the region.
  FBorders.Clear();
  FTitleBuffer.SetSize(0, 0);
  // The caption is written in the font of the window's scale, and the bar
  // is as high as the system's at that scale.
  if (FCaptionFontDpi != FForm.Dpi()) LoadCaptionFont();
  if (unskinned) FMenuHeight = 0;
  else if (FMenuHeight > 0) FMenuHeight = gui::SystemMetricForDpi(SM_CYMENU, FForm.Dpi());
}

void TFormFrame::ScaleNative(int ToDpi, int FromDpi) {
  // What the native frame would measure at the new scale, for giving the
  // window its own frame back at the client size it has then.
  FNativeFrame.right = gui::RescaleDpi(FNativeFrame.right, ToDpi, FromDpi);
  FNativeFrame.bottom = gui::RescaleDpi(FNativeFrame.bottom, ToDpi, FromDpi);
  GetClientRect(FForm.FHandle, &FClientRect);
}

void TFormFrame::SetCaptionStyles(bool Restore) {
  // While a child is maximised the system draws every child natively.
  if (!Restore && FForm.MDI().ChildWhileMaximized()) return;
  TFormWindow& w = FForm.Window();
  const HWND handle = FForm.FHandle;
  LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
  if (Restore) {
    if (w.BorderIcons & TFormWindow::biSystemMenu) style |= WS_SYSMENU;
    if (w.BorderIcons & TFormWindow::biMinimize) style |= WS_MINIMIZEBOX;
    if (w.BorderIcons & TFormWindow::biMaximize) style |= WS_MAXIMIZEBOX;
    if (w.BorderIcons & TFormWindow::biCaptionRemoved) style |= kCaptionBits;
  } else if (w.Owner) {
    // An owned window keeps its caption: the system would otherwise give
    // its task-bar button and activation to the owner.
    style &= ~static_cast<LONG_PTR>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  } else {
    w.BorderIcons |= TFormWindow::biCaptionRemoved;
    style &= ~kCaptionBits;
  }
  SetWindowLongPtrW(handle, GWL_STYLE, style);
  w.Style = style;
}

void TFormFrame::TakeFromSystem() {
  // Either would draw a frame of its own under or over the skin's: the
  // theme its caption, buttons and animations, the compositor its glass.
  FUnthemed = gui::TurnWindowThemeOff(FForm.FHandle);
  FNoCompositorFrame = gui::SetNonClientRendering(FForm.FHandle, false);
}

void TFormFrame::GiveToSystem(bool WindowGoing) {
  if (!WindowGoing) {
    if (FUnthemed) gui::RestoreWindowTheme(FForm.FHandle);
    if (FNoCompositorFrame) gui::SetNonClientRendering(FForm.FHandle, true);
    Uncloak();
  }
  FUnthemed = FNoCompositorFrame = FCloaked = false;
}

void TFormFrame::Uncloak() {
  if (FCloaked) gui::SetCloaked(FForm.FHandle, false);
  FCloaked = false;
}

void TFormFrame::MaximisedArea(MINMAXINFO& Info) const {
  // Without its native frame the system would maximise the window over the
  // whole monitor, task bar included, or hang its title off the top edge;
  // and it measures from the primary monitor wherever the window is.
  const gui::TMonitorArea area = gui::MonitorAreaOf(FForm.FHandle);
  const LONG w = Width(area.Work), h = Height(area.Work);
  Info.ptMaxPosition = POINT{area.Work.left - area.Monitor.left, area.Work.top - area.Monitor.top};
  Info.ptMaxSize = POINT{w, h};
  Info.ptMaxTrackSize.x = std::max(Info.ptMaxTrackSize.x, w);
  Info.ptMaxTrackSize.y = std::max(Info.ptMaxTrackSize.y, h);
}

void TFormFrame::SettingsChanged(bool CompositionChanged) {
  LoadCaptionFont();
  if (FForm.Menus().Bar()) FMenuHeight = gui::SystemMetricForDpi(SM_CYMENU, FForm.Dpi());
  // A compositor that was switched on anew knows nothing of the window.
  if (CompositionChanged && FForm.Window().SkinFrame && FForm.Attached())
    FNoCompositorFrame = gui::SetNonClientRendering(FForm.FHandle, false);
}

void TFormFrame::Refresh() {
  SetWindowPos(FForm.FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int TFormFrame::WidenForCaption(int Current) {
  // A dialog whose caption does not fit is widened, and its children move
  // to stay centred.
  const HWND handle = FForm.FHandle;
  int spaceWidth = 0;
  {
    const gui::TWindowDC dc(handle);
    const gui::TSelectGuard font(dc.Handle(), FCaptionFont.Get());
    SIZE space{};
    GetTextExtentPoint32W(dc.Handle(), L" ", 1, &space);
    spaceWidth = space.cx;
  }
  ReadCaption();
  const TDataSkinTitle* title = FForm.Skin()->Title.get();
  const int minimum = (CaptionBytes(FCaption) + 7) * spaceWidth + FMetrics.BorderLeft + FMetrics.BorderRight +
                      (title ? title->LeftWidth + title->RightWidth + title->TextBackLeft + title->TextBackRight : 0);
  if (Current >= minimum) return Current;
  const int shift = (minimum - Current) / 2;
  for (HWND child = GetWindow(handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
  }
  return minimum;
}

void TFormFrame::Fit(bool Reskin) {
  if (FForm.Window().State == TFormWindow::wsMaximized) {
    Refresh();
    return;
  }
  // The client size measured at attach is the size to keep: recomputing it
  // from the native frame's metrics would be off for any frame that is not
  // a sizing one, and the window would lose client pixels to the skin.
  if (Reskin) GetClientRect(FForm.FHandle, &FClientRect);
  int width = Width(FClientRect) + FMetrics.BorderLeft + FMetrics.BorderRight;
  const int height = Height(FClientRect) + FMetrics.TitleHeight + FMetrics.BorderBottom + FMenuHeight;
  const std::wstring& kind = FForm.Window().ClassName;
  if (!Reskin && (kind == L"TMessageForm" || kind == L"#32770")) width = WidenForCaption(width);
  // Never activating: a change of skin refits every skinned window, which
  // must not bring each to the front in turn.
  // After a skin change the client moves within the window as the frame
  // around it changes, painted in the old skin's colours and with parts
  // still waiting to be painted in the new ones: copied to the new place,
  // those parts would no longer be where the system repaints. It paints
  // afresh instead. At the first fit nothing has been painted yet, and the
  // copy costs nothing.
  SetWindowPos(FForm.FHandle, nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | (Reskin ? SWP_NOCOPYBITS : 0));
  FFitted = true;
}

void TFormFrame::FitOnAttach() {
  // A window may still size itself between its activation and this
  // message (a file dialog takes the size it had last time, and lays its
  // controls out for it): the client to keep is the one it has now.
  RECT window;
  GetWindowRect(FForm.FHandle, &window);
  if (Width(window) != Width(FClientRect) + Width(FNativeFrame) ||
      Height(window) != Height(FClientRect) + Height(FNativeFrame))
    MeasureNative();
  TFormWindow& w = FForm.Window();
  w.Phase = TFormWindow::phResizing;
  Fit(false);
  w.Phase = TFormWindow::phReady;
  UpdateRegion();
}

void TFormFrame::GiveBackNativeSize() {
  const HWND handle = FForm.FHandle;
  const TFormWindow& w = FForm.Window();
  const bool child = (GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD) != 0;
  const bool mdiChild = w.MDIKind == TFormWindow::mkChild;
  // A window never fitted to the skin (the attach did not finish) keeps
  // its size.
  if (w.Phase != TFormWindow::phDestroying && w.Phase != TFormWindow::phAttaching && (!child || mdiChild)) {
    RECT window;
    GetWindowRect(handle, &window);
    if (mdiChild) MapWindowPoints(nullptr, GetParent(handle), reinterpret_cast<POINT*>(&window), 2);
    const int width = Width(window) + Width(FNativeFrame) - FMetrics.BorderLeft - FMetrics.BorderRight;
    const int height = Height(window) + Height(FNativeFrame) - FMetrics.TitleHeight - FMenuHeight - FMetrics.BorderBottom;
    SetWindowPos(handle, nullptr, window.left, window.top, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  FMenuHeight = 0;
}

HRGN TFormFrame::BorderRegion(TFrameSide Side, const RECT& Piece) {
  gui::TBitmap picture(Width(Piece), Height(Piece));
  HDC dc = picture.Canvas().Handle();
  if (Side == TFrameSide::Top && !FTitleBuffer.Empty() && FTitleBuffer.Width() >= Piece.right &&
      FTitleBuffer.Height() >= Piece.bottom) {
    BitBlt(dc, 0, 0, Width(Piece), Height(Piece), FTitleBuffer.Canvas().Handle(), Piece.left, Piece.top, SRCCOPY);
  } else if (gui::TBitmap* border = FBorders.Picture(*FForm.Skin(), FMetrics, Side, FRegionWidth, FRegionHeight,
                                                      FForm.Window().Active)) {
    BitBlt(dc, 0, 0, Width(Piece), Height(Piece), border->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  return BitmapToRegion(picture, Piece.left, Piece.top, 1, 1, 1, SkinKeyColour);
}

HRGN TFormFrame::ShapedRegion(int w, int h) {
  const TFrameMetrics& m = FMetrics;
  const TLoadedSkin& skin = *FForm.Skin();
  auto trans = [&](const std::unique_ptr<TDataSkinBorder>& b) { return b && b->Trans == kTransKeyed; };
  // Every region here is freed if a shape cannot be cut, until the window
  // takes the finished one over.
  using TRegion = gui::TGdiHandle<HRGN>;
  auto owned = [](HRGN r) { return TRegion(r, true); };
  if (!trans(skin.BorderLeft) && !trans(skin.BorderRight) && !trans(skin.BorderTop) && !trans(skin.BorderBottom))
    return CreateRectRgn(0, 0, w, h);
  TRegion region = owned(CreateRectRgn(m.BorderLeft, m.TitleHeight, w - m.BorderRight, h - m.BorderBottom));
  if (FForm.Window().FrameKind == TFrameKind::Unskinned) return region.Detach();
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
  return region.Detach();
}

void TFormFrame::UpdateRegion() {
  const HWND handle = FForm.FHandle;
  RECT window;
  GetWindowRect(handle, &window);
  const int w = Width(window), h = Height(window);
  if (w * h == 0 || FForm.MDI().ChildOutsideNormal()) return;
  const TFormWindow& fw = FForm.Window();
  if (w == FRegionWidth && h == FRegionHeight && fw.MDIKind != TFormWindow::mkChild &&
      fw.Phase != TFormWindow::phReskinning && FOwnsRegion)
    return;
  FRegionWidth = w, FRegionHeight = h;
  // The system owns a region once it is the window's, and deletes it when
  // the next one comes: it is never deleted here. Redrawn, so that nothing
  // painted before the cut stays as it was (a window manager under Wine
  // takes its own border off a window once it is shaped, and what the
  // window had painted moves with its frame); the system repaints only what
  // the cut newly uncovers of the windows behind, and never any other window.
  SetWindowRgn(handle, ShapedRegion(w, h), TRUE);
  FOwnsRegion = true;
}

void TFormFrame::DropRegion() {
  if (!FOwnsRegion) return;
  FTitleBuffer.SetSize(0, 0);
  SetWindowRgn(FForm.FHandle, nullptr, FALSE);
  FOwnsRegion = false;
  FRegionWidth = FRegionHeight = 0;
}

void TFormFrame::ClearRegion() {
  SetWindowRgn(FForm.FHandle, nullptr, TRUE);
  FOwnsRegion = false;
  FRegionWidth = FRegionHeight = 0;
}

LRESULT TFormFrame::NCCalcSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = FForm.Messages().CallOldProc(WM_NCCALCSIZE, wParam, lParam);
  if (LOBYTE(wParam) == 0) return result;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  if (FForm.Window().FrameKind != TFrameKind::Unskinned)
    params->rgrc[0] = SkinnedClientRect(FMetrics, FMenuHeight, *params->lppos);
  params->rgrc[1] = params->rgrc[0];
  return WVR_VALIDRECTS;
}

LRESULT TFormFrame::NCPaint(WPARAM wParam) {
  if (!FForm.SkinData()->FramePainting || FMenuChanging) return 0;
  if (FForm.Window().FrameKind == TFrameKind::Unskinned) return FForm.Messages().CallOldProc(WM_NCPAINT, wParam, 0);
  const HWND handle = FForm.FHandle;
  // wParam 1 means the whole frame; it is no region to clip with.
  HDC dc = wParam > 1 ? GetDCEx(handle, reinterpret_cast<HRGN>(wParam), DCX_WINDOW | DCX_INTERSECTRGN) : nullptr;
  if (!dc) dc = GetWindowDC(handle);
  Paint(dc);
  ReleaseDC(handle, dc);
  return 0;
}

void TFormFrame::Paint(HDC DC) {
  // Whatever the skin data's state, a load that failed or one still to be
  // applied included, the frame is painted with the skin it was built from.
  const TFormWindow& w = FForm.Window();
  const TLoadedSkin* skin = FForm.Skin().get();
  if ((w.Phase != TFormWindow::phReady && w.Phase != TFormWindow::phReskinning) ||
      w.FrameKind == TFrameKind::Unskinned || !skin || FForm.MDI().ChildOutsideNormal())
    return;
  const HWND handle = FForm.FHandle;
  HDC own = DC ? nullptr : GetWindowDC(handle);
  HDC dc = DC ? DC : own;
  try {
    RECT window;
    GetWindowRect(handle, &window);
    FWidth = Width(window), FHeight = Height(window);
    for (TFrameSide side : {TFrameSide::Left, TFrameSide::Right, TFrameSide::Bottom})
      if (gui::TBitmap* border = FBorders.Picture(*skin, FMetrics, side, FWidth, FHeight, w.Active)) {
        const RECT r = FrameSideRect(FMetrics, side, FWidth, FHeight);
        BitBlt(dc, r.left, r.top, Width(r), Height(r), border->Canvas().Handle(), 0, 0, SRCCOPY);
      }
    // Only a window its frame sizes shows a grip; a skin's borders are
    // drawn alike for every window and carry none.
    if (SizedByFrame(GetWindowLongPtrW(handle, GWL_STYLE))) PaintSizeGrip(dc, FMetrics, FWidth, FHeight, *skin);
    PaintTitleBar(dc);
    if (TWinSkinMenu* bar = FForm.Menus().Bar(); bar && FMenuHeight > 0)
      bar->PaintMenuBar(dc, RECT{FMetrics.BorderLeft, FMetrics.TitleHeight, FWidth - FMetrics.BorderRight,
                                 FMetrics.TitleHeight + FMenuHeight});
  } catch (...) {
    // The next paint starts over.
    gui::DebugReport(L"painting the skinned frame", handle);
  }
  FForm.CaptionButtons().SetHotObject(nullptr);  // a full repaint shows every button at rest
  if (own) ReleaseDC(handle, own);
}

void TFormFrame::PaintTitleBar(HDC DC) {
  if (FWidth <= 0 || FMetrics.TitleHeight <= 0) return;
  const TFormWindow& w = FForm.Window();
  const TLoadedSkin& skin = *FForm.Skin();
  FTitleBuffer.SetSize(FWidth, FMetrics.TitleHeight);
  HDC buffer = FTitleBuffer.Canvas().Handle();
  // The corners are the side borders' top rows, taken from their pictures:
  // the window's own pixels may be another window's where it is covered
  // and no compositor keeps them, or stale where the paint was clipped.
  for (TFrameSide side : {TFrameSide::Left, TFrameSide::Right})
    if (gui::TBitmap* border = FBorders.Picture(skin, FMetrics, side, FWidth, FHeight, w.Active)) {
      const RECT r = FrameSideRect(FMetrics, side, FWidth, FHeight);
      BitBlt(buffer, r.left, 0, Width(r), FMetrics.TitleHeight, border->Canvas().Handle(), 0, 0, SRCCOPY);
    }
  const RECT area = FrameSideRect(FMetrics, TFrameSide::Top, FWidth, FHeight);
  if (gui::TBitmap* top = FBorders.Picture(skin, FMetrics, TFrameSide::Top, FWidth, FHeight, w.Active))
    BitBlt(buffer, area.left, area.top, Width(area), Height(area), top->Canvas().Handle(), 0, 0, SRCCOPY);
  TCaptionButtons& buttons = FForm.CaptionButtons();
  TCaptionLook look;
  look.Text = FCaptionPrefix + FCaption;
  look.Font = FCaptionFont.Get();
  look.Active = w.Active;
  look.RightToLeft = w.RightToLeft;
  look.Popup = (w.Style & WS_POPUP) != 0;
  look.RightButtonsLeft = buttons.RightButtonsLeft();
  FCaptionRect = PaintSkinCaption(buffer, area, skin, look);
  buttons.Layout();
  buttons.PaintAll(buffer);
  BitBlt(DC, 0, 0, FWidth, FMetrics.TitleHeight, buffer, 0, 0, SRCCOPY);
  SetBkMode(DC, OPAQUE);
}

}  // namespace qm
