// The main window on a real X server: keys typed into its menus, the keys of disabled File menu
// items, a rename that is open when a command takes the row (the command's modal window takes the
// focus and ends the rename), the window pulled back onto the screen with its frame, command keys
// during a rename, a copied password cleared at close, selected comments kept out of the X
// primary selection, and commands on a row that Find shows.

#include "ScreenTest.h"
#include "XInput.h"
#include "entries/EditPass.h"
#include "mainwindow/FindLine.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/SecretClipboard.h"
#include "mainwindow/VorrentRichEdit.h"
#include "platform/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>

namespace keystead::test {
namespace {

class MainWindowOnScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "bo", "p1", "", "", ""});
        addEntry({"Mail", "", "p2", "", "", ""});
        addEntry({"Shop", "sam", "p3", "", "", ""});
        addEntry({"Alpha", "al", "p4", "", "", ""});
    }

    static QString clipboard() { return QGuiApplication::clipboard()->text(); }

    // A click on the selected row opens the in-place edit of its description; a new one is typed.
    void startRename(const QString& caption, const QString& typed) const
    {
        selectRow(caption);
        clickAt(rowPoint(rowOf(caption)));
        ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->lvPasswords->isEditing(); }, 5000));
        typeText(typed);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            return editor != nullptr && editor->text() == typed;
        }, 5000));
    }

    std::vector<std::string> descriptions() const
    {
        std::vector<std::string> texts;
        for (int n = 1; n <= std::stoi(stored("TotalPasswords")); ++n)
            texts.push_back(decrypted("System" + std::to_string(n)));
        return texts;
    }
};

TEST_F(MainWindowOnScreenTest, KeysTypedIntoAnOpenMenuBelongToTheMenu)
{
    openMain();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    const QPoint pointer = rowPoint(rowOf(QStringLiteral("Bank")));
    clickAt(pointer, 3);
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->popPasswordList->isVisible(); }, 5000));
    EXPECT_EQ(frmMain->popPasswordList->pos(), pointer) << "the menu opens at the pointer";

    // Down to "Copy Username", Enter: the chosen item runs, not Edit Password.
    pressKeys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    EXPECT_TRUE(QTest::qWaitFor([] { return clipboard() == QStringLiteral("bo"); }, 5000)) << clipboard().toStdString();

    // Escape closes the menu; its release does not go on to minimize the window. F6 (Clear
    // Clipboard) comes after it, so once the clipboard is empty the release has been handled.
    // (A second click on the same spot would be a double click.)
    clickAt(pointer + QPoint(40, 0), 3);
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->popPasswordList->isVisible(); }, 5000));
    pressKeys({QStringLiteral("Escape"), QStringLiteral("F6")});
    EXPECT_TRUE(QTest::qWaitFor([] { return clipboard().isEmpty(); }, 5000));
    EXPECT_FALSE(frmMain->popPasswordList->isVisible());
    EXPECT_FALSE(frmMain->isMinimized());
    EXPECT_TRUE(modals.done());
}

TEST_F(MainWindowOnScreenTest, ARenameEndsBeforeDeleteTakesTheRow)
{
    openMain();
    startRename(QStringLiteral("Mail"), QStringLiteral("Zulu"));
    modals.expect([](QWidget&) { pressKeys({QStringLiteral("Return")}); });   // Yes, delete it
    clickOn(*frmMain->tbToolbar->widgetForAction(frmMain->tbDelete));
    ASSERT_TRUE(QTest::qWaitFor([this] { return stored("TotalPasswords") == "3" && modals.done(); }, 5000));
    // Mail, renamed to Zulu, is gone; Shop, which took its place in the list, is kept.
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"Bank", "Shop", "Alpha"}));
}

TEST_F(MainWindowOnScreenTest, ARenameEndsBeforeEditPasswordReadsTheRow)
{
    openMain();
    startRename(QStringLiteral("Mail"), QStringLiteral("Zulu"));
    QString shown;
    modals.expect([&shown](QWidget& window) {
        shown = dynamic_cast<TfrmEditPassword&>(window).txtDescription->text();
        pressKeys({QStringLiteral("Return")});   // Done
    });
    QMenuBar& bar = *frmMain->menuBar();
    clickAt(bar.mapToGlobal(bar.actionGeometry(frmMain->mnuEdit->menuAction()).center()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->mnuEdit->isVisible(); }, 5000));
    clickAt(frmMain->mnuEdit->mapToGlobal(frmMain->mnuEdit->actionGeometry(frmMain->mnuEditEdit).center()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done(); }, 5000));
    EXPECT_EQ(shown, QStringLiteral("Zulu"));
    EXPECT_EQ(decrypted("System2"), "Zulu");
}

// During a rename the window's command keys go to their commands, as the menus' shortcuts win
// over the focused box: the rename ends with what was typed, and the command acts on the row.
// Ctrl+U is the box's own delete-line key here, Ctrl+C its copy.
TEST_F(MainWindowOnScreenTest, CommandKeysDuringARenameEndItAndActOnTheRow)
{
    openMain();
    startRename(QStringLiteral("Bank"), QStringLiteral("Bank2"));
    pressKeys({QStringLiteral("ctrl+u")});
    EXPECT_TRUE(QTest::qWaitFor([] { return clipboard() == QStringLiteral("bo"); }, 5000)) << clipboard().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !frmMain->lvPasswords->isEditing(); }, 5000));
    EXPECT_EQ(decrypted("System1"), "Bank2");

    startRename(QStringLiteral("Shop"), QStringLiteral("Shop2"));
    pressKeys({QStringLiteral("ctrl+c")});
    EXPECT_TRUE(QTest::qWaitFor([] { return clipboard() == QStringLiteral("p3"); }, 5000)) << clipboard().toStdString();
    EXPECT_EQ(decrypted("System3"), "Shop2");
}

