// The entry layer: append, rewrite, delete with renumbering and delete all keep the entries
// numbered 1 to TotalPasswords without gaps.

#include "store/EntryStore.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

#include "TempFolder.h"
#include "crypto/Diamond.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

namespace keystead {
namespace {

constexpr const char* kUser = "Alice";

class EntryStoreTest : public ::testing::Test {
protected:
    EntryStoreTest() {
        state.CurrentUsername = kUser;
        diamond.SetKey("logon password");
        store->CreateUser(kUser, diamond.EncryptToCipherString(kUser));
    }

    test::TempFolder folder;
    std::unique_ptr<RegistryStore> store = RegistryStore::OpenFile(folder.storeFile());
    SessionState state;
    TDiamond diamond;
    EntryStore entries{*store, state};

    std::string raw(const std::string& ident) {
        return store->ReadString(kUser, ident, "<absent>");
    }
    std::string plain(const std::string& ident) { return diamond.DecryptCipherString(raw(ident)); }
    int total() { return store->ReadInteger(kUser, "TotalPasswords", -1); }

    // Adds entries whose texts tell their number: "system 3", "password 3" ...
    void addNumbered(int count) {
        for (int n = 1; n <= count; ++n) {
            const std::string tag = " " + std::to_string(n);
            entries.append(diamond, {"system" + tag, "user" + tag, "password" + tag,
                                     "comments" + tag, "3" + std::to_string(n),
                                     "2" + std::to_string(n)});
        }
    }

    // No entry value above TotalPasswords; System<n> and Password<n> for every n up to it.
    void expectNumbering() {
        const std::regex entryIdent(
            "(System|Username|Password|Comments|Expiration|DaysTillExpiration)([0-9]+)",
            std::regex::icase);
        const int count = total();
        for (const auto& value : store->readSectionValues(kUser)) {
            std::smatch match;
            if (std::regex_match(value.ident, match, entryIdent)) {
                const int n = std::stoi(match[2]);
                EXPECT_TRUE(n >= 1 && n <= count)
                    << value.ident << " with TotalPasswords " << count;
            }
        }
        for (int n = 1; n <= count; ++n) {
            EXPECT_NE(raw("System" + std::to_string(n)), "<absent>") << n;
            EXPECT_NE(raw("Password" + std::to_string(n)), "<absent>") << n;
        }
    }
};

TEST_F(EntryStoreTest, AppendStoresTrimmedCipherStringsAndNoEmptyOptionalValue) {
    EXPECT_EQ(entries.append(diamond, {"  Bank \t", "", " 1234 ", " \r\n  ", "", ""}), 1);
    EXPECT_EQ(state.PasswordCount, 1);
    EXPECT_EQ(total(), 1);
    EXPECT_EQ(plain("System1"), "Bank");
    EXPECT_EQ(plain("Password1"), "1234");
    for (const char* absent : {"Username1", "Comments1", "Expiration1", "DaysTillExpiration1"}) {
        EXPECT_EQ(raw(absent), "<absent>") << absent;
    }

    EXPECT_EQ(entries.append(diamond, {"Mail", " me@example.org ", "pw", "  line 1\r\n  line 2  ",
                                       " 30 ", "\t12"}),
              2);
    EXPECT_EQ(plain("Username2"), "me@example.org");
    EXPECT_EQ(plain("Comments2"), "  line 1\r\n  line 2  ");   // comments are kept as typed
    EXPECT_EQ(raw("Expiration2"), "30");
    EXPECT_EQ(raw("DaysTillExpiration2"), "12");
    EXPECT_EQ(state.PasswordCount, 2);
    expectNumbering();
}

TEST_F(EntryStoreTest, AppendNumbersFromTheStoredCountSoNoEntryIsOverwritten) {
    addNumbered(2);
    state.PasswordCount = 0;   // as another running instance could leave it
    EXPECT_EQ(entries.append(diamond, {"third", "", "pw", "", "", ""}), 3);
    EXPECT_EQ(plain("System1"), "system 1");
    EXPECT_EQ(plain("System2"), "system 2");
    EXPECT_EQ(state.PasswordCount, 3);
    EXPECT_EQ(total(), 3);
}

TEST_F(EntryStoreTest, AppendLeavesNothingOfValuesFoundAboveTheCount) {
    addNumbered(1);
    store->writeValues(kUser,
                       {{"Username2", "stale"}, {"comments2", "stale"}, {"Expiration2", "5"}});
    entries.append(diamond, {"new", "", "pw", "", "", ""});
    EXPECT_EQ(raw("Username2"), "<absent>");
    EXPECT_EQ(raw("Comments2"), "<absent>");
    EXPECT_EQ(raw("Expiration2"), "<absent>");
    expectNumbering();
}

TEST_F(EntryStoreTest, RewriteWritesOrDeletesEachValueOfTheEntryOnly) {
    addNumbered(2);
    const StoredEntry second = entries.read(2);
    const StoredEntry written =
        entries.rewrite(diamond, 1, {" renamed ", "  ", "new pw", "\r\n", "", ""}, entries.read(1));
    EXPECT_EQ(written, entries.read(1));
    EXPECT_EQ(plain("System1"), "renamed");
    EXPECT_EQ(plain("Password1"), "new pw");
    for (const char* absent : {"Username1", "Comments1", "Expiration1", "DaysTillExpiration1"}) {
        EXPECT_EQ(raw(absent), "<absent>") << absent;
    }
    EXPECT_EQ(entries.read(2), second);
    EXPECT_EQ(total(), 2);

    entries.rewrite(diamond, 1, {"renamed", "me", "pw", " note ", "7", "1"}, entries.read(1));
    EXPECT_EQ(plain("Username1"), "me");
    EXPECT_EQ(plain("Comments1"), " note ");
    EXPECT_EQ(raw("Expiration1"), "7");
    EXPECT_EQ(raw("DaysTillExpiration1"), "1");
    expectNumbering();
}

TEST_F(EntryStoreTest, AnEntryThatDoesNotExistIsNeitherRewrittenNorDeleted) {
    addNumbered(2);
    const auto before = store->readSectionValues(kUser);
    for (const int n : {0, -1, 3}) {
        EXPECT_THROW(entries.rewrite(diamond, n, {"x", "", "pw", "", "", ""}, entries.read(n)),
                     KeysteadError)
            << n;
        EXPECT_THROW(entries.remove(n, entries.read(n)), KeysteadError) << n;
    }
    const auto after = store->readSectionValues(kUser);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].ident, before[i].ident);
        EXPECT_EQ(after[i].value, before[i].value);
    }
    EXPECT_EQ(state.PasswordCount, 2);
}

