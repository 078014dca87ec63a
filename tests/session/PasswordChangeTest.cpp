// The logon password change: every value is rewritten under the new password, absent values stay
// absent, and a change broken off leaves every value under the old password.

#include "session/PasswordChange.h"

#include <gtest/gtest.h>

#include "../exchange/UserFixture.h"
#include "store/KeysteadError.h"

namespace keystead::test {
namespace {

const std::vector<PlainEntry> kEntries{
    {"Bank", "alice", "s3cret", "line 1\r\nline 2", "30", "-4"},
    {"Mail", "", "pw2", "", "", ""},
    {"Caf\xE9", "M\xFCller", "p", "", "7", "7"},
};

using PasswordChangeTest = UserFixture;

TEST_F(PasswordChangeTest, RewritesEverythingUnderTheNewPassword) {
    logOn("Alice", "old pw", kEntries);
    const auto before = sectionValues();
    std::vector<int> reported;
    ChangeLogonPassword(*store, state, "new pw", [&](int done, int total) {
        EXPECT_EQ(total, 3);
        reported.push_back(done);
    });
    EXPECT_EQ(reported, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(state.LogonPassword, "new pw");
    EXPECT_EQ(plainEntries("new pw"), kEntries);
    EXPECT_TRUE(logonAccepts("new pw"));
    EXPECT_FALSE(logonAccepts("old pw"));

    const auto after = sectionValues();
    EXPECT_EQ(after.size(), before.size());   // absent user names and comments stay absent
    for (const char* untouched : {"TotalPasswords", "Expiration1", "DaysTillExpiration1", "Expiration3"}) {
        EXPECT_EQ(after.at(untouched), before.at(untouched)) << untouched;
    }

    // The same password again is accepted; every value is written anew under it.
    ChangeLogonPassword(*store, state, "new pw");
    EXPECT_EQ(plainEntries("new pw"), kEntries);
    EXPECT_NE(sectionValues().at("System1"), after.at("System1"));
}

TEST_F(PasswordChangeTest, ABrokenOffChangeLeavesEveryValueUnderTheOldPassword) {
    logOn("Alice", "old pw", kEntries);
    const auto before = sectionValues();
    EXPECT_THROW(ChangeLogonPassword(*store, state, "new pw",
                                     [](int done, int) {
                                         if (done == 2) {
                                             throw KeysteadError("broken off");
                                         }
                                     }),
                 KeysteadError);
    EXPECT_EQ(sectionValues(), before);
    EXPECT_EQ(state.LogonPassword, "old pw");
    EXPECT_TRUE(logonAccepts("old pw"));
}

TEST_F(PasswordChangeTest, AUserWithoutEntriesGetsOnlyANewMainPassword) {
    logOn("Alice", "old pw");
    const auto before = sectionValues();
    bool reported = false;
    ChangeLogonPassword(*store, state, "new pw", [&](int, int) { reported = true; });
    EXPECT_FALSE(reported);
    EXPECT_TRUE(logonAccepts("new pw"));
    auto after = sectionValues();
    EXPECT_NE(after.at("MainPassword"), before.at("MainPassword"));
    after["MainPassword"] = before.at("MainPassword");
    EXPECT_EQ(after, before);
}

// A stored value that does not decrypt under the old password would be lost by the change: it is
// refused, naming the entry by its description where that still decrypts, and nothing changes.
TEST_F(PasswordChangeTest, AValueThatDoesNotDecryptRefusesTheChange) {
    logOn("Alice", "old pw", kEntries);
    const auto damage = [&](const char* ident) {
        std::string value = store->ReadString("Alice", ident, "");
        value[20] = value[20] == 'A' ? 'B' : 'A';
        store->WriteString("Alice", ident, value);
    };
    const auto refusal = [&] {
        const auto before = sectionValues();
        std::string text = "no error";
        try {
            ChangeLogonPassword(*store, state, "new pw");
        } catch (const KeysteadError& error) {
            text = error.what();
        }
        EXPECT_EQ(sectionValues(), before);
        EXPECT_EQ(state.LogonPassword, "old pw");
        return text;
    };
    damage("System2");
    EXPECT_EQ(refusal(), "Entry 2 cannot be decrypted with your logon password: it is damaged. The logon password "
                         "was not changed.");
    damage("Comments1");
    EXPECT_EQ(refusal(), "Entry 1 (\"Bank\") cannot be decrypted with your logon password: it is damaged. The logon "
                         "password was not changed.");
}

}  // namespace
}  // namespace keystead::test
