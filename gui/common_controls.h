#pragma once
// Thin classes over the common controls a skin author wants to see: the
// progress bar, track bar, up-down control, status bar and report-style
// list view. Each keeps what it was told while it has no window and puts it
// into the window when it is made.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "control.h"

namespace gui {

class TProgressBar : public TWinControl {
  QM_GUI_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner) : TWinControl(owner) {}
  int Position() const { return FPosition; }
  void SetPosition(int value);
  int Max = 100;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int FPosition = 0;
};

class TTrackBar : public TWinControl {
  QM_GUI_CLASS(TTrackBar, TWinControl)
 public:
  explicit TTrackBar(TComponent* owner);
  int Position() const;
  void SetPosition(int value);
  int Max = 10;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int FPosition = 0;
};

class TUpDown : public TWinControl {
  QM_GUI_CLASS(TUpDown, TWinControl)
 public:
  explicit TUpDown(TComponent* owner) : TWinControl(owner) {}
  // The edit whose number it steps; set before the window is made.
  TWinControl* Associate = nullptr;
  int Min = 0, Max = 100, Position = 0;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
};

class TScrollBar : public TWinControl {
  QM_GUI_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* owner);
  bool Vertical = false;  // set before the window is made
  int Min = 0, Max = 100, PageSize = 0;
  int Position() const { return FPosition; }
  void SetPosition(int value);
  std::function<void(TScrollBar&)> OnScroll;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  void Apply();
  int FPosition = 0;
};

class TStatusBar : public TWinControl {
  QM_GUI_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* owner) : TWinControl(owner) {}
  // Text and width of each panel; the last one takes the rest.
  std::vector<std::pair<std::string, int>> Panels;
  bool SizeGrip = true;
  // Follows its parent's new size (the parent forwards WM_SIZE).
  void ParentResized();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
};

class TListView : public TWinControl {
  QM_GUI_CLASS(TListView, TWinControl, "TCustomListView")
 public:
  explicit TListView(TComponent* owner) : TWinControl(owner) {}
  void AddColumn(const std::string& caption, int width);
  void AddItem(const std::vector<std::string>& cells);
  int ItemCount() const { return static_cast<int>(FItems.size()); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void InsertColumn(int index);
  void InsertItem(int index);
  std::vector<std::pair<std::string, int>> FColumns;
  std::vector<std::vector<std::string>> FItems;
};

}  // namespace gui
