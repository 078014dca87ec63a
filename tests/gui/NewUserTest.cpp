// The new-user dialog: its checks in their order with the focus after each, the limits of its
// boxes, what it writes, and what it hands back to the logon window.

#include "../store/RawDatabase.h"
#include "GuiTest.h"
#include "crypto/Diamond.h"
#include "platform/HelpWindow.h"
#include "session/NewUser.h"
#include "store/StoreSeal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace keystead::test {

namespace {

const QString kEnterNewUsername = QStringLiteral("You must enter a new username.");
const QString kEnterPasswordText = QStringLiteral("You must enter a password.");
const QString kVerify = QStringLiteral("You must verify the password.");
const QString kNoMatch = QStringLiteral("The password and verify password do not match.");
const QString kExists = QStringLiteral("The username you entered already exists. Please choose another name.");
const QString kRefused = QStringLiteral("A username cannot be empty or contain a backslash or a control character.");
const QString kNotCreated = QStringLiteral("Error: The new username could not be created in the registry.");

class NewUserTest : public GuiTest {
protected:
    NewUserTest() { logonUsername.setEditable(true); }

    std::unique_ptr<TfrmNewUser> openDialog()
    {
        auto dialog = std::make_unique<TfrmNewUser>(logonUsername, storeFile, nullptr);
        dialog->show();
        return dialog;
    }

    struct Typed {
        QString name;
        QString password;
        QString verify;
    };

    // Types the three texts, clicks Done, and checks the one message and the focus after it.
    void expectRefusal(const Typed& typed, const QString& message, const char* focus)
    {
        const auto dialog = openDialog();
        dialog->txtUsername->setText(typed.name);
        dialog->txtPassword->setText(typed.password);
        dialog->txtVerify->setText(typed.verify);
        script.warning(message);
        dialog->cmdDone->click();
        EXPECT_TRUE(script.done()) << typed.name.toStdString();
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_NE(dialog->focusWidget(), nullptr);
        EXPECT_EQ(dialog->focusWidget()->objectName(), QLatin1String(focus)) << message.toStdString();
        EXPECT_EQ(script.shown().back().owner, dialog.get());
    }

