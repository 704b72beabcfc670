#include "skin_view_form.h"

#include <commctrl.h>
#include <windowsx.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "demo_menu.h"
#include "gui/comctrls.h"
#include "gui/common_controls.h"
#include "gui/dialogs.h"
#include "gui/glyph_buttons.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "gui/tab_set.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_message.h"
#include "skin/1_data/skin_reader.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/3_controls/skin_button.h"
#include "skin/3_controls/skin_common_controls.h"
#include "skin/3_controls/skin_scrollbar.h"
#include "skin/4_form/win_skin_form.h"
#include "skin_view_menu.h"

namespace qm {

namespace {

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The package reader's own words about a refused file, caught while a file
// is tried, so that the user gets one message and not two.
std::string ReaderMessage;
void KeepReaderMessage(const std::string& text) { ReaderMessage = text; }

// Whether a packed skin holds all its code. The decoder reads bits past the
// end as zero and would fill a cut file's missing part with whatever they
// decode to; a complete file decodes the same whatever follows it.
bool Complete(const std::vector<uint8_t>& packed) {
  if (packed.size() < 4) return false;
  try {
    std::vector<uint8_t> padded = packed;
    padded.insert(padded.end(), 16, 0xFF);
    return LzhDecode(packed.data(), packed.size(), SkinMaxDecodedSize) ==
           LzhDecode(padded.data(), padded.size(), SkinMaxDecodedSize);
  } catch (...) {
    return true;  // the reader refuses it with its own reason
  }
}

// A 16 x 16 glyph in two cells, normal and disabled, on a key colour: bars
// of the given widths, one under another, as an alignment picture shows.
void DrawBarsGlyph(gui::TButtonGlyph& Glyph, std::initializer_list<RECT> Bars) {
  gui::TBitmap& strip = Glyph.Glyph();
  strip.SetSize(32, 16);
  gui::TCanvas& c = strip.Canvas();
  c.Brush.SetColor(static_cast<gui::TColor>(RGB(255, 0, 255)));
  c.FillRect(RECT{0, 0, 32, 16});
  for (int cell = 0; cell < 2; ++cell) {
    c.Brush.SetColor(static_cast<gui::TColor>(cell == 0 ? RGB(0, 64, 160) : RGB(150, 150, 150)));
    for (RECT bar : Bars) {
      OffsetRect(&bar, cell * 16, 0);
      c.FillRect(bar);
    }
  }
  Glyph.SetNumGlyphs(2);
}

}  // namespace

template <class T>
T* TSkinViewForm::Put(gui::TWinControl* Parent, const std::string& Name, int Left, int Top, int Width, int Height,
                      const std::string& Caption) {
  T* control = Make<T>();
  control->Name = Name;
  control->SetParent(Parent);
  control->SetBounds(Left, Top, Width, Height);
  if (!Caption.empty()) control->SetCaption(Caption);
  return control;
}

TSkinViewForm::TSkinViewForm(gui::TComponent* Owner) : gui::TForm(Owner) {
  BeginLoading();
  Name = "SkinViewForm";
  SetBorderStyle(gui::TFormBorderStyle::bsSizeable);
  SetClientSize(640, 470);
  BuildButtons();
  BuildInputs();
  BuildPages();
  Menus = std::make_unique<TSkinViewMenu>(*this);
  StatusBar = Make<gui::TStatusBar>();
  StatusBar->Name = "StatusBar";
  StatusBar->Panels = {{"就绪", 120}, {"面板二", 160}, {"大小可调", 0}};
  StatusBar->SetParent(this);
  OpenDialog = Make<gui::TOpenDialog>();
  OpenDialog->Filter = "皮肤文件 (*.skn)|*.skn|所有文件 (*.*)|*.*";
  OpenDialog->Title = "打开皮肤";
  // The status bar follows the window's size, and its grip with it.
  const gui::TWndMethod previous = WindowProc;
  WindowProc = [this, previous](gui::TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(m.WParam) == Handle() && ContextMenu) {
      POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (m.LParam == -1) GetCursorPos(&at);  // from the keyboard
      ContextMenu->Popup(at.x, at.y);
      return;
    }
    previous(m);
    if (m.Msg == WM_SIZE) StatusBar->ParentResized();
  };
  Skin = Make<TSkinData>();
  Skin->Name = "Skin";
  Skin->SkinFormtype = TSkinFormType::sfMainform;
  // The kinds no class row names: SkinView is their host.
  Skin->OnSkinControl = [](gui::TComponent* Sender, TSkinData* Data, gui::TControl*, gui::TControl* Control,
                           const std::string& ClassName, gui::TComponent*& Made) {
    if (!Control) return;
    if (ClassName == "TSTATUSBAR") {
      Made = Control->Make<TSkinStatusBar>();
    } else if (ClassName == "TPROGRESSBAR") {
      Made = Control->Make<TSkinProgress>();
    } else if (ClassName == "TSCROLLBAR") {
      Made = Control->Make<TSkinScControl>();
    } else if (ClassName == "TBITBTN") {
      Made = Control->Make<TSkinBitButton>();
    } else if (ClassName == "TSPEEDBUTTON") {
      auto* speed = Control->Make<TSkinSpeedButton>();
      speed->InitGraphic(FormSkinnerLinkOf(Sender), Data);
      Made = speed;
    }
  };
  ContextMenu = MakeDemoPopup(this, Skin->MenuImages.get());
  FinishLoading();
  ShowTitle();
}

