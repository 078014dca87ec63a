#pragma once
// The export file: the whole list of the logged-on user written to a text file, encrypted (the
// stored cipher strings, readable again by the import) or in plain text, and its import, which
// re-encrypts a file's entries under the logon password. Each runs in one store session, so an
// import lands completely or not at all, and a file is written whole or not at all.

#include <filesystem>
#include <string_view>
#include <vector>

#include "exchange/ExportFileReader.h"
#include "store/WorkProgress.h"

namespace keystead {

class RegistryStore;
struct SessionState;

enum class ImportMode { Add, Overwrite };

// Both replace the file through a temporary file in its folder, synced and renamed over it, with
// access for its owner only; on failure an earlier file of that name stays as it was and
// KeysteadError names the file and the cause. The store's own files are refused, and so is a name
// that is not a regular file's.
void WriteEncryptedExport(RegistryStore& store, const SessionState& state,
                          const std::filesystem::path& file, const Progress& progress = {});
void WritePlainExport(RegistryStore& store, const SessionState& state,
                      const std::filesystem::path& file, const Progress& progress = {});

// Stores entries read by ReadExportFile after the list or in its place, re-encrypted under the
// logon password, in one store session; stamps the version of a section that has none. Returns
// their number; updates state.PasswordCount.
int StoreImportedEntries(RegistryStore& store, SessionState& state,
                         const std::vector<ImportedEntry>& imported, ImportMode mode,
                         const Progress& progress = {});

// Reads the file (see readImportFile) and ReadExportFile under filePassword, then
// StoreImportedEntries: a file refused leaves the store untouched.
int ImportExportFile(RegistryStore& store, SessionState& state,
                     const std::filesystem::path& file, std::string_view filePassword,
                     ImportMode mode, const Progress& progress = {});

}  // namespace keystead
