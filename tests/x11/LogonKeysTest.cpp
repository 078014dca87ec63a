// The logon windows on a real X server, shown through their real modal loops: Escape, a user
// picked from the drop-down list with the arrow keys and Enter, and the picture logon worked with
// the keyboard alone.

#include "ScreenTest.h"
#include "XInput.h"
#include "platform/ModalForm.h"
#include "session/Logon.h"
#include "session/PlainLogon.h"
#include "app/Startup.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>

namespace keystead::test {
namespace {

class LogonKeysTest : public ScreenTest {
protected:
    std::unique_ptr<LogonWindow> makeWindow(bool fancy)
    {
        session = SessionState{};
        if (fancy)
            return std::make_unique<TfrmLogon>(session, storeFile);
        return std::make_unique<TfrmPlainLogon>(session, storeFile);
    }

    void writeOption(const std::string& ident, const std::string& value) const
    {
        openStore()->WriteString("Options", ident, value);
    }
};

TEST_F(LogonKeysTest, EscapeDoesNothingInEitherWindow)
{
    writeOption("UseLastUsername", "1");
    writeOption("LastUsername", "Alice");
    for (const bool fancy : {true, false}) {
        const auto window = makeWindow(fancy);
        // The remembered name is in place and the focus in the password box.
        modals.expect([](QWidget&) {
            pressKeys({QStringLiteral("Escape")});
            typeText(QStringLiteral("pw"));
            pressKeys({QStringLiteral("Return")});
        });
        EXPECT_EQ(showModal(*window), QDialog::Accepted) << "fancy " << fancy;
        EXPECT_EQ(session.CurrentUsername, "Alice");
        EXPECT_EQ(openStore()->ReadString("Options", "LastUsername", ""), "Alice");
    }
}

TEST_F(LogonKeysTest, ArrowKeysAndEnterInTheDropDownLogOnWithTheHighlightedName)
{
    addUser("bob", "bobpw");
    for (const bool fancy : {true, false}) {
        const auto window = makeWindow(fancy);
        QComboBox& names = *window->cboUsername;
        // The focus starts in the empty name box: the password first, then back to the names,
        // whose list opens on Alice.
        modals.expect([&names](QWidget&) {
            pressKeys({QStringLiteral("Tab")});
            typeText(QStringLiteral("bobpw"));
            pressKeys({QStringLiteral("shift+Tab"), QStringLiteral("alt+Down")});
            ASSERT_TRUE(QTest::qWaitFor([&names] { return names.view()->isVisible(); }, 5000));
            pressKeys({QStringLiteral("Down"), QStringLiteral("Return")});
        });
        EXPECT_EQ(showModal(*window), QDialog::Accepted) << "fancy " << fancy;
        EXPECT_EQ(session.CurrentUsername, "bob") << "fancy " << fancy;
    }
}

// Tab reaches the picture buttons and Space presses the one with the focus; Alt+X is Exit. From
// the start, the keyboard alone brings up the main window.
TEST_F(LogonKeysTest, ThePictureLogonIsWorkedWithTheKeyboardAlone)
{
    {
        const auto window = makeWindow(true);
        modals.expect([](QWidget&) { pressKeys({QStringLiteral("alt+x")}); });
        EXPECT_EQ(showModal(*window), QDialog::Rejected);
        EXPECT_TRUE(session.LogonPassword.empty());
    }
    session = SessionState{};
    modals.expect([](QWidget&) {
        typeText(QStringLiteral("Alice"));
        pressKeys({QStringLiteral("Tab")});
        typeText(QStringLiteral("pw"));
        // New User, then Logon.
        pressKeys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space")});
    });
    Startup startup(session, storeFile, QApplication::applicationFilePath().toStdString());
    const std::unique_ptr<TfrmMain> shown = startup.Execute();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(session.CurrentUsername, "Alice");
    shown->show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(shown.get(), 10000));
    EXPECT_TRUE(modals.done());
}

}  // namespace
}  // namespace keystead::test
