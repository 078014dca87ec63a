#include "mainwindow/BackupNotice.h"

#include "platform/TextConversion.h"
#include "store/RegistryStore.h"
#include "store/StoreBackups.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace keystead {
namespace {

// How often a running backup is looked at; its end is told no later than this.
constexpr int kLookIntervalMs = 100;

}  // namespace

void showBackupFailure(QMainWindow& window, const std::optional<std::string>& failure)
{
    if (failure)
        window.statusBar()->showMessage(toQString(*failure), kBackupFailureShownMs);
}

TBackupNotice::TBackupNotice(QMainWindow& window, std::filesystem::path storeFile)
    : QObject(&window), window_(window), storeFile_(std::move(storeFile)), timer_(new QTimer(this))
{
    timer_->setInterval(kLookIntervalMs);
    connect(timer_, &QTimer::timeout, this, &TBackupNotice::lookAtRunning);
}

TBackupNotice::~TBackupNotice() = default;

void TBackupNotice::backUpBeforeChange()
{
    adopt(std::make_unique<BackgroundBackup>(storeFile_, BackgroundBackup::When::Now));
}

void TBackupNotice::adopt(std::unique_ptr<BackgroundBackup> backup)
{
    running_.push_back(std::move(backup));
    lookAtRunning();
}

void TBackupNotice::lookAtRunning()
{
    const auto done = std::stable_partition(running_.begin(), running_.end(),
                                            [](const auto& backup) { return !backup->finished(); });
    for (auto backup = done; backup != running_.end(); ++backup)
        showBackupFailure(window_, (*backup)->failure());
    running_.erase(done, running_.end());
    if (running_.empty())
        timer_->stop();
    else if (!timer_->isActive())
        timer_->start();
}

}  // namespace keystead
