// The edit dialog: opening with the selected entry however the list shows it, rewriting it in
// place, the row and the notes pane updated without a reload, and a failing store leaving the
// entry as it was.

#include "../store/RawDatabase.h"
#include "EntryDialogTest.h"
#include "entries/EditPass.h"
#include "entries/EntryEditTarget.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace keystead::test {
namespace {

class EditPasswordTest : public EntryDialogTest {
protected:
    EditPasswordTest()
    {
        addEntry({"Bank", "ann", "b4nk", "line one\r\n  line two ", "30", "12"});
        addEntry({"Mail", "", "m41l", "", "", ""});
    }

    // Shows the list as the settings say and selects the row of the caption shown.
    void openMainShowing(bool passwords, bool system, bool comments)
    {
        write("ShowPasswords", passwords ? "1" : "0");
        write("ShowSystem", system ? "1" : "0");
        write("ShowComments", comments ? "1" : "0");
        openMain();
    }

    std::unique_ptr<TfrmEditPassword> openOn(const QString& caption)
    {
        selectRow(caption);
        return openDialog<TfrmEditPassword>();
    }

    ListItemTexts selected() const { return frmMain->selectedItem().value_or(ListItemTexts{}); }

    static void expectFields(const TfrmEditPassword& dialog, const QStringList& texts)
    {
        EXPECT_EQ(dialog.txtDescription->text(), texts[0]);
        EXPECT_EQ(dialog.txtUsername->text(), texts[1]);
        EXPECT_EQ(dialog.txtPassword->text(), texts[2]);
        EXPECT_EQ(dialog.memComments->toPlainText(), texts[3]);
        EXPECT_EQ(dialog.txtExpire->text(), texts[4]);
        EXPECT_EQ(dialog.txtCurrent->text(), texts[5]);
        EXPECT_EQ(dialog.chkExpire->isChecked(), !texts[4].isEmpty());
        EXPECT_EQ(dialog.txtExpire->isEnabled(), !texts[4].isEmpty());
    }

    const QStringList bankFields{QStringLiteral("Bank"),      QStringLiteral("ann"), QStringLiteral("b4nk"),
                                 QStringLiteral("line one\n  line two "), QStringLiteral("30"), QStringLiteral("12")};
};

TEST_F(EditPasswordTest, OpensWithTheSelectedEntryShownPlain)
{
    openMainShowing(true, false, false);
    expectFields(*openOn(QStringLiteral("Bank")), bankFields);
    expectFields(*openOn(QStringLiteral("Mail")),
                 {QStringLiteral("Mail"), QString(), QStringLiteral("m41l"), QString(), QString(), QString()});
}

TEST_F(EditPasswordTest, OpensDecryptedWhileTheListShowsCipherStrings)
{
    openMainShowing(false, false, false);
    expectFields(*openOn(QString::fromStdString(stored("System1"))), bankFields);
    EXPECT_EQ(frmMain->mainCipher().Key(), "pw");

    openMainShowing(false, true, true);
    expectFields(*openOn(QStringLiteral("Bank")), bankFields);
}

TEST_F(EditPasswordTest, SavesInPlaceAndShowsThePlainTexts)
{
    openMainShowing(true, true, true);
    const auto dialog = openOn(QStringLiteral("Bank"));
    dialog->txtDescription->setText(QStringLiteral("  Zebra Bank "));
    dialog->txtUsername->setText(QStringLiteral(" bob "));
    dialog->txtPassword->setText(QStringLiteral("\tn3w "));
    dialog->txtCurrent->setText(QStringLiteral(" 1 "));
    dialog->memComments->setPlainText(QStringLiteral("  kept  \nas typed "));
    dialog->move(21, 43);
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    EXPECT_EQ(stored("TotalPasswords"), "2");
    EXPECT_EQ(session.PasswordCount, 2);
    EXPECT_EQ(decrypted("System1"), "Zebra Bank");
    EXPECT_EQ(decrypted("Username1"), "bob");
    EXPECT_EQ(decrypted("Password1"), "n3w");
    EXPECT_EQ(decrypted("Comments1"), "  kept  \r\nas typed ");
    EXPECT_EQ(stored("Expiration1"), "30");
    EXPECT_EQ(stored("DaysTillExpiration1"), "1");
    EXPECT_EQ(decrypted("System2"), "Mail");
    EXPECT_EQ(stored("EditPassWindowLeft"), "21");
    EXPECT_EQ(stored("EditPassWindowTop"), "43");

    // The row moved to its sorted place and stays selected.
    EXPECT_EQ(frmMain->lvPasswords->selectedRow(), 1);
    EXPECT_EQ(rowTexts(1), (QStringList{QStringLiteral("Zebra Bank"), QStringLiteral("bob"), QStringLiteral("n3w"),
                                        QStringLiteral("Expires in 1 Day")}));
    EXPECT_EQ(selected().entryNumber, 1);
    EXPECT_EQ(frmMain->notesText(), "  kept  \r\nas typed ");

    const auto again = openOn(QStringLiteral("Zebra Bank"));
    again->txtCurrent->setText(QStringLiteral("12"));
    again->cmdDone->click();
    EXPECT_EQ(rowTexts(1).back(), QStringLiteral("Expires in 12 Days"));
}

TEST_F(EditPasswordTest, WithPasswordsHiddenTheRowShowsTheNewCipherStrings)
{
    openMainShowing(false, false, false);
    const auto dialog = openOn(QString::fromStdString(stored("System1")));
    dialog->txtDescription->setText(QStringLiteral(" New Bank "));
    dialog->memComments->setPlainText(QStringLiteral("new notes"));
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());

