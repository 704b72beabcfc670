#include "skin/1_data/win_skin_data.h"

#include <stdexcept>

#include "gui/forms.h"
#include "skin/1_data/skin_engine.h"
#include "skin/1_data/skin_message.h"

namespace qm {

namespace {

// The package reader's one message (an outdated container) is a modal box
// in the program, titled like every other message of it.
void ShowSkinMessageBox(const std::string& text) {
  MessageBoxW(nullptr, gui::Widen(text).c_str(), gui::Widen(gui::Application().Title).c_str(), MB_OK | MB_ICONWARNING);
}
const bool MessageBoxInstalled = (SetSkinMessageHandler(&ShowSkinMessageBox), true);

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> out;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) out.push_back(line);
  return out;
}

TSkinEngineFinder EngineFinder = nullptr;

}  // namespace

TSkinEngine* SkinEngine(bool Make) { return EngineFinder ? EngineFinder(Make) : nullptr; }

void SetSkinEngineFinder(TSkinEngineFinder Finder) { EngineFinder = Finder; }

TSkinData::TSkinData(gui::TComponent* Owner)
    : gui::TComponent(Owner),
      MenuImages(std::make_unique<gui::TImageList>(16, 16)),
      DefaultIcon(std::make_unique<gui::TBitmap>()) {
  (void)MessageBoxInstalled;
  gui::TBitmap glyphs;
  glyphs.LoadFromResourceName(GetModuleHandleW(nullptr), L"LACQUERMENU");
  MenuImages->AddMasked(glyphs, gui::clWhite);
  PublishProperties();
}

TSkinData::~TSkinData() {
  // First, while all of this skin is whole: its skinners still paint from it
  // as they give their windows back.
  if (TSkinEngine* engine = SkinEngine(false)) engine->RemoveSkinData(this);
  MenuImages.reset();
}

void TSkinData::PublishProperties() {
  PublishBool("Active", [this] { return Active(); }, [this](bool v) { SetActive(v); });
  PublishInt("DisableTag", [this] { return DisableTag; }, [this](int v) { DisableTag = v; });
  PublishText(
      "SkinControls", [this] { return SkinControlsText(SkinControls); },
      [this](const std::string& v) { SkinControlsFromText(v, SkinControls); });
  PublishText("Skin3rd", [this] { return JoinLines(Skin3rd()); },
              [this](const std::string& v) { SetSkin3rd(SplitLines(v)); });
  PublishText("SkinFile", [this] { return SkinFile(); }, [this](const std::string& v) { SetSkinFile(v); });
  PublishText("SkinStore", [this] { return GetSkinStore(); }, [this](const std::string& v) { SetSkinStore(v); });
  PublishEnum(
      "SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog"}, [this] { return static_cast<int>(SkinFormtype); },
      [this](int v) { SkinFormtype = static_cast<TSkinFormType>(v); });
  PublishText("Version", [this] { return Version; }, [this](const std::string& v) { Version = v; });
  PublishBool("MenuUpdate", [this] { return MenuUpdate; }, [this](bool v) { MenuUpdate = v; });
}

std::string TSkinData::SkinControlsText(TSkinControlTypes Controls) {
  std::string out = "[";
  for (int i = 0; i < SkinControlTypeCount; ++i) {
    const auto t = static_cast<TSkinControlType>(i);
    if (!Controls.Contains(t)) continue;
    if (out.size() > 1) out += ',';
    out += SkinControlTypeName(t);
  }
  return out + "]";
}

bool TSkinData::SkinControlsFromText(const std::string& Text, TSkinControlTypes& Controls) {
  std::string body = Text;
  if (body.size() < 2 || body.front() != '[' || body.back() != ']') return false;
  body = body.substr(1, body.size() - 2);
  TSkinControlTypes result;
  size_t start = 0;
  while (start <= body.size() && !body.empty()) {
    size_t end = body.find(',', start);
    if (end == std::string::npos) end = body.size();
    std::string name = body.substr(start, end - start);
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    bool known = false;
    for (int i = 0; i < SkinControlTypeCount && !known; ++i)
      if (name == SkinControlTypeName(static_cast<TSkinControlType>(i))) {
        result.Include(static_cast<TSkinControlType>(i));
        known = true;
      }
    if (!known) return false;  // the whole value is refused, the set unchanged
    start = end + 1;
  }
  Controls = result;
  return true;
}

void TSkinData::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (FReading) return;  // Loaded takes over
  if (SkinFormtype == TSkinFormType::sfDialog) return;
  // A component made at run time has no engine until it is loaded; make
  // it now rather than ask an engine that does not exist.
  if (!SkinEngine(false)) Loaded();
  TSkinEngine* engine = SkinEngine(false);
  if (!engine) return;
  const int action = Value ? saSkinOn : saSkinOff;
  if (SkinFormtype == TSkinFormType::sfMainform) {
    if (Value && SkinEmpty) return;
    engine->RequestAction(action, kSkinActionDelayMs);
    engine->SetPendingSkinData(this);
  } else {
    engine->SetPendingSkinData(this);
    if (Value && SkinEmpty) return;
    engine->RequestAction(action, kSkinActionDelayMs);
  }
}

void TSkinData::SetSkinFile(const std::string& Value) {
  SkinEmpty = true;
  FSkinFile = Value;
  if (LoadSkinFile(Value)) ApplySkin();
}

void TSkinData::Loaded() {
  gui::TComponent::Loaded();
  FReading = false;
  TSkinEngine* engine = SkinEngine(true);
  if (!engine) return;
  engine->AddSkinData(this);
  if (SkinFormtype != TSkinFormType::sfMainform) {
    auto* form = dynamic_cast<gui::TCustomForm*>(Owner());
    engine->SkinOwnForm(form ? form->Handle() : nullptr);
    return;
  }
  engine->InstallHook();
  if (FActive) {
    if (SkinEmpty)
      FActive = false;  // nothing to show: the form stays unskinned
    else
      engine->RequestAction(saSkinOn, kSkinActionDelayMs);
  }
}

void TSkinData::ApplySkin() {
  if (FReading) return;
  if (!SkinEngine(false)) Loaded();
  if (TSkinEngine* engine = SkinEngine(false)) {
    engine->SetPendingSkinData(this);
    engine->RequestAction(saSkinChanged, kSkinActionDelayMs);
  }
}

void TSkinData::DoFormSkin(const std::string& aName, bool& DoSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, aName, DoSkin);
    return;
  }
  DoSkin = FormSkinAllowed(aName, SkinControls, DoSkin);
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

std::shared_ptr<const TSkinDescription> TSkinData::ParseSkin(TMemoryStream& Packed) const {
  // A skin whose bitmaps GDI cannot make is not published: the error goes
  // on to the caller, and the windows keep drawing the skin they have.
  return TLoadedSkin::Load(Packed);
}

void ReadStoredValuesFromResource(TSkinData& SkinData, HINSTANCE Instance, const wchar_t* ResourceName) {
  HRSRC found = FindResourceW(Instance, ResourceName, MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(Instance, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw std::runtime_error("the program carries no stored skin data (resource missing)");
  SkinData.ReadStoredValues(static_cast<const uint8_t*>(data), SizeofResource(Instance, found));
}

}  // namespace qm
