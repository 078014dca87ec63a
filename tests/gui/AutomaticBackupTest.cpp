// The automatic backups the main window takes before a change of a whole list: Delete All can be
// undone by restoring its backup, also through File > "Restore from Backup...", and a backup that
// fails is told in the status bar while the command goes on.

#include "EntryDialogTest.h"
#include "mainwindow/BackupNotice.h"
#include "mainwindow/RestoreBackup.h"
#include "session/DamagedStoreOffer.h"
#include "store/StoreBackups.h"

#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

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
        // The backup runs on its own thread; the window tells of its end at its next look.
        ASSERT_TRUE(QTest::qWaitFor([this] { return !frmMain->backupNotice().running(); }, 30000));
    }

    // File > "Restore from Backup...", the newest backup chosen and the question answered Yes.
    void restoreNewest(const QString& usersShown)
    {
        const auto newest = StoreBackups(storeFile).list().front();
        script.form<TfrmRestoreBackup>([usersShown](TfrmRestoreBackup& form) {
            ASSERT_GE(form.lvBackups->topLevelItemCount(), 1);
            EXPECT_EQ(form.lvBackups->topLevelItem(0)->text(2), usersShown);
            form.cmdRestore->click();
        });
        script.question(QStringLiteral("Replace the whole store, for every user, with the backup of %1? "
                                       "The store as it is now is backed up first.")
                            .arg(backupTimeText(newest.time)),
                        MessageResult::Yes);
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

TEST_F(AutomaticBackupTest, TheRestoreDialogUndoesDeleteAllAndBacksUpTheEmptiedStoreFirst)
{
    const auto before = aliceValues();
    deleteAll();
    restoreNewest(QStringLiteral("Alice"));
    frmMain->mnuFileRestoreClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(aliceValues(), before);
    EXPECT_EQ(rowCount(), 3);
    EXPECT_EQ(StoreBackups(storeFile).list().size(), 2U);
    EXPECT_FALSE(frmMain->logonAgain());
}

// The restored store keeps Alice under another logon password: the window goes without writing
// her settings into it, and the logon window comes back.
TEST_F(AutomaticBackupTest, ARestoredStoreThatNoLongerOpensForTheUserBringsTheLogonBack)
{
    frmMain->show();
    const std::string mainPassword = stored("MainPassword");
    write("MainPassword", "changed elsewhere");
    StoreBackups(storeFile).take();
    write("MainPassword", mainPassword);
    restoreNewest(QStringLiteral("Alice"));
    script.message(QStringLiteral("The restored store does not know the user \"Alice\" with the logon password "
                                  "of this session. Log on again."),
                   MessageIcon::Information, MessageResult::Ok);
    frmMain->mnuFileRestoreClick();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(frmMain->logonAgain());
    EXPECT_FALSE(frmMain->isVisible());
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(stored("MainPassword"), "changed elsewhere");
    EXPECT_EQ(stored("MainWindowLeft"), "<absent>");
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
