#include "skin/3_controls/skin_scrollbar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "gui/graphics.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_scale.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/form_skinner_link.h"

namespace qm {

namespace {

// Bars are composed at this thickness (at 96 DPI, scaled with the skin) and
// stretched once onto the window.
constexpr int kThickness = 16;
// Cells of the arrow strip: left, right, up, down; the pressed look follows
// each.
constexpr int kArrowFrames = 23;
constexpr int kLeftCell = 1, kRightCell = 5, kUpCell = 9, kDownCell = 13;
constexpr int kDisabledArrow = 3;

using gui::Height;
using gui::Width;
bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The smallest thumb the system would draw.
int MinimumThumb(int B) { return (GetVersion() & 0x80000000u) ? B / 2 : 8; }

// The thumb of a track Track long for a range counted by the caller: a
// window's bars count max - min, a scroll-bar control one more.
void PlaceThumb(const SCROLLINFO& Info, int Range, int Track, int Arrow, TSkinScrollbar::TBarMetrics& M) {
  const int page = static_cast<int>(Info.nPage);
  int thumb = page ? std::max(Range ? MulDiv(page, Track, Range) : Track, MinimumThumb(Arrow))
                   : GetSystemMetrics(SM_CXHTHUMB);
  thumb = std::min(thumb, Track);
  int offset = 0;
  if (page == Range) {
    --thumb;
  } else if (page < Range) {
    // A page larger than the range has no room to move in.
    offset = std::clamp(MulDiv(Info.nPos - Info.nMin, Track - thumb, Range - page), 0, std::max(Track - thumb, 0));
  }
  M.Arrow = Arrow, M.Track = Track, M.Thumb = thumb, M.Offset = offset;
}

}  // namespace

void TSkinScrollbar::Start() {
  Tracking = InHScroll = InVScroll = false;
  HorzInfo.cbSize = VertInfo.cbSize = sizeof(SCROLLINFO);
  HorzMetrics.StyleBit = WS_HSCROLL;
  VertMetrics.StyleBit = WS_VSCROLL;
  // The frame is worked out anew with the skinner in place.
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::InitScroll(TFormSkinnerLink* Skinner, TSkinData* Data, bool Track) {
  TrackThumb = Track;
  InitControl(Skinner, Data, false);
  if (Initialised) Start();
}

void TSkinScrollbar::InitWindow(HWND Window, TSkinData* Data, TFormSkinnerLink* Skinner) {
  TSkinControl::InitWindow(Window, Data, Skinner);
  TrackThumb = false;
  Start();
}

bool TSkinScrollbar::ThumbMetrics(const SCROLLINFO& Info, int Track, int Arrow, TBarMetrics& M) {
  const int range = Info.nMax - Info.nMin;
  if (range <= 0) return false;
  PlaceThumb(Info, range, Track, Arrow, M);
  return true;
}

int TSkinScrollbar::ScrollHitPart(bool Vertical, int Code) {
  if (Code == SB_THUMBTRACK) return Vertical ? hpVertThumb : hpHorzThumb;
  if (Code == SB_LINEUP) return Vertical ? hpUp : hpLeft;  // SB_LINELEFT
  if (Code == SB_LINEDOWN) return Vertical ? hpDown : hpRight;  // SB_LINERIGHT
  return hpNone;
}

bool TSkinScrollbar::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: DefaultHandler(Message); return false;
    case WM_NCMOUSEMOVE:
      // The system would light up its own bar under ours.
      if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) {
        Message.Result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN:
      if (TrackThumb && PressTest(Message.WParam, Message.LParam)) {
        Message.Result = 0;
        return false;
      }
      return true;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      // Alt+Tab, the Windows key or a locked screen take the mouse away
      // mid-drag; no release comes then, and the drag ends here instead.
      if (Tracking && (Message.Msg == WM_CANCELMODE || reinterpret_cast<HWND>(Message.LParam) != Handle)) FinishDrag();
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const bool vertical = Message.Msg == WM_VSCROLL;
      HitPart = ScrollHitPart(vertical, LOWORD(Message.WParam));
      bool& busy = vertical ? InVScroll : InHScroll;
      busy = true;
      DefaultHandler(Message);
      busy = false;
      PaintNow(nullptr);
      return false;
    }
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinScrollbar::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      // The system has just drawn its bars; ours go over them now. Asking
      // for a client paint here would run it inside the one the system is
      // starting, whose erase then wipes what it drew.
      PaintNow(nullptr);
      return;
    case WM_SIZE:
    case WM_PRINT: Repaint(); return;
  }
  TSkinControl::AfterMessage(Message);
}

