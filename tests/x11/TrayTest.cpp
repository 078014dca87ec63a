// The tray icon with a real notification area (trayer): minimising with MinimizeToTray hides the
// main window behind the icon, a press on the icon brings it back, behind the logon password when
// so set, and the icon's menu closes the program with its closing work.

#include "ScreenTest.h"
#include "XInput.h"
#include "desktop/ProtectList.h"
#include "desktop/TBNArea.h"
#include "mainwindow/TrayMinimize.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

namespace keystead::test {
namespace {

class TrayTest : public ScreenTest {
protected:
    void SetUp() override
    {
        tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("bottom"),
                                              QStringLiteral("--align"), QStringLiteral("right"),
                                              QStringLiteral("--widthtype"), QStringLiteral("request")});
        ASSERT_TRUE(tray.waitForStarted(5000)) << "trayer is needed: scripts/install-deps.sh installs it";
        ASSERT_TRUE(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
        write("MinimizeToTray", "1");
    }

    void TearDown() override
    {
        frmMain.reset();
        tray.terminate();
        tray.waitForFinished(5000);
    }

    TTBNArea& icon() const { return *frmMain->findChild<TTrayMinimize*>()->TBNArea1; }

    // The icon as the notification area shows it.
    static QWidget* iconOnScreen()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qstrcmp(widget->metaObject()->className(), "QSystemTrayIconSys") == 0 && widget->isVisible())
                return widget;
        return nullptr;
    }

    void minimizeToTray()
    {
        openMain();
        pressKeys({QStringLiteral("Escape")});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !frmMain->isVisible() && iconOnScreen() != nullptr; }, 10000));
        EXPECT_TRUE(icon().Enabled());
        // The notification area takes the icon in first.
        QTest::qWait(300);
    }

    bool restored() const { return frmMain->isVisible() && !icon().Enabled() && iconOnScreen() == nullptr; }

    QProcess tray;
};

TEST_F(TrayTest, APressOnTheIconBringsTheWindowBack)
{
    minimizeToTray();
    clickOn(*iconOnScreen());
    EXPECT_TRUE(QTest::qWaitFor([this] { return restored(); }, 10000));
    EXPECT_TRUE(QTest::qWaitForWindowActive(frmMain.get(), 5000));
    EXPECT_FALSE(frmMain->isMinimized());
}

TEST_F(TrayTest, TheRestoreAsksForTheLogonPasswordOnce)
{
    write("PasswordProtectTray", "1");
    minimizeToTray();
    QWidget& onScreen = *iconOnScreen();
    modals.expect([&onScreen](QWidget& prompt) {
        EXPECT_NE(dynamic_cast<TfrmProtectList*>(&prompt), nullptr);
        // A second press while the prompt is open opens no second prompt.
        clickOn(onScreen);
        QTest::qWait(300);
        typeText(QStringLiteral("pw"));
        pressKeys({QStringLiteral("Return")});
    });
    clickOn(onScreen);
    EXPECT_TRUE(QTest::qWaitFor([this] { return restored() && modals.done(); }, 10000));
}

TEST_F(TrayTest, ExitOnTheIconsMenuClosesWithTheClosingWork)
{
    write("PasswordProtectTray", "1");
    minimizeToTray();
    clickOn(*iconOnScreen(), 3);
    QMenu& menu = *frmMain->findChild<TTrayMinimize*>()->popTrayMenu;
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.isVisible(); }, 5000));
    clickAt(menu.mapToGlobal(menu.actionGeometry(menu.actions().constFirst()).center()));
    // No prompt; the close writes the window's geometry.
    EXPECT_TRUE(QTest::qWaitFor([this] { return stored("MainWindowWidth") != "<absent>"; }, 5000));
    EXPECT_TRUE(modals.done());
}

}  // namespace
}  // namespace keystead::test
