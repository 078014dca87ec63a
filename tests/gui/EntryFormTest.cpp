// What the new-entry and the edit dialog share: layout, limits, tab order and help contexts, the
// expiration box, the checks of Done in their order with the focus after each, the remembered
// position, F1 and Enter.

#include "EntryDialogTest.h"
#include "entries/EditPass.h"
#include "entries/NewPass.h"
#include "platform/HelpWindow.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

namespace keystead::test {
namespace {

template <typename Form>
struct DialogKind;

template <>
struct DialogKind<TfrmNewPassword> {
    static constexpr const char* caption = "Add New Password";
    static constexpr const char* positionName = "NewPass";
    static constexpr int helpTopic = 4000;
    static constexpr const char* noDescription = "You must enter a system name.";
};

template <>
struct DialogKind<TfrmEditPassword> {
    static constexpr const char* caption = "Edit Password";
    static constexpr const char* positionName = "EditPass";
    static constexpr int helpTopic = 5000;
    static constexpr const char* noDescription = "You must enter a description.";
};

const QString kNoPassword = QStringLiteral("You must enter a password.");
const QString kNoInterval = QStringLiteral("You must specify the expiration interval.");
const QString kBadInterval = QStringLiteral("The expiration interval must be a number greater than zero.");
const QString kBadDaysLeft = QStringLiteral("The current days till expiration must be a number greater than zero.");

struct Typed {
    QString description;
    QString password;
    bool expires = false;
    QString interval = {};
    QString current = {};
};

// Both dialogs open over Alice's main window with the entry "Bank" selected, which the edit
// dialog opens with.
template <typename Form>
class EntryFormTest : public EntryDialogTest {
protected:
    using Kind = DialogKind<Form>;

    EntryFormTest()
    {
        addEntry({"Bank", "ann", "b4nk", "", "", ""});
        openMain();
        selectRow(QStringLiteral("Bank"));
    }

    std::unique_ptr<Form> open() { return openDialog<Form>(); }

    // Types the texts, clicks Done, and checks the one message, the focus after it, and that
    // nothing was written.
    void expectRefusal(Form& dialog, const Typed& typed, const QString& message, QWidget* focus)
    {
        const auto before = aliceValues();
        dialog.txtDescription->setText(typed.description);
        dialog.txtPassword->setText(typed.password);
        dialog.chkExpire->setChecked(typed.expires);
        dialog.txtExpire->setText(typed.interval);
        dialog.txtCurrent->setText(typed.current);
        dialog.cmdCancel->setFocus();
        script.warning(message);
        dialog.cmdDone->click();
        EXPECT_TRUE(script.done()) << message.toStdString();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), focus) << message.toStdString();
        EXPECT_EQ(script.shown().back().owner, &dialog);
        EXPECT_EQ(aliceValues(), before);
    }

    static int helpContext(const QObject* control) { return control->property("helpContext").toInt(); }
};

using Dialogs = testing::Types<TfrmNewPassword, TfrmEditPassword>;
TYPED_TEST_SUITE(EntryFormTest, Dialogs);

