// The list follows what another running instance commits to the store: reloaded while the window
// is shown, with the selected entry and the scroll position kept, and never under an open dialog
// or rename.

#include "EntryDialogTest.h"
#include "entries/EditPass.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/StoreChangeWatch.h"
#include "store/StoreSession.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace keystead::test {
namespace {

class ListFollowsTheStoreTest : public EntryDialogTest {
protected:
    void SetUp() override
    {
        for (const char* description : {"Bank", "Mail", "Shop", "Alpha", "Zoo"})
            addEntry({description, "", "p", "", "", ""});
        openMain();
        frmMain->show();
        QApplication::setActiveWindow(frmMain.get());
    }

    // What keystead-cli add does in another process: entries appended in one transaction.
    void addElsewhere(int count) const
    {
        const auto store = openStore();
        SessionState other = session;
        StoreSession transaction(*store);
        EntryStore entries(*store, other);
        for (int i = 0; i < count; ++i)
            entries.append(diamond, {"Entry " + std::to_string(i), "", "p", "", "", ""});
        transaction.close();
    }

    bool rowsBecome(int count) const
    {
        return QTest::qWaitFor([this, count] { return rowCount() == count; }, 10000);
    }

    QScrollBar& scrollBar() const { return *frmMain->lvPasswords->details().verticalScrollBar(); }
};

TEST_F(ListFollowsTheStoreTest, EntriesAddedElsewhereAppearWithTheSelectionAndScrollKept)
{
    selectRow(QStringLiteral("Shop"));
    addElsewhere(195);
    ASSERT_TRUE(rowsBecome(200));
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("200 passwords in list"));
    EXPECT_EQ(session.PasswordCount, 200);
    ASSERT_TRUE(frmMain->selectedItem().has_value());
    EXPECT_EQ(frmMain->selectedItem()->caption, "Shop");

    ASSERT_GT(scrollBar().maximum(), 20);
    scrollBar().setValue(20);
    addElsewhere(3);
    ASSERT_TRUE(rowsBecome(203));
    EXPECT_EQ(scrollBar().value(), 20);
    EXPECT_EQ(frmMain->selectedItem()->caption, "Shop");
}

// What the user is working on does not change under a rename or a dialog; the reload follows
// once it is closed.
TEST_F(ListFollowsTheStoreTest, NothingIsReloadedUnderARenameOrADialog)
{
    TStoreChangeWatch& watch = *frmMain->findChild<TStoreChangeWatch*>();
    selectRow(QStringLiteral("Mail"));
    QTableView& details = frmMain->lvPasswords->details();
    details.setFocus();
    details.edit(frmMain->listModel().index(frmMain->lvPasswords->selectedRow(), 0));
    ASSERT_TRUE(frmMain->lvPasswords->isEditing());
    addElsewhere(1);
    watch.lookAtStore();
    EXPECT_EQ(rowCount(), 5);
    EXPECT_TRUE(frmMain->lvPasswords->isEditing());
    frmMain->lvPasswords->endEditing();
    ASSERT_TRUE(rowsBecome(6));

    script.form<TfrmEditPassword>([&](TfrmEditPassword& form) {
        addElsewhere(1);
        watch.lookAtStore();
        EXPECT_EQ(rowCount(), 6);
        form.cmdCancel->click();
    });
    frmMain->mnuEditEditClick();
    EXPECT_TRUE(script.done());
    watch.lookAtStore();
    EXPECT_EQ(rowCount(), 7);
}

}  // namespace
}  // namespace keystead::test