void TSkinScrollbar::Paint(HDC DC, const RECT& Rect) {
  if (!Skin->Scrollbar || !Skin->SkinBitmap(Skin->Scrollbar->Bitmap)) return;
  const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE), exStyle = GetWindowLongPtrW(Handle, GWL_EXSTYLE);
  const bool vertical = (style & WS_VSCROLL) || InVScroll, horizontal = (style & WS_HSCROLL) || InHScroll;
  if ((!vertical && !horizontal) || Rect.left > 10000 || Rect.top > 10000) return;
  RECT client;
  GetClientRect(Handle, &client);
  const int B = Metric(SM_CXHSCROLL);
  int E = Metric(SM_CXEDGE);
  if (vertical)
    E = (Rect.right - client.right - B) / 2;
  else
    E = (Rect.bottom - client.bottom - B) / 2;
  const int W = Rect.right, H = Rect.bottom;
  const bool left = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  HorzBarRect = VertBarRect = Corner = RECT{};
  if (horizontal && vertical) {
    HorzBarRect = left ? RECT{B + E, H - E - B, W - E, H - E} : RECT{E, H - E - B, W - E - B, H - E};
    VertBarRect = left ? RECT{E, E, B + E, H - E - B} : RECT{W - E - B, E, W - E, H - E - B};
    Corner = left ? RECT{E, H - E - B, B + E, H - E} : RECT{W - E - B, H - E - B, W - E, H - E};
  } else if (horizontal) {
    HorzBarRect = RECT{E, H - E - B, W - E, H - E};
  } else {
    VertBarRect = left ? RECT{E, E, B + E, H - E} : RECT{W - E - B, E, W - E, H - E};
  }
  if (horizontal && !Empty(HorzBarRect)) PaintBar(DC, HorzBarRect, false, B);
  if (vertical && !Empty(VertBarRect)) PaintBar(DC, VertBarRect, true, B);
  if (horizontal && vertical && !Empty(Corner)) FillFace(DC, Corner);
}

