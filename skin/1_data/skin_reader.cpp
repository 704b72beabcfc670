#include "skin/1_data/skin_reader.h"

#include <cstring>

#include "skin/1_data/lzh.h"
#include "skin/1_data/skin_message.h"

namespace qm {

std::string SkinLowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::vector<std::string> SplitSkinLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0;
  const size_t end = std::min(text.size(), text.find('\0'));
  while (i < end) {
    size_t j = i;
    while (j < end && text[j] != '\r' && text[j] != '\n') ++j;
    lines.push_back(text.substr(i, j - i));
    if (j < end && text[j] == '\r') ++j;
    if (j < end && text[j] == '\n') ++j;
    i = j;
  }
  return lines;
}

namespace {
int32_t ReadInt32(TMemoryStream& s, int32_t fallback) {
  uint8_t b[4];
  if (s.Read(b, 4) != 4) return fallback;
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                              (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
}
}  // namespace

bool TSkinReader::Unpack(TMemoryStream& Source, TMemoryStream& Target) {
  Source.Seek(0);
  Target.Clear();
  const int32_t textSize = ReadInt32(Source, 0);
  if (textSize > MaxDecodedSize) {
    LastError = "declared decoded size exceeds " + std::to_string(MaxDecodedSize) + " bytes";
    return false;
  }
  TLZH lzh;
  const bool whole = lzh.Decode(
      textSize,
      [&Target](const uint8_t* buffer, uint16_t count, uint16_t& actual) {
        Target.Write(buffer, count);
        actual = count;
      },
      [&Source](uint8_t* buffer, uint16_t count, uint16_t& actual) {
        actual = static_cast<uint16_t>(Source.Read(buffer, count));
      });
  // Decoded on from zero bits, the rest would be made-up images and text.
  if (!whole) LastError = "the packed data ends before its " + std::to_string(textSize) + " bytes are decoded";
  return whole;
}

bool TSkinReader::ReadSkin(TMemoryStream& Source) {
  LastError.clear();
  TMemoryStream container;
  if (!Unpack(Source, container)) return false;
  container.Seek(0);
  const uint32_t version = static_cast<uint32_t>(ReadInt32(container, static_cast<int32_t>(PackageVersion)));
  const int32_t namesLength = ReadInt32(container, NamesLength);
  if (version != SkinPackageVersion) {
    PackageVersion = version;
    NamesLength = namesLength;
    LastError = "container version " + std::to_string(version) + " is not " + std::to_string(SkinPackageVersion);
    ShowSkinMessage(SkinOldVersionMessage);
    return false;
  }
  if (namesLength < 0) {
    LastError = "negative member-name length";
    return false;
  }
  // A name text running past the container is cut at its end, like any
  // other short read.
  const size_t namesStart = 16;
  const size_t namesAvailable =
      container.Size() > namesStart ? std::min<size_t>(namesLength, container.Size() - namesStart) : 0;
  std::string text(reinterpret_cast<const char*>(container.Memory()) + (namesAvailable ? namesStart : 0),
                   namesAvailable);
  std::vector<std::string> names = SplitSkinLines(SkinLowerCase(text));
  if (names.size() > static_cast<size_t>(SkinMaxMembers)) {
    LastError = "more than ";
    LastError += std::to_string(SkinMaxMembers);
    LastError += " members";
    return false;
  }
  const int32_t count = static_cast<int32_t>(names.size());
  std::array<int32_t, SkinMaxMembers> sizes = Sizes;
  container.Seek(namesStart + static_cast<size_t>(namesLength));
  for (int32_t i = 0; i < count; ++i) sizes[i] = ReadInt32(container, sizes[i]);
  for (int32_t i = 0; i < count; ++i) {
    if (sizes[i] < 0) {
      LastError = "member " + std::to_string(i) + " has a negative size";
      return false;
    }
  }

  PackageVersion = version;
  NamesLength = namesLength;
  Names = std::move(names);
  Count = count;
  Sizes = sizes;
  Data.Clear();
  const uint64_t dataStart = namesStart + static_cast<uint64_t>(namesLength) + 4ull * static_cast<uint64_t>(count);
  if (dataStart < container.Size())
    Data.Write(container.Memory() + dataStart, container.Size() - static_cast<size_t>(dataStart));
  Data.Seek(0);
  return true;
}

namespace {
// Copies what there is of [offset, offset + size) in data; a member that
// runs past the data block comes out short.
void CopyMember(const TMemoryStream& data, int64_t offset, int32_t size, TMemoryStream& target) {
  const int64_t available = static_cast<int64_t>(data.Size());
  if (size > 0 && offset < available) {
    const int64_t n = std::min<int64_t>(size, available - offset);
    target.Write(data.Memory() + offset, static_cast<size_t>(n));
  }
  target.Seek(0);
}
}  // namespace

void TSkinReader::GetMember(const std::string& Name, TMemoryStream& Target) const {
  Target.Clear();
  const std::string lowered = SkinLowerCase(Name);
  int64_t offset = 0;
  for (int32_t i = 0; i < Count; ++i) {
    if (Names[i] == lowered) {
      CopyMember(Data, offset, Sizes[i], Target);
      return;
    }
    offset += Sizes[i];
  }
}

void TSkinReader::FindMember(const std::string& Fragment, TMemoryStream& Target, std::string& MemberName) const {
  Target.Clear();
  int64_t offset = 0;
  for (int32_t i = 0; i < Count; ++i) {
    if (Names[i].find(Fragment) != std::string::npos) {
      CopyMember(Data, offset, Sizes[i], Target);
      MemberName = Names[i];
      return;
    }
    offset += Sizes[i];
  }
}

}  // namespace qm
