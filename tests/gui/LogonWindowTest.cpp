// Both logon windows: the user list, the focus at showing, the logon check with its messages in
// their order, Exit and Cancel, and the remembered last user name.

#include "GuiTest.h"
#include "platform/HelpWindow.h"
#include "platform/TextConversion.h"
#include "session/Logon.h"
#include "session/NewUser.h"
#include "session/PlainLogon.h"
#include "session/VorrentImage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace keystead::test {

namespace {

// How a test works each window's buttons.
struct FancyWindow {
    using Form = TfrmLogon;
    static void logOn(Form& form) { QTest::mouseClick(form.imgLogon, Qt::LeftButton); }
    static void newUser(Form& form) { QTest::mouseClick(form.imgNew, Qt::LeftButton); }
    static void giveUp(Form& form) { QTest::mouseClick(form.imgExit, Qt::LeftButton); }
    static QObject& exitControl(Form& form) { return *form.imgExit; }
};

struct PlainWindow {
    using Form = TfrmPlainLogon;
    static void logOn(Form& form) { form.cmdDone->click(); }
    static void newUser(Form& form) { form.cmdNewUser->click(); }
    static void giveUp(Form& form) { form.cmdCancel->click(); }
    static QObject& exitControl(Form& form) { return *form.cmdCancel; }
};

const QString kEnterUsername = QStringLiteral("You must enter a username.");
const QString kUserMissing = QStringLiteral("Your username does not exist. Would you like to create a new user?");
const QString kEnterPassword = QStringLiteral("You must enter a password.");
const QString kIncorrect = QStringLiteral("Your password is incorrect.");

template <typename Window>
class LogonWindowTest : public GuiTest {
protected:
    using Form = typename Window::Form;

    std::unique_ptr<Form> openWindow()
    {
        auto form = std::make_unique<Form>(session, storeFile);
        form->show();
        return form;
    }

