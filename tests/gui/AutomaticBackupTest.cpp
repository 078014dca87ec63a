// The automatic backups the main window takes before a change of a whole list: Delete All can be
// undone by restoring its backup, and a backup that fails is told in the status bar while the
// command goes on.

#include "EntryDialogTest.h"
#include "store/StoreBackups.h"

#include <QStatusBar>

#include <filesystem>

namespace keystead::test {
namespace {

const QString kDeleteAllQuestion = QStringLiteral("Are you sure you want to delete all passwords?");

class AutomaticBackupTest : public EntryDialogTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "bo", "p1", "bank notes", "30", "12"});
        addEntry({"Mail", "", "p2", "", "", ""});
        addEntry({"Shop", "sam", "p3", "", "10", "4"});
        openMain();
    }

    void deleteAll()
    {
        script.question(kDeleteAllQuestion, MessageResult::Yes);
        frmMain->mnuEditDeleteAllClick();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(stored("TotalPasswords"), "0");
    }
};

TEST_F(AutomaticBackupTest, DeleteAllFollowedByARestoreBringsEveryEntryBack)
{
    const auto before = aliceValues();
    deleteAll();
    EXPECT_TRUE(frmMain->statusBar()->currentMessage().isEmpty());
    StoreBackups backups(storeFile);
    const auto taken = backups.list();
    ASSERT_EQ(taken.size(), 1U);
    EXPECT_EQ(taken[0].users, std::vector<std::string>{"Alice"});
    backups.restore(taken[0].file);
    EXPECT_EQ(aliceValues(), before);
    openMain();
    EXPECT_EQ(rowCount(), 3);
}

TEST_F(AutomaticBackupTest, AFailedBackupIsToldInTheStatusBarAndTheCommandGoesOn)
{
    std::filesystem::create_directory_symlink(folder.path(), folder.path() / "backups");
    deleteAll();
    EXPECT_TRUE(frmMain->statusBar()->currentMessage().startsWith(
        QStringLiteral("The automatic backup failed: The backup folder")))
        << frmMain->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(rowCount(), 0);
}

}  // namespace
}  // namespace keystead::test
