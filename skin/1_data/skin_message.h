#pragma once
// The skin engine's few user-facing messages (an outdated container) go
// through one replaceable hook: the tools print them, the program shows a
// message box.

#include <string>

namespace qm {

using TSkinMessageHandler = void (*)(const std::string& text);

// Returns the previous handler; nullptr restores printing to stderr.
TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler);
void ShowSkinMessage(const std::string& text);

}  // namespace qm
