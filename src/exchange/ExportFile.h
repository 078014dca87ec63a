#pragma once
// The export file: the whole list of the logged-on user written to a text file, encrypted (the
// stored cipher strings, readable again by the import) or in plain text, and its import, which
// re-encrypts a file's entries under the logon password. Each runs in one store session, so an
// import lands completely or not at all, and a file is written whole or not at all.

#include <filesystem>
#include <string_view>

#include "store/WorkProgress.h"

namespace keystead {

class RegistryStore;
struct SessionState;

enum class ImportMode { Add, Overwrite };

// The refusals of an import, as the user reads them; either leaves the store untouched.
inline constexpr std::string_view kWrongFilePasswordText =
    "The password is incorrect or the password list is corrupt. Please re-type the password and try again.";
inline constexpr std::string_view kCorruptListText = "The password list is corrupted and cannot be imported.";

// Both replace the file through a temporary file in its folder, synced and renamed over it, with
// access for its owner only; on failure an earlier file of that name stays as it was and
// KeysteadError names the file and the cause.
void WriteEncryptedExport(RegistryStore& store, const SessionState& state,
                          const std::filesystem::path& file, const Progress& progress = {});
void WritePlainExport(RegistryStore& store, const SessionState& state,
                      const std::filesystem::path& file, const Progress& progress = {});

// Returns the number of entries read from the file; updates state.PasswordCount.
// The whole file is read and checked before anything is written: a wrong password throws
// kWrongFilePasswordText, a bad count or a damaged entry kCorruptListText.
int ImportExportFile(RegistryStore& store, SessionState& state,
                     const std::filesystem::path& file, std::string_view filePassword,
                     ImportMode mode, const Progress& progress = {});

}  // namespace keystead
