#pragma once
// The start's answer to a store that fails its check: the offer of the newest backup that passes
// its own.

#include "store/BackupRetention.h"

#include <QString>

#include <filesystem>
#include <memory>

namespace keystead {

class RegistryStore;

// Opens the store. When it is damaged and a sound backup exists, asks whether to restore it; Yes
// keeps the damaged file beside the store and opens the restored one. Without a backup, or after
// No, the store's error goes on as before and nothing is changed.
std::unique_ptr<RegistryStore> openStoreOrOfferBackup(const std::filesystem::path& storeFile);

// The time of a backup in the short date and time of the user's locale, as the offer and the
// restore dialog show it.
QString backupTimeText(BackupTime time);

}  // namespace keystead
