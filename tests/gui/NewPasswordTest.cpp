// The new-entry dialog: what it writes for each kind of input, the refilled list, the paste of
// Paste as New Password, and a failing store leaving every entry as it was.

#include "../store/RawDatabase.h"
#include "EntryDialogTest.h"
#include "entries/NewPass.h"
#include "store/KeysteadError.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace keystead::test {
namespace {

class NewPasswordTest : public EntryDialogTest {
protected:
    NewPasswordTest()
    {
        addEntry({"Alpha", "al", "a1", "", "", ""});
        openMain();
    }

    std::unique_ptr<TfrmNewPassword> open() { return openDialog<TfrmNewPassword>(); }

    static void fillIn(TfrmNewPassword& dialog, const EntryTexts& texts)
    {
        dialog.txtDescription->setText(QString::fromStdString(texts.description));
        dialog.txtUsername->setText(QString::fromStdString(texts.username));
        dialog.txtPassword->setText(QString::fromStdString(texts.password));
        dialog.memComments->setPlainText(QString::fromStdString(texts.comments));
        dialog.chkExpire->setChecked(!texts.expiration.empty());
        dialog.txtExpire->setText(QString::fromStdString(texts.expiration));
        dialog.txtCurrent->setText(QString::fromStdString(texts.daysTillExpiration));
    }

    // Saves an entry through the dialog, which must close.
    void save(const EntryTexts& texts)
    {
        const auto dialog = open();
        fillIn(*dialog, texts);
        dialog->cmdDone->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    }
};

TEST_F(NewPasswordTest, SavesTheTrimmedEntryAndRefillsTheList)
{
    const auto dialog = open();
    fillIn(*dialog, {"  Bank of Mars \t", "  ", " s3cret ", "  first line\n\tsecond line  ", "", ""});
    dialog->move(12, 34);
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    EXPECT_EQ(stored("TotalPasswords"), "2");
    EXPECT_EQ(session.PasswordCount, 2);
    EXPECT_EQ(decrypted("System2"), "Bank of Mars");
    EXPECT_EQ(stored("Username2"), "<absent>");
    EXPECT_EQ(decrypted("Password2"), "s3cret");
    EXPECT_EQ(decrypted("Comments2"), "  first line\r\n\tsecond line  ");
    EXPECT_EQ(stored("Expiration2"), "<absent>");
    EXPECT_EQ(stored("DaysTillExpiration2"), "<absent>");
    EXPECT_EQ(decrypted("System1"), "Alpha");
    EXPECT_EQ(stored("NewPassWindowLeft"), "12");
    EXPECT_EQ(stored("NewPassWindowTop"), "34");

    ASSERT_EQ(rowCount(), 2);
    EXPECT_EQ(rowTexts(1), (QStringList{QStringLiteral("Bank of Mars"), QString(), QStringLiteral("s3cret"), QString()}));
}

TEST_F(NewPasswordTest, AnIntervalWithoutCurrentDaysIsSavedAsBoth)
{
    save({"Bank", "", "pw", "", " 30 ", "  "});
    EXPECT_EQ(stored("Expiration2"), "30");
    EXPECT_EQ(stored("DaysTillExpiration2"), "30");
    EXPECT_EQ(rowTexts(1).back(), QStringLiteral("Expires in 30 Days"));

    save({"Card", "", "pw", "", "90", " 1"});
    EXPECT_EQ(stored("Expiration3"), "90");
    EXPECT_EQ(stored("DaysTillExpiration3"), "1");
    EXPECT_EQ(rowTexts(2).back(), QStringLiteral("Expires in 1 Day"));
}

TEST_F(NewPasswordTest, OptionalFieldsLeftEmptyWriteNothing)
{
    save({"Bank", "", "pw", " \n\t\n  ", "", ""});
    const auto values = aliceValues();
    for (const char* absent : {"Username2", "Comments2", "Expiration2", "DaysTillExpiration2"})
        EXPECT_EQ(values.count(absent), 0u) << absent;
    EXPECT_EQ(values.count("System2"), 1u);
    EXPECT_EQ(values.count("Password2"), 1u);
}

TEST_F(NewPasswordTest, UsernameAndTextsBeyondLatin1AreStoredAsTyped)
{
    save({"Café ☕", " Zoë ", "p\xC3\xA4ss", "", "", ""});
    EXPECT_EQ(decrypted("System2"), "Café ☕");
    EXPECT_EQ(decrypted("Username2"), "Zoë");
    EXPECT_EQ(decrypted("Password2"), "p\xC3\xA4ss");
}

TEST_F(NewPasswordTest, PasteAsNewTakesTheClipboardOnce)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("from the clipboard"));
    session.PasteAsNewPending = true;
    const auto pasted = open();
    EXPECT_EQ(pasted->txtPassword->text(), QStringLiteral("from the clipboard"));
    EXPECT_FALSE(session.PasteAsNewPending);
    pasted->cmdCancel->click();

    const auto plain = open();
    EXPECT_TRUE(plain->txtPassword->text().isEmpty());
    EXPECT_FALSE(session.PasteAsNewPending);
}

