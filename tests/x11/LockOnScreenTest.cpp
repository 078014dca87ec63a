// The lock by its key on a real X server without a tray: Ctrl+L minimises the main window with
// its list wiped, and bringing the window back, as the taskbar does, shows the "Enter Password"
// prompt before any entry; the logon password reads the list again with the row selected.

#include "ScreenTest.h"
#include "XInput.h"
#include "desktop/ProtectList.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/SessionLock.h"

#include <QProcess>
#include <QTest>

namespace keystead::test {
namespace {

class LockOnScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "bo", "p1", "", "", ""});
        addEntry({"Mail", "", "p2", "", "", ""});
    }

    QString selected() const
    {
        const int row = frmMain->lvPasswords->selectedRow();
        return row < 0 ? QString() : frmMain->listModel().index(row, 0).data().toString();
    }
};

TEST_F(LockOnScreenTest, CtrlLWithoutATrayMinimisesAndTheReturnAsksFirst)
{
    openMain();
    selectRow(QStringLiteral("Mail"));
    pressKeys({QStringLiteral("ctrl+l")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return iconic(*frmMain); }, 10000));
    EXPECT_TRUE(frmMain->findChild<SessionLock*>()->locked());
    EXPECT_EQ(frmMain->listModel().rowCount(), 0);

    int rowsAtPrompt = -1;
    modals.expect([&rowsAtPrompt, this](QWidget& window) {
        ASSERT_NE(dynamic_cast<TfrmProtectList*>(&window), nullptr) << window.objectName().toStdString();
        rowsAtPrompt = frmMain->listModel().rowCount();
        typeText(QStringLiteral("pw"));
        pressKeys({QStringLiteral("Return")});
    });
    // As a press on the window's taskbar button.
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                {QStringLiteral("windowactivate"), QString::number(frmMain->winId())}),
              0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done() && frmMain->listModel().rowCount() == 2; }, 20000));
    EXPECT_EQ(rowsAtPrompt, 0) << "an entry showed before the prompt";
    EXPECT_EQ(selected(), QStringLiteral("Mail"));
    EXPECT_FALSE(iconic(*frmMain));
    EXPECT_FALSE(frmMain->findChild<SessionLock*>()->locked());
}

}  // namespace
}  // namespace keystead::test
