#pragma once
// The backups of the store file in the folder backups/ beside it: consistent copies taken with
// SQLite's online backup API, named by their UTC time (registry-20261208T143000Z.sqlite), thinned
// out by the retention rule, listed with their users, and restored into the store.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/BackupRetention.h"

namespace keystead {

class BackupDatabase;

struct BackupInfo {
    std::filesystem::path file;
    BackupTime time;                  // from its name
    std::uintmax_t size = 0;          // bytes
    std::vector<std::string> users;   // its sections but "Options"
};

class StoreBackups {
public:
    using Clock = std::function<BackupTime()>;

    // A backup newer than this that holds what the store holds makes the start-up backup needless.
    static constexpr std::chrono::hours kStartupBackupAge{24};

    explicit StoreBackups(std::filesystem::path storeFile, Clock clock = {});

    const std::filesystem::path& folder() const { return folder_; }

    // The store as it is now, held by a read connection of its own for a backup taken later, on
    // any thread, while the program goes on changing the store. Throws KeysteadError.
    std::unique_ptr<BackupDatabase> snapshot() const;

    // Takes a backup now (of snapshot, when given), then lets go of those the retention rule no
    // longer keeps. Throws KeysteadError when no complete, checked copy could be written; nothing
    // is deleted then.
    std::filesystem::path take();
    std::filesystem::path take(BackupDatabase& snapshot);
    // A checked copy written to file (through a temporary name beside it), outside the retention.
    void takeTo(const std::filesystem::path& file);
    // The start-up rule: takes a backup when the newest is older than kStartupBackupAge or holds
    // other data than the store. True when one was taken.
    bool takeWhenDue();
    bool takeWhenDue(BackupDatabase& snapshot);
    // An automatic backup, before a change of a whole list or (onlyWhenDue) at start-up. Its
    // failure never stops the command that asked for it: the text to tell the user is returned.
    std::optional<std::string> takeAutomatic(bool onlyWhenDue);
    // The same, of a snapshot taken before.
    std::optional<std::string> takeAutomatic(bool onlyWhenDue, BackupDatabase& snapshot);
    // The text takeAutomatic returns for a failure.
    static std::string automaticFailureText(const std::string& reason);
    // The backups that pass SQLite's integrity check, newest first; a damaged one is left out.
    std::vector<BackupInfo> list() const;
    // Backs up the present store, then copies backup into it in one transaction of the store.
    // Refused with a KeysteadError, and nothing changed, when the backup fails its checks or
    // another running Keystead keeps the store busy beyond the usual wait.
    void restore(const std::filesystem::path& backup);

    // For a store that fails its check: the damaged file is kept beside it under the name
    // registry.damaged-<UTC time>.sqlite, with its journal, and backup takes its place. Returns
    // the kept file. Refused with a KeysteadError, and nothing changed, when backup is not sound.
    std::filesystem::path recoverDamaged(const std::filesystem::path& backup);

private:
    std::filesystem::path takeKeeping(BackupDatabase& snapshot, const std::filesystem::path& keep);
    std::filesystem::path unusedName() const;
    void letGoExpired(const std::filesystem::path& keep) const;

    std::filesystem::path storeFile_;
    std::filesystem::path folder_;
    Clock clock_;
};

}  // namespace keystead
