#include "skin/4_form/caption_buttons.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/debug_report.h"
#include "gui/dpi.h"
#include "gui/forms.h"
#include "gui/graphics.h"
#include "gui/timer.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

using gui::Height;
using gui::Width;

// Buttons that show the window icon instead of an image of their own.
bool ShowsIcon(const TDataSkinSysButton& d) {
  return d.Action == button_action::kIcon || d.Action == button_action::kIconToo;
}

// What a caption button is, by its action, as the system names it; the
// title or the menu bar for buttons it has no name for.
LRESULT ButtonHitCode(const TDataSkinSysButton& d, LRESULT Around) {
  using namespace button_action;
  switch (d.Action) {
    case kClose: return HTCLOSE;
    case kMaximize:
    case kMaximizeToo: return HTMAXBUTTON;
    case kMinimize:
    case kMinimizeToo: return HTMINBUTTON;
    case kIcon:
    case kIconToo:
    case kSystemMenu: return HTSYSMENU;
  }
  return Around == HTMENU ? HTMENU : HTCAPTION;
}

// Hit codes of the native caption buttons: the system would draw its own
// button pressed (and run its own loop) for a click it gets with one.
bool IsNativeButtonCode(WPARAM Code) {
  return Code == HTMINBUTTON || Code == HTMAXBUTTON || Code == HTCLOSE || Code == HTHELP || Code == HTSYSMENU;
}

}  // namespace

// --- TNCObject

void TNCObject::MouseDown() {
  TCaptionButtons& buttons = FOwner.CaptionButtons();
  if (TNCObject* hot = buttons.HotObject(); hot && hot != this) hot->MouseLeave();
  if (!FVisible) return;
  buttons.SetHotObject(this);
  FState = stPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!FVisible) return;
  FState = stHot;
  Paint();
}

void TNCObject::MouseEnter() {
  TCaptionButtons& buttons = FOwner.CaptionButtons();
  TNCObject* hot = buttons.HotObject();
  if (hot == this) return;
  if (hot) hot->MouseLeave();
  if (!FVisible) return;
  buttons.SetHotObject(this);
  FState = stHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!FVisible) return;
  FOwner.CaptionButtons().SetHotObject(nullptr);
  FState = stNormal;
  Paint();
}

void TWinSysButton::Paint() { FOwner.CaptionButtons().PaintButton(*this, FState); }

bool TWinSysButton::InMenuBar() const { return FData.Visibility == button_visibility::kMDIChildMaximized; }

// --- TCaptionButtons

void TCaptionButtons::Free() {
  FHotObject = nullptr;
  FButtons.clear();
}

void TCaptionButtons::Build() {
  Free();
  const std::shared_ptr<const TLoadedSkin>& skin = FForm.Skin();
  TSkinData& data = *FForm.SkinData();
  for (const auto& description : skin->SysButtons) {
    FButtons.push_back(std::make_unique<TWinSysButton>(FForm, skin, *description));
    // The first window icon met stands in for windows that have none; the
    // key-coloured square of a window without one is no icon to lend.
    if (ShowsIcon(*description) && data.DefaultIcon && data.DefaultIcon->Empty() && FOwnIcon)
      data.DefaultIcon->Assign(FIcon);
  }
}

void TCaptionButtons::LoadIcon() {
  const int w = gui::SystemMetricForDpi(SM_CXSMICON, FForm.Dpi()), h = gui::SystemMetricForDpi(SM_CYSMICON, FForm.Dpi());
  FIcon.SetSize(w, h);
  {
    gui::TCanvas& canvas = FIcon.Canvas();
    canvas.Brush.SetColor(gui::clFuchsia);
    canvas.FillRect(RECT{0, 0, w, h});
  }
  const HWND handle = FForm.FHandle;
  HICON icon = reinterpret_cast<HICON>(SendMessageW(handle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(handle, WM_GETICON, ICON_BIG, 0));
  FOwnIcon = icon != nullptr;
  if (icon) {
    HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE));
    if (!copy) copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, 0));
    DrawIconEx(FIcon.Canvas().Handle(), 0, 0, copy ? copy : icon, w, h, 0, nullptr, DI_NORMAL);
    if (copy) DestroyIcon(copy);
    return;
  }
  if (const TSkinData* data = FForm.SkinData(); data->DefaultIcon && !data->DefaultIcon->Empty()) {
    FIcon.Assign(*data->DefaultIcon);
    return;
  }
  if (TFormSkinnerHost* host = FormSkinnerHost())
    for (TSkinData* other : host->AllSkinData())
      if (other->SkinFormtype == TSkinFormType::sfMainform && other->DefaultIcon && !other->DefaultIcon->Empty())
        FIcon.Assign(*other->DefaultIcon);
}

