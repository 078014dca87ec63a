#pragma once
// Which automatic backups are kept: the newest ten, and the newest of each of the last seven days
// (days in UTC, as the backups are named, today included).

#include <chrono>
#include <cstddef>
#include <vector>

namespace keystead {

using BackupTime = std::chrono::system_clock::time_point;

inline constexpr std::size_t kNewestBackupsKept = 10;
inline constexpr int kDailyBackupDays = 7;

// The positions in times of the backups the rule lets go, in ascending order.
std::vector<std::size_t> expiredBackups(const std::vector<BackupTime>& times, BackupTime now);

}  // namespace keystead