TYPED_TEST(EntryFormTest, LayoutFollowsTheFixedPlaces)
{
    const auto dialog = this->open();
    EXPECT_EQ(dialog->windowTitle(), QLatin1String(TestFixture::Kind::caption));
    EXPECT_EQ(dialog->size(), QSize(329, 311));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    EXPECT_EQ(dialog->txtDescription->geometry(), QRect(104, 16, 209, 21));
    EXPECT_EQ(dialog->txtUsername->geometry(), QRect(104, 40, 209, 21));
    EXPECT_EQ(dialog->txtPassword->geometry(), QRect(104, 64, 209, 21));
    EXPECT_EQ(dialog->chkExpire->pos(), QPoint(16, 106));
    // Its caption ends before the interval box, whatever the font.
    EXPECT_LT(dialog->chkExpire->geometry().right(), 176);
    EXPECT_LE(dialog->chkExpire->sizeHint().width(), dialog->chkExpire->width());
    EXPECT_EQ(dialog->txtExpire->geometry(), QRect(176, 104, 33, 21));
    EXPECT_EQ(dialog->txtCurrent->geometry(), QRect(176, 133, 33, 21));
    EXPECT_EQ(dialog->memComments->geometry(), QRect(16, 192, 297, 65));
    EXPECT_EQ(dialog->cmdDone->geometry(), QRect(144, 280, 81, 25));
    EXPECT_EQ(dialog->cmdCancel->geometry(), QRect(232, 280, 81, 25));
    EXPECT_EQ(dialog->memComments->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const auto* current = dialog->template findChild<QLabel*>(QStringLiteral("lblCurrent"));
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(), QStringLiteral("Current days till expiration:"));
    EXPECT_EQ(current->geometry().right(), 40 + 129 - 1);
    EXPECT_TRUE(current->alignment() & Qt::AlignRight);

    EXPECT_EQ(dialog->chkExpire->text(), QStringLiteral("This password expires every"));
    EXPECT_EQ(dialog->cmdDone->text(), QStringLiteral("&Done"));
    EXPECT_EQ(dialog->cmdCancel->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(dialog->cmdDone->isDefault());
    EXPECT_EQ(dialog->txtPassword->echoMode(), QLineEdit::Normal);
}

TYPED_TEST(EntryFormTest, EveryControlAndLabelCarriesItsHelpContext)
{
    const auto dialog = this->open();
    const std::pair<const QWidget*, int> controls[] = {
        {dialog->txtDescription, 4001}, {dialog->txtUsername, 4002}, {dialog->txtPassword, 4003},
        {dialog->chkExpire, 4005},      {dialog->txtExpire, 4006},   {dialog->txtCurrent, 4007},
        {dialog->memComments, 4008}};
    for (const auto& [control, context] : controls)
        EXPECT_EQ(this->helpContext(control), context) << control->objectName().toStdString();

    const std::tuple<const char*, const char*, QPoint, int> labels[] = {
        {"lblDescription", "Description:", {16, 18}, 4001}, {"lblUsername", "Username:", {16, 42}, 4002},
        {"lblPassword", "Password:", {16, 66}, 4003},       {"lblDays", "days.", {216, 107}, 4006},
        {"lblCurrent", "Current days till expiration:", {}, 4007},
        {"lblComments", "Comments", {16, 176}, 4008}};
    for (const auto& [name, text, place, context] : labels) {
        const auto* label = dialog->template findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), QLatin1String(text));
        EXPECT_EQ(this->helpContext(label), context) << name;
        if (!place.isNull()) {
            EXPECT_EQ(label->pos(), place) << name;
        }
    }
}

TYPED_TEST(EntryFormTest, TabVisitsTheFieldsThenTheButtons)
{
    const auto dialog = this->open();
    dialog->chkExpire->setChecked(true);
    dialog->txtDescription->setFocus();
    const QWidget* const order[] = {dialog->txtUsername, dialog->txtPassword, dialog->chkExpire,
                                    dialog->txtExpire,   dialog->txtCurrent,  dialog->memComments,
                                    dialog->cmdDone,     dialog->cmdCancel,   dialog->txtDescription};
    for (const QWidget* next : order) {
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog->focusWidget(), next) << next->objectName().toStdString();
    }
}

TYPED_TEST(EntryFormTest, BoxesTakeAtMostTheirNumberOfVisibleCharacters)
{
    const auto dialog = this->open();
    dialog->chkExpire->setChecked(true);
    const std::tuple<QLineEdit*, int> limits[] = {{dialog->txtDescription, 100}, {dialog->txtUsername, 100},
                                                  {dialog->txtPassword, 100},    {dialog->txtExpire, 3},
                                                  {dialog->txtCurrent, 3}};
    for (const auto& [box, limit] : limits) {
        box->clear();
        QTest::keyClicks(box, QString(limit + 4, QLatin1Char('7')));
        EXPECT_EQ(box->text().size(), limit) << box->objectName().toStdString();
    }
    // An emoji of two UTF-16 units counts once.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x94\x91");
    dialog->txtDescription->clear();
    for (int i = 0; i < 101; ++i)
        dialog->txtDescription->insert(emoji);
    EXPECT_EQ(dialog->txtDescription->text(), emoji.repeated(100));
}

