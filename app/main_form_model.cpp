#include "main_form_model.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "batch_script.h"
#include "disk_model.h"
#include "same_file.h"

namespace qm {

const char* const BannerText =
    "非常感谢您使用本软件！请把本软件解压在根目录下，以便于在DOS下操作。使用本软件前先到[系统设置]选项中设置参数。谢谢！";
const char* const HomePageAddress = "http://qiming.example.org";
const char* const AuthorMail = "qiming@example.org";
const char* const CompletionMessage = "生成批处理文件完成，请退出WINDOW进到DOS下运行批处理文件。";

namespace {

void SetItems(TListState& list, std::initializer_list<const char*> items) {
  list.Items.assign(items.begin(), items.end());
  list.ItemIndex = 0;
}

// The number Ghost gets for a pick: index + 1, so 0 when nothing is picked.
std::string Number(const TListState& list) { return std::to_string(list.ItemIndex + 1); }

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

int CharacterCount(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

// The byte where character number index starts; the end for one past it.
size_t ByteOffset(const std::string& text, int index) {
  size_t at = 0;
  for (int n = 0; at < text.size() && n < index;) {
    ++at;
    if (at == text.size() || StartsCharacter(text[at])) ++n;
  }
  return at;
}

}  // namespace

TMainFormModel::TMainFormModel(IFormHost& host) : FHost(host) {
  FControls = {&Panel1,          &ghostEdit,       &selectButton11,   &BeiFenEdit,       &selectButton12,
               &HuifuEdit,       &selectButton13,  &PageControl1,     &YinPanComboBox1,  &FenQuListBox0,
               &FenQuListBox1,   &moveButton1,     &MoveButton2,      &YaSuoComboBox1,   &fxCheckBox1,
               &rbCheckBox1,     &froCheckBox1,    &splitCheckBox1,   &splitEdit1,       &YinPanComboBox2,
               &YaSuoComboBox2,  &fxCheckBox2,     &rbCheckBox2,      &froCheckBox2,     &splitCheckBox2,
               &splitEdit2,      &szeCheckBox2,    &szeEdit2,         &YinPanComboBox31, &FenQuComboBox31,
               &YinPanComboBox32, &FenQuComboBox32, &fxCheckBox3,     &rbCheckBox3,      &froCheckBox3,
               &YinPanComboBox41, &YinPanComboBox42, &fxCheckBox4,    &rbCheckBox4,      &froCheckBox4,
               &firstYinPanCheckBox, &firstYinPanEdit, &SecondYinPanCheckBox, &secondYinPanEdit,
               &Button3,         &Button1,         &Button2,          &RunButton,        &Memo1};

  // The form description's stored values; FormCreate adds what depends on
  // the program folder and the settings.
  for (TCheckBoxState* box : {&fxCheckBox1, &rbCheckBox1, &froCheckBox1, &fxCheckBox2, &rbCheckBox2,
                              &froCheckBox2, &fxCheckBox3, &rbCheckBox3, &froCheckBox3, &fxCheckBox4,
                              &rbCheckBox4, &froCheckBox4})
    box->Checked = true;
  for (TListState* list : {&YaSuoComboBox1, &YaSuoComboBox2}) SetItems(*list, {"快速压缩", "中度压缩", "高度压缩"});
  for (TListState* list : {&YinPanComboBox41, &YinPanComboBox42}) SetItems(*list, {"第一硬盘", "第二硬盘"});
  splitEdit1.Text = "600";
  splitEdit2.Text = "600";
  szeEdit2.Text = "sze1=30P,sze2=30P,sze3=40P";
  for (TEditState* edit : {&splitEdit1, &splitEdit2, &szeEdit2, &secondYinPanEdit}) edit->Enabled = false;
  firstYinPanCheckBox.Checked = true;
  firstYinPanCheckBox.Enabled = false;
  firstYinPanEdit.Text = "1";
  secondYinPanEdit.Text = "1";
  Memo1.Enabled = false;  // never shown, never typed into
}

TControlState* TMainFormModel::FindControl(const std::string& name) const {
  const auto it = std::find_if(FControls.begin(), FControls.end(),
                               [&](const TControlState* c) { return c->Name == name; });
  return it == FControls.end() ? nullptr : *it;
}

bool TMainFormModel::IsOperable(const TControlState& control) const {
  if (!control.Enabled) return false;
  const TControlState* const filePanel[] = {&ghostEdit,      &selectButton11, &BeiFenEdit,
                                            &selectButton12, &HuifuEdit,      &selectButton13};
  if (std::find(std::begin(filePanel), std::end(filePanel), &control) != std::end(filePanel))
    return Panel1.Enabled;
  return true;
}

// ---------------------------------------------------------------- events

void TMainFormModel::EditChanged(TEditState& edit) {
  if (&edit == &firstYinPanEdit) firstYinPanEditChange();
  else if (&edit == &secondYinPanEdit) secondYinPanEditChange();
  else if (&edit == &splitEdit1 || &edit == &splitEdit2) splitEdit1Change(edit);
}

void TMainFormModel::CheckBoxClicked(TCheckBoxState& box) {
  if (&box == &SecondYinPanCheckBox) SecondYinPanCheckBoxClick();
  else if (&box == &splitCheckBox1) splitCheckBox1Click();
  else if (&box == &splitCheckBox2) splitCheckBox2Click();
  else if (&box == &szeCheckBox2) szeCheckBox2Click();
}

void TMainFormModel::ListSelected(TListState& list) {
  if (&list == &YinPanComboBox1) YinPanComboBox1Change();
  else if (&list == &YinPanComboBox31) YinPanComboBox31Change();
  else if (&list == &YinPanComboBox32) YinPanComboBox32Change();
}

void TMainFormModel::ButtonClicked(TButtonState& button) {
  if (&button == &RunButton) RunButtonClick();
  else if (&button == &Button2) Button2Click();
  else if (&button == &moveButton1) moveButton1Click();
  else if (&button == &MoveButton2) MoveButton2Click();
}

void TMainFormModel::SetEditText(TEditState& edit, const std::string& text) {
  if (edit.Text == text) return;
  edit.Text = text;
  edit.SelStart = edit.SelLength = 0;
  EditChanged(edit);
}

void TMainFormModel::ReplaceEditText(TEditState& edit, const std::string& text) {
  edit.Text = text;
  edit.SelStart = CharacterCount(text);
  edit.SelLength = 0;
  EditChanged(edit);
}

void TMainFormModel::TypeKeys(TEditState& edit, const std::string& keys) {
  for (size_t key = 0; key < keys.size();) {
    size_t next = key + 1;
    while (next < keys.size() && !StartsCharacter(keys[next])) ++next;
    const size_t from = ByteOffset(edit.Text, edit.SelStart);
    const size_t to = ByteOffset(edit.Text, edit.SelStart + edit.SelLength);
    edit.Text.replace(from, to - from, keys, key, next - key);
    edit.SelStart = CharacterCount(edit.Text.substr(0, from)) + 1;
    edit.SelLength = 0;
    key = next;
    EditChanged(edit);
  }
}

void TMainFormModel::PutBack(TEditState& edit, const std::string& text) {
  SetEditText(edit, text);
  edit.SelStart = 0;
  edit.SelLength = CharacterCount(edit.Text);
}

// ---------------------------------------------------------------- form

void TMainFormModel::FormCreate(const std::string& programDir, int imageWidth, int bannerWidth) {
  BannerX = imageWidth;
  BannerWidth = bannerWidth;
  ProgramDir = programDir;
  GhostDir = ProgramDir + "\\Ghost";
  // Appended as literal text: a drive root gives C:\\WinBF.gho.
  ghostEdit.Text = ProgramDir + "\\WinBF.gho";
  BeiFenEdit.Text = ProgramDir + "\\BeiFen.bat";
  HuifuEdit.Text = ProgramDir + "\\HuiFu.bat";
  FQBFYinPan = 0;
  AddYinPan();
  FQBFAddFenQu();
  FQDKAddFenQu();
}

void TMainFormModel::PageControl1Change() {
  switch (PageControl1.ActivePageIndex) {
    case 0:
    case 1:
      Panel1.Enabled = ghostEdit.Enabled = selectButton11.Enabled = true;
      break;
    case 2:
    case 3:
      Panel1.Enabled = true;
      ghostEdit.Enabled = selectButton11.Enabled = false;
      break;
    default:
      Panel1.Enabled = false;
      break;
  }
}

void TMainFormModel::RunButtonClick() {
  using Check = bool (TMainFormModel::*)();
  using Writer = void (TMainFormModel::*)();
  struct Operation {
    Check CeSi;
    Writer BeiFen, HuiFu;
  };
  static const Operation operations[] = {
      {&TMainFormModel::FQBFCeSi, &TMainFormModel::FQBFBeiFen, &TMainFormModel::FQBFHuiFu},
      {&TMainFormModel::YPBFCeSi, &TMainFormModel::YPBFBeiFen, &TMainFormModel::YPBFHuiFu},
      {&TMainFormModel::FQDKCeSi, &TMainFormModel::FQDKBeiFen, &TMainFormModel::FQDKHuiFu},
      {&TMainFormModel::YPDKCeSi, &TMainFormModel::YPDKBeiFen, &TMainFormModel::YPDKHuiFu}};
  const int page = PageControl1.ActivePageIndex;
  if (page < 0 || page > 3) return;
  const Operation& op = operations[page];
  if (!(this->*op.CeSi)()) return;
  if (!ScriptPathsApart() || !ScriptsCanBeWritten(page)) return;
  // A failed write throws past the restore script and the completion box.
  (this->*op.BeiFen)();
  // The new backup script may have been given a short alias that the
  // restore path spells (BEIFEN~1.BAT); only now can the file system tell.
  if (!ScriptPathsApart()) return;
  (this->*op.HuiFu)();
  FHost.ShowMessage(CompletionMessage);
}

void TMainFormModel::Button2Click() { Terminated = true; }

bool TMainFormModel::ScriptsCanBeWritten(int page) {
  const TLocalTime when = FHost.Now();
  try {
    ScriptBytes(BackupScriptLines(page, when));
    ScriptBytes(RestoreScriptLines(page, when));
  } catch (const EScriptTextError& e) {
    FHost.ShowMessage(e.what());
    return false;
  }
  return true;
}

bool TMainFormModel::ScriptPathsApart() {
  struct TField {
    const char* Label;
    std::string Path;
    TPathFacts Facts;
  };
  // The copy pages do not use the image, but a script written over it
  // would still destroy it.
  auto field = [this](const char* label, const TEditState& edit) {
    return TField{label, edit.Text, edit.Text.empty() ? TPathFacts{} : FHost.PathFacts(edit.Text)};
  };
  const TField backup = field("备份文件", BeiFenEdit), restore = field("恢复文件", HuifuEdit),
               image = field("映像文件", ghostEdit);
  struct TPair {
    const TField& First;
    const TField& Second;
    const char* Harm;
  };
  for (const TPair& pair : {TPair{backup, restore, "恢复批处理文件会覆盖备份批处理文件。"},
                            TPair{backup, image, "批处理文件会覆盖映像文件。"},
                            TPair{restore, image, "批处理文件会覆盖映像文件。"}}) {
    if (pair.First.Path.empty() || pair.Second.Path.empty()) continue;
    if (!NameSameFile(pair.First.Path, pair.First.Facts, pair.Second.Path, pair.Second.Facts, ProgramDir)) continue;
    FHost.ShowMessage(std::string("“") + pair.First.Label + "”和“" + pair.Second.Label + "”指向同一个文件，" +
                      pair.Harm + "请为它们选择不同的文件。");
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- disks and partitions

void TMainFormModel::AddYinPan() {
  for (TListState* list : {&YinPanComboBox1, &YinPanComboBox2, &YinPanComboBox31, &YinPanComboBox32}) {
    list->Clear();
    if (firstYinPanCheckBox.Checked) list->Items.push_back(YinPanNames[0]);
    if (SecondYinPanCheckBox.Checked) list->Items.push_back(YinPanNames[1]);
    list->ItemIndex = list->Items.empty() ? -1 : 0;
  }
}

void TMainFormModel::FillPartitions(TListState& list, const TListState& disk) {
  // Counts are read before the list is cleared, so a field left empty
  // reports the bad number and leaves the old entries in place.
  std::vector<std::string> entries;
  if (disk.ItemIndex == 0) {
    entries = PartitionEntries(ReadPartitionCount(firstYinPanEdit.Text), 0);
  } else if (disk.ItemIndex == 1) {
    const int second = ReadPartitionCount(secondYinPanEdit.Text);
    entries = PartitionEntries(second, ReadPartitionCount(firstYinPanEdit.Text));
  }
  list.Clear();
  list.Items = std::move(entries);
}

void TMainFormModel::FQBFAddFenQu() { FillPartitions(FenQuListBox0, YinPanComboBox1); }

void TMainFormModel::FQDKAddFenQu() {
  FillPartitions(FenQuComboBox31, YinPanComboBox31);
  FenQuComboBox31.ItemIndex = FenQuComboBox31.Items.empty() ? -1 : 0;
  FillPartitions(FenQuComboBox32, YinPanComboBox32);
  FenQuComboBox32.ItemIndex = FenQuComboBox32.Items.empty() ? -1 : 0;
}

void TMainFormModel::YinPanComboBox1Change() { FQBFAddFenQu(); }
void TMainFormModel::YinPanComboBox31Change() { FQDKAddFenQu(); }
void TMainFormModel::YinPanComboBox32Change() { FQDKAddFenQu(); }

void TMainFormModel::SecondYinPanCheckBoxClick() {
  secondYinPanEdit.Enabled = SecondYinPanCheckBox.Checked;
  AddYinPan();
  FQBFAddFenQu();
  FQDKAddFenQu();
}

void TMainFormModel::CountEditChange(TEditState& edit) {
  if (edit.Text.empty()) return;
  int count = 0;
  if (!TryParseInteger(edit.Text, count) || count > MaxPartitionsPerDisk || count < 1) {
    FHost.ShowMessage("请输入1~10的数字。");
    PutBack(edit, "1");  // re-fires this handler, which re-fills for 1
    return;
  }
  FQBFAddFenQu();
  FenQuListBox1.Clear();
  FQBFYinPan = 0;
  FQDKAddFenQu();
}

void TMainFormModel::firstYinPanEditChange() { CountEditChange(firstYinPanEdit); }
void TMainFormModel::secondYinPanEditChange() { CountEditChange(secondYinPanEdit); }

void TMainFormModel::moveButton1Click() {
  const int selected = FenQuListBox0.ItemIndex;
  if (selected < 0 || selected >= static_cast<int>(FenQuListBox0.Items.size())) return;
  std::string& entry = FenQuListBox0.Items[selected];
  if (entry.find('*') != std::string::npos) return;
  const int disk = YinPanComboBox1.ItemIndex + 1;
  if (FQBFYinPan == 0) {
    FQBFYinPan = disk;
  } else if (disk != FQBFYinPan) {
    FHost.ShowMessage("不能同时备份二个硬盘上的分区");
    return;
  }
  FenQuListBox1.Items.push_back(std::to_string(disk) + ":" + std::to_string(selected + 1));
  entry = "*" + entry;
}

void TMainFormModel::MoveButton2Click() {
  FenQuListBox1.Clear();
  FQBFYinPan = 0;
  FQBFAddFenQu();
}

std::string TMainFormModel::PartitionSpec() const {
  std::string partitions = std::to_string(FQBFYinPan);
  for (const std::string& entry : FenQuListBox1.Items)
    if (!entry.empty()) partitions += entry.substr(1);
  return partitions;
}

// ---------------------------------------------------------------- checks

namespace {

bool ScriptPathsGiven(IFormHost& host, const TEditState& backup, const TEditState& restore) {
  if (backup.Text.empty()) {
    host.ShowMessage("请选择一个备份文件！");
    return false;
  }
  if (restore.Text.empty()) {
    host.ShowMessage("请选择一个恢复文件！");
    return false;
  }
  return true;
}

}  // namespace

bool TMainFormModel::FQBFCeSi() {
  if (FenQuListBox1.Items.empty()) {
    FHost.ShowMessage("请至少添加一个分区！");
    return false;
  }
  return YPBFCeSi();
}

bool TMainFormModel::YPBFCeSi() {
  if (ghostEdit.Text.empty()) {
    FHost.ShowMessage("请选择一个映像文件！");
    return false;
  }
  return ScriptPathsGiven(FHost, BeiFenEdit, HuifuEdit);
}

bool TMainFormModel::FQDKCeSi() {
  if (YinPanComboBox31.ItemIndex == YinPanComboBox32.ItemIndex &&
      FenQuComboBox31.ItemIndex == FenQuComboBox32.ItemIndex) {
    FHost.ShowMessage("源分区和目的分区不能是同一分区！");
    return false;
  }
  return ScriptPathsGiven(FHost, BeiFenEdit, HuifuEdit);
}

bool TMainFormModel::YPDKCeSi() {
  if (YinPanComboBox41.ItemIndex == YinPanComboBox42.ItemIndex) {
    FHost.ShowMessage("源硬盘和目的硬盘不能是同一硬盘！");
    return false;
  }
  return ScriptPathsGiven(FHost, BeiFenEdit, HuifuEdit);
}

// ---------------------------------------------------------------- scripts

namespace {

TGhostOptions FinishOptions(const TCheckBoxState& fx, const TCheckBoxState& rb, const TCheckBoxState& fro) {
  TGhostOptions options;
  options.ExitToDos = fx.Checked;
  options.Reboot = rb.Checked;
  options.RescueBadSectors = fro.Checked;
  return options;
}

}  // namespace

std::vector<std::string> TMainFormModel::BackupScriptLines(int page, const TLocalTime& when) const {
  switch (page) {
    case 0: {
      const std::string partitions = PartitionSpec();
      const std::string image = ghostEdit.Text;
      TGhostOptions options = FinishOptions(fxCheckBox1, rbCheckBox1, froCheckBox1);
      options.Compression = YaSuoComboBox1.ItemIndex;
      if (splitCheckBox1.Checked) options.SplitSize = splitEdit1.Text;
      return BackupFormScript(GhostDir, "@echo 将" + partitions + "上的内容备份到文件" + image, YaSuoComboBox1.Text(),
                              when, GhostCommand(GhostDir, "pdump", partitions, image, options));
    }
    case 1: {
      const std::string image = ghostEdit.Text;
      TGhostOptions options = FinishOptions(fxCheckBox2, rbCheckBox2, froCheckBox2);
      options.Compression = YaSuoComboBox2.ItemIndex;
      if (splitCheckBox2.Checked) options.SplitSize = splitEdit2.Text;
      return BackupFormScript(GhostDir, "@echo 将" + YinPanComboBox2.Text() + "上的内容备份到文件" + image,
                              YaSuoComboBox2.Text(), when,
                              GhostCommand(GhostDir, "dump", Number(YinPanComboBox2), image, options));
    }
    case 2:
    case 3:
      return CopyScriptLines(page, false, when);
    default:
      return {};
  }
}

std::vector<std::string> TMainFormModel::RestoreScriptLines(int page, const TLocalTime& when) const {
  switch (page) {
    case 0: {
      const std::string partitions = PartitionSpec();
      const std::string tail = partitions.substr(1);
      const std::string image = ghostEdit.Text;
      return RestoreFormScript(GhostDir, "@echo 将文件将" + image + tail + "中的内容恢复到" + partitions,
                               YaSuoComboBox1.Text(), when, partitions,
                               GhostCommand(GhostDir, "pload", image + tail, partitions,
                                            FinishOptions(fxCheckBox1, rbCheckBox1, froCheckBox1)));
    }
    case 1: {
      const std::string image = ghostEdit.Text;
      std::string dst = Number(YinPanComboBox2);
      if (szeCheckBox2.Checked) dst += "," + szeEdit2.Text;
      return RestoreFormScript(GhostDir, "@echo 将文件将" + image + "中的内容恢复到" + YinPanComboBox2.Text(),
                               YaSuoComboBox2.Text(), when, YinPanComboBox2.Text(),
                               GhostCommand(GhostDir, "load", image, dst,
                                            FinishOptions(fxCheckBox2, rbCheckBox2, froCheckBox2)));
    }
    case 2:
    case 3:
      return CopyScriptLines(page, true, when);
    default:
      return {};
  }
}

// The copy pages write the same one-question script both ways; the reverse
// one swaps source and destination and says it restores.
std::vector<std::string> TMainFormModel::CopyScriptLines(int page, bool reverse, const TLocalTime& when) const {
  const bool disks = page == 3;
  std::string fromName, toName, from, to;
  if (disks) {
    fromName = YinPanComboBox41.Text();
    toName = YinPanComboBox42.Text();
    from = Number(YinPanComboBox41);
    to = Number(YinPanComboBox42);
  } else {
    fromName = from = PartitionAddress(YinPanComboBox31.ItemIndex, FenQuComboBox31.ItemIndex);
    toName = to = PartitionAddress(YinPanComboBox32.ItemIndex, FenQuComboBox32.ItemIndex);
  }
  if (reverse) {
    std::swap(fromName, toName);
    std::swap(from, to);
  }
  const char* verb = !reverse ? "上的内容拷贝到" : disks ? "上的内容恢复到" : "上的内容还原到";
  const TGhostOptions options = disks ? FinishOptions(fxCheckBox4, rbCheckBox4, froCheckBox4)
                                      : FinishOptions(fxCheckBox3, rbCheckBox3, froCheckBox3);
  return BackupFormScript(GhostDir, "@echo 将" + fromName + verb + toName, std::nullopt, when,
                          GhostCommand(GhostDir, disks ? "copy" : "pcopy", from, to, options));
}

std::string TMainFormModel::ScriptBytes(const std::vector<std::string>& lines) const {
  std::string bytes = EncodeScript(lines);
  CheckGhostCommandTail(lines, GhostDir);
  return bytes;
}

void TMainFormModel::WriteScript(const std::vector<std::string>& lines, const std::string& path) {
  Memo1.Lines = lines;
  FHost.SaveFile(path, ScriptBytes(Memo1.Lines));
}

void TMainFormModel::FQBFBeiFen() { WriteScript(BackupScriptLines(0, FHost.Now()), BeiFenEdit.Text); }
void TMainFormModel::FQBFHuiFu() { WriteScript(RestoreScriptLines(0, FHost.Now()), HuifuEdit.Text); }
void TMainFormModel::YPBFBeiFen() { WriteScript(BackupScriptLines(1, FHost.Now()), BeiFenEdit.Text); }
void TMainFormModel::YPBFHuiFu() { WriteScript(RestoreScriptLines(1, FHost.Now()), HuifuEdit.Text); }
void TMainFormModel::FQDKBeiFen() { WriteScript(BackupScriptLines(2, FHost.Now()), BeiFenEdit.Text); }
void TMainFormModel::FQDKHuiFu() { WriteScript(RestoreScriptLines(2, FHost.Now()), HuifuEdit.Text); }
void TMainFormModel::YPDKBeiFen() { WriteScript(BackupScriptLines(3, FHost.Now()), BeiFenEdit.Text); }
void TMainFormModel::YPDKHuiFu() { WriteScript(RestoreScriptLines(3, FHost.Now()), HuifuEdit.Text); }

// ---------------------------------------------------------------- option toggles, banner, choosers

void TMainFormModel::splitCheckBox1Click() { splitEdit1.Enabled = splitCheckBox1.Checked; }
void TMainFormModel::splitCheckBox2Click() { splitEdit2.Enabled = splitCheckBox2.Checked; }
void TMainFormModel::szeCheckBox2Click() { szeEdit2.Enabled = szeCheckBox2.Checked; }

void TMainFormModel::splitEdit1Change(TEditState& sender) {
  // Digits only: the text goes into the Ghost command as typed, where a
  // blank or a sign would break the option. No upper limit.
  const std::string& text = sender.Text;
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digits || text.find_first_not_of('0') == std::string::npos) PutBack(sender, "1");
}

int TMainFormModel::Timer1Timer(int imageWidth) {
  --BannerX;
  const int drawAt = BannerX;
  if (BannerX < -BannerWidth) BannerX = imageWidth;
  return drawAt;
}

std::string TMainFormModel::WithExtension(const std::string& chosen, const std::string& ext) {
  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  };
  const std::string lowExt = lower(ext);
  return lower(chosen).find(lowExt) != std::string::npos ? chosen : chosen + lowExt;
}

}  // namespace qm
