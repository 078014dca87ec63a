// The store on the real registry: the layout other programs read, values left there by older
// 8-bit builds, and a session's changes reaching the registry only when it commits.

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "TempFolder.h"
#include "store/RegistryStore.h"
#include "store/StoreSession.h"

namespace keystead {
namespace {

class WindowsRegistryTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::unique_ptr<RegistryStore> store = RegistryStore::OpenFile(folder.storeFile());

    std::wstring sectionKey(const wchar_t* section) const {
        return folder.storeFile().wstring() + L"\\" + section;
    }

    // The value as any Windows program reads it, without the store; its type in type.
    std::wstring rawValue(const wchar_t* section, const wchar_t* ident, DWORD& type) const {
        wchar_t buffer[256] = {};
        DWORD size = sizeof buffer;
        type = REG_NONE;
        const LONG rc = RegGetValueW(HKEY_CURRENT_USER, sectionKey(section).c_str(), ident,
                                     RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size);
        return rc == ERROR_SUCCESS ? std::wstring(buffer) : L"<missing>";
    }

    void putAnsiValue(const char* section, const char* ident, const std::string& bytes) {
        const std::string key = folder.storeFile().string() + "\\" + section;
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), ident, REG_SZ, bytes.data(),
                                  static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
};

TEST_F(WindowsRegistryTest, SectionsAreSubkeysAndEveryValueIsAString) {
    store->WriteString("Bob", "Comments1", "Zo\xc3\xab \xe2\x82\xac");
    store->WriteInteger("Bob", "TotalPasswords", -3);
    store->WriteBool("Options", "FancyLogon", true);
    DWORD type = 0;
    EXPECT_EQ(rawValue(L"Bob", L"Comments1", type), L"Zo\u00eb \u20ac");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(rawValue(L"BOB", L"totalpasswords", type), L"-3");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(rawValue(L"Options", L"FancyLogon", type), L"1");
    // Bytes that are not UTF-8 keep the characters the forms show for them.
    store->WriteString("Bob", "Comments2", "Zo\xeb");
    EXPECT_EQ(rawValue(L"Bob", L"Comments2", type), L"Zo\u00eb");
    EXPECT_EQ(store->ReadString("Bob", "Comments2", ""), "Zo\xc3\xab");
}

// An 8-bit build wrote through the ANSI calls, in the Windows-1252 code page, with or without
// the terminating NUL counted.
TEST_F(WindowsRegistryTest, ValuesOfOlderEightBitBuildsReadAsTheirCharacters) {
    ASSERT_EQ(GetACP(), 1252U) << "the tests run with the Western code page";
    putAnsiValue("Bob", "Comments1", std::string("Zo\xeb \x80", 6));
    putAnsiValue("Bob", "System1", "no terminator");
    EXPECT_EQ(store->ReadString("Bob", "Comments1", ""), "Zo\xc3\xab \xe2\x82\xac");
    EXPECT_EQ(store->ReadString("Bob", "System1", ""), "no terminator");
    EXPECT_EQ(store->readUsers(), std::vector<std::string>{"Bob"});
}

TEST_F(WindowsRegistryTest, ASessionChangesTheRegistryOnlyWhenItCommits) {
    store->WriteString("Bob", "System1", "old");
    DWORD type = 0;
    EXPECT_THROW(
        {
            StoreSession session(*store);
            store->WriteString("Bob", "System1", "new");
            store->WriteString("Carol", "System1", "new");
            EXPECT_EQ(rawValue(L"Bob", L"System1", type), L"old");
            throw std::runtime_error("interrupted");
        },
        std::runtime_error);
    EXPECT_EQ(rawValue(L"Bob", L"System1", type), L"old");
    EXPECT_EQ(rawValue(L"Carol", L"System1", type), L"<missing>");
    {
        StoreSession session(*store);
        store->WriteString("Bob", "System1", "new");
        store->DeleteValue("Bob", "System1");
        store->WriteString("Bob", "System2", "two");
        EXPECT_EQ(rawValue(L"Bob", L"System2", type), L"<missing>");
    }
    EXPECT_EQ(rawValue(L"Bob", L"System1", type), L"<missing>");
    EXPECT_EQ(rawValue(L"Bob", L"System2", type), L"two");
}

// A journal that cannot be read, cut short or not one at all, cannot say what to undo: the next
// opening drops it and changes nothing else.
TEST_F(WindowsRegistryTest, AJournalThatCannotBeReadIsDroppedAndNothingElseChanges) {
    for (const std::string damaged : {"not a journal", "1:11:4"}) {
        putAnsiValue("Bob", "System1", "kept");
        putAnsiValue("Bob", "UnfinishedChange", damaged);
        store = RegistryStore::OpenFile(folder.storeFile());
        DWORD type = 0;
        EXPECT_EQ(rawValue(L"Bob", L"UnfinishedChange", type), L"<missing>") << damaged;
        EXPECT_EQ(rawValue(L"Bob", L"System1", type), L"kept") << damaged;
    }
}

}  // namespace
}  // namespace keystead
