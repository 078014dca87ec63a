// The main window with a real store: geometry and settings at creation and close, the first
// load with its countdown and warnings, sorting, the Show/Hide toggle with protection, the status
// text and the tool buttons.

#include "../store/RawDatabase.h"
#include "GuiTest.h"
#include "crypto/Diamond.h"
#include "desktop/About.h"
#include "desktop/Options.h"
#include "desktop/ProtectList.h"
#include "entries/NewPass.h"
#include "exchange/Export.h"
#include "exchange/Import.h"
#include "mainwindow/FindLine.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/SecretClipboard.h"
#include "platform/TextConversion.h"
#include "session/ChgPass.h"
#include "session/NewUser.h"
#include "store/EntryStore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

namespace keystead::test {
namespace {

using namespace std::chrono;

const QString kExpiredHeading = QStringLiteral("The following passwords have expired:\r\n\r\n");
const QString kWrongPassword =
    QStringLiteral("The password you entered is incorrect. Please re-type it an try again.");
const QString kAutoExportInvalid = QStringLiteral(
    "The auto-export path is invalid or missing. The path will be changed to the Keystead application directory. "
    "Please make corrections in the Options/Export dialog box.");

class MainWindowTest : public GuiTest {
protected:
    void SetUp() override
    {
        addUser("Alice", "pw");
        session.CurrentUsername = "Alice";
        session.LogonPassword = "pw";
        clock.fixToday(today);
    }

    void addEntry(const std::string& description, const std::string& password, const std::string& days = "",
                  const std::string& username = "", const std::string& comments = "")
    {
        TDiamond diamond;
        diamond.SetKey("pw");
        const auto store = openStore();
        SessionState writer = session;
        EntryStore(*store, writer).append(diamond, {description, username, password, comments, days, days});
    }

    void write(const std::string& ident, const std::string& value) { openStore()->WriteString("Alice", ident, value); }
    std::string stored(const std::string& ident) { return openStore()->ReadString("Alice", ident, "<absent>"); }
    std::string dateText(sys_days date) const { return FormatShortDate(date, SystemDateSeparator()); }

    std::unique_ptr<TfrmMain> openMain() { return std::make_unique<TfrmMain>(session, storeFile, nullptr, clock); }

    static QString cell(const TfrmMain& frmMain, int row, int column)
    {
        return frmMain.listModel().index(row, column).data().toString();
    }

    static QStringList column(const TfrmMain& frmMain, int columnIndex)
    {
        QStringList texts;
        for (int row = 0; row < frmMain.listModel().rowCount(); ++row)
            texts << cell(frmMain, row, columnIndex);
        return texts;
    }

