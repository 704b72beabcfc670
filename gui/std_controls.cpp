#include "std_controls.h"

#include <algorithm>

namespace gui {

// --- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  PublishBool("Default", [this] { return FDefault; }, [this](bool v) { SetDefault(v); });
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  if (FHandle) SendMessageW(FHandle, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"BUTTON";
  p.SystemClass = true;
  p.Style = (p.Style & ~WS_CLIPCHILDREN) | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    return;
  }
  TWinControl::WndProc(m);
}

// --- check boxes and radio buttons

TCheckControl::TCheckControl(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  FParentColor = true;
  PublishBool("Checked", [this] { return Checked(); }, [this](bool v) { SetChecked(v); });
}

bool TCheckControl::Checked() const {
  if (FHandle) return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return FChecked;
}

void TCheckControl::SetChecked(bool checked) {
  if (checked == Checked()) return;
  FChecked = checked;
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  Perform(CM_CHECKCHANGED);
}

void TCheckControl::CreateWnd() {
  if (FChecked) SendMessageW(FHandle, BM_SETCHECK, BST_CHECKED, 0);
}

void TCheckControl::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) {
      FChecked = Checked();
      Click();
    }
    return;
  }
  TWinControl::WndProc(m);
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"BUTTON";
  p.SystemClass = true;
  p.Style = (p.Style & ~WS_CLIPCHILDREN) | BS_AUTOCHECKBOX;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"BUTTON";
  p.SystemClass = true;
  p.Style = (p.Style & ~WS_CLIPCHILDREN) | BS_AUTORADIOBUTTON;
}

void TRadioButton::SetChecked(bool checked) {
  TCheckControl::SetChecked(checked);
  if (!checked || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other != this)
      other->SetChecked(false);
}

// --- edits

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  FColor = clWindow;
  TabStop = true;
  PublishBool("ReadOnly", [this] { return FReadOnly; }, [this](bool v) { SetReadOnly(v); });
  PublishText("Text", [this] { return Caption(); }, [this](const std::string& v) { SetCaption(v); });
}

void TCustomEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  if (FHandle) SendMessageW(FHandle, EM_SETREADONLY, value, 0);
}

namespace {

std::wstring WindowTextOf(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), n + 1)));
  return text;
}

bool IsTrailSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int CharactersIn(const std::wstring& text, DWORD units) {
  int characters = 0;
  for (DWORD i = 0; i < units && i < text.size(); ++i)
    if (!IsTrailSurrogate(text[i])) ++characters;
  return characters;
}

WPARAM UnitsOf(const std::wstring& text, int characters) {
  size_t i = 0;
  for (int n = 0; i < text.size() && n < characters; ++n)
    i += (i + 1 < text.size() && IsTrailSurrogate(text[i + 1])) ? 2 : 1;
  return i;
}

}  // namespace

int TCustomEdit::SelStart() const {
  if (!FHandle) return 0;
  DWORD start = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return CharactersIn(WindowTextOf(FHandle), start);
}

int TCustomEdit::SelLength() const {
  if (!FHandle) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::wstring text = WindowTextOf(FHandle);
  return CharactersIn(text, end) - CharactersIn(text, start);
}

void TCustomEdit::SetSel(int start, int length) {
  if (!FHandle) return;
  const std::wstring text = WindowTextOf(FHandle);
  SendMessageW(FHandle, EM_SETSEL, UnitsOf(text, start), static_cast<LPARAM>(UnitsOf(text, start + length)));
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"EDIT";
  p.SystemClass = true;
  p.Style = (p.Style & ~WS_CLIPCHILDREN) | ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(*this);
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE) Change();
      return;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLOREDIT:
      if (!FEnabled) {
        // A disabled edit reads as one: grey text on the face colour.
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        m.Result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style = (p.Style & ~ES_AUTOHSCROLL) | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string text = Caption();
  if (text.empty()) return lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  // A final line break ends the last line; it starts no new one.
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  SetCaption(text);
}

