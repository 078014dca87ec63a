#pragma once
// Texts between the program, which keeps UTF-8, and the registry's wide-character calls.

#include <string>
#include <string_view>

namespace keystead {

// UTF-8 as UTF-16. Bytes that are not UTF-8 are read as Windows-1252, as the forms read them,
// so a text from an older file keeps the characters the user saw.
std::wstring wideText(std::string_view text);

// UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8Text(std::wstring_view text);

// The name in upper case, as the registry compares key and value names.
std::wstring foldedName(std::wstring_view name);

}  // namespace keystead
