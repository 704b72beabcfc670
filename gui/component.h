#pragma once
// Components: ownership, names, tags, class names and published properties.
//
// Destruction runs in two phases, because C++ takes an object apart from its
// most-derived class down: once a destructor body runs, the parts above it
// are gone and virtual calls no longer reach them. A control skinner owned
// by its control must still be able to touch the whole control while it is
// freed, so everything that needs the whole object happens first:
//   1. Release(), while the object is whole: BeforeDestruction announces it
//      (controls send CM_RELEASE through WindowProc), frees the owned
//      components newest first, and destroys the window.
//   2. delete: the destructors, which only let go of plain members.
// Every way a component dies goes through Release first: Free, an owner
// freeing what it owns, and any std::unique_ptr holding a component, since
// std::default_delete is specialised below for every class derived from
// TComponent (so std::make_unique / std::unique_ptr ownership stays as it
// is). A destructor must therefore not reach owned components: they are
// already gone. The library's own destructors call Release too, so an object
// destroyed without a holder (one on the stack) still gets the first phase,
// from the most-derived library class down; classes of the program that
// need the whole object in that case call Release() first in their own
// destructor.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace gui {
class TComponent;
}

// Every std::unique_ptr of a component releases it before deleting it. The
// test is a pointer conversion, which is defined for incomplete classes too
// (a pimpl's unique_ptr is left alone); a component must therefore be a
// complete class wherever a unique_ptr of it is declared.
namespace std {
template <class T>
  requires is_convertible_v<T*, gui::TComponent*>
struct default_delete<T> {
  constexpr default_delete() noexcept = default;
  template <class U>
    requires is_convertible_v<U*, T*>
  default_delete(const default_delete<U>&) noexcept {}
  void operator()(T* component) const noexcept {
    if (!component) return;
    component->Release();
    delete component;
  }
};
}  // namespace std

namespace gui {

// Declares the familiar class name and extends the membership test, so that
// InheritsFrom("TCustomPanel") is true for a TPanel and for its descendants.
#define QM_GUI_CLASS(Name, Base, ...)                                                  \
 public:                                                                               \
  std::string ClassName() const override { return #Name; }                             \
  bool InheritsFrom(std::string_view n) const override {                               \
    return ::gui::ClassNameIs(n, {#Name __VA_OPT__(, ) __VA_ARGS__}) || Base::InheritsFrom(n); \
  }

// Case-insensitive comparison against any of the given names.
bool ClassNameIs(std::string_view name, std::initializer_list<std::string_view> names);
std::string UpperCase(std::string_view text);

enum class TOperation { opInsert, opRemove };

// csLoading: the owner is still building its components and their stored
// settings; Loaded ends it. csDesigning is never set in this program, but
// components ask for it where a designer would behave differently.
// csDestroying: Release has begun; the object is about to be deleted.
enum TComponentStateFlag : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };

// How a published property reads and writes. Booleans count as enumerated
// (their values are the names "False" and "True").
enum class TPropertyKind { Integer, Enumerated, Text };

struct TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = TPropertyKind::Text;
  std::vector<std::string> EnumNames;  // Enumerated only, by ordinal
  std::function<std::string()> Get;
  std::function<bool(const std::string&)> Set;  // false: value not accepted
};

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  virtual ~TComponent();

  virtual std::string ClassName() const { return "TComponent"; }
  virtual bool InheritsFrom(std::string_view name) const;
  template <class T>
  bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(index).get(); }
  // Owned components, in creation order.
  std::vector<TComponent*> ComponentList() const;
  TComponent* FindComponent(std::string_view name) const;

  // Makes a component owned by this one and returns it; it lives until this
  // component is destroyed or Free is called on it.
  template <class T, class... Args>
  T* Make(Args&&... args) {
    auto made = std::make_unique<T>(this, std::forward<Args>(args)...);
    if (FState & csLoading) made->FState |= csLoading;
    return Adopt(std::move(made));
  }
  // Takes ownership of a component made without owner.
  template <class T>
  T* Adopt(std::unique_ptr<T> component) {
    T* raw = component.get();
    InsertComponent(std::unique_ptr<TComponent>(std::move(component)));
    return raw;
  }
  // Destroys an owned component now; a component without owner cannot be
  // freed this way (its holder's unique_ptr does it). Nothing happens to a
  // component already being destroyed.
  void Free();
  // The first phase of destruction (see the top of this file). Runs once;
  // holders, owners and Free call it, and nothing else needs to.
  void Release();

  std::string Name;
  int Tag = 0;

  unsigned ComponentState() const { return FState; }
  // Starts building: components made from now on are loading as well.
  void BeginLoading() { FState |= csLoading; }
  // Ends building: Loaded runs for every loading component this one owns,
  // in creation order and depth first, and then for this one.
  void FinishLoading();

  // --- published properties by name
  bool HasProperty(std::string_view name) const;
  std::optional<TPropertyKind> PropertyKind(std::string_view name) const;
  std::optional<std::string> GetPropValue(std::string_view name) const;
  bool SetPropValue(std::string_view name, const std::string& value);

 protected:
  // Told when a component is added to or removed from this one's list.
  virtual void Notification(TComponent* component, TOperation operation);
  // Runs once building is complete; descendants act on their settings here.
  virtual void Loaded() { FState &= ~static_cast<unsigned>(csLoading); }
  // Release's work while the object is whole: descendants announce and let
  // go of what they hold outside themselves, calling the base, which frees
  // the owned components.
  virtual void BeforeDestruction();

  void PublishBool(std::string name, std::function<bool()> get, std::function<void(bool)> set);
  void PublishInt(std::string name, std::function<int()> get, std::function<void(int)> set);
  void PublishText(std::string name, std::function<std::string()> get,
                   std::function<void(const std::string&)> set);
  void PublishEnum(std::string name, std::vector<std::string> names, std::function<int()> get,
                   std::function<void(int)> set);

 private:
  void InsertComponent(std::unique_ptr<TComponent> component);
  std::unique_ptr<TComponent> RemoveComponent(TComponent* component);
  const TPropertyInfo* FindProperty(std::string_view name) const;

  TComponent* FOwner;
  unsigned FState = 0;
  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::vector<TPropertyInfo> FProperties;
};

}  // namespace gui