gui::TBitmap* TCaptionButtons::ButtonImage(const TWinSysButton& Button, int& Frames) {
  if (ShowsIcon(Button.FData)) {
    Frames = 1;
    return FIcon.Empty() ? nullptr : &FIcon;
  }
  Frames = Button.FData.Frames();
  return Button.FSkin->SkinBitmap(Button.FData.Bitmap);
}

bool TCaptionButtons::ButtonVisible(size_t Index) {
  TWinSysButton& b = *FButtons[Index];
  const TDataSkinSysButton& d = b.FData;
  const TFormWindow& w = FForm.Window();
  const bool maximized = w.State == TFormWindow::wsMaximized;
  const bool maxBox = w.BorderIcons & TFormWindow::biMaximize, minBox = w.BorderIcons & TFormWindow::biMinimize,
             sysMenu = w.BorderIcons & TFormWindow::biSystemMenu;
  auto condition = [&](int code, bool first) {
    using namespace button_visibility;
    switch (code) {
      case kUnlessFixedFrame:
        return first ? w.FrameKind != TFrameKind::Fixed && (d.Action != button_action::kClose || sysMenu) : true;
      case kMaximized: return maximized;
      case kNotMaximized: return !maximized;
      case kActive: return w.Active;
      case kInactive: return !w.Active;
      case kMaximizeBox: return first ? maxBox && sysMenu : maxBox;
      case kNoMaximizeBox: return !maxBox;
      case kMinimizeBox: return first ? minBox && sysMenu : minBox;
      case kNoMinimizeBox: return !minBox;
      case kMDIChildMaximized:
        return w.MDIKind == TFormWindow::mkFrame && FForm.Frame().MenuHeight() > 0 && FForm.MDI().ActiveChildMaximized();
      default: return code >= kAlwaysFirst && code <= kAlwaysLast;
    }
  };
  bool visible = condition(d.Visibility, true) && condition(d.Visibility1, false);
  if (d.Action == button_action::kMaximize && !maxBox) visible = false;
  if (d.Action == button_action::kMinimize && !minBox) visible = false;
  b.FVisible = visible;
  return visible;
}

void TCaptionButtons::Layout() {
  FRightButtonsLeft = 0;
  const TFormFrame& frame = FForm.Frame();
  const TFrameMetrics& m = frame.Metrics();
  const RECT caption = frame.CaptionRect();
  const int width = frame.PaintedWidth();
  for (size_t i = 0; i < FButtons.size(); ++i) {
    TWinSysButton& b = *FButtons[i];
    int frames = 1;
    gui::TBitmap* image = ButtonImage(b, frames);
    if (!ButtonVisible(i) || !image) continue;
    const int w = image->Width() / frames, h = image->Height();
    const TDataSkinSysButton& d = b.FData;
    int left = 0, top = 0;
    using namespace button_align;
    switch (d.Align) {
      case kFromLeft: left = d.XCoord, top = d.YCoord; break;
      case kFromRight:
        left = width - d.XCoord, top = d.YCoord;
        FRightButtonsLeft = std::max(FRightButtonsLeft, left);
        break;
      case kBeforeCaption:
      case kBeforeCaptionToo: left = caption.left - w - d.XCoord, top = d.YCoord; break;
      case kAfterCaption:
      case kAfterCaptionToo: left = caption.right + d.XCoord, top = d.YCoord; break;
      case kInMenuBar: {
        // The maximised child's buttons, at the right end of the menu bar.
        const TLoadedSkin& skin = *FForm.Skin();
        const int shift = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
        top = m.TitleHeight + (frame.MenuHeight() - h) / 2;
        left = FForm.Window().RightToLeft ? d.XCoord + m.BorderLeft + shift : width - d.XCoord - m.BorderRight - shift;
        break;
      }
    }
    b.FBounds = RECT{left, top, left + w, top + h};
  }
}