TSkinViewForm::~TSkinViewForm() = default;

void TSkinViewForm::BuildButtons() {
  auto* box = Put<gui::TGroupBox>(this, "ButtonBox", 8, 8, 304, 150, "按钮与选项");
  OpenButton = Put<gui::TButton>(box, "OpenButton", 10, 22, 90, 26, "打开皮肤…");
  OpenButton->OnClick = [this](gui::TControl&) {
    if (OpenDialog->Execute(Handle())) OpenSkin(OpenDialog->FileName);
  };
  ToggleButton = Put<gui::TButton>(box, "ToggleButton", 106, 22, 90, 26, "皮肤开/关");
  ToggleButton->OnClick = [this](gui::TControl&) { ToggleSkinning(); };
  MessageButton = Put<gui::TButton>(box, "MessageButton", 202, 22, 90, 26, "消息框");
  MessageButton->OnClick = [](gui::TControl&) { gui::Application().ShowMessage("这是一个消息框。"); };
  Put<gui::TButton>(box, "DefaultButton", 10, 54, 90, 26, "确定")->SetDefault(true);
  Put<gui::TButton>(box, "DisabledButton", 106, 54, 90, 26, "不可用")->SetEnabled(false);
  Put<gui::TCheckBox>(box, "CheckedBox", 10, 90, 90, 20, "已选中")->SetChecked(true);
  Put<gui::TCheckBox>(box, "UncheckedBox", 106, 90, 90, 20, "未选中");
  auto* disabledCheck = Put<gui::TCheckBox>(box, "DisabledCheck", 202, 90, 90, 20, "不可用");
  disabledCheck->SetChecked(true);
  disabledCheck->SetEnabled(false);
  Put<gui::TRadioButton>(box, "RadioOne", 10, 118, 90, 20, "单选一")->SetChecked(true);
  Put<gui::TRadioButton>(box, "RadioTwo", 106, 118, 90, 20, "单选二");
  Put<gui::TRadioButton>(box, "DisabledRadio", 202, 118, 90, 20, "不可用")->SetEnabled(false);
}

