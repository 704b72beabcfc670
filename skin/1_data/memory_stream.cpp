#include "skin/1_data/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qm {

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (FPosition >= FData.size()) return 0;
  const size_t n = std::min(count, FData.size() - FPosition);
  std::memcpy(buffer, FData.data() + FPosition, n);
  FPosition += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  if (FPosition + count > FData.size()) FData.resize(FPosition + count);
  std::memcpy(FData.data() + FPosition, buffer, count);
  FPosition += count;
}

void TMemoryStream::SetSize(size_t size) {
  FData.resize(size);
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

bool TMemoryStream::LoadFromFile(const std::string& utf8Path) {
  std::ifstream in(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())), std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  FData = std::move(bytes);
  FPosition = 0;
  return true;
}

}  // namespace qm
