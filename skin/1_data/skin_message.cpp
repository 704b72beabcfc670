#include "skin/1_data/skin_message.h"

#include <cstdio>

namespace qm {

namespace {
void PrintToStderr(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
TSkinMessageHandler CurrentHandler = PrintToStderr;
}  // namespace

TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler) {
  TSkinMessageHandler previous = CurrentHandler;
  CurrentHandler = handler ? handler : PrintToStderr;
  return previous;
}

void ShowSkinMessage(const std::string& text) { CurrentHandler(text); }

}  // namespace qm
