#pragma once
// The texts that name a file and a system error in the store's messages.

#include <filesystem>
#include <string>

namespace keystead {

// The file's path between single quotes: 'path'.
std::string quoted(const std::filesystem::path& file);

// The system's words for an errno value.
std::string reasonOf(int error);

}  // namespace keystead
