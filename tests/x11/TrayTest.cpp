// The tray icon with a real notification area (trayer): minimising with MinimizeToTray hides the
// main window behind the icon, a press on the icon brings it back, behind the logon password when
// so set, and the icon's menu closes the program with its closing work. Locked by the desktop's
// screen saver, the program waits behind the icon for the logon password.

#include "ScreenTest.h"
#include "XInput.h"
#include "desktop/Options.h"
#include "desktop/ProtectList.h"
#include "entries/EditPass.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/SessionLock.h"
#include "mainwindow/TrayMinimize.h"
#include "platform/TBNArea.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QPushButton>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <filesystem>

namespace keystead::test {
namespace {

const QString kWrongPassword = QStringLiteral("The password you entered is incorrect. Please re-type it an try again.");

// The password prompt, open again and active with the keyboard's focus after its message closed;
// null when it does not come back.
TfrmProtectList* promptBackWithFocus()
{
    TfrmProtectList* prompt = nullptr;
    const bool back = QTest::qWaitFor([&prompt] {
        prompt = dynamic_cast<TfrmProtectList*>(QApplication::activeModalWidget());
        return prompt != nullptr && prompt->isActiveWindow();
    }, 10000);
    return back && waitForInputFocus(*prompt) ? prompt : nullptr;
}

// Counts the times the program hides a window (the window system's hides at a minimise are not
// counted).
class HideCounter : public QObject {
public:
    int hides = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            ++hides;
        return QObject::eventFilter(watched, event);
    }
};

// A long double-click time, as a desktop's settings may give for slow hands: each press on the
// icon then comes soon enough after the one before, at the same place, to pair with it.
class LongDoubleClickTime {
public:
    LongDoubleClickTime() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(60000); }
    ~LongDoubleClickTime() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(before_); }
    LongDoubleClickTime(const LongDoubleClickTime&) = delete;
    LongDoubleClickTime& operator=(const LongDoubleClickTime&) = delete;

private:
    const int before_ = QGuiApplication::styleHints()->mouseDoubleClickInterval();
};

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

    TTrayMinimize& trayMinimize() const { return *frmMain->findChild<TTrayMinimize*>(); }
    TTBNArea& icon() const { return *trayMinimize().TBNArea1; }

    // The icon as the notification area shows it.
    static QWidget* iconOnScreen()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qstrcmp(widget->metaObject()->className(), "QSystemTrayIconSys") == 0 && widget->isVisible())
                return widget;
        return nullptr;
    }

    // Shown in the notification area, where a press reaches it: the X server shows the icon, and
    // the area, which grows with its icons, has placed it in the screen's bottom right corner
    // (within the area's border), where the area was started.
    static bool iconDocked()
    {
        const QWidget* shown = iconOnScreen();
        if (shown == nullptr || shown->windowHandle() == nullptr || !shown->windowHandle()->isExposed())
            return false;
        const QPoint gap = QGuiApplication::primaryScreen()->geometry().bottomRight() - placeOnScreen(*shown).bottomRight();
        return gap.x() >= 0 && gap.x() <= 2 && gap.y() >= 0 && gap.y() <= 2;
    }

    // Escape in the active main window.
    void minimizeToTray()
    {
        pressKeys({QStringLiteral("Escape")});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !frmMain->isVisible() && iconDocked(); }, 10000));
        EXPECT_TRUE(icon().Enabled());
    }

    // Back on the screen, in front with the keyboard, and the icon gone.
    bool restored() const
    {
        return frmMain->isVisible() && !frmMain->isMinimized() && frmMain->isActiveWindow() && !icon().Enabled() &&
               iconOnScreen() == nullptr;
    }

    std::string state() const
    {
        return "visible " + std::to_string(frmMain->isVisible()) + ", minimised " +
               std::to_string(frmMain->isMinimized()) + ", active " + std::to_string(frmMain->isActiveWindow()) +
               ", icon " + std::to_string(icon().Enabled()) + ", modal " +
               std::to_string(QApplication::activeModalWidget() != nullptr);
    }

    void expectPrompt(const std::function<void(TfrmProtectList&)>& steps)
    {
        modals.expect([steps](QWidget& window) {
            auto* prompt = dynamic_cast<TfrmProtectList*>(&window);
            ASSERT_NE(prompt, nullptr) << window.objectName().toStdString();
            steps(*prompt);
        });
    }

    static void typePassword()
    {
        typeText(QStringLiteral("pw"));
        pressKeys({QStringLiteral("Return")});
    }

    QProcess tray;
};

