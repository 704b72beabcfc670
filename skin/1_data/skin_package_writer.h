#pragma once
// Builds packed skins for skin authors' tools, tests and benchmarks: the
// member container, then the LZH layer over it.

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

struct TSkinMember {
  std::string Name;
  std::vector<uint8_t> Bytes;
};

// Names are written in lower case, each followed by CR LF; the reserved
// header bytes are zero.
std::vector<uint8_t> BuildSkinContainer(const std::vector<TSkinMember>& Members,
                                        uint32_t Version = 20000);
std::vector<uint8_t> PackSkin(const std::vector<TSkinMember>& Members);

}  // namespace qm
