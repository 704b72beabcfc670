#include "skin/4_form/win_skin_form.h"

#include <stdexcept>

#include "gui/control.h"
#include "gui/debug_report.h"
#include "gui/dpi.h"
#include "gui/forms.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/form_skinner_host.h"

namespace qm {

namespace {

std::wstring ClassNameOf(HWND window) {
  wchar_t name[100] = {};
  GetClassNameW(window, name, 100);
  return name;
}

}  // namespace

TFormSkinnerLink* FormSkinnerLinkOf(gui::TComponent* Sender) {
  auto* skinner = dynamic_cast<TWinSkinForm*>(Sender);
  return skinner ? &skinner->Controls() : nullptr;
}

TWinSkinForm::TWinSkinForm(gui::TComponent* Owner) : gui::TComponent(Owner) {}

TWinSkinForm::~TWinSkinForm() {
  // The teardown needs the whole object, also for a skinner without holder.
  Release();
}

void TWinSkinForm::BeforeDestruction() {
  const bool formGoing = FForm && (FForm->ComponentState() & gui::csDestroying);
  if (Attached() && !formGoing && FWindow.Phase != phDestroying && IsWindow(FHandle)) {
    try {
      Detach();
    } catch (...) {
      gui::DebugReport(L"giving a window back as its form skinner is freed", FHandle);
    }
  }
  // A form that outlives its skinner must not keep menu handlers that
  // point at it.
  if (FForm && !formGoing) FMenuItems.SetPopupsOwnerDraw(FForm, false);
  FMDI.UnhookClient();
  if (Attached()) {
    FMessages.Restore();
    FFrame.DropRegion();
    FFrame.GiveToSystem(false);
  }
  FControls.FreeAll();
  if (TFormSkinnerHost* host = FormSkinnerHost()) host->RemoveFormSkinner(this);
  // The owned timer, menu bar and system menu go here.
  gui::TComponent::BeforeDestruction();
  FButtons.ForgetHoverTimer();
  FMenus.Forget();
  FSystemMenu.Forget();
}

bool TWinSkinForm::AttachLibraryForm(TSkinData* SkinData, gui::TCustomForm* Form) {
  // Nothing loaded yet: nothing to draw with.
  if (Attached() || !FHandle || !Form || !SkinData->Skin()) return false;
  return AttachOrUndo(SkinData, Form);
}

bool TWinSkinForm::Attach(TSkinData* SkinData) {
  if (Attached() || !FHandle || !SkinData->Skin()) return false;
  return AttachOrUndo(SkinData, nullptr);
}

bool TWinSkinForm::AttachOrUndo(TSkinData* SkinData, gui::TCustomForm* Form) {
  // What the window is now, given back exactly if the attach cannot finish.
  const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  const HMENU menu = GetMenu(FHandle);
  const bool autoScroll = Form && Form->AutoScroll;
  try {
    if (Form) {
      FForm = Form;
      Form->AutoScroll = false;
      if (SkinData->SkinControls.Contains(TSkinControlType::xcMainMenu) && !FMessages.HookForm(Form))
        throw std::runtime_error("the form's message handler cannot be hooked");
    }
    AttachWindow(SkinData);
    if (Form) {
      // Menu items are drawn by the window that skins its menus, so they
      // follow the frame's gate, not only the popup menus' own.
      if (FWindow.SkinFrame) FMenuItems.SetPopupsOwnerDraw(Form, true);
      FSavedColor = Form->Color();
      FColourTaken = true;
      Form->SetColor(FSkin->ButtonFaceColour);
    }
    return true;
  } catch (...) {
    gui::DebugReport(L"attaching the form skinner", FHandle);
    UndoAttach(style, menu);
    if (Form) Form->AutoScroll = autoScroll;
    return false;
  }
}

void TWinSkinForm::UndoAttach(LONG_PTR Style, HMENU Menu) {
  FButtons.FreeHoverTimer();
  if (FForm) {
    FMenuItems.SetPopupsOwnerDraw(FForm, false);
    if (FColourTaken) FForm->SetColor(FSavedColor);
  }
  FColourTaken = false;
  FControls.FreeAll();
  FMessages.Restore();
  FMDI.UnhookClient();
  FMenus.Free(true);
  FButtons.Free();
  FFrame.SetMenuHeight(0);
  if (GetMenu(FHandle) != Menu) SetMenu(FHandle, Menu);
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) != Style) {
    SetWindowLongPtrW(FHandle, GWL_STYLE, Style);
    FFrame.Refresh();
  }
  FWindow.Style = Style;
  FForm = nullptr;
}