TYPED_TEST(EntryFormTest, CommentsTakeAtMost2000Characters)
{
    const auto dialog = this->open();
    QPlainTextEdit& comments = *dialog->memComments;
    comments.clear();
    comments.insertPlainText(QString(1000, QLatin1Char('a')) + QLatin1Char('\n') + QString(995, QLatin1Char('b')));
    QTest::keyClicks(&comments, QStringLiteral("cdefgh"));
    EXPECT_EQ(comments.toPlainText().size(), 2000);
    EXPECT_TRUE(comments.toPlainText().endsWith(QStringLiteral("bcdef")));

    // A paste is cut where the limit is reached, wherever it lands.
    QTextCursor cursor = comments.textCursor();
    cursor.setPosition(3);
    comments.setTextCursor(cursor);
    QTest::keyClick(&comments, Qt::Key_Delete);
    QTest::keyClick(&comments, Qt::Key_Delete);
    comments.insertPlainText(QStringLiteral("XYZ"));
    EXPECT_EQ(comments.toPlainText().size(), 2000);
    EXPECT_TRUE(comments.toPlainText().startsWith(QStringLiteral("aaaXYaaa")));

    // Line breaks count one each; an emoji counts once.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x94\x91");
    comments.clear();
    comments.insertPlainText(QString(1997, QLatin1Char('\n')) + emoji + emoji + emoji + emoji);
    EXPECT_EQ(comments.toPlainText(), QString(1997, QLatin1Char('\n')) + emoji.repeated(3));
}

TYPED_TEST(EntryFormTest, TheExpirationBoxEnablesAndEmptiesItsFields)
{
    const auto dialog = this->open();
    const QColor face = dialog->palette().color(QPalette::Button);
    const QColor window = dialog->palette().color(QPalette::Base);
    for (const QLineEdit* box : {dialog->txtExpire, dialog->txtCurrent}) {
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->palette().color(QPalette::Base), face);
    }
    EXPECT_FALSE(dialog->chkExpire->isChecked());

    QTest::mouseClick(dialog->chkExpire, Qt::LeftButton, {}, QPoint(6, dialog->chkExpire->height() / 2));
    ASSERT_TRUE(dialog->chkExpire->isChecked());
    for (QLineEdit* box : {dialog->txtExpire, dialog->txtCurrent}) {
        EXPECT_TRUE(box->isEnabled());
        EXPECT_EQ(box->palette().color(QPalette::Base), window);
        QTest::keyClicks(box, QStringLiteral("45"));
    }

    dialog->chkExpire->setChecked(false);
    for (const QLineEdit* box : {dialog->txtExpire, dialog->txtCurrent}) {
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->palette().color(QPalette::Base), face);
        EXPECT_TRUE(box->text().isEmpty());
    }
}

TYPED_TEST(EntryFormTest, EmptyFieldsAreToldInTheirOrder)
{
    const auto dialog = this->open();
    const QString first = QLatin1String(TestFixture::Kind::noDescription);
    const QString blank = QStringLiteral(" \t\r\n ");
    const QString pw = QStringLiteral("pw");
    this->expectRefusal(*dialog, {QString(), QString()}, first, dialog->txtDescription);
    this->expectRefusal(*dialog, {blank, pw}, first, dialog->txtDescription);
    this->expectRefusal(*dialog, {QString(), pw, true, QStringLiteral("0")}, first, dialog->txtDescription);
    this->expectRefusal(*dialog, {QStringLiteral("Bank"), blank, true}, kNoPassword, dialog->txtPassword);
    this->expectRefusal(*dialog, {QStringLiteral("Bank"), pw, true}, kNoInterval, dialog->txtExpire);
    this->expectRefusal(*dialog, {QStringLiteral("Bank"), pw, true, QStringLiteral("  "), QStringLiteral("x")},
                        kNoInterval, dialog->txtExpire);
}

TYPED_TEST(EntryFormTest, ExpirationFiguresMustBeWholeNumbersAboveZero)
{
    const auto dialog = this->open();
    const QString bank = QStringLiteral("Bank");
    const QString pw = QStringLiteral("pw");
    for (const char* interval : {"0", "-5", "3a", " 0 ", "1.5", "x", "-0"})
        this->expectRefusal(*dialog, {bank, pw, true, QLatin1String(interval), QStringLiteral("5")}, kBadInterval,
                            dialog->txtExpire);
    for (const char* current : {"0", "-1", "2b", "+"})
        this->expectRefusal(*dialog, {bank, pw, true, QStringLiteral("30"), QLatin1String(current)}, kBadDaysLeft,
                            dialog->txtCurrent);
}

