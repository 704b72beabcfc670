#include "skin/3_controls/skin_control.h"

#include <algorithm>
#include <stdexcept>

#include "gui/debug_report.h"
#include "gui/dpi.h"
#include "gui/graphics.h"
#include "gui/visual_styles.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_scale.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/form_skinner_link.h"

namespace qm {

std::wstring SkinWindowText(HWND Window) {
  wchar_t text[1001] = {};
  SendMessageW(Window, WM_GETTEXT, 1001, reinterpret_cast<LPARAM>(text));
  return text;
}

TSkinControl::TSkinControl(gui::TComponent* Owner) : gui::TComponent(Owner) {
  FSubclass.OnWindowDestroyed = [this] { State = stDead; };
}

TSkinControl::~TSkinControl() { Unhook(); }

void TSkinControl::BeforeDestruction() {
  Unhook();
  gui::TComponent::BeforeDestruction();
}

void TSkinControl::Unhook() {
  if (FHook.Attached()) {
    FHook.Detach();
    if (Control) Control->DoubleBuffered = FSavedDoubleBuffered;
  }
  FSubclass.Detach();
  // A window that is gone needs no theme back.
  if (FUnthemed && State != stDead) gui::RestoreWindowTheme(FUnthemed);
  FUnthemed = nullptr;
  if (FormSkinner) {
    FormSkinner->RemoveControl(this);
    FormSkinner = nullptr;
  }
}

void TSkinControl::AbandonAttach() {
  // Whatever the attach had done comes off again, in reverse.
  RestoreColour();
  Unhook();
  Initialised = false;
  State = stCreated;
}

void TSkinControl::InitControl(TFormSkinnerLink* Skinner, TSkinData* Data, bool RecolourIt) {
  if (Initialised) return;
  auto* control = dynamic_cast<gui::TWinControl*>(Owner());
  if (!control) return;
  Recolour = RecolourIt;
  SkinData = Data;
  FormSkinner = Skinner;
  TakeSkin();
  Control = control;
  try {
    Handle = control->Handle();
    TurnThemeOff();
    HookWindowProc(control);
    FSavedDoubleBuffered = control->DoubleBuffered;
    control->DoubleBuffered = true;
    FormSkinner->AddControl(this);
    ReadState();
    if (Recolour) TakeSkinColour();
    control->Invalidate();
  } catch (...) {
    AbandonAttach();
    throw;
  }
  Initialised = true;
  State = stAttached;
}

void TSkinControl::HookWindowProc(gui::TControl* Target) {
  if (!FHook.Attach(Target, [this](gui::TMessage& m) { HandleMessage(m); }))
    throw std::runtime_error("the control's message handler is taken already");
}

void TSkinControl::InitWindow(HWND Window, TSkinData* Data, TFormSkinnerLink* Skinner) {
  Handle = Window;
  SkinData = Data;
  FormSkinner = Skinner;
  TakeSkin();
  Enabled = true;
  try {
    FormSkinner->AddControl(this);
    Text = SkinWindowText(Handle);
    TurnThemeOff();
    // The user is told nothing: a control the skin cannot paint keeps its look.
    FSubclass.DebugName = L"control skinner " + gui::Widen(ClassName());
    if (!FSubclass.Attach(Handle, [this](UINT msg, WPARAM w, LPARAM l) {
          gui::TMessage m{msg, w, l, 0};
          HandleMessage(m);
          return m.Result;
        }))
      throw std::runtime_error("the window's procedure cannot be replaced");
  } catch (...) {
    AbandonAttach();
    throw;
  }
  Initialised = true;
  State = stAttached;
}

int TSkinControl::Scaled(int Length) const { return Skin ? ScaleSkinLength(Length, Skin->Dpi) : Length; }

int TSkinControl::Metric(int Index) const {
  return Skin ? gui::SystemMetricForDpi(Index, Skin->Dpi) : GetSystemMetrics(Index);
}

void TSkinControl::TakeSkin() {
  std::shared_ptr<const TLoadedSkin> skin = FormSkinner ? FormSkinner->Skin() : nullptr;
  if (!skin && SkinData) skin = SkinData->Skin();
  if (skin) Skin = std::move(skin);
}

void TSkinControl::TurnThemeOff() {
  // Before the window is taken over: the change of theme it is told of
  // concerns its own drawing only.
  if (!FUnthemed && Handle && gui::TurnWindowThemeOff(Handle)) FUnthemed = Handle;
}

bool TSkinControl::AcceleratorsHidden() const { return gui::AcceleratorCuesHidden(Handle); }

bool TSkinControl::FocusShown() const {
  return Handle && GetFocus() == Handle && !gui::FocusCuesHidden(Handle);
}
void TSkinControl::RestoreControl() {
  if (Recolour && Control) RestoreColour();
}

void TSkinControl::TakeSkinColour() {
  SavedColor = Control->Color();
  SavedParentColor = Control->ParentColor();
  FColourTaken = true;
  Control->SetColor(Skin->ButtonFaceColour);
}

void TSkinControl::RestoreColour() {
  // Only a colour that was taken is given back: an attach that failed
  // before taking it has nothing saved.
  if (!FColourTaken || !Control) return;
  FColourTaken = false;
  if (SavedParentColor)
    Control->SetParentColor(true);
  else
    Control->SetColor(SavedColor);
}

void TSkinControl::SkinChanged() {
  TakeSkin();
  if (FColourTaken && Control) Control->SetColor(Skin->ButtonFaceColour);
  if (Handle) InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinControl::HandleMessage(gui::TMessage& Message) {
  if (!BeforeMessage(Message)) return;
  DefaultHandler(Message);
  AfterMessage(Message);
}

void TSkinControl::DefaultHandler(gui::TMessage& Message) {
  if (FHook.Attached()) {
    FHook.CallPrevious(Message);
  } else if (FSubclass.Attached()) {
    Message.Result = FSubclass.CallPrevious(Message.Msg, Message.WParam, Message.LParam);
  } else if (Handle) {
    Message.Result = DefWindowProcW(Handle, Message.Msg, Message.WParam, Message.LParam);
  }
}

bool TSkinControl::BeforeMessage(gui::TMessage& Message) {
  if (Message.Msg != WM_NCDESTROY) return true;
  DefaultHandler(Message);
  State = stDead;
  RestoreControl();
  return false;
}

void TSkinControl::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
    case gui::CM_ENABLEDCHANGED: Repaint(); break;
    case WM_SETTEXT:
      Text = Message.LParam ? reinterpret_cast<const wchar_t*>(Message.LParam) : L"";
      Repaint();
      break;
    case WM_PAINT: PaintNow(reinterpret_cast<HDC>(Message.WParam)); break;
  }
}

