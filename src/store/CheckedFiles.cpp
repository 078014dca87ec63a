#include "store/CheckedFiles.h"

#include <sys/stat.h>

#include <map>
#include <mutex>

namespace keystead {

namespace {

std::optional<StoreFileState::Entry> entryOf(const std::filesystem::path& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return StoreFileState::Entry{info.st_dev, info.st_ino, static_cast<unsigned long long>(info.st_size),
                                 info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

// The background backup opens the store on a thread of its own.
std::mutex mutex;
std::map<std::filesystem::path, StoreFileState>& soundFiles() {
    static std::map<std::filesystem::path, StoreFileState> files;
    return files;
}

}  // namespace

// An empty log holds nothing: SQLite makes one at every first open and removes it at the last
// close, so only its content tells a write.
StoreFileState StoreFileState::Of(const std::filesystem::path& file) {
    std::filesystem::path log = file;
    log += "-wal";
    auto logEntry = entryOf(log);
    if (logEntry && logEntry->size == 0) {
        logEntry.reset();
    }
    return {entryOf(file), std::move(logEntry)};
}

bool WasFoundSound(const std::filesystem::path& file, const StoreFileState& state) {
    const std::lock_guard lock(mutex);
    const auto found = soundFiles().find(file);
    return state.file && found != soundFiles().end() && found->second == state;
}

void RememberSound(const std::filesystem::path& file, const StoreFileState& state) {
    const std::lock_guard lock(mutex);
    soundFiles()[file] = state;
}

}  // namespace keystead
