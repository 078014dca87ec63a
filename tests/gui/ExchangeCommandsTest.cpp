// Export, import and the logon password change from the main window: the dialogs' messages in
// their order with the focus after each, the file dialogs they ask, the progress window's texts,
// the automatic export at close, and a failed export that gives the main window back.

#include "../support/ReadFile.h"
#include "EntryDialogTest.h"
#include "exchange/Export.h"
#include "exchange/ExportFile.h"
#include "exchange/Import.h"
#include "platform/FileDialog.h"
#include "platform/Progress.h"
#include "platform/TextConversion.h"
#include "session/ChgPass.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <fstream>

namespace keystead::test {
namespace {

const QString kPlainWarning = QStringLiteral(
    "Data in a plain text export file is NOT encrypted. If you choose to continue, you should take steps to "
    "securely wipe the export file from your hard disk when you have finished with it.\r\rAre you sure you want "
    "to continue with the export?");

// Records every progress window: its message when it shows and where its bar ended.
class ProgressWatcher : public QObject {
public:
    ProgressWatcher() { qApp->installEventFilter(this); }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }

    QStringList messages;
    QList<int> finalValues;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* window = dynamic_cast<TfrmProgress*>(watched)) {
            if (event->type() == QEvent::Show) {
                messages << window->lblMessage->text();
                finalValues << window->pbExport->value();
                connect(window->pbExport, &QProgressBar::valueChanged, this,
                        [this](int value) { finalValues.back() = value; });
            }
        }
        return false;
    }
};

class ExchangeCommandsTest : public EntryDialogTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "bo", "p1", "bank notes", "30", "12"});
        addEntry({"Mail", "", "p2", "", "", ""});
        addEntry({"Shop", "sam", "p3", "", "", ""});
        openMain();
    }

    // Answers each file dialog with the next name (empty: cancelled) and keeps what was asked.
    FileDialogSeam files{[this](const FileDialogRequest& request) {
        asked.push_back(request);
        EXPECT_FALSE(answers.empty()) << "unexpected file dialog " << request.title.toStdString();
        if (answers.empty())
            return QString();
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }};
    std::deque<QString> answers;
    std::vector<FileDialogRequest> asked;
    ProgressWatcher progress;

    QString path(const std::string& name) const { return QString::fromStdString((folder.path() / name).string()); }
};

TEST_F(ExchangeCommandsTest, ExportAsksForThePlainFileAndKeepsTheLastFileName)
{
    answers = {path("plain.txt"), path("crypt.txt")};
    script.form<TfrmExport>([&](TfrmExport& form) {
        EXPECT_TRUE(form.optEncrypted->isChecked());
        form.optPlain->setChecked(true);
        script.message(kPlainWarning, MessageIcon::Warning, MessageResult::No);
        form.cmdExportClick();
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.optPlain->isChecked());
        EXPECT_TRUE(asked.empty());
        script.message(kPlainWarning, MessageIcon::Warning, MessageResult::Yes);
        form.cmdExportClick();
        EXPECT_FALSE(form.isVisible());
    });
    frmMain->mnuFileExportClick();
    script.form<TfrmExport>([](TfrmExport& form) { form.cmdExport->click(); });
    frmMain->tbExport->trigger();
    EXPECT_TRUE(script.done());

    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, QStringLiteral("Export Passwords"));
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].fileName, QStringLiteral("passwords.txt"));
    EXPECT_EQ(asked[1].fileName, path("plain.txt"));
    EXPECT_EQ(readFile(path("plain.txt").toStdString()).substr(0, 14), "Bank\r\nbo\r\np1\r\n");
    EXPECT_EQ(readFile(path("crypt.txt").toStdString()).substr(0, 15), "VERSION 3.0.0\r\n");
    EXPECT_EQ(progress.messages, (QStringList{"Progress Message", "Progress Message"}));
    EXPECT_EQ(progress.finalValues, (QList<int>{99, 99}));
}

TEST_F(ExchangeCommandsTest, F3DoesNothingOnAnEmptyListWhereF4StillImports)
{
    script.question(QStringLiteral("Are you sure you want to delete all passwords?"), MessageResult::Yes);
    frmMain->mnuEditDeleteAllClick();
    frmMain->show();
    QApplication::setActiveWindow(frmMain.get());
    frmMain->lvPasswords->setFocus();
    QTest::keyClick(frmMain.get(), Qt::Key_F3);
    EXPECT_TRUE(asked.empty());
    answers = {QString()};
    QTest::keyClick(frmMain.get(), Qt::Key_F4);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, QStringLiteral("Import Passwords"));
    EXPECT_TRUE(script.done());
}

TEST_F(ExchangeCommandsTest, AFailedExportIsReportedAndGivesTheMainWindowBack)
{
    const QString storeFile = toQString(frmMain->store().file().string());
    const auto before = aliceValues();
    answers = {path("gone/passwords.txt"), storeFile};
    script.form<TfrmExport>([&](TfrmExport& form) {
        script.error(QStringLiteral("Cannot write the file '") + path("gone/passwords.txt") +
                     QStringLiteral("': No such file or directory."));
        form.cmdExport->click();
        EXPECT_TRUE(form.isVisible());
        // The store, in the folder an export goes to by default, is refused by its name.
        script.error(QStringLiteral("Cannot write the file '") + storeFile +
                     QStringLiteral("': it is where Keystead keeps the passwords of every user."));
        form.cmdExport->click();
        EXPECT_TRUE(form.isVisible());
        form.cmdCancel->click();
    });
    frmMain->mnuFileExportClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(aliceValues(), before);
    EXPECT_TRUE(frmMain->isEnabled());
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<TfrmProgress*>(window), nullptr);
}