TEST_F(EntryStoreTest, DeletingEntryTwoOfFourMovesTheLaterEntriesDownUnchanged) {
    addNumbered(4);
    // No comments.
    entries.rewrite(diamond, 3, {"system 3", "", "password 3", "", "", ""}, entries.read(3));
    const auto before = entries.readAll();
    ASSERT_FALSE(before[1].comments.empty());

    entries.remove(2, entries.read(2));
    EXPECT_EQ(entries.readAll(), (std::vector<StoredEntry>{before[0], before[2], before[3]}));
    // Entry 3 had no comments, so entry 2 has none now, though the deleted entry 2 had.
    EXPECT_EQ(raw("Comments2"), "<absent>");
    EXPECT_EQ(raw("Username2"), "<absent>");
    for (const char* gone : {"System4", "Username4", "Password4", "Comments4", "Expiration4",
                             "DaysTillExpiration4"}) {
        EXPECT_EQ(raw(gone), "<absent>") << gone;
    }
    EXPECT_EQ(total(), 3);
    EXPECT_EQ(state.PasswordCount, 3);
    expectNumbering();
}

TEST_F(EntryStoreTest, DeletingTheLastEntryLeavesTheOthersAsTheyWere) {
    addNumbered(3);
    const auto before = entries.readAll();
    entries.remove(3, entries.read(3));
    EXPECT_EQ(entries.readAll(), (std::vector<StoredEntry>{before[0], before[1]}));
    expectNumbering();
}

TEST_F(EntryStoreTest, DeletingTheOnlyEntryLeavesNoEntryValue) {
    addNumbered(1);
    entries.remove(1, entries.read(1));
    EXPECT_EQ(total(), 0);
    EXPECT_EQ(state.PasswordCount, 0);
    EXPECT_TRUE(entries.readAll().empty());
    const auto values = store->readSectionValues(kUser);
    ASSERT_EQ(values.size(), 4U);   // MainPassword, the version stamp and TotalPasswords
    expectNumbering();
}

