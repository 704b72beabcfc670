#pragma once
// TWinSkinForm: the form skinner of one top-level window. It takes over the
// window's procedure (and, for a library form, its WindowProc), lays the
// client area under the skin's frame, keeps the window's size so that the
// client keeps its own, shapes the window with a region cut from the
// frame's key colour, and paints the borders and the title with its caption.
// Detaching gives the window its native frame back with the same client
// size.
//
// Messages pass three stages: some always (WM_ISSKINNED, destruction, the
// background and static colours), some only while the frame is skinned
// (size, activation, commands, the private attach message), and the frame
// painting only once the attach has finished and the window is not
// minimised.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/component.h"
#include "gui/control.h"
#include "gui/graphics.h"
#include "gui/subclass.h"
#include "gui/window_proc_hook.h"
#include "skin/1_data/skin_format.h"
#include "skin/2_paint/skin_frame.h"
#include "skin/3_controls/form_skinner_link.h"
#include "skin/4_form/nc_object.h"

namespace gui {
class TCustomForm;
class TMenuItem;
class TPopupMenu;
class TTimer;
}

namespace qm {

class TLoadedSkin;
class TSkinData;
class TSkinControl;
class TWinSkinMenu;
class TMenuBtn;

class TWinSkinForm : public gui::TComponent, public TFormSkinnerLink {
  QM_GUI_CLASS(TWinSkinForm, gui::TComponent)
 public:
  enum TPhase : int { phAttaching = 0, phReady = 1, phReskinning = 3, phDestroying = 4, phResizing = 5, phDead = 6 };
  enum TWindowState : int { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };
  enum TMDIKind : int { mkNone = 0, mkFrame = 1, mkChild = 2 };
  // Bits of BorderIcons().
  enum : unsigned { biMaximize = 1, biMinimize = 2, biSystemMenu = 8, biCaptionRemoved = 0x10 };

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
  void RefreshFrame();
  // Cuts the window's region from the frame's key colour.
  void UpdateRegion();
  void DropRegion();
  void SetCaptionStyles(bool Restore);

  bool Attached() const { return FSubclass.Attached(); }
  // The frame is the skin's (xcMainMenu was on at attach).
  bool SkinsFrame() const { return FSkinFrame; }
  // A message of the window (or of its MDI client, or of the form) is going
  // through this skinner now: freeing it would pull it out from under that.
  bool InMessage() const { return FSubclass.Handling() || FClientSubclass.Handling() || FFormHook.Handling(); }
  // Marks a detached skinner for the manager's next sweep.
  void Retire() { FPhase = phDead; }
  TPhase Phase() const { return FPhase; }
  TSkinData* SkinData() const { return FSkinData; }
  // The skin this window is built from, held until ApplySkin takes the
  // next; null only before attaching.
  const std::shared_ptr<const TLoadedSkin>& Skin() const override { return FSkin; }
  gui::TComponent* LinkComponent() override { return this; }
  HWND SkinnedWindow() const override { return FHandle; }
  gui::TCustomForm* Form() const { return FForm; }
  const TFrameMetrics& Metrics() const { return FMetrics; }
  bool Active() const { return FActive; }
  unsigned BorderIcons() const { return FBorderIcons; }
  TWindowState WindowState() const { return FWindowState; }
  RECT CaptionRect() const { return FCaptionRect; }
  TMDIKind MDIKind() const { return FMDIKind; }
  HWND ClientWnd() const { return FClientWnd; }
  int MenuHeight() const { return FMenuHeight; }

  // --- control skinners
  // Lists a skinner; true when it was listed already.
  bool AddControl(TSkinControl* Skinner) override;
  void RemoveControl(TSkinControl* Skinner) override;
  // Frees the skinners whose window is gone.
  void SweepControls() override;
  // Gives every control its own look back and frees every skinner.
  void FreeControls();
  const std::vector<TSkinControl*>& ControlSkinners() const override { return FControls; }
  // The push-button skinner under the mouse, among this window's buttons.
  TSkinControl* HotButton() const override { return FHotButton; }
  void SetHotButton(TSkinControl* Skinner) override { FHotButton = Skinner; }
  // A bare child window made after the attach: a skinner by its class.
  void SkinChildWindow(HWND Child);

