#include "common_controls.h"

#include <commctrl.h>

#include "graphics.h"

namespace gui {

// --- progress bar

void TProgressBar::SetPosition(int value) {
  FPosition = value;
  if (FHandle) SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = PROGRESS_CLASSW;
  p.SystemClass = true;
}

void TProgressBar::CreateWnd() {
  SendMessageW(FHandle, PBM_SETRANGE32, 0, Max);
  SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

// --- track bar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  PublishInt("Position", [this] { return Position(); }, [this](int v) { SetPosition(v); });
}

int TTrackBar::Position() const {
  return FHandle ? static_cast<int>(SendMessageW(FHandle, TBM_GETPOS, 0, 0)) : FPosition;
}

void TTrackBar::SetPosition(int value) {
  FPosition = value;
  if (FHandle) SendMessageW(FHandle, TBM_SETPOS, TRUE, value);
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = TRACKBAR_CLASSW;
  p.SystemClass = true;
  p.Style |= WS_TABSTOP | TBS_AUTOTICKS | TBS_HORZ;
}

void TTrackBar::CreateWnd() {
  SendMessageW(FHandle, TBM_SETRANGE, TRUE, MAKELPARAM(0, Max));
  SendMessageW(FHandle, TBM_SETPOS, TRUE, FPosition);
}

// --- up-down

void TUpDown::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = UPDOWN_CLASSW;
  p.SystemClass = true;
  p.Style |= UDS_ARROWKEYS | UDS_SETBUDDYINT | (Associate ? UDS_ALIGNRIGHT : 0);
}

void TUpDown::CreateWnd() {
  SendMessageW(FHandle, UDM_SETRANGE32, static_cast<WPARAM>(Min), Max);
  if (Associate) SendMessageW(FHandle, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Associate->Handle()), 0);
  SendMessageW(FHandle, UDM_SETPOS32, 0, Position);
}

// --- scroll bar

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  PublishInt("Position", [this] { return FPosition; }, [this](int v) { SetPosition(v); });
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"SCROLLBAR";
  p.SystemClass = true;
  p.Style |= Vertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() { Apply(); }

void TScrollBar::Apply() {
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, Min, Max, static_cast<UINT>(PageSize), FPosition, 0};
  SetScrollInfo(FHandle, SB_CTL, &info, TRUE);
}

void TScrollBar::SetPosition(int value) {
  const int last = PageSize ? Max - PageSize + 1 : Max;
  FPosition = value < Min ? Min : value > last ? last : value;
  if (FHandle) Apply();
}

void TScrollBar::WndProc(TMessage& m) {
  // The control only reports; moving is its owner's work, as for any bar.
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    const int step = PageSize ? PageSize : 10;
    switch (LOWORD(m.WParam)) {
      case SB_LINEUP: SetPosition(FPosition - 1); break;
      case SB_LINEDOWN: SetPosition(FPosition + 1); break;
      case SB_PAGEUP: SetPosition(FPosition - step); break;
      case SB_PAGEDOWN: SetPosition(FPosition + step); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(FHandle, SB_CTL, &info);
        SetPosition(info.nTrackPos);
        break;
      }
      case SB_TOP: SetPosition(Min); break;
      case SB_BOTTOM: SetPosition(Max); break;
      default: return;
    }
    if (OnScroll) OnScroll(*this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// --- status bar

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = STATUSCLASSNAMEW;
  p.SystemClass = true;
  p.Style |= CCS_BOTTOM | (SizeGrip ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::CreateWnd() {
  std::vector<int> rights;
  int right = 0;
  for (size_t i = 0; i < Panels.size(); ++i) {
    right += Panels[i].second;
    rights.push_back(i + 1 == Panels.size() ? -1 : right);
  }
  SendMessageW(FHandle, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  for (size_t i = 0; i < Panels.size(); ++i) {
    const std::wstring text = Widen(Panels[i].first);
    SendMessageW(FHandle, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void TStatusBar::ParentResized() {
  if (FHandle) SendMessageW(FHandle, WM_SIZE, 0, 0);
}

// --- list view

void TListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = WC_LISTVIEWW;
  p.SystemClass = true;
  p.Style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
  for (int i = 0; i < static_cast<int>(FColumns.size()); ++i) InsertColumn(i);
  for (int i = 0; i < ItemCount(); ++i) InsertItem(i);
}

void TListView::AddColumn(const std::string& caption, int width) {
  FColumns.emplace_back(caption, width);
  if (FHandle) InsertColumn(static_cast<int>(FColumns.size()) - 1);
}

void TListView::AddItem(const std::vector<std::string>& cells) {
  FItems.push_back(cells);
  if (FHandle) InsertItem(ItemCount() - 1);
}

void TListView::InsertColumn(int index) {
  std::wstring text = Widen(FColumns[index].first);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = text.data();
  column.cx = FColumns[index].second;
  column.iSubItem = index;
  SendMessageW(FHandle, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void TListView::InsertItem(int index) {
  const std::vector<std::string>& cells = FItems[index];
  for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
    std::wstring text = Widen(cells[c]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = c;
    item.pszText = text.data();
    SendMessageW(FHandle, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace gui