void TWinSkinForm::ReadWindow() {
  TFormWindow& w = FWindow;
  w.Style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  w.RightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const bool systemMenu = FSystemMenu.ReadNative();
  w.ClassName = ClassNameOf(FHandle);
  w.Owner = GetWindow(FHandle, GW_OWNER);
  w.BorderIcons = 0;
  if ((w.Style & WS_SYSMENU) || systemMenu) w.BorderIcons |= biSystemMenu;
  if (w.Style & WS_MINIMIZEBOX) w.BorderIcons |= biMinimize;
  if (w.Style & WS_MAXIMIZEBOX) w.BorderIcons |= biMaximize;
  ReadWindowState();
  FMDI.FindClient();
  if (exStyle & WS_EX_MDICHILD) w.MDIKind = mkChild;
  w.FrameKind = TFrameKind::Fixed;
  if ((w.Style & WS_POPUP) && (w.Style & WS_CAPTION) != WS_CAPTION)
    w.FrameKind = TFrameKind::Unskinned;
  else if ((exStyle & WS_EX_WINDOWEDGE) || (w.Style & WS_THICKFRAME))
    w.FrameKind = TFrameKind::Sizing;
}

void TWinSkinForm::AttachWindow(TSkinData* SkinData) {
  FSkinData = SkinData;
  FDpi = gui::WindowDpi(FHandle);
  FSkin = SkinData->Skin()->AtDpi(FDpi);
  FButtons.MakeHoverTimer();
  FWindow.SkinFrame = SkinData->SkinControls.Contains(TSkinControlType::xcMainMenu);
  ReadWindow();
  FMenuItems.SetHadMenu(GetMenu(FHandle) != nullptr || (FForm && FForm->Menu()));
  FButtons.LoadIcon();
  FFrame.ReadCaption();
  FFrame.MeasureNative();
  if (FWindow.MDIKind == mkFrame) FMDI.HookClient();
  if (FWindow.SkinFrame) {
    if (GetMenu(FHandle) && FWindow.MDIKind != mkChild && FWindow.FrameKind != TFrameKind::Unskinned) FMenus.Create();
    if (!FMDI.ChildWhileMaximized() && FWindow.State != wsMinimized) FFrame.SetCaptionStyles(false);
    FFrame.Build();
    FButtons.Build();
    FFrame.TakeFromSystem();
  }
  if (!FMessages.Attach(FHandle)) throw std::runtime_error("the window's procedure cannot be replaced");
  FControls.SkinAll();
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(FHandle, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindow.State = wsMinimized; break;
    case SW_SHOWMAXIMIZED: FWindow.State = wsMaximized; break;
    default: FWindow.State = wsNormal;
  }
}

void TWinSkinForm::SystemSettingsChanged(bool CompositionChanged) {
  FFrame.SettingsChanged(CompositionChanged);
  gui::Screen().RefreshMenuFont();
  FSystemMenu.ReadDoubleClickTime();
  FButtons.LoadIcon();
  FMenuItems.RemeasureMenus();
  if (FWindow.Phase != phReady || !FWindow.SkinFrame) return;
  FFrame.Refresh();
  FFrame.Paint(nullptr);
}

