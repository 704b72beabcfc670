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

std::vector<RECT> TTabSet::TabRects() {
  std::vector<RECT> rects;
  if (!HandleAllocated()) return rects;
  RECT client;
  GetClientRect(Handle(), &client);
  const TWindowDC windowDC(Handle());
  const HDC dc = windowDC.Handle();
  const TSelectGuard font(dc, Font().Handle());
  const int end = client.right - EndMargin;
  for (int i = FFirstIndex, x = StartMargin; i < static_cast<int>(FTabs.size()); ++i) {
    const std::wstring caption = Widen(FTabs[i]);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    const int w = extent.cx + 9;
    if (x + w > end) break;
    rects.push_back(RECT{x, 0, x + w, client.bottom});
    x += w;
  }
  return rects;
}

RECT TTabSet::TabRect(int index) {
  const std::vector<RECT> rects = TabRects();
  const int at = index - FFirstIndex;
  return at >= 0 && at < static_cast<int>(rects.size()) ? rects[at] : RECT{};
}

int TTabSet::TabAt(POINT client) {
  const std::vector<RECT> rects = TabRects();
  for (size_t i = 0; i < rects.size(); ++i)
    if (PtInRect(&rects[i], client)) return FFirstIndex + static_cast<int>(i);
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
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: Invalidate(); break;
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
  const std::vector<RECT> rects = TabRects();
  for (size_t n = 0; n < rects.size(); ++n) {
    const int i = FFirstIndex + static_cast<int>(n);
    RECT r = rects[n];
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
    if (selected && GetFocus() == Handle() && !FocusCuesHidden(Handle())) {
      InflateRect(&r, -3, -3);
      DrawFocusRect(dc, &r);
    }
  }
}

}  // namespace gui
