// The main window's entry commands with a real store: delete with renumbering and reselection,
// delete all, cut, copy, copy username, paste as new, rename in place, the protection prompt,
// the enabling rules, and a delete that fails halfway.

#include "../store/RawDatabase.h"
#include "EntryDialogTest.h"
#include "desktop/ProtectList.h"
#include "entries/EditPass.h"
#include "entries/NewPass.h"
#include "mainwindow/PasswordListModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <vector>

namespace keystead::test {
namespace {

const QString kDeleteOne = QStringLiteral("Are you sure you want to delete this password?");
const QString kDeleteAll = QStringLiteral("Are you sure you want to delete all passwords?");
const QString kChangedElsewhere =
    QStringLiteral("The password list was changed in another window. It has been reloaded; please try again.");
const QString kGoneElsewhere =
    QStringLiteral("This password was changed or deleted in another window, and nothing was saved. The list has "
                   "been reloaded; copy what you typed before you close this window.");

class EntryCommandsTest : public EntryDialogTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "bo", "p1", "bank notes", "30", "12"});
        addEntry({"Mail", "", "p2", "", "", ""});
        addEntry({"Shop", "sam", "p3", "", "10", "4"});
        addEntry({"Alpha", "al", "p4", "alpha notes", "", ""});
        openMain();
        frmMain->show();
        QApplication::setActiveWindow(frmMain.get());
    }

    void focusList() const { frmMain->lvPasswords->details().setFocus(); }
    QString clipboard() const { return QGuiApplication::clipboard()->text(); }
    QString caption(int row) const { return rowTexts(row).front(); }

    void hidePasswordsBehindThePrompt()
    {
        write("ShowPasswords", "0");
        write("ProtectToggle", "1");
        openMain();
        frmMain->show();
    }

    // What a second running instance does: deletes the entry with this description.
    void deleteElsewhere(const std::string& description) const
    {
        const auto store = openStore();
        SessionState other = session;
        EntryStore entries(*store, other);
        for (int n = 1; n <= entries.count(); ++n)
            if (diamond.DecryptCipherString(entries.read(n).system) == description) {
                entries.remove(n, entries.read(n));
                return;
            }
        FAIL() << description;
    }

    QStringList captions() const
    {
        QStringList texts;
        for (int row = 0; row < rowCount(); ++row)
            texts << caption(row);
        return texts;
    }

    static void passPrompt(TfrmProtectList& prompt)
    {
        prompt.txtPassword->setText(QStringLiteral("pw"));
        prompt.cmdDone->click();
    }
};

TEST_F(EntryCommandsTest, DeleteMovesTheEntriesAboveDownValueByValue)
{
    selectRow(QStringLiteral("Mail"));
    script.question(kDeleteOne, MessageResult::Yes);
    frmMain->mnuEditDeleteClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(stored("TotalPasswords"), "3");
    EXPECT_EQ(decrypted("System2"), "Shop");
    EXPECT_EQ(decrypted("Username2"), "sam");
    EXPECT_EQ(stored("Expiration2"), "10");
    EXPECT_EQ(stored("DaysTillExpiration2"), "4");
    // Shop had no comments: none appear at its new number.
    EXPECT_EQ(stored("Comments2"), "<absent>");
    EXPECT_EQ(decrypted("System3"), "Alpha");
    EXPECT_EQ(decrypted("Comments3"), "alpha notes");
    for (const char* base : {"System", "Username", "Password", "Comments", "Expiration", "DaysTillExpiration"})
        EXPECT_EQ(stored(std::string(base) + "4"), "<absent>") << base;
    EXPECT_EQ(session.PasswordCount, 3);
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("3 passwords in list"));
}

TEST_F(EntryCommandsTest, DeleteReselectsTheNeighbouringRow)
{
    write("DeleteWarning", "0");
    openMain();
    // Displayed: Alpha, Bank, Mail, Shop. The first row gives way to the second...
    selectRow(QStringLiteral("Alpha"));
    frmMain->mnuEditDeleteClick();
    EXPECT_EQ(QString::fromStdString(frmMain->selectedItem()->caption), QStringLiteral("Bank"));
    // ...any other row to the one just above it.
    selectRow(QStringLiteral("Shop"));
    frmMain->mnuEditDeleteClick();
    EXPECT_EQ(QString::fromStdString(frmMain->selectedItem()->caption), QStringLiteral("Mail"));
    EXPECT_EQ(rowCount(), 2);
    EXPECT_TRUE(script.done());
}

