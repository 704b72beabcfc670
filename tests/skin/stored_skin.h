#pragma once
// The main form's stored skin, as the test program's resource holds it (the
// test links the main form's stored values), and skins edited from it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "skin/1_data/loaded_skin.h"
#include "skin/1_data/skin_data_stored_values.h"
#include "skin/1_data/win_skin_data.h"

namespace qm::test {

// The main form's stored values, byte for byte.
inline std::vector<uint8_t> StoredMainFormValues() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  HRSRC r = FindResourceW(inst, L"MAINFORM_SKINDATA1", MAKEINTRESOURCEW(10));
  const auto* p = static_cast<const uint8_t*>(LockResource(LoadResource(inst, r)));
  return {p, p + SizeofResource(inst, r)};
}

// The packed skin inside them: SkinStream is [N][packed], stored last.
inline std::vector<uint8_t> PackedStoredSkin() {
  const auto bytes = StoredMainFormValues();
  const auto stored = ReadStoredValues(bytes.data(), bytes.size());
  const auto& stream = stored.back().Bytes;
  return {stream.begin() + 4, stream.end()};
}

// The stored skin with Edit applied to its descriptions before its bitmaps
// are made.
inline std::shared_ptr<const TLoadedSkin> EditedStoredSkin(const std::function<void(TSkinDescription&)>& Edit) {
  TSkinDescription parsed;
  TMemoryStream packed(PackedStoredSkin());
  if (!parsed.LoadPackage(packed)) return nullptr;
  Edit(parsed);
  return std::make_shared<const TLoadedSkin>(std::move(parsed));
}

// Gives a skin data component Skin as if it had loaded it. The skinners go
// on with theirs until they are told the skin changed.
inline void UseSkin(TSkinData& SkinData, std::shared_ptr<const TLoadedSkin> Skin) {
  struct TAccess : TSkinData {
    static void Use(TSkinData& sd, std::shared_ptr<const TLoadedSkin> s) { (sd.*&TAccess::UseSkin)(std::move(s)); }
  };
  TAccess::Use(SkinData, std::move(Skin));
}

}  // namespace qm::test
