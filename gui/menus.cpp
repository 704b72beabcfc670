#include "menus.h"

#include <algorithm>
#include <stdexcept>

#include "control.h"
#include "forms.h"

namespace gui {

namespace {
// Command identifiers: below 100 they are left to dialogs (IDOK and friends),
// from 0xF000 on they are system commands. An identifier belongs to one live
// item and comes back when the item is freed. The search goes on after the
// last one given out rather than from the bottom, so a command still posted
// for a freed item does not at once reach a new one.
constexpr UINT kFirstCommand = 101, kLastCommand = 0xEFFF;
std::vector<bool> gCommandInUse(kLastCommand + 1);
UINT gLastCommand = kLastCommand;

UINT TakeCommand() {
  UINT id = gLastCommand;
  for (UINT tried = kFirstCommand; tried <= kLastCommand; ++tried) {
    id = id == kLastCommand ? kFirstCommand : id + 1;
    if (!gCommandInUse[id]) {
      gCommandInUse[id] = true;
      gLastCommand = id;
      return id;
    }
  }
  throw std::runtime_error("too many menu items: no command identifier is free");
}

void ReleaseCommand(UINT id) {
  if (id >= kFirstCommand && id <= kLastCommand) gCommandInUse[id] = false;
}

std::string KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  // Appended rather than "F" + ...: GCC 12 takes inserting the literal in
  // front for an overlapping copy (-Wrestrict).
  if (key >= VK_F1 && key <= VK_F24) return std::string("F").append(std::to_string(key - VK_F1 + 1));
  switch (key) {
    case VK_DELETE: return "Del";
    case VK_INSERT: return "Ins";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_TAB: return "Tab";
    case VK_BACK: return "BkSp";
    default: return std::string("#").append(std::to_string(key));
  }
}
}  // namespace

WORD ShortCut(WORD key, WORD modifiers) { return static_cast<WORD>((key & 0xFF) | modifiers); }

std::string ShortCutToText(WORD s) {
  if (!s) return {};
  std::string text;
  if (s & scShift) text += "Shift+";
  if (s & scCtrl) text += "Ctrl+";
  if (s & scAlt) text += "Alt+";
  return text += KeyName(s & 0xFF);
}

// --- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(TakeCommand()) {
  if (auto* parent = dynamic_cast<TMenuItem*>(owner)) FParent = parent;
  PublishText("Caption", [this] { return FCaption; }, [this](const std::string& v) { SetCaption(v); });
  PublishBool("Checked", [this] { return FChecked; }, [this](bool v) { SetChecked(v); });
  PublishBool("Enabled", [this] { return FEnabled; }, [this](bool v) { SetEnabled(v); });
  PublishBool("Default", [this] { return FDefault; }, [this](bool v) { SetDefault(v); });
  PublishBool("Visible", [this] { return FVisible; }, [this](bool v) { SetVisible(v); });
  PublishInt("ImageIndex", [this] { return FImageIndex; }, [this](int v) { SetImageIndex(v); });
}

TMenuItem::~TMenuItem() {
  if (FParent) {
    auto& siblings = FParent->FItems;
    if (std::find(siblings.begin(), siblings.end(), this) != siblings.end()) {
      std::erase(siblings, this);
      FParent->RebuildHandle();
    }
  }
  if (FHandle) {
    // Sub-menus belong to the sub-items, which destroy their own.
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    DestroyMenu(FHandle);
    FHandle = nullptr;
  }
  for (TMenuItem* child : FItems) child->FParent = nullptr;
  ReleaseCommand(FCommand);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  return root->FMenu;
}

void TMenuItem::Changed() {
  if (FParent) FParent->RebuildHandle();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption != FCaption) FCaption = caption, Changed();
}
void TMenuItem::SetImageIndex(int index) {
  if (index != FImageIndex) FImageIndex = index, Changed();
}
void TMenuItem::SetShortCut(WORD shortCut) {
  if (shortCut != FShortCut) FShortCut = shortCut, Changed();
}
void TMenuItem::SetChecked(bool v) {
  if (v != FChecked) FChecked = v, Changed();
}
void TMenuItem::SetEnabled(bool v) {
  if (v != FEnabled) FEnabled = v, Changed();
}
void TMenuItem::SetDefault(bool v) {
  if (v != FDefault) FDefault = v, Changed();
}
void TMenuItem::SetVisible(bool v) {
  if (v != FVisible) FVisible = v, Changed();
}
void TMenuItem::SetRadioItem(bool v) {
  if (v != FRadioItem) FRadioItem = v, Changed();
}

TMenuItem* TMenuItem::Add(const std::string& caption) {
  TMenuItem* item = Make<TMenuItem>();
  item->FCaption = caption;
  FItems.push_back(item);
  RebuildHandle();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
  return item;
}

