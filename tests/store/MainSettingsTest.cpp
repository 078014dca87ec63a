// The settings record: what a first run on an empty store reads, and that a written set reads
// back whole, each value in its own section.

#include "TempFolder.h"
#include "store/MainSettings.h"
#include "store/RegistryStore.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

// Each user's automatic export has a file of its own, so that no user's export replaces another's.
TEST(MainSettingsTest, EveryUserHasAnAutomaticExportFileOfItsOwn)
{
    const test::TempFolder folder;
    const auto store = RegistryStore::OpenFile(folder.storeFile());
    EXPECT_EQ(ReadMainSettings(*store, "Bob", "/data/").autoExportPath, "/data/passwords-Bob.txt");
    EXPECT_EQ(AutoExportFileName("A/B:C*D|E?\"F<G>H \t\x7f\xE9"), "passwords-A_B_C_D_E__F_G_H __\xE9.txt");
    EXPECT_EQ(ReplacedExportFileName("Bob"), "password-Bob.txt");
    EXPECT_EQ(ReplacedExportFileName("../x"), "password-.._x.txt");
    store->WriteString("Bob", "AutoExportPath", "/home/bob/passwords.txt");
    EXPECT_EQ(ReadMainSettings(*store, "Bob", "/data/").autoExportPath, "/home/bob/passwords.txt");
}

TEST(MainSettingsTest, AnEmptyStoreGivesTheFirstRunSettings)
{
    const test::TempFolder folder;
    const auto store = RegistryStore::OpenFile(folder.storeFile());
    const MainSettings s = ReadMainSettings(*store, "Alice", "/data/Keystead/");
    EXPECT_EQ(s.sortColumn, 0);
    EXPECT_TRUE(s.deleteWarning);
    EXPECT_TRUE(s.fancyLogon);
    EXPECT_FALSE(s.showGridlines);
    EXPECT_EQ(s.urlColor, "clHighlight");
    EXPECT_EQ(s.listFontName, "MS Sans Serif");
    EXPECT_EQ(s.listFontSize, 8);
    EXPECT_EQ(s.notesFontName, "MS Sans Serif");
    EXPECT_EQ(s.notesFontSize, 8);
    EXPECT_FALSE(s.autoExport);
    EXPECT_EQ(s.autoExportPath, "/data/Keystead/passwords-Alice.txt");
    EXPECT_TRUE(s.showSystem);
    EXPECT_TRUE(s.showComments);
    EXPECT_FALSE(s.protectToggle);
    EXPECT_TRUE(s.clearClipboard);
    EXPECT_EQ(s.clipboardClearSeconds, 30);
    EXPECT_EQ(s.lockIdleMinutes, 0) << "never";
    EXPECT_TRUE(s.lockOnScreenLock);
    EXPECT_FALSE(s.useLastUsername);
    EXPECT_FALSE(s.minimizeToTray);
    EXPECT_FALSE(s.passwordProtectTray);
    EXPECT_TRUE(s.showPasswords);
    EXPECT_FALSE(s.alwaysOnTop);
}

