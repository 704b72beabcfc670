#pragma once
// TSkinControl: the base of every control skinner. It stands between one
// control and its handling: a library control's WindowProc, or a bare
// window's procedure. Each message goes first to BeforeMessage, which may
// answer it alone; otherwise the control handles it and AfterMessage runs,
// where most skinners paint over what the control painted. Descendants
// choose the messages and paint.
//
// A skinner of a library control is owned by that control and dies with it;
// a skinner of a bare window is owned by its form skinner. Either way the
// form skinner lists it, frees the dead ones and, when skinning goes off,
// gives every control back its own look and frees them all.

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "gui/component.h"
#include "gui/control.h"
#include "gui/subclass.h"
#include "gui/window_proc_hook.h"

namespace qm {

class TSkinData;
class TLoadedSkin;
class TDataSkinObject;
class TFormSkinnerLink;

class TSkinControl : public gui::TComponent {
  QM_GUI_CLASS(TSkinControl, gui::TComponent)
 public:
  enum : unsigned { mfHot = 1, mfPressed = 2 };
  enum TState : int { stCreated = 0, stAttached = 1, stRestored = 2, stDead = 6 };

  explicit TSkinControl(gui::TComponent* Owner);
  ~TSkinControl() override;

  // A library control (the owner): its WindowProc is taken over.
  virtual void InitControl(TFormSkinnerLink* FormSkinner, TSkinData* SkinData, bool Recolour);
  // A bare window, or a library control skinned through its window: its
  // window procedure is taken over.
  virtual void InitWindow(HWND Window, TSkinData* SkinData, TFormSkinnerLink* FormSkinner);
  // Skinning goes off: whatever the skinner changed on the control goes back.
  virtual void RestoreControl();
  // After a change of skin: takes the skin its form skinner has just taken.
  virtual void SkinChanged();
  // Paints now into DC, or into a window DC of its own when DC is null.
  virtual void PaintNow(HDC DC);

  unsigned MouseFlags = 0;
  bool Enabled = true;
  bool Focused = false;
  std::wstring Text;
  TSkinData* SkinData = nullptr;
  // What the control is painted with: the skin of the window it is on,
  // changed only together with it.
  std::shared_ptr<const TLoadedSkin> Skin;
  HWND Handle = nullptr;
  gui::TWinControl* Control = nullptr;
  bool Recolour = false;
  gui::TColor SavedColor = 0;
  bool SavedParentColor = false;
  bool Initialised = false;
  TState State = stCreated;
  TFormSkinnerLink* FormSkinner = nullptr;

 protected:
  // False: the message was answered here (Message.Result is the answer) and
  // neither the control nor AfterMessage sees it.
  virtual bool BeforeMessage(gui::TMessage& Message);
  virtual void AfterMessage(gui::TMessage& Message);
  // Paints the control at Rect (its whole window, at 0, 0) on DC.
  virtual void Paint(HDC /*DC*/, const RECT& /*Rect*/) {}
  void BeforeDestruction() override;

  // Skin := the one the form skinner paints with (the skin data's, when
  // there is no form skinner).
  void TakeSkin();
  // The control's own handling of the message.
  void DefaultHandler(gui::TMessage& Message);
  // Invalidates the whole window, without erasing, and paints it now.
  void Repaint();
  // WM_PAINT answered by the skinner alone: a paint cycle when the message
  // brings no DC.
  void PaintCycle(gui::TMessage& Message);
  void ReadState();
  // The window has no WS_DISABLED style.
  bool WindowEnabled() const;
  RECT WindowBounds() const;
  // The control takes the skin's face colour; back, it takes its own colour
  // again, or its parent's when it followed the parent's.
  void TakeSkinColour();
  void RestoreColour();
  // Puts this skinner in front of a control's WindowProc; throws when it
  // cannot.
  void HookWindowProc(gui::TControl* Target);
  // The system's theme would paint under and over the skin: it is off for
  // the skinned window while the skinner is attached.
  void TurnThemeOff();
  // The window hides its accelerator underlines (WM_QUERYUISTATE).
  bool AcceleratorsHidden() const;
  // The control has the focus and its window's keyboard cues show it.
  bool FocusShown() const;
  // An attach that failed half-way: the control gets back what was taken.
  void AbandonAttach();

  // --- drawing shared by the skinners
  void FillFace(HDC DC, const RECT& R) const;
  // R in what the parent paints behind the control, as a native check box
  // asks for it (WM_CTLCOLORSTATIC): a control on a page of another colour
  // than the skin's face must not stand out as a band of face colour.
  void FillParentBackground(HDC DC, const RECT& R) const;
  // A 96-DPI length, and a system metric, at the scale of the skin this
  // control is painted with (its window's).
  int Scaled(int Length) const;
  int Metric(int Index) const;
  // One frame of an element's strip as a nine-grid with the element's
  // margins and tiling, through the key colour when the element says Trans.
  void DrawElement(HDC DC, const RECT& R, int FrameCount, int FrameIndex, const TDataSkinObject& Element) const;
  // Text on one line, a pixel above the vertical centre; centred when
  // Alignment is DT_CENTER; in the grey-text colour when disabled. The
  // place the text took.
  RECT DrawCaption(HDC DC, const RECT& R, UINT Alignment, bool IsEnabled, const std::wstring& Caption) const;
  // An image of the list (none for index -1 or no list) and, a pixel after
  // it, the text on one line, both centred vertically; the pair sits 2
  // pixels from the left (Alignment 0), centred (1) or 2 from the right (2).
  // The place the text took (empty without text).
  RECT DrawCaptionWithImage(HDC DC, const RECT& R, int Alignment, const std::wstring& Caption, int ImageIndex,
                            HIMAGELIST Images) const;
  // The dotted focus rectangle around Around, a pixel out, clipped to Within.
  static void DrawFocusAround(HDC DC, const RECT& Around, const RECT& Within);
  // A disabled look for a picture the skin has no disabled frame of: every
  // other pixel of R becomes the face colour.
  void Dim(HDC DC, const RECT& R) const;

 private:
  void HandleMessage(gui::TMessage& Message);
  void Unhook();
  // In front of the WindowProc of a library control, or a windowless one.
  gui::TWindowProcHook FHook;
  bool FColourTaken = false;
  // Buffering is the skinner's need; the control goes back to its own choice.
  bool FSavedDoubleBuffered = false;
  // The window whose theme this skinner turned off, to be given back.
  HWND FUnthemed = nullptr;
  gui::TWindowSubclass FSubclass;
};

// A window DC of Window for a skinner to paint on, which leaves the visible
// child windows as they are.
HDC SkinnerWindowDC(HWND Window);

// The text of a window, as the skinners read it (at most 1000 characters).
std::wstring SkinWindowText(HWND Window);

// An element's nine-grid margins as a rectangle (left, top, right, bottom).
RECT MarginsOf(const TDataSkinObject& Element);

}  // namespace qm
