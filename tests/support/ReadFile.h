#pragma once
// The whole content of a file as bytes, for tests that check what the program wrote; empty when
// the file cannot be read.

#include <filesystem>
#include <string>

namespace keystead::test {

std::string readFile(const std::filesystem::path& file);

}  // namespace keystead::test