    const sys_days today = sys_days(year(2026) / 12 / 8);
    Clock clock;
};

TEST_F(MainWindowTest, FirstRunGeometryAndDefaults)
{
    const auto frmMain = openMain();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(frmMain->size(), QSize(487, 397));
    EXPECT_EQ(frmMain->pos(), QPoint((screen.width() - 487) / 2, (screen.height() - 397) / 2));
    EXPECT_EQ(frmMain->lvPasswords->columnWidth(0), 200);
    EXPECT_EQ(frmMain->lvPasswords->columnWidth(1), 85);
    EXPECT_EQ(frmMain->lvPasswords->columnWidth(2), 115);
    EXPECT_EQ(frmMain->lvPasswords->columnWidth(3), 75);
    frmMain->show();
    EXPECT_EQ(frmMain->lvPasswords->height(), 217);
    EXPECT_TRUE(frmMain->lvPasswords->detailsStyle());
    EXPECT_TRUE(session.ShowPasswordsOn);
    EXPECT_TRUE(frmMain->tbShowPasswords->isChecked());
    EXPECT_EQ(frmMain->mnuViewShow->text(), QStringLiteral("Hide &Passwords"));
    EXPECT_FALSE(frmMain->alwaysOnTop());
    EXPECT_EQ(frmMain->windowTitle(), QStringLiteral("Keystead - Alice"));
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("0 passwords in list"));
    EXPECT_FALSE(frmMain->tbPrint->isEnabled());
    EXPECT_FALSE(frmMain->tbExport->isEnabled());
    EXPECT_FALSE(frmMain->tbCut->isEnabled());
    EXPECT_TRUE(script.done());
}

TEST_F(MainWindowTest, SavedGeometryIsPulledOntoTheScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    write("MainWindowLeft", "-50");
    write("MainWindowTop", std::to_string(screen.height() - 100));
    write("MainWindowWidth", "300");
    write("MainWindowHeight", "200");
    write("ListHeight", "10");
    const auto frmMain = openMain();
    EXPECT_EQ(frmMain->pos(), QPoint(0, screen.height() - 200));
    EXPECT_EQ(frmMain->size(), QSize(300, 200));
    frmMain->show();
    EXPECT_EQ(frmMain->lvPasswords->height(), 30);

    write("MainWindowLeft", std::to_string(screen.width() - 100));
    EXPECT_EQ(openMain()->pos().x(), screen.width() - 300);

    // Values near the ends of the integer range must not overflow on the way.
    write("MainWindowLeft", "2147483600");
    write("MainWindowTop", "2147483647");
    write("Column1Width", "2147483647");
    EXPECT_EQ(openMain()->pos(), QPoint(screen.width() - 300, screen.height() - 200));
    write("MainWindowLeft", "-2147483648");
    write("MainWindowWidth", "2147483647");
    EXPECT_EQ(openMain()->pos().x(), 0);
}

// Drawing a 1 MB value measured all of it on every repaint; the list shows its start and the
// commands still take it whole.
TEST_F(MainWindowTest, AVeryLongValueIsShownShortenedAndCopiedWhole)
{
    std::string password = "x";
    for (int i = 0; i < 500000; ++i)
        password += "\xC3\xA9";   // é, two bytes, so that a cut in bytes can split one
    addEntry("Bank", password);
    const auto frmMain = openMain();
    const QString shown = cell(*frmMain, 0, 2);
    EXPECT_LE(shown.size(), 4097);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("x\u00E9\u00E9"))) << shown.left(10).toStdString();
    EXPECT_EQ(shown.back(), QChar(0x2026));
    EXPECT_EQ(shown.count(QChar(0x00E9)), shown.size() - 2);

    frmMain->show();
    frmMain->lvPasswords->selectRow(0);
    frmMain->lvPasswords->details().setFocus();
    frmMain->mnuEditCopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), toQString(password));
}

TEST_F(MainWindowTest, ARunEndedWithoutItsCloseDoesNotCountTheSameDaysAgain)
{
    addEntry("Bank", "p", "10");
    write("LastUsed", dateText(today - days(3)));
    openMain();   // destroyed without its close, as a killed run
    EXPECT_EQ(stored("DaysTillExpiration1"), "7");
    EXPECT_EQ(stored("LastUsed"), dateText(today));
    const auto second = openMain();
    EXPECT_EQ(stored("DaysTillExpiration1"), "7");
    EXPECT_EQ(cell(*second, 0, 3), QStringLiteral("Expires in 7 Days"));
}

TEST_F(MainWindowTest, CloseWritesGeometryStateAndViewStyle)
{
    write("Column2Width", "99");
    {
        const auto frmMain = openMain();
        frmMain->resize(520, 410);
        frmMain->move(10, 20);
        frmMain->lvPasswords->setColumnWidth(0, 150);
        frmMain->mnuViewTopClick();
        frmMain->setViewStyle(false);
        frmMain->show();
        frmMain->sptMainSplitter->setSizes({150, 100});
        frmMain->close();
    }
    EXPECT_EQ(stored("MainWindowLeft"), "10");
    EXPECT_EQ(stored("MainWindowTop"), "20");
    EXPECT_EQ(stored("MainWindowWidth"), "520");
    EXPECT_EQ(stored("MainWindowHeight"), "410");
    EXPECT_EQ(stored("Column1Width"), "150");
    EXPECT_EQ(stored("Column2Width"), "99");
    EXPECT_EQ(stored("Column4Width"), "75");
    EXPECT_EQ(stored("LastUsed"), dateText(today));
    EXPECT_EQ(stored("AlwaysOnTop"), "1");
    EXPECT_EQ(stored("ListHeight"), "150");
    EXPECT_EQ(readOption("ViewStyle"), "0");

    // The next start takes all of it back; the view style is shared by every user.
    const auto again = openMain();
    EXPECT_EQ(again->size(), QSize(520, 410));
    EXPECT_TRUE(again->alwaysOnTop());
    EXPECT_FALSE(again->lvPasswords->detailsStyle());
    EXPECT_EQ(again->lvPasswords->columnWidth(0), 150);
    again->show();
    EXPECT_EQ(again->lvPasswords->height(), 150);
}

