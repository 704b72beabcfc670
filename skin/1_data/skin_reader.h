#pragma once
// TSkinReader expands a packed skin (LZH over a container of named members:
// BMP images and one INI description) and hands out members by name.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/1_data/memory_stream.h"

namespace qm {

inline constexpr uint32_t SkinPackageVersion = 20000;
inline constexpr int SkinMaxMembers = 1001;
// No skin comes near this; a larger declared size is a damaged or hostile
// package and is refused before anything is allocated for it.
inline constexpr int64_t SkinMaxDecodedSize = 64 * 1024 * 1024;
inline constexpr const char* SkinOldVersionMessage = "This is Older Skin File\rPlease update to new version !";

class TSkinReader {
 public:
  std::vector<std::string> Names;  // lower case, container order
  int32_t Count = 0;
  std::array<int32_t, SkinMaxMembers> Sizes{};
  TMemoryStream Data;  // the member data block
  uint32_t PackageVersion = 0;
  int32_t NamesLength = 0;

  // Upper bound for the declared decoded size; tests and fuzzing lower it.
  int64_t MaxDecodedSize = SkinMaxDecodedSize;
  // Why the last ReadSkin refused the package (empty after success).
  std::string LastError;

  // True when the container was accepted. An outdated version shows the
  // version message; a damaged container is refused without touching the
  // directory. Decoder memory failures raise ElzhException.
  bool ReadSkin(TMemoryStream& Source);
  // The LZH step alone; false, with LastError set, when the declared size
  // exceeds MaxDecodedSize (Target left empty) or the code ends before that
  // size is decoded (a cut file: Target holds what the missing bits would
  // decode to as zeros).
  bool Unpack(TMemoryStream& Source, TMemoryStream& Target);
  // Case-insensitive exact lookup; Target is left empty when nothing matches.
  void GetMember(const std::string& Name, TMemoryStream& Target) const;
  // First member whose name contains Fragment (case-sensitive); MemberName
  // is only changed on a hit.
  void FindMember(const std::string& Fragment, TMemoryStream& Target, std::string& MemberName) const;
};

// ASCII-only lower case, as member names are compared.
std::string SkinLowerCase(std::string text);
// Splits like a string list: CR, LF or CR LF end a line, a final break adds
// no empty line, a NUL ends the text.
std::vector<std::string> SplitSkinLines(const std::string& text);

}  // namespace qm
