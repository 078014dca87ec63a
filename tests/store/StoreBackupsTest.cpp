// The backups of the store file: taken consistent and checked into backups/, listed without the
// damaged ones, restored with the present store backed up first, and refused where the folder or a
// second running instance does not allow them.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <thread>
#include <functional>
#include <string>

#include "TempFolder.h"
#include "store/BackgroundBackup.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/StoreBackups.h"
#include "store/StoreSession.h"

namespace keystead {
namespace {

using namespace std::chrono;
using test::TempFolder;

constexpr uid_t kOtherUser = 4242;

mode_t backupModeOf(const std::filesystem::path& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// The text of the KeysteadError that action throws; empty when it throws none.
std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const KeysteadError& error) {
        return error.what();
    }
    return {};
}

class StoreBackupsTest : public ::testing::Test {
protected:
    StoreBackupsTest() {
        const auto store = RegistryStore::OpenFile(file_);
        store->WriteString("Alice", "MainPassword", "alice-cipher");
        store->WriteString("Alice", "Entry1", "first");
        store->WriteString("Options", "Colour", "blue");
    }

    StoreBackups backups() {
        return StoreBackups(file_, [this] { return now_; });
    }

    std::string entryOfAlice() {
        return RegistryStore::OpenFile(file_)->ReadString("Alice", "Entry1", "(none)");
    }

    void overwritePageTwo(const std::filesystem::path& file) const {
        std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
        bytes.seekp(4096);
        bytes << std::string(4096, 'U');
    }

    void deleteAlicesEntry() { RegistryStore::OpenFile(file_)->DeleteValue("Alice", "Entry1"); }

    TempFolder temp_;
    const std::filesystem::path file_ = temp_.storeFile();
    const std::filesystem::path folder_ = temp_.path() / "backups";
    BackupTime now_ = sys_days(2026y / December / 8) + 14h + 30min;
};

TEST_F(StoreBackupsTest, ABackupIsACheckedCopyNamedByItsUtcTimeForTheOwnerAlone) {
    const auto taken = backups().take();
    EXPECT_EQ(taken, folder_ / "registry-20261208T143000Z.sqlite");
    EXPECT_EQ(backupModeOf(folder_), 0700);
    EXPECT_EQ(backupModeOf(taken), 0600);
    // A second one within the same second keeps the first.
    EXPECT_EQ(backups().take(), folder_ / "registry-20261208T143000Z-2.sqlite");
    const auto listed = backups().list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].file, taken);
    EXPECT_EQ(listed[1].time, now_);
    EXPECT_EQ(listed[1].users, std::vector<std::string>{"Alice"});
    EXPECT_EQ(listed[1].size, std::filesystem::file_size(taken));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 2);
}

// The store damaged on disk cannot be copied into a checked backup.
TEST_F(StoreBackupsTest, OldBackupsGoOnlyAfterANewOneIsComplete) {
    const auto first = backups().take();
    for (int hour = 1; hour <= 10; ++hour) {
        now_ += 1h;
        backups().take();
    }
    EXPECT_FALSE(std::filesystem::exists(first));
    const auto oldest = backups().list().back().file;
    overwritePageTwo(file_);
    EXPECT_THROW(backups().take(), KeysteadError);
    EXPECT_TRUE(std::filesystem::exists(oldest));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 10);
}

TEST_F(StoreBackupsTest, RestoreBringsBackTheStateAfterBackingUpThePresentStore) {
    const auto before = backups().take();
    deleteAlicesEntry();
    now_ += 1min;
    backups().restore(before);
    EXPECT_EQ(entryOfAlice(), "first");
    const auto listed = backups().list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].time, now_);   // the present store, taken before the restore
    deleteAlicesEntry();
    backups().restore(listed[0].file);
    EXPECT_EQ(entryOfAlice(), "(none)");
}

TEST_F(StoreBackupsTest, ADamagedBackupIsNeverOfferedNorRestored) {
    const auto sound = backups().take();
    now_ += 1h;
    const auto damaged = backups().take();
    overwritePageTwo(damaged);
    const auto listed = backups().list();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].file, sound);
    deleteAlicesEntry();
    EXPECT_THROW(backups().restore(damaged), KeysteadError);
    EXPECT_EQ(entryOfAlice(), "(none)");
}

TEST_F(StoreBackupsTest, ADamagedStoreIsKeptBesideItAndReplacedByTheBackup) {
    const auto backup = backups().take();
    overwritePageTwo(file_);
    const auto damagedBytes = std::filesystem::file_size(file_);
    EXPECT_THROW(RegistryStore::OpenFile(file_), DamagedStoreError);
    const auto kept = backups().recoverDamaged(backup);
    EXPECT_EQ(kept, temp_.path() / "registry.damaged-20261208T143000Z.sqlite");
    EXPECT_EQ(std::filesystem::file_size(kept), damagedBytes);
    EXPECT_EQ(entryOfAlice(), "first");
    EXPECT_EQ(backupModeOf(file_), 0600);
}

