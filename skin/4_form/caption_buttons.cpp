// The caption buttons of a skinned window, the window icon, the non-client
// mouse messages and the system menu: the part of TWinSkinForm that answers
// the mouse over its frame.

#include <windowsx.h>

#include <algorithm>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/skin_control.h"
#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/skin_menu_bar.h"
#include "skin/4_form/skin_window_messages.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Buttons that show the window icon instead of an image of their own.
bool ShowsIcon(const TDataSkinSysButton& d) {
  return d.Action == button_action::kIcon || d.Action == button_action::kIconToo;
}

// The tags of the system menu's items; the first four are also the indexes
// of their glyphs in the skin's menu images.
enum TSystemItem : int { siRestore = 0, siMaximize = 1, siMinimize = 2, siClose = 3, siMove = 4, siSize = 5, siLine = 100 };

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
  if (TNCObject* hot = FOwner.HotObject(); hot && hot != this) hot->MouseLeave();
  if (!FVisible) return;
  FOwner.SetHotObject(this);
  FState = stPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!FVisible) return;
  FState = stHot;
  Paint();
}

void TNCObject::MouseEnter() {
  TNCObject* hot = FOwner.HotObject();
  if (hot == this) return;
  if (hot) hot->MouseLeave();
  if (!FVisible) return;
  FOwner.SetHotObject(this);
  FState = stHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!FVisible) return;
  FOwner.SetHotObject(nullptr);
  FState = stNormal;
  Paint();
}

void TWinSysButton::Paint() { FOwner.PaintButton(*this, FState); }

bool TWinSysButton::InMenuBar() const { return FData.Visibility == button_visibility::kMDIChildMaximized; }

// --- TWinSkinForm: buttons

void TWinSkinForm::FreeButtons() {
  FHotObject = nullptr;
  FButtons.clear();
}

void TWinSkinForm::BuildButtons() {
  FreeButtons();
  for (const auto& data : FSkin->SysButtons) {
    FButtons.push_back(std::make_unique<TWinSysButton>(*this, FSkin, *data));
    // The first window icon met stands in for windows that have none; the
    // key-coloured square of a window without one is no icon to lend.
    if (ShowsIcon(*data) && FSkinData->DefaultIcon && FSkinData->DefaultIcon->Empty() && FOwnIcon)
      FSkinData->DefaultIcon->Assign(FIcon);
  }
}

void TWinSkinForm::LoadIcon() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  FIcon.SetSize(w, h);
  {
    gui::TCanvas& canvas = FIcon.Canvas();
    canvas.Brush.SetColor(gui::clFuchsia);
    canvas.FillRect(RECT{0, 0, w, h});
  }
  HICON icon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
  FOwnIcon = icon != nullptr;
  if (icon) {
    HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE));
    if (!copy) copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, 0));
    DrawIconEx(FIcon.Canvas().Handle(), 0, 0, copy ? copy : icon, w, h, 0, nullptr, DI_NORMAL);
    if (copy) DestroyIcon(copy);
    return;
  }
  if (FSkinData->DefaultIcon && !FSkinData->DefaultIcon->Empty()) {
    FIcon.Assign(*FSkinData->DefaultIcon);
    return;
  }
  if (TFormSkinnerHost* host = FormSkinnerHost())
    for (TSkinData* other : host->AllSkinData())
      if (other->SkinFormtype == TSkinFormType::sfMainform && other->DefaultIcon && !other->DefaultIcon->Empty())
        FIcon.Assign(*other->DefaultIcon);
}

gui::TBitmap* TWinSkinForm::ButtonImage(const TWinSysButton& Button, int& Frames) {
  if (ShowsIcon(Button.FData)) {
    Frames = 1;
    return FIcon.Empty() ? nullptr : &FIcon;
  }
  Frames = Button.FData.Frames();
  return Button.FSkin->SkinBitmap(Button.FData.Bitmap);
}

