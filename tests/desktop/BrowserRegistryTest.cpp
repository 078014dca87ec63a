// The browser command read from a classes root: a scratch key standing for HKEY_CLASSES_ROOT.

#include "desktop/BrowserRegistry.h"

#include <gtest/gtest.h>

#include <string>

#include "../store/TempFolder.h"

namespace keystead {
namespace {

class BrowserRegistryTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    HKEY root = nullptr;

    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, folder.storeFile().c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &root, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override { RegCloseKey(root); }

    void setDefault(const wchar_t* key, const std::wstring& text) {
        ASSERT_EQ(RegSetKeyValueW(root, key, nullptr, REG_SZ, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
};

TEST_F(BrowserRegistryTest, TheCommandOfTheHtmClassIsFound) {
    setDefault(L".htm", L"PageFile");
    setDefault(L"PageFile\\shell\\open\\command", L"\"C:\\Br\u00f6wser\\b.exe\" \"%1\"");
    EXPECT_EQ(registeredBrowserCommand(root), "\"C:\\Br\xc3\xb6wser\\b.exe\" \"%1\"");
}

TEST_F(BrowserRegistryTest, AMissingClassOrCommandFindsNothing) {
    EXPECT_EQ(registeredBrowserCommand(root), std::nullopt);
    setDefault(L".htm", L"PageFile");
    EXPECT_EQ(registeredBrowserCommand(root), std::nullopt);
}

}  // namespace
}  // namespace keystead