TEST_F(EntryStoreTest, DeleteAllRemovesEveryEntryValueAndKeepsTheSettings) {
    addNumbered(3);
    store->WriteInteger(kUser, "SortColumn", 2);
    store->WriteInteger(kUser, "Column1Width", 200);
    store->WriteString(kUser, "system9", "left by a broken-off change");
    entries.removeAll();
    EXPECT_EQ(raw("TotalPasswords"), "0");
    EXPECT_EQ(state.PasswordCount, 0);
    const auto values = store->readSectionValues(kUser);
    std::vector<std::string> idents;
    for (const auto& value : values) {
        idents.push_back(value.ident);
    }
    EXPECT_EQ(idents, (std::vector<std::string>{"Column1Width", "MainPassword", "MajorVersion", "MinorVersion",
                                                 "SortColumn", "TotalPasswords"}));
}

TEST_F(EntryStoreTest, ReadAllReadsEveryEntryPresentAndNothingAboveIt) {
    addNumbered(3);
    entries.rewrite(diamond, 2, {"bare", "", "pw", "", "", ""}, entries.read(2));
    store->WriteString(kUser, "Comments5", "left by a broken-off change");
    const auto all = entries.readAll();
    ASSERT_EQ(all.size(), 3U);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(all[static_cast<std::size_t>(n - 1)], entries.read(n)) << n;
    }
    EXPECT_EQ(all[1].comments, "");
    EXPECT_EQ(diamond.DecryptCipherString(all[2].system), "system 3");
}

// A damaged count neither hides entries nor lets a new one overwrite them, and nothing is sized
// by it.
TEST_F(EntryStoreTest, ADamagedTotalPasswordsGivesWayToTheEntriesPresent) {
    addNumbered(2);
    store->WriteString(kUser, "Password2000000000", "a damaged ident");
    for (const char* damaged : {"two", "-3", "1", "2147483647", "3000000", ""}) {
        store->WriteString(kUser, "TotalPasswords", damaged);
        EXPECT_EQ(entries.readAll().size(), 2U) << damaged;
        EXPECT_EQ(entries.count(), 2) << damaged;
    }
    store->WriteString(kUser, "TotalPasswords", "two");
    EXPECT_EQ(entries.append(diamond, {"third", "", "pw", "", "", ""}), 3);
    EXPECT_EQ(plain("System1"), "system 1");
    EXPECT_EQ(plain("System2"), "system 2");
    EXPECT_EQ(raw("TotalPasswords"), "3");

    store->WriteString(kUser, "TotalPasswords", "2147483647");
    entries.remove(1, entries.read(1));
    EXPECT_EQ(raw("TotalPasswords"), "2");
    EXPECT_EQ(plain("System2"), "third");
    EXPECT_EQ(raw("Password2000000000"), "a damaged ident");
}

TEST_F(EntryStoreTest, ACommandOnAnEntryAnotherInstanceChangedChangesNothing) {
    addNumbered(3);
    const StoredEntry seen = entries.read(2);
    // Another instance deletes entry 1: entry 2 is now what was entry 3.
    SessionState other = state;
    EntryStore(*store, other).remove(1, entries.read(1));
    const auto before = store->readSectionValues(kUser);
    EXPECT_THROW(entries.rewrite(diamond, 2, {"x", "", "pw", "", "", ""}, seen), EntryChangedError);
    EXPECT_THROW(entries.rename(diamond, 2, "x", seen), EntryChangedError);
    EXPECT_THROW(entries.remove(2, seen), EntryChangedError);
    // Entry 3 is gone altogether.
    EXPECT_THROW(entries.remove(3, seen), EntryChangedError);
    const auto after = store->readSectionValues(kUser);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].value, before[i].value) << after[i].ident;
    }
}

TEST_F(EntryStoreTest, ADeleteInsideASessionLeftByAnExceptionChangesNothing) {
    addNumbered(3);
    const auto before = entries.readAll();
    EXPECT_THROW(
        {
            StoreSession session(*store);
            entries.remove(1, entries.read(1));
            throw std::runtime_error("handler failed");
        },
        std::runtime_error);
    EXPECT_EQ(entries.readAll(), before);
    EXPECT_EQ(total(), 3);
}

}  // namespace
}  // namespace keystead
