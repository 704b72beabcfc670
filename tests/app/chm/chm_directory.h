#pragma once
// Just enough of the compiled help format to list what a .chm holds and to
// read its uncompressed system data, so tests can check the built help file
// without a viewer.

#include <cstdint>
#include <map>
#include <string>

namespace qm::test {

struct TChmEntry {
  uint64_t Section = 0;  // 0: stored as is; 1: compressed
  uint64_t Offset = 0;
  uint64_t Length = 0;
};

struct TChmFile {
  std::map<std::string, TChmEntry> Entries;  // by internal path, e.g. "/index.htm"
  std::string Bytes;
  uint64_t ContentOffset = 0;

  // The bytes of an uncompressed member; throws when it is absent or compressed.
  std::string Uncompressed(const std::string& name) const;
};

// Reads the file's header and directory; throws std::runtime_error on a file
// that is not a well-formed help file.
TChmFile ReadChm(const std::string& path);

}  // namespace qm::test
