#pragma once
// The automatic backups of the store as the main window takes them, each on a thread of its own:
// a failed one never stops the command that asked for it, and the window's status bar tells of it
// once it is known.

#include "store/BackgroundBackup.h"

#include <QObject>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMainWindow;
class QTimer;

namespace keystead {

// How long the status bar tells of a failed backup before its panels show again.
inline constexpr int kBackupFailureShownMs = 20000;

// failure is the text StoreBackups::takeAutomatic returned; nothing is shown without one.
void showBackupFailure(QMainWindow& window, const std::optional<std::string>& failure);

class TBackupNotice : public QObject {
    Q_OBJECT

public:
    // Owned by window, whose store file is storeFile.
    TBackupNotice(QMainWindow& window, std::filesystem::path storeFile);
    // Waits for the backups still running: the window's end finishes them.
    ~TBackupNotice() override;

    // The backup taken just before a command changes a whole list; the command may go on at once.
    void backUpBeforeChange();
    // A backup started before the window was there, the start-up's.
    void adopt(std::unique_ptr<BackgroundBackup> backup);
    bool running() const { return !running_.empty(); }

private:
    void lookAtRunning();

    QMainWindow& window_;
    std::filesystem::path storeFile_;
    QTimer* timer_;
    std::vector<std::unique_ptr<BackgroundBackup>> running_;
};

}  // namespace keystead
