#include "comctrls.h"

#include <algorithm>

#include <commctrl.h>

namespace gui {

// --- TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  FVisible = false;
  FParentColor = true;
}

TTabSheet::~TTabSheet() {
  Release();
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  FPageControl = pageControl;
  SetParent(pageControl);
  if (pageControl) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetCaption(const std::string& caption) {
  FCaption = caption;
  if (FPageControl) FPageControl->UpdateTab(this);
}

void TTabSheet::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Caption.clear();
  p.ExStyle |= WS_EX_CONTROLPARENT;
}

// --- TPageControl

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  PublishInt("ActivePageIndex", [this] { return FActiveIndex; }, [this](int v) { SetActivePageIndex(v); });
}

TPageControl::~TPageControl() {
  Release();
  // Sheets owned elsewhere may outlive this control; they must not reach back.
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
}

void TPageControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = WC_TABCONTROLW;
  p.SystemClass = true;
  p.Style |= WS_CLIPCHILDREN;
  // The sheets are its children: Tab moves into them as into any container.
  p.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPageControl::CreateWnd() {
  for (TTabSheet* page : FPages) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = Widen(page->Caption());
    item.pszText = text.data();
    SendMessageW(FHandle, TCM_INSERTITEMW, static_cast<WPARAM>(page->PageIndex()), reinterpret_cast<LPARAM>(&item));
  }
  ScaleTabPadding();
  ShowActive();
}

void TPageControl::ScaleLayout(int fromDpi) {
  TWinControl::ScaleLayout(fromDpi);
  ScaleTabPadding();
  ShowActive();
}

void TPageControl::FontChanged() {
  TWinControl::FontChanged();
  ShowActive();
}

void TPageControl::ScaleTabPadding() {
  // The control's own padding around a tab's text (6 by 3 at 96 DPI) does
  // not follow the scale by itself. Left alone at 96 DPI.
  if (FHandle && (CurrentDpi() != kDesignDpi || FPaddingScaled)) {
    SendMessageW(FHandle, TCM_SETPADDING, 0, MAKELPARAM(ScaleForDpi(6, CurrentDpi()), ScaleForDpi(3, CurrentDpi())));
    FPaddingScaled = true;
  }
}

RECT TPageControl::DisplayRect() {
  RECT r{0, 0, Width(), Height()};
  if (FHandle) {
    GetClientRect(FHandle, &r);
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  }
  return r;
}

void TPageControl::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  ShowActive();
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  if (FHandle) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = Widen(page->Caption());
    item.pszText = text.data();
    SendMessageW(FHandle, TCM_INSERTITEMW, FPages.size() - 1, reinterpret_cast<LPARAM>(&item));
  }
  if (FActiveIndex < 0) FActiveIndex = 0;
  ShowActive();
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  const int index = static_cast<int>(it - FPages.begin());
  FPages.erase(it);
  if (FHandle) SendMessageW(FHandle, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
  if (FActiveIndex >= PageCount()) FActiveIndex = PageCount() - 1;
  ShowActive();
}

void TPageControl::UpdateTab(TTabSheet* page) {
  if (!FHandle) return;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  std::wstring text = Widen(page->Caption());
  item.pszText = text.data();
  SendMessageW(FHandle, TCM_SETITEMW, static_cast<WPARAM>(page->PageIndex()), reinterpret_cast<LPARAM>(&item));
}

void TPageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= PageCount()) return;
  FActiveIndex = index;
  ShowActive();
}

void TPageControl::SelectNextPage(bool forward) {
  if (PageCount() < 2) return;
  bool allow = true;
  if (OnChanging) OnChanging(*this, allow);
  if (!allow) return;
  SetActivePageIndex((FActiveIndex + (forward ? 1 : PageCount() - 1)) % PageCount());
  if (OnChange) OnChange(*this);
}

void TPageControl::ShowActive() {
  if (FHandle && FActiveIndex >= 0) SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FActiveIndex), 0);
  const RECT r = DisplayRect();
  // Show the new sheet before hiding the old one, so nothing flashes through.
  for (int i = 0; i < PageCount(); ++i) {
    TTabSheet* page = FPages[i];
    page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    if (i == FActiveIndex) page->SetVisible(true);
  }
  for (int i = 0; i < PageCount(); ++i)
    if (i != FActiveIndex) FPages[i]->SetVisible(false);
}

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(m.LParam);
    if (hdr->code == TCN_SELCHANGING) {
      bool allow = true;
      if (OnChanging) OnChanging(*this, allow);
      m.Result = allow ? FALSE : TRUE;
      return;
    }
    if (hdr->code == TCN_SELCHANGE) {
      FActiveIndex = static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
      ShowActive();
      if (OnChange) OnChange(*this);
      return;
    }
  }
  TWinControl::WndProc(m);
}

}  // namespace gui
