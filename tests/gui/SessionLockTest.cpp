// The lock with a real store: minutes without input, counted on a clock the test drives, lock the
// window and wipe what it showed; the logon password brings the list back with its row selected;
// a lock asked for while a store session is open waits until the session has ended.

#include "GuiTest.h"
#include "desktop/ProtectList.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/SessionLock.h"
#include "store/SealKey.h"
#include "store/StoreSeal.h"
#include "store/StoreSession.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace keystead::test {
namespace {

using namespace std::chrono_literals;

class SessionLockTest : public GuiTest {
protected:
    void SetUp() override
    {
        logOnAliceWith({{"Bank", "bo", "p1", "card 1234", "", ""}, {"Mail", "", "p2", "", "", ""}});
        const auto store = openStore();
        SealUser(*store, "Alice", "pw");
        session.Seal = OpenedSeal(*store, "Alice");
        clock.driveNow([this] { return now; });
    }

    void openMain()
    {
        frmMain = std::make_unique<TfrmMain>(session, storeFile, nullptr, clock);
        frmMain->show();
        lock = frmMain->findChild<SessionLock*>();
        ASSERT_NE(lock, nullptr);
    }

    void selectRow(const QString& caption) const
    {
        for (int row = 0; row < frmMain->listModel().rowCount(); ++row)
            if (frmMain->listModel().index(row, 0).data().toString() == caption)
                frmMain->lvPasswords->selectRow(row);
        frmMain->lvPasswords->details().setFocus();
    }

    QString selected() const
    {
        const int row = frmMain->lvPasswords->selectedRow();
        return row < 0 ? QString() : frmMain->listModel().index(row, 0).data().toString();
    }

    Clock clock;
    Clock::Instant now{};
    std::unique_ptr<TfrmMain> frmMain;
    SessionLock* lock = nullptr;
};

TEST_F(SessionLockTest, MinutesWithoutInputLockAndTheLogonPasswordBringsTheListBack)
{
    openStore()->WriteString("Alice", "LockIdleMinutes", "2");
    openMain();
    selectRow(QStringLiteral("Bank"));
    frmMain->mnuEditCopyClick();
    ASSERT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("p1"));

    now += 1min + 59s;
    lock->checkIdle();
    EXPECT_FALSE(lock->locked());
    // Input to any of the program's windows starts the minutes again.
    QTest::keyClick(&frmMain->lvPasswords->details(), Qt::Key_Shift);
    now += 1min + 59s;
    lock->checkIdle();
    EXPECT_FALSE(lock->locked());
    now += 1s;
    // The timer sees it too.
    ASSERT_TRUE(QTest::qWaitFor([this] { return lock->locked(); }, 10000));

    EXPECT_EQ(frmMain->listModel().rowCount(), 0);
    EXPECT_EQ(frmMain->reComments->toPlainText(), QString());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
    EXPECT_TRUE(frmMain->isMinimized()) << "no tray: minimised";
    EXPECT_TRUE(session.Seal->wiped());

    // A wrong password keeps it locked; the right one reads the list again.
    script.form<TfrmProtectList>([](TfrmProtectList& prompt) {
        prompt.txtPassword->setText(QStringLiteral("PW"));
        prompt.cmdDone->click();
        prompt.txtPassword->setText(QStringLiteral("pw"));
        prompt.cmdDone->click();
    });
    script.warning(QStringLiteral("The password you entered is incorrect. Please re-type it an try again."));
    frmMain->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !lock->locked(); }, 10000));
    EXPECT_TRUE(script.done());
    EXPECT_EQ(frmMain->listModel().rowCount(), 2);
    EXPECT_EQ(selected(), QStringLiteral("Bank"));
    EXPECT_EQ(frmMain->reComments->toPlainText(), QStringLiteral("card 1234"));
}

// The store's transaction is never cut: the lock waits for its end.
TEST_F(SessionLockTest, ALockDuringAStoreSessionWaitsForItsEnd)
{
    openMain();
    auto storeSession = std::make_unique<StoreSession>(frmMain->store());
    frmMain->mnuFileLock->trigger();
    EXPECT_FALSE(lock->locked());
    EXPECT_EQ(frmMain->listModel().rowCount(), 2);
    storeSession->close();
    storeSession.reset();
    EXPECT_TRUE(QTest::qWaitFor([this] { return lock->locked(); }, 10000));
    EXPECT_EQ(frmMain->listModel().rowCount(), 0);
}

}  // namespace
}  // namespace keystead::test
