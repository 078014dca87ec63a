// Values, sections and users of the store, on a real store file.

#include "store/RegistryStore.h"

#include <gtest/gtest.h>

#include <functional>

#include "NonTextValue.h"
#include "TempFolder.h"
#include "session/ProgramVersion.h"
#include "store/KeysteadError.h"

namespace keystead {
namespace {

using test::TempFolder;

class RegistryStoreTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<RegistryStore> store = RegistryStore::OpenFile(folder.storeFile());

    void reopen() {
        store.reset();
        store = RegistryStore::OpenFile(folder.storeFile());
    }
};

void expectError(const std::function<void()>& action, const std::string& text) {
    try {
        action();
        ADD_FAILURE() << "no error, expected: " << text;
    } catch (const KeysteadError& error) {
        EXPECT_STREQ(error.what(), text.c_str());
    }
}

TEST_F(RegistryStoreTest, MissingSectionsAndValuesReadAsTheDefault) {
    EXPECT_TRUE(store->ReadSections().empty());
    EXPECT_TRUE(store->readUsers().empty());
    EXPECT_EQ(store->ReadString("Options", "LastUsername", "nobody"), "nobody");
    EXPECT_EQ(store->ReadInteger("Bob", "TotalPasswords", 7), 7);
    EXPECT_TRUE(store->ReadBool("Options", "FancyLogon", true));
    EXPECT_FALSE(store->ReadBool("Options", "UseLastUsername", false));
    // Reading creates nothing.
    EXPECT_TRUE(store->ReadSections().empty());
    store->WriteString("Bob", "System1", "x");
    EXPECT_EQ(store->ReadString("Bob", "System2", "def"), "def");
    EXPECT_EQ(store->ReadInteger("Bob", "TotalPasswords", -1), -1);
}

TEST_F(RegistryStoreTest, TextsAreKeptByteForByte) {
    const std::string texts[] = {"", "line one\r\nline two\n", "  blanks kept  ",
                                 "Z\xc3\xab\xe2\x82\xac", std::string("nul\0inside", 10)};
    int n = 0;
    for (const auto& text : texts) {
        store->WriteString("Bob", "Comments" + std::to_string(++n), text);
    }
    reopen();
    n = 0;
    for (const auto& text : texts) {
        EXPECT_EQ(store->ReadString("Bob", "Comments" + std::to_string(++n), "default"), text);
    }
}

TEST_F(RegistryStoreTest, IntegersAndBooleansAreDecimalTexts) {
    store->WriteInteger("Bob", "DaysTillExpiration1", -4);
    store->WriteBool("Bob", "ShowPasswords", true);
    store->WriteBool("Bob", "ShowSystem", false);
    EXPECT_EQ(store->ReadString("Bob", "DaysTillExpiration1", ""), "-4");
    EXPECT_EQ(store->ReadString("Bob", "ShowPasswords", ""), "1");
    EXPECT_EQ(store->ReadString("Bob", "ShowSystem", ""), "0");
    EXPECT_EQ(store->ReadInteger("Bob", "DaysTillExpiration1", 0), -4);
    EXPECT_TRUE(store->ReadBool("Bob", "ShowPasswords", false));
    EXPECT_FALSE(store->ReadBool("Bob", "ShowSystem", true));

    store->WriteString("Options", "FancyLogon", "2");
    store->WriteString("Options", "UseLastUsername", "-1");
    store->WriteString("Options", "AlwaysOnTop", "yes");
    EXPECT_TRUE(store->ReadBool("Options", "FancyLogon", false));
    EXPECT_TRUE(store->ReadBool("Options", "UseLastUsername", false));
    // Not an integer: the default, both ways.
    EXPECT_TRUE(store->ReadBool("Options", "AlwaysOnTop", true));
    EXPECT_FALSE(store->ReadBool("Options", "AlwaysOnTop", false));
}

TEST_F(RegistryStoreTest, AValueThatIsNotWhollyAnIntegerReadsTheDefault) {
    for (const char* text : {"abc", "3a", " 3", "", "99999999999"}) {
        store->WriteString("Bob", "SortColumn", text);
        EXPECT_EQ(store->ReadInteger("Bob", "SortColumn", 42), 42) << '"' << text << '"';
    }
}

TEST_F(RegistryStoreTest, NamesIgnoreLetterCaseAndASectionKeepsItsFirstSpelling) {
    store->WriteString("Bob", "MainPassword", "first");
    store->WriteString("BOB", "mainpassword", "second");
    EXPECT_EQ(store->ReadString("bOb", "MAINPASSWORD", ""), "second");
    EXPECT_EQ(store->readSectionValues("bob").size(), 1U);
    EXPECT_EQ(store->ReadSections(), std::vector<std::string>{"Bob"});
}

TEST_F(RegistryStoreTest, SectionsAreListedInAlphabeticalOrderWithoutRegardToCase) {
    for (const char* name : {"charlie", "Options", "Alice", "bob", "Zed"}) {
        store->WriteString(name, "x", "1");
    }
    EXPECT_EQ(store->ReadSections(),
              (std::vector<std::string>{"Alice", "bob", "charlie", "Options", "Zed"}));
    EXPECT_EQ(store->readUsers(), (std::vector<std::string>{"Alice", "bob", "charlie", "Zed"}));
}

TEST_F(RegistryStoreTest, DeletingAValueKeepsItsSectionAndCreatesNone) {
    store->WriteString("Bob", "Comments1", "x");
    store->DeleteValue("Bob", "COMMENTS1");
    EXPECT_EQ(store->ReadString("Bob", "Comments1", "gone"), "gone");
    store->DeleteValue("Bob", "Comments1");
    store->DeleteValue("Nobody", "Comments1");
    EXPECT_EQ(store->ReadSections(), std::vector<std::string>{"Bob"});
}

TEST_F(RegistryStoreTest, WritesAreKeptAcrossReopening) {
    store->WriteString("Alice", "System1", "cipher");
    store->WriteInteger("Alice", "TotalPasswords", 1);
    store->WriteBool("Options", "FancyLogon", false);
    store->WriteString("Empty", "x", "1");
    store->DeleteValue("Empty", "x");
    reopen();
    EXPECT_EQ(store->ReadString("Alice", "System1", ""), "cipher");
    EXPECT_EQ(store->ReadInteger("Alice", "TotalPasswords", 0), 1);
    EXPECT_FALSE(store->ReadBool("Options", "FancyLogon", true));
    EXPECT_EQ(store->ReadSections(), (std::vector<std::string>{"Alice", "Empty", "Options"}));
}

TEST_F(RegistryStoreTest, AValueOfAnotherTypeThanTextIsAnError) {
    store->WriteString("Bob", "System1", "x");
    store.reset();
    test::putNonTextValue(folder.storeFile(), "Bob", "System1");
    reopen();
    expectError([&] { store->ReadString("Bob", "System1", ""); },
                "Invalid data type for 'System1'");
    expectError([&] { store->ReadInteger("Bob", "system1", 0); },
                "Invalid data type for 'system1'");
    expectError([&] { store->readSectionValues("Bob"); }, "Invalid data type for 'System1'");
}

TEST_F(RegistryStoreTest, ASectionNameWithABackslashOrControlCharacterIsNeverCreated) {
    for (const std::string& name : std::vector<std::string>{"a\\b", "tab\there", "del\x7f",
                                                           std::string("nul\0", 4), ""}) {
        expectError([&] { store->WriteString(name, "x", "1"); }, "Failed to create key " + name);
    }
    EXPECT_TRUE(store->ReadSections().empty());
}

TEST_F(RegistryStoreTest, BulkWritesAndReadsCoverAWholeSection) {
    store->writeValues("Bob", {{"b", "2"}, {"A", "1"}, {"c", ""}});
    store->deleteValues("Bob", {"C", "missing"});
    const auto values = store->readSectionValues("bob");
    ASSERT_EQ(values.size(), 2U);
    EXPECT_EQ(values[0].ident, "A");
    EXPECT_EQ(values[0].value, "1");
    EXPECT_EQ(values[1].ident, "b");
    EXPECT_TRUE(store->readSectionValues("Nobody").empty());
}

// The version stamp comes with the section: entries added before the first logon are current data.
TEST_F(RegistryStoreTest, CreateUserMakesASectionHoldingMainPasswordAndTheVersionStamp) {
    EXPECT_FALSE(store->UserExists("Alice"));
    store->CreateUser("Alice", "cipher-of-Alice");
    EXPECT_TRUE(store->UserExists("Alice"));
    EXPECT_TRUE(store->UserExists("aLICE"));
    const auto values = store->readSectionValues("Alice");
    ASSERT_EQ(values.size(), 3U);
    EXPECT_EQ(values[0].ident, "MainPassword");
    EXPECT_EQ(values[0].value, "cipher-of-Alice");
    EXPECT_EQ(values[1].ident, "MajorVersion");
    EXPECT_EQ(values[1].value, std::to_string(compiledVersion().major));
    EXPECT_EQ(values[2].ident, "MinorVersion");
    EXPECT_EQ(values[2].value, std::to_string(compiledVersion().minor));
    EXPECT_EQ(store->readUsers(), std::vector<std::string>{"Alice"});
}

TEST_F(RegistryStoreTest, CreateUserNeverTakesOverAnExistingSection) {
    store->CreateUser("Alice", "first");
    expectError([&] { store->CreateUser("ALICE", "second"); },
                std::string(RegistryStore::kUserExistsText));
    EXPECT_EQ(store->ReadString("Alice", "MainPassword", ""), "first");
    EXPECT_EQ(store->ReadSections(), std::vector<std::string>{"Alice"});
}

TEST_F(RegistryStoreTest, OptionsIsNeverAUser) {
    EXPECT_TRUE(store->UserExists("Options"));
    EXPECT_TRUE(store->UserExists("OPTIONS"));
    expectError([&] { store->CreateUser("options", "x"); },
                std::string(RegistryStore::kUserExistsText));
    EXPECT_TRUE(store->ReadSections().empty());
    store->WriteBool("Options", "FancyLogon", true);
    store->CreateUser("Bob", "x");
    EXPECT_EQ(store->readUsers(), std::vector<std::string>{"Bob"});
}

TEST_F(RegistryStoreTest, UnacceptableUserNamesAreRefusedAndNothingIsCreated) {
    for (const std::string& name : std::vector<std::string>{
             "a\\b", "\\", "line\nbreak", "bell\a", "del\x7f", std::string("x\0", 2), ""}) {
        EXPECT_FALSE(RegistryStore::isAcceptableUserName(name));
        expectError([&] { store->CreateUser(name, "x"); },
                    std::string(RegistryStore::kUnacceptableUserNameText));
        EXPECT_FALSE(store->UserExists(name));
    }
    EXPECT_TRUE(store->ReadSections().empty());
    for (const char* name : {"Bob Smith", "Zo\xc3\xab", "a/b", "x.y"}) {
        EXPECT_TRUE(RegistryStore::isAcceptableUserName(name));
        store->CreateUser(name, "x");
        EXPECT_TRUE(store->UserExists(name));
    }
}

}  // namespace
}  // namespace keystead
