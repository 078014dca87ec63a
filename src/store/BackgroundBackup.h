#pragma once
// An automatic backup taken on a thread of its own, so that the window's thread never waits for
// the copy, its check or its flush to disk. The store's state is fixed before the constructor
// returns: the command that follows may change the store at once, the backup holds it as it was.

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

namespace keystead {

class BackgroundBackup {
public:
    enum class When { Now, WhenDue };

    // WhenDue: the start-up rule of StoreBackups::takeWhenDue.
    BackgroundBackup(const std::filesystem::path& storeFile, When when);
    // Waits for a backup still running: one is finished, never left half written.
    ~BackgroundBackup();
    BackgroundBackup(const BackgroundBackup&) = delete;
    BackgroundBackup& operator=(const BackgroundBackup&) = delete;

    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Once finished: the text to tell the user of a failure, or nothing.
    const std::optional<std::string>& failure() const { return failure_; }

private:
    std::optional<std::string> failure_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace keystead