void TSkinViewForm::BuildInputs() {
  auto* box = Put<gui::TGroupBox>(this, "InputBox", 320, 8, 312, 150, "输入");
  Put<gui::TEdit>(box, "Edit", 10, 22, 140, 22, "可编辑的文字");
  Put<gui::TEdit>(box, "DisabledEdit", 160, 22, 140, 22, "不可用")->SetEnabled(false);
  auto* combo = Put<gui::TComboBox>(box, "Combo", 10, 52, 140, 24);
  for (const char* item : {"第一硬盘", "第二硬盘", "第三硬盘"}) combo->Add(item);
  combo->SetItemIndex(0);
  auto* disabledCombo = Put<gui::TComboBox>(box, "DisabledCombo", 160, 52, 140, 24);
  disabledCombo->Add("不可用");
  disabledCombo->SetItemIndex(0);
  disabledCombo->SetEnabled(false);
  auto* number = Put<gui::TEdit>(box, "NumberEdit", 10, 84, 70, 22, "5");
  auto* upDown = Make<gui::TUpDown>();
  upDown->Name = "UpDown";
  upDown->Associate = number;
  upDown->Min = 1, upDown->Max = 10, upDown->Position = 5;
  upDown->SetParent(box);
  upDown->SetBounds(80, 84, 16, 22);
  auto* track = Put<gui::TTrackBar>(box, "TrackBar", 110, 80, 190, 30);
  track->SetPosition(3);
  auto* progress = Put<gui::TProgressBar>(box, "Progress", 10, 118, 290, 18);
  progress->SetPosition(60);
}

void TSkinViewForm::BuildPages() {
  auto* pages = Put<gui::TPageControl>(this, "Pages", 8, 166, 624, 276);
  auto sheet = [&](const char* name, const char* caption) {
    auto* s = Make<gui::TTabSheet>();
    s->Name = name;
    s->SetCaption(caption);
    s->SetPageControl(pages);
    return s;
  };
  gui::TTabSheet* lists = sheet("ListSheet", "列表");
  gui::TTabSheet* report = sheet("ReportSheet", "报表");
  gui::TTabSheet* panels = sheet("PanelSheet", "面板");
  LongList = Make<gui::TListBox>();
  LongList->Name = "LongList";
  LongList->ScrollWidth = 900;  // long enough to scroll both ways
  LongList->SetParent(lists);
  LongList->SetBounds(8, 8, 290, 230);
  for (int i = 1; i <= 60; ++i)
    LongList->Add("第 " + std::to_string(i) + " 行：一行很长的文字，长到列表要左右滚动才能读完它的结尾。");
  auto* memo = Put<gui::TMemo>(lists, "Memo", 306, 8, 300, 230);
  memo->SetLines({"多行文本框。", "皮肤作者可以在这里看到", "滚动条和边框的样子。"});
  auto* view = Put<gui::TListView>(report, "ListView", 8, 8, 598, 230);
  view->AddColumn("分区", 120);
  view->AddColumn("大小", 100);
  view->AddColumn("说明", 300);
  for (int i = 1; i <= 30; ++i) view->AddItem({"第" + std::to_string(i) + "分区", std::to_string(i * 512) + " MB", "示例"});
  auto* panel = Put<gui::TPanel>(panels, "Panel", 8, 8, 290, 120, "面板");
  Put<gui::TButton>(panel, "PanelButton", 10, 80, 90, 26, "面板上的按钮");
  BuildGlyphButtons(panels);
  auto* horizontal = Make<gui::TScrollBar>();
  horizontal->Name = "HorzScrollBar";
  horizontal->PageSize = 10;
  horizontal->SetParent(panels);
  horizontal->SetBounds(306, 8, 290, 17);
  horizontal->SetPosition(30);
  auto* vertical = Make<gui::TScrollBar>();
  vertical->Name = "VertScrollBar";
  vertical->Vertical = true;
  vertical->SetParent(panels);
  vertical->SetBounds(306, 40, 17, 180);
  vertical->SetPosition(60);
}