    void type(Form& form, const QString& name, const QString& password)
    {
        form.cboUsername->setEditText(name);
        form.txtPassword->setText(password);
    }
};

using Windows = testing::Types<FancyWindow, PlainWindow>;
TYPED_TEST_SUITE(LogonWindowTest, Windows);

TYPED_TEST(LogonWindowTest, ListsTheUsersButNotTheOptions)
{
    this->addUser("Zoe", "z");
    this->addUser("anna", "a");
    this->writeOption("FancyLogon", "1");
    const auto form = this->openWindow();
    ASSERT_EQ(form->cboUsername->count(), 2);
    EXPECT_EQ(form->cboUsername->itemText(0), QStringLiteral("anna"));
    EXPECT_EQ(form->cboUsername->itemText(1), QStringLiteral("Zoe"));
    EXPECT_TRUE(form->cboUsername->currentText().isEmpty());
}

TYPED_TEST(LogonWindowTest, RemembersTheLastUserOnlyWhenSoSet)
{
    this->addUser("Anna", "secret");
    this->writeOption("LastUsername", "Anna");
    {
        const auto form = this->openWindow();
        EXPECT_TRUE(form->cboUsername->currentText().isEmpty());
        EXPECT_EQ(form->focusWidget(), form->cboUsername);
        EXPECT_FALSE(this->session.RememberLastUsername);
    }
    this->writeOption("UseLastUsername", "1");
    const auto form = this->openWindow();
    EXPECT_TRUE(this->session.RememberLastUsername);
    EXPECT_EQ(form->cboUsername->currentText(), QStringLiteral("Anna"));
    EXPECT_EQ(form->focusWidget(), form->txtPassword);
}

TYPED_TEST(LogonWindowTest, BlankRememberedNameLeavesTheFocusOnTheName)
{
    this->writeOption("UseLastUsername", "1");
    this->writeOption("LastUsername", " \t ");
    const auto form = this->openWindow();
    EXPECT_EQ(form->focusWidget(), form->cboUsername);
}

TYPED_TEST(LogonWindowTest, EmptyNameIsAskedForFirst)
{
    const auto form = this->openWindow();
    for (const QString& name : {QString(), QStringLiteral("  \t ")}) {
        this->type(*form, name, QString());
        form->txtPassword->setFocus();
        this->script.warning(kEnterUsername);
        TypeParam::logOn(*form);
        EXPECT_TRUE(this->script.done());
        EXPECT_EQ(form->focusWidget(), form->cboUsername);
        EXPECT_TRUE(form->isVisible());
    }
}

TYPED_TEST(LogonWindowTest, UnknownNameOffersANewUserBeforeAskingForThePassword)
{
    this->addUser("Anna", "secret");
    const auto form = this->openWindow();
    this->type(*form, QStringLiteral("  Bob "), QString());
    this->script.question(kUserMissing, MessageResult::No);
    TypeParam::logOn(*form);
    EXPECT_TRUE(this->script.done());
    EXPECT_TRUE(form->isVisible());

    this->script.question(kUserMissing, MessageResult::Yes);
    this->script.template form<TfrmNewUser>([](TfrmNewUser& newUser) {
        EXPECT_EQ(newUser.txtUsername->text(), QStringLiteral("Bob"));
        newUser.cmdCancel->click();
    });
    TypeParam::logOn(*form);
    EXPECT_TRUE(this->script.done());
    EXPECT_FALSE(this->openStore()->UserExists("Bob"));
    EXPECT_EQ(this->script.shown().front().owner, form.get());
}

TYPED_TEST(LogonWindowTest, EmptyPasswordIsAskedForAfterTheName)
{
    this->addUser("Anna", "secret");
    const auto form = this->openWindow();
    for (const QString& password : {QString(), QStringLiteral("   ")}) {
        this->type(*form, QStringLiteral("Anna"), password);
        this->script.warning(kEnterPassword);
        TypeParam::logOn(*form);
        EXPECT_TRUE(this->script.done());
        EXPECT_EQ(form->focusWidget(), form->txtPassword);
    }
}

TYPED_TEST(LogonWindowTest, WrongPasswordOtherLetterCaseOrNoMainPasswordIsIncorrect)
{
    this->addUser("Anna", "secret");
    this->openStore()->WriteInteger("Bert", "TotalPasswords", 0);
    const auto before = this->sectionValues("Anna");
    const auto form = this->openWindow();
    const std::pair<QString, QString> attempts[] = {
        {QStringLiteral("Anna"), QStringLiteral("Secret")},
        {QStringLiteral("anna"), QStringLiteral("secret")},
        {QStringLiteral("ANNA"), QStringLiteral("secret")},
        {QStringLiteral("Bert"), QStringLiteral("secret")},
    };
    for (const auto& [name, password] : attempts) {
        this->type(*form, name, password);
        form->cboUsername->setFocus();
        this->script.warning(kIncorrect);
        TypeParam::logOn(*form);
        EXPECT_TRUE(this->script.done()) << name.toStdString();
        EXPECT_EQ(form->focusWidget(), form->txtPassword);
        EXPECT_TRUE(form->isVisible());
    }
    EXPECT_TRUE(this->session.CurrentUsername.empty());
    EXPECT_TRUE(this->session.LogonPassword.empty());
    EXPECT_EQ(this->sectionValues("Anna"), before);
}

TYPED_TEST(LogonWindowTest, BlanksAroundNameAndPasswordDoNotCount)
{
    this->addUser("Anna Lee", "open sesame");
    const auto form = this->openWindow();
    this->type(*form, QStringLiteral(" \tAnna Lee  "), QStringLiteral("  open sesame\t"));
    TypeParam::logOn(*form);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(this->session.CurrentUsername, "Anna Lee");
    EXPECT_EQ(this->session.LogonPassword, "open sesame");
}

TYPED_TEST(LogonWindowTest, NamesBeyondAsciiLogOn)
{
    this->addUser("Jürgen", "pässwörd");
    const auto form = this->openWindow();
    this->type(*form, QStringLiteral("Jürgen"), QStringLiteral("pässwörd"));
    TypeParam::logOn(*form);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(this->session.CurrentUsername, "Jürgen");
}

TYPED_TEST(LogonWindowTest, ExitOrCancelLeavesWithoutLogonAndKeepsTheLastName)
{
    this->addUser("Anna", "secret");
    this->writeOption("UseLastUsername", "1");
    this->writeOption("LastUsername", "Anna");
    this->session.LogonPassword = "left over";
    const auto form = this->openWindow();
    this->type(*form, QStringLiteral("Anna"), QStringLiteral("secret"));
    TypeParam::giveUp(*form);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(this->session.LogonPassword.empty());
    EXPECT_EQ(TypeParam::exitControl(*form).property("Tag").toInt(), 1);
    EXPECT_EQ(this->readOption("LastUsername"), "Anna");
}

TYPED_TEST(LogonWindowTest, OtherClosesForgetTheLastName)
{
    this->writeOption("UseLastUsername", "1");
    this->writeOption("LastUsername", "Anna");
    const auto form = this->openWindow();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(this->readOption("LastUsername"), "");
}

TYPED_TEST(LogonWindowTest, WithoutRememberingNothingIsWrittenAtClose)
{
    this->addUser("Anna", "secret");
    const auto form = this->openWindow();
    this->type(*form, QStringLiteral("Anna"), QStringLiteral("secret"));
    TypeParam::logOn(*form);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(this->readOption("LastUsername"), "<absent>");
}

TYPED_TEST(LogonWindowTest, LogonRemembersTheNameForTheNextStart)
{
    this->addUser("Anna", "secret");
    this->writeOption("UseLastUsername", "1");
    this->writeOption("LastUsername", "Someone");
    {
        const auto form = this->openWindow();
        this->type(*form, QStringLiteral("Anna "), QStringLiteral("secret"));
        TypeParam::logOn(*form);
    }
    EXPECT_EQ(this->readOption("LastUsername"), "Anna");
    const auto next = this->openWindow();
    EXPECT_EQ(next->cboUsername->currentText(), QStringLiteral("Anna"));
    EXPECT_EQ(next->focusWidget(), next->txtPassword);
}

TYPED_TEST(LogonWindowTest, NewUserGoesIntoTheNameBoxButNotIntoTheList)
{
    this->addUser("Anna", "secret");
    const auto form = this->openWindow();
    this->script.template form<TfrmNewUser>([](TfrmNewUser& newUser) {
        newUser.txtUsername->setText(QStringLiteral("Carl"));
        newUser.txtPassword->setText(QStringLiteral("pw"));
        newUser.txtVerify->setText(QStringLiteral("pw"));
        newUser.cmdDone->click();
    });
    TypeParam::newUser(*form);
    EXPECT_TRUE(this->script.done());
    EXPECT_EQ(form->cboUsername->currentText(), QStringLiteral("Carl"));
    EXPECT_EQ(form->cboUsername->count(), 1);
    EXPECT_EQ(form->focusWidget(), form->txtPassword);

    form->txtPassword->setText(QStringLiteral("pw"));
    TypeParam::logOn(*form);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(this->session.CurrentUsername, "Carl");
}

TYPED_TEST(LogonWindowTest, EnterRunsTheLogonCheckFromEitherBox)
{
    this->addUser("Anna", "secret");
    const auto form = this->openWindow();
    this->script.warning(kEnterUsername);
    QTest::keyClick(form->txtPassword, Qt::Key_Return);
    EXPECT_TRUE(this->script.done());

    this->type(*form, QStringLiteral("Anna"), QStringLiteral("secret"));
    QTest::keyClick(form->cboUsername, Qt::Key_Return);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->cboUsername->count(), 1) << "Enter must not add the typed name to the list";
}