TEST_F(EntryCommandsTest, DeletingTheOnlyEntryLeavesAnEmptyList)
{
    script.question(kDeleteAll, MessageResult::Yes);
    frmMain->mnuEditDeleteAllClick();
    addEntry({"Only", "", "p", "", "", ""});
    openMain();
    selectRow(QStringLiteral("Only"));
    script.question(kDeleteOne, MessageResult::Yes);
    frmMain->mnuEditDeleteClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(stored("TotalPasswords"), "0");
    EXPECT_EQ(rowCount(), 0);
    EXPECT_FALSE(frmMain->tbDelete->isEnabled());
}

TEST_F(EntryCommandsTest, NoToTheDeleteQuestionKeepsTheEntry)
{
    selectRow(QStringLiteral("Bank"));
    script.question(kDeleteOne, MessageResult::No);
    frmMain->mnuEditDeleteClick();
    EXPECT_EQ(stored("TotalPasswords"), "4");
    EXPECT_TRUE(script.done());
}

TEST_F(EntryCommandsTest, DeleteAllAsksWithNoAsTheDefault)
{
    script.question(kDeleteAll, MessageResult::No);
    frmMain->mnuEditDeleteAllClick();
    ASSERT_TRUE(script.done());
    EXPECT_EQ(script.shown().back().defaultButton, MessageResult::No);
    EXPECT_EQ(stored("TotalPasswords"), "4");

    write("DeleteWarning", "0");
    openMain();
    script.question(kDeleteAll, MessageResult::Yes);
    frmMain->mnuEditDeleteAllClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(stored("TotalPasswords"), "0");
    EXPECT_EQ(stored("System1"), "<absent>");
    EXPECT_EQ(stored("Comments4"), "<absent>");
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("0 passwords in list"));
}

