// Help in the main window and the dialogs it opens: a right click on a control with a help
// context opens the What's This? menu, whose item shows that control's written topic, controls
// with menus of their own keep them; F1 and the Help menu open written topics; the about box.

#include "GuiTest.h"
#include "OpenedUrls.h"
#include "desktop/About.h"
#include "desktop/Options.h"
#include "entries/NewPass.h"
#include "exchange/Import.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListView.h"
#include "platform/HelpWindow.h"
#include "platform/WhatsThis.h"
#include "session/ChgPass.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

#include <optional>

namespace keystead::test {
namespace {

class OnlineHelpTest : public GuiTest {
protected:
    void SetUp() override
    {
        addUser("Alice", "pw");
        session.CurrentUsername = "Alice";
        session.LogonPassword = "pw";
        frmMain = std::make_unique<TfrmMain>(session, storeFile);
        frmMain->show();
        whatsThis = frmMain->findChild<TWhatsThis*>();
        QObject::connect(whatsThis, &TWhatsThis::popupShown, [this](int topic) { shown = topic; });
    }

    void TearDown() override { QWhatsThis::hideText(); }

    // A right click on the control; the topic its What's This? item shows, none when the
    // What's This? menu did not open.
    std::optional<int> rightClick(QWidget& control)
    {
        shown.reset();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), control.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&control, &event);
        if (!frmMain->popWhatsThis->isVisible())
            return std::nullopt;
        frmMain->popWhatsThis->hide();
        frmMain->mnuWhatsThis->trigger();
        return shown;
    }

    // Every control of the dialog with a help context shows its own topic, and that topic is written.
    void expectOwnTopics(QWidget& dialog)
    {
        int controls = 0;
        for (QWidget* control : dialog.findChildren<QWidget*>()) {
            const int topic = helpContext(*control);
            if (topic == 0 || !control->isEnabled())
                continue;
            ++controls;
            EXPECT_EQ(rightClick(*control), topic) << control->objectName().toStdString();
            EXPECT_FALSE(helpPopupText(topic).contains(QStringLiteral("not found"))) << topic;
        }
        EXPECT_GT(controls, 2) << dialog.objectName().toStdString();
    }

    // F1 opens the dialog's help window on a written topic.
    static void expectF1Help(QDialog& dialog, QWidget& focus)
    {
        QTest::keyClick(&focus, Qt::Key_F1);
        const auto* help = dialog.findChild<THelpWindow*>();
        ASSERT_NE(help, nullptr) << dialog.objectName().toStdString();
        EXPECT_FALSE(help->txtTopic->toPlainText().contains(QStringLiteral("not available")));
    }

    std::unique_ptr<TfrmMain> frmMain;
    TWhatsThis* whatsThis = nullptr;
    std::optional<int> shown;
};

TEST_F(OnlineHelpTest, EveryDialogControlWithAHelpContextShowsItsOwnWrittenTopic)
{
    TfrmNewPassword entry(session, frmMain->store(), *frmMain, frmMain.get());
    entry.chkExpire->setChecked(true);
    entry.show();
    expectOwnTopics(entry);

    TfrmImport import(session, frmMain->store(), folder.path() / "list.txt", [] {}, frmMain.get());
    import.show();
    expectOwnTopics(import);
    expectF1Help(import, *import.txtPassword);

    TfrmChangePassword change(session, frmMain->store(), [] {}, frmMain.get());
    change.show();
    expectOwnTopics(change);
    expectF1Help(change, *change.txtNew);

    // A control without a help context keeps its usual behaviour.
    EXPECT_EQ(rightClick(*change.cmdDone), std::nullopt);
}