void TCaptionButtons::PaintAll(HDC DC) {
  const bool active = FForm.Window().Active;
  for (size_t i = 0; i < FButtons.size(); ++i) {
    TWinSysButton& b = *FButtons[i];
    int frames = 1;
    gui::TBitmap* image = ButtonImage(b, frames);
    if (!b.FVisible || !image || b.InMenuBar()) continue;
    const int frame = active || frames < 4 ? 1 : 4;
    DrawFrame(DC, b.FBounds, *image, true, frames, frame);
    b.FState = TNCObject::stNormal;
  }
}

void TCaptionButtons::PaintButton(TWinSysButton& Button, int State) {
  int frames = 1;
  gui::TBitmap* image = ButtonImage(Button, frames);
  if (!image || FForm.Phase() != TFormWindow::phReady) return;
  int frame = State;
  if (Button.InMenuBar() && State == TNCObject::stHot) frame = 4;
  if (frames == 1) frame = 1;
  const gui::TWindowDC windowDC(FForm.FHandle, gui::TWindowDC::Whole);
  const HDC dc = windowDC.Handle();
  const RECT& r = Button.FBounds;
  // What lies under the button first: the image may be see-through.
  TWinSkinMenu* bar = FForm.Menus().Bar();
  gui::TBitmap& title = FForm.Frame().TitleBuffer();
  if (Button.InMenuBar() && bar && !bar->FBackground.Empty())
    BitBlt(dc, r.left, r.top, Width(r), Height(r), bar->FBackground.Canvas().Handle(), r.left - bar->FBarRect.left,
           r.top - bar->FBarRect.top, SRCCOPY);
  else if (!title.Empty())
    BitBlt(dc, r.left, r.top, Width(r), Height(r), title.Canvas().Handle(), r.left, r.top, SRCCOPY);
  DrawFrame(dc, r, *image, true, frames, frame);
}

void TCaptionButtons::PaintInMenuBar(HDC DC, POINT BarOrigin) {
  TFormMDI& mdi = FForm.MDI();
  if (FForm.Window().MDIKind != TFormWindow::mkFrame || !mdi.ActiveChildMaximized()) return;
  bool drawn = false;
  for (const auto& b : FButtons) {
    int frames = 1;
    gui::TBitmap* image = ButtonImage(*b, frames);
    if (!b->InMenuBar() || !b->FVisible || !image || image->Empty()) continue;
    RECT r = b->FBounds;
    OffsetRect(&r, -BarOrigin.x, -BarOrigin.y);
    DrawFrame(DC, r, *image, true, frames, 1);
    drawn = true;
  }
  if (drawn && !mdi.ChildMaximized()) mdi.SetChildMaximized(true);
}

POINT TCaptionButtons::ScreenToWindow(POINT P) const {
  ScreenToClient(FForm.FHandle, &P);
  if (FForm.Window().State != TFormWindow::wsMinimized) {
    const TFormFrame& frame = FForm.Frame();
    P.x += frame.Metrics().BorderLeft;
    P.y += frame.Metrics().TitleHeight + frame.MenuHeight();
  }
  return P;
}

TWinSysButton* TCaptionButtons::ButtonAt(POINT P) const {
  for (const auto& b : FButtons)
    if (b->FVisible && b->FData.Action >= 0 && PtInRect(&b->FBounds, P)) return b.get();
  return nullptr;
}

