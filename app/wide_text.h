#pragma once
// The model's UTF-8 text against the UTF-16 of the Win32 W functions.

#ifdef _WIN32

#include <string>

namespace qm {

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace qm

#endif
