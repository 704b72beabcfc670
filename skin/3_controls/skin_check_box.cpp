#include "skin/3_controls/skin_check_box.h"

#include "gui/graphics.h"
#include "skin/1_data/skin_format.h"
#include "skin/1_data/skin_scale.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/2_paint/skin_bitmap_draw.h"
#include "skin/3_controls/form_skinner_link.h"

namespace qm {

// --- check boxes and radio buttons

int TSkinCheckBox::Frame() const {
  bool checked;
  if (Radio()) {
    checked = (SendMessageW(Handle, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
  } else {
    const LRESULT state = SendMessageW(Handle, BM_GETSTATE, 0, 0);
    if (state & BST_INDETERMINATE) return check_cell::kIndeterminate;
    checked = (state & BST_CHECKED) != 0;
  }
  // A library control's own state wins over its window's.
  if (Control && Control->PropertyKind("Checked") == gui::TPropertyKind::Enumerated)
    checked = gui::UpperCase(Control->GetPropValue("Checked").value_or("")) == "TRUE";
  const int frame = checked ? check_cell::kChecked : check_cell::kUnchecked;
  return GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED ? frame + check_cell::kDisabledShift : frame;
}

RECT TSkinCheckBox::BoxRect(const RECT& Rect, int Width, int Height, bool LeftText, int Dpi) {
  RECT box;
  box.top = Rect.top + (Rect.bottom - Rect.top - Height) / 2;
  box.bottom = box.top + Height;
  // A box narrower than the system's is centred where the system's sits.
  const int system = ScaleSkinLength(14, Dpi);
  const int gap = (system - Width) / 2;
  if (LeftText) {
    box.right = Width <= system ? Rect.right - gap : Rect.right - 1;
    box.left = box.right - Width;
  } else {
    box.left = Width <= system ? Rect.left + gap : Rect.left;
    box.right = box.left + Width;
  }
  return box;
}

bool TSkinCheckBox::BeforeMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    // The whole face is the skinner's: the control's own focus rectangle,
    // inverted over a caption it did not draw, would come and go with
    // every repaint.
    case WM_PAINT:
      if (!Strip()) return true;  // no image: the control's own look
      PaintCycle(Message);
      return false;
    case WM_ERASEBKGND:
      if (!Strip()) return true;
      Message.Result = 1;
      return false;
  }
  // Everything else goes through, destruction included.
  return true;
}

gui::TBitmap* TSkinCheckBox::Strip() const {
  const TDataSkinButton* element = Skin ? Skin->Buttons.get() : nullptr;
  if (!element) return nullptr;
  return Skin->SkinBitmap(Radio() ? element->RadioBitmap : element->CheckBitmap);
}

void TSkinCheckBox::AfterMessage(gui::TMessage& Message) {
  switch (Message.Msg) {
    case BM_SETSTATE:
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case gui::CM_EXIT:
    case gui::CM_CHECKCHANGED: Repaint(); return;
  }
  TSkinControl::AfterMessage(Message);
}

void TSkinCheckBox::Paint(HDC DC, const RECT& Rect) {
  gui::TBitmap* strip = Strip();
  if (!strip) return;
  const TDataSkinButton* element = Skin->Buttons.get();
  const int frames = Radio() ? element->RadioFrames() : element->CheckFrames();
  const int w = strip->Width() / frames, h = strip->Height();
  const bool leftText = (GetWindowLongPtrW(Handle, GWL_STYLE) & BS_LEFTTEXT) != 0;
  // The caption begins where the control would begin it, after its box.
  const int clear = Metric(SM_CXMENUCHECK) + Scaled(3);
  const RECT caption = leftText ? RECT{Rect.left, Rect.top, Rect.right - clear - 1, Rect.bottom}
                                : RECT{Rect.left + clear + 1, Rect.top, Rect.right, Rect.bottom};
  FillParentBackground(DC, Rect);
  DrawFrame(DC, BoxRect(Rect, w, h, leftText, Skin->Dpi), *strip, true, frames, Frame());
  PaintCaption(DC, caption, leftText);
}

void TSkinCheckBox::PaintCaption(HDC DC, const RECT& Place, bool LeftText) {
  ReadState();
  const gui::TDCStateGuard saved(DC);
  HFONT font = Control ? Control->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (font) SelectObject(DC, font);
  // The control's own font colour, as it would draw itself.
  SetTextColor(DC, Control ? gui::ColorToRGB(Control->Font().Color()) : GetSysColor(COLOR_BTNTEXT));
  const RECT text = DrawCaption(DC, Place, LeftText ? DT_RIGHT : DT_LEFT, Enabled, Text);
  if (FocusShown()) DrawFocusAround(DC, text, Place);
}

// --- group boxes

void TSkinGroupBox::Paint(HDC DC, const RECT& Rect) {
  std::wstring caption = SkinWindowText(Handle);
  if (caption.empty() && Control) caption = gui::Widen(Control->Caption());
  // Made before the DC's state is saved, so that it is deleted only once
  // the DC has let go of it.
  gui::TGdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, gui::ColorToRGB(Skin->ButtonShadowColour)), true);
  const gui::TDCStateGuard saved(DC);
  HFONT font = Control ? Control->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (font) SelectObject(DC, font);
  SIZE zero{};
  GetTextExtentPoint32W(DC, L"0", 1, &zero);
  RECT frame{0, zero.cy / 2 - 1, Rect.right, Rect.bottom};
  // Over the control's own two-pixel edge.
  FrameRect(DC, &frame, Skin->ButtonFaceBrush());
  RECT inner{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  FrameRect(DC, &inner, Skin->ButtonFaceBrush());
  SelectObject(DC, pen.Get());
  SelectObject(DC, GetStockObject(HOLLOW_BRUSH));
  RoundRect(DC, frame.left, frame.top, frame.right, frame.bottom, 5, 5);
  SetBkMode(DC, OPAQUE);
  SetBkColor(DC, gui::ColorToRGB(Skin->ButtonFaceColour));
  const bool enabled = (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  SetTextColor(DC, enabled ? gui::ColorToRGB(Skin->ButtonTextColour) : GetSysColor(COLOR_GRAYTEXT));
  RECT text{Rect.left + 9, Rect.top, frame.right, frame.bottom};
  UINT format = DT_EXPANDTABS;
  if (AcceleratorsHidden()) gui::HideAcceleratorMarks(caption, format);
  DrawTextW(DC, caption.c_str(), static_cast<int>(caption.size()), &text, format);
}

// --- panels

void TSkinBox::InitControl(TFormSkinnerLink* Skinner, TSkinData* Data, bool RecolourIt) {
  auto* control = dynamic_cast<gui::TWinControl*>(Owner());
  if (!control) return;
  Recolour = RecolourIt;
  SkinData = Data;
  Control = control;
  FormSkinner = Skinner;
  TakeSkin();
  try {
    Handle = control->Handle();
    TurnThemeOff();
    FormSkinner->AddControl(this);
    if (Recolour) TakeSkinColour();
  } catch (...) {
    AbandonAttach();
    throw;
  }
  Initialised = true;
  State = stAttached;
}

void TSkinBox::RestoreControl() {
  if (Recolour && Control && State != stDead) RestoreColour();
  State = stRestored;
}

}  // namespace qm
