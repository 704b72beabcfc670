#include "tab_set.h"

#include <algorithm>

namespace gui {

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  PublishInt("TabIndex", [this] { return FTabIndex; }, [this](int v) { SetTabIndex(v); });
}

void TTabSet::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style |= WS_TABSTOP;
}

void TTabSet::SetTabs(std::vector<std::string> tabs) {
  FTabs = std::move(tabs);
  if (FTabIndex >= static_cast<int>(FTabs.size())) FTabIndex = FTabs.empty() ? -1 : 0;
  FFirstIndex = std::clamp(FFirstIndex, 0, std::max(0, static_cast<int>(FTabs.size()) - 1));
  Invalidate();
}

void TTabSet::SetTabIndex(int index) {
  if (index < -1 || index >= static_cast<int>(FTabs.size()) || index == FTabIndex) return;
  FTabIndex = index;
  Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
  if (index < 0 || index >= static_cast<int>(FTabs.size()) || index == FFirstIndex) return;
  FFirstIndex = index;
  Invalidate();
}

int TTabSet::TabWidth(HDC dc, int index) const {
  const std::wstring caption = Widen(FTabs[index]);
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  return extent.cx + 9;
}

RECT TTabSet::TabRect(int index) {
  if (index < FFirstIndex || index >= static_cast<int>(FTabs.size()) || !HandleAllocated()) return RECT{};
  RECT client;
  GetClientRect(Handle(), &client);
  HDC dc = GetDC(Handle());
  const HGDIOBJ old = SelectObject(dc, Font().Handle());
  const int end = client.right - EndMargin;
  int x = StartMargin;
  RECT found{};
  for (int i = FFirstIndex; i <= index; ++i) {
    const int w = TabWidth(dc, i);
    if (x + w > end) break;
    if (i == index) found = RECT{x, 0, x + w, client.bottom};
    x += w;
  }
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  return found;
}

int TTabSet::TabAt(POINT client) {
  for (int i = FFirstIndex; i < static_cast<int>(FTabs.size()); ++i) {
    const RECT r = TabRect(i);
    if (IsRectEmpty(&r)) break;
    if (PtInRect(&r, client)) return i;
  }
  return -1;
}

void TTabSet::Select(int index) {
  if (index < 0 || index == FTabIndex) return;
  SetTabIndex(index);
  if (OnChange) OnChange(*this);
}

void TTabSet::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      if (TabStop) ::SetFocus(Handle());
      Select(TabAt(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))}));
      break;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_KEYDOWN:
      if (m.WParam == VK_LEFT && FTabIndex > 0) Select(FTabIndex - 1);
      if (m.WParam == VK_RIGHT && FTabIndex + 1 < static_cast<int>(FTabs.size())) Select(FTabIndex + 1);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    default: break;
  }
  TWinControl::WndProc(m);
}

void TTabSet::PaintWindow(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  const TDCStateGuard saved(dc);
  SelectObject(dc, Font().Handle());
  SetBkMode(dc, TRANSPARENT);
  // The line the tabs hang from.
  RECT line{client.left, 0, client.right, 1};
  FillRect(dc, &line, GetSysColorBrush(COLOR_3DDKSHADOW));
  for (int i = FFirstIndex; i < static_cast<int>(FTabs.size()); ++i) {
    RECT r = TabRect(i);
    if (IsRectEmpty(&r)) break;
    const bool selected = i == FTabIndex;
    // The selected tab is joined to the page above it; the others sit back.
    if (selected) {
      FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
      DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_RIGHT | BF_BOTTOM);
    } else {
      r.top += 2, r.bottom -= 2;
      DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_LEFT | BF_RIGHT | BF_BOTTOM);
    }
    const std::wstring caption = Widen(FTabs[i]);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (selected && GetFocus() == Handle()) {
      InflateRect(&r, -3, -3);
      DrawFocusRect(dc, &r);
    }
  }
}

}  // namespace gui
