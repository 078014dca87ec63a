// The export file: its two layouts, the import's numbering and re-encryption, and the import's
// refusal of damaged files with the store left exactly as it was.

#include "exchange/ExportFile.h"

#include <sys/stat.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "UserFixture.h"
#include "exchange/ImportFile.h"
#include "platform/ProgressStep.h"
#include "session/ProgramVersion.h"
#include "store/KeysteadError.h"

namespace keystead::test {
namespace {

const std::string kEnd = "*** End Password Information ***";
// Bytes of the Windows ANSI code page that are no UTF-8: "Café", "Müller" as older data holds them.
const std::string kCafe = "Caf\xE9";
const std::string kMuller = "M\xFCller";

const std::vector<PlainEntry> kEntries{
    {"Bank", "alice", "s3cret", "one line", "30", "12"},
    {"Mail", "", "pw2", "", "", ""},
    {kCafe, kMuller, "p\xE4ss", "first\r\nsecond\r\nthird", "", ""},
};

class ExportFileTest : public UserFixture {
protected:
    std::string errorOf(const std::function<void()>& work) {
        try {
            work();
        } catch (const KeysteadError& error) {
            return error.what();
        }
        return "no error";
    }

    int import(const std::filesystem::path& from, const std::string& password, ImportMode mode) {
        return ImportExportFile(*store, state, from, password, mode);
    }
};

TEST_F(ExportFileTest, EncryptedFileHoldsTheStoredValuesUnchanged) {
    logOn("Alice", "alice pw", kEntries);
    const auto out = file("passwords.txt");
    WriteEncryptedExport(*store, state, out);

    const auto lines = crlfLines(readFile(out));
    ASSERT_EQ(lines.size(), 3u + 7u * kEntries.size());
    EXPECT_EQ(lines[0], "VERSION 3.0.0");
    EXPECT_EQ(diamond.DecryptCipherString(lines[1]), "Keystead");
    EXPECT_EQ(lines[2], "3");
    const auto stored = EntryStore(*store, state).readAll();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const auto* entry = &lines[3 + 7 * i];
        EXPECT_EQ((StoredEntry{entry[0], entry[1], entry[2], entry[5], entry[3], entry[4]}), stored[i]);
        EXPECT_EQ(entry[6], kEnd);
    }
    // Absent values are empty lines.
    EXPECT_EQ(lines[3 + 7 + 1], "");
    EXPECT_EQ(lines[3 + 7 + 5], "");

#ifndef _WIN32   // Windows keeps no modes: the file takes the access list of its folder
    struct stat status {};
    ASSERT_EQ(::stat(out.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
#endif
}

TEST_F(ExportFileTest, PlainFileHoldsTheDecryptedBytes) {
    logOn("Alice", "alice pw", kEntries);
    const auto out = file("plain.txt");
    WritePlainExport(*store, state, out);

    const std::string dashes(70, '-');
    const std::vector<std::string> expected{
        "Bank", "alice", "s3cret", "one line", dashes,
        "Mail", "", "pw2", "", dashes,
        kCafe, kMuller, "p\xE4ss", "first", "second", "third", dashes,
    };
    EXPECT_EQ(crlfLines(readFile(out)), expected);
}

TEST_F(ExportFileTest, FailedExportLeavesTheEarlierFileAndNoTemporaryFile) {
    logOn("Alice", "alice pw", kEntries);
    const auto out = file("passwords.txt");
    writeFile(out, "earlier export");
    const auto names = folderNames();

    const std::string error = errorOf([&] {
        WriteEncryptedExport(*store, state, out, [](int done, int) {
            if (done == 2) {
                throw KeysteadError("interrupted");
            }
        });
    });
    EXPECT_EQ(error, "interrupted");
    EXPECT_EQ(readFile(out), "earlier export");
    EXPECT_EQ(folderNames(), names);

    // A folder that is gone: the message names the file and the cause.
    const auto missing = file("gone") / "passwords.txt";
    EXPECT_EQ(errorOf([&] { WritePlainExport(*store, state, missing); }),
              "Cannot write the file '" + missing.string() + "': No such file or directory");
    // A folder in the way of the file.
    std::filesystem::create_directory(file("taken.txt"));
    EXPECT_EQ(errorOf([&] { WriteEncryptedExport(*store, state, file("taken.txt")); }),
              "Cannot write the file '" + file("taken.txt").string() + "': it is not a regular file");
    EXPECT_TRUE(std::filesystem::is_directory(file("taken.txt")));
    EXPECT_EQ(folderNames().size(), names.size() + 1);
}

#ifndef _WIN32   // the store is a registry key there, and the file system another's
// The store keeps every user's list in the folder an export goes to by default: an export over it,
// by any spelling of its folder, or over a journal file beside it, is refused and the list stays.
TEST_F(ExportFileTest, TheStoreAndItsJournalFilesAreNoExportTargets) {
    logOn("Alice", "alice pw", kEntries);
    std::filesystem::create_directory(file("sub"));
    const std::string storeFile = folder.storeFile().string();
    for (const std::filesystem::path& target :
         {folder.storeFile(), folder.path() / "sub" / ".." / folder.storeFile().filename(),
          std::filesystem::path(storeFile + "-wal"), std::filesystem::path(storeFile + "-shm"),
          std::filesystem::path(storeFile + "-journal")}) {
        const std::string expected =
            "Cannot write the file '" + target.string() + "': it is where Keystead keeps the passwords of every user";
        EXPECT_EQ(errorOf([&] { WriteEncryptedExport(*store, state, target); }), expected);
        EXPECT_EQ(errorOf([&] { WritePlainExport(*store, state, target); }), expected);
    }
    store = RegistryStore::OpenFile(folder.storeFile());
    EXPECT_EQ(plainEntries(), kEntries);
}

// Only a regular file is replaced: a link stays a link with its target's text, a pipe stays a
// pipe. A name as long as a folder allows is a file name like any other.
TEST_F(ExportFileTest, OnlyARegularFileIsReplacedWhateverItsNameLength) {
    logOn("Alice", "alice pw", kEntries);
    writeFile(file("elsewhere.txt"), "earlier export");
    std::filesystem::create_symlink(file("elsewhere.txt"), file("link.txt"));
    ASSERT_EQ(::mkfifo(file("pipe.txt").c_str(), 0600), 0);
    for (const char* name : {"link.txt", "pipe.txt"}) {
        EXPECT_EQ(errorOf([&] { WriteEncryptedExport(*store, state, file(name)); }),
                  "Cannot write the file '" + file(name).string() + "': it is not a regular file");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(file("link.txt")));
    EXPECT_EQ(readFile(file("elsewhere.txt")), "earlier export");
    EXPECT_TRUE(std::filesystem::is_fifo(file("pipe.txt")));
    const auto names = folderNames();

    const std::string longName = std::string(246, 'n') + ".txt";
    WriteEncryptedExport(*store, state, file(longName));
    EXPECT_EQ(readFile(file(longName)).substr(0, 15), "VERSION 3.0.0\r\n");
    EXPECT_EQ(folderNames().size(), names.size() + 1);
}

// A plain export that fails half-way, here at a file size limit, leaves no file of passwords.
TEST_F(ExportFileTest, APlainExportFailingHalfWayLeavesNoFileBehind) {
    logOn("Alice", "alice pw", std::vector<PlainEntry>(40, PlainEntry{"Bank", "alice", "s3cret", std::string(200, 'c'), "", ""}));
    const auto names = folderNames();
    const auto out = file("plain.txt");
    const std::string expected = "Cannot write the file '" + out.string() + "': File too large";
    const pid_t child = fork();
    if (child == 0) {
        const auto childStore = RegistryStore::OpenFile(folder.storeFile());
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(errorOf([&] { WritePlainExport(*childStore, state, out); }) == expected ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the export did not fail with: " << expected;
    EXPECT_EQ(folderNames(), names);
}
#endif

TEST_F(ExportFileTest, AddAppendsAndOverwriteReplacesInFileOrder) {
    logOn("Alice", "alice pw", kEntries);
    const auto exported = file("passwords.txt");
    WriteEncryptedExport(*store, state, exported);

    logOn("Bob", "bob pw", {{"Old 1", "u1", "p1", "c1", "5", "5"}, {"Old 2", "", "p2", "", "", ""}});
    EXPECT_EQ(import(exported, "alice pw", ImportMode::Add), 3);
    auto expected = std::vector<PlainEntry>{{"Old 1", "u1", "p1", "c1", "5", "5"}, {"Old 2", "", "p2", "", "", ""}};
    expected.insert(expected.end(), kEntries.begin(), kEntries.end());
    EXPECT_EQ(plainEntries(), expected);
    EXPECT_EQ(state.PasswordCount, 5);
    EXPECT_EQ(store->ReadInteger("Bob", "TotalPasswords", 0), 5);
    // The entry with only a description and a password gets only those two values.
    const auto values = sectionValues();
    for (const char* absent : {"Username4", "Comments4", "Expiration4", "DaysTillExpiration4"}) {
        EXPECT_EQ(values.count(absent), 0u) << absent;
    }
    EXPECT_EQ(values.count("System4") + values.count("Password4"), 2u);

    EXPECT_EQ(import(exported, "alice pw", ImportMode::Overwrite), 3);
    EXPECT_EQ(plainEntries(), kEntries);
    EXPECT_EQ(state.PasswordCount, 3);
    for (const auto& [ident, value] : sectionValues()) {
        EXPECT_EQ(ident.find_first_of("45"), std::string::npos) << ident << " was left behind";
    }
}

TEST_F(ExportFileTest, EarlierFormKeepsPlainDescriptionsAndComments) {
    TDiamond fileCipher;
    fileCipher.SetKey("");   // an empty file password: the empty key as the cipher has it
    const std::string file1 =
        "Version 3.0.0\n" + fileCipher.EncryptToCipherString("Keystead") + "\n1\n" + kCafe + "\n" +
        fileCipher.EncryptToCipherString("user") + "\n" + fileCipher.EncryptToCipherString("pw") +
        "\n\n\nnote one\r\nnote two\n" + kEnd + "\n";
    writeFile(file("old.txt"), file1);
    logOn("Alice", "alice pw");
    EXPECT_EQ(import(file("old.txt"), "", ImportMode::Add), 1);
    EXPECT_EQ(plainEntries(), (std::vector<PlainEntry>{{kCafe, "user", "pw", "note one\r\nnote two", "", ""}}));
}

TEST_F(ExportFileTest, RefusedAndDamagedFilesLeaveTheStoreAsItWas) {
    logOn("Alice", "alice pw", kEntries);
    WriteEncryptedExport(*store, state, file("good.txt"));
    WritePlainExport(*store, state, file("plain.txt"));
    const std::string good = readFile(file("good.txt"));
    const auto lines = crlfLines(good);
    const auto join = [](std::vector<std::string> parts) {
        std::string out;
        for (const auto& part : parts) {
            out += part + "\r\n";
        }
        return out;
    };
    const std::string head = lines[0] + "\r\n" + lines[1] + "\r\n";
    const std::string firstEntry = join({lines.begin() + 3, lines.begin() + 10});
    auto flipped = lines;
    char& inPassword = flipped[3 + 7 + 2][20];   // in the password of the second entry
    inPassword = inPassword == 'A' ? 'B' : 'A';
    struct Damaged {
        const char* what;
        std::string bytes;
        std::string_view message;
    };
    const std::vector<Damaged> damaged{
        {"plain export", readFile(file("plain.txt")), kWrongFilePasswordText},
        {"empty file", "", kWrongFilePasswordText},
        {"no count", head, kCorruptListText},
        {"count 0", head + "0\r\n" + firstEntry, kCorruptListText},
        {"count not a number", head + "two\r\n" + firstEntry, kCorruptListText},
        {"negative count", head + "-1\r\n" + firstEntry, kCorruptListText},
        {"count above the entries", head + "2\r\n" + firstEntry, kCorruptListText},
        {"huge count", head + "2147483647\r\n" + firstEntry, kCorruptListText},
        {"ends inside an entry", good.substr(0, good.size() - 60), kCorruptListText},
        {"entry without its end line", good.substr(0, good.rfind(kEnd)), kCorruptListText},
        {"flipped character in an entry line", join(flipped), kCorruptListText},
    };
    logOn("Bob", "bob pw", {{"Mine", "me", "pw", "keep", "9", "3"}});
    const auto before = sectionValues();
    for (const auto& file1 : damaged) {
        writeFile(file("damaged.txt"), file1.bytes);
        for (const ImportMode mode : {ImportMode::Add, ImportMode::Overwrite}) {
            EXPECT_EQ(errorOf([&] { import(file("damaged.txt"), "alice pw", mode); }), file1.message)
                << file1.what;
            EXPECT_EQ(sectionValues(), before) << file1.what;
            EXPECT_EQ(state.PasswordCount, 1) << file1.what;
        }
    }
    EXPECT_EQ(errorOf([&] { import(file("good.txt"), "Alice pw", ImportMode::Overwrite); }),
              kWrongFilePasswordText);
    // The old list deleted, the new one half stored: broken off there, nothing of it stays.
    EXPECT_EQ(errorOf([&] {
                  ImportExportFile(*store, state, file("good.txt"), "alice pw", ImportMode::Overwrite,
                                   [](int done, int) {
                                       if (done == 2) {
                                           throw KeysteadError("broken off");
                                       }
                                   });
              }),
              "broken off");
    EXPECT_EQ(errorOf([&] { import(file("missing.txt"), "alice pw", ImportMode::Add); }),
              "Cannot read the file '" + file("missing.txt").string() + "': No such file or directory");
    EXPECT_EQ(sectionValues(), before);
}

#ifndef _WIN32
// The import opens nothing but a regular file, never through a link and never waiting for a pipe's
// writer, and no file larger than any export file.
TEST_F(ExportFileTest, ImportReadsOnlyARegularFileOfAnExportFilesSize) {
    logOn("Alice", "alice pw", kEntries);
    WriteEncryptedExport(*store, state, file("good.txt"));
    std::filesystem::create_symlink(file("good.txt"), file("link.txt"));
    ASSERT_EQ(::mkfifo(file("pipe.txt").c_str(), 0600), 0);
    writeFile(file("big.txt"), readFile(file("good.txt")));
    std::filesystem::resize_file(file("big.txt"), kLargestImportFile + 1);
    const auto before = sectionValues();
    const auto refusal = [&](const char* name, std::string_view cause) {
        return "Cannot read the file '" + file(name).string() + "': " + std::string(cause);
    };
    EXPECT_EQ(errorOf([&] { import(file("link.txt"), "alice pw", ImportMode::Add); }),
              refusal("link.txt", "it is not a regular file"));
    EXPECT_EQ(errorOf([&] { import(file("pipe.txt"), "alice pw", ImportMode::Add); }),
              refusal("pipe.txt", "it is not a regular file"));
    EXPECT_EQ(errorOf([&] { import(file("big.txt"), "alice pw", ImportMode::Add); }),
              refusal("big.txt", "it is larger than 256 MiB, more than any export file"));
    EXPECT_EQ(sectionValues(), before);
}
#endif

// A section written before its user's first logon (a new user; keystead-cli's add and import)
// gets the version stamp, so that the logon's upgrade of earlier data never encrypts its entries
// a second time; a stamp already there stays.
TEST_F(ExportFileTest, WritersOfAnUnstampedSectionStampTheVersion) {
    logOn("Alice", "alice pw", kEntries);
    WriteEncryptedExport(*store, state, file("alice.txt"));
    const std::string major = std::to_string(compiledVersion().major);
    const std::string minor = std::to_string(compiledVersion().minor);
    logOn("Bob", "bob pw");
    EXPECT_EQ(sectionValues().at("MajorVersion"), major);
    EXPECT_EQ(sectionValues().at("MinorVersion"), minor);

    const auto unstamp = [&] { store->deleteValues("Bob", {"MajorVersion", "MinorVersion"}); };
    unstamp();
    EntryStore(*store, state).append(diamond, {"Bank", "", "pw", "", "", ""});
    EXPECT_EQ(sectionValues().at("MajorVersion"), major);
    unstamp();
    import(file("alice.txt"), "alice pw", ImportMode::Add);
    EXPECT_EQ(sectionValues().at("MajorVersion"), major);
    EXPECT_EQ(sectionValues().at("MinorVersion"), minor);

    store->WriteString("Bob", "MajorVersion", "7");
    import(file("alice.txt"), "alice pw", ImportMode::Overwrite);
    EXPECT_EQ(sectionValues().at("MajorVersion"), "7");
}

TEST(ProgressStepTest, ExportRoundsHalvesToEvenImportTruncates) {
    EXPECT_EQ(roundedProgressStep(3), 33);
    EXPECT_EQ(roundedProgressStep(6), 17);
    EXPECT_EQ(roundedProgressStep(8), 12);     // 12.5
    EXPECT_EQ(roundedProgressStep(40), 2);     // 2.5
    EXPECT_EQ(roundedProgressStep(200), 0);    // 0.5
    EXPECT_EQ(roundedProgressStep(133), 1);
    EXPECT_EQ(truncatedProgressStep(3), 33);
    EXPECT_EQ(truncatedProgressStep(150), 0);
}

}  // namespace
}  // namespace keystead::test
