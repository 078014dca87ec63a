// Where the store file lives, how it is created, and files that are refused.

#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "../support/ReadFile.h"
#include "RawDatabase.h"
#include "TempFolder.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"

namespace keystead {
namespace {

using test::TempFolder;

void writeFile(const std::filesystem::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// The text of the error opening the file gives; the test fails when it opens.
std::string openingError(const std::filesystem::path& file) {
    try {
        RegistryStore::OpenFile(file);
    } catch (const KeysteadError& error) {
        return error.what();
    }
    ADD_FAILURE() << file << " opened";
    return {};
}

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
    ~ScopedUmask() { umask(old_); }

private:
    mode_t old_;
};

TEST(StoreFileTest, TheDefaultFileIsBelowTheDataHome) {
    {
        const ScopedEnvironment xdg("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(RegistryStore::DefaultFile(), "/data/home/Vorrent/Keystead/registry.sqlite");
    }
    const ScopedEnvironment home("HOME", "/home/someone");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/path"}) {
        const ScopedEnvironment xdg("XDG_DATA_HOME", unusable);
        EXPECT_EQ(RegistryStore::DefaultFile(),
                  "/home/someone/.local/share/Vorrent/Keystead/registry.sqlite");
    }
}

// An account without an entry in the user database, or without an absolute home there, has no
// place for the store: that is said, never guessed.
TEST(StoreFileTest, AHomeThatIsNotAnAbsolutePathGivesWayToTheAccountsHome) {
    const passwd* const account = getpwuid(getuid());
    const std::optional<std::filesystem::path> accountHome =
        account != nullptr && account->pw_dir != nullptr && std::filesystem::path(account->pw_dir).is_absolute()
            ? std::optional<std::filesystem::path>(account->pw_dir)
            : std::nullopt;
    const ScopedEnvironment xdg("XDG_DATA_HOME", "data");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "home", "./home"}) {
        const ScopedEnvironment home("HOME", unusable);
        if (accountHome) {
            EXPECT_EQ(RegistryStore::DefaultFile(), *accountHome / ".local/share/Vorrent/Keystead/registry.sqlite");
        } else {
            try {
                RegistryStore::DefaultFile();
                ADD_FAILURE() << "a store file without a home folder";
            } catch (const KeysteadError& error) {
                EXPECT_STREQ(error.what(), "Cannot find the home folder for the store");
            }
        }
    }
}

TEST(StoreFileTest, CreatedFoldersAndFilesAreForTheOwnerOnlyWhateverTheUmask) {
    const TempFolder folder;
    const ScopedEnvironment xdg("XDG_DATA_HOME", (folder.path() / "data").c_str());
    const ScopedUmask openMask(0);
    const auto file = RegistryStore::DefaultFile();
    const auto store = RegistryStore::OpenFile(file);
    store->WriteString("Bob", "x", "1");
    EXPECT_EQ(modeOf(folder.path() / "data"), 0700);
    EXPECT_EQ(modeOf(folder.path() / "data" / "Vorrent"), 0700);
    EXPECT_EQ(modeOf(file.parent_path()), 0700);
    EXPECT_EQ(modeOf(file), 0600);
    EXPECT_EQ(modeOf(file.string() + "-wal"), 0600);
    EXPECT_EQ(modeOf(file.string() + "-shm"), 0600);
}

TEST(StoreFileTest, AnEmptyFileIsTakenAsAFreshStore) {
    const TempFolder folder;
    writeFile(folder.storeFile(), "");
    const auto store = RegistryStore::OpenFile(folder.storeFile());
    store->WriteString("Bob", "x", "1");
    EXPECT_EQ(store->ReadSections(), std::vector<std::string>{"Bob"});
}

TEST(StoreFileTest, AFileThatIsNoDatabaseIsRefusedAndLeftAsItWas) {
    const TempFolder folder;
    const auto file = folder.storeFile();
    for (const std::string& content : {std::string("hello world\n"), std::string(8192, 'x')}) {
        writeFile(file, content);
        const std::string error = openingError(file);
        EXPECT_NE(error.find("'" + file.string() + "'"), std::string::npos) << error;
        EXPECT_NE(error.find("is not a Keystead store"), std::string::npos) << error;
        EXPECT_EQ(test::readFile(file), content);
    }
}

TEST(StoreFileTest, AnotherProgramsDatabaseIsRefusedAndLeftAsItWas) {
    const TempFolder folder;
    const auto file = folder.storeFile();
    test::RawDatabase(file).exec("CREATE TABLE sections (x); INSERT INTO sections VALUES (1);");
    const std::string before = test::readFile(file);
    const std::string error = openingError(file);
    EXPECT_NE(error.find("is not a Keystead store"), std::string::npos) << error;
    EXPECT_EQ(test::readFile(file), before);
}