  // --- MDI
  // Its frame's switch: while a child of the frame is maximised, MDI
  // children keep their native caption and drop their region.
  void MDIMaximizedChanged(bool Maximized);
  // MDI frame: a child of its client is maximised (the frame's bar shows
  // the child's buttons); the frame's children then keep their native
  // caption and drop their region.
  bool ChildMaximized() const { return FChildMaximized; }
  // MDI frame: children come and go, and the bar waits for the client.
  bool MenuBarOnHold() const { return FMenuBarOnHold; }
  void SetChildMaximized(bool Maximized);
  // MDI frame: live form skinners of its children.
  int CountMDIChildren() const;
  // MDI child: the form skinner of its frame, or none.
  TWinSkinForm* MDIFrame() const;
  // MDI frame: whether the client's active child is maximised.
  bool ActiveChildMaximized() const;
  // MDI frame: a system command for the active child (the child buttons).
  void ChildCommand(WPARAM Command);

  // Paints the whole frame now on DC, or on a window DC of its own.
  void PaintFrame(HDC DC);

  // --- caption buttons
  const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const { return FButtons; }
  TNCObject* HotObject() const { return FHotObject; }
  void SetHotObject(TNCObject* Object) { FHotObject = Object; }
  // Repaints one button in State on the window itself.
  void PaintButton(TWinSysButton& Button, int State);
  // Whether button Index shows now; also sets its FVisible.
  bool ButtonVisible(size_t Index);
  void LayoutButtons();
  // The first visible, clickable button at a point in window coordinates.
  TWinSysButton* ButtonAt(POINT P) const;
  POINT ScreenToWindow(POINT P) const;
  // Performs the hot button's action; (X, Y) is the screen point clicked.
  void ButtonClick(int X, int Y);
  void ShowSystemMenu(POINT P);
  // Alt+Space: the system menu under the window's top-left corner.
  void ShowSystemMenuFromKeyboard();
  // Made when first asked for: most windows never open it, and making it
  // costs their start-up several milliseconds.
  gui::TPopupMenu* SystemPopup();
  gui::TTimer* HoverTimer() const { return FHoverTimer; }

  // --- menu bar
  // The bar drawn in place of the window's native menu, or none.
  TWinSkinMenu* MenuBar() const { return FMenuBar; }
  // The popup tracked from the bar now, or none.
  HMENU TrackedPopup() const { return FTrackedPopup; }
  // Whoever tracks a native popup of the window tells the item painter,
  // which measures that popup's items by their text.
  void SetTrackedPopup(HMENU Menu) { FTrackedPopup = Menu; }
  bool TrackingMenu() const { return FTrackingMenu; }
  // Opens the item's popup (and the neighbours the user moves to); false
  // when it has none.
  bool OpenMenuButton(TMenuBtn* Item);
  // Opens the item's popup from the message loop, as a click on it would.
  void PressMenuButton(TMenuBtn* Item);
  TMenuBtn* MenuButtonByAccel(wchar_t Key) const;
  // Alt+key for the bar; true when an item took it.
  bool DialogChar(WPARAM Key);
  void EndMenuTracking();
  // Switches a popup's items, at every level, to being drawn by the window.
  void MakeOwnerDraw(HMENU Menu);
  // The MDI child buttons in the bar, into a picture of the bar at BarOrigin.
  void PaintMDIButtons(HDC DC, POINT BarOrigin);
  const gui::TBitmap& Icon() const { return FIcon; }
  // The title bar as last composed, for the region and single buttons.
  const gui::TBitmap& TitleBuffer() const { return FTitleBuffer; }

  // --- menu items painted from the skin's MenuItem strip
  // Switches the skinnable popup menus owned by Form to the skin's items,
  // or gives them their own drawing back.
  void SetPopupsOwnerDraw(gui::TComponent* Form, bool Enable);
  // Every owner-drawn item of the window's menus is measured again when it
  // next shows (after a change of skin or of the menu font).
  void RemeasureMenus();