TEST_F(MainWindowTest, CountdownRunsOnceAtTheFirstLoad)
{
    addEntry("Bank", "p", "5");
    write("LastUsed", dateText(today - days(3)));
    const auto frmMain = openMain();
    EXPECT_EQ(cell(*frmMain, 0, 3), QStringLiteral("Expires in 2 Days"));
    EXPECT_EQ(stored("DaysTillExpiration1"), "2");
    frmMain->LoadPasswordList();
    EXPECT_EQ(cell(*frmMain, 0, 3), QStringLiteral("Expires in 2 Days"));
    EXPECT_EQ(stored("DaysTillExpiration1"), "2");
    EXPECT_TRUE(script.done());
}

TEST_F(MainWindowTest, FutureLastUsedRaisesAndUnreadableLastUsedCountsNothing)
{
    addEntry("Bank", "p", "5");
    write("LastUsed", dateText(today + days(4)));
    openMain();
    EXPECT_EQ(stored("DaysTillExpiration1"), "9");

    write("LastUsed", "yesterday");
    openMain();
    EXPECT_EQ(stored("DaysTillExpiration1"), "9");
}

TEST_F(MainWindowTest, ExpiryTextsAndTheExpiredWarningInEntryOrder)
{
    addEntry("Zulu", "p", "1");
    addEntry("Mike", "p", "0");
    addEntry("Alpha", "p", "-1");
    addEntry("Kilo", "p", "-7");
    addEntry("Plain", "p");
    write("LastUsed", dateText(today));
    script.warning(kExpiredHeading + QStringLiteral("Mike\r\nAlpha\r\nKilo\r\n"));
    const auto frmMain = openMain();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(column(*frmMain, 0), (QStringList{"Alpha", "Kilo", "Mike", "Plain", "Zulu"}));
    EXPECT_EQ(column(*frmMain, 3), (QStringList{"Expired 1 Day Ago", "Expired 7 Days Ago", "Expired Today", "",
                                                "Expires in 1 Day"}));
    EXPECT_EQ(script.shown().front().owner, frmMain.get());
}

TEST_F(MainWindowTest, AutoExportPathWarningComesBeforeTheExpiredWarning)
{
    addEntry("Old", "p", "0");
    write("AutoExport", "1");
    write("AutoExportPath", (folder.path() / "gone" / "passwords.txt").string());
    script.warning(kAutoExportInvalid);
    script.warning(kExpiredHeading + QStringLiteral("Old\r\n"));
    const auto frmMain = openMain();
    EXPECT_TRUE(script.done());
    const std::string path = stored("AutoExportPath");
    EXPECT_EQ(path.substr(path.size() - 19), "/password-Alice.txt");
}

TEST_F(MainWindowTest, AutoExportPathThatExistsIsKept)
{
    const std::string path = (folder.path() / "passwords.txt").string();
    write("AutoExport", "1");
    write("AutoExportPath", path);
    openMain();
    EXPECT_EQ(stored("AutoExportPath"), path);
    EXPECT_TRUE(script.done());
}

