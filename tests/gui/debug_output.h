#pragma once
// What this process sends to OutputDebugString while a capture lives, as a
// debugger attached to it would see it.

#include <string>
#include <vector>

namespace qmtest {

class TDebugOutput {
 public:
  TDebugOutput();
  ~TDebugOutput();
  TDebugOutput(const TDebugOutput&) = delete;
  TDebugOutput& operator=(const TDebugOutput&) = delete;

  std::vector<std::wstring> Lines() const;
  // Whether one line holds every one of the given pieces.
  bool Saw(std::initializer_list<std::wstring> pieces) const;
  // Every line, one after another, for a failure message.
  std::string Text() const;
};

}  // namespace qmtest
