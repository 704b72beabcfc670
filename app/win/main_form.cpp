#include "main_form.h"

#include <htmlhelp.h>

#include "html_help.h"
#include "program_folder.h"
#include "web_links.h"

namespace qm {

namespace {
constexpr int kClientWidth = 483, kClientHeight = 436;
constexpr int kBannerWidth = 481, kBannerHeight = 29;
constexpr int kRowHeight = 21;     // edits and drop-down lists
constexpr int kButtonHeight = 23;
constexpr gui::TColor kBannerGreen = 0x00FF00;

// Only what belongs to the project: no person's name, no account number.
const char* const kAuthorLine = "作者：启明映像向导开发组";
const char* const kMessengerLine = "OICQ：暂无";
const char* const kThanksLine1 = "非常感谢您使用体软件！如果您对本软件有何看法，请与作者";
const char* const kThanksLine2 = "联系。如果您觉得本软件不错，请介绍给您的朋友！";
}  // namespace

TMainForm::TMainForm(gui::TComponent* owner, const std::string& programDir) : gui::TForm(owner), FModel(FHost) {
  Name = "MainForm";
  // Everything the form holds is built, and told it is complete, before
  // FormCreate runs.
  BeginLoading();
  Build(programDir.empty() ? OwnProgramFolder() : programDir);
}

TMainForm::~TMainForm() {
  // The windows and the timer go first, while the model they report to still
  // exists; a holder has usually released the form already.
  Release();
}

template <class T>
T* TMainForm::Put(gui::TWinControl* parent, const char* name, int x, int y, int w, int h, const std::string& caption) {
  T* control = Make<T>();
  control->Name = name;
  control->SetBounds(x, y, w, h);
  if (!caption.empty()) control->SetCaption(caption);
  control->SetParent(parent);
  return control;
}

gui::TLabel* TMainForm::Text(gui::TWinControl* parent, int x, int y, const std::string& caption) {
  return Put<gui::TLabel>(parent, "", x, y, 0, 0, caption);
}

gui::TCheckBox* TMainForm::Check(gui::TWinControl* parent, const char* name, int x, int y, int w) {
  auto* state = static_cast<TCheckBoxState*>(FModel.FindControl(name));
  return Put<gui::TCheckBox>(parent, name, x, y, w, 17, state->Caption);
}

void TMainForm::Build(const std::string& programDir) {
  SetCaption("启明映像向导 V1.0");
  SetBorderStyle(gui::TFormBorderStyle::bsDialog);
  Position = gui::TPosition::poScreenCenter;
  SetClientSize(kClientWidth, kClientHeight);
  SetColor(gui::clBtnFace);
  Font().SetName("宋体");
  Font().SetHeight(-12);
  Font().SetCharset(GB2312_CHARSET);

  BuildBanner();
  BuildPages();
  BuildFilePanel();
  BuildButtons();

  drawLabel = Put<gui::TLabel>(this, "drawLabel", 0, 0, 0, 0);
  drawLabel->Font().SetName("宋体");
  drawLabel->Font().SetHeight(-16);
  drawLabel->SetVisible(false);
  Memo1 = Put<gui::TMemo>(this, "Memo1", 0, 0, 185, 89);
  Memo1->SetVisible(false);

  SaveDialog1 = Make<gui::TSaveDialog>();
  SaveDialog1->Name = "SaveDialog1";
  SaveDialog1->Filter = "Ghost文件(*.GHO)|*.GHO";
  SaveDialog2 = Make<gui::TSaveDialog>();
  SaveDialog2->Name = "SaveDialog2";
  SaveDialog2->Filter = "批处理文件(*.BAT)|*.BAT";
  Timer1 = Make<gui::TTimer>();
  Timer1->Name = "Timer1";
  Timer1->SetInterval(50);
  Timer1->OnTimer = [this](gui::TTimer&) { Timer1Timer(); };

  // The skin engine's component, read from the form's stored values (the
  // packed default skin among them); once the form is complete it registers
  // with the skin manager and asks for skinning.
  SkinData1 = Make<TSkinData>();
  SkinData1->Name = "SkinData1";
  ReadStoredValuesFromResource(*SkinData1, GetModuleHandleW(nullptr), L"MAINFORM_SKINDATA1");

  Bind();
  FModel.ProgramDir = programDir;
  // Every control, and last SkinData1, learns that the form is complete.
  FinishLoading();
  FormCreate();
}

void TMainForm::BuildBanner() {
  Panel3 = Put<gui::TPanel>(this, "Panel3", 0, 0, kClientWidth, 31);
  Panel3->BevelOuter = gui::TBevelCut::bvLowered;
  drawImage = Put<gui::TImage>(Panel3, "drawImage", 1, 1, kBannerWidth, kBannerHeight);
  drawImage->Picture().SetSize(kBannerWidth, kBannerHeight);
}

void TMainForm::BuildPages() {
  PageControl1 = Put<gui::TPageControl>(this, "PageControl1", 0, 31, kClientWidth, 217);
  gui::TTabSheet** sheets[] = {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4, &TabSheet5, &TabSheet6};
  const char* captions[] = {"分区备份", "硬盘备份", "分区对拷", "硬盘对拷", "系统设置", "软件信息"};
  for (int i = 0; i < 6; ++i) {
    *sheets[i] = Make<gui::TTabSheet>();
    (*sheets[i])->Name = "TabSheet" + std::to_string(i + 1);
    (*sheets[i])->SetPageControl(PageControl1);
    (*sheets[i])->SetCaption(captions[i]);
  }
  PageControl1->OnChange = [this](gui::TPageControl&) { PageControl1Change(); };

  // Page 0: partition image backup.
  gui::TTabSheet* p = TabSheet1;
  Text(p, 12, 14, "◇ 选择硬盘：");
  YinPanComboBox1 = Put<gui::TComboBox>(p, "YinPanComboBox1", 92, 10, 110, kRowHeight);
  auto* pick = Put<gui::TGroupBox>(p, "GroupBox2", 8, 40, 222, 140, "◇ 填加分区：");
  FenQuListBox0 = Put<gui::TListBox>(pick, "FenQuListBox0", 10, 20, 84, 110);
  moveButton1 = Put<gui::TButton>(pick, "moveButton1", 99, 48, 24, kButtonHeight, ">");
  MoveButton2 = Put<gui::TButton>(pick, "MoveButton2", 99, 84, 24, kButtonHeight, "<");
  FenQuListBox1 = Put<gui::TListBox>(pick, "FenQuListBox1", 128, 20, 84, 110);
  Text(p, 244, 14, "◇ 压缩率：");
  YaSuoComboBox1 = Put<gui::TComboBox>(p, "YaSuoComboBox1", 316, 10, 100, kRowHeight);
  fxCheckBox1 = Check(p, "fxCheckBox1", 244, 48, 224);
  rbCheckBox1 = Check(p, "rbCheckBox1", 244, 74, 224);
  froCheckBox1 = Check(p, "froCheckBox1", 244, 100, 224);
  splitCheckBox1 = Check(p, "splitCheckBox1", 244, 128, 144);
  splitEdit1 = Put<gui::TEdit>(p, "splitEdit1", 390, 126, 52, kRowHeight);
  Text(p, 446, 130, "MB");

  // Page 1: whole-disk image backup.
  p = TabSheet2;
  Text(p, 12, 14, "◇ 选择硬盘：");
  YinPanComboBox2 = Put<gui::TComboBox>(p, "YinPanComboBox2", 92, 10, 110, kRowHeight);
  Text(p, 244, 14, "◇ 压缩率：");
  YaSuoComboBox2 = Put<gui::TComboBox>(p, "YaSuoComboBox2", 316, 10, 100, kRowHeight);
  fxCheckBox2 = Check(p, "fxCheckBox2", 12, 44, 224);
  rbCheckBox2 = Check(p, "rbCheckBox2", 244, 44, 224);
  froCheckBox2 = Check(p, "froCheckBox2", 12, 70, 224);
  splitCheckBox2 = Check(p, "splitCheckBox2", 12, 98, 144);
  splitEdit2 = Put<gui::TEdit>(p, "splitEdit2", 158, 96, 52, kRowHeight);
  Text(p, 214, 100, "MB");
  szeCheckBox2 = Check(p, "szeCheckBox2", 12, 126, 360);
  szeEdit2 = Put<gui::TEdit>(p, "szeEdit2", 30, 150, 250, kRowHeight);

  // Page 2: partition to partition copy.
  p = TabSheet3;
  auto* source = Put<gui::TGroupBox>(p, "GroupBox3", 8, 6, 226, 92, "源分区");
  Text(source, 12, 28, "◇ 选择硬盘：");
  YinPanComboBox31 = Put<gui::TComboBox>(source, "YinPanComboBox31", 96, 24, 118, kRowHeight);
  Text(source, 12, 60, "◇ 选择分区：");
  FenQuComboBox31 = Put<gui::TComboBox>(source, "FenQuComboBox31", 96, 56, 118, kRowHeight);
  auto* target = Put<gui::TGroupBox>(p, "GroupBox4", 242, 6, 226, 92, "目的分区");
  Text(target, 12, 28, "◇ 选择硬盘：");
  YinPanComboBox32 = Put<gui::TComboBox>(target, "YinPanComboBox32", 96, 24, 118, kRowHeight);
  Text(target, 12, 60, "◇ 选择分区：");
  FenQuComboBox32 = Put<gui::TComboBox>(target, "FenQuComboBox32", 96, 56, 118, kRowHeight);
  fxCheckBox3 = Check(p, "fxCheckBox3", 12, 112, 224);
  rbCheckBox3 = Check(p, "rbCheckBox3", 244, 112, 224);
  froCheckBox3 = Check(p, "froCheckBox3", 12, 138, 224);

  // Page 3: disk to disk copy.
  p = TabSheet4;
  source = Put<gui::TGroupBox>(p, "GroupBox5", 8, 6, 226, 60, "源硬盘");
  Text(source, 12, 28, "◇ 选择硬盘：");
  YinPanComboBox41 = Put<gui::TComboBox>(source, "YinPanComboBox41", 96, 24, 118, kRowHeight);
  target = Put<gui::TGroupBox>(p, "GroupBox6", 242, 6, 226, 60, "目的硬盘");
  Text(target, 12, 28, "◇ 选择硬盘：");
  YinPanComboBox42 = Put<gui::TComboBox>(target, "YinPanComboBox42", 96, 24, 118, kRowHeight);
  fxCheckBox4 = Check(p, "fxCheckBox4", 12, 82, 224);
  rbCheckBox4 = Check(p, "rbCheckBox4", 244, 82, 224);
  froCheckBox4 = Check(p, "froCheckBox4", 12, 108, 224);

  // Page 4: settings.
  p = TabSheet5;
  auto* disks = Put<gui::TGroupBox>(p, "GroupBox7", 8, 6, 460, 100, "硬盘、分区数设置");
  firstYinPanCheckBox = Check(disks, "firstYinPanCheckBox", 16, 30, 170);
  firstYinPanEdit = Put<gui::TEdit>(disks, "firstYinPanEdit", 192, 28, 52, kRowHeight);
  SecondYinPanCheckBox = Check(disks, "SecondYinPanCheckBox", 16, 64, 170);
  secondYinPanEdit = Put<gui::TEdit>(disks, "secondYinPanEdit", 192, 62, 52, kRowHeight);
  Text(disks, 256, 32, "（1～10）");
  Text(disks, 256, 66, "（1～10）");

  BuildAbout(TabSheet6);
}

void TMainForm::BuildAbout(gui::TTabSheet* p) {
  const RECT page = PageControl1->DisplayRect();
  const int left = ((page.right - page.left) - 321) / 2;
  AboutPanel = Put<gui::TPanel>(p, "Panel2", left, 8, 321, 129);
  AboutPanel->SetColor(gui::clWhite);
  AboutPanel->BevelOuter = gui::TBevelCut::bvLowered;
  gui::TLabel* lines[] = {Text(AboutPanel, 40, 16, kAuthorLine), Text(AboutPanel, 40, 44, kMessengerLine),
                          Text(AboutPanel, 40, 72, "邮件："), Text(AboutPanel, 40, 100, "主页：")};
  for (gui::TLabel* l : lines) l->SetTransparent(true);
  mail = Put<gui::TLabel>(AboutPanel, "mail", 40 + lines[2]->Width(), 72, 0, 0, AuthorMail);
  http = Put<gui::TLabel>(AboutPanel, "http", 40 + lines[3]->Width(), 100, 0, 0, HomePageAddress);
  for (gui::TLabel* link : {mail, http}) {
    link->SetTransparent(true);
    link->Font().SetColor(gui::clNavy);
    link->Font().SetStyle(gui::fsUnderline);
    link->Cursor = gui::TCursor::crHandPoint;
  }
  mail->OnClick = [this](gui::TControl&) { UserEvent([this] { mailClick(); }); };
  http->OnClick = [this](gui::TControl&) { UserEvent([this] { httpClick(); }); };
  Text(p, left, 146, kThanksLine1);
  Text(p, left, 164, kThanksLine2);
}

void TMainForm::BuildFilePanel() {
  Panel1 = Put<gui::TPanel>(this, "Panel1", 0, 248, kClientWidth, 134);
  Panel1->BevelOuter = gui::TBevelCut::bvNone;
  GroupBox1 = Put<gui::TGroupBox>(Panel1, "GroupBox1", 8, 4, 467, 124, "目录及文件名都不能含有中文，且必须符合8.3规则。");
  GroupBox1->Font().SetColor(gui::clMaroon);
  struct Row {
    const char* Caption;
    gui::TEdit** Edit;
    const char* EditName;
    gui::TButton** Button;
    const char* ButtonName;
  } rows[] = {{"◇ 映像文件：", &ghostEdit, "ghostEdit", &selectButton11, "selectButton11"},
              {"◇ 备份文件：", &BeiFenEdit, "BeiFenEdit", &selectButton12, "selectButton12"},
              {"◇ 恢复文件：", &HuifuEdit, "HuifuEdit", &selectButton13, "selectButton13"}};
  int y = 26;
  for (Row& row : rows) {
    // The group's maroon is for its caption only.
    Text(GroupBox1, 14, y + 4, row.Caption)->Font().Assign(Font());
    *row.Edit = Put<gui::TEdit>(GroupBox1, row.EditName, 96, y, 290, kRowHeight);
    *row.Button = Put<gui::TButton>(GroupBox1, row.ButtonName, 394, y - 1, 60, kButtonHeight, "选  择");
    (*row.Edit)->Font().Assign(Font());
    (*row.Button)->Font().Assign(Font());
    y += 32;
  }
  selectButton11->OnClick = [this](gui::TControl&) { UserEvent([this] { selectButton11Click(); }); };
  selectButton12->OnClick = [this](gui::TControl&) { UserEvent([this] { selectButton12Click(); }); };
  selectButton13->OnClick = [this](gui::TControl&) { UserEvent([this] { selectButton13Click(); }); };
}

void TMainForm::BuildButtons() {
  constexpr int y = 400;
  Button3 = Put<gui::TButton>(this, "Button3", 10, y, 75, 25, "帮  助");
  Button1 = Put<gui::TButton>(this, "Button1", 93, y, 75, 25, "在线帮助");
  Button2 = Put<gui::TButton>(this, "Button2", 176, y, 75, 25, "退  出");
  RunButton = Put<gui::TButton>(this, "RunButton", 343, y, 130, 25, "生成批处理文件");
  Button3->OnClick = [this](gui::TControl&) { UserEvent([this] { Button3Click(); }); };
  Button1->OnClick = [this](gui::TControl&) { UserEvent([this] { Button1Click(); }); };
  Button2->OnClick = [this](gui::TControl&) { Button2Click(); };
}

// Every control that carries model state is bound by name; the user's input
// lands in the state and raises the model's generic event.
void TMainForm::Bind() {
  for (TControlState* state : FModel.Controls()) {
    auto* control = dynamic_cast<gui::TControl*>(FindComponent(state->Name));
    if (!control) continue;
    FBindings.push_back({state, control});
    switch (state->Kind) {
      case TControlKind::Edit:
        static_cast<gui::TEdit*>(control)->OnChange = [this, state](gui::TCustomEdit& edit) {
          if (FShowing) return;
          auto& s = *static_cast<TEditState*>(state);
          s.Text = edit.Text();
          s.SelStart = edit.SelStart();
          s.SelLength = edit.SelLength();
          UserEvent([this, &s] { FModel.EditChanged(s); });
        };
        break;
      case TControlKind::CheckBox:
        control->OnClick = [this, state](gui::TControl& c) {
          auto& s = *static_cast<TCheckBoxState*>(state);
          s.Checked = static_cast<gui::TCheckBox&>(c).Checked();
          UserEvent([this, &s] { FModel.CheckBoxClicked(s); });
        };
        break;
      case TControlKind::PickList:
      case TControlKind::ListBox: {
        auto selected = [this, state](gui::TCustomListControl& list) {
          auto& s = *static_cast<TListState*>(state);
          s.ItemIndex = list.ItemIndex();
          UserEvent([this, &s] { FModel.ListSelected(s); });
        };
        if (auto* combo = dynamic_cast<gui::TComboBox*>(control))
          combo->OnChange = [selected](gui::TComboBox& c) { selected(c); };
        else
          control->OnClick = [selected](gui::TControl& c) { selected(static_cast<gui::TListBox&>(c)); };
        break;
      }
      case TControlKind::Button:
        if (!control->OnClick)
          control->OnClick = [this, state](gui::TControl&) {
            UserEvent([this, state] { FModel.ButtonClicked(*static_cast<TButtonState*>(state)); });
          };
        break;
      default:
        break;
    }
  }
}

void TMainForm::UserEvent(const std::function<void()>& handler) {
  struct TShowAfter {
    TMainForm& Form;
    ~TShowAfter() { Form.ShowModel(); }
  } showAfter{*this};
  handler();
}

void TMainForm::ShowModel() {
  FShowing = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FShowing};
  for (const TBinding& b : FBindings) {
    switch (b.State->Kind) {
      case TControlKind::Edit: {
        // Where the model set the text, it also says where the caret goes;
        // elsewhere the caret is the user's.
        const auto* s = static_cast<TEditState*>(b.State);
        if (b.Control->Text() != s->Text) {
          auto* edit = static_cast<gui::TCustomEdit*>(b.Control);
          edit->SetText(s->Text);
          edit->SetSel(s->SelStart, s->SelLength);
        }
        break;
      }
      case TControlKind::CheckBox:
        static_cast<gui::TCheckBox*>(b.Control)->SetChecked(static_cast<TCheckBoxState*>(b.State)->Checked);
        break;
      case TControlKind::PickList:
      case TControlKind::ListBox: {
        auto* list = static_cast<gui::TCustomListControl*>(b.Control);
        const auto* s = static_cast<TListState*>(b.State);
        list->SetItems(s->Items);
        if (list->ItemIndex() != s->ItemIndex) list->SetItemIndex(s->ItemIndex);
        break;
      }
      case TControlKind::PageControl: {
        const int page = static_cast<TPageControlState*>(b.State)->ActivePageIndex;
        if (PageControl1->ActivePageIndex() != page) PageControl1->SetActivePageIndex(page);
        break;
      }
      case TControlKind::Memo:
        Memo1->SetLines(static_cast<TMemoState*>(b.State)->Lines);
        continue;  // never shown, so never enabled
      default:
        break;
    }
    // The file panel's controls read as disabled while the panel is.
    b.Control->SetEnabled(FModel.IsOperable(*b.State));
  }
}