void TMemo::AddLine(const std::string& line) {
  std::vector<std::string> lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

// --- list controls

TCustomListControl::TCustomListControl(TComponent* owner, TListMessages messages)
    : TWinControl(owner), FMsg(messages) {
  FColor = clWindow;
  TabStop = true;
  PublishInt("ItemIndex", [this] { return ItemIndex(); }, [this](int v) { SetItemIndex(v); });
}

void TCustomListControl::CreateWnd() {
  for (const auto& item : FItems)
    SendMessageW(FHandle, FMsg.AddString, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  SendMessageW(FHandle, FMsg.SetCurSel, static_cast<WPARAM>(FItemIndex), 0);
}

void TCustomListControl::Add(const std::string& item) {
  FItems.push_back(item);
  if (FHandle) SendMessageW(FHandle, FMsg.AddString, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void TCustomListControl::SetItem(int index, const std::string& item) {
  const int selected = ItemIndex();
  FItems.at(index) = item;
  if (FHandle) {
    SendMessageW(FHandle, FMsg.DeleteString, static_cast<WPARAM>(index), 0);
    SendMessageW(FHandle, FMsg.InsertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(item).c_str()));
    // Replacing the selected entry must not lose the selection.
    if (selected == index) SendMessageW(FHandle, FMsg.SetCurSel, static_cast<WPARAM>(index), 0);
  }
}

void TCustomListControl::Delete(int index) {
  FItems.erase(FItems.begin() + index);
  if (FItemIndex == index) FItemIndex = -1;
  else if (FItemIndex > index) --FItemIndex;
  if (FHandle) SendMessageW(FHandle, FMsg.DeleteString, static_cast<WPARAM>(index), 0);
}

void TCustomListControl::Clear() {
  FItems.clear();
  FItemIndex = -1;
  if (FHandle) SendMessageW(FHandle, FMsg.ResetContent, 0, 0);
}

void TCustomListControl::SetItems(const std::vector<std::string>& items) {
  if (items == FItems) return;
  Clear();
  for (const auto& item : items) Add(item);
}

int TCustomListControl::ItemIndex() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, FMsg.GetCurSel, 0, 0));
  return FItemIndex;
}

void TCustomListControl::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) index = -1;
  FItemIndex = index;
  if (FHandle) SendMessageW(FHandle, FMsg.SetCurSel, static_cast<WPARAM>(index), 0);
}

TComboBox::TComboBox(TComponent* owner)
    : TCustomListControl(owner, {CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCURSEL,
                                 CB_SETCURSEL}) {}

std::string TComboBox::Caption() const {
  const int index = ItemIndex();
  if (index >= 0 && index < Count()) return FItems[index];
  return Style == TComboBoxStyle::csDropDown ? TWinControl::Caption() : std::string();
}

void TComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"COMBOBOX";
  p.SystemClass = true;
  p.Style = (p.Style & ~WS_CLIPCHILDREN) | WS_VSCROLL |
            (Style == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
  // The window's height includes the dropped list.
  p.Bounds.bottom = p.Bounds.top + Height() + DroppedListHeight();
}

void TComboBox::SetBounds(int left, int top, int width, int height) {
  FBounds = RECT{left, top, left + width, top + height};
  if (FHandle)
    SetWindowPos(FHandle, nullptr, left, top, width, height + DroppedListHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

int TComboBox::DroppedListHeight() const {
  // Lines of 16 pixels at 96 DPI, as tall as the font the scale brings.
  return DropDownCount * ScaleForDpi(16, CurrentDpi()) + 2;
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    const WORD code = HIWORD(m.WParam);
    if (code == CBN_SELCHANGE) {
      FItemIndex = ItemIndex();
      if (OnChange) OnChange(*this);
    } else if (code == CBN_EDITCHANGE && OnChange) {
      OnChange(*this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

TListBox::TListBox(TComponent* owner)
    : TCustomListControl(owner, {LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCURSEL,
                                 LB_SETCURSEL}) {}

void TListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"LISTBOX";
  p.SystemClass = true;
  p.Style = (p.Style & ~WS_CLIPCHILDREN) | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
            (ScrollWidth > 0 ? WS_HSCROLL : 0);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
  TCustomListControl::CreateWnd();
  if (ScrollWidth > 0) SendMessageW(FHandle, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(ScrollWidth), 0);
}

void TListBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == LBN_SELCHANGE) {
      FItemIndex = ItemIndex();
      Click();
    }
    return;
  }
  TWinControl::WndProc(m);
}

// --- TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  FParentColor = true;
  PublishBool("Transparent", [this] { return FTransparent; }, [this](bool v) { SetTransparent(v); });
  PublishBool("AutoSize", [this] { return FAutoSize; }, [this](bool v) { SetAutoSize(v); });
}

void TLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

void TLabel::SetCaption(const std::string& caption) {
  TControl::SetCaption(caption);
  AdjustBounds();
}

void TLabel::FontChanged() {
  AdjustBounds();
  TGraphicControl::FontChanged();
}

void TLabel::AdjustBounds() {
  if (!FAutoSize) return;
  SIZE s;
  {
    TWindowDC screen(nullptr);
    TCanvas canvas(screen.Handle());
    canvas.Font.Assign(Font());
    s = canvas.TextExtent(FCaption.empty() ? std::string(" ") : FCaption);
  }
  Invalidate();
  FBounds.right = FBounds.left + (FCaption.empty() ? 0 : s.cx);
  FBounds.bottom = FBounds.top + s.cy;
  Invalidate();
}