void TMenuItem::Remove(TMenuItem* item) {
  if (std::find(FItems.begin(), FItems.end(), item) == FItems.end()) return;
  item->Free();  // its destructor takes it out of this item's list
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    const bool bar = !FParent && dynamic_cast<TMainMenu*>(FMenu);
    FHandle = bar ? CreateMenu() : CreatePopupMenu();
    RebuildHandle();
  }
  return FHandle;
}

void TMenuItem::RebuildHandle() {
  if (!FHandle) return;
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  TMenu* menu = GetParentMenu();
  const bool ownerDraw = menu && menu->OwnerDraw();
  for (TMenuItem* child : FItems) child->AppendTo(FHandle, ownerDraw);
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
  if (!FVisible) return;
  std::wstring text = Widen(FCaption);
  if (FShortCut) text += L"\t" + Widen(ShortCutToText(FShortCut));
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
  mii.wID = FCommand;
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  mii.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_GRAYED) | (FDefault ? MFS_DEFAULT : 0);
  if (IsLine()) {
    mii.fType = MFT_SEPARATOR;
  } else {
    mii.fMask |= MIIM_STRING;
    mii.dwTypeData = text.data();
  }
  if (FRadioItem) mii.fType |= MFT_RADIOCHECK;
  if (ownerDraw) mii.fType |= MFT_OWNERDRAW;
  if (!FItems.empty()) {
    mii.fMask |= MIIM_SUBMENU;
    mii.hSubMenu = Handle();
  }
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
}

void RemeasureMenu(HMENU menu) {
  const int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if (mii.fType & MFT_OWNERDRAW) {
      mii.fMask = MIIM_FTYPE;
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    }
    if (mii.hSubMenu) RemeasureMenu(mii.hSubMenu);
  }
}

void TMenuItem::Click() {
  if (OnClick) OnClick(*this);
}

// --- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
  FItems = Make<TMenuItem>();
  FItems->FMenu = this;
  PublishBool("OwnerDraw", [this] { return FOwnerDraw; }, [this](bool v) { SetOwnerDraw(v); });
}

TMenu::~TMenu() = default;

void TMenu::SetOwnerDraw(bool value) {
  if (value == FOwnerDraw) return;
  FOwnerDraw = value;
  RebuildAll();
}

void TMenu::RebuildAll() {
  // Every level carries the item types, so rebuild them all.
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    item->RebuildHandle();
    for (TMenuItem* child : item->FItems) rebuild(child);
  };
  rebuild(FItems);
  MenuChanged();
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) {
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
    for (TMenuItem* child : item->FItems) {
      const bool hit = (kind == TFindItemKind::fkCommand && child->FCommand == value) ||
                       (kind == TFindItemKind::fkHandle && child->FHandle && reinterpret_cast<UINT_PTR>(child->FHandle) == value) ||
                       (kind == TFindItemKind::fkShortCut && child->FShortCut && child->FShortCut == value);
      if (hit) return child;
      if (TMenuItem* deeper = find(child)) return deeper;
    }
    return nullptr;
  };
  if (kind == TFindItemKind::fkHandle && FItems->FHandle && reinterpret_cast<UINT_PTR>(FItems->FHandle) == value)
    return FItems;
  return find(FItems);
}

TMenuItem* TMenu::ItemOfData(ULONG_PTR data) const {
  // Compared as addresses only: foreign data is never dereferenced.
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
    if (reinterpret_cast<ULONG_PTR>(item) == data) return item;
    for (TMenuItem* child : item->FItems)
      if (TMenuItem* hit = find(child)) return hit;
    return nullptr;
  };
  return data ? find(FItems) : nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command, TFindItemKind::fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

namespace {
// A canvas on a screen DC with the menu font, for measuring and drawing.
void PrepareMenuCanvas(TCanvas& canvas) {
  canvas.Font.Assign(Screen().MenuFont());
  canvas.Font.SetColor(clMenuText);
  canvas.Brush.SetColor(clMenu);
}
}  // namespace

