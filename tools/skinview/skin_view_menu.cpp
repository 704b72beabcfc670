#include "skin_view_menu.h"

#include <string>

#include "gui/menus.h"
#include "gui/std_controls.h"
#include "skin_view_form.h"

namespace qm {

namespace {

constexpr UINT kNewChild = 1, kCascade = 2, kTile = 3, kCloseFrame = 4;
const wchar_t kFrameClass[] = L"SkinViewMDIFrame";
const wchar_t kChildClass[] = L"SkinViewMDIChild";

// Three small pictures for the items with images: a red square, a green
// disc and a blue diamond on the key colour.
void PaintImages(gui::TImageList& images) {
  gui::TBitmap strip(48, 16);
  HDC dc = strip.Canvas().Handle();
  const RECT all{0, 0, 48, 16};
  HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &all, key);
  DeleteObject(key);
  HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HBRUSH red = CreateSolidBrush(RGB(200, 40, 40)), green = CreateSolidBrush(RGB(40, 160, 60)),
         blue = CreateSolidBrush(RGB(40, 80, 200));
  HGDIOBJ brush = SelectObject(dc, red);
  Rectangle(dc, 2, 2, 14, 14);
  SelectObject(dc, green);
  Ellipse(dc, 18, 2, 30, 14);
  SelectObject(dc, blue);
  const POINT diamond[] = {{40, 1}, {46, 8}, {40, 15}, {34, 8}};
  Polygon(dc, diamond, 4);
  SelectObject(dc, brush);
  SelectObject(dc, pen);
  for (HBRUSH b : {red, green, blue}) DeleteObject(b);
  images.AddMasked(strip, gui::clFuchsia);
}

}  // namespace

TSkinViewMenu::TSkinViewMenu(TSkinViewForm& Form) : FForm(Form), FImages(std::make_unique<gui::TImageList>(16, 16)) {
  PaintImages(*FImages);
  FMenu = Form.Make<gui::TMainMenu>();
  FMenu->Name = "MainMenu";
  FMenu->Images = FImages.get();
  auto add = [](gui::TMenuItem* parent, const char* caption, std::function<void(gui::TMenuItem&)> click = nullptr) {
    gui::TMenuItem* item = parent->Add(caption);
    item->OnClick = std::move(click);
    return item;
  };
  gui::TMenuItem* file = add(&FMenu->Items(), "文件(&F)");
  add(file, "打开皮肤(&O)…", [this](gui::TMenuItem&) { FForm.OpenButton->Click(); })
      ->SetShortCut(gui::ShortCut('O', gui::scCtrl));
  add(file, "皮肤开/关(&S)", [this](gui::TMenuItem&) { FForm.ToggleSkinning(); });
  add(file, "-");
  add(file, "退出(&X)", [this](gui::TMenuItem&) { FForm.Close(); });

  gui::TMenuItem* demo = add(&FMenu->Items(), "演示(&D)");
  add(demo, "勾选的项(&C)", [](gui::TMenuItem& i) { i.SetChecked(!i.Checked()); })->SetChecked(true);
  add(demo, "-");
  std::vector<gui::TMenuItem*> radios;
  for (const char* caption : {"单选一(&1)", "单选二(&2)", "单选三(&3)"}) {
    gui::TMenuItem* radio = add(demo, caption);
    radio->SetRadioItem(true);
    radios.push_back(radio);
  }
  for (gui::TMenuItem* radio : radios)
    radio->OnClick = [radios](gui::TMenuItem& chosen) {
      for (gui::TMenuItem* r : radios) r->SetChecked(r == &chosen);
    };
  radios.front()->SetChecked(true);
  add(demo, "-");
  for (int i = 0; i < 3; ++i)
    add(demo, std::string(i == 0 ? "红色(&R)" : i == 1 ? "绿色(&G)" : "蓝色(&B)").c_str())->SetImageIndex(i);
  add(demo, "不可用的项")->SetEnabled(false);
  add(demo, "全部控件禁用(&A)", [this](gui::TMenuItem& i) {
    FForm.SetControlsEnabled(i.Checked());
    i.SetChecked(!FForm.ControlsEnabled());
  });
  add(demo, "-");
  gui::TMenuItem* second = add(demo, "子菜单(&U)");
  add(second, "第二层的项(&A)");
  gui::TMenuItem* third = add(second, "更深一层(&D)");
  add(third, "第三层的项一");
  add(third, "第三层的项二");
  add(demo, "-");
  add(demo, "一个很长很长、长到菜单要变宽的菜单项(&L)")->SetShortCut(gui::ShortCut('L', gui::scCtrl | gui::scShift));

  gui::TMenuItem* windows = add(&FMenu->Items(), "窗口(&W)");
  add(windows, "MDI 窗口(&M)", [this](gui::TMenuItem&) { ShowMDIWindow(); });
  Form.SetMenu(FMenu);
}

