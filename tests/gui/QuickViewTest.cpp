// The quick view: when Space and the View menu may open it, what it shows while the list masks
// the texts, where it appears, and that a held key (repeated by the window system) keeps one
// window open until Space is really released.

#include "GuiTest.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/QuickView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>

namespace keystead::test {
namespace {

class QuickViewTest : public GuiTest {
protected:
    void SetUp() override
    {
        logOnAliceWith({{"Bank", "bob", "<b>secret", "pin\r\n1234", "", ""}});
    }

    void openMain()
    {
        frmMain = std::make_unique<TfrmMain>(session, storeFile);
        frmMain->move(100, 80);
        frmMain->show();
        QApplication::setActiveWindow(frmMain.get());
        frmMain->lvPasswords->details().setFocus();
    }

    void space(QEvent::Type type, bool autoRepeat = false) const
    {
        QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(&frmMain->lvPasswords->details(), &key);
    }

    static TfrmQuickView* quickView()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* view = qobject_cast<TfrmQuickView*>(window); view != nullptr && view->isVisible())
                return view;
        return nullptr;
    }

    std::string stored(const std::string& ident) { return openStore()->ReadString("Alice", ident, "<absent>"); }

    std::unique_ptr<TfrmMain> frmMain;
};

TEST_F(QuickViewTest, HeldSpaceOpensOneWindowUntilItIsReleased)
{
    openMain();
    space(QEvent::KeyPress);
    EXPECT_EQ(quickView(), nullptr);   // no entry selected

    frmMain->lvPasswords->selectRow(0);
    space(QEvent::KeyPress);
    TfrmQuickView* shown = quickView();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(session.QuickViewOpen);
    EXPECT_FALSE(frmMain->isEnabled());
    EXPECT_TRUE(shown->isEnabled());
    // The first opening centres it over the main window.
    EXPECT_EQ(shown->pos(), QPoint(100 + (frmMain->width() - 288) / 2, 80 + (frmMain->height() - 242) / 2));
    EXPECT_EQ(shown->lblPassword->text(), QStringLiteral("<b>secret"));
    EXPECT_EQ(shown->memComments->toPlainText(), QStringLiteral("pin\n1234"));

    for (int repeat = 0; repeat < 3; ++repeat) {
        space(QEvent::KeyRelease, true);
        space(QEvent::KeyPress, true);
    }
    EXPECT_EQ(quickView(), shown);
    EXPECT_FALSE(frmMain->isEnabled());

    shown->move(30, 40);
    space(QEvent::KeyRelease);
    QApplication::processEvents();
    EXPECT_EQ(quickView(), nullptr);
    EXPECT_FALSE(session.QuickViewOpen);
    EXPECT_TRUE(frmMain->isEnabled());
    EXPECT_EQ(stored("QuickviewWindowLeft"), "30");
    EXPECT_EQ(stored("QuickviewWindowTop"), "40");

    space(QEvent::KeyPress);
    ASSERT_NE(quickView(), nullptr);
    EXPECT_EQ(quickView()->pos(), QPoint(30, 40));
    space(QEvent::KeyRelease);
    EXPECT_TRUE(script.done());
}

TEST_F(QuickViewTest, NothingOpensWhileEditingOrWhileProtectedTextsAreHidden)
{
    openMain();
    frmMain->lvPasswords->selectRow(0);
    QTableView& details = frmMain->lvPasswords->details();
    details.edit(frmMain->listModel().index(0, 0));
    ASSERT_TRUE(frmMain->lvPasswords->isEditing());
    space(QEvent::KeyPress);
    EXPECT_EQ(quickView(), nullptr);
    details.closePersistentEditor(frmMain->listModel().index(0, 0));
    frmMain.reset();

    openStore()->WriteString("Alice", "ProtectToggle", "1");
    openStore()->WriteString("Alice", "ShowPasswords", "0");
    session.ShowPasswordsOn = false;
    openMain();
    frmMain->lvPasswords->selectRow(0);
    space(QEvent::KeyPress);
    frmMain->mnuViewQuickview->trigger();
    EXPECT_EQ(quickView(), nullptr);
    EXPECT_TRUE(script.done());   // and no password prompt
}

TEST_F(QuickViewTest, HiddenTextsAreDecryptedUnlessTheListShowsThemInPlain)
{
    openStore()->WriteString("Alice", "ShowPasswords", "0");
    openStore()->WriteString("Alice", "ShowComments", "0");
    session.ShowPasswordsOn = false;
    openMain();
    frmMain->lvPasswords->selectRow(0);
    ASSERT_NE(frmMain->listModel().index(0, 2).data().toString(), QStringLiteral("<b>secret"));
    space(QEvent::KeyPress);
    TfrmQuickView* shown = quickView();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->lblDescription->text(), QStringLiteral("Bank"));
    EXPECT_EQ(shown->lblUsername->text(), QStringLiteral("bob"));
    EXPECT_EQ(shown->lblPassword->text(), QStringLiteral("<b>secret"));
    EXPECT_EQ(shown->memComments->toPlainText(), QStringLiteral("pin\n1234"));
    space(QEvent::KeyRelease);
}

TEST_F(QuickViewTest, OpenedFromTheMenuItStaysUntilTheMainWindowIsActivated)
{
    openMain();
    frmMain->lvPasswords->selectRow(0);
    frmMain->mnuViewQuickview->trigger();
    ASSERT_NE(quickView(), nullptr);
    EXPECT_TRUE(frmMain->isEnabled());
    QApplication::setActiveWindow(quickView());
    frmMain->lvPasswords->details().setFocus();
    TfrmQuickView* shown = quickView();
    space(QEvent::KeyPress);
    EXPECT_EQ(quickView(), shown);
    EXPECT_FALSE(frmMain->listModel().flags(frmMain->listModel().index(0, 0)) & Qt::ItemIsEditable);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(frmMain.get(), &activate);
    QApplication::processEvents();
    EXPECT_EQ(quickView(), nullptr);
    EXPECT_FALSE(session.QuickViewOpen);
}

}  // namespace
}  // namespace keystead::test
