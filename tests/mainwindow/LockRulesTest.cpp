// When the program locks: minutes without input counted from the last input, and a lock asked
// for during a command's work taking effect only once the work has ended.

#include "mainwindow/LockRules.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

using namespace std::chrono_literals;

TEST(LockRulesTest, MinutesWithoutInputCountFromTheLastInput)
{
    const IdleWatch::Instant start{};
    IdleWatch idle(start);
    EXPECT_FALSE(idle.expired(start + 24h, 0)) << "0 minutes: never";
    EXPECT_FALSE(idle.expired(start + 4min + 59s, 5));
    EXPECT_TRUE(idle.expired(start + 5min, 5));
    idle.input(start + 4min);
    EXPECT_FALSE(idle.expired(start + 8min + 59s, 5));
    EXPECT_TRUE(idle.expired(start + 9min, 5));
}

TEST(LockRulesTest, ALockAskedForDuringWorkWaitsForItsEnd)
{
    LockState lock;
    EXPECT_FALSE(lock.request(true));
    EXPECT_TRUE(lock.waiting());
    EXPECT_FALSE(lock.locked());
    EXPECT_FALSE(lock.request(true)) << "the work still runs";
    EXPECT_TRUE(lock.request(false));
    EXPECT_TRUE(lock.locked());
    EXPECT_FALSE(lock.request(false)) << "already locked";
    lock.unlock();
    EXPECT_FALSE(lock.locked());
    EXPECT_TRUE(lock.request(false));
}

}  // namespace
}  // namespace keystead
