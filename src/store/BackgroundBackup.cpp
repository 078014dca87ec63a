#include "store/BackgroundBackup.h"

#include <memory>

#include "store/BackupDatabase.h"
#include "store/KeysteadError.h"
#include "store/StoreBackups.h"

namespace keystead {

BackgroundBackup::BackgroundBackup(const std::filesystem::path& storeFile, When when) {
    StoreBackups backups(storeFile);
    std::shared_ptr<BackupDatabase> snapshot;
    try {
        snapshot = backups.snapshot();
    } catch (const KeysteadError& error) {
        failure_ = StoreBackups::automaticFailureText(error.what());
        finished_.store(true, std::memory_order_release);
        return;
    }
    thread_ = std::thread([this, backups = std::move(backups), snapshot, when]() mutable {
        try {
            failure_ = backups.takeAutomatic(when == When::WhenDue, *snapshot);
        } catch (const std::exception& error) {
            // No error may leave the thread; the command that asked goes on all the same.
            failure_ = StoreBackups::automaticFailureText(error.what());
        }
        // The read transaction ends here, not when the object goes.
        snapshot.reset();
        finished_.store(true, std::memory_order_release);
    });
}

BackgroundBackup::~BackgroundBackup() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace keystead