TSkinViewMenu::~TSkinViewMenu() {
  if (FFrame && IsWindow(FFrame)) SendMessageW(FFrame, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK TSkinViewMenu::FrameProc(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TSkinViewMenu*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  HWND client = self ? self->FClient : nullptr;
  switch (Msg) {
    case WM_COMMAND:
      if (!self) break;
      switch (LOWORD(wParam)) {
        case kNewChild: self->NewChild(); return 0;
        case kCascade: SendMessageW(client, WM_MDICASCADE, 0, 0); return 0;
        case kTile: SendMessageW(client, WM_MDITILE, MDITILE_VERTICAL, 0); return 0;
        case kCloseFrame: PostMessageW(Window, WM_CLOSE, 0, 0); return 0;
      }
      break;
    case WM_CLOSE:
      // The children go first, each through the client, as the user closes them.
      while (HWND child = client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr)
        SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
      DestroyWindow(Window);
      return 0;
    case WM_NCDESTROY:
      if (self) self->FFrame = self->FClient = nullptr;
      break;
  }
  return DefFrameProcW(Window, client, Msg, wParam, lParam);
}

HWND TSkinViewMenu::NewChild() {
  MDICREATESTRUCTW mcs{};
  const std::wstring title = L"子窗口 " + std::to_wstring(++FChildren);
  mcs.szClass = kChildClass;
  mcs.szTitle = title.c_str();
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = mcs.y = 16 + 30 * ((FChildren - 1) % 5);
  mcs.cx = 260, mcs.cy = 170;
  HWND child = reinterpret_cast<HWND>(SendMessageW(FClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  SendMessageW(FClient, WM_MDIREFRESHMENU, 0, 0);
  return child;
}

HWND TSkinViewMenu::ShowMDIWindow() {
  if (FFrame) {
    SetForegroundWindow(FFrame);
    return FFrame;
  }
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  if (!GetClassInfoW(instance, kFrameClass, &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = &TSkinViewMenu::FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = DefMDIChildProcW;
    wc.lpszClassName = kChildClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
  }
  HMENU bar = CreateMenu(), windows = CreatePopupMenu();
  AppendMenuW(windows, MF_STRING, kNewChild, L"新建子窗口(&N)");
  AppendMenuW(windows, MF_STRING, kCascade, L"层叠(&C)");
  AppendMenuW(windows, MF_STRING, kTile, L"平铺(&T)");
  AppendMenuW(windows, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(windows, MF_STRING, kCloseFrame, L"关闭(&X)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(windows), L"窗口(&W)");
  FFrame = CreateWindowExW(0, kFrameClass, L"SkinView - MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                           CW_USEDEFAULT, 600, 420, nullptr, bar, instance, nullptr);
  SetWindowLongPtrW(FFrame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  CLIENTCREATESTRUCT ccs{windows, 0xFF00};
  RECT area;
  GetClientRect(FFrame, &area);
  FClient = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, area.right,
                            area.bottom, FFrame, nullptr, instance, &ccs);
  FChildren = 0;
  NewChild();
  NewChild();
  ShowWindow(FFrame, SW_SHOW);
  return FFrame;
}

}  // namespace qm