// ---------------------------------------------------------------- handlers

void TMainForm::FormCreate() {
  gui::TCanvas& canvas = drawImage->Canvas();
  canvas.Brush.SetColor(gui::clBlack);
  canvas.FillRect(RECT{0, 0, drawImage->Picture().Width(), drawImage->Picture().Height()});
  drawLabel->SetCaption(BannerText);
  FModel.FormCreate(FModel.ProgramDir, drawImage->Picture().Width(), drawLabel->Width());
  ShowModel();
}

void TMainForm::PageControl1Change() {
  UserEvent([this] {
    FModel.PageControl1.ActivePageIndex = PageControl1->ActivePageIndex();
    FModel.PageControl1Change();
  });
}

void TMainForm::Button2Click() {
  FModel.Button2Click();
  Close();
}

void TMainForm::Choose(TEditState& edit, gui::TSaveDialog& dialog, const std::string& extension) {
  dialog.FileName = edit.Text;
  if (!dialog.Execute(Handle())) return;
  FModel.SetEditText(edit, TMainFormModel::WithExtension(dialog.FileName, extension));
}

void TMainForm::selectButton11Click() { Choose(FModel.ghostEdit, *SaveDialog1, ".gho"); }
void TMainForm::selectButton12Click() { Choose(FModel.BeiFenEdit, *SaveDialog2, ".bat"); }
void TMainForm::selectButton13Click() { Choose(FModel.HuifuEdit, *SaveDialog2, ".bat"); }