TEST_F(MainWindowTest, AutoExportPathWithoutAFolderIsReplaced)
{
    write("AutoExport", "1");
    write("AutoExportPath", "passwords.txt");
    script.warning(kAutoExportInvalid);
    openMain();
    EXPECT_TRUE(script.done());
    // The store's folder: the program's own folder is not writable once installed.
    EXPECT_EQ(stored("AutoExportPath"), (folder.path() / "password-Alice.txt").string());
}

// One stored value of the wrong type makes the reload fail: the list keeps its rows and repaints,
// and the sort column stays as it was.
TEST_F(MainWindowTest, AFailedReloadKeepsTheListAndTheSortColumn)
{
    addEntry("Bank", "p1", "", "zed");
    addEntry("Mail", "p2", "", "amy");
    const auto frmMain = openMain();
    RawDatabase(storeFile).exec("UPDATE section_values SET value = x'0102' WHERE ident = 'Password2'");
    script.error(QStringLiteral("Invalid data type for 'Password2'"));
    frmMain->lvPasswordsColumnClick(1);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(column(*frmMain, 0), (QStringList{QStringLiteral("Bank"), QStringLiteral("Mail")}));
    EXPECT_TRUE(frmMain->lvPasswords->updatesEnabled());
    EXPECT_EQ(frmMain->settings().sortColumn, 0);
    EXPECT_EQ(stored("SortColumn"), "<absent>");
}

TEST_F(MainWindowTest, TheStatusBarShowsItsPanelsWhole)
{
    const auto frmMain = openMain();
    frmMain->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain.get()));
    frmMain->sbMessagePanel1->setText(QStringLiteral("Connecting to the Vorrent Web site"));
    for (const QLabel* panel : {frmMain->sbMessagePanel0, frmMain->sbMessagePanel1}) {
        EXPECT_GE(panel->height(), panel->sizeHint().height());
        EXPECT_GE(panel->width(), panel->sizeHint().width()) << panel->text().toStdString();
    }
}