    const ListItemTexts row = selected();
    EXPECT_EQ(row.caption, stored("System1"));
    EXPECT_EQ(diamond.DecryptCipherString(row.caption), "New Bank");
    EXPECT_EQ(row.username, stored("Username1"));
    EXPECT_EQ(row.password, stored("Password1"));
    EXPECT_EQ(diamond.DecryptCipherString(row.password), "b4nk");
    EXPECT_EQ(row.expiration, "Expires in 12 Days");
    EXPECT_EQ(frmMain->notesText(), stored("Comments1"));
    EXPECT_EQ(decrypted("Comments1"), "new notes");
}

TEST_F(EditPasswordTest, WithPasswordsHiddenShowSystemAndShowCommentsKeepThemPlain)
{
    openMainShowing(false, true, true);
    const auto dialog = openOn(QStringLiteral("Bank"));
    dialog->txtDescription->setText(QStringLiteral("Apple Bank"));
    dialog->memComments->setPlainText(QStringLiteral("plain\nnotes"));
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());

    const ListItemTexts row = selected();
    EXPECT_EQ(row.caption, "Apple Bank");
    EXPECT_EQ(row.username, stored("Username1"));
    EXPECT_EQ(diamond.DecryptCipherString(row.username), "ann");
    EXPECT_EQ(frmMain->notesText(), "plain\r\nnotes");
}

TEST_F(EditPasswordTest, UncheckingTheBoxDeletesBothExpirationValues)
{
    openMainShowing(true, true, true);
    const auto dialog = openOn(QStringLiteral("Bank"));
    dialog->chkExpire->setChecked(false);
    EXPECT_TRUE(dialog->txtExpire->text().isEmpty());
    EXPECT_TRUE(dialog->txtCurrent->text().isEmpty());
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(stored("Expiration1"), "<absent>");
    EXPECT_EQ(stored("DaysTillExpiration1"), "<absent>");
    EXPECT_EQ(selected().expiration, "");
    EXPECT_EQ(rowTexts(0).back(), QString());
}

TEST_F(EditPasswordTest, AnEmptyIntervalAndBlankCommentsAndUsernameAreDeleted)
{
    openMainShowing(true, true, true);
    const auto dialog = openOn(QStringLiteral("Bank"));
    dialog->txtUsername->setText(QStringLiteral("  "));
    dialog->memComments->setPlainText(QStringLiteral("  \n\t\n "));
    dialog->txtCurrent->clear();
    dialog->txtExpire->setText(QStringLiteral("7"));
    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(stored("Username1"), "<absent>");
    EXPECT_EQ(stored("Comments1"), "<absent>");
    EXPECT_EQ(stored("Expiration1"), "7");
    EXPECT_EQ(stored("DaysTillExpiration1"), "7");
    EXPECT_EQ(selected().username, "");
    EXPECT_EQ(frmMain->notesText(), "");
}

TEST_F(EditPasswordTest, CommentsLongerThanTheLimitOpenWholeAndOnlyShrink)
{
    const std::string longNotes(2100, 'n');
    write("Comments2", diamond.EncryptToCipherString(longNotes));
    openMainShowing(true, true, true);
    const auto dialog = openOn(QStringLiteral("Mail"));
    QPlainTextEdit& comments = *dialog->memComments;
    EXPECT_EQ(comments.toPlainText().size(), 2100);
    comments.moveCursor(QTextCursor::End);
    QTest::keyClick(&comments, Qt::Key_X);
    EXPECT_EQ(comments.toPlainText().size(), 2100);
    QTest::keyClick(&comments, Qt::Key_Backspace);
    QTest::keyClick(&comments, Qt::Key_X);
    EXPECT_EQ(comments.toPlainText().size(), 2099);
    EXPECT_FALSE(comments.toPlainText().contains(QLatin1Char('x')));
    dialog->cmdDone->click();
    EXPECT_EQ(decrypted("Comments2"), std::string(2099, 'n'));
}