TEST_F(EntryCommandsTest, ADeleteThatFailsHalfwayLeavesEveryEntry)
{
    const auto before = aliceValues();
    RawDatabase(storeFile).exec("CREATE TRIGGER refuse BEFORE DELETE ON section_values WHEN OLD.ident = 'Comments4' "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    selectRow(QStringLiteral("Bank"));
    script.question(kDeleteOne, MessageResult::Yes);
    script.error(QStringLiteral("Failed to set data for 'Comments4'"));
    frmMain->mnuEditDeleteClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(aliceValues(), before);
    EXPECT_EQ(session.PasswordCount, 4);
    EXPECT_EQ(rowCount(), 4);
    for (const char* n : {"1", "2", "3", "4"})
        EXPECT_FALSE(decrypted(std::string("Password") + n).empty()) << n;
}

// Each row names its entry by number. When another instance has renumbered the entries, a command
// on a row must not reach the entry that now has the row's number.
TEST_F(EntryCommandsTest, CommandsOnARowAnotherInstanceRenumberedChangeNothingAndReload)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    deleteElsewhere("Bank");   // Mail becomes entry 1, Shop entry 2
    selectRow(QStringLiteral("Mail"));
    focusList();
    script.warning(kChangedElsewhere);
    frmMain->mnuEditCopyClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(clipboard(), QStringLiteral("before"));
    EXPECT_EQ(captions(), (QStringList{"Alpha", "Mail", "Shop"}));

    deleteElsewhere("Mail");   // Shop becomes entry 1
    selectRow(QStringLiteral("Mail"));
    script.question(kDeleteOne, MessageResult::Yes);
    script.warning(kChangedElsewhere);
    frmMain->mnuEditDeleteClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(decrypted("System1"), "Shop");
    EXPECT_EQ(captions(), (QStringList{"Alpha", "Shop"}));

    deleteElsewhere("Shop");   // Alpha becomes entry 1
    selectRow(QStringLiteral("Shop"));
    script.form<TfrmEditPassword>([this](TfrmEditPassword& form) {
        form.txtPassword->setText(QStringLiteral("changed"));
        script.warning(kGoneElsewhere);
        form.cmdDone->click();
        // What was typed stays to be copied; there is no entry left to save it on.
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.txtPassword->text(), QStringLiteral("changed"));
        EXPECT_FALSE(form.cmdDone->isEnabled());
        form.cmdCancel->click();
    });
    frmMain->mnuEditEditClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(decrypted("System1"), "Alpha");
    EXPECT_EQ(decrypted("Password1"), "p4");
    EXPECT_EQ(captions(), (QStringList{"Alpha"}));

    addEntry({"Zulu", "", "p5", "", "", ""});   // entry 2, which the list does not show yet
    deleteElsewhere("Alpha");                   // Zulu becomes entry 1
    PasswordListModel& model = frmMain->listModel();
    script.warning(kChangedElsewhere);
    EXPECT_FALSE(model.setData(model.index(0, 0), QStringLiteral("Renamed"), Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(decrypted("System1"), "Zulu");
    EXPECT_EQ(captions(), (QStringList{"Zulu"}));

    addEntry({"Yankee", "", "p6", "", "", ""});   // not shown yet: Delete All must not take it
    script.question(kDeleteAll, MessageResult::Yes);
    script.warning(kChangedElsewhere);
    frmMain->mnuEditDeleteAllClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(stored("TotalPasswords"), "2");
    EXPECT_EQ(captions(), (QStringList{"Yankee", "Zulu"}));
}

TEST_F(EntryCommandsTest, ARowRenumberedElsewhereShowsItsOwnNotes)
{
    deleteElsewhere("Bank");   // Alpha's notes move down to the number the list gives Shop
    selectRow(QStringLiteral("Shop"));
    EXPECT_EQ(frmMain->notesText(), "");
    selectRow(QStringLiteral("Alpha"));
    EXPECT_EQ(frmMain->notesText(), "alpha notes");
}

TEST_F(EntryCommandsTest, CutCopiesThenDeletesAndAsksForThePasswordOnce)
{
    hidePasswordsBehindThePrompt();
    selectRow(QStringLiteral("Bank"));
    script.form<TfrmProtectList>(passPrompt);
    script.question(kDeleteOne, MessageResult::Yes);
    frmMain->mnuEditCutClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(clipboard(), QStringLiteral("p1"));
    EXPECT_EQ(stored("TotalPasswords"), "3");
    EXPECT_EQ(decrypted("System1"), "Mail");
}

TEST_F(EntryCommandsTest, CutAnsweredNoKeepsThePasswordOnTheClipboardAndTheEntry)
{
    selectRow(QStringLiteral("Shop"));
    script.question(kDeleteOne, MessageResult::No);
    frmMain->mnuEditCutClick();
    EXPECT_EQ(clipboard(), QStringLiteral("p3"));
    EXPECT_EQ(stored("TotalPasswords"), "4");
    EXPECT_TRUE(script.done());
}

TEST_F(EntryCommandsTest, RefusedPromptTouchesNothing)
{
    hidePasswordsBehindThePrompt();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    frmMain->lvPasswords->selectRow(0);
    const auto before = aliceValues();
    for (void (TfrmMain::*command)() : {&TfrmMain::mnuEditCutClick, &TfrmMain::mnuEditCopyClick,
                                        &TfrmMain::mnuEditUsernameClick, &TfrmMain::mnuEditDeleteClick,
                                        &TfrmMain::mnuEditDeleteAllClick, &TfrmMain::mnuEditNewClick}) {
        script.form<TfrmProtectList>([](TfrmProtectList& prompt) { prompt.cmdCancel->click(); });
        (frmMain.get()->*command)();
        EXPECT_TRUE(script.done());
    }
    EXPECT_EQ(clipboard(), QStringLiteral("before"));
    EXPECT_EQ(aliceValues(), before);
}

TEST_F(EntryCommandsTest, CopyTakesThePasswordOrTheNotesSelection)
{
    selectRow(QStringLiteral("Bank"));
    focusList();
    frmMain->mnuEditCopyClick();
    EXPECT_EQ(clipboard(), QStringLiteral("p1"));
    frmMain->mnuEditUsernameClick();
    EXPECT_EQ(clipboard(), QStringLiteral("bo"));

    frmMain->reComments->setFocus();
    QTextCursor cursor = frmMain->reComments->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    frmMain->reComments->setTextCursor(cursor);
    QTest::keyClick(frmMain->reComments, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), QStringLiteral("notes"));
    // With the notes focused, Cut, Copy Username and Delete do nothing.
    EXPECT_FALSE(frmMain->mnuEditCut->isEnabled());
    EXPECT_FALSE(frmMain->mnuEditUsername->isEnabled());
    EXPECT_FALSE(frmMain->mnuEditDelete->isEnabled());
    EXPECT_FALSE(frmMain->tbDelete->isEnabled());
    EXPECT_TRUE(frmMain->tbCopy->isEnabled());
    EXPECT_EQ(stored("TotalPasswords"), "4");

    frmMain->mnuEditClearClick();
    EXPECT_TRUE(clipboard().isEmpty());
}

