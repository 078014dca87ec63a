#include "store/StoreBackups.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <optional>
#include <system_error>

#include "store/BackupDatabase.h"
#include "store/FileText.h"
#include "store/KeysteadError.h"
#include "store/StoreFile.h"

namespace keystead {

namespace {

constexpr std::string_view kNamePrefix = "registry-";
constexpr std::string_view kNameSuffix = ".sqlite";
constexpr std::string_view kPartialPrefix = "registry-partial-";
// A partial copy this old belongs to no backup still being written: its writer was stopped.
constexpr std::chrono::hours kAbandonedPartialAge{1};

// 20261208T143000Z
std::string utcStamp(BackupTime time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
    return stamp;
}

// registry-20261208T143000Z.sqlite; a second backup within the same second gets "-2" and on.
std::string backupName(BackupTime time, int sequence) {
    const std::string suffix = sequence > 1 ? "-" + std::to_string(sequence) : std::string();
    return std::string(kNamePrefix) + utcStamp(time) + suffix + std::string(kNameSuffix);
}

struct NamedBackup {
    std::filesystem::path file;
    BackupTime time;
    int sequence = 1;   // of the backups within the same second
};

// The time in a backup's name; nothing for any other name, or one not written as backupName writes.
std::optional<NamedBackup> backupOfName(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    constexpr std::size_t kStampLength = 16;   // 20261208T143000Z
    if (!name.starts_with(kNamePrefix) || name.size() < kNamePrefix.size() + kStampLength) {
        return std::nullopt;
    }
    std::tm utc{};
    const std::string stamp = name.substr(kNamePrefix.size(), kStampLength);
    if (std::sscanf(stamp.c_str(), "%4d%2d%2dT%2d%2d%2dZ", &utc.tm_year, &utc.tm_mon,
                    &utc.tm_mday, &utc.tm_hour, &utc.tm_min, &utc.tm_sec) != 6) {
        return std::nullopt;
    }
    utc.tm_year -= 1900;
    utc.tm_mon -= 1;
    const BackupTime time = std::chrono::system_clock::from_time_t(timegm(&utc));
    const std::string rest = name.substr(kNamePrefix.size() + kStampLength);
    const int sequence = rest.starts_with('-') ? std::atoi(rest.c_str() + 1) : 1;
    if (sequence < 1 || backupName(time, sequence) != name) {
        return std::nullopt;
    }
    return NamedBackup{file, time, sequence};
}

// The files of the backup folder named as backups, newest first; none when there is no folder.
std::vector<NamedBackup> namedBackups(const std::filesystem::path& folder) {
    std::vector<NamedBackup> backups;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (const auto backup = backupOfName(entry.path())) {
            backups.push_back(*backup);
        }
    }
    std::stable_sort(backups.begin(), backups.end(), [](const auto& a, const auto& b) {
        return a.time != b.time ? a.time > b.time : a.sequence > b.sequence;
    });
    return backups;
}

void syncToDisk(const std::filesystem::path& path, int flags) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0) {
        close(fd);
    }
    if (!synced) {
        throw KeysteadError("Cannot write " + quoted(path) + " to disk: " + reasonOf(error));
    }
}

// A new empty file of the owner alone in folder; its path.
std::filesystem::path createPartial(const std::filesystem::path& folder) {
    std::string pattern = (folder / (std::string(kPartialPrefix) + "XXXXXX")).string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        throw KeysteadError("Cannot write a backup in " + quoted(folder) + ": " + reasonOf(errno));
    }
    close(fd);
    return pattern;
}

// A complete copy of a store or a backup checked by SQLite, written and synced to disk at partial.
void writeCheckedCopy(const BackupDatabase& original, const std::filesystem::path& source,
                      const std::filesystem::path& partial) {
    {
        BackupDatabase copy(partial, BackupDatabase::Access::ReadWrite);
        const int rc = copy.writeUnflushed() ? copy.copyFrom(original) : SQLITE_ERROR;
        if (rc != SQLITE_OK) {
            throw KeysteadError("Cannot write a copy of " + quoted(source) + ": " +
                                copy.errorMessage());
        }
        if (!copy.useRollbackJournal() || !copy.isSoundStore()) {
            throw KeysteadError("The copy of " + quoted(source) + " did not pass its check");
        }
    }
    syncToDisk(partial, 0);
}

