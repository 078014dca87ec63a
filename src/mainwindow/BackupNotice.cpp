#include "mainwindow/BackupNotice.h"

#include "platform/TextConversion.h"
#include "store/RegistryStore.h"
#include "store/StoreBackups.h"

#include <QMainWindow>
#include <QStatusBar>

namespace keystead {

void showBackupFailure(QMainWindow& window, const std::optional<std::string>& failure)
{
    if (failure)
        window.statusBar()->showMessage(toQString(*failure), kBackupFailureShownMs);
}

void backUpBeforeChange(QMainWindow& window, const RegistryStore& store)
{
    showBackupFailure(window, StoreBackups(store.file()).takeAutomatic(false));
}

}  // namespace keystead
