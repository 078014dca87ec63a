// A logon password changed in another window seals Alice's section anew: this window's old key
// opens nothing, so the window says so and asks the program to show the logon window again.

#include "EntryDialogTest.h"
#include "platform/ErrorDisplay.h"
#include "mainwindow/StoreChangeWatch.h"
#include "session/PasswordChange.h"
#include "store/StoreSeal.h"

#include <QApplication>
#include <QEvent>
#include <QTest>

namespace keystead::test {
namespace {

// Counts the requests for a new logon that reach the application.
class LogOnRequests : public QObject {
public:
    LogOnRequests() { QApplication::instance()->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == logOnAgainEventType())
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

class SealChangedTest : public EntryDialogTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "", "p", "", "", ""});
        const auto store = openStore();
        SealUser(*store, "Alice", "pw");
        session.Seal = OpenedSeal(*store, "Alice");
        openMain();
        frmMain->show();
        QApplication::setActiveWindow(frmMain.get());
    }
};

TEST_F(SealChangedTest, APasswordChangedInAnotherWindowSendsThisOneBackToTheLogon)
{
    ASSERT_EQ(rowCount(), 1);
    LogOnRequests requests;
    script.error(QStringLiteral("The logon password was changed in another window. Please log on again."));

    const auto other = openStore();
    OpenSeal(*other, "Alice", "pw");
    SessionState otherSession = session;
    otherSession.Seal = OpenedSeal(*other, "Alice");
    ChangeLogonPassword(*other, otherSession, "new");

    frmMain->findChild<TStoreChangeWatch*>()->lookAtStore();
    EXPECT_TRUE(QTest::qWaitFor([&requests] { return requests.count == 1; }, 10000));
    EXPECT_TRUE(script.done());
    EXPECT_EQ(rowCount(), 1);
}

}  // namespace
}  // namespace keystead::test
