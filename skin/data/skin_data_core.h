#pragma once
// The part of the skin data component that needs no window system: its
// settings with their defaults, the packed skin and its loading, the stored
// binary property SkinStream, and reading the component's stored values.
// The Windows component (win_skin_data.h) adds the GUI-layer component, the
// skin manager requests and the GDI members on top of it.

#include <cstdint>
#include <string>
#include <vector>

#include "memory_stream.h"
#include "skin_data_stored_values.h"
#include "skin_data_types.h"
#include "skin_description.h"

namespace qm {

class TSkinDataCore : public TSkinDescription {
 public:
  TSkinDataCore();
  ~TSkinDataCore() override = default;

  // --- published settings
  bool Active() const { return FActive; }
  // The Windows component turns a change into a skin manager request.
  virtual void SetActive(bool Value) { FActive = Value; }
  int32_t DisableTag = DefaultDisableTag;
  TSkinControlTypes SkinControls = DefaultSkinControls;
  const std::vector<std::string>& Skin3rd() const { return FSkin3rd; }
  // Copies the lines: later changes to the source do not reach the component.
  void SetSkin3rd(const std::vector<std::string>& Lines) { FSkin3rd = Lines; }
  const std::string& SkinFile() const { return FSkinFile; }
  // Loads the packed skin the file holds; a file that does not exist changes
  // nothing but leaves the component empty until the next load.
  virtual void SetSkinFile(const std::string& Value);
  // Shows whether a skin is stored only in a designer, which this system
  // does not have; writing it has no effect.
  std::string GetSkinStore() const { return "(none)"; }
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype = TSkinFormType::sfMainform;
  std::string Version = SkinEngineVersion;
  bool MenuUpdate = true;

  // --- members the skinners use
  TMemoryStream PackedSkin;
  bool SkinEmpty = true;
  bool FramePainting = true;

  // Unpacks PackedSkin and parses its description; false when the package
  // is refused (the reader has told the user) or holds no description, and
  // the component then stays empty.
  bool LoadSkin();

  // SkinStream: N (signed 32-bit little-endian), then N bytes of packed
  // skin. N <= 0, or fewer than N bytes, loads nothing.
  void ReadSkinStream(TMemoryStream& Stream);
  void WriteSkinStream(TMemoryStream& Stream) const;

  // Applies stored values in their order, as when the owner form is read;
  // the component counts as being read from then until Loaded. Throws
  // EStoredValuesError for a property it does not have or a value of the
  // wrong kind, before changing anything.
  void ReadStoredValues(const uint8_t* Data, size_t Size);
  bool Reading() const { return FReading; }

 protected:
  // Reads the whole file into PackedSkin and loads it; false when there is
  // no such file (nothing else changes then).
  bool LoadSkinFile(const std::string& Path);
  // Runs after every successful load (the Windows component remakes its
  // face-colour brush here).
  virtual void SkinLoaded() {}

  bool FActive = false;
  bool FReading = false;
  std::string FSkinFile;
  std::vector<std::string> FSkin3rd;

 private:
  void ApplyStoredValue(const TStoredValue& Value);
};

// The values the main form stores for its skin data component, in storage
// order, around the given packed skin.
std::vector<TStoredValue> MainFormSkinDataValues(const std::vector<uint8_t>& PackedSkin);

}  // namespace qm
