#pragma once
// TTabSet: a row of tabs hanging below whatever they switch, each as wide as
// its caption plus a little. Tabs that do not fit before the end margin are
// not shown; FirstIndex scrolls the row.

#include <functional>
#include <string>
#include <vector>

#include "control.h"

namespace gui {

class TTabSet : public TWinControl {
  QM_GUI_CLASS(TTabSet, TWinControl)
 public:
  explicit TTabSet(TComponent* owner);
  const std::vector<std::string>& Tabs() const { return FTabs; }
  void SetTabs(std::vector<std::string> tabs);
  // The selected tab, -1 for none.
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int index);
  // The first tab shown.
  int FirstIndex() const { return FFirstIndex; }
  void SetFirstIndex(int index);
  int StartMargin = 5;
  int EndMargin = 5;
  // The places of the tabs shown, from FirstIndex on, in the client area:
  // each as wide as its caption in the control's font plus 9, as many as fit
  // before the end margin.
  std::vector<RECT> TabRects();
  // A tab's place; empty when it is not shown.
  RECT TabRect(int index);
  int TabAt(POINT client);
  // The selection changed by the user.
  std::function<void(TTabSet&)> OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;

 private:
  void Select(int index);
  std::vector<std::string> FTabs;
  int FTabIndex = -1;
  int FFirstIndex = 0;
};

}  // namespace gui
