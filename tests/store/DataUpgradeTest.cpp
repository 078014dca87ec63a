// The upgrade of sections written before version 3: descriptions and comments become cipher
// strings, all at once or not at all.

#include "store/DataUpgrade.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "NonTextValue.h"
#include "TempFolder.h"
#include "crypto/Diamond.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"

namespace keystead {
namespace {

constexpr const char* kUpgradedUser = "Bob";

class DataUpgradeTest : public ::testing::Test {
protected:
    DataUpgradeTest() {
        diamond.SetKey("logon password");
        // Version 2 data: three entries, the second without comments, names and passwords
        // already encrypted.
        store->writeValues(kUpgradedUser, {
            {"MainPassword", diamond.EncryptToCipherString(kUpgradedUser)},
            {"MajorVersion", "2"},
            {"TotalPasswords", "3"},
            {"System1", "Bank"},
            {"Username1", diamond.EncryptToCipherString("bob")},
            {"Password1", diamond.EncryptToCipherString("1234")},
            {"Comments1", "  branch office\r\n"},
            {"System2", "Mail"},
            {"Password2", diamond.EncryptToCipherString("pw")},
            {"System3", ""},
            {"Password3", diamond.EncryptToCipherString("pw3")},
            {"Comments3", "note"},
        });
    }

    test::TempFolder folder;
    std::unique_ptr<RegistryStore> store = RegistryStore::OpenFile(folder.storeFile());
    TDiamond diamond;

    std::string raw(const char* ident) { return store->ReadString(kUpgradedUser, ident, "<absent>"); }
    std::string plain(const char* ident) { return diamond.DecryptCipherString(raw(ident)); }

    std::vector<StoredValue> everything() { return store->readSectionValues(kUpgradedUser); }
};

void expectSameValues(const std::vector<StoredValue>& a, const std::vector<StoredValue>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].ident, b[i].ident);
        EXPECT_EQ(a[i].value, b[i].value) << a[i].ident;
    }
}

TEST(NeedsUpgradeTest, OnlyEarlierSectionsWithEntries) {
    EXPECT_TRUE(needsUpgrade(2, 3));
    EXPECT_TRUE(needsUpgrade(0, 1));   // MajorVersion absent
    EXPECT_FALSE(needsUpgrade(0, 0));
    EXPECT_FALSE(needsUpgrade(2, 0));
    EXPECT_FALSE(needsUpgrade(3, 5));
    EXPECT_FALSE(needsUpgrade(4, 5));
}

TEST_F(DataUpgradeTest, DescriptionsAndCommentsBecomeCipherStrings) {
    const auto username1 = raw("Username1");
    const auto password2 = raw("Password2");
    std::vector<std::pair<int, int>> reported;
    upgradeEarlierData(*store, kUpgradedUser, diamond,
                       [&](int done, int total) { reported.emplace_back(done, total); });

    EXPECT_EQ(plain("System1"), "Bank");
    EXPECT_EQ(plain("System2"), "Mail");
    EXPECT_NE(raw("System3"), "");   // an empty description is encrypted too
    EXPECT_EQ(plain("System3"), "");
    EXPECT_EQ(plain("Comments1"), "  branch office\r\n");   // untrimmed
    EXPECT_EQ(plain("Comments3"), "note");
    EXPECT_EQ(raw("Comments2"), "<absent>");
    EXPECT_EQ(raw("Username1"), username1);
    EXPECT_EQ(raw("Password2"), password2);
    EXPECT_EQ(reported, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(DataUpgradeTest, BlankCommentsStayAsTheyWere) {
    store->WriteString(kUpgradedUser, "Comments2", " \t\r\n ");
    upgradeEarlierData(*store, kUpgradedUser, diamond, {});
    EXPECT_EQ(raw("Comments2"), " \t\r\n ");
}

TEST_F(DataUpgradeTest, AnUpgradeStoppedByItsCallerChangesNothing) {
    const auto before = everything();
    EXPECT_THROW(upgradeEarlierData(*store, kUpgradedUser, diamond,
                                    [](int done, int) {
                                        if (done == 2) {
                                            throw std::runtime_error("stopped");
                                        }
                                    }),
                 std::runtime_error);
    expectSameValues(everything(), before);
}

TEST_F(DataUpgradeTest, AnUpgradeThatFailsInTheMiddleChangesNothingAndCanRunAgain) {
    store.reset();
    test::putNonTextValue(folder.storeFile(), kUpgradedUser, "Comments3");
    store = RegistryStore::OpenFile(folder.storeFile());
    EXPECT_THROW(
        {
            try {
                upgradeEarlierData(*store, kUpgradedUser, diamond, {});
            } catch (const KeysteadError& error) {
                EXPECT_STREQ(error.what(), "Invalid data type for 'Comments3'");
                throw;
            }
        },
        KeysteadError);
    EXPECT_EQ(raw("System1"), "Bank");
    EXPECT_EQ(raw("System2"), "Mail");
    EXPECT_EQ(raw("Comments1"), "  branch office\r\n");

    // Once the damaged value is mended, the upgrade runs on plain values only once.
    store->WriteString(kUpgradedUser, "Comments3", "note");
    upgradeEarlierData(*store, kUpgradedUser, diamond, {});
    EXPECT_EQ(plain("System1"), "Bank");
    EXPECT_EQ(plain("Comments3"), "note");
}

}  // namespace
}  // namespace keystead