TYPED_TEST(EntryFormTest, ASavedPositionIsPulledOntoTheScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const std::string name = TestFixture::Kind::positionName;
    this->write(name + "WindowLeft", "5000");
    this->write(name + "WindowTop", "-40");
    EXPECT_EQ(this->open()->pos(), QPoint(screen.width() - 329, 0));

    this->write(name + "WindowLeft", "-3");
    this->write(name + "WindowTop", std::to_string(screen.height() - 10));
    EXPECT_EQ(this->open()->pos(), QPoint(0, screen.height() - 311));

    this->write(name + "WindowLeft", "25");
    this->write(name + "WindowTop", "35");
    EXPECT_EQ(this->open()->pos(), QPoint(25, 35));

    // Positions near the ends of the integer range must not overflow on the way.
    this->write(name + "WindowLeft", "2147483600");
    this->write(name + "WindowTop", "-2147483600");
    EXPECT_EQ(this->open()->pos(), QPoint(screen.width() - 329, 0));
}

TYPED_TEST(EntryFormTest, ClosingWithoutSavingStoresOnlyThePosition)
{
    const std::string name = TestFixture::Kind::positionName;
    const auto before = this->aliceValues();
    const int count = this->session.PasswordCount;

    const auto cancelled = this->open();
    cancelled->txtDescription->setText(QStringLiteral("Changed"));
    cancelled->move(40, 50);
    cancelled->cmdCancel->click();
    EXPECT_FALSE(cancelled->isVisible());
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
    EXPECT_EQ(this->stored(name + "WindowLeft"), "40");
    EXPECT_EQ(this->stored(name + "WindowTop"), "50");
    EXPECT_EQ(this->valuesWithout(name), before);

    const auto closed = this->open();
    closed->move(60, 70);
    closed->close();
    EXPECT_FALSE(closed->isVisible());
    EXPECT_EQ(this->stored(name + "WindowLeft"), "60");
    EXPECT_EQ(this->stored(name + "WindowTop"), "70");

    // Escape is no way out: the dialog stays open.
    const auto escaped = this->open();
    QTest::keyClick(escaped->txtPassword, Qt::Key_Escape);
    EXPECT_TRUE(escaped->isVisible());
    escaped->cmdCancel->click();

    EXPECT_EQ(this->valuesWithout(name), before);
    EXPECT_EQ(this->session.PasswordCount, count);
    EXPECT_EQ(this->rowTexts(0).front(), QStringLiteral("Bank"));
}

TYPED_TEST(EntryFormTest, F1ShowsTheDialogsHelpTopic)
{
    const auto dialog = this->open();
    QTest::keyClick(dialog->memComments, Qt::Key_F1);
    const auto* help = dialog->template findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->txtTopic->source(), THelpWindow::topicUrl(TestFixture::Kind::helpTopic));
    EXPECT_FALSE(help->txtTopic->toPlainText().contains(QStringLiteral("not available")));
}

TYPED_TEST(EntryFormTest, EnterRunsDoneButBreaksTheLineInTheComments)
{
    const auto dialog = this->open();
    dialog->txtDescription->clear();
    const QString comments = dialog->memComments->toPlainText();
    QTest::keyClick(dialog->memComments, Qt::Key_Return);
    EXPECT_EQ(dialog->memComments->toPlainText().size(), comments.size() + 1);

    for (QWidget* control : {static_cast<QWidget*>(dialog->txtPassword), static_cast<QWidget*>(dialog->chkExpire)}) {
        this->script.warning(QLatin1String(TestFixture::Kind::noDescription));
        QTest::keyClick(control, Qt::Key_Return);
        EXPECT_TRUE(this->script.done()) << control->objectName().toStdString();
        EXPECT_TRUE(dialog->isVisible());
    }
}

}  // namespace
}  // namespace keystead::test