TEST_F(TrayTest, APressOnTheIconBringsTheWindowBack)
{
    openMain();
    minimizeToTray();
    clickOn(*iconOnScreen());
    EXPECT_TRUE(QTest::qWaitFor([this] { return restored(); }, 10000)) << state();
    EXPECT_TRUE(waitForInputFocus(*frmMain));
}

// Round after round, each press on the icon soon after the last: the right password always brings
// the window back, in front, ready for the next Escape.
TEST_F(TrayTest, EveryRestoreThroughThePasswordPromptBringsTheWindowBack)
{
    const LongDoubleClickTime slowHands;
    write("PasswordProtectTray", "1");
    openMain();
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(round);
        minimizeToTray();
        expectPrompt([](TfrmProtectList&) { typePassword(); });
        clickOn(*iconOnScreen());
        ASSERT_TRUE(QTest::qWaitFor([this] { return restored() && modals.done(); }, 10000)) << state();
        ASSERT_TRUE(waitForInputFocus(*frmMain));
    }
}

TEST_F(TrayTest, TheRestoreAsksForTheLogonPasswordOnce)
{
    write("PasswordProtectTray", "1");
    openMain();
    minimizeToTray();
    QWidget& onScreen = *iconOnScreen();
    expectPrompt([&onScreen](TfrmProtectList&) {
        // A second press while the prompt is open opens no second prompt. X delivers the keys
        // after it, so the press has been handled by the time they close the prompt.
        clickOn(onScreen);
        typePassword();
    });
    clickOn(onScreen);
    EXPECT_TRUE(QTest::qWaitFor([this] { return restored() && modals.done(); }, 10000)) << state();
}

// A wrong password keeps the prompt with its text; Cancel keeps the window hidden behind the
// icon and raises Show Passwords; the icon still answers the next press.
TEST_F(TrayTest, AWrongPasswordKeepsThePromptAndCancelKeepsTheWindowHidden)
{
    write("PasswordProtectTray", "1");
    write("ShowPasswords", "1");
    openMain();
    ASSERT_TRUE(frmMain->tbShowPasswords->isChecked());
    minimizeToTray();

    expectPrompt([](TfrmProtectList&) {
        typeText(QStringLiteral("PW"));
        pressKeys({QStringLiteral("Return")});
    });
    // The message closes; the prompt, open again with the keyboard and the refused text, is
    // cancelled. (The steps of one window run to their end before the next window is handed on.)
    QString refusal;
    modals.expect([&refusal](QWidget& box) {
        refusal = dynamic_cast<QMessageBox&>(box).text();
        pressKeys({QStringLiteral("Return")});
        TfrmProtectList* const prompt = promptBackWithFocus();
        ASSERT_NE(prompt, nullptr) << "the prompt did not come back with the keyboard's focus";
        EXPECT_EQ(prompt->txtPassword->text(), QStringLiteral("PW"));
        clickOn(*prompt->cmdCancel);
    });
    clickOn(*iconOnScreen());
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done(); }, 20000));
    EXPECT_EQ(refusal, kWrongPassword);
    EXPECT_FALSE(frmMain->isVisible());
    EXPECT_TRUE(icon().Enabled());
    EXPECT_TRUE(iconDocked());
    EXPECT_FALSE(frmMain->tbShowPasswords->isChecked());

    expectPrompt([](TfrmProtectList&) { typePassword(); });
    clickOn(*iconOnScreen());
    EXPECT_TRUE(QTest::qWaitFor([this] { return restored() && modals.done(); }, 10000)) << state();
}