bool TWinSkinForm::ButtonVisible(size_t Index) {
  TWinSysButton& b = *FButtons[Index];
  const TDataSkinSysButton& d = b.FData;
  const bool maximized = FWindowState == wsMaximized;
  const bool maxBox = FBorderIcons & biMaximize, minBox = FBorderIcons & biMinimize,
             sysMenu = FBorderIcons & biSystemMenu;
  auto condition = [&](int code, bool first) {
    using namespace button_visibility;
    switch (code) {
      case kUnlessFixedFrame:
        return first ? FFrameKind != TFrameKind::Fixed && (d.Action != button_action::kClose || sysMenu) : true;
      case kMaximized: return maximized;
      case kNotMaximized: return !maximized;
      case kActive: return FActive;
      case kInactive: return !FActive;
      case kMaximizeBox: return first ? maxBox && sysMenu : maxBox;
      case kNoMaximizeBox: return !maxBox;
      case kMinimizeBox: return first ? minBox && sysMenu : minBox;
      case kNoMinimizeBox: return !minBox;
      case kMDIChildMaximized: return FMDIKind == mkFrame && FMenuHeight > 0 && ActiveChildMaximized();
      default: return code >= kAlwaysFirst && code <= kAlwaysLast;
    }
  };
  bool visible = condition(d.Visibility, true) && condition(d.Visibility1, false);
  if (d.Action == button_action::kMaximize && !maxBox) visible = false;
  if (d.Action == button_action::kMinimize && !minBox) visible = false;
  b.FVisible = visible;
  return visible;
}

void TWinSkinForm::LayoutButtons() {
  FRightButtonsLeft = 0;
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
        left = FWidth - d.XCoord, top = d.YCoord;
        FRightButtonsLeft = std::max(FRightButtonsLeft, left);
        break;
      case kBeforeCaption:
      case kBeforeCaptionToo: left = FCaptionRect.left - w - d.XCoord, top = d.YCoord; break;
      case kAfterCaption:
      case kAfterCaptionToo: left = FCaptionRect.right + d.XCoord, top = d.YCoord; break;
      case kInMenuBar: {
        // The maximised child's buttons, at the right end of the menu bar.
        const int shift = FSkin->MenuBar ? FSkin->MenuBar->LeftWidth : 0;
        top = FMetrics.TitleHeight + (FMenuHeight - h) / 2;
        left = FRightToLeft ? d.XCoord + FMetrics.BorderLeft + shift : FWidth - d.XCoord - FMetrics.BorderRight - shift;
        break;
      }
    }
    b.FBounds = RECT{left, top, left + w, top + h};
  }
}

void TWinSkinForm::PaintButtons(HDC DC) {
  for (size_t i = 0; i < FButtons.size(); ++i) {
    TWinSysButton& b = *FButtons[i];
    int frames = 1;
    gui::TBitmap* image = ButtonImage(b, frames);
    if (!b.FVisible || !image || b.InMenuBar()) continue;
    const int frame = FActive || frames < 4 ? 1 : 4;
    DrawFrame(DC, b.FBounds, *image, true, frames, frame);
    b.FState = TNCObject::stNormal;
  }
}

void TWinSkinForm::PaintButton(TWinSysButton& Button, int State) {
  int frames = 1;
  gui::TBitmap* image = ButtonImage(Button, frames);
  if (!image || FPhase != phReady) return;
  int frame = State;
  if (Button.InMenuBar() && State == TNCObject::stHot) frame = 4;
  if (frames == 1) frame = 1;
  const gui::TWindowDC windowDC(FHandle, gui::TWindowDC::Whole);
  const HDC dc = windowDC.Handle();
  // What lies under the button first: the image may be see-through.
  if (Button.InMenuBar() && FMenuBar && !FMenuBar->FBackground.Empty())
    BitBlt(dc, Button.FBounds.left, Button.FBounds.top, Button.FBounds.right - Button.FBounds.left,
           Button.FBounds.bottom - Button.FBounds.top, FMenuBar->FBackground.Canvas().Handle(),
           Button.FBounds.left - FMenuBar->FBarRect.left, Button.FBounds.top - FMenuBar->FBarRect.top, SRCCOPY);
  else if (!FTitleBuffer.Empty())
    BitBlt(dc, Button.FBounds.left, Button.FBounds.top, Button.FBounds.right - Button.FBounds.left,
           Button.FBounds.bottom - Button.FBounds.top, FTitleBuffer.Canvas().Handle(), Button.FBounds.left,
           Button.FBounds.top, SRCCOPY);
  DrawFrame(dc, Button.FBounds, *image, true, frames, frame);
}

POINT TWinSkinForm::ScreenToWindow(POINT P) const {
  ScreenToClient(FHandle, &P);
  if (FWindowState != wsMinimized) {
    P.x += FMetrics.BorderLeft;
    P.y += FMetrics.TitleHeight + FMenuHeight;
  }
  return P;
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT P) const {
  for (const auto& b : FButtons)
    if (b->FVisible && b->FData.Action >= 0 && PtInRect(&b->FBounds, P)) return b.get();
  return nullptr;
}