TYPED_TEST(LogonWindowTest, TabOrderStartsWithThePassword)
{
    const auto form = this->openWindow();
    std::vector<QWidget*> order;
    for (QWidget* widget = form->txtPassword; order.empty() || widget != form->txtPassword;
         widget = widget->nextInFocusChain()) {
        if (widget->parentWidget() == form.get() && (widget->focusPolicy() & Qt::TabFocus))
            order.push_back(widget);
    }
    // The picture buttons take the focus as the plain window's buttons do.
    if constexpr (std::is_same_v<TypeParam, FancyWindow>) {
        EXPECT_EQ(order, (std::vector<QWidget*>{form->txtPassword, form->imgNew, form->imgLogon, form->imgExit,
                                                form->cboUsername}));
    } else {
        EXPECT_EQ(order, (std::vector<QWidget*>{form->txtPassword, form->cmdNewUser, form->cmdDone,
                                                form->cmdCancel, form->cboUsername}));
    }
}

using FancyLogonTest = LogonWindowTest<FancyWindow>;

TEST_F(FancyLogonTest, HoverButtonsLightUpUnderThePointer)
{
    const auto form = openWindow();
    const std::tuple<TVorrentImage*, const QPixmap*, const QPixmap*> buttons[] = {
        {form->imgNew, &form->imgNewOn, &form->imgNewOff},
        {form->imgLogon, &form->imgLogonOn, &form->imgLogonOff},
        {form->imgExit, &form->imgExitOn, &form->imgExitOff},
    };
    for (const auto& [button, on, off] : buttons) {
        ASSERT_FALSE(on->isNull());
        EXPECT_EQ(button->pixmap().cacheKey(), off->cacheKey());
        EXPECT_EQ(button->size(), off->deviceIndependentSize().toSize());
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(button, &enter);
        EXPECT_EQ(button->pixmap().cacheKey(), on->cacheKey());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(button, &leave);
        EXPECT_EQ(button->pixmap().cacheKey(), off->cacheKey());
    }
}

// A picture button with the focus answers Space and Enter itself: Enter there does not log on.
TEST_F(FancyLogonTest, SpaceAndEnterPressThePictureButtonWithTheFocus)
{
    const auto form = openWindow();
    script.form<TfrmNewUser>([](TfrmNewUser& dialog) { dialog.cmdCancel->click(); });
    form->imgNew->setFocus();
    QTest::keyClick(form->imgNew, Qt::Key_Return);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(form->isVisible());
    form->imgExit->setFocus();
    QTest::keyClick(form->imgExit, Qt::Key_Space);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

TEST_F(FancyLogonTest, F1ShowsTheLogonHelpAndIsSwallowed)
{
    const auto form = openWindow();
    QTest::keyClick(form->txtPassword, Qt::Key_F1);
    const auto* help = form->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->txtTopic->source(), THelpWindow::topicUrl(1000));
    EXPECT_FALSE(help->txtTopic->toPlainText().isEmpty());
}

using PlainLogonTest = LogonWindowTest<PlainWindow>;

TEST_F(PlainLogonTest, TitlePictureIsCentredOnTheNarrowerWindow)
{
    const auto form = openWindow();
    EXPECT_EQ(form->imgTitle->geometry(), QRect(-1, 0, 275, 50));
}

TEST_F(PlainLogonTest, F1ShowsNoHelp)
{
    const auto form = openWindow();
    QTest::keyClick(form->txtPassword, Qt::Key_F1);
    EXPECT_EQ(form->findChild<THelpWindow*>(), nullptr);
}

}  // namespace

}  // namespace keystead::test
