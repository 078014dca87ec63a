#pragma once
// The store files this process has read through and found sound, each as it was then, so that an
// unchanged file is not read through again at every open of the same run.

#include <filesystem>
#include <optional>
#include <string>

namespace keystead {

// A file as the file system describes it, with its write-ahead log: any write to either, by any
// process, and another file put in its place change it. The modification time moves in steps of
// a few milliseconds, so SQLite's own marks of a commit are part of it too: the file's change
// counter and the log's header, which a commit that starts the log again rewrites.
struct StoreFileState {
    struct Entry {
        unsigned long long device = 0, inode = 0, size = 0;
        long long seconds = 0, nanoseconds = 0;  // last modified
        std::string head;                         // the bytes that mark a commit
        bool operator==(const Entry&) const = default;
    };
    std::optional<Entry> file, log;
    bool operator==(const StoreFileState&) const = default;

    static StoreFileState Of(const std::filesystem::path& file);
};

// Whether this process found the file sound when it was exactly in this state.
bool WasFoundSound(const std::filesystem::path& file, const StoreFileState& state);

// The file was found sound; state is taken before the check, so that a write during the check
// leaves the file to be checked again.
void RememberSound(const std::filesystem::path& file, const StoreFileState& state);

}  // namespace keystead