TEST(StoreFileTest, ADamagedStoreIsRefusedAndLeftAsItWas) {
    const TempFolder folder;
    const auto file = folder.storeFile();
    {
        const auto store = RegistryStore::OpenFile(file);
        for (int n = 1; n <= 300; ++n) {
            store->WriteString("Bob", "Comments" + std::to_string(n), std::string(200, 'c'));
        }
    }
    // Everything after the first three pages becomes garbage, as a failing disk might leave it.
    std::string damaged = test::readFile(file);
    ASSERT_GT(damaged.size(), 8 * 4096U);
    std::fill(damaged.begin() + 3 * 4096, damaged.end(), '\xff');
    writeFile(file, damaged);

    const std::string error = openingError(file);
    EXPECT_EQ(error, "The store file '" + file.string() + "' is damaged; it was left unchanged");
    EXPECT_EQ(test::readFile(file), damaged);
}

TEST(StoreFileTest, AFolderThatCannotBeCreatedGivesAClearError) {
    const TempFolder folder;
    writeFile(folder.path() / "plain-file", "x");
    const auto file = folder.path() / "plain-file" / "Keystead" / "registry.sqlite";
    const std::string error = openingError(file);
    EXPECT_EQ(error.rfind("Cannot create the folder '" + (folder.path() / "plain-file").string() +
                              "' for the store: ",
                          0),
              0U)
        << error;
}

// The store is narrowed to its owner when it was left open to others, and a store that is a
// link, or that someone else owns, is refused with nothing changed.
class StoreAccessTest : public testing::Test {
protected:
    static constexpr uid_t kOtherUser = 65534;

    void SetUp() override {
        std::filesystem::create_directory(folder_);
        RegistryStore::OpenFile(file_)->WriteString("Bob", "Password1", "secret");
    }

    // The error text must name the path and say that nothing was changed.
    static void expectRefused(const std::filesystem::path& opened,
                              const std::filesystem::path& named, const std::string& reason) {
        const std::string error = openingError(opened);
        EXPECT_NE(error.find("'" + named.string() + "' " + reason), std::string::npos) << error;
        EXPECT_NE(error.find("left unchanged"), std::string::npos) << error;
    }

    bool giveAway(const std::filesystem::path& path) const {
        return lchown(path.c_str(), kOtherUser, kOtherUser) == 0;
    }

    const TempFolder temp_;
    const std::filesystem::path folder_ = temp_.path() / "Keystead";
    const std::filesystem::path file_ = folder_ / "registry.sqlite";
};

TEST_F(StoreAccessTest, AFolderAndFileOpenToOthersAreNarrowedToTheOwner) {
    chmod(folder_.c_str(), 0777);
    chmod(file_.c_str(), 0644);
    writeFile(file_.string() + "-wal", "");
    chmod((file_.string() + "-wal").c_str(), 0666);
    const auto store = RegistryStore::OpenFile(file_);
    EXPECT_EQ(store->ReadString("Bob", "Password1", ""), "secret");
    EXPECT_EQ(modeOf(folder_), 0700);
    EXPECT_EQ(modeOf(file_), 0600);
    EXPECT_EQ(modeOf(file_.string() + "-wal"), 0600);
}

TEST_F(StoreAccessTest, AStoreFileThatIsALinkIsRefusedAndItsTargetLeftAsItWas) {
    const auto elsewhere = temp_.path() / "elsewhere.sqlite";
    std::filesystem::rename(file_, elsewhere);
    chmod(elsewhere.c_str(), 0666);
    const std::string before = test::readFile(elsewhere);
    std::filesystem::create_symlink(elsewhere, file_);
    expectRefused(file_, file_, "is a symbolic link");
    EXPECT_EQ(test::readFile(elsewhere), before);
    EXPECT_EQ(modeOf(elsewhere), 0666);
}

TEST_F(StoreAccessTest, AFolderThatIsALinkIsRefused) {
    const auto elsewhere = temp_.path() / "elsewhere";
    std::filesystem::rename(folder_, elsewhere);
    chmod(elsewhere.c_str(), 0777);
    std::filesystem::create_directory_symlink(elsewhere, folder_);
    expectRefused(file_, folder_, "is a symbolic link");
    EXPECT_EQ(modeOf(elsewhere), 0777);
}