TEST_F(OnlineHelpTest, EachOptionsControlShowsTheTopicWrittenForIt)
{
    script.form<TfrmOptions>([&](TfrmOptions& form) {
        // What's This? needs the controls enabled that these settings disable.
        form.chkAutoExport->click();
        form.chkMinimizeToTray->click();
        const std::pair<QWidget*, int> topics[] = {
            {form.chkWarn, 9001},
            {form.chkClear, 9002},
            {form.chkAutoExport, 9003},
            {form.txtExportPath, 9004},
            {form.rgSort, 9005},
            {form.rgSortItems->button(2), 9005},
            {form.chkDescription, 9006},
            {form.chkComments, 9007},
            {form.chkProtectToggle, 9008},
            {form.chkPlain, 9010},
            {form.chkUseLastUsername, 9011},
            {form.lblListFont, 9012},
            {form.txtListFont, 9012},
            {form.txtListFontSize, 9012},
            {form.lblNotesFont, 9013},
            {form.txtNotesFont, 9013},
            {form.txtNotesFontSize, 9013},
            {form.chkGridlines, 9014},
            {form.chkMinimizeToTray, 9015},
            {form.chkPasswordProtectTray, 9016},
            {form.Label6, 9017},
            {form.pnlColor, 9017},
        };
        for (const auto& [control, topic] : topics) {
            EXPECT_EQ(rightClick(*control), topic) << control->objectName().toStdString();
            EXPECT_FALSE(helpPopupText(topic).contains(QStringLiteral("not found"))) << topic;
        }
        form.cmdCancel->click();
    });
    frmMain->mnuViewOptions->trigger();
    EXPECT_TRUE(script.done());
}

TEST_F(OnlineHelpTest, TheMainWindowsPartsShowTheirTopicsAndTheListKeepsItsMenu)
{
    const int toolbarTopic = helpContext(*frmMain->tbToolbar);
    for (QToolButton* button : frmMain->tbToolbar->findChildren<QToolButton*>()) {
        if (button->isVisible() && button->isEnabled()) {
            EXPECT_EQ(rightClick(*button), toolbarTopic) << button->objectName().toStdString();
        }
    }
    EXPECT_EQ(rightClick(*frmMain->sbMessagePanel0), helpContext(*frmMain->statusBar()));

    // The list's own menu opens, not What's This?; its last item shows the list's topic.
    EXPECT_EQ(rightClick(*frmMain->lvPasswords->details().viewport()), std::nullopt);
    EXPECT_TRUE(frmMain->popPasswordList->isVisible());
    frmMain->popPasswordList->hide();
    frmMain->MenuItem1->trigger();
    EXPECT_EQ(shown, helpContext(*frmMain->lvPasswords));
    frmMain->mnuCommentsWhatsThis->trigger();
    EXPECT_EQ(shown, helpContext(*frmMain->reComments));

    for (const int topic : {toolbarTopic, helpContext(*frmMain->statusBar()), helpContext(*frmMain->lvPasswords),
                            helpContext(*frmMain->reComments)})
        EXPECT_FALSE(helpPopupText(topic).contains(QStringLiteral("not found"))) << topic;
    EXPECT_TRUE(helpPopupText(1).contains(QStringLiteral("1 not found")));
}

TEST_F(OnlineHelpTest, HelpMenuItemsOpenWrittenTopics)
{
    for (QAction* item : {frmMain->mnuHelpContents, frmMain->mnuHelpUsing}) {
        item->trigger();
        const auto* help = frmMain->findChild<THelpWindow*>();
        ASSERT_NE(help, nullptr);
        EXPECT_FALSE(help->txtTopic->toPlainText().contains(QStringLiteral("not available")))
            << item->objectName().toStdString();
    }
}

TEST_F(OnlineHelpTest, TheAboutBoxOpensTheHomePageAndCloses)
{
    const OpenedUrls opened;
    script.form<TfrmAbout>([&](TfrmAbout& form) {
        EXPECT_TRUE(form.lblMessage->text().startsWith(QStringLiteral("Version 3.4.\n")));
        QTest::mouseClick(form.Label1, Qt::LeftButton);
        form.cmdClose->click();
    });
    frmMain->mnuHelpAbout->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl(QStringLiteral("http://www.vorrent.example/vorrent"))});
}

}  // namespace
}  // namespace keystead::test