TEST_F(StoreBackupsTest, AFolderThatIsALinkOrAnotherUsersIsRefused) {
    const auto elsewhere = temp_.path() / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    std::filesystem::create_directory_symlink(elsewhere, folder_);
    EXPECT_NE(errorOf([&] { backups().take(); }).find("is a symbolic link"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));

    std::filesystem::remove(folder_);
    std::filesystem::create_directory(folder_);
    if (lchown(folder_.c_str(), kOtherUser, kOtherUser) != 0) {
        GTEST_SKIP() << "only a test run by root can give a folder to another user";
    }
    EXPECT_NE(errorOf([&] { backups().take(); }).find("belongs to another user"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

TEST_F(StoreBackupsTest, AtStartUpABackupIsTakenOnlyWhenTheNewestIsOldOrDiffers) {
    EXPECT_TRUE(backups().takeWhenDue());
    now_ += 23h;
    EXPECT_FALSE(backups().takeWhenDue());
    deleteAlicesEntry();
    EXPECT_TRUE(backups().takeWhenDue());
    now_ += 24h;
    EXPECT_TRUE(backups().takeWhenDue());
    EXPECT_EQ(backups().list().size(), 3u);
}

// The command that asked for the backup changes the store at once; the backup holds it as it was.
TEST_F(StoreBackupsTest, ABackgroundBackupHoldsTheStoreAsItWasWhenAsked) {
    {
        const BackgroundBackup backup(file_, BackgroundBackup::When::Now);
        deleteAlicesEntry();
    }
    const auto taken = backups().list();
    ASSERT_EQ(taken.size(), 1U);
    EXPECT_EQ(entryOfAlice(), "(none)");
    backups().restore(taken.front().file);
    EXPECT_EQ(entryOfAlice(), "first");
}

TEST_F(StoreBackupsTest, RestoreIsRefusedWhileAnotherProcessHoldsAStoreSession) {
    const auto before = backups().take();
    deleteAlicesEntry();
    int ready[2] = {-1, -1};
    int finished[2] = {-1, -1};
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(finished), 0);
    const pid_t child = fork();
    if (child == 0) {
        int status = 1;
        try {
            const auto store = RegistryStore::OpenFile(file_);
            StoreSession session(*store);
            char signal = 'x';
            if (write(ready[1], &signal, 1) == 1 && read(finished[0], &signal, 1) == 1) {
                status = 0;
            }
        } catch (...) {
        }
        _exit(status);
    }
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    EXPECT_NE(errorOf([&] { backups().restore(before); }).find("busy; the backup was not restored"),
              std::string::npos);
    EXPECT_EQ(write(finished[1], "x", 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    for (const int end : {ready[0], ready[1], finished[0], finished[1]}) {
        close(end);
    }
    EXPECT_EQ(entryOfAlice(), "(none)");
}

// A process killed while it takes backups, or while it restores one, at the moment a new backup
// file appears: the store always opens holding the state before or after, and every file named
// as a backup is a complete, checked copy.
class KilledBackupTest : public StoreBackupsTest {
protected:
    KilledBackupTest() {
        std::vector<StoredValue> values;
        for (int n = 0; n < 1000; ++n) {
            values.push_back({"Value" + std::to_string(n), std::string(60, 'v')});
        }
        RegistryStore::OpenFile(file_)->writeValues("Alice", values);
    }

    std::size_t namedBackupCount() const {
        std::size_t count = 0;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
            count += entry.path().filename().string().starts_with("registry-2") ? 1 : 0;
        }
        return count;
    }

    // Starts work in a child, kills it once a new backup file has appeared, and checks the store
    // and the folder.
    void killDuringWork(const std::function<void()>& work) {
        const std::size_t before = namedBackupCount();
        const pid_t child = fork();
        if (child == 0) {
            try {
                work();
            } catch (...) {
            }
            _exit(0);
        }
        const auto deadline = steady_clock::now() + 20s;
        while (namedBackupCount() == before && steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string entry = entryOfAlice();
        EXPECT_TRUE(entry == "first" || entry == "(none)") << entry;
        EXPECT_EQ(backups().list().size(), namedBackupCount());
    }
};

TEST_F(KilledBackupTest, AKillDuringABackupOrARestoreLosesNothing) {
    const auto full = backups().take();
    deleteAlicesEntry();
    const auto emptied = backups().take();
    for (int kill = 0; kill < 20; ++kill) {
        killDuringWork([this] {
            for (;;) {
                backups().take();
            }
        });
    }
    for (int kill = 0; kill < 20; ++kill) {
        killDuringWork([&] {
            for (;;) {
                backups().restore(full);
                backups().restore(emptied);
            }
        });
    }
}

}  // namespace
}  // namespace keystead
