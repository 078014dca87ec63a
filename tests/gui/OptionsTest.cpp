// The options dialog over a real store: Done rewrites every setting and reloads the list only when
// what it shows changed, a bad export path blocks Done, the check boxes that depend on others, the
// pickers' starting points, and minimising where the desktop has no tray.

#include "../store/RawDatabase.h"
#include "EntryDialogTest.h"
#include "desktop/Options.h"
#include "mainwindow/TrayMinimize.h"
#include "platform/Pickers.h"
#include "platform/TBNArea.h"
#include "platform/TextConversion.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <filesystem>

namespace keystead::test {
namespace {

class OptionsTest : public EntryDialogTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "bo", "p1", "", "", ""});
        std::filesystem::create_directory(folder.path() / "Backup");
        exportPath = (folder.path() / "Backup" / "Pass.TXT").string();
        write("AutoExportPath", exportPath);
    }

    // Runs the dialog from View > Options...; steps fill it in and close it, after the warnings
    // they should bring.
    void options(std::function<void(TfrmOptions&)> steps, const QStringList& warnings = {})
    {
        script.form<TfrmOptions>(std::move(steps));
        for (const QString& warning : warnings)
            script.warning(warning);
        frmMain->mnuViewOptions->trigger();
        EXPECT_TRUE(script.done());
    }

    std::string exportPath;
};

TEST_F(OptionsTest, DoneWithoutChangesRewritesEverySettingAndKeepsTheList)
{
    write("URLColor", "clhighlight");
    write("MinimizeToTray", "0");
    write("PasswordProtectTray", "1");
    writeOption("LastUsername", "Bob");
    openMain();
    // Added behind the window's back: a reload would show it.
    addEntry({"Mail", "", "p2", "", "", ""});
    options([](TfrmOptions& form) { form.cmdDone->click(); });

    EXPECT_EQ(rowCount(), 1) << "nothing shown changed: no reload";
    const auto values = aliceValues();
    const std::map<std::string, std::string> expected = {
        {"SortColumn", "0"},          {"DeleteWarning", "1"},   {"AutoExport", "0"},
        {"ShowSystem", "1"},          {"ShowComments", "1"},    {"ProtectToggle", "0"},
        {"ClearClipboard", "1"},      {"ClipboardClearSeconds", "30"}, {"ShowGridlines", "0"},   {"MinimizeToTray", "0"},
        {"LockIdleMinutes", "0"},     {"LockOnScreenLock", "1"},
        {"PasswordProtectTray", "0"}, {"AutoExportPath", exportPath},
        {"ListFontName", "MS Sans Serif"}, {"NotesFontName", "MS Sans Serif"},
        {"ListFontSize", "8"},        {"NotesFontSize", "8"},   {"URLColor", "clHighlight"}};
    for (const auto& [ident, value] : expected)
        EXPECT_EQ(values.count(ident) ? values.at(ident) : "<absent>", value) << ident;
    EXPECT_EQ(readOption("FancyLogon"), "1");
    EXPECT_EQ(readOption("UseLastUsername"), "0");
    EXPECT_EQ(readOption("LastUsername"), "");
}

// The window runs on no setting the store did not keep; once the store takes the write, the same
// Done applies it.
TEST_F(OptionsTest, SettingsThatCannotBeStoredAreNotApplied)
{
    addEntry({"alpha", "zed", "p2", "", "", ""});
    openMain();
    RawDatabase(storeFile).exec("CREATE TRIGGER refuse BEFORE INSERT ON section_values WHEN NEW.ident = "
                                "'NotesFontSize' BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    options([this](TfrmOptions& form) {
        form.rgSortItems->button(1)->setChecked(true);
        form.chkGridlines->setChecked(true);
        script.error(QStringLiteral("Failed to set data for 'NotesFontSize'"));
        form.cmdDone->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(frmMain->settings().sortColumn, 0);
        EXPECT_FALSE(frmMain->settings().showGridlines);
        EXPECT_FALSE(frmMain->lvPasswords->details().showGrid());

        RawDatabase(storeFile).exec("DROP TRIGGER refuse;");
        form.cmdDone->click();
    });
    EXPECT_EQ(frmMain->settings().sortColumn, 1);
    EXPECT_TRUE(frmMain->lvPasswords->details().showGrid());
    EXPECT_EQ(rowTexts(0).front(), QStringLiteral("Bank")) << "sorted by user name";
    EXPECT_EQ(stored("ShowGridlines"), "1");
}