    QComboBox logonUsername;
};

TEST_F(NewUserTest, OpensWithTheTrimmedNameOfTheLogonWindow)
{
    logonUsername.setEditText(QStringLiteral("  Dora\t"));
    const auto dialog = openDialog();
    EXPECT_EQ(dialog->txtUsername->text(), QStringLiteral("Dora"));
}

TEST_F(NewUserTest, EmptyFieldsAreToldInTheOrderOfTheBoxes)
{
    const QString blank = QStringLiteral(" \t ");
    const QString pw = QStringLiteral("pw");
    expectRefusal({blank, QString(), QString()}, kEnterNewUsername, "txtUsername");
    expectRefusal({QString(), pw, pw}, kEnterNewUsername, "txtUsername");
    expectRefusal({QStringLiteral("Eve"), blank, QString()}, kEnterPasswordText, "txtPassword");
    expectRefusal({QStringLiteral("Eve"), QString(), pw}, kEnterPasswordText, "txtPassword");
    expectRefusal({QStringLiteral("Eve"), pw, blank}, kVerify, "txtVerify");
    EXPECT_TRUE(openStore()->readUsers().empty());
}

TEST_F(NewUserTest, RefusedNamesAreToldRightAfterTheEmptyName)
{
    expectRefusal({QStringLiteral("a\\b"), QString(), QString()}, kRefused, "txtUsername");
    expectRefusal({QStringLiteral("tab\tinside"), QStringLiteral("pw"), QStringLiteral("pw")}, kRefused,
                  "txtUsername");
    EXPECT_TRUE(openStore()->readUsers().empty());
}

TEST_F(NewUserTest, VerificationMustMatchExactly)
{
    expectRefusal({QStringLiteral("Eve"), QStringLiteral("Secret"), QStringLiteral("secret")}, kNoMatch, "txtVerify");
    expectRefusal({QStringLiteral("Eve"), QStringLiteral("Secret"), QStringLiteral("Secret2")}, kNoMatch,
                  "txtVerify");
    EXPECT_TRUE(openStore()->readUsers().empty());
}

TEST_F(NewUserTest, ExistingNamesInAnyLetterCaseAreRefused)
{
    addUser("Anna", "secret");
    const auto before = sectionValues("Anna");
    const QString pw = QStringLiteral("other");
    expectRefusal({QStringLiteral("anna"), pw, pw}, kExists, "txtUsername");
    expectRefusal({QStringLiteral(" ANNA "), pw, pw}, kExists, "txtUsername");
    expectRefusal({QStringLiteral("Options"), pw, pw}, kExists, "txtUsername");
    EXPECT_EQ(sectionValues("Anna"), before);
    EXPECT_EQ(openStore()->readUsers(), std::vector<std::string>{"Anna"});
}

TEST_F(NewUserTest, CreatesTheUserWithTheEncryptedNameAndTheVersionAndHandsTheNameBack)
{
    logonUsername.addItem(QStringLiteral("Anna"));
    const auto dialog = openDialog();
    dialog->txtUsername->setText(QStringLiteral("  Émile Zola "));
    dialog->txtPassword->setText(QStringLiteral(" J'accuse\t"));
    dialog->txtVerify->setText(QStringLiteral("J'accuse"));
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(logonUsername.currentText(), QStringLiteral("Émile Zola"));
    EXPECT_EQ(logonUsername.count(), 1);

    logonPasswords["Émile Zola"] = "J'accuse";
    EXPECT_TRUE(IsSealed(*openStore(), "Émile Zola"));
    const auto values = sectionValues("Émile Zola");
    ASSERT_EQ(values.size(), 3u);
    ASSERT_EQ(values.count("MainPassword"), 1u);
    // Stamped at once: entries added from a terminal before the first logon are not earlier data.
    EXPECT_EQ(values.count("MajorVersion") + values.count("MinorVersion"), 2u);
    TDiamond diamond;
    diamond.SetKey("J'accuse");
    EXPECT_EQ(diamond.DecryptCipherString(values.at("MainPassword")), "Émile Zola");
}

TEST_F(NewUserTest, CancelWritesNothing)
{
    const auto dialog = openDialog();
    dialog->txtUsername->setText(QStringLiteral("Eve"));
    dialog->txtPassword->setText(QStringLiteral("pw"));
    dialog->txtVerify->setText(QStringLiteral("pw"));
    dialog->cmdCancel->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(openStore()->readUsers().empty());
    EXPECT_TRUE(logonUsername.currentText().isEmpty());
}

TEST_F(NewUserTest, AFailedCreationIsToldAndClosesTheDialog)
{
    addUser("Anna", "secret");
    RawDatabase(storeFile).exec(
        "CREATE TRIGGER refuse_sections BEFORE INSERT ON sections BEGIN SELECT RAISE(ABORT, 'full'); END;");
    const auto dialog = openDialog();
    dialog->txtUsername->setText(QStringLiteral("Eve"));
    dialog->txtPassword->setText(QStringLiteral("pw"));
    dialog->txtVerify->setText(QStringLiteral("pw"));
    script.warning(kNotCreated);
    dialog->cmdDone->click();
    EXPECT_TRUE(script.done());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(logonUsername.currentText().isEmpty());
    EXPECT_FALSE(openStore()->UserExists("Eve"));
}

TEST_F(NewUserTest, BoxesTakeAtMostTheirNumberOfVisibleCharacters)
{
    const auto dialog = openDialog();
    const std::tuple<QLineEdit*, int> limits[] = {
        {dialog->txtUsername, 30}, {dialog->txtPassword, 20}, {dialog->txtVerify, 20}};
    for (const auto& [box, limit] : limits) {
        box->clear();
        QTest::keyClicks(box, QString(limit + 5, QLatin1Char('x')));
        EXPECT_EQ(box->text().size(), limit) << box->objectName().toStdString();
    }
    // An accented letter made of two code points and an emoji made of two UTF-16 units each
    // count as one character.
    const QString composed = QStringLiteral("e\u0301");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x94\x91");
    dialog->txtPassword->clear();
    for (int i = 0; i < 10; ++i)
        dialog->txtPassword->insert(composed);
    for (int i = 0; i < 12; ++i)
        dialog->txtPassword->insert(emoji);
    EXPECT_EQ(dialog->txtPassword->text(), composed.repeated(10) + emoji.repeated(10));
}

TEST_F(NewUserTest, F1ShowsTheNewUserHelp)
{
    const auto dialog = openDialog();
    QTest::keyClick(dialog->txtVerify, Qt::Key_F1);
    const auto* help = dialog->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->txtTopic->source(), THelpWindow::topicUrl(2000));
}

}  // namespace

}  // namespace keystead::test
