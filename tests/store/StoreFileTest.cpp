// Where the store file lives, how it is created, and files that are refused.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "RawDatabase.h"
#include "TempFolder.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"

namespace keystead {
namespace {

using test::TempFolder;

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
        EXPECT_EQ(contentOf(file), content);
    }
}

TEST(StoreFileTest, AnotherProgramsDatabaseIsRefusedAndLeftAsItWas) {
    const TempFolder folder;
    const auto file = folder.storeFile();
    test::RawDatabase(file).exec("CREATE TABLE sections (x); INSERT INTO sections VALUES (1);");
    const std::string before = contentOf(file);
    const std::string error = openingError(file);
    EXPECT_NE(error.find("is not a Keystead store"), std::string::npos) << error;
    EXPECT_EQ(contentOf(file), before);
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
    std::string damaged = contentOf(file);
    ASSERT_GT(damaged.size(), 8 * 4096U);
    std::fill(damaged.begin() + 3 * 4096, damaged.end(), '\xff');
    writeFile(file, damaged);

    const std::string error = openingError(file);
    EXPECT_EQ(error, "The store file '" + file.string() + "' is damaged; it was left unchanged");
    EXPECT_EQ(contentOf(file), damaged);
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

}  // namespace
}  // namespace keystead