TEST_F(StoreAccessTest, AStoreOrFolderOfAnotherUserIsRefusedAndLeftAsItWas) {
    chmod(file_.c_str(), 0644);
    if (!giveAway(file_)) {
        GTEST_SKIP() << "only a test run by root can give a file to another user";
    }
    expectRefused(file_, file_, "belongs to another user");
    EXPECT_EQ(modeOf(file_), 0644);

    ASSERT_EQ(lchown(file_.c_str(), geteuid(), getegid()), 0);
    chmod(folder_.c_str(), 0755);
    ASSERT_TRUE(giveAway(folder_));
    expectRefused(file_, folder_, "belongs to another user");
    EXPECT_EQ(modeOf(folder_), 0755);
    EXPECT_EQ(modeOf(file_), 0644);
}

// A file system without shared memory, as some network homes are: every file SQLite opens is
// wrapped in methods of the first version, which has none of the shared-memory methods WAL needs.
// Registered as the default for the life of the object.
class NoSharedMemoryFileSystem {
public:
    NoSharedMemoryFileSystem() : base_(sqlite3_vfs_find(nullptr)), vfs_(*base_) {
        instance_ = this;
        vfs_.zName = "keystead-no-shared-memory";
        vfs_.szOsFile = static_cast<int>(sizeof(WrappedFile)) + base_->szOsFile;
        vfs_.xOpen = &openFile;
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~NoSharedMemoryFileSystem() {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(base_, 1);
        instance_ = nullptr;
    }
    NoSharedMemoryFileSystem(const NoSharedMemoryFileSystem&) = delete;
    NoSharedMemoryFileSystem& operator=(const NoSharedMemoryFileSystem&) = delete;

private:
    struct WrappedFile {
        sqlite3_file file;
        sqlite3_file* base;   // the real file, right behind this header
    };

    static sqlite3_file* real(sqlite3_file* file) {
        return reinterpret_cast<WrappedFile*>(file)->base;
    }

    static int openFile(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags,
                        int* outFlags) {
        auto* wrapped = reinterpret_cast<WrappedFile*>(file);
        wrapped->base = reinterpret_cast<sqlite3_file*>(wrapped + 1);
        wrapped->file.pMethods = nullptr;
        sqlite3_vfs* const base = instance_->base_;
        const int rc = base->xOpen(base, name, wrapped->base, flags, outFlags);
        if (rc == SQLITE_OK) {
            wrapped->file.pMethods = &kMethods;
        }
        return rc;
    }

    static constexpr sqlite3_io_methods kMethods = {
        1,
        [](sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); },
        [](sqlite3_file* f, void* b, int n, sqlite3_int64 o) {
            return real(f)->pMethods->xRead(real(f), b, n, o);
        },
        [](sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
            return real(f)->pMethods->xWrite(real(f), b, n, o);
        },
        [](sqlite3_file* f, sqlite3_int64 s) { return real(f)->pMethods->xTruncate(real(f), s); },
        [](sqlite3_file* f, int flags) { return real(f)->pMethods->xSync(real(f), flags); },
        [](sqlite3_file* f, sqlite3_int64* s) { return real(f)->pMethods->xFileSize(real(f), s); },
        [](sqlite3_file* f, int l) { return real(f)->pMethods->xLock(real(f), l); },
        [](sqlite3_file* f, int l) { return real(f)->pMethods->xUnlock(real(f), l); },
        [](sqlite3_file* f, int* r) { return real(f)->pMethods->xCheckReservedLock(real(f), r); },
        [](sqlite3_file* f, int op, void* a) {
            return real(f)->pMethods->xFileControl(real(f), op, a);
        },
        [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); },
        [](sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); },
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    };

    static inline NoSharedMemoryFileSystem* instance_ = nullptr;
    sqlite3_vfs* base_;
    sqlite3_vfs vfs_;
};

std::string journalModeOf(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr);
    std::string mode;
    if (sqlite3_step(statement) == SQLITE_ROW) {
        mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return mode;
}

TEST(StoreJournalTest, WithoutSharedMemoryTheStoreKeepsToTheRollbackJournalAndTakesWalLater) {
    const TempFolder folder;
    const auto file = folder.storeFile();
    {
        const NoSharedMemoryFileSystem noSharedMemory;
        const auto store = RegistryStore::OpenFile(file);
        store->WriteString("Bob", "Password1", "secret");
        EXPECT_EQ(journalModeOf(file), "delete");
        const auto second = RegistryStore::OpenFile(file, std::chrono::milliseconds(200));
        second->WriteString("Bob", "Password2", "more");
        EXPECT_EQ(store->ReadString("Bob", "Password2", ""), "more");
    }
    // Back where shared memory works, the store runs on WAL again.
    const auto store = RegistryStore::OpenFile(file);
    EXPECT_EQ(journalModeOf(file), "wal");
    EXPECT_EQ(store->ReadString("Bob", "Password1", ""), "secret");
}

}  // namespace
}  // namespace keystead
