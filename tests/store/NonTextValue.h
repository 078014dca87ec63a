#pragma once
// Puts into a store what it never writes itself: a value that is not text, as a damaged store or
// another program could leave it.

#include <filesystem>
#include <string>

namespace keystead::test {

void putNonTextValue(const std::filesystem::path& store, const std::string& section,
                     const std::string& ident);

}  // namespace keystead::test