void PaintSkinScrollBar(HDC DC, const RECT& Bar, bool Vertical, const TLoadedSkin& Skin, int HitPart,
                        const TSkinScrollbar::TBarMetrics& M, gui::TBitmap& Buffer, bool Enabled) {
  const int length = Vertical ? Height(Bar) : Width(Bar);
  if (length <= 0 || length > 10000 || !Skin.Scrollbar) return;
  gui::TBitmap* arrows = Skin.SkinBitmap(Skin.Scrollbar->Bitmap);
  if (!arrows) return;
  const int B = Vertical ? Width(Bar) : Height(Bar);
  const int thickness = ScaleSkinLength(kThickness, Skin.Dpi);
  const int w = Vertical ? thickness : length, h = Vertical ? length : thickness;
  Buffer.SetSize(w, h);
  HDC bar = Buffer.Canvas().Handle();
  SetStretchBltMode(bar, COLORONCOLOR);
  {
    gui::TGdiHandle<HBRUSH> brush(CreateSolidBrush(gui::ColorToRGB(Skin.ScrollbarColour)), true);
    const RECT all{0, 0, w, h};
    FillRect(bar, &all, brush.Get());
  }
  // Positions along the bar as a rectangle of the composed picture.
  auto along = [&](int from, int to) { return Vertical ? RECT{0, from, w, to} : RECT{from, 0, to, h}; };
  auto element = [&](const TDataSkinObject& e, const RECT& r, int frames, int frame, bool tile, bool trans) {
    if (gui::TBitmap* strip = Skin.SkinBitmap(e.Bitmap))
      DrawNineGrid(bar, r, *strip, false, tile, trans, frames, frame,
                   RECT{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight});
  };
  if (const TDataSkinObject* track = (Vertical ? Skin.VertScroll : Skin.HorzScroll).get())
    element(*track, along(B, length - B), 4, 1, track->Tile == kTileRepeat, track->Trans == kTransKeyed);
  const int A = length < 2 * B ? length / 2 : B;
  const int first = Vertical ? kUpCell : kLeftCell, second = Vertical ? kDownCell : kRightCell;
  const int firstPressed = Vertical ? TSkinScrollbar::hpUp : TSkinScrollbar::hpLeft;
  const int secondPressed = Vertical ? TSkinScrollbar::hpDown : TSkinScrollbar::hpRight;
  // Each arrow's cells: normal, pressed, hot, disabled.
  auto arrowFrame = [&](int cell, int pressedPart) {
    if (!Enabled) return cell + kDisabledArrow;
    return cell + (HitPart == pressedPart ? 1 : 0);
  };
  DrawFrame(bar, along(0, A), *arrows, true, kArrowFrames, arrowFrame(first, firstPressed));
  DrawFrame(bar, along(length - A, length), *arrows, true, kArrowFrames, arrowFrame(second, secondPressed));
  const TDataSkinObject* thumb = (Vertical ? Skin.VertScrollThumb : Skin.HorzScrollThumb).get();
  if (thumb && M.Track >= M.Thumb && M.Thumb > 0) {
    const bool trans = Skin.HorzScrollThumb && Skin.HorzScrollThumb->Trans == kTransKeyed;
    const bool pressed = HitPart == (Vertical ? TSkinScrollbar::hpVertThumb : TSkinScrollbar::hpHorzThumb);
    element(*thumb, along(A + M.Offset, A + M.Offset + M.Thumb), thumb->Frames(), pressed ? 2 : 1, false, trans);
  }
  SetStretchBltMode(DC, COLORONCOLOR);
  StretchBlt(DC, Bar.left, Bar.top, Width(Bar), Height(Bar), bar, 0, 0, w, h, SRCCOPY);
}

void TSkinScrollbar::PaintBar(HDC DC, const RECT& Bar, bool Vertical, int B) {
  if (Vertical ? InVScroll : InHScroll) return;
  const int length = Vertical ? Height(Bar) : Width(Bar);
  if (length <= 0 || length > 10000) return;
  TBarMetrics& m = Vertical ? VertMetrics : HorzMetrics;
  SCROLLINFO& info = Vertical ? VertInfo : HorzInfo;
  if (!Tracking) {
    SCROLLINFO now{};
    now.cbSize = sizeof now;
    now.fMask = SIF_ALL;
    if (GetScrollInfo(Handle, Vertical ? SB_VERT : SB_HORZ, &now) && ThumbMetrics(now, length - 2 * B, B, m))
      info = now;
  }
  PaintSkinScrollBar(DC, Bar, Vertical, *Skin, HitPart, m, FBar, WindowEnabled());
}

