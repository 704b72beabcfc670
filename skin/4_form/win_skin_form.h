#pragma once
// TWinSkinForm: the form skinner of one top-level window. It takes over the
// window's procedure (and, for a library form, its WindowProc), lays the
// client area under the skin's frame, keeps the window's size so that the
// client keeps its own, shapes the window with a region cut from the
// frame's key colour, and paints the borders and the title with its caption.
// Detaching gives the window its native frame back with the same client
// size.
//
// The skinner is the one object the manager makes per window; it owns its
// parts, each of which reaches the others through it:
//
//   TFormMessages      the window's procedure: three stages of messages
//   TFormFrame         metrics, borders, title, fitting, region
//   TCaptionButtons    the title's buttons, the mouse over the frame
//   TSystemMenu        the skin's system menu and the window commands
//   TFormMenu          the menu bar and the tracking of its popups
//   TMenuItemPainter   menu items drawn from the skin
//   TFormMDI           an MDI frame's client and children
//   TFormControls      the control skinners of the window

#include <windows.h>

#include <memory>

#include "gui/component.h"
#include "gui/dpi.h"
#include "gui/graphics.h"
#include "skin/4_form/caption_buttons.h"
#include "skin/4_form/form_controls.h"
#include "skin/4_form/form_frame.h"
#include "skin/4_form/form_mdi.h"
#include "skin/4_form/form_menu.h"
#include "skin/4_form/form_messages.h"
#include "skin/4_form/form_window.h"
#include "skin/4_form/menu_item_painter.h"
#include "skin/4_form/system_menu.h"

namespace gui {
class TCustomForm;
}

namespace qm {

class TLoadedSkin;
class TSkinData;

class TWinSkinForm : public gui::TComponent {
  QM_GUI_CLASS(TWinSkinForm, gui::TComponent)
 public:
  using TPhase = TFormWindow::TPhase;
  using TWindowState = TFormWindow::TWindowState;
  using TMDIKind = TFormWindow::TMDIKind;
  using enum TFormWindow::TPhase;
  using enum TFormWindow::TWindowState;
  using enum TFormWindow::TMDIKind;
  using enum TFormWindow::TBorderIcon;

  explicit TWinSkinForm(gui::TComponent* Owner);
  ~TWinSkinForm() override;

  // The window this skinner is for; set before attaching.
  HWND FHandle = nullptr;

  // Either the window is skinned afterwards, or it is exactly as it was
  // (styles, menu, procedures, colour) and the answer is false.
  bool AttachLibraryForm(TSkinData* SkinData, gui::TCustomForm* Form);
  bool Attach(TSkinData* SkinData);
  // Skinning switched off: the window gets its native frame, styles, colour
  // and procedure back, with the same client size.
  void Detach();
  // After a skin change: takes the skin data's new skin, re-reads the frame
  // from it and fits the window again. Until then the window paints, is
  // hit-tested and is shaped with the skin it was built from.
  void ApplySkin();
  // The private attach message: fits the window and paints its frame.
  void FinishAttach();
  // WM_DPICHANGED: the window moved to a monitor of another scale. The
  // frame, its buttons, fonts and pictures are taken to the new scale
  // before the window's own handling lays it out in the suggested
  // rectangle; a window that does not lay itself out (a foreign one) is
  // put there with its client scaled.
  LRESULT DpiChanged(WPARAM wParam, LPARAM lParam);
  // WM_GETDPISCALEDSIZE, which Windows 10 (1703 on) sends before that:
  // the size the window will take at the new scale, its client grown and
  // the skin's frame at that scale around it. Left unanswered, the system
  // would grow the whole window, frame and all, by the factor, which the
  // skin's frame, rounded piece by piece, misses by a pixel or two: the
  // window would be sized twice.
  LRESULT ScaledSize(WPARAM wParam, LPARAM lParam);
  // The window is being destroyed: everything lets go of it.
  void DetachOnDestroy();
  // The fonts and metrics taken at attach are read again and the frame is
  // repainted (a change of settings, theme, compositor or display).
  void SystemSettingsChanged(bool CompositionChanged);
  // Maximised, minimised or normal, as the system has it now.
  void ReadWindowState();

  bool Attached() const { return FMessages.Attached(); }
  bool SkinsFrame() const { return FWindow.SkinFrame; }
  // A message of the window (or of its MDI client, or of the form) is going
  // through this skinner now: freeing it would pull it out from under that.
  bool InMessage() const { return FMessages.Handling() || FMDI.Handling(); }
  // Marks a detached skinner for the manager's next sweep.
  void Retire() { FWindow.Phase = phDead; }
  TPhase Phase() const { return FWindow.Phase; }
  TSkinData* SkinData() const { return FSkinData; }
  // The skin this window is built from, at the window's scale (Dpi()),
  // held until ApplySkin takes the next; null only before attaching.
  const std::shared_ptr<const TLoadedSkin>& Skin() const { return FSkin; }
  // The scale of the window's monitor, as last told.
  int Dpi() const { return FDpi; }
  gui::TCustomForm* Form() const { return FForm; }
  TFormWindow& Window() { return FWindow; }
  const TFormWindow& Window() const { return FWindow; }
  // The manager hid the window from the compositor while it attaches.
  void SetCloakedUntilAttached() { FFrame.SetCloaked(); }

  TFormMessages& Messages() { return FMessages; }
  TFormFrame& Frame() { return FFrame; }
  const TFormFrame& Frame() const { return FFrame; }
  TCaptionButtons& CaptionButtons() { return FButtons; }
  const TCaptionButtons& CaptionButtons() const { return FButtons; }
  TSystemMenu& SystemMenu() { return FSystemMenu; }
  TFormMenu& Menus() { return FMenus; }
  TMenuItemPainter& MenuItems() { return FMenuItems; }
  TFormMDI& MDI() { return FMDI; }
  const TFormMDI& MDI() const { return FMDI; }
  TFormControls& Controls() { return FControls; }

 protected:
  // Freed while its window lives on (the manager went first): the window
  // gets its own look back, as when the skin is switched off.
  void BeforeDestruction() override;

 private:
  bool AttachOrUndo(TSkinData* SkinData, gui::TCustomForm* Form);
  // The attach proper; throws when the window cannot be taken over.
  void AttachWindow(TSkinData* SkinData);
  void ReadWindow();
  // Takes off whatever a failed attach had done; Style and Menu are the
  // window's from before.
  void UndoAttach(LONG_PTR Style, HMENU Menu);
  void FinishAttachSteps();
  // Skinning off for a window whose frame stayed the system's.
  void DetachControls();
  void GiveColourBack();

  TFormWindow FWindow;
  TSkinData* FSkinData = nullptr;
  std::shared_ptr<const TLoadedSkin> FSkin;
  int FDpi = gui::SystemDpi();
  gui::TCustomForm* FForm = nullptr;
  gui::TColor FSavedColor = gui::clBtnFace;
  bool FColourTaken = false;
  TFormMessages FMessages{*this};
  TFormFrame FFrame{*this};
  TCaptionButtons FButtons{*this};
  TSystemMenu FSystemMenu{*this};
  TFormMenu FMenus{*this};
  TMenuItemPainter FMenuItems{*this};
  TFormMDI FMDI{*this};
  TFormControls FControls{*this};
};

// The link a control skinner takes for the form skinner a dispatch names
// as its Sender; null for any other sender.
TFormSkinnerLink* FormSkinnerLinkOf(gui::TComponent* Sender);

}  // namespace qm
