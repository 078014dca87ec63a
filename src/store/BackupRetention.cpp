#include "store/BackupRetention.h"

#include <algorithm>
#include <numeric>

namespace keystead {

namespace {

bool isWithinDailyDays(std::chrono::sys_days day, std::chrono::sys_days today) {
    return day <= today && day > today - std::chrono::days(kDailyBackupDays);
}

}  // namespace

std::vector<std::size_t> expiredBackups(const std::vector<BackupTime>& times, BackupTime now) {
    std::vector<std::size_t> newestFirst(times.size());
    std::iota(newestFirst.begin(), newestFirst.end(), std::size_t{0});
    std::stable_sort(newestFirst.begin(), newestFirst.end(),
                     [&](std::size_t a, std::size_t b) { return times[a] > times[b]; });
    const auto today = std::chrono::floor<std::chrono::days>(now);
    std::vector<bool> kept(times.size(), false);
    std::vector<std::chrono::sys_days> daysKept;
    for (std::size_t rank = 0; rank < newestFirst.size(); ++rank) {
        const std::size_t index = newestFirst[rank];
        const auto day = std::chrono::floor<std::chrono::days>(times[index]);
        const bool newestOfItsDay =
            std::find(daysKept.begin(), daysKept.end(), day) == daysKept.end();
        if (newestOfItsDay) {
            daysKept.push_back(day);
        }
        kept[index] = rank < kNewestBackupsKept || (newestOfItsDay && isWithinDailyDays(day, today));
    }
    std::vector<std::size_t> expired;
    for (std::size_t index = 0; index < times.size(); ++index) {
        if (!kept[index]) {
            expired.push_back(index);
        }
    }
    return expired;
}

}  // namespace keystead
