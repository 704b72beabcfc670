#pragma once
// A host for the form model that records what the form shows and writes.

#include <map>
#include <string>
#include <vector>

#include "form_host.h"

namespace qm::test {

class TRecordingHost : public IFormHost {
 public:
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  TLocalTime Now() override {
    ++ClockReads;
    return Clock;
  }
  void SaveFile(const std::string& path, const std::string& bytes) override {
    if (path == FailingPath) throw EFCreateError("无法创建文件 \"" + path + "\"。拒绝访问。");
    Files[path] = bytes;
    Order.push_back(path);
    // The written file gets its identity, and the short alias the file
    // system gives it.
    Facts[path].FileId = path;
    if (const auto alias = ShortNames.find(path); alias != ShortNames.end()) Facts[alias->second].FileId = path;
  }
  TPathFacts PathFacts(const std::string& path) override {
    const auto it = Facts.find(path);
    return it == Facts.end() ? TPathFacts{} : it->second;
  }

  std::vector<std::string> Messages;
  std::map<std::string, std::string> Files;
  std::vector<std::string> Order;  // paths in the order they were saved
  TLocalTime Clock{"2026/12/7", "8:30:00"};
  int ClockReads = 0;
  std::string FailingPath;  // SaveFile refuses this path
  std::map<std::string, TPathFacts> Facts;        // what the file system says of a path
  std::map<std::string, std::string> ShortNames;  // written path -> the alias it then has
};

}  // namespace qm::test