// A window that went to the tray while a dialog was open would come back with the dialog, round
// the password: while a modal window is open, the main window stays minimised on the taskbar.
TEST_F(TrayTest, AMinimiseWhileADialogIsOpenStaysOffTheTray)
{
    write("PasswordProtectTray", "1");
    openMain();
    HideCounter hidden;
    frmMain->installEventFilter(&hidden);
    modals.expect([this](QWidget& window) {
        auto& options = dynamic_cast<TfrmOptions&>(window);
        // Minimised, as by the button of its frame or by the taskbar; the window manager takes the
        // dialog along.
        frmMain->showMinimized();
        ASSERT_TRUE(QTest::qWaitFor([this] { return iconic(*frmMain); }, 10000));
        // The dialog back in front, as a press on its taskbar button brings it.
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                    {QStringLiteral("windowactivate"), QString::number(options.winId())}),
                  0);
        ASSERT_TRUE(waitForInputFocus(options));
        options.chkPasswordProtectTray->click();
        options.cmdDone->click();
    });
    pressKeys({QStringLiteral("F2")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done(); }, 20000));
    EXPECT_EQ(stored("PasswordProtectTray"), "0");
    EXPECT_EQ(hidden.hides, 0) << "the main window went to the tray";
    EXPECT_FALSE(icon().Enabled());
    EXPECT_TRUE(QTest::qWaitFor([this] { return frmMain->isActiveWindow(); }, 10000));
}

TEST_F(TrayTest, TheTrayBoxesFollowTheirRules)
{
    write("PasswordProtectTray", "1");
    openMain();
    modals.expect([](QWidget& window) {
        auto& form = dynamic_cast<TfrmOptions&>(window);
        EXPECT_TRUE(form.chkMinimizeToTray->isEnabled());
        EXPECT_TRUE(form.chkPasswordProtectTray->isChecked());
        form.chkMinimizeToTray->click();
        EXPECT_FALSE(form.chkPasswordProtectTray->isChecked());
        EXPECT_FALSE(form.chkPasswordProtectTray->isEnabled());
        form.chkMinimizeToTray->click();
        EXPECT_TRUE(form.chkPasswordProtectTray->isEnabled());
        EXPECT_FALSE(form.chkPasswordProtectTray->isChecked()) << "its check mark does not come back";
        form.chkMinimizeToTray->click();
        form.cmdDone->click();
    });
    pressKeys({QStringLiteral("F2")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done(); }, 10000));
    EXPECT_EQ(stored("MinimizeToTray"), "0");
    EXPECT_EQ(stored("PasswordProtectTray"), "0");
}

TEST_F(TrayTest, ExitOnTheIconsMenuClosesWithTheClosingWork)
{
    addEntry({"Bank", "bo", "p1", "", "", ""});
    const std::filesystem::path exportFile = folder.path() / "auto.txt";
    write("PasswordProtectTray", "1");
    write("AutoExport", "1");
    write("AutoExportPath", exportFile.string());
    openMain();
    minimizeToTray();
    clickOn(*iconOnScreen(), 3);
    QMenu& menu = *trayMinimize().popTrayMenu;
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.isVisible(); }, 5000));
    clickAt(menu.mapToGlobal(menu.actionGeometry(trayMinimize().mnuExit).center()));
    // No prompt; the close writes the window's geometry and the automatic export.
    EXPECT_TRUE(QTest::qWaitFor([&] { return stored("MainWindowWidth") != "<absent>" && std::filesystem::exists(exportFile); }, 10000));
    EXPECT_TRUE(modals.done());
}