void removeQuietly(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

// Writes through a partial file that is removed whenever the copy is not complete.
template <typename Publish>
auto writeThroughPartial(const BackupDatabase& original, const std::filesystem::path& source,
                         const std::filesystem::path& folder, Publish publish) {
    const std::filesystem::path partial = createPartial(folder);
    try {
        writeCheckedCopy(original, source, partial);
        auto published = publish(partial);
        syncToDisk(folder, O_DIRECTORY);
        return published;
    } catch (...) {
        removeQuietly(partial);
        throw;
    }
}

void checkStoreExists(const std::filesystem::path& storeFile) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(storeFile, error))) {
        throw KeysteadError("There is no store file " + quoted(storeFile) + " to back up");
    }
}

void checkSoundBackup(const std::filesystem::path& backup) {
    BackupDatabase source(backup, BackupDatabase::Access::ReadOnly);
    if (!source.isSoundStore()) {
        throw KeysteadError("The backup " + quoted(backup) +
                            " is damaged or holds no Keystead store; the store was left unchanged");
    }
}

void linkOrRefuse(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (link(from.c_str(), to.c_str()) != 0) {
        throw KeysteadError("Cannot keep the damaged store file as " + quoted(to) + ": " +
                            reasonOf(errno));
    }
}

// The damaged file and its journal stay under kept; the journal leaves the store's name, where it
// would be played into the restored file.
void keepDamaged(const std::filesystem::path& storeFile, const std::filesystem::path& kept) {
    linkOrRefuse(storeFile, kept);
    for (const char* journal : {"-wal", "-journal"}) {
        const std::filesystem::path present = storeFile.string() + journal;
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(present, error))) {
            linkOrRefuse(present, kept.string() + journal);
            removeQuietly(present);
        }
    }
    removeQuietly(storeFile.string() + "-shm");
}

BackupTime systemNow() {
    return std::chrono::system_clock::now();
}

}  // namespace

StoreBackups::StoreBackups(std::filesystem::path storeFile, Clock clock)
    : storeFile_(std::move(storeFile)),
      folder_(storeFile_.parent_path() / "backups"),
      clock_(clock ? std::move(clock) : Clock(systemNow)) {}

std::unique_ptr<BackupDatabase> StoreBackups::snapshot() const {
    checkStoreExists(storeFile_);
    auto store = std::make_unique<BackupDatabase>(storeFile_, BackupDatabase::Access::ReadOnly);
    if (!store->holdSnapshot()) {
        throw KeysteadError("Cannot read the store file " + quoted(storeFile_) + ": " +
                            store->errorMessage());
    }
    return store;
}

std::filesystem::path StoreBackups::take() {
    return take(*snapshot());
}

std::filesystem::path StoreBackups::take(BackupDatabase& snapshot) {
    return takeKeeping(snapshot, {});
}

std::filesystem::path StoreBackups::takeKeeping(BackupDatabase& snapshot,
                                                const std::filesystem::path& keep) {
    createBackupFolder(folder_);
    const BackupTime now = clock_();
    const auto published = writeThroughPartial(snapshot, storeFile_, folder_, [&](const auto& partial) {
        // A link never replaces an existing backup: two backups within one second both stay.
        for (int sequence = 1;; ++sequence) {
            const std::filesystem::path name = folder_ / backupName(now, sequence);
            if (link(partial.c_str(), name.c_str()) == 0) {
                removeQuietly(partial);
                return name;
            }
            if (errno != EEXIST) {
                throw KeysteadError("Cannot write the backup " + quoted(name) + ": " +
                                    reasonOf(errno));
            }
        }
    });
    letGoExpired(keep);
    return published;
}

void StoreBackups::takeTo(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    writeThroughPartial(*snapshot(), storeFile_, folder, [&](const auto& partial) {
        if (rename(partial.c_str(), file.c_str()) != 0) {
            throw KeysteadError("Cannot write the backup " + quoted(file) + ": " + reasonOf(errno));
        }
        return file;
    });
}

