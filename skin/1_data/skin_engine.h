#pragma once
// The skin engine as the skin data components see it. The engine (the skin
// manager with its hook) lives in the layer above them, so they cannot name
// it: its library installs a finder here before the program starts, and a
// component that finishes loading has the engine made through it. Where no
// engine is linked in, the components hold their skins and skin nothing.

#include <windows.h>

namespace qm {

class TSkinData;

// Requests a skin data component makes of the engine.
enum TSkinAction : int { saNone = 0, saSkinOn = 1, saSkinOff = 2, saSkinChanged = 3 };

// How long the engine lets a burst of requests settle before it acts on the
// last one (a component loading sets several properties in a row).
inline constexpr unsigned kSkinActionDelayMs = 250;

class TSkinEngine {
 public:
  virtual void AddSkinData(TSkinData* SkinData) = 0;
  virtual void RemoveSkinData(TSkinData* SkinData) = 0;
  // Starts watching the GUI thread's windows.
  virtual void InstallHook() = 0;
  // Acts on Action after the settling delay; a later request replaces it.
  virtual void RequestAction(int Action, unsigned Interval) = 0;
  // The component the next switch is for.
  virtual void SetPendingSkinData(TSkinData* SkinData) = 0;
  // An sfOnlyThisForm or sfDialog component: skinning is on from now, and
  // its own form (if any) is skinned at once.
  virtual void SkinOwnForm(HWND Form) = 0;

 protected:
  ~TSkinEngine() = default;
};

// The engine: made on first asking when Make is set; null where none is
// linked in, or (without Make) none was made yet.
TSkinEngine* SkinEngine(bool Make);
using TSkinEngineFinder = TSkinEngine* (*)(bool Make);
void SetSkinEngineFinder(TSkinEngineFinder Finder);

}  // namespace qm
