#include "component.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace gui {

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool ClassNameIs(std::string_view name, std::initializer_list<std::string_view> names) {
  const std::string upper = UpperCase(name);
  return std::any_of(names.begin(), names.end(), [&](std::string_view n) { return UpperCase(n) == upper; });
}

TComponent::TComponent(TComponent* owner) : FOwner(owner) {
  PublishText("Name", [this] { return Name; }, [this](const std::string& v) { Name = v; });
  PublishInt("Tag", [this] { return Tag; }, [this](int v) { Tag = v; });
}

TComponent::~TComponent() { Release(); }

void TComponent::Release() {
  if (FState & csDestroying) return;
  FState |= csDestroying;
  BeforeDestruction();
}

void TComponent::BeforeDestruction() {
  // Newest first, so that a component never outlives what it was built on.
  // Each one is released while it is still in the list, so it can still
  // reach this owner, and only then taken out and deleted.
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back().get();
    last->Release();
    RemoveComponent(last).reset();
  }
}

bool TComponent::InheritsFrom(std::string_view name) const { return ClassNameIs(name, {"TComponent", "TPersistent", "TObject"}); }

std::vector<TComponent*> TComponent::ComponentList() const {
  std::vector<TComponent*> list;
  list.reserve(FComponents.size());
  for (const auto& c : FComponents) list.push_back(c.get());
  return list;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  const std::string upper = UpperCase(name);
  for (const auto& c : FComponents)
    if (!c->Name.empty() && UpperCase(c->Name) == upper) return c.get();
  return nullptr;
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  if (!component) throw std::invalid_argument("no component to insert");
  component->FOwner = this;
  TComponent* raw = component.get();
  FComponents.push_back(std::move(component));
  Notification(raw, TOperation::opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find_if(FComponents.begin(), FComponents.end(),
                         [&](const auto& c) { return c.get() == component; });
  if (it == FComponents.end()) return nullptr;
  std::unique_ptr<TComponent> out = std::move(*it);
  FComponents.erase(it);
  Notification(component, TOperation::opRemove);
  out->FOwner = nullptr;
  return out;
}

void TComponent::Free() {
  if (FState & csDestroying) return;  // already on its way out
  if (!FOwner) throw std::logic_error("a component without owner is freed by its holder");
  Release();
  std::unique_ptr<TComponent> self = FOwner->RemoveComponent(this);
  self.reset();  // destroys this object: nothing may follow
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::FinishLoading() {
  // A Loaded step may add components; index so the list may grow.
  for (size_t i = 0; i < FComponents.size(); ++i)
    if (FComponents[i]->FState & csLoading) FComponents[i]->FinishLoading();
  if (FState & csLoading) Loaded();
}

// --- published properties

const TPropertyInfo* TComponent::FindProperty(std::string_view name) const {
  const std::string upper = UpperCase(name);
  // Later publications override earlier ones, so descendants can refine.
  for (auto it = FProperties.rbegin(); it != FProperties.rend(); ++it)
    if (UpperCase(it->Name) == upper) return &*it;
  return nullptr;
}

bool TComponent::HasProperty(std::string_view name) const { return FindProperty(name) != nullptr; }

std::optional<TPropertyKind> TComponent::PropertyKind(std::string_view name) const {
  const TPropertyInfo* p = FindProperty(name);
  if (!p) return std::nullopt;
  return p->Kind;
}

std::optional<std::string> TComponent::GetPropValue(std::string_view name) const {
  const TPropertyInfo* p = FindProperty(name);
  if (!p) return std::nullopt;
  return p->Get();
}

bool TComponent::SetPropValue(std::string_view name, const std::string& value) {
  const TPropertyInfo* p = FindProperty(name);
  return p && p->Set(value);
}

void TComponent::PublishEnum(std::string name, std::vector<std::string> names, std::function<int()> get,
                             std::function<void(int)> set) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::Enumerated;
  info.EnumNames = std::move(names);
  const std::vector<std::string> values = info.EnumNames;
  info.Get = [values, get] {
    const int v = get();
    return v >= 0 && v < static_cast<int>(values.size()) ? values[v] : std::to_string(v);
  };
  info.Set = [values, set](const std::string& text) {
    const std::string upper = UpperCase(text);
    for (size_t i = 0; i < values.size(); ++i)
      if (UpperCase(values[i]) == upper) {
        set(static_cast<int>(i));
        return true;
      }
    return false;
  };
  FProperties.push_back(std::move(info));
}

void TComponent::PublishBool(std::string name, std::function<bool()> get, std::function<void(bool)> set) {
  PublishEnum(std::move(name), {"False", "True"}, [get] { return get() ? 1 : 0; },
              [set](int v) { set(v != 0); });
}

void TComponent::PublishInt(std::string name, std::function<int()> get, std::function<void(int)> set) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::Integer;
  info.Get = [get] { return std::to_string(get()); };
  info.Set = [set](const std::string& text) {
    int v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || text.empty()) return false;
    set(v);
    return true;
  };
  FProperties.push_back(std::move(info));
}

void TComponent::PublishText(std::string name, std::function<std::string()> get,
                             std::function<void(const std::string&)> set) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::Text;
  info.Get = std::move(get);
  info.Set = [set](const std::string& text) {
    set(text);
    return true;
  };
  FProperties.push_back(std::move(info));
}

}  // namespace gui