// A password copied with Ctrl+C out of the Edit dialog's password box is Keystead's text too:
// closing the window clears it.
TEST_F(MainWindowOnScreenTest, APasswordCopiedOutOfTheEditDialogIsClearedAtClose)
{
    openMain();
    selectRow(QStringLiteral("Shop"));
    frmMain->lvPasswords->details().setFocus();
    modals.expect([](QWidget& window) {
        auto& dialog = dynamic_cast<TfrmEditPassword&>(window);
        dialog.txtPassword->setFocus();
        dialog.txtPassword->selectAll();
        pressKeys({QStringLiteral("ctrl+c")});
        // Escape keeps the dialog open: it leaves by its Cancel button once the copy is made.
        if (QTest::qWaitFor([] { return clipboard() == QStringLiteral("p3"); }, 5000))
            dialog.cmdCancel->click();
    });
    pressKeys({QStringLiteral("ctrl+e")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([] { return clipboard() == QStringLiteral("p3"); }, 5000)) << clipboard().toStdString();
    frmMain->close();
    EXPECT_TRUE(clipboard().isEmpty()) << clipboard().toStdString();
}

TEST_F(MainWindowOnScreenTest, AWindowPulledBackOntoTheScreenShowsItsWholeFrame)
{
    openMain();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Past the bottom right corner, as a position saved on a larger screen would be.
    const QPoint corner(screen.width() - 100, screen.height() - 100);
    frmMain->move(corner);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frmMain->frameGeometry().topLeft() == corner; }, 5000));
    ClampFormToScreen(*frmMain);
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.contains(frmMain->frameGeometry()); }, 2000))
        << frmMain->frameGeometry().bottom() << " below " << screen.bottom();
}

// A word of the comments selected with the mouse stays out of the X primary selection, so a
// password kept there cannot be pasted into another program with the middle button.
TEST_F(MainWindowOnScreenTest, SelectedCommentsNeverBecomeThePrimarySelection)
{
    const PrimarySelectionGuard guard;   // as the program's entry sets it up
    addEntry({"Vault", "", "p5", "pin 4711", "", ""});
    openMain();
    selectRow(QStringLiteral("Vault"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->reComments->toPlainText() == "pin 4711"; }, 5000));
    QTextCursor inWord = frmMain->reComments->textCursor();
    inWord.setPosition(6);
    const QPoint word = frmMain->reComments->cursorRect(inWord).center();
    doubleClickAt(frmMain->reComments->viewport()->mapToGlobal(word));
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->reComments->textCursor().hasSelection(); }, 5000));
    // The selection is offered at the button's release. A later click, on Bank, shows the notes of
    // Bank once handled; X delivers it after the release, so the release has been handled then.
    clickAt(rowPoint(rowOf(QStringLiteral("Bank"))));
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->reComments->toPlainText().isEmpty(); }, 5000));
    EXPECT_FALSE(QGuiApplication::clipboard()->ownsSelection());
    EXPECT_FALSE(QGuiApplication::clipboard()->text(QClipboard::Selection).contains(QStringLiteral("4711")));
}

// Find through real keys: Ctrl+F opens the line, typing filters, Enter edits the first shown
// entry through the real modal loop, and Down then Delete deletes the shown row, not the row that
// stood there in the whole list.
TEST_F(MainWindowOnScreenTest, TypedFindFiltersAndCommandsActOnTheShownRow)
{
    openMain();
    pressKeys({QStringLiteral("ctrl+f")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->txtFind->hasFocus(); }, 5000));
    typeText(QStringLiteral("SHO"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->listModel().rowCount() == 1; }, 5000));
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("1 of 4 passwords in list"));

    QString edited;
    modals.expect([&edited](QWidget& window) {
        edited = dynamic_cast<TfrmEditPassword&>(window).txtDescription->text();
        pressKeys({QStringLiteral("Return")});   // Done
    });
    pressKeys({QStringLiteral("Return")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return modals.done(); }, 5000));
    EXPECT_EQ(edited, QStringLiteral("Shop"));

    pressKeys({QStringLiteral("Down")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return frmMain->lvPasswords->hasListFocus(); }, 5000));
    modals.expect([](QWidget&) { pressKeys({QStringLiteral("Return")}); });   // Yes, delete it
    pressKeys({QStringLiteral("Delete")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return stored("TotalPasswords") == "3" && modals.done(); }, 5000));
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"Bank", "Mail", "Alpha"}));
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("0 of 3 passwords in list"));
}

// With no entries the File menu's Print and Export are off, and so are their keys, though the
// menu never opened: Ctrl+P and F3 open no print dialog and no export window (the modal watch
// fails on either). F6 (Clear Clipboard) comes after them: once the clipboard is empty, they
// have been handled.
class EmptyListOnScreenTest : public ScreenTest {};

TEST_F(EmptyListOnScreenTest, PrintAndExportKeysDoNothing)
{
    openMain();
    PutSecretOnClipboard("before");
    pressKeys({QStringLiteral("ctrl+p"), QStringLiteral("F3"), QStringLiteral("F6")});
    EXPECT_TRUE(QTest::qWaitFor([] { return QGuiApplication::clipboard()->text().isEmpty(); }, 10000));
    EXPECT_TRUE(modals.done());
    EXPECT_FALSE(frmMain->mnuFilePrint->isEnabled());
    EXPECT_FALSE(frmMain->tbPrint->isEnabled());
}

}  // namespace
}  // namespace keystead::test