void TLabel::Paint() {
  TCanvas& canvas = TGraphicControl::Canvas();
  RECT r = ClientRect();
  if (!FTransparent) {
    canvas.Brush.SetColor(Color());
    canvas.FillRect(r);
  }
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  if (!Enabled()) canvas.Font.SetColor(clGrayText);
  const UINT align = Alignment == TAlignment::taCenter         ? DT_CENTER
                     : Alignment == TAlignment::taRightJustify ? DT_RIGHT
                                                               : DT_LEFT;
  canvas.DrawText(FCaption, r, align | DT_NOPREFIX | DT_SINGLELINE | DT_EXPANDTABS);
}

// --- TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  PublishBool("Transparent", [this] { return Transparent; }, [this](bool v) { Transparent = v, Invalidate(); });
  PublishBool("Stretch", [this] { return Stretch; }, [this](bool v) { Stretch = v, Invalidate(); });
}

void TImage::Invalidate() {
  TWinControl* p = Parent();
  if (!p || !p->HandleAllocated()) return;
  const RECT r = BoundsRect();
  const bool covers = !Transparent && !FPicture.Empty() &&
                      (Stretch || (FPicture.Width() >= Width() && FPicture.Height() >= Height()));
  InvalidateRect(p->Handle(), &r, covers ? FALSE : TRUE);
}

void TImage::Paint() {
  if (FPicture.Empty()) return;
  TCanvas& target = TGraphicControl::Canvas();
  const RECT src{0, 0, FPicture.Width(), FPicture.Height()};
  const RECT dst = Stretch ? ClientRect() : src;
  if (Transparent) {
    HDC mem = FPicture.Canvas().Handle();
    // The bottom-left pixel names the transparent colour, as usual for glyphs.
    const COLORREF key = GetPixel(mem, 0, FPicture.Height() - 1);
    TransparentBlt(target.Handle(), dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, mem, 0, 0,
                   src.right, src.bottom, key);
    return;
  }
  target.CopyRect(dst, FPicture.Canvas(), src);
}

// --- TPanel

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  FParentColor = true;
  PublishEnum("BevelOuter", {"bvNone", "bvLowered", "bvRaised"}, [this] { return static_cast<int>(BevelOuter); },
              [this](int v) { BevelOuter = static_cast<TBevelCut>(v), Invalidate(); });
  PublishEnum("BevelInner", {"bvNone", "bvLowered", "bvRaised"}, [this] { return static_cast<int>(BevelInner); },
              [this](int v) { BevelInner = static_cast<TBevelCut>(v), Invalidate(); });
}

void TPanel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ExStyle |= WS_EX_CONTROLPARENT;
}

namespace {
void DrawBevel(HDC dc, RECT& r, TBevelCut cut) {
  if (cut == TBevelCut::bvNone) return;
  DrawEdge(dc, &r, cut == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}
}  // namespace

void TPanel::PaintWindow(HDC dc) {
  RECT r;
  GetClientRect(FHandle, &r);
  if (Border) {
    TCanvas frame(dc);
    frame.Brush.SetColor(clBlack);
    frame.FrameRect(r);
    InflateRect(&r, -1, -1);
  }
  DrawBevel(dc, r, BevelOuter);
  DrawBevel(dc, r, BevelInner);
  if (FCaption.empty()) return;
  TCanvas canvas(dc);
  canvas.Font.Assign(FFont);
  // A panel switched off says so, as static text does.
  if (!FEnabled) canvas.Font.SetColor(static_cast<TColor>(GetSysColor(COLOR_GRAYTEXT)));
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  canvas.DrawText(FCaption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// --- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { FParentColor = true; }

void TGroupBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ExStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::SetCaption(const std::string& caption) {
  TWinControl::SetCaption(caption);
  Invalidate();
}

void TGroupBox::PaintWindow(HDC dc) {
  RECT r;
  GetClientRect(FHandle, &r);
  TCanvas canvas(dc);
  canvas.Font.Assign(FFont);
  const SIZE text = canvas.TextExtent(FCaption.empty() ? std::string(" ") : FCaption);
  RECT frame{r.left, r.top + text.cy / 2, r.right, r.bottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (FCaption.empty()) return;
  RECT label{8, 0, 8 + text.cx + 4, text.cy};
  canvas.Brush.SetColor(FColor);
  canvas.FillRect(label);
  if (!FEnabled) canvas.Font.SetColor(clGrayText);
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  canvas.DrawText(FCaption, label, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace gui