TEST_F(OptionsTest, ABadExportPathBlocksDoneEvenWithTheExportOff)
{
    openMain();
    addEntry({"Mail", "", "p2", "", "", ""});
    const std::string backup = (folder.path() / "Backup").string();
    const QString badFolder = QStringLiteral("The export path is invalid.");
    options([&](TfrmOptions& form) {
        EXPECT_FALSE(form.txtExportPath->isEnabled());
        form.chkWarn->setChecked(false);
        form.rgSortItems->button(2)->setChecked(true);
        for (const std::string& bad : {backup + "/", std::string("passwords.txt"), backup + "/gone/p.txt"}) {
            form.txtExportPath->setText(toQString(bad));
            form.cmdDone->click();
            EXPECT_TRUE(form.isVisible());
        }
        EXPECT_TRUE(frmMain->settings().deleteWarning) << "nothing taken over";
        form.txtExportPath->setText(toQString(backup + "/p.txt  "));
        form.cmdDone->click();
    }, {QStringLiteral("The export filename is invalid."), badFolder, badFolder});
    EXPECT_EQ(stored("DeleteWarning"), "0");
    EXPECT_EQ(stored("AutoExportPath"), backup + "/p.txt");
    EXPECT_EQ(rowCount(), 2) << "the sort column changed: the list is read again";
}

// The offscreen platform has no tray, as a desktop without one: the tray boxes protect nothing
// there and are disabled, and Done keeps what they hold. Their rules with a tray: TrayTest.
TEST_F(OptionsTest, TrayBoxesAreDisabledWithoutATrayAndTheLastUsernameBoxIsTakenOver)
{
    write("MinimizeToTray", "1");
    write("PasswordProtectTray", "1");
    openMain();
    options([](TfrmOptions& form) {
        EXPECT_TRUE(form.chkMinimizeToTray->isChecked());
        EXPECT_TRUE(form.chkPasswordProtectTray->isChecked());
        EXPECT_FALSE(form.chkMinimizeToTray->isEnabled());
        EXPECT_FALSE(form.chkPasswordProtectTray->isEnabled());
        form.chkUseLastUsername->click();
        form.cmdDone->click();
    });
    EXPECT_EQ(stored("MinimizeToTray"), "1");
    EXPECT_EQ(stored("PasswordProtectTray"), "1");
    // Remembered even though no logon window ever wrote it.
    EXPECT_EQ(readOption("UseLastUsername"), "1");
    EXPECT_EQ(readOption("LastUsername"), "Alice");
}

// Unchecked means never (0); the box keeps a usable count to offer when checked again.
TEST_F(OptionsTest, ClipboardClearingIsOffOrACountOfSeconds)
{
    openMain();
    options([](TfrmOptions& form) {
        EXPECT_TRUE(form.chkClearAfter->isChecked());
        EXPECT_EQ(form.txtClearSeconds->value(), 30);
        form.chkClearAfter->click();
        EXPECT_FALSE(form.txtClearSeconds->isEnabled());
        form.cmdDone->click();
    });
    EXPECT_EQ(stored("ClipboardClearSeconds"), "0");
    EXPECT_EQ(frmMain->settings().clipboardClearSeconds, 0);
    options([](TfrmOptions& form) {
        EXPECT_FALSE(form.chkClearAfter->isChecked());
        EXPECT_FALSE(form.txtClearSeconds->isEnabled());
        EXPECT_EQ(form.txtClearSeconds->minimum(), 1);
        EXPECT_EQ(form.txtClearSeconds->maximum(), 999);
        form.chkClearAfter->click();
        form.txtClearSeconds->setValue(5);
        form.cmdDone->click();
    });
    EXPECT_EQ(stored("ClipboardClearSeconds"), "5");
}

