#pragma once
// The scripts are read by DOS in the GB2312/GBK code page (936).

#include <string>

namespace qm {

// Converts UTF-8 text to code page 936. Returns false, leaving gbk
// unspecified, when the text is not valid UTF-8 or holds a character the
// code page cannot represent: a substituted '?' in a path would send Ghost
// to the wrong file.
bool Utf8ToGbk(const std::string& utf8, std::string& gbk);

// The reverse, for reading scripts back; false on bytes that are not GBK.
bool GbkToUtf8(const std::string& gbk, std::string& utf8);

}  // namespace qm
