// The retention rule of the automatic backups: the newest ten, and the newest of each of the last
// seven days.

#include <gtest/gtest.h>

#include <vector>

#include "store/BackupRetention.h"

namespace keystead {
namespace {

using namespace std::chrono;

const BackupTime kNow = sys_days(2026y / December / 8) + 14h + 30min;

BackupTime daysAgo(int days, hours hour = 12h) {
    return sys_days(floor<std::chrono::days>(kNow)) - std::chrono::days(days) + hour;
}

struct RetentionCase {
    const char* name;
    std::vector<BackupTime> times;
    std::vector<std::size_t> expired;
};

std::vector<BackupTime> hourlyToday(int count) {
    std::vector<BackupTime> times;
    for (int hour = 0; hour < count; ++hour) {
        times.push_back(daysAgo(0, hours(hour)));
    }
    return times;
}

std::vector<BackupTime> withOlder(std::vector<BackupTime> times, std::vector<BackupTime> older) {
    times.insert(times.end(), older.begin(), older.end());
    return times;
}

TEST(BackupRetentionTest, KeepsTheNewestTenAndTheNewestOfEachOfTheLastSevenDays) {
    const std::vector<RetentionCase> cases{
        {"ten or fewer are all kept, however old", {daysAgo(400), daysAgo(30), daysAgo(0)}, {}},
        {"beyond ten on one day the oldest go", hourlyToday(12), {0, 1}},
        {"the newest of each earlier day stays",
         withOlder(hourlyToday(10), {daysAgo(1), daysAgo(3), daysAgo(6)}), {}},
        {"only the newest of an earlier day stays",
         withOlder(hourlyToday(10), {daysAgo(2, 8h), daysAgo(2, 20h), daysAgo(2, 9h)}), {10, 12}},
        {"a day before the last seven goes", withOlder(hourlyToday(10), {daysAgo(7)}), {10}},
        {"the order they are given in does not matter",
         withOlder({daysAgo(9)}, hourlyToday(10)), {0}},
    };
    for (const auto& [name, times, expired] : cases) {
        EXPECT_EQ(expiredBackups(times, kNow), expired) << name;
    }
}

}  // namespace
}  // namespace keystead
