#pragma once
// The form logic's host on Windows: real message boxes captioned with the
// application title, the locale's date and time forms, and script files
// written whole or not at all, and what the file system says about a path.

#include "form_host.h"

namespace qm {

class TWindowsFormHost : public IFormHost {
 public:
  void ShowMessage(const std::string& text) override;
  TLocalTime Now() override;
  void SaveFile(const std::string& path, const std::string& bytes) override;
  TPathFacts PathFacts(const std::string& path) override;
};

}  // namespace qm