void TWinSkinForm::FinishAttach() {
  if (FWindow.Phase == phDead || !Attached()) return;
  try {
    FinishAttachSteps();
  } catch (...) {
    // Half a frame is worse than none: the window gets its own back, and
    // the manager frees this skinner at its next sweep.
    gui::DebugReport(L"finishing the form skinner's attach", FHandle);
    if (!FFrame.Fitted()) FWindow.Phase = phAttaching;
    Detach();
    FWindow.Phase = phDead;
  }
}

void TWinSkinForm::FinishAttachSteps() {
  const bool attaching = FWindow.Phase == phAttaching && FWindow.SkinFrame;
  if (attaching && FMDI.ChildWhileMaximized()) {
    FFrame.SetCaptionStyles(true);
    FFrame.Refresh();
  } else if (attaching && FWindow.State != wsMinimized && FWindow.FrameKind != TFrameKind::Unskinned) {
    FFrame.FitOnAttach();
  }
  FWindow.Phase = phReady;
  if (FWindow.SkinFrame) FFrame.Paint(nullptr);
  // Dressed: the compositor may show the window now.
  FFrame.Uncloak();
  FButtons.EnableHover(FWindow.Active);
}

LRESULT TWinSkinForm::DpiChanged(WPARAM wParam, LPARAM lParam) {
  const int dpi = HIWORD(wParam), was = FDpi;
  if (dpi <= 0 || dpi == was || !FSkin) {
    FDpi = dpi > 0 ? dpi : FDpi;
    return FMessages.CallOldProc(WM_DPICHANGED, wParam, lParam);
  }
  try {
    FSkin = FSkin->AtDpi(dpi);
  } catch (...) {
    // Without the skin at the new scale the window goes on in the one it
    // has, a size off but whole.
    gui::DebugReport(L"scaling the skin to a window's new display scale", FHandle);
    return FMessages.CallOldProc(WM_DPICHANGED, wParam, lParam);
  }
  FDpi = dpi;
  FControls.SkinChanged();
  FMenuItems.RemeasureMenus();
  // Whatever the phase, the frame's metrics follow the skin: an attach
  // still to finish fits the window to them.
  if (FWindow.SkinFrame && Attached()) {
    FFrame.Build();
    FButtons.LoadIcon();
    FButtons.Build();
  }
  const bool frame = FWindow.SkinFrame && Attached() && FWindow.Phase == phReady;
  RECT before;
  GetWindowRect(FHandle, &before);
  RECT client;
  GetClientRect(FHandle, &client);
  const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
  // The region is cut anew however the window's size comes out.
  if (frame) FWindow.Phase = phReskinning;
  const LRESULT result = FMessages.CallOldProc(WM_DPICHANGED, wParam, lParam);
  if (!frame) return result;
  RECT after;
  GetWindowRect(FHandle, &after);
  if (EqualRect(&before, &after) && FWindow.State == wsNormal) {
    // Nobody laid the window out: its client grows with the scale, under
    // the frame at the new one, where the system suggests.
    const TFrameMetrics& m = FFrame.Metrics();
    const int width = gui::RescaleDpi(client.right, dpi, was) + m.BorderLeft + m.BorderRight;
    const int height = gui::RescaleDpi(client.bottom, dpi, was) + m.TitleHeight + FFrame.MenuHeight() + m.BorderBottom;
    SetWindowPos(FHandle, nullptr, suggested.left, suggested.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else {
    FFrame.Refresh();
  }
  FFrame.ScaleNative(dpi, was);
  FFrame.UpdateRegion();
  FWindow.Phase = phReady;
  if (FWindow.State != wsMinimized) FFrame.Paint(nullptr);
  return result;
}

LRESULT TWinSkinForm::ScaledSize(WPARAM wParam, LPARAM lParam) {
  const int dpi = static_cast<int>(wParam);
  const bool frame = FWindow.SkinFrame && Attached() && FWindow.Phase == phReady && FWindow.State == wsNormal &&
                     FWindow.FrameKind != TFrameKind::Unskinned && FSkin && dpi > 0;
  if (!frame) return FMessages.CallOldProc(kGetDpiScaledSize, wParam, lParam);
  TFrameMetrics m;
  try {
    m = SkinFrameMetrics(*FSkin->AtDpi(dpi), false);
  } catch (...) {
    gui::DebugReport(L"measuring a window's frame at another display scale", FHandle);
    return FMessages.CallOldProc(kGetDpiScaledSize, wParam, lParam);
  }
  RECT client;
  GetClientRect(FHandle, &client);
  const int menu = FFrame.MenuHeight() > 0 ? gui::SystemMetricForDpi(SM_CYMENU, dpi) : 0;
  auto* size = reinterpret_cast<SIZE*>(lParam);
  size->cx = gui::RescaleDpi(client.right, dpi, FDpi) + m.BorderLeft + m.BorderRight;
  size->cy = gui::RescaleDpi(client.bottom, dpi, FDpi) + m.TitleHeight + menu + m.BorderBottom;
  return TRUE;
}

void TWinSkinForm::ApplySkin() {
  // The one moment this window changes skin. A load that failed published
  // nothing, and the window goes on with the skin it has.
  if (std::shared_ptr<const TLoadedSkin> skin = FSkinData->Skin()) {
    try {
      FSkin = skin->AtDpi(FDpi);
    } catch (...) {
      // GDI could not make the new skin's bitmaps at this scale: the window
      // keeps the skin it has, whole.
      gui::DebugReport(L"scaling a new skin to a window's display scale", FHandle);
    }
  }
  if (FForm) {
    FForm->SetColor(FSkin->ButtonFaceColour);
    for (gui::TComponent* c : FForm->ComponentList())
      if (auto* form = dynamic_cast<gui::TCustomForm*>(c)) form->SetColor(FSkin->ButtonFaceColour);
  }
  FControls.SkinChanged();
  if (FWindow.SkinFrame && FForm) FMenuItems.SetPopupsOwnerDraw(FForm, true);
  // Items measured for the old skin's margins keep that size otherwise.
  FMenuItems.RemeasureMenus();
  FWindow.Phase = phReskinning;
  if (FWindow.SkinFrame) {
    FFrame.Build();
    FButtons.Build();
    FFrame.Fit(true);
    // The region's top is cut from the painted title: paint it in the new
    // skin first.
    if (FWindow.State != wsMinimized) FFrame.Paint(nullptr);
    FFrame.UpdateRegion();
  }
  FWindow.Phase = phReady;
}

void TWinSkinForm::GiveColourBack() {
  if (FForm && FWindow.Phase != phDestroying) FForm->SetColor(FSavedColor);
}

void TWinSkinForm::Detach() {
  if (FForm) FMenuItems.SetPopupsOwnerDraw(FForm, false);
  if (!FWindow.SkinFrame) {
    DetachControls();
    FFrame.Uncloak();
    return;
  }
  FSystemMenu.Free();
  FButtons.EnableHover(false);
  if (!Attached()) return;
  FMessages.Restore();
  FControls.FreeAll();
  FButtons.Free();
  GiveColourBack();
  FMDI.UnhookClient();
  FFrame.GiveToSystem(false);
  FFrame.SetCaptionStyles(true);
  FFrame.ForgetTitle();
  FMenus.Free(true);
  FFrame.GiveBackNativeSize();
  FFrame.ClearRegion();
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TWinSkinForm::DetachControls() {
  FButtons.EnableHover(false);
  FControls.FreeAll();
  GiveColourBack();
  FMessages.Restore();
  FMDI.UnhookClient();
  if (FForm && FWindow.Phase != phDestroying)
    for (gui::TComponent* c : FForm->ComponentList())
      if (auto* control = dynamic_cast<gui::TControl*>(c)) control->Invalidate();
}

void TWinSkinForm::DetachOnDestroy() {
  if (!FWindow.SkinFrame) {
    DetachControls();
    return;
  }
  FButtons.EnableHover(false);
  FMessages.Restore();
  FControls.FreeAll();
  FMDI.UnhookClient();
  FMenus.Free(false);
  FFrame.ForgetTitle();
  FFrame.GiveToSystem(true);
}

}  // namespace qm