LRESULT TWinSkinForm::NCHitTest(WPARAM wParam, LPARAM lParam) {
  // Asked first all the same: the client area is the window's own to name.
  const LRESULT previous = CallOldProc(WM_NCHITTEST, wParam, lParam);
  RECT window;
  GetWindowRect(FHandle, &window);
  const POINT p{GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
  const bool sizing = (FStyle & WS_THICKFRAME) && FWindowState == wsNormal;
  const LRESULT frame = FrameHitTest(FMetrics, FMenuHeight, SIZE{Width(window), Height(window)}, p, sizing,
                                     FWindowState == wsMaximized);
  if (frame == HTCLIENT || frame == HTNOWHERE) return previous;
  // The system shows its snap layouts, tooltips and accessible names by
  // these codes; the sizing band never reaches over a button.
  if (const TWinSysButton* button = ButtonAt(p)) return ButtonHitCode(button->FData, frame);
  return frame;
}

LRESULT TWinSkinForm::NCMouse(UINT Msg, WPARAM wParam, LPARAM lParam) {
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  TWinSysButton* button = ButtonAt(ScreenToWindow(screen));
  TMenuBtn* item = button || !FMenuBar ? nullptr : FMenuBar->ItemAt(ScreenToWindow(screen));
  switch (Msg) {
    case WM_NCMOUSEMOVE:
      if (!FActive) return 0;
      if (button) {
        button->MouseEnter();
        return 0;
      }
      if (item) {
        item->MouseEnter();
        return 0;
      }
      if (FHotObject) FHotObject->MouseLeave();
      if (IsNativeButtonCode(wParam)) return 0;
      return CallOldProc(Msg, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      if (button) {
        if (!FActive) SetForegroundWindow(FHandle);
        button->MouseDown();
        return 0;
      }
      if (item) {
        if (!FActive) SetForegroundWindow(FHandle);
        item->MouseDown();
        OpenMenuButton(item);
        return 0;
      }
      // A button's code where none is: the system's own button must not
      // show. The title is dragged as the system drags it, a maximised
      // window too (it comes down to its normal size).
      if (IsNativeButtonCode(wParam)) return 0;
      return CallOldProc(Msg, wParam, lParam);
    case WM_NCLBUTTONUP:
      if (button) {
        if (button == FHotObject) {
          button->MouseUp();
          ButtonClick(screen.x, screen.y);
        }
        return 0;
      }
      if (item || IsNativeButtonCode(wParam)) return 0;
      return CallOldProc(Msg, wParam, lParam);
    case WM_NCRBUTTONDOWN:
      if ((wParam == HTCAPTION || wParam == HTSYSMENU) && FMDIKind != mkChild) {
        ShowSystemMenu(screen);
        return 0;
      }
      return CallOldProc(Msg, wParam, lParam);
  }
  return CallOldProc(Msg, wParam, lParam);
}

void TWinSkinForm::HoverTick() {
  if (FTrackingMenu) return;
  POINT cursor;
  GetCursorPos(&cursor);
  if (FHotObject) {
    const POINT p = ScreenToWindow(cursor);
    if (!PtInRect(&FHotObject->FBounds, p)) FHotObject->MouseLeave();
  }
  // A bare dialog's buttons are told of the mouse leaving by nobody else.
  if (!FForm && FHotButton) {
    RECT r{};
    if (!GetWindowRect(FHotButton->Handle, &r) || !PtInRect(&r, cursor)) ReleaseHotButton();
  }
}

void TWinSkinForm::ReleaseHotButton() {
  if (!FHotButton) return;
  const HWND button = FHotButton->Handle;
  FHotButton = nullptr;
  SendMessageW(button, gui::CM_MOUSELEAVE, 0, 0);
}

void TWinSkinForm::CloseWindow() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  PostMessageW(FHandle, WM_CLOSE, 0, 0);
}

void TWinSkinForm::ButtonClick(int X, int Y) {
  auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
  if (!button) return;
  using namespace button_action;
  switch (button->FData.Action) {
    case kClose: CloseWindow(); break;
    case kMaximize:
    case kMaximizeToo: ToggleMaximize(); break;
    case kMinimize:
    case kMinimizeToo: ToggleMinimize(); break;
    case kIcon:
    case kIconToo:
    case kSystemMenu: ShowSystemMenu(POINT{X + 1, Y + 1}); break;
    case kChildMinimize:
    case kChildMinimizeToo: ChildCommand(SC_MINIMIZE); break;
    case kChildRestore:
    case kChildRestoreToo: ChildCommand(SC_RESTORE); break;
    case kChildClose:
    case kChildCloseToo: ChildCommand(SC_CLOSE); break;
    default:
      // Actions this window has no use for are announced and answered.
      PostMessageW(FHandle, WM_ISSKINNED, static_cast<WPARAM>(button->FData.Action), 0);
  }
}

gui::TPopupMenu* TWinSkinForm::SystemPopup() {
  if (!FSystemPopup && FSubclass.Attached()) BuildSystemPopup();
  return FSystemPopup;
}

void TWinSkinForm::BuildSystemPopup() {
  FSystemPopup = Make<gui::TPopupMenu>();
  FSystemPopup->Tag = 33333;
  FSystemPopup->SetOwnerDraw(true);
  FSystemPopup->Images = FSkinData->MenuImages.get();
  auto add = [&](const char* caption, int tag) {
    gui::TMenuItem* item = FSystemPopup->Items().Add(caption);
    item->Tag = tag;
    item->SetImageIndex(tag <= siClose ? tag : -1);
    item->OnClick = [this](gui::TMenuItem& clicked) { SystemItemClick(clicked); };
    item->OnAdvancedDrawItem = [this](gui::TMenuItem& it, gui::TCanvas& cv, RECT r, unsigned st) {
      DrawMenuItem(it, cv, r, st);
    };
    item->OnMeasureItem = [this](gui::TMenuItem& it, gui::TCanvas& cv, int& w, int& h) { MeasureMenuItem(it, cv, w, h); };
    return item;
  };
  add(" Restore ", siRestore);
  // Move and Size bring back from the keyboard a window that is off the
  // screen or too big for it.
  add(" Move ", siMove);
  if (FStyle & WS_THICKFRAME) add(" Size ", siSize);
  if (FBorderIcons & biMaximize) add(" Maximize ", siMaximize);
  if (FBorderIcons & biMinimize) add(" Minimize ", siMinimize);
  add("-", siLine);
  // The key the system closes a window with.
  add(" Close ", siClose)->SetShortCut(gui::ShortCut(VK_F4, gui::scAlt));
}

void TWinSkinForm::SystemItemClick(gui::TMenuItem& Item) {
  switch (Item.Tag) {
    case siRestore: RestoreWindow(); break;
    case siMaximize: ToggleMaximize(); break;
    case siMinimize: ToggleMinimize(); break;
    case siClose: CloseWindow(); break;
    case siMove: PostMessageW(FHandle, WM_SYSCOMMAND, SC_MOVE, 0); break;
    case siSize: PostMessageW(FHandle, WM_SYSCOMMAND, SC_SIZE, 0); break;
  }
}

void TWinSkinForm::UpdateSystemPopup() {
  if (!SystemPopup()) return;
  for (int i = 0; i < FSystemPopup->Items().Count(); ++i) {
    gui::TMenuItem* item = FSystemPopup->Items().Items(i);
    switch (item->Tag) {
      case siRestore: item->SetEnabled(FWindowState != wsNormal); break;
      case siMaximize: item->SetEnabled(FWindowState != wsMaximized); break;
      case siMinimize: item->SetEnabled(FWindowState != wsMinimized); break;
      case siMove: item->SetEnabled(FWindowState != wsMaximized); break;
      case siSize: item->SetEnabled(FWindowState == wsNormal); break;
    }
  }
}

void TWinSkinForm::PopupSystemMenu(POINT P) {
  if (FSystemPopup && FSkinData->SkinControls.Contains(TSkinControlType::xcSystemMenu) && FMDIKind != mkChild)
    FSystemPopup->Popup(P.x, P.y);
  else if (FSystemMenu)
    TrackPopupMenu(FSystemMenu, TPM_RIGHTBUTTON, P.x, P.y, 0, FHandle, nullptr);
}

void TWinSkinForm::ShowSystemMenu(POINT P) {
  UpdateSystemPopup();
  const DWORD now = GetTickCount();
  if (now - FLastMenuTick > FDoubleClickTime) {
    FLastMenuTick = now;
    PopupSystemMenu(P);
  } else {
    // A second request within the double-click time closes the window, as
    // a double click on a system-menu box does.
    CloseWindow();
  }
}

void TWinSkinForm::ShowSystemMenuFromKeyboard() {
  // Where the system puts it: under the icon at the title's start. Keys
  // pressed twice quickly are no double click: nothing closes here.
  UpdateSystemPopup();
  RECT window;
  GetWindowRect(FHandle, &window);
  POINT at{window.left + FMetrics.BorderLeft, window.top + FMetrics.TitleHeight};
  if (FRightToLeft) at.x = window.right - FMetrics.BorderRight;
  PopupSystemMenu(at);
}

}  // namespace qm
