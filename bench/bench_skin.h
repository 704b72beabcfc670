#pragma once
// Inputs shared by the benchmarks: the stored default skin's members, or a
// synthetic skin of the same shape when they are missing, and repository
// files.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "skin/1_data/skin_package_writer.h"

namespace qm::bench {

std::vector<uint8_t> ReadFile(const std::filesystem::path& p);

// The members of skins/default when present, else 34 shaded images of the
// same sizes and a description naming them.
std::vector<TSkinMember> BenchSkinMembers();

}  // namespace qm::bench
