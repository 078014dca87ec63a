#pragma once
// Where the store file lives, and its creation with access for its owner only.

#include <filesystem>

namespace keystead {

// $XDG_DATA_HOME/Vorrent/Keystead/registry.sqlite; ~/.local/share stands in for XDG_DATA_HOME
// when it is unset, empty or not an absolute path.
std::filesystem::path defaultStoreFile();

// Creates the missing folders (mode 0700) and the file, empty, with mode 0600. An existing file
// and existing folders are left as they are. Throws KeysteadError naming the path that failed.
void createStoreFile(const std::filesystem::path& file);

}  // namespace keystead