TEST_F(ExchangeCommandsTest, AutomaticExportAtCloseWritesTheSettingsFileWithoutAsking)
{
    write("AutoExport", "1");
    write("AutoExportPath", path("auto.txt").toStdString());
    openMain();
    frmMain->close();
    EXPECT_EQ(readFile(path("auto.txt").toStdString()).substr(0, 15), "VERSION 3.0.0\r\n");
    EXPECT_TRUE(asked.empty());

    // A folder gone since the start: the error is shown and nothing else happens.
    std::filesystem::create_directory(folder.path() / "later");
    write("AutoExportPath", path("later/auto.txt").toStdString());
    openMain();
    std::filesystem::remove(folder.path() / "later");
    script.error(QStringLiteral("Cannot write the file '") + path("later/auto.txt") +
                 QStringLiteral("': No such file or directory."));
    frmMain->close();
    EXPECT_TRUE(script.done());
}

TEST_F(ExchangeCommandsTest, ImportRefusesWithTheDialogOpenThenReloadsTheList)
{
    WriteEncryptedExport(frmMain->store(), session, path("list.txt").toStdString());
    std::ofstream(path("short.txt").toStdString(), std::ios::binary)
        << readFile(path("list.txt").toStdString()).substr(0, 200);
    const auto before = aliceValues();

    answers = {path("short.txt")};
    script.form<TfrmImport>([&](TfrmImport& form) {
        EXPECT_TRUE(form.optAdd->isChecked());
        form.txtPassword->setText(QStringLiteral("PW"));
        script.warning(toQString(kWrongFilePasswordText));
        form.cmdDone->click();
        EXPECT_EQ(form.focusWidget(), form.txtPassword);
        form.txtPassword->setText(QStringLiteral("pw"));
        script.warning(toQString(kCorruptListText));
        form.cmdDone->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.txtPassword->text(), QStringLiteral("pw"));
        form.cmdCancel->click();
    });
    frmMain->mnuFileImportClick();
    EXPECT_EQ(aliceValues(), before);
    EXPECT_TRUE(progress.messages.isEmpty());

    answers = {path("list.txt")};
    script.form<TfrmImport>([&](TfrmImport& form) {
        form.txtPassword->setText(QStringLiteral("pw"));
        form.optOverwrite->setChecked(true);
        form.cmdDone->click();
        EXPECT_FALSE(form.isVisible());
    });
    frmMain->tbImport->trigger();
    EXPECT_TRUE(script.done());
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, QStringLiteral("Import Passwords"));
    EXPECT_FALSE(asked[0].save);
    EXPECT_EQ(asked[1].fileName, path("short.txt"));
    EXPECT_EQ(progress.messages, QStringList{"Importing..."});
    EXPECT_EQ(progress.finalValues, QList<int>{99});
    EXPECT_EQ(rowCount(), 3);
    EXPECT_EQ(session.PasswordCount, 3);
}

TEST_F(ExchangeCommandsTest, PasswordChangeChecksInOrderThenReEncrypts)
{
    struct Check {
        const char* old;
        const char* fresh;
        const char* verify;
        QString message;
        const char* focus;
    };
    const std::vector<Check> checks{
        {" ", "", "", QStringLiteral("You must enter your old password."), "txtOld"},
        {"x", "\t", "", QStringLiteral("You must enter a new password."), "txtNew"},
        {"x", "new", "", QStringLiteral("You must verify the new password."), "txtVerify"},
        {"PW", "new", "other", QStringLiteral("Your old password is incorrect."), "txtOld"},
        {" pw ", "new", "New", QStringLiteral("The password and verify password do not match."), "txtVerify"},
    };
    script.form<TfrmChangePassword>([&](TfrmChangePassword& form) {
        for (const Check& check : checks) {
            form.txtOld->setText(QString::fromLatin1(check.old));
            form.txtNew->setText(QString::fromLatin1(check.fresh));
            form.txtVerify->setText(QString::fromLatin1(check.verify));
            script.warning(check.message);
            form.cmdDone->click();
            ASSERT_NE(form.focusWidget(), nullptr);
            EXPECT_EQ(form.focusWidget()->objectName(), QLatin1String(check.focus)) << check.message.toStdString();
        }
        EXPECT_EQ(session.LogonPassword, "pw");
        form.txtVerify->setText(QStringLiteral("new "));
        form.cmdDone->click();
        EXPECT_FALSE(form.isVisible());
    });
    frmMain->mnuFilePasswordClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(session.LogonPassword, "new");
    EXPECT_EQ(progress.messages, QStringList{"Re-encrypting passwords..."});
    EXPECT_EQ(progress.finalValues, QList<int>{99});
    diamond.SetKey("new");
    EXPECT_EQ(decrypted("MainPassword"), "Alice");
    EXPECT_EQ(decrypted("Comments1"), "bank notes");
    EXPECT_EQ(rowTexts(0).front(), QStringLiteral("Bank"));
}

}  // namespace
}  // namespace keystead::test