TEST(MainSettingsTest, WrittenSettingsReadBackInTheirSections)
{
    const test::TempFolder folder;
    const auto store = RegistryStore::OpenFile(folder.storeFile());
    MainSettings written;
    written.sortColumn = 2;
    written.deleteWarning = false;
    written.fancyLogon = false;
    written.autoExport = true;
    written.showSystem = false;
    written.showComments = false;
    written.protectToggle = true;
    written.clearClipboard = false;
    written.clipboardClearSeconds = 0;
    written.lockIdleMinutes = 15;
    written.lockOnScreenLock = false;
    written.useLastUsername = true;
    written.showGridlines = true;
    written.minimizeToTray = true;
    written.passwordProtectTray = true;
    written.autoExportPath = "/Backup/Pass.TXT";
    written.listFontName = "DejaVu Sans";
    written.notesFontName = "DejaVu Serif";
    written.listFontSize = 11;
    written.notesFontSize = 13;
    written.urlColor = "$00FF8040";
    WriteMainSettings(*store, "Alice", written, "Alice");

    const MainSettings read = ReadMainSettings(*store, "Alice", "/data/");
    EXPECT_EQ(read.sortColumn, 2);
    EXPECT_FALSE(read.deleteWarning);
    EXPECT_FALSE(read.fancyLogon);
    EXPECT_TRUE(read.autoExport);
    EXPECT_FALSE(read.showSystem);
    EXPECT_FALSE(read.showComments);
    EXPECT_TRUE(read.protectToggle);
    EXPECT_FALSE(read.clearClipboard);
    EXPECT_EQ(read.clipboardClearSeconds, 0) << "never";
    EXPECT_EQ(read.lockIdleMinutes, 15);
    EXPECT_FALSE(read.lockOnScreenLock);
    EXPECT_TRUE(read.useLastUsername);
    EXPECT_TRUE(read.showGridlines);
    EXPECT_TRUE(read.minimizeToTray);
    EXPECT_TRUE(read.passwordProtectTray);
    EXPECT_EQ(read.autoExportPath, "/Backup/Pass.TXT");
    EXPECT_EQ(read.listFontName, "DejaVu Sans");
    EXPECT_EQ(read.notesFontName, "DejaVu Serif");
    EXPECT_EQ(read.listFontSize, 11);
    EXPECT_EQ(read.notesFontSize, 13);
    EXPECT_EQ(read.urlColor, "$00FF8040");
    // The logon windows read these before anybody has logged on.
    EXPECT_EQ(store->ReadString("Options", "FancyLogon", ""), "0");
    EXPECT_EQ(store->ReadString("Options", "UseLastUsername", ""), "1");
    EXPECT_EQ(store->ReadString("Options", "LastUsername", ""), "Alice");
    EXPECT_EQ(store->ReadString("Alice", "FancyLogon", "<absent>"), "<absent>");
}

// A damaged store must not make a window larger than the screen nor fonts no one can read.
TEST(MainSettingsTest, SizesOutOfBoundsReadAsTheScreenOrTheDefault)
{
    const test::TempFolder folder;
    const auto store = RegistryStore::OpenFile(folder.storeFile());
    store->WriteString("Alice", "MainWindowWidth", "16777215");
    store->WriteString("Alice", "MainWindowHeight", "1025");
    const MainGeometry g = ReadMainGeometry(*store, "Alice", 1280, 1024);
    EXPECT_EQ(g.width, 1280);
    EXPECT_EQ(g.height, 1024);
    EXPECT_EQ(g.left, 0);
    EXPECT_EQ(g.top, 0);

    const std::pair<const char*, int> fontSizes[] = {{"0", 8}, {"1", 1}, {"200", 200}, {"201", 8}, {"-12", 8}};
    for (const auto& [stored, read] : fontSizes) {
        store->WriteString("Alice", "ListFontSize", stored);
        store->WriteString("Alice", "NotesFontSize", stored);
        const MainSettings s = ReadMainSettings(*store, "Alice", "/data/");
        EXPECT_EQ(s.listFontSize, read) << stored;
        EXPECT_EQ(s.notesFontSize, read) << stored;
    }

    const std::pair<const char*, int> clearSeconds[] = {{"-1", 30}, {"0", 0}, {"999", 999}, {"1000", 30}};
    for (const auto& [stored, read] : clearSeconds) {
        store->WriteString("Alice", "ClipboardClearSeconds", stored);
        EXPECT_EQ(ReadMainSettings(*store, "Alice", "/data/").clipboardClearSeconds, read) << stored;
    }

    const std::pair<const char*, int> idleMinutes[] = {{"-1", 0}, {"1", 1}, {"999", 999}, {"1000", 0}};
    for (const auto& [stored, read] : idleMinutes) {
        store->WriteString("Alice", "LockIdleMinutes", stored);
        EXPECT_EQ(ReadMainSettings(*store, "Alice", "/data/").lockIdleMinutes, read) << stored;
    }
}

}  // namespace
}  // namespace keystead
