#include "chm_directory.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qm::test {

namespace {

uint64_t Le(const std::string& bytes, uint64_t at, int size) {
  if (at + size > bytes.size()) throw std::runtime_error("help file truncated");
  uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Variable-length big-endian number, seven bits a byte, high bit = more.
uint64_t EncInt(const std::string& bytes, uint64_t& at, uint64_t end) {
  uint64_t value = 0;
  for (int i = 0; i < 10; ++i) {
    if (at >= end) throw std::runtime_error("help file directory entry runs past its chunk");
    const auto byte = static_cast<unsigned char>(bytes[at++]);
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return value;
  }
  throw std::runtime_error("help file directory number too long");
}

}  // namespace

std::string TChmFile::Uncompressed(const std::string& name) const {
  const auto found = Entries.find(name);
  if (found == Entries.end()) throw std::runtime_error("no member " + name);
  if (found->second.Section != 0) throw std::runtime_error(name + " is compressed");
  const uint64_t start = ContentOffset + found->second.Offset;
  if (start + found->second.Length > Bytes.size()) throw std::runtime_error(name + " runs past the file");
  return Bytes.substr(start, found->second.Length);
}

TChmFile ReadChm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream all;
  all << in.rdbuf();

  TChmFile chm;
  chm.Bytes = all.str();
  const std::string& b = chm.Bytes;
  if (b.compare(0, 4, "ITSF") != 0) throw std::runtime_error("not a compiled help file: " + path);
  const uint64_t directory = Le(b, 0x48, 8);
  const uint64_t directoryLength = Le(b, 0x50, 8);
  chm.ContentOffset = Le(b, 0x04, 4) >= 3 ? Le(b, 0x58, 8) : directory + directoryLength;

  if (b.compare(directory, 4, "ITSP") != 0) throw std::runtime_error("help file directory header missing");
  const uint64_t headerLength = Le(b, directory + 0x08, 4);
  const uint64_t chunkSize = Le(b, directory + 0x10, 4);
  const uint64_t chunkCount = Le(b, directory + 0x2C, 4);
  uint64_t chunk = Le(b, directory + 0x20, 4);

  // Listing chunks are chained; the chain ends at 0xFFFFFFFF. The visit count
  // guards against a chain that loops.
  for (uint64_t visited = 0; chunk != 0xFFFFFFFFu; ++visited) {
    if (chunk >= chunkCount || visited > chunkCount) throw std::runtime_error("bad help file chunk chain");
    const uint64_t start = directory + headerLength + chunk * chunkSize;
    if (b.compare(start, 4, "PMGL") != 0) throw std::runtime_error("help file listing chunk expected");
    const uint64_t end = start + chunkSize - Le(b, start + 0x04, 4);
    uint64_t at = start + 0x14;
    while (at < end) {
      const uint64_t nameLength = EncInt(b, at, end);
      if (at + nameLength > end) throw std::runtime_error("help file entry name runs past its chunk");
      std::string name = b.substr(at, nameLength);
      at += nameLength;
      TChmEntry entry;
      entry.Section = EncInt(b, at, end);
      entry.Offset = EncInt(b, at, end);
      entry.Length = EncInt(b, at, end);
      chm.Entries[name] = entry;
    }
    chunk = Le(b, start + 0x10, 4);
  }
  return chm;
}

}  // namespace qm::test