// A copied password tells clipboard managers to keep no history of it. F6 is the user's own
// command to empty the clipboard: it does so whoever put the text there, also a password copied
// out of the Edit dialog's password box.
TEST_F(EntryCommandsTest, ClearClipboardEmptiesTheClipboard)
{
    selectRow(QStringLiteral("Bank"));
    focusList();
    frmMain->mnuEditCopyClick();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    frmMain->mnuEditClearClick();
    EXPECT_TRUE(clipboard().isEmpty());

    frmMain->mnuEditUsernameClick();
    QGuiApplication::clipboard()->setText(QStringLiteral("another program's text"));
    frmMain->mnuEditClearClick();
    EXPECT_TRUE(clipboard().isEmpty());

    script.form<TfrmEditPassword>([](TfrmEditPassword& form) {
        form.txtPassword->setFocus();
        form.txtPassword->selectAll();
        QTest::keyClick(form.txtPassword, Qt::Key_C, Qt::ControlModifier);
        form.cmdCancel->click();
    });
    frmMain->mnuEditEditClick();
    ASSERT_EQ(clipboard(), QStringLiteral("p1"));
    frmMain->mnuEditClearClick();
    EXPECT_TRUE(clipboard().isEmpty());
}

TEST_F(EntryCommandsTest, PasteAsNewOpensTheDialogWithTheClipboardText)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("from clipboard"));
    script.form<TfrmNewPassword>([](TfrmNewPassword& form) {
        EXPECT_EQ(form.txtPassword->text(), QStringLiteral("from clipboard"));
        form.cmdCancel->click();
    });
    frmMain->mnuEditPasteClick();
    script.form<TfrmNewPassword>([](TfrmNewPassword& form) {
        EXPECT_TRUE(form.txtPassword->text().isEmpty());
        form.cmdCancel->click();
    });
    frmMain->mnuEditNewClick();
    EXPECT_TRUE(script.done());
    EXPECT_FALSE(session.PasteAsNewPending);
}

TEST_F(EntryCommandsTest, EditOpensOnlyWithASelectedRow)
{
    frmMain->lvPasswords->clearSelection();
    frmMain->mnuEditEditClick();
    selectRow(QStringLiteral("Mail"));
    script.form<TfrmEditPassword>([](TfrmEditPassword& form) {
        EXPECT_EQ(form.txtDescription->text(), QStringLiteral("Mail"));
        form.cmdCancel->click();
    });
    focusList();
    QTest::keyClick(&frmMain->lvPasswords->details(), Qt::Key_Return);
    EXPECT_TRUE(script.done());
}

TEST_F(EntryCommandsTest, RenameInPlaceStoresTheNewDescriptionAndMovesTheRow)
{
    selectRow(QStringLiteral("Alpha"));
    PasswordListModel& model = frmMain->listModel();
    const QModelIndex alpha = model.index(frmMain->lvPasswords->selectedRow(), 0);
    ASSERT_TRUE(model.flags(alpha) & Qt::ItemIsEditable);
    ASSERT_TRUE(model.setData(alpha, QStringLiteral("Zoo"), Qt::EditRole));
    EXPECT_EQ(decrypted("System4"), "Zoo");
    EXPECT_EQ(caption(3), QStringLiteral("Zoo"));
    EXPECT_EQ(frmMain->selectedItem()->caption, "Zoo");
    EXPECT_EQ(caption(0), QStringLiteral("Bank"));
}

// While the find line hides rows, a renamed row goes to its place among all of them: emptying
// the line shows the whole list in order again.
TEST_F(EntryCommandsTest, RenameWhileFindHidesRowsKeepsTheWholeListInOrder)
{
    frmMain->mnuEditFind->trigger();
    frmMain->txtFind->setText(QStringLiteral("l"));   // Alpha and Mail; Bank and Shop are hidden
    ASSERT_EQ(captions(), (QStringList{"Alpha", "Mail"}));
    PasswordListModel& model = frmMain->listModel();
    ASSERT_TRUE(model.setData(model.index(0, 0), QStringLiteral("Tea"), Qt::EditRole));
    EXPECT_EQ(captions(), (QStringList{"Mail", "Tea"}));
    ASSERT_TRUE(model.setData(model.index(1, 0), QStringLiteral("Ant"), Qt::EditRole));
    EXPECT_EQ(captions(), (QStringList{"Ant", "Mail"}));
    ASSERT_TRUE(model.setData(model.index(1, 0), QStringLiteral("Zed"), Qt::EditRole));
    EXPECT_EQ(captions(), (QStringList{"Ant", "Zed"}));
    frmMain->txtFind->clear();
    EXPECT_EQ(captions(), (QStringList{"Ant", "Bank", "Shop", "Zed"}));
}