RECT TSkinControl::WindowBounds() const {
  RECT r{};
  if (!Handle || !GetWindowRect(Handle, &r)) return RECT{0, 0, -1, -1};
  return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

void TSkinControl::ReadState() {
  if (!Handle) return;
  Focused = GetFocus() == Handle;
  Enabled = WindowEnabled();
  Text = SkinWindowText(Handle);
}

bool TSkinControl::WindowEnabled() const {
  return !Handle || (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) == 0;
}

void TSkinControl::Repaint() {
  const RECT r = WindowBounds();
  if (r.right < 0 || !GetParent(Handle)) return;
  InvalidateRect(Handle, &r, FALSE);
  UpdateWindow(Handle);
}

HDC SkinnerWindowDC(HWND Window) {
  // A window DC never clips the children, and what a skinner paints after
  // the control's own painting would lie over them until they repaint. A
  // full repaint ends with the children on top; so does this.
  RECT window, client;
  GetWindowRect(Window, &window);
  GetClientRect(Window, &client);
  if (client.right == window.right - window.left && client.bottom == window.bottom - window.top) {
    // Without a frame the client DC is the window's, and the system clips
    // it for the children at no further cost.
    return GetDCEx(Window, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
  }
  HDC dc = GetWindowDC(Window);
  if (!dc) return dc;
  for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r;
    GetWindowRect(child, &r);
    ExcludeClipRect(dc, r.left - window.left, r.top - window.top, r.right - window.left, r.bottom - window.top);
  }
  return dc;
}

void TSkinControl::PaintNow(HDC DC) {
  const RECT r = WindowBounds();
  if (r.right < 0 || !Skin) return;
  HDC own = DC ? nullptr : SkinnerWindowDC(Handle);
  try {
    Paint(DC ? DC : own, r);
  } catch (...) {
    // The control keeps what it painted itself.
    gui::DebugReport(L"painting with " + gui::Widen(ClassName()), Handle);
  }
  if (own) ReleaseDC(Handle, own);
}

void TSkinControl::PaintCycle(gui::TMessage& Message) {
  PAINTSTRUCT ps{};
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  const bool own = dc == nullptr;
  if (own) dc = BeginPaint(Handle, &ps);
  try {
    const RECT r = WindowBounds();
    if (r.right >= 0 && Skin) Paint(dc, r);
  } catch (...) {
    // As PaintNow: the next paint starts over.
    gui::DebugReport(L"painting with " + gui::Widen(ClassName()), Handle);
  }
  if (own) EndPaint(Handle, &ps);
  Message.Result = 0;
}

void TSkinControl::FillFace(HDC DC, const RECT& R) const { FillRect(DC, &R, Skin->ButtonFaceBrush()); }

void TSkinControl::FillParentBackground(HDC DC, const RECT& R) const {
  if (Control) {
    // A library control answers that question with its own colour, which
    // follows its parent's; asking would make it keep a brush for it.
    // The DC's own brush: a paint makes no brush of its own.
    const COLORREF was = SetDCBrushColor(DC, gui::ColorToRGB(Control->Color()));
    FillRect(DC, &R, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(DC, was);
    return;
  }
  const HWND parent = GetParent(Handle);
  HBRUSH brush = nullptr;
  if (parent) {
    // The parent may set the DC's colours for the text as it answers.
    const gui::TDCStateGuard saved(DC);
    brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(Handle)));
  }
  if (brush)
    FillRect(DC, &R, brush);
  else
    FillFace(DC, R);
}