bool StoreBackups::takeWhenDue() {
    return takeWhenDue(*snapshot());
}

bool StoreBackups::takeWhenDue(BackupDatabase& snapshot) {
    const auto backups = namedBackups(folder_);
    const bool due = [&] {
        if (backups.empty() || clock_() - backups.front().time >= kStartupBackupAge) {
            return true;
        }
        try {
            BackupDatabase newest(backups.front().file, BackupDatabase::Access::ReadOnly);
            return !snapshot.sameContent(newest);
        } catch (const KeysteadError&) {
            return true;
        }
    }();
    if (due) {
        take(snapshot);
    }
    return due;
}

std::string StoreBackups::automaticFailureText(const std::string& reason) {
    return "The automatic backup failed: " + reason;
}

std::optional<std::string> StoreBackups::takeAutomatic(bool onlyWhenDue) {
    try {
        return takeAutomatic(onlyWhenDue, *snapshot());
    } catch (const KeysteadError& error) {
        return automaticFailureText(error.what());
    }
}

std::optional<std::string> StoreBackups::takeAutomatic(bool onlyWhenDue, BackupDatabase& snapshot) {
    try {
        if (onlyWhenDue) {
            takeWhenDue(snapshot);
        } else {
            take(snapshot);
        }
        return std::nullopt;
    } catch (const KeysteadError& error) {
        return automaticFailureText(error.what());
    }
}

std::vector<BackupInfo> StoreBackups::list() const {
    std::vector<BackupInfo> sound;
    for (const auto& [file, time, sequence] : namedBackups(folder_)) {
        try {
            BackupDatabase backup(file, BackupDatabase::Access::ReadOnly);
            std::error_code error;
            const auto size = std::filesystem::file_size(file, error);
            if (!error && backup.isSoundStore()) {
                sound.push_back({file, time, size, backup.users()});
            }
        } catch (const KeysteadError&) {
            // A backup that cannot be opened is as damaged as one that fails its check.
        }
    }
    return sound;
}

void StoreBackups::restore(const std::filesystem::path& backup) {
    checkSoundBackup(backup);
    takeKeeping(*snapshot(), backup);
    const BackupDatabase source(backup, BackupDatabase::Access::ReadOnly);
    BackupDatabase store(storeFile_, BackupDatabase::Access::ReadWrite);
    const int rc = store.copyFrom(source);
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
        throw KeysteadError("Another running Keystead keeps the store file " + quoted(storeFile_) +
                            " busy; the backup was not restored");
    }
    if (rc != SQLITE_OK) {
        throw KeysteadError("The backup " + quoted(backup) + " could not be restored: " +
                            store.errorMessage());
    }
}

std::filesystem::path StoreBackups::recoverDamaged(const std::filesystem::path& backup) {
    checkSoundBackup(backup);
    const std::filesystem::path kept =
        storeFile_.parent_path() / (storeFile_.stem().string() + ".damaged-" + utcStamp(clock_()) +
                                    storeFile_.extension().string());
    const std::filesystem::path folder = storeFile_.parent_path();
    const BackupDatabase source(backup, BackupDatabase::Access::ReadOnly);
    return writeThroughPartial(source, backup, folder, [&](const auto& partial) {
        keepDamaged(storeFile_, kept);
        if (rename(partial.c_str(), storeFile_.c_str()) != 0) {
            throw KeysteadError("Cannot restore the backup " + quoted(backup) + ": " +
                                reasonOf(errno));
        }
        return kept;
    });
}

void StoreBackups::letGoExpired(const std::filesystem::path& keep) const {
    const auto backups = namedBackups(folder_);
    std::vector<BackupTime> times;
    for (const auto& backup : backups) {
        times.push_back(backup.time);
    }
    for (const std::size_t index : expiredBackups(times, clock_())) {
        if (backups[index].file != keep) {
            removeQuietly(backups[index].file);
        }
    }
    std::error_code error;
    const auto abandoned = std::filesystem::file_time_type::clock::now() - kAbandonedPartialAge;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        if (entry.path().filename().string().starts_with(kPartialPrefix) &&
            entry.last_write_time(error) < abandoned) {
            removeQuietly(entry.path());
        }
    }
}

}  // namespace keystead