TEST_F(MainWindowTest, SortsByEachColumnWithTheCaseRule)
{
    addEntry("beta", "3", "", "Xavier");
    addEntry("Alpha", "1", "", "yvonne");
    addEntry("zulu", "2", "", "anne");
    const auto frmMain = openMain();
    EXPECT_EQ(column(*frmMain, 0), (QStringList{"Alpha", "beta", "zulu"}));

    frmMain->lvPasswordsColumnClick(1);
    EXPECT_EQ(column(*frmMain, 1), (QStringList{"anne", "Xavier", "yvonne"}));
    EXPECT_EQ(stored("SortColumn"), "1");
    frmMain->lvPasswordsColumnClick(2);
    EXPECT_EQ(column(*frmMain, 2), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(stored("SortColumn"), "2");
}

TEST_F(MainWindowTest, HiddenPasswordsSortTheCipherText)
{
    addEntry("beta", "3");
    addEntry("Alpha", "1");
    addEntry("zulu", "2");
    write("ShowPasswords", "0");
    write("ShowSystem", "0");
    write("SortColumn", "0");
    const auto frmMain = openMain();
    QStringList descriptions = column(*frmMain, 0);
    for (const QString& text : descriptions)
        EXPECT_TRUE(text.endsWith(QLatin1Char('.'))) << text.toStdString();
    QStringList expected = descriptions;
    std::sort(expected.begin(), expected.end(),
              [](const QString& a, const QString& b) { return toBytes(a.toLower()) < toBytes(b.toLower()); });
    EXPECT_EQ(descriptions, expected);
}

TEST_F(MainWindowTest, ExpirationHeaderAndCurrentColumnDoNothing)
{
    addEntry("b", "p");
    addEntry("a", "p");
    const auto frmMain = openMain();
    frmMain->lvPasswordsColumnClick(3);
    frmMain->lvPasswordsColumnClick(0);
    EXPECT_EQ(stored("SortColumn"), "<absent>");
    QTest::mouseClick(frmMain->lvPasswords->details().horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(frmMain->lvPasswords->details().horizontalHeader()->sectionPosition(3) + 5, 5));
    EXPECT_EQ(stored("SortColumn"), "<absent>");
    EXPECT_EQ(column(*frmMain, 0), (QStringList{"a", "b"}));
}

TEST_F(MainWindowTest, ToggleWithoutProtection)
{
    addEntry("Bank", "secret");
    const auto frmMain = openMain();
    frmMain->mnuViewShowClick();
    EXPECT_FALSE(session.ShowPasswordsOn);
    EXPECT_FALSE(frmMain->tbShowPasswords->isChecked());
    EXPECT_EQ(frmMain->mnuViewShow->text(), QStringLiteral("Show &Passwords"));
    EXPECT_EQ(stored("ShowPasswords"), "0");
    EXPECT_NE(cell(*frmMain, 0, 2), QStringLiteral("secret"));
    EXPECT_EQ(cell(*frmMain, 0, 0), QStringLiteral("Bank"));

    frmMain->tbShowPasswords->trigger();
    EXPECT_TRUE(session.ShowPasswordsOn);
    EXPECT_TRUE(frmMain->tbShowPasswords->isChecked());
    EXPECT_EQ(stored("ShowPasswords"), "1");
    EXPECT_EQ(cell(*frmMain, 0, 2), QStringLiteral("secret"));
}

// The toggle changes together with its stored value or not at all: a toggle the list does not
// follow would have every later command read the shown texts as the other kind.
TEST_F(MainWindowTest, AToggleThatCannotBeStoredChangesNothing)
{
    addEntry("Bank", "secret", "", "bo");
    const auto frmMain = openMain();
    RawDatabase(storeFile).exec("CREATE TRIGGER refuse BEFORE INSERT ON section_values WHEN NEW.ident = "
                                "'ShowPasswords' BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    script.error(QStringLiteral("Failed to set data for 'ShowPasswords'"));
    frmMain->mnuViewShowClick();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(session.ShowPasswordsOn);
    EXPECT_TRUE(frmMain->tbShowPasswords->isChecked());
    EXPECT_EQ(frmMain->mnuViewShow->text(), QStringLiteral("Hide &Passwords"));
    EXPECT_EQ(column(*frmMain, 1), QStringList{QStringLiteral("bo")});
    EXPECT_EQ(column(*frmMain, 2), QStringList{QStringLiteral("secret")});
    EXPECT_EQ(stored("ShowPasswords"), "<absent>");
}

TEST_F(MainWindowTest, ToggleWithProtectionAsksForTheLogonPassword)
{
    addEntry("Bank", "secret");
    write("ShowPasswords", "0");
    write("ProtectToggle", "1");
    const auto frmMain = openMain();

    script.form<TfrmProtectList>([&](TfrmProtectList& prompt) {
        prompt.txtPassword->setText(QStringLiteral("PW"));
        prompt.cmdDone->click();
        EXPECT_EQ(prompt.txtPassword->text(), QStringLiteral("PW"));
        prompt.txtPassword->setText(QStringLiteral("pw"));
        prompt.cmdDone->click();
    });
    script.warning(kWrongPassword);
    // The wrong password's message comes while the prompt is open, so it is scripted after it.
    frmMain->tbShowPasswords->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(session.ShowPasswordsOn);
    EXPECT_FALSE(session.ProtectPromptPassed);
    EXPECT_EQ(cell(*frmMain, 0, 2), QStringLiteral("secret"));
}

TEST_F(MainWindowTest, CancelledPromptChangesNothing)
{
    addEntry("Bank", "secret");
    write("ShowPasswords", "0");
    write("ProtectToggle", "1");
    const auto frmMain = openMain();
    script.form<TfrmProtectList>([](TfrmProtectList& prompt) { prompt.cmdCancel->click(); });
    frmMain->tbShowPasswords->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_FALSE(session.ShowPasswordsOn);
    EXPECT_FALSE(frmMain->tbShowPasswords->isChecked());
    EXPECT_EQ(stored("ShowPasswords"), "0");

    // Protected commands are guarded the same way.
    script.form<TfrmProtectList>([](TfrmProtectList& prompt) { prompt.close(); });
    EXPECT_FALSE(frmMain->ProtectionCheck());
    EXPECT_TRUE(script.done());
}

TEST_F(MainWindowTest, StatusTextAndToolButtonsFollowTheList)
{
    addEntry("Bank", "p");
    auto frmMain = openMain();
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("1 password in list"));
    EXPECT_TRUE(frmMain->tbPrint->isEnabled());
    EXPECT_FALSE(frmMain->tbDelete->isEnabled());

    frmMain->lvPasswords->selectRow(0);
    EXPECT_TRUE(frmMain->tbDelete->isEnabled());
    EXPECT_EQ(session.ReselectCaption, "Bank");
    addEntry("Mail", "p");
    frmMain->LoadPasswordList();
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("2 passwords in list"));
    EXPECT_EQ(frmMain->lvPasswords->selectedRow(), 0);
    EXPECT_TRUE(frmMain->tbCut->isEnabled());
    EXPECT_TRUE(frmMain->tbCopy->isEnabled());
}

