#include "skin/1_data/ini_text.h"

#include <algorithm>
#include <cstdint>

namespace qm {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && IsBlank(s[a])) ++a;
  while (b > a && IsBlank(s[b - 1])) --b;
  return s.substr(a, b - a);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}
}  // namespace

void TIniText::Load(const std::string& text) {
  FSections.clear();
  TSection* current = nullptr;
  // Editors may save the description with a UTF-8 signature; it is not
  // part of the first line.
  size_t i = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && text[j] != '\r' && text[j] != '\n') ++j;
    const std::string line = Trim(text.substr(i, j - i));
    i = j;
    while (i < text.size() && (text[i] == '\r' || text[i] == '\n')) ++i;

    if (line.empty()) continue;
    if (line[0] == '[') {
      const size_t close = line.rfind(']');
      if (close != std::string::npos && close > 0) {
        FSections.push_back({Trim(line.substr(1, close - 1)), {}});
        current = &FSections.back();
        continue;
      }
    }
    // Lines before the first section belong to no section and are never read.
    if (!current) continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) {
      current->Entries.push_back({line, std::string()});
    } else {
      current->Entries.push_back({Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
    }
  }
}

std::vector<std::string> TIniText::ReadSections() const {
  // The names as the platform lays them out in a fixed buffer: each name
  // and its terminator, the last one cut when the buffer runs out.
  const size_t room = SectionNamesBuffer - 2;
  std::vector<std::string> names;
  size_t used = 0;
  for (const auto& s : FSections) {
    // An empty name would end the platform's list; it carries no section.
    if (s.Name.empty()) continue;
    if (used >= room) break;
    const size_t take = std::min(s.Name.size(), room - used);
    names.push_back(s.Name.substr(0, take));
    used += take + 1;
  }
  return names;
}

const TIniText::TSection* TIniText::FindSection(const std::string& name) const {
  for (const auto& s : FSections)
    if (SameTextAscii(s.Name, name)) return &s;
  return nullptr;
}

bool TIniText::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

std::string TIniText::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
  const TSection* s = FindSection(section);
  if (!s) return fallback;
  for (const auto& e : s->Entries) {
    if (!SameTextAscii(e.Key, key)) continue;
    std::string value = e.Value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    if (value.size() > MaxValueLength) value.resize(MaxValueLength);
    return value;
  }
  return fallback;
}

bool ParseIniInteger(const std::string& text, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return false;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    // Eight hex digits reach the whole 32-bit range and wrap into the sign.
    const uint32_t bits = static_cast<uint32_t>(magnitude);
    value = static_cast<int32_t>(negative ? 0u - bits : bits);
    return true;
  }
  if (negative ? magnitude > 2147483648ull : magnitude > 2147483647ull) return false;
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
  return true;
}

int32_t TIniText::ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const {
  int32_t value = 0;
  return ParseIniInteger(ReadString(section, key, std::string()), value) ? value : fallback;
}

}  // namespace qm