TEST_F(EntryCommandsTest, RenameIsRefusedWhilePasswordsAreHidden)
{
    frmMain->mnuViewShowClick();
    const QModelIndex first = frmMain->listModel().index(0, 0);
    EXPECT_FALSE(frmMain->listModel().flags(first) & Qt::ItemIsEditable);
    EXPECT_FALSE(frmMain->listModel().flags(frmMain->listModel().index(0, 1)) & Qt::ItemIsEditable);
}

TEST_F(EntryCommandsTest, EditMenuFollowsFocusSelectionAndClipboard)
{
    QGuiApplication::clipboard()->clear();
    frmMain->reComments->setFocus();
    frmMain->mnuEditPopup();
    EXPECT_EQ(frmMain->mnuEditCopy->text(), QStringLiteral("&Copy"));
    EXPECT_FALSE(frmMain->mnuEditCopy->isEnabled());
    EXPECT_FALSE(frmMain->mnuEditEdit->isEnabled());
    EXPECT_FALSE(frmMain->mnuEditPaste->isEnabled());
    EXPECT_TRUE(frmMain->mnuEditDeleteAll->isEnabled());
    EXPECT_TRUE(frmMain->mnuEditNew->isEnabled());
    EXPECT_TRUE(frmMain->mnuEditClear->isEnabled());

    focusList();
    frmMain->lvPasswords->clearSelection();
    frmMain->mnuEditPopup();
    EXPECT_EQ(frmMain->mnuEditCopy->text(), QStringLiteral("&Copy Password"));
    for (QAction* item : {frmMain->mnuEditCut, frmMain->mnuEditCopy, frmMain->mnuEditUsername,
                          frmMain->mnuEditDelete, frmMain->mnuEditEdit})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();

    frmMain->lvPasswords->selectRow(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    frmMain->mnuEditPopup();
    for (QAction* item : {frmMain->mnuEditCut, frmMain->mnuEditCopy, frmMain->mnuEditUsername,
                          frmMain->mnuEditDelete, frmMain->mnuEditEdit, frmMain->mnuEditPaste})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();

    // A shortcut of a disabled item does nothing: Del with the notes focused deletes nothing.
    frmMain->reComments->setFocus();
    QTest::keyClick(frmMain->reComments, Qt::Key_Delete);
    EXPECT_EQ(stored("TotalPasswords"), "4");
    EXPECT_TRUE(script.done());
}

TEST_F(EntryCommandsTest, CopyWithNothingSelectedInTheNotesLeavesTheClipboardAlone)
{
    selectRow(QStringLiteral("Bank"));
    ASSERT_TRUE(frmMain->tbCopy->isEnabled());
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    QTest::mouseClick(frmMain->reComments->viewport(), Qt::LeftButton);
    EXPECT_FALSE(frmMain->tbCopy->isEnabled());
    frmMain->mnuEditCopyClick();
    EXPECT_EQ(clipboard(), QStringLiteral("kept"));
}

// Tab into the notes pane and back: the buttons that act on the row follow the focus back.
TEST_F(EntryCommandsTest, CutCopyAndDeleteComeBackWithTheFocusOnTheList)
{
    selectRow(QStringLiteral("Bank"));
    focusList();
    const auto buttonsEnabled = [this] {
        return std::vector<bool>{frmMain->tbCut->isEnabled(), frmMain->tbCopy->isEnabled(),
                                 frmMain->tbDelete->isEnabled()};
    };
    ASSERT_EQ(buttonsEnabled(), std::vector<bool>(3, true));
    QTest::keyClick(&frmMain->lvPasswords->details(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), frmMain->reComments);
    EXPECT_EQ(buttonsEnabled(), std::vector<bool>(3, false));
    QTest::keyClick(frmMain->reComments, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(frmMain->lvPasswords->hasListFocus());
    EXPECT_EQ(buttonsEnabled(), std::vector<bool>(3, true));
}

TEST_F(EntryCommandsTest, ListPopupFollowsTheSelection)
{
    frmMain->lvPasswords->clearSelection();
    emit frmMain->popPasswordList->aboutToShow();
    for (QAction* item : {frmMain->mnuCopy, frmMain->mnuUsername, frmMain->tbCut, frmMain->tbCopy, frmMain->tbDelete})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    frmMain->lvPasswords->selectRow(0);
    emit frmMain->popPasswordList->aboutToShow();
    for (QAction* item : {frmMain->mnuCopy, frmMain->mnuUsername, frmMain->tbCut, frmMain->tbCopy, frmMain->tbDelete})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
}

}  // namespace
}  // namespace keystead::test
