#include <iostream>
#include <string>
#include <vector>

#include "skintool.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

namespace {
// The console's narrow argv is in the ANSI code page; take the wide
// command line so that any file name survives.
std::vector<std::string> Utf8Arguments() {
  std::vector<std::string> args;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, s.data(), n, nullptr, nullptr);
    args.push_back(s);
  }
  LocalFree(argv);
  return args;
}
}  // namespace

int main() {
  // The same bytes as the native tool, so describe output compares equal
  // whichever build wrote it.
  _setmode(_fileno(stdout), _O_BINARY);
  return qm::RunSkintool(Utf8Arguments(), std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  return qm::RunSkintool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif
