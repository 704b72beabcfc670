#include "skin/1_data/skin_data_core.h"

#include <filesystem>

namespace qm {

namespace {

std::vector<uint8_t> SkinStreamBytes(const std::vector<uint8_t>& packed) {
  TMemoryStream s;
  const int32_t n = static_cast<int32_t>(packed.size());
  s.Write(&n, 4);  // the platforms this runs on are little-endian
  if (n > 0) s.Write(packed.data(), packed.size());
  return s.Bytes();
}

const char* KindName(TStoredKind k) {
  switch (k) {
    case TStoredKind::Boolean: return "Boolean";
    case TStoredKind::Integer: return "Integer";
    case TStoredKind::Text: return "Text";
    case TStoredKind::Lines: return "Lines";
    case TStoredKind::Set: return "Set";
    case TStoredKind::Enumeration: return "Enumeration";
    case TStoredKind::Binary: return "Binary";
  }
  return "unknown";
}

struct TPropertyShape {
  const char* Name;
  TStoredKind Kind;
};
constexpr TPropertyShape StoredProperties[] = {
    {"Active", TStoredKind::Boolean},       {"DisableTag", TStoredKind::Integer},
    {"SkinControls", TStoredKind::Set},     {"Skin3rd", TStoredKind::Lines},
    {"SkinFile", TStoredKind::Text},        {"SkinStore", TStoredKind::Text},
    {"SkinFormtype", TStoredKind::Enumeration}, {"Version", TStoredKind::Text},
    {"MenuUpdate", TStoredKind::Boolean},   {"SkinStream", TStoredKind::Binary},
};

void CheckShape(const TStoredValue& v) {
  for (const auto& p : StoredProperties)
    if (v.Name == p.Name) {
      if (v.Kind != p.Kind)
        throw EStoredValuesError("property " + v.Name + " is stored as " + KindName(v.Kind) + ", not as " +
                                 KindName(p.Kind));
      TSkinFormType t;
      if (v.Kind == TStoredKind::Enumeration && !SkinFormTypeFromName(v.Text, t))
        throw EStoredValuesError("property " + v.Name + " has no value " + v.Text);
      return;
    }
  throw EStoredValuesError("the skin data component has no property " + v.Name);
}

}  // namespace

TSkinDataCore::TSkinDataCore() : FSkin3rd(DefaultSkin3rd()) {}

void TSkinDataCore::SetSkinFile(const std::string& Value) {
  SkinEmpty = true;
  FSkinFile = Value;
  LoadSkinFile(Value);
}

bool TSkinDataCore::LoadSkinFile(const std::string& Path) {
  std::error_code ec;
  const std::filesystem::path path(std::u8string(Path.begin(), Path.end()));
  if (Path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
  TMemoryStream file;
  if (!file.LoadFromFile(Path)) return false;
  PackedSkin = std::move(file);
  LoadSkin();
  return true;
}

bool TSkinDataCore::LoadSkin() {
  SkinEmpty = true;
  PackedSkin.Seek(0);
  std::shared_ptr<const TSkinDescription> skin = ParseSkin(PackedSkin);
  if (!skin) return false;
  UseSkin(std::move(skin));
  return true;
}

std::shared_ptr<const TSkinDescription> TSkinDataCore::ParseSkin(TMemoryStream& Packed) const {
  auto skin = std::make_shared<TSkinDescription>();
  if (!skin->LoadPackage(Packed)) return nullptr;
  return skin;
}

void TSkinDataCore::UseSkin(std::shared_ptr<const TSkinDescription> Skin) {
  FSkin = std::move(Skin);
  SkinEmpty = !FSkin;
}

void TSkinDataCore::ReadSkinStream(TMemoryStream& Stream) {
  int32_t n = 0;
  if (Stream.Read(&n, 4) != 4 || n <= 0) return;
  // A short value is a damaged form stream: keep the component empty
  // rather than parse a truncated skin, and do not take a size the stream
  // cannot hold at its word before allocating for it.
  const size_t left = Stream.Size() > Stream.Position() ? Stream.Size() - Stream.Position() : 0;
  if (static_cast<size_t>(n) > left) return;
  std::vector<uint8_t> bytes(static_cast<size_t>(n));
  if (Stream.Read(bytes.data(), bytes.size()) != bytes.size()) return;
  PackedSkin = TMemoryStream(std::move(bytes));
  LoadSkin();
}

void TSkinDataCore::WriteSkinStream(TMemoryStream& Stream) const {
  const auto bytes = SkinStreamBytes(PackedSkin.Bytes());
  Stream.Write(bytes.data(), bytes.size());
}

void TSkinDataCore::ReadStoredValues(const uint8_t* Data, size_t Size) {
  const std::vector<TStoredValue> values = qm::ReadStoredValues(Data, Size);
  for (const auto& v : values) CheckShape(v);
  FReading = true;
  for (const auto& v : values) ApplyStoredValue(v);
}

void TSkinDataCore::ApplyStoredValue(const TStoredValue& v) {
  if (v.Name == "Active") SetActive(v.Bool);
  else if (v.Name == "DisableTag") DisableTag = v.Int;
  else if (v.Name == "SkinControls") SkinControls = TSkinControlTypes::FromBits(static_cast<uint32_t>(v.Int));
  else if (v.Name == "Skin3rd") SetSkin3rd(v.Lines);
  else if (v.Name == "SkinFile") SetSkinFile(v.Text);
  else if (v.Name == "SkinStore") SetSkinStore(v.Text);
  else if (v.Name == "SkinFormtype") SkinFormTypeFromName(v.Text, SkinFormtype);
  else if (v.Name == "Version") Version = v.Text;
  else if (v.Name == "MenuUpdate") MenuUpdate = v.Bool;
  else if (v.Name == "SkinStream") {
    TMemoryStream s(v.Bytes);
    ReadSkinStream(s);
  }
}

std::vector<TStoredValue> MainFormSkinDataValues(const std::vector<uint8_t>& PackedSkin) {
  return {
      TStoredValue::Boolean("Active", true),
      TStoredValue::Integer("DisableTag", DefaultDisableTag),
      TStoredValue::SetOf("SkinControls", DefaultSkinControls.Bits()),
      TStoredValue::StringList("Skin3rd", DefaultSkin3rd()),
      TStoredValue::String("SkinStore", "(Good)"),
      TStoredValue::Enum("SkinFormtype", SkinFormTypeName(TSkinFormType::sfMainform)),
      TStoredValue::String("Version", SkinEngineVersion),
      TStoredValue::Boolean("MenuUpdate", true),
      TStoredValue::Binary("SkinStream", SkinStreamBytes(PackedSkin)),
  };
}

}  // namespace qm
