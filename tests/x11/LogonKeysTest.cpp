// The logon windows on a real X server, shown through their real modal loops: Escape, and a user
// picked from the drop-down list with the arrow keys and Enter.

#include "ScreenTest.h"
#include "XInput.h"
#include "platform/ModalForm.h"
#include "session/Logon.h"
#include "session/PlainLogon.h"

#include <QAbstractItemView>
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

}  // namespace
}  // namespace keystead::test