bool TMenu::MeasureItem(MEASUREITEMSTRUCT& mis) {
  TMenuItem* item = ItemOfData(mis.itemData);
  if (!item) return false;
  TWindowDC screen(nullptr);  // given back also when a measure handler throws
  TCanvas canvas(screen.Handle());
  PrepareMenuCanvas(canvas);
  int width = 0, height = 0;
  if (item->IsLine()) {
    height = 8;
  } else {
    std::string text = item->Caption();
    if (item->ShortCut()) text += "    " + ShortCutToText(item->ShortCut());
    const SIZE s = canvas.TextExtent(text);
    width = s.cx + 8 + (Images ? Images->Width() + 8 : 16);
    height = std::max<int>(s.cy + 6, Images ? Images->Height() + 4 : 0);
  }
  if (item->OnMeasureItem) item->OnMeasureItem(*item, canvas, width, height);
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool TMenu::DrawItem(const DRAWITEMSTRUCT& dis) {
  TMenuItem* item = ItemOfData(dis.itemData);
  if (!item) return false;
  TCanvas canvas(dis.hDC);
  PrepareMenuCanvas(canvas);
  unsigned state = 0;
  if (dis.itemState & ODS_SELECTED) state |= odSelected;
  if (dis.itemState & ODS_GRAYED) state |= odGrayed;
  if (dis.itemState & ODS_DISABLED) state |= odDisabled;
  if (dis.itemState & ODS_CHECKED) state |= odChecked;
  if (dis.itemState & ODS_DEFAULT) state |= odDefault;
  if (dis.itemState & ODS_NOACCEL) state |= odNoAccel;
  if (item->OnAdvancedDrawItem) {
    item->OnAdvancedDrawItem(*item, canvas, dis.rcItem, state);
    return true;
  }
  // The plain look, for owner-drawn menus whose items draw nothing special.
  RECT r = dis.rcItem;
  const bool selected = (state & odSelected) != 0;
  canvas.Brush.SetColor(selected ? clHighlight : clMenu);
  canvas.FillRect(r);
  if (item->IsLine()) {
    RECT line{r.left + 2, (r.top + r.bottom) / 2, r.right - 2, (r.top + r.bottom) / 2 + 1};
    canvas.Brush.SetColor(clBtnShadow);
    canvas.FillRect(line);
    return true;
  }
  const int glyph = Images ? Images->Width() + 8 : 16;
  if (Images && item->ImageIndex() >= 0)
    Images->Draw(canvas, r.left + 4, r.top + (r.bottom - r.top - Images->Height()) / 2, item->ImageIndex(),
                 item->Enabled());
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  canvas.Font.SetColor(!item->Enabled() ? clGrayText : selected ? clHighlightText : clMenuText);
  if (item->Default()) canvas.Font.SetStyle(fsBold);
  RECT text{r.left + glyph, r.top, r.right - 4, r.bottom};
  if (item->Checked() && !(Images && item->ImageIndex() >= 0)) {
    RECT mark{r.left, r.top, r.left + glyph, r.bottom};
    canvas.DrawText("\xE2\x88\x9A", mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  std::string caption = item->Caption();
  UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  if (state & odNoAccel) HideAcceleratorMarks(caption, format);
  canvas.DrawText(caption, text, format);
  if (item->ShortCut()) canvas.DrawText(ShortCutToText(item->ShortCut()), text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  return true;
}

TMainMenu::~TMainMenu() {
  // A form showing a menu it does not own must not keep it.
  if (Form) Form->SetMenu(nullptr);
}

void TMainMenu::MenuChanged() {
  if (Form) Form->MenuChanged();
}

// --- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {
  static const wchar_t kClass[] = L"TPopupList";
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  if (!GetClassInfoW(instance, kClass, &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = &TPopupMenu::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
  }
  FWindow = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TPopupMenu::~TPopupMenu() {
  if (FWindow) DestroyWindow(FWindow);
}

LRESULT CALLBACK TPopupMenu::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TPopupMenu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    bool done = false;
    LRESULT result = 0;
    GuardedCall([&] {
      if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlType == ODT_MENU)
        done = self->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      else if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU)
        done = self->DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      else if (msg == WM_COMMAND && HIWORD(wParam) == 0) done = self->DispatchCommand(LOWORD(wParam));
      if (done) result = TRUE;
    });
    if (done) return result;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND TPopupMenu::ForegroundCandidate() const {
  for (TComponent* c = Owner(); c; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c); form && form->HandleAllocated() && IsWindowVisible(form->Handle()))
      return form->Handle();
  if (TCustomForm* main = Application().MainForm(); main && main->HandleAllocated() && IsWindowVisible(main->Handle()))
    return main->Handle();
  return FWindow;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(*this);
  // The menu closes on a click elsewhere only while this thread has the
  // foreground. When one of its windows has it already, it stays there: the
  // hidden command window in front would leave the form inactive. Otherwise
  // (a menu of a notification icon) the owner form is brought forward.
  const HWND foreground = GetForegroundWindow();
  if (!foreground || GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId())
    SetForegroundWindow(ForegroundCandidate());
  const UINT command = static_cast<UINT>(TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON |
                                                                      TPM_RETURNCMD, x, y, 0, FWindow, nullptr));
  PostMessageW(FWindow, WM_NULL, 0, 0);
  if (command) DispatchCommand(command);
}

}  // namespace gui