TEST_F(MainWindowTest, ReselectionWithHiddenDescriptionsLosesTheSelection)
{
    addEntry("Bank", "p");
    write("ShowSystem", "0");
    const auto frmMain = openMain();
    frmMain->lvPasswords->selectRow(0);
    frmMain->mnuViewShowClick();
    EXPECT_LT(frmMain->lvPasswords->selectedRow(), 0);
    EXPECT_FALSE(frmMain->tbCut->isEnabled());
    EXPECT_FALSE(frmMain->tbDelete->isEnabled());
}

TEST_F(MainWindowTest, NotesPaneShowsTheSelectedComments)
{
    addEntry("Bank", "p", "", "", "line one\r\nline two");
    const auto frmMain = openMain();
    frmMain->lvPasswords->selectRow(0);
    EXPECT_EQ(frmMain->notesText(), "line one\r\nline two");
}

// What Keystead copied is cleared at close only when so set.
TEST_F(MainWindowTest, ClipboardIsClearedAtCloseOnlyWhenSoSet)
{
    PutOnClipboard(QStringLiteral("copied"), ClipboardText::Secret);
    openMain()->close();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());

    write("ClearClipboard", "0");
    PutOnClipboard(QStringLiteral("copied"), ClipboardText::Secret);
    openMain()->close();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("copied"));
}

TEST_F(MainWindowTest, DamagedExpiryValueShowsNoExpiry)
{
    addEntry("Bank", "p", "5");
    write("DaysTillExpiration1", "5 days");
    write("LastUsed", dateText(today - days(2)));
    const auto frmMain = openMain();
    EXPECT_EQ(cell(*frmMain, 0, 3), QString());
    EXPECT_EQ(stored("DaysTillExpiration1"), "5 days");
}

// None of the dialogs has a cancel button: Escape, which reaches the dialog from its controls,
// closes none of them.
TEST_F(MainWindowTest, EscapeClosesNoDialog)
{
    const auto frmMain = openMain();
    const auto expectKeptOpen = [](QDialog& dialog) {
        dialog.show();
        QTest::keyClick(dialog.findChild<QPushButton*>(), Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible()) << dialog.objectName().toStdString();
    };
    QComboBox logonUsername;
    TfrmNewUser newUser(logonUsername, storeFile, nullptr);
    TfrmChangePassword change(session, frmMain->store(), [] {}, frmMain.get());
    TfrmImport import(session, frmMain->store(), folder.path() / "list.txt", [] {}, frmMain.get());
    TfrmExport exportType(frmMain->exportCommands(), frmMain.get());
    TfrmNewPassword entry(session, frmMain->store(), *frmMain, frmMain.get());
    TfrmAbout about(frmMain.get());
    for (QDialog* dialog : std::initializer_list<QDialog*>{&newUser, &change, &import, &exportType, &entry, &about})
        expectKeptOpen(*dialog);

    script.form<TfrmOptions>([&](TfrmOptions& form) {
        expectKeptOpen(form);
        form.cmdCancel->click();
    });
    frmMain->mnuViewOptions->trigger();
    EXPECT_TRUE(script.done());
}

