#include "same_file.h"

#include <vector>

namespace qm {

namespace {

// A byte that is not part of valid UTF-8 stands for itself, as a code point
// no valid character can have, so that it never folds onto a letter.
std::u32string Decode(const std::string& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    char32_t c = n == 1 ? lead : n == 2 ? lead & 0x1F : n == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = n != 0 && i + n <= text.size();
    for (size_t k = 1; valid && k < n; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (valid) {
      out += c;
      i += n;
    } else {
      out += static_cast<char32_t>(0x110000 + lead);
      ++i;
    }
  }
  return out;
}

std::string Encode(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c >= 0x110000) {
      out += static_cast<char>(c - 0x110000);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Upper case as the NTFS upcase table has it, for every letter with a case
// that code page 936 can write: ASCII, Latin-1, the pinyin vowels, Greek,
// Cyrillic and the full-width Latin letters.
char32_t Upper(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
    return c - 0x20;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  // Pairs in Latin Extended-A and -B: upper case first, on an even code
  // point in some runs and an odd one in others.
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x1CD && c <= 0x1DC))
    return (c & 1) ? c : c - 1;
  return c;
}

enum class TRootKind { None, Rooted, Drive, DriveRelative, Unc };

struct TSplitPath {
  TRootKind Kind = TRootKind::None;
  std::u32string Root;  // "C:" or "\\SERVER\SHARE", upper case
  std::vector<std::u32string> Parts;
};

bool IsRelative(TRootKind kind) { return kind == TRootKind::None || kind == TRootKind::DriveRelative; }

bool IsLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Appends the names of rest, resolving "." and ".." and dropping what
// Windows drops: empty names between doubled separators, and dots and
// blanks at the end of a name.
void AddParts(std::vector<std::u32string>& parts, const std::u32string& rest, bool relative) {
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find(U'\\', start);
    if (end == std::u32string::npos) end = rest.size();
    std::u32string name = rest.substr(start, end - start);
    start = end + 1;
    if (name == U".") continue;
    if (name == U"..") {
      // Above the root is the root; above a relative start stays unknown.
      if (!parts.empty() && parts.back() != U"..") parts.pop_back();
      else if (relative) parts.push_back(name);
      continue;
    }
    while (!name.empty() && (name.back() == U'.' || name.back() == U' ')) name.pop_back();
    if (name.empty()) continue;
    for (char32_t& c : name) c = Upper(c);
    parts.push_back(name);
  }
}

TSplitPath Split(const std::string& path) {
  std::u32string p = Decode(path);
  for (char32_t& c : p)
    if (c == U'/') c = U'\\';
  // \\?\ and \\.\ only turn off the parsing done below; the file is the same.
  if (p.rfind(U"\\\\?\\", 0) == 0 || p.rfind(U"\\\\.\\", 0) == 0) {
    p.erase(0, 4);
    if (p.size() >= 4 && Upper(p[0]) == U'U' && Upper(p[1]) == U'N' && Upper(p[2]) == U'C' && p[3] == U'\\')
      p.replace(0, 4, U"\\\\");
  }
  TSplitPath split;
  std::u32string rest = p;
  if (p.rfind(U"\\\\", 0) == 0) {
    // \\server\share: both names belong to the root.
    size_t server = p.find(U'\\', 2);
    size_t share = server == std::u32string::npos ? p.size() : p.find(U'\\', server + 1);
    if (share == std::u32string::npos) share = p.size();
    split.Kind = TRootKind::Unc;
    split.Root = p.substr(0, share);
    for (char32_t& c : split.Root) c = Upper(c);
    rest = share < p.size() ? p.substr(share + 1) : std::u32string();
  } else if (p.size() >= 2 && IsLetter(p[0]) && p[1] == U':') {
    split.Root = {Upper(p[0]), U':'};
    split.Kind = p.size() > 2 && p[2] == U'\\' ? TRootKind::Drive : TRootKind::DriveRelative;
    rest = p.substr(2);
  } else if (!p.empty() && p[0] == U'\\') {
    split.Kind = TRootKind::Rooted;
  }
  AddParts(split.Parts, rest, IsRelative(split.Kind));
  return split;
}

// A relative path gets no separator ahead of its first name, so that it
// never equals a rooted one.
std::string Join(const TSplitPath& split) {
  const bool relative = IsRelative(split.Kind);
  std::u32string key = split.Root;
  for (size_t i = 0; i < split.Parts.size(); ++i) {
    if (i > 0 || !relative) key += U'\\';
    key += split.Parts[i];
  }
  if (split.Parts.empty() && !relative) key += U'\\';
  return Encode(key);
}

}  // namespace

std::string PathKey(const std::string& path, const std::string& folder) {
  const TSplitPath split = Split(path);
  if (folder.empty()) return Join(split);
  switch (split.Kind) {
    case TRootKind::None:
      return Join(Split(folder + "\\" + path));
    case TRootKind::Rooted: {
      // "\QM\x.bat" is on the folder's drive or share.
      const TSplitPath base = Split(folder);
      if (base.Kind != TRootKind::Drive && base.Kind != TRootKind::Unc) return Join(split);
      return Join(Split(Encode(base.Root) + path));
    }
    case TRootKind::DriveRelative: {
      // The current folder of another drive is not the program's.
      const TSplitPath base = Split(folder);
      if (base.Kind != TRootKind::Drive || base.Root != split.Root) return Join(split);
      return Join(Split(folder + "\\" + path.substr(2)));
    }
    default:
      return Join(split);
  }
}

bool NameSameFile(const std::string& a, const TPathFacts& aFacts, const std::string& b, const TPathFacts& bFacts,
                  const std::string& folder) {
  if (PathKey(a, folder) == PathKey(b, folder)) return true;
  if (!aFacts.LongPath.empty() && !bFacts.LongPath.empty() &&
      PathKey(aFacts.LongPath, {}) == PathKey(bFacts.LongPath, {}))
    return true;
  return !aFacts.FileId.empty() && aFacts.FileId == bFacts.FileId;
}

}  // namespace qm
