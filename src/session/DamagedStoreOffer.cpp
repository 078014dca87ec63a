#include "session/DamagedStoreOffer.h"

#include "platform/MessageBox.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/StoreBackups.h"

#include <QDateTime>
#include <QLocale>

namespace keystead {

namespace {

bool restoreNewestBackup(const std::filesystem::path& storeFile)
{
    StoreBackups backups(storeFile);
    const auto sound = backups.list();
    if (sound.empty())
        return false;
    const QString question = QStringLiteral("The password store is damaged. Restore the backup of %1?")
                                 .arg(backupTimeText(sound.front().time));
    if (!askYesNo(nullptr, question))
        return false;
    backups.recoverDamaged(sound.front().file);
    return true;
}

}  // namespace

QString backupTimeText(BackupTime time)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(time.time_since_epoch());
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds.count()), QLocale::ShortFormat);
}

std::unique_ptr<RegistryStore> openStoreOrOfferBackup(const std::filesystem::path& storeFile)
{
    try {
        return RegistryStore::OpenFile(storeFile);
    } catch (const DamagedStoreError&) {
        if (!restoreNewestBackup(storeFile))
            throw;
    }
    return RegistryStore::OpenFile(storeFile);
}

}  // namespace keystead
