// The list load against a real store: display forms, the countdown written back, the expired
// descriptions in entry order, damaged values, and the order of rows.

#include "../store/TempFolder.h"
#include "crypto/Diamond.h"
#include "mainwindow/PasswordListReader.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

class PasswordListReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state_.CurrentUsername = "Alice";
        state_.LogonPassword = "pw";
        diamond_.SetKey(state_.LogonPassword);
        store_ = RegistryStore::OpenFile(folder_.storeFile());
    }

    int add(const std::string& description, const std::string& password, const std::string& days = "",
            const std::string& username = "")
    {
        EntryStore entries(*store_, state_);
        return entries.append(diamond_, EntryTexts{description, username, password, "", days.empty() ? "" : "30", days});
    }

    std::string stored(const std::string& ident) { return store_->ReadString("Alice", ident, "<none>"); }

    test::TempFolder folder_;
    SessionState state_;
    TDiamond diamond_;
    std::unique_ptr<RegistryStore> store_;
};

TEST_F(PasswordListReaderTest, DisplayFormsFollowTheSettings)
{
    add("Bank", "secret", "", "me");
    const std::string cipherDescription = stored("System1");

    auto shown = ReadPasswordList(*store_, state_, diamond_, {true, false}, std::nullopt);
    ASSERT_EQ(shown.rows.size(), 1U);
    EXPECT_EQ(shown.rows[0].entryNumber, 1);
    EXPECT_EQ(shown.rows[0].description, "Bank");
    EXPECT_EQ(shown.rows[0].username, "me");
    EXPECT_EQ(shown.rows[0].password, "secret");

    auto hiddenWithSystem = ReadPasswordList(*store_, state_, diamond_, {false, true}, std::nullopt);
    EXPECT_EQ(hiddenWithSystem.rows[0].description, "Bank");
    EXPECT_EQ(hiddenWithSystem.rows[0].username, stored("Username1"));
    EXPECT_EQ(hiddenWithSystem.rows[0].password, stored("Password1"));

    auto allHidden = ReadPasswordList(*store_, state_, diamond_, {false, false}, std::nullopt);
    EXPECT_EQ(allHidden.rows[0].description, cipherDescription);
}

// A long list is decrypted on two threads: every row holds its own entry's texts, in entry
// order, and the countdown still finds the entry it lowers.
TEST_F(PasswordListReaderTest, ALongListGivesEveryRowItsOwnEntrysTexts)
{
    constexpr int kEntries = 1200;
    {
        StoreSession session(*store_);
        for (int n = 1; n <= kEntries; ++n)
            add("Entry " + std::to_string(n), "pw" + std::to_string(n), n == kEntries ? "1" : "",
                "user" + std::to_string(n));
        session.close();
    }
    const auto content = ReadPasswordList(*store_, state_, diamond_, {}, 1);
    ASSERT_EQ(content.rows.size(), static_cast<std::size_t>(kEntries));
    for (int n = 1; n <= kEntries; ++n) {
        const PasswordRow& row = content.rows[static_cast<std::size_t>(n - 1)];
        ASSERT_EQ(row.entryNumber, n);
        ASSERT_EQ(row.description, "Entry " + std::to_string(n));
        ASSERT_EQ(row.username, "user" + std::to_string(n));
        ASSERT_EQ(row.password, "pw" + std::to_string(n));
    }
    EXPECT_EQ(content.expiredDescriptions, std::vector<std::string>{"Entry 1200"});
}

TEST_F(PasswordListReaderTest, CountdownWritesBackOnceAndListsExpiredInEntryOrder)
{
    add("Zeta", "p", "4");   // 4 - 3 = 1
    add("Mail", "p", "3");   // 0
    add("Bank", "p", "2");   // -1
    add("Plain", "p");       // no expiry
    add("Old", "p", "-4");   // -7

    auto first = ReadPasswordList(*store_, state_, diamond_, {}, 3);
    EXPECT_EQ(first.rows[0].expiration, "Expires in 1 Day");
    EXPECT_EQ(first.rows[1].expiration, "Expired Today");
    EXPECT_EQ(first.rows[2].expiration, "Expired 1 Day Ago");
    EXPECT_EQ(first.rows[3].expiration, "");
    EXPECT_EQ(first.rows[4].expiration, "Expired 7 Days Ago");
    EXPECT_EQ(first.expiredDescriptions, (std::vector<std::string>{"Mail", "Bank", "Old"}));
    EXPECT_EQ(stored("DaysTillExpiration1"), "1");
    EXPECT_EQ(stored("DaysTillExpiration5"), "-7");
    EXPECT_EQ(stored("DaysTillExpiration4"), "<none>");

    auto later = ReadPasswordList(*store_, state_, diamond_, {}, std::nullopt);
    EXPECT_EQ(later.rows[0].expiration, "Expires in 1 Day");
    EXPECT_TRUE(later.expiredDescriptions.empty());
    EXPECT_EQ(stored("DaysTillExpiration1"), "1");
}

TEST_F(PasswordListReaderTest, DamagedDaysValueIsNoExpiryAndStaysUntouched)
{
    add("Bank", "p", "5");
    store_->WriteString("Alice", "DaysTillExpiration1", "5x");
    auto content = ReadPasswordList(*store_, state_, diamond_, {}, 2);
    EXPECT_EQ(content.rows[0].expiration, "");
    EXPECT_TRUE(content.expiredDescriptions.empty());
    EXPECT_EQ(stored("DaysTillExpiration1"), "5x");
}

TEST_F(PasswordListReaderTest, DamagedCipherStringsReadAsGarbageNotAsErrors)
{
    add("Bank", "p");
    store_->WriteString("Alice", "Password1", "not a cipher string");
    store_->DeleteValue("Alice", "System1");
    auto content = ReadPasswordList(*store_, state_, diamond_, {}, std::nullopt);
    ASSERT_EQ(content.rows.size(), 1U);
    EXPECT_EQ(content.rows[0].entryNumber, 1);
    EXPECT_EQ(content.rows[0].description, "");
    // Too short for a cipher text once decoded: the list shows the empty text, as DecryptText gives.
    EXPECT_EQ(content.rows[0].password, "");
}

TEST_F(PasswordListReaderTest, RowsSortByEachColumnWithTheCaseRule)
{
    add("beta", "3", "", "Xavier");
    add("Alpha", "1", "", "yvonne");
    add("alpha2", "2", "", "anne");
    auto rows = ReadPasswordList(*store_, state_, diamond_, {}, std::nullopt).rows;

    SortPasswordRows(rows, 0);
    EXPECT_EQ(rows[0].description, "Alpha");
    EXPECT_EQ(rows[1].description, "alpha2");
    EXPECT_EQ(rows[2].description, "beta");
    SortPasswordRows(rows, 1);
    EXPECT_EQ(rows[0].username, "anne");
    EXPECT_EQ(rows[1].username, "Xavier");
    SortPasswordRows(rows, 2);
    EXPECT_EQ(rows[0].password, "1");
    EXPECT_EQ(rows[2].entryNumber, 1);
}

}  // namespace
}  // namespace keystead
