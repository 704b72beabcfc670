#pragma once
// The main form's stored skin, as the test program's resource holds it (the
// test links the main form's stored values).

#include <windows.h>

#include <cstdint>
#include <vector>

#include "skin_data_stored_values.h"

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

}  // namespace qm::test
