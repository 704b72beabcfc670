#pragma once
// The part of the skin data component that needs no window system: its
// settings with their defaults, the packed skin and its loading, the stored
// binary property SkinStream, and reading the component's stored values.
// The Windows component (win_skin_data.h) adds the GUI-layer component, the
// skin manager requests and the GDI members on top of it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/1_data/memory_stream.h"
#include "skin/1_data/skin_data_stored_values.h"
#include "skin/1_data/skin_data_types.h"
#include "skin/1_data/skin_description.h"

namespace qm {

class TSkinDataCore {
 public:
  TSkinDataCore();
  virtual ~TSkinDataCore() = default;
  TSkinDataCore(const TSkinDataCore&) = delete;
  TSkinDataCore& operator=(const TSkinDataCore&) = delete;

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
  // From the start of every load until it succeeds: activation requests
  // are skipped meanwhile. What is drawn is Skin(), which a load replaces
  // only once it has succeeded.
  bool SkinEmpty = true;
  bool FramePainting = true;

  // The skin of the last load that succeeded (descriptions, colours,
  // images), never changed; null before the first. Whoever paints holds
  // the one it was built from: a later load publishes a new object and
  // leaves the held one whole.
  const std::shared_ptr<const TSkinDescription>& Skin() const { return FSkin; }

  // Unpacks PackedSkin and parses its description into a new skin, which
  // replaces Skin() once it is complete; false when the package is refused
  // (the reader has told the user) or holds no description: SkinEmpty then
  // holds, and Skin() is the one before.
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
  // Makes a complete skin of a packed one, or null when it is refused. The
  // Windows component's skins hold their GDI bitmaps too.
  virtual std::shared_ptr<const TSkinDescription> ParseSkin(TMemoryStream& Packed) const;
  // Publishes Skin as if a load had made it.
  void UseSkin(std::shared_ptr<const TSkinDescription> Skin);

  bool FActive = false;
  bool FReading = false;
  std::string FSkinFile;
  std::vector<std::string> FSkin3rd;

 private:
  std::shared_ptr<const TSkinDescription> FSkin;
  void ApplyStoredValue(const TStoredValue& Value);
};

// The values the main form stores for its skin data component, in storage
// order, around the given packed skin.
std::vector<TStoredValue> MainFormSkinDataValues(const std::vector<uint8_t>& PackedSkin);

}  // namespace qm
