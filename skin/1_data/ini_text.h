#pragma once
// Reads an INI description from memory the way the platform's private
// profile functions read a file: first matching section and key win, names
// compare without letter case, values are trimmed, unquoted and cut to 2047
// characters.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

class TIniText {
 public:
  static constexpr size_t MaxValueLength = 2047;
  static constexpr size_t SectionNamesBuffer = 16384;

  TIniText() = default;
  explicit TIniText(const std::string& text) { Load(text); }
  void Load(const std::string& text);

  // Section names in text order, duplicates included, limited as a
  // 16 KB name buffer limits them.
  std::vector<std::string> ReadSections() const;
  bool SectionExists(const std::string& section) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
  // Decimal with optional sign, or hexadecimal after "0x", "0X" or "$";
  // anything else, or a missing key, gives fallback.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;

 private:
  struct TEntry {
    std::string Key;
    std::string Value;
  };
  struct TSection {
    std::string Name;
    std::vector<TEntry> Entries;
  };
  const TSection* FindSection(const std::string& name) const;
  std::vector<TSection> FSections;
};

// The integer syntax of ReadInteger; false when text is not such a number.
bool ParseIniInteger(const std::string& text, int32_t& value);

}  // namespace qm
