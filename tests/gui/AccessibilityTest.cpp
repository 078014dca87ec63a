// Every window as a screen reader sees it: each control that takes input or focus has a name,
// the logon pictures are buttons, and no password or its cipher text is ever read out.

#include "AccessibleTree.h"
#include "GuiTest.h"
#include "desktop/About.h"
#include "desktop/Options.h"
#include "desktop/ProtectList.h"
#include "entries/EditPass.h"
#include "entries/NewPass.h"
#include "exchange/Export.h"
#include "exchange/Import.h"
#include "mainwindow/FindLine.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/QuickView.h"
#include "session/ChgPass.h"
#include "session/Logon.h"
#include "session/NewUser.h"
#include "session/PlainLogon.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace keystead::test {
namespace {

const QString kSecret = QStringLiteral("Zq7secret");

class AccessibilityTest : public GuiTest {
protected:
    void SetUp() override
    {
        logOnAliceWith({{"Bank", "jdoe", kSecret.toStdString(), "see https://bank.example", "", ""}});
    }

    std::unique_ptr<TfrmMain> openMain()
    {
        auto frmMain = std::make_unique<TfrmMain>(session, storeFile);
        frmMain->show();
        return frmMain;
    }

    static void expectSound(QWidget& window, const QStringList& secrets = {kSecret})
    {
        window.show();
        EXPECT_EQ(accessibleFaults(window, secrets), QStringList()) << window.objectName().toStdString();
    }
};

TEST_F(AccessibilityTest, LogonWindowsNameTheirFieldsAndThePicturesAreButtons)
{
    TfrmLogon fancy(session, storeFile);
    fancy.txtPassword->setText(kSecret);
    expectSound(fancy);
    EXPECT_EQ(accessibleNames(fancy, QAccessible::Button), (QStringList{"New User", "Logon", "Exit"}));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(fancy.txtPassword)->state().passwordEdit);

    TfrmPlainLogon plain(session, storeFile);
    plain.txtPassword->setText(kSecret);
    expectSound(plain);
}

// With Show Passwords off the list draws cipher text: its cells are read as "hidden", and
// neither the password nor its cipher text reaches the reader, in either view style.
TEST_F(AccessibilityTest, MainWindowNamesItsControlsAndHiddenCellsSayHidden)
{
    openStore()->WriteString("Alice", "ShowPasswords", "0");
    const auto frmMain = openMain();
    frmMain->lvPasswords->selectRow(0);
    frmMain->mnuEditFind->trigger();
    frmMain->txtFind->insert(QStringLiteral("Ba"));   // the find line's clear button shows
    frmMain->resize(120, 300);                        // the tool bar's extension button shows
    const QModelIndex password = frmMain->listModel().index(0, 2);
    const QString cipher = password.data().toString();
    ASSERT_FALSE(cipher.isEmpty());
    EXPECT_EQ(password.data(Qt::AccessibleTextRole).toString(), QStringLiteral("hidden"));
    expectSound(*frmMain, {kSecret, cipher});
    frmMain->setViewStyle(false);
    expectSound(*frmMain, {kSecret, cipher});

    // The quick view shows the entry in plain text by design; its fields are named all the same.
    TfrmQuickView quickView(session, frmMain->store(), *frmMain, *frmMain);
    expectSound(quickView, {});
}

TEST_F(AccessibilityTest, SessionDialogsNameEveryField)
{
    QComboBox logonUsername;
    TfrmNewUser newUser(logonUsername, storeFile, nullptr);
    expectSound(newUser);
    const auto frmMain = openMain();
    TfrmChangePassword change(session, frmMain->store(), [] {}, frmMain.get());
    expectSound(change);
}

// The entry dialogs show the password in clear, so a reader may read it too.
TEST_F(AccessibilityTest, EntryDialogsNameEveryField)
{
    const auto frmMain = openMain();
    TfrmNewPassword entry(session, frmMain->store(), *frmMain, frmMain.get());
    expectSound(entry, {});
    frmMain->lvPasswords->selectRow(0);
    TfrmEditPassword edit(session, frmMain->store(), *frmMain, frmMain.get());
    expectSound(edit, {});
}

TEST_F(AccessibilityTest, ExchangeAndDesktopDialogsNameEveryControl)
{
    const auto frmMain = openMain();
    TfrmImport import(session, frmMain->store(), folder.path() / "list.txt", [] {}, frmMain.get());
    expectSound(import);
    TfrmExport exportType(frmMain->exportCommands(), frmMain.get());
    expectSound(exportType);
    TfrmAbout about(frmMain.get());
    expectSound(about);
    TfrmProtectList prompt(session, [] {}, frmMain.get());
    expectSound(prompt);
}

TEST_F(AccessibilityTest, OptionsNamesTheControlsOfEveryTab)
{
    const auto frmMain = openMain();
    script.form<TfrmOptions>([&](TfrmOptions& form) {
        for (int tab = 0; tab < form.tabOptions->count(); ++tab) {
            form.tabOptions->setCurrentIndex(tab);
            expectSound(form);
        }
        form.cmdCancel->click();
    });
    frmMain->mnuViewOptions->trigger();
    EXPECT_TRUE(script.done());
}

}  // namespace
}  // namespace keystead::test