TEST_F(MainWindowTest, FindFiltersOnShownTextsWithCaseFoldingAndKeepsTheSelection)
{
    addEntry("Bank", "pin", "", "JDOE", "Gr\u00FC\u00DFe \u00D6lstra\u00DFe 5");
    addEntry("Mail", "bankpw", "", "alice");
    addEntry("\u03A3\u039F\u03A6\u0399\u0391 shop", "x");
    const auto frmMain = openMain();
    frmMain->show();
    const auto find = [&](const char* text) {
        frmMain->txtFind->clear();
        frmMain->txtFind->insert(QString::fromUtf8(text));
        return column(*frmMain, 0);
    };
    frmMain->mnuEditFind->trigger();
    ASSERT_TRUE(frmMain->txtFind->isVisible());
    // The texts are prepared once the line is up; the keys below compare the prepared texts.
    QCoreApplication::processEvents();
    frmMain->lvPasswords->selectRow(0);   // Bank

    EXPECT_EQ(find("\u00F6LSTR"), (QStringList{"Bank"}));
    EXPECT_EQ(frmMain->lvPasswords->selectedRow(), 0);
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("1 of 3 passwords in list"));
    EXPECT_EQ(find("jdoe"), (QStringList{"Bank"}));
    EXPECT_EQ(find("\u03C3\u03BF\u03C6\u03B9\u03B1"), (QStringList{"\u03A3\u039F\u03A6\u0399\u0391 shop"}));
    EXPECT_EQ(frmMain->lvPasswords->selectedRow(), -1);
    EXPECT_EQ(find("bankpw"), QStringList());   // passwords are never searched
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("0 of 3 passwords in list"));

    QTest::keyClick(frmMain->txtFind, Qt::Key_Escape);
    EXPECT_FALSE(frmMain->txtFind->isVisible());
    EXPECT_FALSE(frmMain->isMinimized()) << "Escape in the find line closes it alone";
    EXPECT_EQ(column(*frmMain, 0).size(), 3);
    EXPECT_EQ(frmMain->sbMessagePanel0->text(), QStringLiteral("3 passwords in list"));
}

// Find keeps the texts it compares while the find line is open; a list reloaded meanwhile (another
// window's change) is searched by its new texts.
TEST_F(MainWindowTest, FindSearchesTheTextsOfAListReloadedWhileItIsOpen)
{
    addEntry("Bank", "pin", "", "jdoe");
    const auto frmMain = openMain();
    frmMain->mnuEditFind->trigger();
    frmMain->txtFind->setText(QStringLiteral("jdoe"));
    ASSERT_EQ(frmMain->listModel().rowCount(), 1);

    TDiamond diamond;
    diamond.SetKey("pw");
    write("Username1", diamond.EncryptToCipherString("mmax"));
    frmMain->LoadPasswordList();
    EXPECT_EQ(frmMain->listModel().rowCount(), 0);
    frmMain->txtFind->setText(QStringLiteral("MMAX"));
    EXPECT_EQ(frmMain->listModel().rowCount(), 1);
}

TEST_F(MainWindowTest, FindWithPasswordsHiddenSearchesOnlyWhatIsShownDecrypted)
{
    addEntry("Bank", "pin", "", "jdoe", "branch notes");
    write("ShowPasswords", "0");
    write("ShowSystem", "1");
    write("ShowComments", "0");
    const auto frmMain = openMain();
    frmMain->show();
    frmMain->mnuEditFind->trigger();
    for (const char* hidden : {"jdoe", "branch", "pin"}) {
        frmMain->txtFind->setText(QString::fromLatin1(hidden));
        EXPECT_EQ(frmMain->listModel().rowCount(), 0) << hidden;
    }
    frmMain->txtFind->setText(QStringLiteral("BANK"));
    EXPECT_EQ(frmMain->listModel().rowCount(), 1);
}

}  // namespace
}  // namespace keystead::test