// The clipboard is no way around the field's limits: only its first line is taken, and no more
// characters than the field holds, whether by Paste as New or by pasting into the field.
TEST_F(NewPasswordTest, PastedTextKeepsToTheFieldLimit)
{
    const QString longLine = QString(5006, QLatin1Char('x'));
    const QString emojis = QString(120, QChar(0x263A)) + QStringLiteral("\r\n");
    const std::pair<QString, QString> pastes[] = {
        {QStringLiteral("first line\r\nsecond line"), QStringLiteral("first line")},
        {QStringLiteral("one\ntwo"), QStringLiteral("one")},
        {longLine + QStringLiteral("\r\nmore"), longLine.left(100)},
        {emojis, emojis.left(100)},
    };
    for (const auto& [clipboard, taken] : pastes) {
        QGuiApplication::clipboard()->setText(clipboard);
        session.PasteAsNewPending = true;
        const auto pasted = open();
        EXPECT_EQ(pasted->txtPassword->text(), taken);
        pasted->cmdCancel->click();
    }
    const auto typed = open();
    typed->txtPassword->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("first line\r\nsecond line"));
    QTest::keyClick(typed->txtPassword, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(typed->txtPassword->text(), QStringLiteral("first line"));
    QGuiApplication::clipboard()->setText(longLine);
    QTest::keyClick(typed->txtPassword, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(typed->txtPassword->text(), QStringLiteral("first line"));
}

TEST_F(NewPasswordTest, AFailedWriteLeavesEveryEntryAsItWas)
{
    const auto before = aliceValues();
    RawDatabase(storeFile).exec("CREATE TRIGGER refuse BEFORE INSERT ON section_values WHEN NEW.ident = 'Password2' "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    const auto dialog = open();
    fillIn(*dialog, {"Bank", "bo", "pw", "notes", "30", ""});
    script.error(QStringLiteral("Failed to set data for 'Password2'"));
    dialog->cmdDone->click();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(aliceValues(), before);
    EXPECT_EQ(session.PasswordCount, 1);
    EXPECT_EQ(rowCount(), 1);

    // Once the store takes writes again, the same Done saves.
    RawDatabase(storeFile).exec("DROP TRIGGER refuse;");
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(decrypted("Password2"), "pw");
    EXPECT_EQ(rowCount(), 2);
}

// Passes everything to the main window, but its reload of the list fails after reading.
class FailingReload : public EntryEditTarget {
public:
    explicit FailingReload(TfrmMain& frmMain) : frmMain_(frmMain) {}

    const MainSettings& settings() const override { return frmMain_.settings(); }
    TDiamond& mainCipher() override { return frmMain_.mainCipher(); }
    std::optional<ListItemTexts> selectedItem() const override { return frmMain_.selectedItem(); }
    std::string notesText() const override { return frmMain_.notesText(); }
    void updateSelectedItem(const ListItemTexts& texts) override { frmMain_.updateSelectedItem(texts); }
    void setNotesText(const std::string& text) override { frmMain_.setNotesText(text); }
    void LoadPasswordList() override
    {
        frmMain_.LoadPasswordList();
        throw KeysteadError("Failed to get data for 'Alice'");
    }

private:
    TfrmMain& frmMain_;
};

TEST_F(NewPasswordTest, AFailedReloadTakesTheNewEntryBack)
{
    const auto before = aliceValues();
    FailingReload target(*frmMain);
    TfrmNewPassword dialog(session, frmMain->store(), target, nullptr);
    dialog.show();
    fillIn(dialog, {"Bank", "", "pw", "", "", ""});
    script.error(QStringLiteral("Failed to get data for 'Alice'"));
    dialog.cmdDone->click();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(aliceValues(), before);
    EXPECT_EQ(session.PasswordCount, 1);
    EXPECT_EQ(rowCount(), 1) << "the list shows what the store kept";
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("1 password in list"));
}

}  // namespace
}  // namespace keystead::test
