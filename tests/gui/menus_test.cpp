// Menus and forms together, as the form and popup skinners will use them:
// menu changes pass through the form's window, popups keep their form
// active, command identifiers stay unique, owner-draw messages reach only
// the item or control they are about.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "ui_driver.h"

using namespace gui;

namespace {

// A window procedure stacked on top of the form's, as a form skinner does:
// it notes the menu bar before and after the form handled a menu change and
// may take the native bar away afterwards.
struct TOuterProc {
  explicit TOuterProc(HWND window) : Window(window) {
    Current = this;
    Old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  }
  ~TOuterProc() {
    SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Old));
    Current = nullptr;
  }
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    TOuterProc* self = Current;
    if (msg != CM_MENUCHANGED) return CallWindowProcW(self->Old, h, msg, w, l);
    const HMENU before = GetMenu(h);
    const LRESULT result = CallWindowProcW(self->Old, h, msg, w, l);
    self->Seen.emplace_back(before, GetMenu(h));
    if (self->RemoveBar) SetMenu(h, nullptr);
    return result;
  }
  static inline TOuterProc* Current = nullptr;
  HWND Window;
  WNDPROC Old;
  bool RemoveBar = false;
  std::vector<std::pair<HMENU, HMENU>> Seen;
};

HWND gForegroundInMenu = nullptr, gActiveInMenu = nullptr;
void CALLBACK NoteActiveAndCloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gForegroundInMenu = GetForegroundWindow();
  gActiveInMenu = GetActiveWindow();
  EndMenu();
}

// A variable-height owner-drawn list box that measures its items itself.
class TTallList : public TListBox {
 public:
  explicit TTallList(TComponent* owner) : TListBox(owner) {
    auto saved = WindowProc;
    WindowProc = [this, saved](TMessage& m) {
      if (m.Msg != CN_MEASUREITEM) return saved(m);
      ++Measured;
      reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = 30;
      m.Result = TRUE;
    };
  }
  int Measured = 0;

 protected:
  void CreateParams(TCreateParams& p) override {
    TListBox::CreateParams(p);
    p.Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
  }
};

}  // namespace

TEST(FormMenu, ChangesPassThroughTheWindowAndTheFormAttachesTheBarInItsOwnHandling) {
  TForm form(nullptr);
  form.Show();
  auto* menu = form.Make<TMainMenu>();
  menu->Items().Add("文件");
  TOuterProc outer(form.Handle());
  const HMENU bar = menu->Handle();
  struct Step {
    const char* what;
    std::function<void()> run;
    HMENU before, after;  // the native bar as the outer procedure saw it
  };
  const std::vector<Step> steps = {
      {"menu set", [&] { form.SetMenu(menu); }, nullptr, bar},
      {"item added", [&] { menu->Items().Add("帮助"); }, bar, bar},
      // A skinner drawing its own bar takes the native one away after each
      // change; the next change gives it back for the skinner to take again.
      {"bar taken away", [&] { outer.RemoveBar = true; menu->Items().Items(0)->SetCaption("文件(&F)"); }, bar, bar},
      {"item changed", [&] { menu->Items().Items(1)->SetEnabled(false); }, nullptr, bar},
      {"menu removed", [&] { outer.RemoveBar = false; form.SetMenu(nullptr); }, nullptr, nullptr},
  };
  for (const Step& s : steps) {
    const size_t seen = outer.Seen.size();
    s.run();
    ASSERT_EQ(outer.Seen.size(), seen + 1) << s.what;
    EXPECT_EQ(outer.Seen.back().first, s.before) << s.what;
    EXPECT_EQ(outer.Seen.back().second, s.after) << s.what;
  }
}

TEST(FormMenu, AFreedFormOrMenuLeavesNoPointerBehind) {
  auto menu = std::make_unique<TMainMenu>(nullptr);
  menu->Items().Add("文件");
  {
    TForm form(nullptr);
    form.SetMenu(menu.get());
    form.Show();
    ASSERT_EQ(GetMenu(form.Handle()), menu->Handle());
  }
  EXPECT_EQ(menu->Form, nullptr);
  EXPECT_TRUE(IsMenu(menu->Handle()));  // not destroyed with the window
  menu->Items().Add("帮助");              // tells no form
  TForm second(nullptr);
  second.Show();
  second.SetMenu(menu.get());
  EXPECT_EQ(GetMenu(second.Handle()), menu->Handle());
  menu.reset();
  EXPECT_EQ(second.Menu(), nullptr);
  EXPECT_EQ(GetMenu(second.Handle()), nullptr);
}

TEST(PopupMenu, TheOwnerFormStaysActiveWhileItsPopupIsOpen) {
  TForm form(nullptr);
  form.Show();
  SetForegroundWindow(form.Handle());
  qmtest::PumpFor(100);
  ASSERT_EQ(GetForegroundWindow(), form.Handle());
  auto* popup = form.Make<TPopupMenu>();
  popup->Items().Add("还原");
  gForegroundInMenu = gActiveInMenu = nullptr;
  SetTimer(nullptr, 0, 200, &NoteActiveAndCloseMenu);
  popup->Popup(60, 60);
  EXPECT_EQ(gForegroundInMenu, form.Handle());
  EXPECT_EQ(gActiveInMenu, form.Handle());
  EXPECT_TRUE(form.Active());
}