// The desktop's screen saver comes on (its signal on the session bus, from another program): the
// program locks behind the icon with an open Edit Password dialog hidden as it is, no window
// showing an entry and the copied password gone. A wrong password keeps it locked; the right one
// brings back the window, and the dialog with the text typed into it.
TEST_F(TrayTest, TheScreenSaverLocksAndTheRightPasswordBringsTheOpenDialogBack)
{
    addEntry({"Bank", "bo", "p1", "", "", ""});
    openMain();
    selectRow(QStringLiteral("Bank"));
    pressKeys({QStringLiteral("ctrl+c")});
    ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::clipboard()->text() == QStringLiteral("p1"); }, 10000));
    const SessionLock& lock = *frmMain->findChild<SessionLock*>();

    QPointer<TfrmEditPassword> edit;
    bool wasLocked = false;
    modals.expect([&](QWidget& window) {
        edit = dynamic_cast<TfrmEditPassword*>(&window);
        ASSERT_NE(edit, nullptr) << window.objectName().toStdString();
        clickOn(*edit->memComments);
        typeText(QStringLiteral("typed"));
        ASSERT_TRUE(QTest::qWaitFor([&edit] { return edit->memComments->toPlainText() == QStringLiteral("typed"); }, 10000));
        // Sent again until it comes: the program's interest in the signal may reach the bus later.
        const auto lockedAway = [&] { return lock.locked() && !frmMain->isVisible() && !edit->isVisible() && iconDocked(); };
        for (int attempt = 0; attempt < 20 && !lockedAway(); ++attempt) {
            QProcess::execute(QStringLiteral("dbus-send"),
                              {QStringLiteral("--session"), QStringLiteral("--type=signal"), QStringLiteral("/ScreenSaver"),
                               QStringLiteral("org.freedesktop.ScreenSaver.ActiveChanged"), QStringLiteral("boolean:true")});
            QTest::qWaitFor(lockedAway, 1000);
        }
        ASSERT_TRUE(lockedAway()) << state();
        wasLocked = true;
        for (const QWidget* shown : QApplication::topLevelWidgets())
            EXPECT_TRUE(!shown->isVisible() || qstrcmp(shown->metaObject()->className(), "QSystemTrayIconSys") == 0)
                << "shown while locked: " << shown->metaObject()->className();
        EXPECT_EQ(frmMain->listModel().rowCount(), 0);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
        clickOn(*iconOnScreen());
    });
    expectPrompt([](TfrmProtectList&) {
        typeText(QStringLiteral("PW"));
        pressKeys({QStringLiteral("Return")});
    });
    modals.expect([&](QWidget& box) {
        EXPECT_EQ(dynamic_cast<QMessageBox&>(box).text(), kWrongPassword);
        pressKeys({QStringLiteral("Return")});
        TfrmProtectList* const prompt = promptBackWithFocus();
        ASSERT_NE(prompt, nullptr) << "the prompt did not come back with the keyboard's focus";
        EXPECT_TRUE(lock.locked());
        EXPECT_FALSE(frmMain->isVisible());
        ASSERT_TRUE(edit) << "the open dialog ended";
        EXPECT_FALSE(edit->isVisible());
        pressKeys({QStringLiteral("ctrl+a")});
        typeText(QStringLiteral("pw"));
        pressKeys({QStringLiteral("Return")});
    });
    // The dialog back in front after the lock, as it was: its text is read, and Cancel closes it.
    QString typedAfter;
    QTimer back;
    QObject::connect(&back, &QTimer::timeout, [&] {
        if (!wasLocked || !edit || !edit->isVisible() || !edit->isActiveWindow() || !frmMain->isVisible())
            return;
        back.stop();
        typedAfter = edit->memComments->toPlainText();
        clickOn(*edit->cmdCancel);
    });
    back.start(20);
    pressKeys({QStringLiteral("ctrl+e")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return modals.done() && !typedAfter.isEmpty() && !edit; }, 60000)) << state();
    EXPECT_EQ(typedAfter, QStringLiteral("typed"));
    EXPECT_FALSE(lock.locked());
    EXPECT_TRUE(QTest::qWaitFor([this] { return restored(); }, 10000)) << state();
    EXPECT_EQ(frmMain->listModel().rowCount(), 1);
    EXPECT_EQ(frmMain->lvPasswords->selectedRow(), 0);
}

}  // namespace
}  // namespace keystead::test
