#pragma once
// The object of this process that stands behind a window handle. A window
// property would say the same, but under Wine reading one is a round trip
// to the window server, and these are read on every message a window gets.

#include <windows.h>

#include <mutex>
#include <unordered_map>

namespace gui {

template <class T>
class TWindowTable {
 public:
  T* Find(HWND window) const {
    if (!window) return nullptr;
    std::lock_guard<std::mutex> lock(FLock);
    const auto it = FObjects.find(window);
    return it == FObjects.end() ? nullptr : it->second;
  }
  void Set(HWND window, T* object) {
    std::lock_guard<std::mutex> lock(FLock);
    FObjects[window] = object;
  }
  // Forgets the window only while it still stands for this object.
  void Forget(HWND window, const T* object) {
    std::lock_guard<std::mutex> lock(FLock);
    const auto it = FObjects.find(window);
    if (it != FObjects.end() && it->second == object) FObjects.erase(it);
  }

 private:
  mutable std::mutex FLock;  // windows of other threads of the process too
  std::unordered_map<HWND, T*> FObjects;
};

}  // namespace gui