// The idle lock is off (0) until minutes are set; the lock on the desktop's screen lock is on.
TEST_F(OptionsTest, TheLockIsSetOnTheSecurityTab)
{
    openMain();
    options([](TfrmOptions& form) {
        EXPECT_FALSE(form.chkLockAfter->isChecked());
        EXPECT_FALSE(form.txtLockMinutes->isEnabled());
        EXPECT_TRUE(form.chkLockOnScreenLock->isChecked());
        form.chkLockAfter->click();
        EXPECT_TRUE(form.txtLockMinutes->isEnabled());
        form.txtLockMinutes->setValue(15);
        form.chkLockOnScreenLock->click();
        form.cmdDone->click();
    });
    EXPECT_EQ(stored("LockIdleMinutes"), "15");
    EXPECT_EQ(stored("LockOnScreenLock"), "0");
    EXPECT_EQ(frmMain->settings().lockIdleMinutes, 15);
    EXPECT_FALSE(frmMain->settings().lockOnScreenLock);
}

TEST_F(OptionsTest, PickersStartFromTheSettingInEffectTheRunsColourAndTheFolderChosen)
{
    openMain();
    PickerSeam pickers;
    QList<QFont> fontsShown;
    QList<QColor> coloursShown;
    QStringList foldersShown;
    pickers.onFont = [&](const QFont& initial) {
        fontsShown << initial;
        return std::optional(QFont(QStringLiteral("DejaVu Serif"), 14));
    };
    pickers.onColor = [&](const QColor& initial) {
        coloursShown << initial;
        return std::optional(QColor(255, 0, 0));
    };
    const QString chosen = toQString(folder.path().string());
    pickers.onFolder = [&](const QString& start) {
        foldersShown << start;
        return chosen;
    };
    options([&](TfrmOptions& form) {
        form.cmdListFont->click();
        form.cmdListFont->click();
        EXPECT_EQ(form.txtListFont->text(), QStringLiteral("DejaVu Serif"));
        form.pnlColorClick();
        form.chkAutoExport->click();
        form.txtExportPath->clear();
        form.cmdBrowse->click();
        EXPECT_EQ(form.txtExportPath->text(), chosen + QStringLiteral("/password-Alice.txt"));
        form.cmdBrowse->click();
        form.cmdDone->click();
    });
    ASSERT_EQ(fontsShown.size(), 2);
    for (const QFont& font : fontsShown) {
        EXPECT_EQ(font.family(), QStringLiteral("MS Sans Serif")) << "the font in effect, not the one just chosen";
        EXPECT_EQ(font.pointSize(), 8);
    }
    EXPECT_EQ(foldersShown, (QStringList{QString(), chosen}));
    EXPECT_EQ(stored("ListFontName"), "DejaVu Serif");
    EXPECT_EQ(stored("ListFontSize"), "14");
    EXPECT_EQ(stored("URLColor"), "clRed");

    // The next opening starts the colour dialog on the colour chosen in the first. The colour
    // panel takes the focus and Space opens the dialog, as a click does.
    options([](TfrmOptions& form) {
        EXPECT_TRUE(form.pnlColor->focusPolicy() & Qt::TabFocus);
        QTest::keyClick(form.pnlColor, Qt::Key_Space);
        form.cmdCancel->click();
    });
    EXPECT_EQ(coloursShown, (QList<QColor>{Qt::black, QColor(255, 0, 0)}));
}

// Offscreen has no tray: a hidden window would have no way back, so it stays minimised.
TEST_F(OptionsTest, WithoutATrayMinimisingKeepsTheWindowOnTheTaskbar)
{
    write("MinimizeToTray", "1");
    openMain();
    frmMain->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain.get()));
    frmMain->showMinimized();
    ASSERT_TRUE(frmMain->isMinimized());
    // The minimise handler runs queued after the minimise; a call queued behind it has run once
    // the handler has decided.
    bool handled = false;
    QMetaObject::invokeMethod(frmMain.get(), [&handled] { handled = true; }, Qt::QueuedConnection);
    ASSERT_TRUE(QTest::qWaitFor([&handled] { return handled; }, 10000));
    EXPECT_TRUE(frmMain->isVisible());
    EXPECT_FALSE(frmMain->findChild<TTrayMinimize*>()->TBNArea1->Enabled());
}

}  // namespace
}  // namespace keystead::test
