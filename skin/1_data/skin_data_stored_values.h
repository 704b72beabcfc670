#pragma once
// The stored values of a component as the program carries them (the main
// form's skin data is embedded as a resource in this form):
//
//   "QMSV" signature, then records in storage order, then one 0 byte.
//   record = name length (1 byte, 1..255), name (ASCII),
//            kind (1 byte), value:
//     1 Boolean      1 byte, 0 or 1
//     2 Integer      signed 32-bit little-endian
//     3 Text         32-bit length, UTF-8 bytes
//     4 Lines        32-bit count, then per line 32-bit length and bytes
//     5 Set          3 bytes, bit n of the little-endian value = member n
//     6 Enumeration  1-byte length, identifier (e.g. "sfMainform")
//     7 Binary       32-bit length, bytes (the property's own layout)
//
// All counts and lengths are unsigned little-endian; a reader refuses
// anything that runs past the end instead of guessing.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm {

enum class TStoredKind : uint8_t { Boolean = 1, Integer, Text, Lines, Set, Enumeration, Binary };

struct TStoredValue {
  std::string Name;
  TStoredKind Kind = TStoredKind::Boolean;
  bool Bool = false;
  int32_t Int = 0;  // Integer, and the bits of a Set
  std::string Text; // Text, and the identifier of an Enumeration
  std::vector<std::string> Lines;
  std::vector<uint8_t> Bytes;

  static TStoredValue Boolean(std::string name, bool v);
  static TStoredValue Integer(std::string name, int32_t v);
  static TStoredValue String(std::string name, std::string v);
  static TStoredValue StringList(std::string name, std::vector<std::string> v);
  static TStoredValue SetOf(std::string name, uint32_t bits);
  static TStoredValue Enum(std::string name, std::string identifier);
  static TStoredValue Binary(std::string name, std::vector<uint8_t> v);
};

class EStoredValuesError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::vector<uint8_t> WriteStoredValues(const std::vector<TStoredValue>& values);
// Throws EStoredValuesError for a stream that is not in the layout above.
std::vector<TStoredValue> ReadStoredValues(const uint8_t* data, size_t size);

}  // namespace qm
