#pragma once
// The disks, partitions and drive letters the user describes on the settings
// page. The program never looks at the machine's disks; these tables and the
// counts typed by the user are all it knows.

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm {

// Entry k is disk number k + 1.
extern const std::array<const char*, 2> YinPanNames;
// Entry k is partition number k + 1 within its disk.
extern const std::array<const char*, 10> FenQuNames;
// Entry k is the k-th partition counted over both disks: "C:[]" .. "Z:[]".
extern const std::array<const char*, 24> PanFuNames;

constexpr int MaxPartitionsPerDisk = 10;

// A count or size field that does not hold a number. Reaches the host's
// error box, like any unexpected error.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decimal integer with optional blanks around it and an optional sign.
// False for anything else, including an empty text and values beyond int.
bool TryParseInteger(const std::string& text, int& value);

// A partition count as the fillers read it: 1..10, or EConvertError.
int ReadPartitionCount(const std::string& text);

// The partition entries of one disk: name + drive letter, the letters of
// disk 2 continuing after disk 1's. firstLetter is the PanFuNames index of
// partition 1.
std::vector<std::string> PartitionEntries(int count, int firstLetter);

// "d:p" from zero-based list indexes, as Ghost numbers disks and partitions.
std::string PartitionAddress(int diskIndex, int partitionIndex);

}  // namespace qm