void TMainForm::Button3Click() {
  const std::wstring helpFile = gui::Widen(FModel.ProgramDir + "\\PartKit.chm");
  CallHtmlHelp(Handle(), helpFile, HH_DISPLAY_TOPIC, 0);
}

void TMainForm::Button1Click() { OpenInBrowser(gui::Widen(std::string(HomePageAddress) + "/PartKit.htm")); }
void TMainForm::httpClick() { OpenInBrowser(gui::Widen(HomePageAddress)); }
void TMainForm::mailClick() { OpenMail(Handle(), gui::Widen(AuthorMail)); }

void TMainForm::Timer1Timer() {
  // The strip and its text follow the display's scale, as the image and the
  // label the text is measured with do; the text keeps its place in it.
  gui::TBitmap& strip = drawImage->Picture();
  if (strip.Width() != drawImage->Width() || strip.Height() != drawImage->Height()) {
    if (strip.Width() > 0) FModel.BannerX = MulDiv(FModel.BannerX, drawImage->Width(), strip.Width());
    strip.SetSize(drawImage->Width(), drawImage->Height());
  }
  FModel.BannerWidth = drawLabel->Width();
  gui::TCanvas& canvas = drawImage->Canvas();
  canvas.Brush.SetStyle(gui::TBrushStyle::bsSolid);
  canvas.Brush.SetColor(gui::clBlack);
  canvas.FillRect(RECT{0, 0, strip.Width(), strip.Height()});
  const int x = FModel.Timer1Timer(strip.Width());
  canvas.Font.SetColor(kBannerGreen);
  canvas.Font.SetHeight(gui::ScaleForDpi(-16, CurrentDpi()));  // 12 points
  // The face must show Chinese; the one the width was measured in does.
  canvas.Font.SetName(drawLabel->Font().Name());
  canvas.Brush.SetStyle(gui::TBrushStyle::bsClear);
  canvas.TextOut(x, gui::ScaleForDpi(4, CurrentDpi()), BannerText);
  drawImage->Invalidate();
}

}  // namespace qm
