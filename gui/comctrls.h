#pragma once
// The page control (a tab control window) and its tab sheets.

#include <functional>
#include <vector>

#include "control.h"

namespace gui {

class TPageControl;

class TTabSheet : public TWinControl {
  QM_GUI_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  // Puts the sheet last on the page control (which also becomes its parent).
  void SetPageControl(TPageControl* pageControl);
  int PageIndex() const;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override { return FCaption; }

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
};

class TPageControl : public TWinControl {
  QM_GUI_CLASS(TPageControl, TWinControl, "TCustomTabControl")
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int index) const { return FPages.at(index); }
  int ActivePageIndex() const { return FActiveIndex; }
  // Selects a page as code does: no change events.
  void SetActivePageIndex(int index);
  // The next (or previous) page, round the end, as the user's Ctrl+Tab:
  // OnChanging may refuse it, OnChange follows it.
  void SelectNextPage(bool forward);
  // The area the sheets fill, in the page control's client coordinates.
  RECT DisplayRect();

  // Before the user's switch; set allow to false to keep the page.
  std::function<void(TPageControl&, bool& allow)> OnChanging;
  // After the user switched page.
  std::function<void(TPageControl&)> OnChange;
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  // The tabs grow with the font and the scale; the sheets fill what they
  // leave.
  void ScaleLayout(int fromDpi) override;
  void FontChanged() override;

 private:
  friend class TTabSheet;
  void ScaleTabPadding();
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTab(TTabSheet* page);
  void ShowActive();
  std::vector<TTabSheet*> FPages;
  int FActiveIndex = -1;
  bool FPaddingScaled = false;  // set once the padding left 96 DPI
};

}  // namespace gui
