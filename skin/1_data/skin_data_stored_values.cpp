#include "skin/1_data/skin_data_stored_values.h"

#include <cstring>

namespace qm {

namespace {

constexpr char Signature[4] = {'Q', 'M', 'S', 'V'};

class TValueWriter {
 public:
  void Byte(uint8_t b) { FOut.push_back(b); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Raw(const void* p, size_t n) {
    auto* b = static_cast<const uint8_t*>(p);
    FOut.insert(FOut.end(), b, b + n);
  }
  void Sized(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    Raw(s.data(), s.size());
  }
  std::vector<uint8_t> Take() { return std::move(FOut); }

 private:
  std::vector<uint8_t> FOut;
};

class TReader {
 public:
  TReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
  bool AtEnd() const { return FPos >= FSize; }
  const uint8_t* Take(size_t n, const char* what) {
    if (n > FSize - FPos) throw EStoredValuesError(std::string("stored values end inside ") + what);
    const uint8_t* p = FData + FPos;
    FPos += n;
    return p;
  }
  uint8_t Byte(const char* what) { return *Take(1, what); }
  uint32_t U32(const char* what) {
    const uint8_t* p = Take(4, what);
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
  }
  std::string Text(size_t n, const char* what) {
    const uint8_t* p = Take(n, what);
    return std::string(reinterpret_cast<const char*>(p), n);
  }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

TStoredValue Named(std::string name, TStoredKind kind) {
  TStoredValue v;
  v.Name = std::move(name);
  v.Kind = kind;
  return v;
}

}  // namespace

TStoredValue TStoredValue::Boolean(std::string name, bool v) {
  TStoredValue s = Named(std::move(name), TStoredKind::Boolean);
  s.Bool = v;
  return s;
}
TStoredValue TStoredValue::Integer(std::string name, int32_t v) {
  TStoredValue s = Named(std::move(name), TStoredKind::Integer);
  s.Int = v;
  return s;
}
TStoredValue TStoredValue::String(std::string name, std::string v) {
  TStoredValue s = Named(std::move(name), TStoredKind::Text);
  s.Text = std::move(v);
  return s;
}
TStoredValue TStoredValue::StringList(std::string name, std::vector<std::string> v) {
  TStoredValue s = Named(std::move(name), TStoredKind::Lines);
  s.Lines = std::move(v);
  return s;
}
TStoredValue TStoredValue::SetOf(std::string name, uint32_t bits) {
  TStoredValue s = Named(std::move(name), TStoredKind::Set);
  s.Int = static_cast<int32_t>(bits & 0xFFFFFF);
  return s;
}
TStoredValue TStoredValue::Enum(std::string name, std::string identifier) {
  TStoredValue s = Named(std::move(name), TStoredKind::Enumeration);
  s.Text = std::move(identifier);
  return s;
}
TStoredValue TStoredValue::Binary(std::string name, std::vector<uint8_t> v) {
  TStoredValue s = Named(std::move(name), TStoredKind::Binary);
  s.Bytes = std::move(v);
  return s;
}

std::vector<uint8_t> WriteStoredValues(const std::vector<TStoredValue>& values) {
  TValueWriter w;
  w.Raw(Signature, sizeof Signature);
  for (const auto& v : values) {
    if (v.Name.empty() || v.Name.size() > 255) throw EStoredValuesError("a stored value needs a name of 1 to 255 bytes");
    w.Byte(static_cast<uint8_t>(v.Name.size()));
    w.Raw(v.Name.data(), v.Name.size());
    w.Byte(static_cast<uint8_t>(v.Kind));
    switch (v.Kind) {
      case TStoredKind::Boolean: w.Byte(v.Bool ? 1 : 0); break;
      case TStoredKind::Integer: w.U32(static_cast<uint32_t>(v.Int)); break;
      case TStoredKind::Text: w.Sized(v.Text); break;
      case TStoredKind::Lines:
        w.U32(static_cast<uint32_t>(v.Lines.size()));
        for (const auto& line : v.Lines) w.Sized(line);
        break;
      case TStoredKind::Set:
        for (int i = 0; i < 3; ++i) w.Byte(static_cast<uint8_t>(static_cast<uint32_t>(v.Int) >> (8 * i)));
        break;
      case TStoredKind::Enumeration:
        if (v.Text.empty() || v.Text.size() > 255) throw EStoredValuesError("an enumeration value needs 1 to 255 bytes");
        w.Byte(static_cast<uint8_t>(v.Text.size()));
        w.Raw(v.Text.data(), v.Text.size());
        break;
      case TStoredKind::Binary:
        w.U32(static_cast<uint32_t>(v.Bytes.size()));
        w.Raw(v.Bytes.data(), v.Bytes.size());
        break;
      default: throw EStoredValuesError("unknown kind of stored value");
    }
  }
  w.Byte(0);
  return w.Take();
}

std::vector<TStoredValue> ReadStoredValues(const uint8_t* data, size_t size) {
  TReader r(data, size);
  if (std::memcmp(r.Take(4, "the signature"), Signature, 4) != 0)
    throw EStoredValuesError("not a stored-values stream (signature missing)");
  std::vector<TStoredValue> out;
  for (;;) {
    const uint8_t nameLength = r.Byte("a property name");
    if (nameLength == 0) break;
    TStoredValue v;
    v.Name = r.Text(nameLength, "a property name");
    v.Kind = static_cast<TStoredKind>(r.Byte("a value kind"));
    const char* what = "a value";
    switch (v.Kind) {
      case TStoredKind::Boolean: {
        const uint8_t b = r.Byte(what);
        if (b > 1) throw EStoredValuesError("Boolean value of " + v.Name + " is neither 0 nor 1");
        v.Bool = b == 1;
        break;
      }
      case TStoredKind::Integer: v.Int = static_cast<int32_t>(r.U32(what)); break;
      case TStoredKind::Text: v.Text = r.Text(r.U32(what), what); break;
      case TStoredKind::Lines: {
        const uint32_t count = r.U32(what);
        for (uint32_t i = 0; i < count; ++i) v.Lines.push_back(r.Text(r.U32(what), what));
        break;
      }
      case TStoredKind::Set: {
        const uint8_t* p = r.Take(3, what);
        v.Int = p[0] | p[1] << 8 | p[2] << 16;
        break;
      }
      case TStoredKind::Enumeration: v.Text = r.Text(r.Byte(what), what); break;
      case TStoredKind::Binary: {
        const uint32_t n = r.U32(what);
        const uint8_t* p = r.Take(n, what);
        v.Bytes.assign(p, p + n);
        break;
      }
      default: throw EStoredValuesError("property " + v.Name + " has an unknown value kind");
    }
    out.push_back(std::move(v));
  }
  if (!r.AtEnd()) throw EStoredValuesError("bytes after the end of the stored values");
  return out;
}

}  // namespace qm
