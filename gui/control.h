#pragma once
// Controls and windowed controls. Every message of a control passes through
// its replaceable WindowProc; the default chain ends in CallDefault.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "component.h"
#include "dpi.h"
#include "graphics.h"

namespace gui {

// Library notifications, sent through WindowProc.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGCHAR = 0xB006;    // Alt+key, to the form
constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;
constexpr UINT CM_MENUCHANGED = 0xB015;   // the form's menu changed
constexpr UINT CM_EXIT = 0xB01B;          // focus left the control
constexpr UINT CM_RELEASE = 0xB021;       // the control is being released
constexpr UINT CM_CHECKCHANGED = 0xB0D0;  // check state changed by code
constexpr UINT CN_BASE = 0xBC00;          // reflected child notifications
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// A message handler: an object and one of its methods, or any callable.
using TWndMethod = std::function<void(TMessage&)>;

class TWinControl;
class TWindowProcHook;

enum class TCursor { crDefault, crHandPoint, crIBeam, crArrow };

class TControl : public TComponent {
  QM_GUI_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // The current handler. Save it, install another, call the saved one for
  // default handling, put it back later: the control never re-asserts it.
  TWndMethod WindowProc;
  // Sends a message through the hooks and WindowProc now.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return FBounds.left; }
  int Top() const { return FBounds.top; }
  int Width() const { return FBounds.right - FBounds.left; }
  int Height() const { return FBounds.bottom - FBounds.top; }
  RECT BoundsRect() const { return FBounds; }
  RECT ClientRect() const;
  virtual void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);
  // Visible and every parent up the chain visible.
  bool Showing() const;

  virtual std::string Caption() const { return FCaption; }
  virtual void SetCaption(const std::string& caption);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }

  TColor Color() const { return FColor; }
  // A colour of its own: the control stops following its parent's.
  void SetColor(TColor color);
  // Following the parent's colour, as it is now and whenever it changes.
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  TCursor Cursor = TCursor::crDefault;
  bool DoubleBuffered = false;
  bool MouseInControl() const { return FMouseInControl; }

  virtual void Invalidate();
  void Update();

  // The scale the control is laid out at: 96 until its form meets a display
  // of another scale. A control put on a parent of another scale takes the
  // parent's.
  int CurrentDpi() const { return FDpi; }
  // Lays the control (and what it holds) out again at dpi from its 96-DPI
  // layout: bounds, and the font where it has its own.
  void ChangeScale(int dpi);

  std::function<void(TControl&)> OnClick;
  virtual void Click();

 protected:
  // The control's own handling; the end of every WindowProc chain.
  virtual void WndProc(TMessage& message);
  // Default handling for messages the control leaves alone.
  virtual void CallDefault(TMessage& message) { message.Result = 0; }
  virtual void FontChanged();
  virtual void ColorChanged() { Invalidate(); }
  virtual void ParentFontChanged();
  void ParentColorChanged();
  // The layout's part of ChangeScale, the scale changing from fromDpi to
  // CurrentDpi(); descendants add what they lay out themselves.
  virtual void ScaleLayout(int fromDpi);
  void ScaleBounds(int fromDpi);
  void ScaleFont(int fromDpi);
  // Announces the release through WindowProc, then frees the owned
  // components, while the control is whole.
  void BeforeDestruction() override;

  RECT FBounds{0, 0, 0, 0};
  bool FVisible = true;
  bool FEnabled = true;
  std::string FCaption;
  TColor FColor = clBtnFace;
  TFont FFont;
  bool FParentFont = true;
  // Controls that are part of their parent's surface (labels, check boxes,
  // panels...) set this in their constructor.
  bool FParentColor = false;
  bool FMouseInControl = false;
  bool FApplyingParentFont = false;
  bool FPressed = false;

 private:
  friend class TWinControl;
  int FDpi = kDesignDpi;
  TDesignLength FDesignEdges[4];  // left, top, right, bottom
  TDesignLength FDesignFontHeight;
  friend class TWindowProcHook;
  void ChangeColor(TColor color);
  TWinControl* FParent = nullptr;
  // The topmost of the first Count hooks, or WindowProc below them all.
  void CallHandlers(TMessage& message, size_t count);
  // Hooks in front of WindowProc, oldest first; let go of when the control
  // is freed.
  std::vector<TWindowProcHook*> FHooks;
};

// A control without a window of its own, painted by its parent. WM_PAINT
// reaches it through WindowProc with the parent's DC in wParam, whose origin
// is moved to the control's top left.
class TGraphicControl : public TControl {
  QM_GUI_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas& Canvas() { return FCanvas; }
  void Invalidate() override;

 protected:
  void WndProc(TMessage& message) override;
  virtual void Paint() {}

 private:
  TCanvas FCanvas;
};

struct TCreateParams {
  std::wstring ClassName;  // an own class is registered on first use
  bool SystemClass = false;
  std::wstring Caption;
  DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ExStyle = 0;
  RECT Bounds{0, 0, 0, 0};
  HWND Parent = nullptr;
  HMENU Id = nullptr;
};

class TWinControl : public TControl {
  QM_GUI_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();  // created on demand
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // The library control bound to a window, or none.
  static TWinControl* FindControl(HWND window);

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(index); }
  TControl* ControlAtPos(POINT clientPoint, bool graphicOnly) const;

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  void Invalidate() override;
  void SetFocus();
  bool Focused() const;
  bool TabStop = false;

  // Paints the windowless children into dc (client coordinates).
  void PaintControls(HDC dc, const RECT* clip);

 protected:
  void ScaleLayout(int fromDpi) override;
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateHandle();
  // Runs after the window exists: push state the window keeps itself.
  virtual void CreateWnd() {}
  void DestroyHandle();
  // The window goes last, after the owned components that may use it.
  void BeforeDestruction() override;
  void WndProc(TMessage& message) override;
  // The saved window procedure of a system control, or DefWindowProc.
  void CallDefault(TMessage& message) override;
  void FontChanged() override;
  void ColorChanged() override;
  // Colours for the reflected WM_CTLCOLOR* messages.
  void ApplyCtlColor(TMessage& message);
  // Background for own-class windows.
  virtual void PaintBackground(HDC dc);
  // Own-class windows paint here; the default fills with Color.
  virtual void PaintWindow(HDC dc);

  HWND FHandle = nullptr;
  TGdiHandle<HBRUSH> FColorBrush;

 private:
  friend class TControl;
  static LRESULT CALLBACK ClassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Bind(HWND hwnd);
  void Unbind();
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool Reflect(TMessage& message);
  void TrackGraphicMouse(TMessage& message);

  std::vector<TControl*> FControls;
  WNDPROC FDefWndProc = nullptr;  // DefWindowProc, or a system control's own procedure
  TControl* FMouseControl = nullptr;  // windowless child under the mouse
  TControl* FCaptureControl = nullptr;
};

// The window's keyboard cues (WM_QUERYUISTATE): a focus rectangle stays
// hidden until the user works the keyboard, when the window says so;
// accelerator underlines the same.
bool FocusCuesHidden(HWND window);
bool AcceleratorCuesHidden(HWND window);

// Exceptions never cross a window procedure: this runs the call and hands
// anything thrown to the application's error box.
void GuardedCall(const std::function<void()>& call);

}  // namespace gui
