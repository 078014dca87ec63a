// A password change and an import on the Windows registry, which has no transactions, with the
// store's writes refused at every position in turn: that one write alone (a value refused), or it
// and every later one (the process ends there, and the store is opened again). Each time the
// user's section must be wholly the one before, with the logon by the old password, and after the
// last position wholly the one after.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "../exchange/UserFixture.h"
#include "exchange/ExportFile.h"
#include "session/PasswordChange.h"
#include "store/KeysteadError.h"
#include "store/RegistryJournal.h"
#include "store/RegistryText.h"
#include "store/RegistryWriteFault.h"

namespace keystead::test {
namespace {

using registryFault::Refuse;

const std::vector<PlainEntry> kJournalledEntries{
    {"Bank", "alice", "s3cret", "line 1\r\nline 2", "30", "-4"},
    {"Mail", "", "pw2", "", "", ""},
    {"Caf\xE9", "M\xFCller", "p", "", "7", "7"},
};

const std::vector<PlainEntry> kImported{
    {"Shop", "bob", "b0b", "note", "", ""},
    {"Club", "", "c1", "", "90", "90"},
};

std::vector<ImportedEntry> importedEntries() {
    std::vector<ImportedEntry> entries;
    for (const PlainEntry& plain : kImported) {
        entries.push_back({SecretText(plain.description), SecretText(plain.username),
                           SecretText(plain.password), SecretText(plain.comments), plain.expiration,
                           plain.daysTillExpiration, !plain.username.empty(), !plain.comments.empty()});
    }
    return entries;
}

class RegistryInterruptionTest : public UserFixture, public testing::WithParamInterface<Refuse> {
protected:
    ~RegistryInterruptionTest() override { registryFault::stopRefusing(); }

    // Whether the registry itself holds a commit's journal in the user's section.
    bool journalInSection() const {
        const std::wstring key = folder.storeFile().wstring() + L"\\" + wideText(state.CurrentUsername);
        return RegGetValueW(HKEY_CURRENT_USER, key.c_str(),
                            std::wstring(RegistryJournal::kValueName).c_str(), RRF_RT_ANY, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
    }

    // Runs change with the write at each position refused in turn, until it runs through; returns
    // the number of writes it made then.
    int refuseEveryWrite(const std::function<void()>& change) {
        const auto before = sectionValues();
        const SessionState stateBefore = state;
        for (int position = 1;; ++position) {
            registryFault::refuseWriteAt(position, GetParam());
            bool failed = false;
            try {
                change();
            } catch (const KeysteadError&) {
                failed = true;
            }
            const bool refused = registryFault::refused();
            registryFault::stopRefusing();
            if (!refused) {
                EXPECT_FALSE(failed);
                return position - 1;
            }
            EXPECT_TRUE(failed) << "write " << position;
            if (GetParam() == Refuse::FromThenOn) {
                halfwayLeft += journalInSection() ? 1 : 0;
                store.reset();   // the process ended; the program starts again
                store = RegistryStore::OpenFile(folder.storeFile());
            }
            EXPECT_EQ(sectionValues(), before) << "write " << position;
            EXPECT_EQ(state.LogonPassword, stateBefore.LogonPassword);
            EXPECT_EQ(state.PasswordCount, stateBefore.PasswordCount);
            EXPECT_TRUE(logonAccepts(stateBefore.LogonPassword)) << "write " << position;
        }
    }

    int halfwayLeft = 0;   // positions after which the registry held a change half made
};

TEST_P(RegistryInterruptionTest, PasswordChangeIsWhollyDoneOrWhollyUndone) {
    logOn("Alice", "old pw", kJournalledEntries);
    const auto valuesBefore = sectionValues().size();
    const int writes = refuseEveryWrite([&] { ChangeLogonPassword(*store, state, "new pw"); });
    EXPECT_GT(writes, 10);   // MainPassword and the nine entry values, at least
    EXPECT_EQ(state.LogonPassword, "new pw");
    EXPECT_EQ(plainEntries("new pw"), kJournalledEntries);
    EXPECT_TRUE(logonAccepts("new pw"));
    EXPECT_FALSE(logonAccepts("old pw"));
    EXPECT_EQ(sectionValues().size(), valuesBefore);
    if (GetParam() == Refuse::FromThenOn) {
        EXPECT_GT(halfwayLeft, 0);
    }
}

TEST_P(RegistryInterruptionTest, ImportIsWhollyDoneOrWhollyUndone) {
    logOn("Alice", "alice pw", kJournalledEntries);
    const auto imported = importedEntries();
    // Every value of the three entries deleted or replaced, and TotalPasswords, at least.
    EXPECT_GT(refuseEveryWrite([&] { StoreImportedEntries(*store, state, imported, ImportMode::Overwrite); }),
              13);
    EXPECT_EQ(plainEntries(), kImported);
    EXPECT_EQ(state.PasswordCount, 2);
    refuseEveryWrite([&] { StoreImportedEntries(*store, state, imported, ImportMode::Add); });
    auto twice = kImported;
    twice.insert(twice.end(), kImported.begin(), kImported.end());
    EXPECT_EQ(plainEntries(), twice);
    EXPECT_EQ(store->ReadInteger("Alice", "TotalPasswords", 0), 4);
    EXPECT_TRUE(logonAccepts("alice pw"));
    if (GetParam() == Refuse::FromThenOn) {
        EXPECT_GT(halfwayLeft, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Refused, RegistryInterruptionTest,
                         testing::Values(Refuse::Once, Refuse::FromThenOn),
                         [](const testing::TestParamInfo<Refuse>& info) {
                             return info.param == Refuse::Once ? "OneWrite" : "EveryWriteFromThere";
                         });

}  // namespace
}  // namespace keystead::test