TEST(MenuItem, CommandsStayUniqueAmongLiveItemsAndAreReleasedWithTheirItems) {
  TPopupMenu menu(nullptr);
  std::set<UINT> live;
  for (const char* caption : {"还原", "移动", "关闭"}) live.insert(menu.Items().Add(caption)->Command());
  ASSERT_EQ(live.size(), 3u);
  // More temporary items than there are identifiers: each must differ from
  // the live ones, and the identifiers must come back or they would run out.
  for (int i = 0; i < 0x10000; ++i) {
    TMenuItem* temporary = menu.Items().Add("临时");
    const UINT command = temporary->Command();
    ASSERT_FALSE(live.count(command)) << "after " << i << " temporary items";
    ASSERT_GT(command, 100u);  // dialog identifiers stay free
    ASSERT_LE(command, 0xEFFFu);  // system commands start above
    menu.Items().Remove(temporary);
  }
}

TEST(OwnerDrawnMenu, OnlyTheMenusOwnItemsAreMeasuredAndDrawn) {
  TForm form(nullptr);
  auto* menu = form.Make<TMainMenu>();
  menu->SetOwnerDraw(true);
  TMenuItem* own = menu->Items().Add("文件");
  form.SetMenu(menu);
  form.Show();
  TPopupMenu other(nullptr);
  other.SetOwnerDraw(true);
  TMenuItem* foreign = other.Items().Add("别的");
  TBitmap target(100, 20);
  // A native owner-drawn item carries whatever data its creator gave it.
  const struct {
    const char* what;
    ULONG_PTR data;
    HWND handler;  // the window whose menu the item belongs to
  } cases[] = {
      {"main menu item", reinterpret_cast<ULONG_PTR>(own), form.Handle()},
      {"popup item", reinterpret_cast<ULONG_PTR>(foreign), other.Window()},
      {"native data", 0x10, nullptr},
      {"no data", 0, nullptr},
  };
  for (HWND window : {form.Handle(), other.Window()}) {
    for (const auto& c : cases) {
      const bool expected = window == c.handler;
      MEASUREITEMSTRUCT mis{ODT_MENU, 0, own->Command(), 0, 0, c.data};
      EXPECT_EQ(SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) != 0, expected) << c.what << (window == form.Handle() ? " at the form" : " at the popup");
      EXPECT_EQ(mis.itemHeight != 0, expected) << c.what << (window == form.Handle() ? " at the form" : " at the popup");
      DRAWITEMSTRUCT dis{ODT_MENU, 0, own->Command(), ODA_DRAWENTIRE, 0,
                         reinterpret_cast<HWND>(menu->Handle()), target.Canvas().Handle(), RECT{0, 0, 100, 20}, c.data};
      EXPECT_EQ(SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0, expected) << c.what << (window == form.Handle() ? " at the form" : " at the popup");
    }
  }
}

TEST(OwnerDrawnControl, MeasureRequestsReachTheControlWhoseItemIsMeasured) {
  TForm form(nullptr);
  form.SetClientSize(300, 200);
  auto* button = form.Make<TButton>();
  button->SetParent(&form);
  auto* first = form.Make<TTallList>();
  auto* second = form.Make<TTallList>();
  first->SetBounds(0, 40, 100, 150);
  second->SetBounds(120, 40, 100, 150);
  first->SetParent(&form);
  second->SetParent(&form);
  form.Show();
  for (TTallList* list : {second, first}) {
    const int before = list->Measured;
    list->Add("一项");
    EXPECT_EQ(list->Measured, before + 1);
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETITEMHEIGHT, 0, 0), 30);
  }
  EXPECT_NE(GetDlgCtrlID(first->Handle()), GetDlgCtrlID(second->Handle()));
}

// A plain window that counts the measure requests of its owner-drawn items.
LRESULT CALLBACK CountMeasures(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_MEASUREITEM) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    mis->itemWidth = 60;
    mis->itemHeight = 18;
    return TRUE;
  }
  return DefWindowProcW(h, msg, w, l);
}

TEST(RemeasureMenu, TheSystemMeasuresOwnerDrawnItemsAgainOnlyAfterTheyChanged) {
  // A menu bar is measured once and kept, as Windows keeps every owner-drawn
  // item's size (Wine re-measures popups at each showing, but not bars).
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CountMeasures;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmMeasureCounter";
  RegisterClassW(&wc);
  HMENU bar = CreateMenu(), sub = CreatePopupMenu();
  AppendMenuW(sub, MF_OWNERDRAW, 11, nullptr);
  AppendMenuW(bar, MF_OWNERDRAW, 10, nullptr);
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), L"子菜单");
  int measured = 0;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                bar, wc.hInstance, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&measured));
  auto repaintBar = [&] {
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return measured;
  };
  repaintBar();
  const int first = repaintBar();
  EXPECT_EQ(repaintBar(), first) << "the size is kept";
  RemeasureMenu(bar);
  EXPECT_GT(repaintBar(), first) << "measured again";
  // A submenu's items are reached and changed too, and keep their type.
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(sub, 0, TRUE, &mii));
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
  DestroyWindow(window);
}
