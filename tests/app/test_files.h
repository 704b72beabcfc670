#pragma once
// Files of the tests: UTF-8 paths on every platform, whole-file reads.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace qm::test {

inline std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// One argument for a POSIX shell command line, whatever it holds.
inline std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// A fresh, empty folder for one test; unique per run, so that test runs of
// the native and the Windows build may overlap.
inline std::filesystem::path FreshTestFolder(const std::string& prefix) {
  static const unsigned run = std::random_device{}();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
      (prefix + "-" + std::to_string(run) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace qm::test