LRESULT TCaptionButtons::NCHitTest(WPARAM wParam, LPARAM lParam) {
  // Asked first all the same: the client area is the window's own to name.
  const LRESULT previous = FForm.Messages().CallOldProc(WM_NCHITTEST, wParam, lParam);
  RECT window;
  GetWindowRect(FForm.FHandle, &window);
  const POINT p{GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
  const TFormWindow& w = FForm.Window();
  const bool sizing = (w.Style & WS_THICKFRAME) && w.State == TFormWindow::wsNormal;
  const TFormFrame& frame = FForm.Frame();
  const LRESULT code = FrameHitTest(frame.Metrics(), frame.MenuHeight(), SIZE{Width(window), Height(window)}, p,
                                    sizing, w.State == TFormWindow::wsMaximized, FForm.Dpi());
  if (code == HTCLIENT || code == HTNOWHERE) return previous;
  // The system shows its snap layouts, tooltips and accessible names by
  // these codes; the sizing band never reaches over a button.
  if (const TWinSysButton* button = ButtonAt(p)) return ButtonHitCode(button->FData, code);
  return code;
}

LRESULT TCaptionButtons::NCMouse(UINT Msg, WPARAM wParam, LPARAM lParam) {
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  TWinSysButton* button = ButtonAt(ScreenToWindow(screen));
  TWinSkinMenu* bar = FForm.Menus().Bar();
  TMenuBtn* item = button || !bar ? nullptr : bar->ItemAt(ScreenToWindow(screen));
  const bool active = FForm.Window().Active;
  auto previous = [&] { return FForm.Messages().CallOldProc(Msg, wParam, lParam); };
  switch (Msg) {
    case WM_NCMOUSEMOVE:
      if (!active) return 0;
      if (TNCObject* over = button ? static_cast<TNCObject*>(button) : item) {
        over->MouseEnter();
        return 0;
      }
      if (FHotObject) FHotObject->MouseLeave();
      return IsNativeButtonCode(wParam) ? 0 : previous();
    case WM_NCLBUTTONDOWN:
      if (button || item) {
        if (!active) SetForegroundWindow(FForm.FHandle);
        if (button) {
          button->MouseDown();
        } else {
          item->MouseDown();
          FForm.Menus().OpenButton(item);
        }
        return 0;
      }
      // A button's code where none is: the system's own button must not
      // show. The title is dragged as the system drags it, a maximised
      // window too (it comes down to its normal size).
      return IsNativeButtonCode(wParam) ? 0 : previous();
    case WM_NCLBUTTONUP:
      if (button && button == FHotObject) {
        button->MouseUp();
        ButtonClick(screen.x, screen.y);
      }
      return button || item || IsNativeButtonCode(wParam) ? 0 : previous();
    case WM_NCRBUTTONDOWN:
      if ((wParam == HTCAPTION || wParam == HTSYSMENU) && FForm.Window().MDIKind != TFormWindow::mkChild) {
        FForm.SystemMenu().Show(screen);
        return 0;
      }
      return previous();
  }
  return previous();
}

void TCaptionButtons::ButtonClick(int X, int Y) {
  auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
  if (!button) return;
  TSystemMenu& commands = FForm.SystemMenu();
  TFormMDI& mdi = FForm.MDI();
  using namespace button_action;
  switch (button->FData.Action) {
    case kClose: commands.CloseWindow(); break;
    case kMaximize:
    case kMaximizeToo: commands.ToggleMaximize(); break;
    case kMinimize:
    case kMinimizeToo: commands.ToggleMinimize(); break;
    case kIcon:
    case kIconToo:
    case kSystemMenu: commands.Show(POINT{X + 1, Y + 1}); break;
    case kChildMinimize:
    case kChildMinimizeToo: mdi.ChildCommand(SC_MINIMIZE); break;
    case kChildRestore:
    case kChildRestoreToo: mdi.ChildCommand(SC_RESTORE); break;
    case kChildClose:
    case kChildCloseToo: mdi.ChildCommand(SC_CLOSE); break;
    default:
      // Actions this window has no use for are announced and answered.
      PostMessageW(FForm.FHandle, WM_ISSKINNED, static_cast<WPARAM>(button->FData.Action), 0);
  }
}

void TCaptionButtons::MakeHoverTimer() {
  FHoverTimer = FForm.Make<gui::TTimer>();
  FHoverTimer->SetEnabled(false);
  FHoverTimer->SetInterval(kHoverTimerMs);
  FHoverTimer->OnTimer = [this](gui::TTimer&) {
    try {
      HoverTick();
    } catch (...) {
      // The hover look simply stays until the next move.
      gui::DebugReport(L"the form skinner's hover tick", FForm.FHandle);
    }
  };
}

void TCaptionButtons::FreeHoverTimer() {
  if (FHoverTimer) FHoverTimer->Free();
  FHoverTimer = nullptr;
}

void TCaptionButtons::EnableHover(bool Enable) {
  if (FHoverTimer) FHoverTimer->SetEnabled(Enable);
}

void TCaptionButtons::HoverTick() {
  if (FForm.Menus().Tracking()) return;
  POINT cursor;
  GetCursorPos(&cursor);
  if (FHotObject) {
    const POINT p = ScreenToWindow(cursor);
    if (!PtInRect(&FHotObject->FBounds, p)) FHotObject->MouseLeave();
  }
  // A bare dialog's buttons are told of the mouse leaving by nobody else.
  if (!FForm.Form()) FForm.Controls().ReleaseHotButtonIfLeft(cursor);
}

}  // namespace qm
