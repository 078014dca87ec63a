#pragma once
// Where the store file lives, and its creation and opening with access for its owner only.

#include <filesystem>
#include <vector>

namespace keystead {

// $XDG_DATA_HOME/Vorrent/Keystead/registry.sqlite; ~/.local/share stands in for XDG_DATA_HOME
// when it is unset, empty or not an absolute path, and the home folder of the user's account
// entry stands in for a HOME that is not an absolute path.
std::filesystem::path defaultStoreFile();

// Creates the missing folders (mode 0700) and the file, empty, with mode 0600. The file must
// be a regular file and its folder a real folder, both owned by the user: a link, a file or
// folder of another user, or a shared (sticky) folder is refused with a KeysteadError naming it,
// and nothing is changed. An existing file or folder open to others is narrowed to 0600 or 0700,
// and so are the journal files beside the file. Throws KeysteadError naming the path that failed.
void createStoreFile(const std::filesystem::path& file);
// The same checks on a store file that must exist already: nothing is created, and a missing file
// or folder is refused with a KeysteadError naming the file.
void checkStoreFile(const std::filesystem::path& file);

// The store file and the journal files SQLite keeps beside it.
std::vector<std::filesystem::path> storeFiles(const std::filesystem::path& file);
// Whether candidate names one of them, its folder spelled in any way that reaches the same folder.
bool namesStoreFile(const std::filesystem::path& candidate, const std::filesystem::path& file);

// The folder of the store's backups, with the checks and modes of the store's own folder; its
// parent must exist. Throws KeysteadError naming the folder.
void createBackupFolder(const std::filesystem::path& folder);

}  // namespace keystead
