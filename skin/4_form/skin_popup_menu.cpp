#include "skin/4_form/skin_popup_menu.h"

#include "gui/debug_report.h"
#include "gui/dpi.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/4_form/form_skinner_host.h"
#include "skin/4_form/skin_window_messages.h"

namespace qm {

namespace {
constexpr int kFrame = 3;  // the popup window's frame width
}

TWinSkinPopMenu* TWinSkinPopMenu::PendingPopup = nullptr;

TWinSkinPopMenu::TWinSkinPopMenu() : FBackground(std::make_unique<gui::TBitmap>()) {
  // A popup it cannot paint keeps the system's look; the user is told nothing.
  FSubclass.DebugName = L"popup menu skinner";
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
  Detach();
  // A popup freed while it waits for its menu must not be bound later.
  if (PendingPopup == this) PendingPopup = nullptr;
}

void TWinSkinPopMenu::BindPending(HMENU Menu) {
  if (!PendingPopup || !Menu) return;
  PendingPopup->FMenuHandle = Menu;
  PendingPopup = nullptr;
}

void TWinSkinPopMenu::Attach(HWND Window, TSkinData* SkinData, HMENU Menu) {
  FHandle = Window;
  FSkinData = SkinData;
  FSkin = SkinData ? SkinData->Skin() : nullptr;
  // A menu opens on one monitor, and is drawn at its scale.
  if (FSkin) {
    try {
      FSkin = FSkin->AtDpi(gui::WindowDpi(Window));
    } catch (...) {
      gui::DebugReport(L"scaling the skin for a popup menu", Window);
    }
  }
  FMenuHandle = Menu;
  FSubclass.Attach(Window, [this](UINT msg, WPARAM w, LPARAM l) { return WndProc(msg, w, l); });
}

void TWinSkinPopMenu::Detach() {
  if (PendingPopup == this) PendingPopup = nullptr;
  if (!FSubclass.Attached()) return;
  FSubclass.Detach();
  FBackground->SetSize(0, 0);
}

bool TWinSkinPopMenu::CanPaint() const {
  if (!FSkin || !FSkin->MenuBackground) return false;
  return FSkin->SkinBitmap(FSkin->MenuBackground->Bitmap) != nullptr && ShowsSkinDrawnMenu();
}

bool TWinSkinPopMenu::ShowsSkinDrawnMenu() const {
  // A menu the skin does not draw (an edit's, the IME's, the shell's) keeps
  // the system's frame: the skin's ring would sit around themed items that
  // do not fit it. The skin draws a menu's items as their owner.
  constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
  const HMENU menu = FMenuHandle ? FMenuHandle : reinterpret_cast<HMENU>(SendMessageW(FHandle, kGetMenu, 0, 0));
  if (!menu) return true;  // not told yet: the item painter binds it later
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii) && (mii.fType & MFT_OWNERDRAW)) return true;
  }
  return false;
}

void TWinSkinPopMenu::RebuildBackground(int Width, int Height) {
  const TDataSkinObject& element = *FSkin->MenuBackground;
  gui::TBitmap* strip = FSkin->SkinBitmap(element.Bitmap);
  const RECT margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
  FBackground = NineGridBitmap(RECT{0, 0, Width, Height}, *strip, margins, false, element.Tile == kTileRepeat, 1, 1);
  // This window shows a menu that has not drawn an item yet.
  if (!FMenuHandle) PendingPopup = this;
}

void TWinSkinPopMenu::PaintFrame(HDC DC, int W, int H) {
  HDC source = FBackground->Canvas().Handle();
  if (!source) return;
  BitBlt(DC, 0, 0, W, kFrame, source, 0, 0, SRCCOPY);
  BitBlt(DC, 0, H - kFrame, W, kFrame, source, 0, H - kFrame, SRCCOPY);
  BitBlt(DC, 0, kFrame, kFrame, H - 2 * kFrame, source, 0, kFrame, SRCCOPY);
  BitBlt(DC, W - kFrame, kFrame, kFrame, H - 2 * kFrame, source, W - kFrame, kFrame, SRCCOPY);
}

LRESULT TWinSkinPopMenu::Print(HDC DC, LPARAM Flags) {
  RECT window;
  GetWindowRect(FHandle, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  RebuildBackground(w, h);
  if (!FBackground->Empty()) BitBlt(DC, 0, 0, w, h, FBackground->Canvas().Handle(), 0, 0, SRCCOPY);
  // The menu prints its items inside the frame, over the picture.
  // The caller's DC gets its mode and clipping back however the print ends.
  const gui::TDCStateGuard saved(DC);
  SetBkMode(DC, TRANSPARENT);
  const gui::TGdiHandle<HRGN> inner(CreateRectRgn(kFrame, kFrame, w - kFrame, h - kFrame), true);
  SelectClipRgn(DC, inner.Get());
  return FSubclass.CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(DC), Flags);
}

LRESULT TWinSkinPopMenu::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_ISSKINNED) return 1;
  if (TFormSkinnerHost* host = FormSkinnerHost(); !host || !host->Skinning()) return FSubclass.CallPrevious(Msg, wParam, lParam);
  switch (Msg) {
    case WM_DESTROY:
      Detach();
      break;
    case WM_NCPAINT:
    case WM_PAINT: {
      if (!CanPaint()) break;
      RECT window;
      GetWindowRect(FHandle, &window);
      const int w = window.right - window.left, h = window.bottom - window.top;
      // The picture is needed before the items are painted over it.
      if (Msg == WM_NCPAINT || FBackground->Width() != w || FBackground->Height() != h) RebuildBackground(w, h);
      // Some systems draw the popup's edge inside the client area while
      // painting it, so the frame goes on again after either paint.
      const LRESULT result = Msg == WM_PAINT ? FSubclass.CallPrevious(Msg, wParam, lParam) : 0;
      const gui::TWindowDC dc(FHandle, gui::TWindowDC::Whole);
      PaintFrame(dc.Handle(), w, h);
      return result;
    }
    case WM_PRINT:
      if (!CanPaint()) break;
      return Print(reinterpret_cast<HDC>(wParam), lParam);
  }
  return FSubclass.CallPrevious(Msg, wParam, lParam);
}

}  // namespace qm