bool TSkinScrollbar::PressTest(WPARAM HitTest, LPARAM Point) {
  if (HitTest != HTHSCROLL && HitTest != HTVSCROLL) return false;
  const bool vertical = HitTest == HTVSCROLL;
  POINT p{GET_X_LPARAM(Point), GET_Y_LPARAM(Point)};
  ScreenToClient(Handle, &p);
  const TBarMetrics& m = vertical ? VertMetrics : HorzMetrics;
  const int at = vertical ? p.y : p.x;
  const int A = m.Arrow, O = m.Offset, T = m.Thumb, L = m.Track;
  const bool onThumb = at >= A + O && at < A + O + T && at < A + L;
  if (!onThumb) return false;
  HitPart = vertical ? hpVertThumb : hpHorzThumb;
  PaintNow(nullptr);
  DragThumb(vertical);
  return true;
}

void TSkinScrollbar::DragThumb(bool Vertical) {
  const UINT scroll = Vertical ? WM_VSCROLL : WM_HSCROLL;
  const int bar = Vertical ? SB_VERT : SB_HORZ;
  TBarMetrics& m = Vertical ? VertMetrics : HorzMetrics;
  SCROLLINFO& info = Vertical ? VertInfo : HorzInfo;
  Tracking = true;
  POINT start;
  GetCursorPos(&start);
  const int startOffset = m.Offset;
  FDragMessage = scroll;
  FDragPosition = info.nPos;
  // The release must come back here wherever it happens.
  SetCapture(Handle);
  while (Tracking) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Waiting instead of polling: the drag should not take a whole core.
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_NCMOUSEMOVE || msg.message == WM_MOUSEMOVE) {
      DispatchMessageW(&msg);
      POINT now;
      GetCursorPos(&now);
      const int offset = DragOffset(startOffset + static_cast<int>(Vertical ? now.y - start.y : now.x - start.x), m);
      const int position = DragPosition(offset, info, m);
      if (position != FDragPosition) {
        info.fMask = SIF_POS;
        info.nPos = info.nTrackPos = position;
        m.Offset = offset;
        SetScrollInfo(Handle, bar, &info, FALSE);
        FDragPosition = position;
        SendMessageW(Handle, scroll, MAKEWPARAM(SB_THUMBTRACK, position & 0xFFFF), 0);
      }
    } else if (msg.message == WM_NCLBUTTONUP || msg.message == WM_LBUTTONUP) {
      FinishDrag();
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  Tracking = false;
  if (GetCapture() == Handle) ReleaseCapture();
}

int TSkinScrollbar::DragOffset(int Wanted, const TBarMetrics& M) {
  // The thumb never leaves the track, not even for a moment mid-drag.
  return std::clamp(Wanted, 0, std::max(M.Track - M.Thumb, 0));
}

int TSkinScrollbar::DragPosition(int Offset, const SCROLLINFO& Info, const TBarMetrics& M) {
  const int range = Info.nMax - Info.nMin, page = static_cast<int>(Info.nPage);
  const int room = std::max(M.Track - M.Thumb, 1);
  // A window's bars stop a page short of the end, as the system's own do.
  const int last = page ? std::max(Info.nMax - page + 1, Info.nMin) : Info.nMax;
  const int position = page ? MulDiv(Offset, range - page + 1, room) + Info.nMin : MulDiv(Offset, range, room) + Info.nMin;
  return std::clamp(position, Info.nMin, last);
}

void TSkinScrollbar::FinishDrag() {
  Tracking = false;
  SendMessageW(Handle, FDragMessage, MAKEWPARAM(SB_THUMBPOSITION, FDragPosition & 0xFFFF), 0);
  PostMessageW(Handle, FDragMessage, SB_ENDSCROLL, 0);
}

// --- stand-alone scroll bars

bool TSkinScControl::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case SBM_SETSCROLLINFO:
      DefaultHandler(Message);
      PaintNow(nullptr);
      return false;
    case gui::CN_HSCROLL:
    case gui::CN_VSCROLL: {
      HitPart = TSkinScrollbar::ScrollHitPart(Message.Msg == gui::CN_VSCROLL, LOWORD(Message.WParam));
      DefaultHandler(Message);
      PaintNow(nullptr);
      return false;
    }
  }
  return TSkinControl::BeforeMessage(Message);
}

