// The Windows executable carries its version in a version resource; the version reader must find
// it in the file's bytes as it finds the block of other builds.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "session/rsFileVersion.h"

namespace keystead {
namespace {

std::filesystem::path ownExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

TEST(VersionResourceTest, TheReaderFindsTheVersionOfTheResource) {
    TrsFileVersion version;
    ASSERT_TRUE(version.Load(ownExecutable()));
    EXPECT_EQ(version.versionText(), "3.4.0");
    EXPECT_EQ(version.majorVersion(), 3);
    EXPECT_EQ(version.minorVersion(), 4);
    EXPECT_EQ(version.releaseNumber(), 0);
    EXPECT_EQ(version.buildNumber(), 56);
}

}  // namespace
}  // namespace keystead