void TSkinViewForm::BuildGlyphButtons(gui::TWinControl* Parent) {
  const std::initializer_list<RECT> page{{3, 2, 13, 14}, {5, 5, 11, 6}, {5, 8, 11, 9}, {5, 11, 9, 12}};
  auto* save = Put<gui::TBitBtn>(Parent, "GlyphButton", 8, 140, 110, 30, "带图按钮");
  DrawBarsGlyph(save->ButtonGlyph(), page);
  auto* disabled = Put<gui::TBitBtn>(Parent, "DisabledGlyphButton", 126, 140, 110, 30, "不可用");
  DrawBarsGlyph(disabled->ButtonGlyph(), page);
  disabled->SetEnabled(false);
  // Three alignments, one of them down, and a button on its own.
  const std::initializer_list<RECT> left{{1, 2, 15, 4}, {1, 6, 10, 8}, {1, 10, 15, 12}, {1, 14, 8, 16}};
  const std::initializer_list<RECT> centre{{1, 2, 15, 4}, {4, 6, 12, 8}, {1, 10, 15, 12}, {5, 14, 11, 16}};
  const std::initializer_list<RECT> right{{1, 2, 15, 4}, {6, 6, 15, 8}, {1, 10, 15, 12}, {8, 14, 15, 16}};
  int x = 8;
  for (const auto& [name, bars] : {std::pair{"AlignLeft", left}, {"AlignCentre", centre}, {"AlignRight", right}}) {
    auto* speed = Put<gui::TSpeedButton>(Parent, name, x, 182, 30, 28);
    DrawBarsGlyph(speed->ButtonGlyph(), bars);
    speed->GroupIndex = 1;
    x += 30;
  }
  dynamic_cast<gui::TSpeedButton*>(FindComponent("AlignLeft"))->SetDown(true);
  Put<gui::TSpeedButton>(Parent, "LoneSpeedButton", 110, 182, 80, 28, "快捷按钮");
  auto* set = Put<gui::TTabSet>(Parent, "TabSet", 8, 216, 290, 22);
  set->SetTabs({"第一页", "第二页", "第三页", "放不下的一页"});
  set->SetTabIndex(0);
}

void TSkinViewForm::SetControlsEnabled(bool Enabled) {
  if (Enabled == ControlsEnabled()) return;
  if (Enabled) {
    for (const std::string& name : FDisabledByUser)
      if (auto* control = dynamic_cast<gui::TControl*>(FindComponent(name))) control->SetEnabled(true);
    FDisabledByUser.clear();
    return;
  }
  for (gui::TComponent* component : ComponentList()) {
    auto* control = dynamic_cast<gui::TControl*>(component);
    if (!control || !control->Enabled() || control->Name.empty()) continue;
    control->SetEnabled(false);
    FDisabledByUser.push_back(control->Name);
  }
}

void TSkinViewForm::ShowTitle() {
  std::string title = "SkinView - " + (FSkinFile.empty() ? std::string("（无皮肤）") : FileNameOf(FSkinFile));
  if (!FSkinFile.empty() && !Skin->Active()) title += "（皮肤已关闭）";
  SetCaption(title);
}

bool TSkinViewForm::OpenSkin(const std::string& Path) {
  std::string reason;
  std::vector<uint8_t> bytes;
  {
    std::ifstream in(std::filesystem::path(gui::Widen(Path)), std::ios::binary);
    if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) reason = "文件无法读取。";
  }
  if (reason.empty() && !Complete(bytes)) reason = "文件不完整。";
  if (reason.empty()) {
    // Tried on a scratch component first: a file that is not a skin must
    // not take the window's skin away.
    TSkinData probe(nullptr);
    probe.PackedSkin = TMemoryStream(bytes);
    ReaderMessage.clear();
    const TSkinMessageHandler previous = SetSkinMessageHandler(&KeepReaderMessage);
    const bool loaded = probe.LoadSkin();
    SetSkinMessageHandler(previous);
    if (!loaded) reason = ReaderMessage.empty() ? "它不是可用的皮肤文件。" : ReaderMessage;
  }
  if (!reason.empty()) {
    gui::Application().ShowMessage("无法打开皮肤文件“" + FileNameOf(Path) + "”：" + reason, MB_OK | MB_ICONWARNING);
    return false;
  }
  FSkinFile = Path;
  Skin->SetSkinFile(Path);
  if (!Skin->Active()) Skin->SetActive(true);
  ShowTitle();
  return true;
}

void TSkinViewForm::ToggleSkinning() {
  if (FSkinFile.empty()) return;
  Skin->SetActive(!Skin->Active());
  ShowTitle();
}

}  // namespace qm
