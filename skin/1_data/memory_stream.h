#pragma once
// A growable in-memory byte stream with a position: what packed skins,
// containers and members are passed around in.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

class TMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : FData(std::move(bytes)) {}

  // Reads up to count bytes from the position; returns how many it read.
  size_t Read(void* buffer, size_t count);
  // Writes at the position, growing the stream as needed.
  void Write(const void* buffer, size_t count);
  void Seek(size_t position) { FPosition = position; }
  size_t Position() const { return FPosition; }
  size_t Size() const { return FData.size(); }
  void SetSize(size_t size);
  void Clear();
  bool LoadFromFile(const std::string& utf8Path);

  const uint8_t* Memory() const { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }

 private:
  std::vector<uint8_t> FData;
  size_t FPosition = 0;
};

}  // namespace qm