void TSkinControl::DrawElement(HDC DC, const RECT& R, int FrameCount, int FrameIndex,
                               const TDataSkinObject& Element) const {
  if (R.right < R.left || R.bottom < R.top) return;
  gui::TBitmap* strip = Skin->SkinBitmap(Element.Bitmap);
  if (!strip) return;
  const RECT margins{Element.LeftWidth, Element.TopHeight, Element.RightWidth, Element.BottomHeight};
  DrawNineGrid(DC, R, *strip, false, Element.Tile == kTileRepeat, Element.Trans == kTransKeyed, FrameCount, FrameIndex, margins);
}

RECT TSkinControl::DrawCaption(HDC DC, const RECT& R, UINT Alignment, bool IsEnabled,
                               const std::wstring& Caption) const {
  const gui::TDCStateGuard saved(DC);
  SetBkMode(DC, TRANSPARENT);
  SelectObject(DC, GetStockObject(HOLLOW_BRUSH));
  if (!IsEnabled) SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
  std::wstring caption = Caption;
  if (AcceleratorsHidden()) gui::HideAcceleratorMarks(caption, Alignment);
  RECT m = R;
  DrawTextW(DC, caption.c_str(), static_cast<int>(caption.size()), &m,
            Alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const int tw = m.right - m.left, th = m.bottom - m.top;
  m.top = R.top + (R.bottom - R.top - th) / 2 - 1;
  m.bottom = m.top + th;
  if (Alignment & DT_CENTER) {
    m.left = R.left + (R.right - R.left - tw) / 2;
    m.right = m.left + tw;
  } else if (Alignment & DT_RIGHT) {
    m.left = std::max(R.left, R.right - tw), m.right = R.right;
  } else {
    m.left = R.left, m.right = std::min(R.right, R.left + tw);
  }
  DrawTextW(DC, caption.c_str(), static_cast<int>(caption.size()), &m, Alignment | DT_EXPANDTABS);
  return m;
}

void TSkinControl::DrawFocusAround(HDC DC, const RECT& Around, const RECT& Within) {
  if (Around.right <= Around.left || Around.bottom <= Around.top) return;
  RECT r = Around;
  InflateRect(&r, 1, 1);
  IntersectRect(&r, &r, &Within);
  // It inverts what lies under it: drawn once, on a picture just composed.
  DrawFocusRect(DC, &r);
}

void TSkinControl::Dim(HDC DC, const RECT& R) const {
  // A checkerboard of the face: the picture stays readable, and no longer
  // looks like something that answers.
  static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
  if (!pattern) return;
  HBRUSH brush = CreatePatternBrush(pattern);
  if (brush) {
    const gui::TDCStateGuard saved(DC);
    SelectObject(DC, brush);
    // Bits 0 take the text colour, bits 1 the background: first the 0
    // pixels are cleared, then they get the face.
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
    PatBlt(DC, R.left, R.top, R.right - R.left, R.bottom - R.top, 0x00A000C9);  // D and P
    SetTextColor(DC, gui::ColorToRGB(Skin->ButtonFaceColour));
    SetBkColor(DC, RGB(0, 0, 0));
    PatBlt(DC, R.left, R.top, R.right - R.left, R.bottom - R.top, 0x00FA0089);  // D or P
  }
  if (brush) DeleteObject(brush);
  DeleteObject(pattern);
}

RECT TSkinControl::DrawCaptionWithImage(HDC DC, const RECT& R, int Alignment, const std::wstring& Caption,
                                        int ImageIndex, HIMAGELIST Images) const {
  const gui::TDCStateGuard saved(DC);
  SetBkMode(DC, TRANSPARENT);
  int iw = 0, ih = 0;
  const bool image = Images && ImageIndex != -1 && ImageList_GetIconSize(Images, &iw, &ih);
  if (!image) iw = ih = 0;
  constexpr UINT kLine = DT_SINGLELINE | DT_CENTER | DT_EXPANDTABS;
  RECT text{0, 0, 0, 0};
  if (!Caption.empty())
    DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &text, kLine | DT_CALCRECT | DT_NOCLIP);
  const int tw = text.right - text.left, th = text.bottom - text.top;
  const int total = iw + (image && tw > 0 ? 1 : 0) + tw;
  int x = R.left + 2;
  if (Alignment == 1) x = R.left + (R.right - R.left - total) / 2;
  if (Alignment == 2) x = R.right - 2 - total;
  if (image) {
    ImageList_Draw(Images, ImageIndex, DC, x, R.top + (R.bottom - R.top - ih) / 2, ILD_TRANSPARENT);
    x += iw + 1;
  }
  if (Caption.empty()) return RECT{};
  if (!Enabled) SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
  RECT t{x, R.top + (R.bottom - R.top - th) / 2, x + tw, 0};
  t.bottom = t.top + th;
  DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &t, kLine);
  return t;
}

RECT MarginsOf(const TDataSkinObject& Element) {
  return RECT{Element.LeftWidth, Element.TopHeight, Element.RightWidth, Element.BottomHeight};
}

}  // namespace qm