  // --- what the system says
  // The fonts and metrics taken at attach are read again and the frame is
  // repainted (a change of settings, theme, compositor or display).
  void SystemSettingsChanged(UINT Msg);
  // The manager hid the window from the compositor while it attaches.
  void SetCloakedUntilAttached() { FCloaked = true; }
  // Handlers for a library item's OnMeasureItem and OnAdvancedDrawItem.
  void MeasureMenuItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, int& Width, int& Height);
  void DrawMenuItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, RECT R, unsigned State);
  // A main-menu item: its own measure plus the room the skin adds.
  void MeasureMainItem(gui::TMenuItem& Item, MEASUREITEMSTRUCT& Measure);
  // A native item, described by a temporary library item.
  void DrawForeignItem(HMENU Menu, gui::TMenuItem& Item, unsigned State, RECT R, gui::TCanvas& Canvas);
  // Colours only, for a skin without a MenuItem strip.
  void PlainDrawItem(gui::TMenuItem& Item, gui::TCanvas& Canvas, unsigned State, RECT R);
  // Glyph or check mark, caption and short cut within R.
  void ItemContent(gui::TMenuItem& Item, gui::TCanvas& Canvas, unsigned State, RECT R);
  void DrawSeparator(gui::TCanvas& Canvas, RECT R);
  // An unowned item with the caption, state and check of a native item.
  static std::unique_ptr<gui::TMenuItem> MenuItemFromHandle(HMENU Menu, UINT Id);

 protected:
  // Freed while its window lives on (the manager went first): the window
  // gets its own look back, as when the skin is switched off.
  void BeforeDestruction() override;

 private:
  LRESULT SkinWndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallOldProc(UINT Msg, WPARAM wParam, LPARAM lParam) { return FSubclass.CallPrevious(Msg, wParam, lParam); }
  // The previous procedure with the window seemingly hidden: the system
  // paints the native caption straight onto a visible window while it
  // handles a new text or icon, over the skin's title.
  LRESULT CallOldProcUnseen(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Theme and compositor frame off while the skin paints the frame, and
  // back; the window out of the compositor's sight until attached.
  void TakeFrameFromSystem();
  void GiveFrameToSystem(bool WindowGoing);
  void Uncloak();
  void MaximisedArea(MINMAXINFO& Info) const;
  void FormWindowProc(gui::TMessage& Message);
  bool AttachOrUndo(TSkinData* SkinData, gui::TCustomForm* Form);
  // The attach proper; throws when the window cannot be taken over.
  void AttachWindow(TSkinData* SkinData);
  // Takes off whatever a failed attach had done; Style and Menu are the
  // window's from before.
  void UndoAttach(LONG_PTR Style, HMENU Menu);
  void FinishAttach();
  void FinishAttachSteps();
  void BuildFrame();
  void FitWindow(bool Reskin);
  void DetachOnDestroy();
  void RestoreProcedures();
  void ReadWindowState();
  void LoadCaptionFont();
  LRESULT SizeHandler(WPARAM wParam, LPARAM lParam);
  LRESULT NCCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT NCPaint(WPARAM wParam);
  void PaintTitleBar(HDC DC);
  HRGN BorderRegion(TFrameSide Side, const RECT& Piece);
  void ToggleMaximize();
  void ToggleMinimize();
  void RestoreWindow();
  void FreeButtons();
  void BuildButtons();
  void LoadIcon();
  void PaintButtons(HDC DC);
  // The image a button shows: its own strip, or the window icon.
  gui::TBitmap* ButtonImage(const TWinSysButton& Button, int& Frames);
  void BuildSystemPopup();
  // Enables the system menu's items by the window's state.
  void UpdateSystemPopup();
  void PopupSystemMenu(POINT P);
  void SystemItemClick(gui::TMenuItem& Item);
  LRESULT MeasureItemMessage(WPARAM wParam, LPARAM lParam);
  LRESULT DrawItemMessage(WPARAM wParam, LPARAM lParam);
  // Whether Item's menu runs from right to left.
  bool ItemRightToLeft(gui::TMenuItem& Item) const;
  void HoverTick();
  // Tells the hot push-button skinner the mouse has left, and forgets it.
  void ReleaseHotButton();
  void CloseWindow();
  LRESULT NCHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT NCMouse(UINT Msg, WPARAM wParam, LPARAM lParam);
  void DetachControls();
  void FindClientWindow();
  void HookClient();
  void UnhookClient();
  LRESULT ClientWindowProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  // An MDI child that is minimised or maximised: the system draws it.
  bool MDIChildOutsideNormal() const { return FMDIKind == mkChild && FWindowState != wsNormal; }
  bool MDIChildWhileMaximized() const;
  bool IsChildOfMine(const TWinSkinForm& Child) const;
  void CreateMenuBar();
  // GiveBack: the window gets its native menu bar again.
  void FreeMenuBar(bool GiveBack);
  void RepaintMenuBar();
  void RestoreOwnerDraw();
  // The WM_SYSCOMMAND keys of the native bar; true when swallowed.
  bool MenuKeyFilter(WPARAM wParam, LPARAM lParam);
  void MenuSelect(WPARAM wParam, LPARAM lParam);

  gui::TWindowSubclass FSubclass;
  gui::TWindowProcHook FFormHook;
  TSkinData* FSkinData = nullptr;
  std::shared_ptr<const TLoadedSkin> FSkin;
  gui::TCustomForm* FForm = nullptr;
  gui::TGdiHandle<HFONT> FCaptionFont;
  gui::TBitmap FTitleBuffer;
  TBorderPictures FBorders;
  std::wstring FCaptionPrefix = L"  ";
  std::wstring FCaption;
  std::wstring FClassName;
  HWND FOwnerWnd = nullptr;
  bool FSkinFrame = false;
  bool FRightToLeft = false;
  bool FActive = true;
  RECT FClientRect{};
  RECT FNativeFrame{};
  RECT FWindowRect{};
  RECT FCaptionRect{};
  TFrameMetrics FMetrics;
  int FMenuHeight = 0;
  int FSpaceWidth = 0;
  int FRightButtonsLeft = 0;
  LONG_PTR FStyle = 0;
  gui::TColor FSavedColor = gui::clBtnFace;
  bool FColourTaken = false;
  // The window was resized to keep its client under the skinned frame.
  bool FFitted = false;
  bool FOwnsRegion = false;
  int FRegionWidth = 0, FRegionHeight = 0;
  int FWidth = 0, FHeight = 0;
  TFrameKind FFrameKind = TFrameKind::Fixed;
  unsigned FBorderIcons = 0;
  TWindowState FWindowState = wsNormal;
  TPhase FPhase = phAttaching;
  std::vector<std::unique_ptr<TWinSysButton>> FButtons;
  TNCObject* FHotObject = nullptr;
  gui::TBitmap FIcon;
  // FIcon shows the window's own icon, not a stand-in.
  bool FOwnIcon = false;
  gui::TTimer* FHoverTimer = nullptr;
  gui::TPopupMenu* FSystemPopup = nullptr;
  DWORD FLastMenuTick = 0;
  DWORD FDoubleClickTime = 0;
  HMENU FSystemMenu = nullptr;
  // What was taken from the system for the skinned frame, to be given back.
  bool FUnthemed = false;
  bool FNoCompositorFrame = false;
  bool FCloaked = false;
  // The window had a menu bar when it was attached: only then are owner
  // drawn menu items of its own to be painted.
  bool FHadMenu = false;
  // The native item being drawn runs from right to left.
  bool FForeignRightToLeft = false;
  // Items whose drawing SetPopupsOwnerDraw took over, so that only those
  // are given back.
  std::vector<gui::TMenuItem*> FOwnerDrawnItems;
  std::vector<gui::TPopupMenu*> FOwnerDrawnMenus;
  TMDIKind FMDIKind = mkNone;
  HWND FClientWnd = nullptr;
  HWND FNewChildWnd = nullptr;
  bool FChildMaximized = false;
  // MDI frame: from a child's creation until the last child is gone the
  // bar is rebuilt by the client's messages, not by the form's menu
  // changes (the skin data's MenuUpdate is every window's, not this one's).
  bool FMenuBarOnHold = false;
  // A menu change is going through the form: the frame is not painted the
  // native way meanwhile.
  bool FMenuChanging = false;
  gui::TWindowSubclass FClientSubclass;
  std::vector<TSkinControl*> FControls;
  TSkinControl* FHotButton = nullptr;
  TWinSkinMenu* FMenuBar = nullptr;
  bool FTrackingMenu = false;
  // The native popup tracked from the menu bar, whose items are measured by
  // their text; null when none is open.
  HMENU FTrackedPopup = nullptr;
  // Items switched to owner-drawn here (menu, position), given their type back.
  std::vector<std::pair<HMENU, UINT>> FOwnerDrawn;
};

}  // namespace qm
