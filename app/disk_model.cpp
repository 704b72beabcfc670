#include "disk_model.h"

#include <cctype>
#include <climits>

namespace qm {

const std::array<const char*, 2> YinPanNames = {"第一硬盘", "第二硬盘"};

const std::array<const char*, 10> FenQuNames = {"第一分区", "第二分区", "第三分区", "第四分区",
                                                "第五分区", "第六分区", "第七分区", "第八分区",
                                                "第九分区", "第十分区"};

const std::array<const char*, 24> PanFuNames = {
    "C:[]", "D:[]", "E:[]", "F:[]", "G:[]", "H:[]", "I:[]", "J:[]", "K:[]", "L:[]", "M:[]", "N:[]",
    "O:[]", "P:[]", "Q:[]", "R:[]", "S:[]", "T:[]", "U:[]", "V:[]", "W:[]", "X:[]", "Y:[]", "Z:[]"};

bool TryParseInteger(const std::string& text, int& value) {
  size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == end) return false;
  long long v = 0;
  for (; i < end; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  value = static_cast<int>(v);
  return true;
}

int ReadPartitionCount(const std::string& text) {
  int value = 0;
  if (!TryParseInteger(text, value))
    throw EConvertError("\"" + text + "\" 不是有效的整数。");
  // The count handlers never let a value outside 1..10 stay in the field;
  // refusing here keeps the tables from being read past their end anyway.
  if (value > MaxPartitionsPerDisk)
    throw EConvertError("分区数量 " + text + " 超出范围 1~10。");
  return value;
}

std::vector<std::string> PartitionEntries(int count, int firstLetter) {
  std::vector<std::string> entries;
  for (int i = 0; i < count && i < MaxPartitionsPerDisk; ++i) {
    const int letter = firstLetter + i;
    entries.push_back(std::string(FenQuNames[i]) +
                      (letter >= 0 && letter < static_cast<int>(PanFuNames.size()) ? PanFuNames[letter] : ""));
  }
  return entries;
}

std::string PartitionAddress(int diskIndex, int partitionIndex) {
  return std::to_string(diskIndex + 1) + ":" + std::to_string(partitionIndex + 1);
}

}  // namespace qm