TEST_F(EditPasswordTest, WithoutASelectedRowTheDialogCanOnlyBeCancelled)
{
    openMainShowing(true, true, true);
    frmMain->lvPasswords->clearSelection();
    ASSERT_FALSE(frmMain->selectedItem());
    const auto before = valuesWithout("EditPass");
    const auto dialog = openDialog<TfrmEditPassword>();
    expectFields(*dialog, {QString(), QString(), QString(), QString(), QString(), QString()});
    EXPECT_FALSE(dialog->cmdDone->isEnabled());
    dialog->txtDescription->setText(QStringLiteral("Bank"));
    dialog->txtPassword->setText(QStringLiteral("pw"));
    QTest::keyClick(dialog->txtPassword, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    dialog->cmdCancel->click();
    EXPECT_EQ(valuesWithout("EditPass"), before);
}

TEST_F(EditPasswordTest, AFailedRewriteLeavesTheEntryAsItWas)
{
    openMainShowing(true, true, true);
    const auto before = aliceValues();
    RawDatabase(storeFile).exec("CREATE TRIGGER refuse BEFORE DELETE ON section_values WHEN OLD.ident = 'Username1' "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    const auto dialog = openOn(QStringLiteral("Bank"));
    dialog->txtDescription->setText(QStringLiteral("Changed"));
    dialog->txtUsername->clear();
    dialog->chkExpire->setChecked(false);
    script.error(QStringLiteral("Failed to set data for 'Username1'"));
    dialog->cmdDone->click();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(aliceValues(), before);
    EXPECT_EQ(rowTexts(0), (QStringList{QStringLiteral("Bank"), QStringLiteral("ann"), QStringLiteral("b4nk"),
                                        QStringLiteral("Expires in 12 Days")}));
    EXPECT_EQ(frmMain->notesText(), "line one\r\n  line two ");
}

// Another instance renumbered the entries while the dialog was open. Nothing is written then, but
// what was typed stays: the list is reloaded, and Done once more saves it on the entry, now under
// its new number.
TEST_F(EditPasswordTest, AnEntryRenumberedElsewhereKeepsTheDialogAndSavesOnRetry)
{
    addEntry({"Shop", "", "sh0p", "", "", ""});
    openMain();
    const auto dialog = openOn(QStringLiteral("Mail"));
    dialog->txtPassword->setText(QStringLiteral("typed"));
    dialog->memComments->setPlainText(QStringLiteral("notes typed at length"));
    {
        const auto store = openStore();
        SessionState other = session;
        EntryStore entries(*store, other);
        entries.remove(1, entries.read(1));   // Bank goes, Mail becomes entry 1
    }
    const auto before = valuesWithout("EditPass");
    script.warning(QStringLiteral(
        "The password list was changed in another window. It has been reloaded; please try again."));
    dialog->cmdDone->click();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->txtPassword->text(), QStringLiteral("typed"));
    EXPECT_EQ(dialog->memComments->toPlainText(), QStringLiteral("notes typed at length"));
    EXPECT_EQ(valuesWithout("EditPass"), before);
    EXPECT_EQ(rowCount(), 2);

    dialog->cmdDone->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(decrypted("System1"), "Mail");
    EXPECT_EQ(decrypted("Password1"), "typed");
    EXPECT_EQ(decrypted("Comments1"), "notes typed at length");
    EXPECT_EQ(decrypted("Password2"), "sh0p");
}

// A secret kept in the comments comes back byte for byte: a no-break space is no blank, a line
// or paragraph separator and a lone CR are no CR LF.
TEST_F(EditPasswordTest, CommentsComeBackAsTheyWereStored)
{
    const std::string secret = "a\xC2\xA0" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d\re\r\nf";
    addEntry({"Vault", "", "v", secret, "", ""});
    openMain();
    openOn(QStringLiteral("Vault"))->cmdDone->click();
    EXPECT_EQ(decrypted("Comments3"), secret);

    // Changed comments keep what the box holds; its paragraph breaks are line breaks.
    const auto dialog = openOn(QStringLiteral("Vault"));
    dialog->memComments->moveCursor(QTextCursor::End);
    dialog->memComments->insertPlainText(QStringLiteral("\u00A0!"));
    dialog->cmdDone->click();
    EXPECT_EQ(decrypted("Comments3"), "a\xC2\xA0" "b\xE2\x80\xA8" "c\r\nd\r\ne\r\nf\xC2\xA0!");
}

}  // namespace
}  // namespace keystead::test
