#include "skin/4_form/system_menu.h"

#include "gui/menus.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

namespace {

// The tags of the system menu's items; the first four are also the indexes
// of their glyphs in the skin's menu images.
enum TSystemItem : int { siRestore = 0, siMaximize = 1, siMinimize = 2, siClose = 3, siMove = 4, siSize = 5, siLine = 100 };

// Marks the library popup as the skin's system menu.
constexpr int kSystemMenuTag = 33333;

}  // namespace

TSystemMenu::TSystemMenu(TWinSkinForm& Form) : FForm(Form), FDoubleClickTime(GetDoubleClickTime()) {}

bool TSystemMenu::ReadNative() {
  FNative = GetSystemMenu(FForm.FHandle, FALSE);
  return FNative != nullptr;
}

void TSystemMenu::ReadDoubleClickTime() { FDoubleClickTime = GetDoubleClickTime(); }

gui::TPopupMenu* TSystemMenu::Popup() {
  if (!FPopup && FForm.Attached()) Build();
  return FPopup;
}

void TSystemMenu::Free() {
  if (FPopup) FPopup->Free();
  FPopup = nullptr;
}

void TSystemMenu::Build() {
  FPopup = FForm.Make<gui::TPopupMenu>();
  FPopup->Tag = kSystemMenuTag;
  FPopup->SetOwnerDraw(true);
  FPopup->Images = FForm.SkinData()->MenuImages.get();
  TMenuItemPainter& painter = FForm.MenuItems();
  auto add = [&](const char* caption, int tag) {
    gui::TMenuItem* item = FPopup->Items().Add(caption);
    item->Tag = tag;
    item->SetImageIndex(tag <= siClose ? tag : -1);
    item->OnClick = [this](gui::TMenuItem& clicked) { ItemClick(clicked); };
    painter.TakeItem(*item);
    return item;
  };
  const TFormWindow& w = FForm.Window();
  add(" Restore ", siRestore);
  // Move and Size bring back from the keyboard a window that is off the
  // screen or too big for it.
  add(" Move ", siMove);
  if (w.Style & WS_THICKFRAME) add(" Size ", siSize);
  if (w.BorderIcons & TFormWindow::biMaximize) add(" Maximize ", siMaximize);
  if (w.BorderIcons & TFormWindow::biMinimize) add(" Minimize ", siMinimize);
  add("-", siLine);
  // The key the system closes a window with.
  add(" Close ", siClose)->SetShortCut(gui::ShortCut(VK_F4, gui::scAlt));
}

void TSystemMenu::ItemClick(gui::TMenuItem& Item) {
  switch (Item.Tag) {
    case siRestore: RestoreWindow(); break;
    case siMaximize: ToggleMaximize(); break;
    case siMinimize: ToggleMinimize(); break;
    case siClose: CloseWindow(); break;
    case siMove: PostMessageW(FForm.FHandle, WM_SYSCOMMAND, SC_MOVE, 0); break;
    case siSize: PostMessageW(FForm.FHandle, WM_SYSCOMMAND, SC_SIZE, 0); break;
  }
}

void TSystemMenu::Update() {
  if (!Popup()) return;
  const TFormWindow::TWindowState state = FForm.Window().State;
  for (int i = 0; i < FPopup->Items().Count(); ++i) {
    gui::TMenuItem* item = FPopup->Items().Items(i);
    switch (item->Tag) {
      case siRestore: item->SetEnabled(state != TFormWindow::wsNormal); break;
      case siMaximize: item->SetEnabled(state != TFormWindow::wsMaximized); break;
      case siMinimize: item->SetEnabled(state != TFormWindow::wsMinimized); break;
      case siMove: item->SetEnabled(state != TFormWindow::wsMaximized); break;
      case siSize: item->SetEnabled(state == TFormWindow::wsNormal); break;
    }
  }
}

void TSystemMenu::PopupAt(POINT P) {
  if (FPopup && FForm.SkinData()->SkinControls.Contains(TSkinControlType::xcSystemMenu) &&
      FForm.Window().MDIKind != TFormWindow::mkChild)
    FPopup->Popup(P.x, P.y);
  else if (FNative)
    TrackPopupMenu(FNative, TPM_RIGHTBUTTON, P.x, P.y, 0, FForm.FHandle, nullptr);
}

void TSystemMenu::Show(POINT P) {
  Update();
  const DWORD now = GetTickCount();
  if (now - FLastTick > FDoubleClickTime) {
    FLastTick = now;
    PopupAt(P);
  } else {
    CloseWindow();
  }
}

void TSystemMenu::ShowFromKeyboard() {
  // Where the system puts it: under the icon at the title's start. Keys
  // pressed twice quickly are no double click: nothing closes here.
  Update();
  RECT window;
  GetWindowRect(FForm.FHandle, &window);
  const TFrameMetrics& m = FForm.Frame().Metrics();
  POINT at{window.left + m.BorderLeft, window.top + m.TitleHeight};
  if (FForm.Window().RightToLeft) at.x = window.right - m.BorderRight;
  PopupAt(at);
}

void TSystemMenu::ToggleMaximize() { Toggle(TFormWindow::wsMaximized, SC_MAXIMIZE); }

void TSystemMenu::ToggleMinimize() { Toggle(TFormWindow::wsMinimized, SC_MINIMIZE); }

void TSystemMenu::Toggle(TFormWindow::TWindowState State, WPARAM Command) {
  TFormWindow& w = FForm.Window();
  if (w.State == State) {
    RestoreWindow();
    return;
  }
  w.State = State;
  PostMessageW(FForm.FHandle, WM_SYSCOMMAND, Command, 0);
}

void TSystemMenu::RestoreWindow() {
  FForm.Window().State = TFormWindow::wsNormal;
  PostMessageW(FForm.FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSystemMenu::CloseWindow() {
  FForm.CaptionButtons().EnableHover(false);
  PostMessageW(FForm.FHandle, WM_CLOSE, 0, 0);
}

}  // namespace qm