bool TSkinScControl::ThumbMetrics(const SCROLLINFO& Info, int Track, int Arrow, TSkinScrollbar::TBarMetrics& M) {
  // The control counts its range inclusively, unlike a window's bars.
  const int range = Info.nMax - Info.nMin + 1;
  if (range < 0) return false;
  PlaceThumb(Info, range, Track, Arrow, M);
  return true;
}

void TSkinScControl::Paint(HDC DC, const RECT& Rect) {
  const bool vertical = (GetWindowLongPtrW(Handle, GWL_STYLE) & SBS_VERT) != 0;
  const int length = vertical ? Height(Rect) : Width(Rect);
  const int B = vertical ? Width(Rect) : Height(Rect);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (GetScrollInfo(Handle, SB_CTL, &info)) ThumbMetrics(info, length - 2 * B, B, Metrics);
  PaintSkinScrollBar(DC, Rect, vertical, *Skin, HitPart, Metrics, FBar, WindowEnabled());
  // A scroll bar that has the focus says so on its thumb.
  if (FocusShown() && Metrics.Thumb > 0 && Metrics.Track >= Metrics.Thumb) {
    const int from = Metrics.Arrow + Metrics.Offset, to = from + Metrics.Thumb;
    RECT thumb = vertical ? RECT{Rect.left, Rect.top + from, Rect.right, Rect.top + to}
                          : RECT{Rect.left + from, Rect.top, Rect.left + to, Rect.bottom};
    InflateRect(&thumb, -Scaled(3), -Scaled(3));
    DrawFocusAround(DC, thumb, Rect);
  }
}

// --- list views and their header

void TSkinListView::InitScroll(TFormSkinnerLink* Skinner, TSkinData* Data, bool Track) {
  TSkinScrollbar::InitScroll(Skinner, Data, Track);
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0));
  if (!header || !Owner()) return;
  Owner()->Make<TSkinHeader>()->InitWindow(header, Data, Skinner);
}

TSkinControl* TSkinListView::HeaderSkinner() const {
  if (!Owner()) return nullptr;
  for (gui::TComponent* c : Owner()->ComponentList())
    if (auto* header = dynamic_cast<TSkinHeader*>(c)) return header;
  return nullptr;
}

bool TSkinHeader::BeforeMessage(gui::TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND && Skin->Headerbar && Skin->SkinBitmap(Skin->Headerbar->Bitmap)) {
    Message.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(Message);
}

void TSkinHeader::Paint(HDC DC, const RECT& Rect) {
  const TDataSkinObject* element = Skin->Headerbar.get();
  if (!element || !Skin->SkinBitmap(element->Bitmap)) return;
  const int w = Width(Rect), h = Height(Rect);
  if (w <= 0 || h <= 0) return;
  FBuffer.SetSize(w, h);
  HDC buffer = FBuffer.Canvas().Handle();
  const gui::TDCStateGuard saved(buffer);
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0))) SelectObject(buffer, font);
  SetBkMode(buffer, TRANSPARENT);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0));
  int end = 0;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
    DrawElement(buffer, r, element->Frames(), 1, *element);
    end = std::max(end, static_cast<int>(r.right));
    wchar_t text[201] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = 200;
    SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    if (!text[0]) continue;
    const int alignment = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? 2 : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? 1 : 0;
    const bool image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0;
    SetTextColor(buffer, gui::ColorToRGB(Skin->ButtonTextColour));
    Enabled = WindowEnabled();
    DrawCaptionWithImage(buffer, r, alignment, text, image ? item.iImage : -1, images);
  }
  // The strip beyond the last item looks like an empty item.
  if (end < w) DrawElement(buffer, RECT{end, 0, w, h}, element->Frames(), 1, *element);
  BitBlt(DC, Rect.left, Rect.top, w, h, buffer, 0, 0, SRCCOPY);
}

}  // namespace qm
