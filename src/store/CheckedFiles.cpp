#include "store/CheckedFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>

namespace keystead {

namespace {

// Where SQLite marks a commit: the database header's change counter, and the whole header of
// the write-ahead log (its salts change whenever the log starts again).
constexpr off_t kCounterOffset = 24;
constexpr std::size_t kCounterBytes = 4;
constexpr std::size_t kLogHeaderBytes = 32;

std::string bytesAt(const std::filesystem::path& path, off_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return {};
    }
    const ssize_t got = pread(fd, bytes.data(), count, offset);
    close(fd);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

std::optional<StoreFileState::Entry> entryOf(const std::filesystem::path& path, off_t headOffset,
                                             std::size_t headBytes) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return StoreFileState::Entry{info.st_dev, info.st_ino, static_cast<unsigned long long>(info.st_size),
                                 info.st_mtim.tv_sec, info.st_mtim.tv_nsec,
                                 bytesAt(path, headOffset, headBytes)};
}

// The background backup opens the store on a thread of its own.
std::mutex soundMutex;
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
    auto logEntry = entryOf(log, 0, kLogHeaderBytes);
    if (logEntry && logEntry->size == 0) {
        logEntry.reset();
    }
    return {entryOf(file, kCounterOffset, kCounterBytes), std::move(logEntry)};
}

bool WasFoundSound(const std::filesystem::path& file, const StoreFileState& state) {
    const std::lock_guard lock(soundMutex);
    const auto found = soundFiles().find(file);
    return state.file && found != soundFiles().end() && found->second == state;
}

void RememberSound(const std::filesystem::path& file, const StoreFileState& state) {
    const std::lock_guard lock(soundMutex);
    soundFiles()[file] = state;
}

}  // namespace keystead
