#pragma once
// The commands on the backups of the store: backups, backup and restore; and the backup every
// command that changes a whole list takes first.

#include <filesystem>
#include <iosfwd>

namespace keystead::cli {

struct CliArguments;

void RunBackups(const CliArguments& arguments, std::ostream& out);
void RunBackup(const CliArguments& arguments, std::ostream& out);
void RunRestore(const CliArguments& arguments, std::ostream& out);

// Backs up the store before a change of a whole list; a failure is told on err and the change
// goes on.
void BackUpBeforeChange(const std::filesystem::path& storeFile, std::ostream& err);

}  // namespace keystead::cli
