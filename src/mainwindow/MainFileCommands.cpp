// The main window's File menu commands that work on the whole list: export, import, the restore of
// a backup and the change of the logon password, and the automatic export at close. The forms do the work; the main window
// guards the commands and opens the forms.

#include "mainwindow/Main.h"

#include "exchange/Export.h"
#include "exchange/ExportCommands.h"
#include "exchange/Import.h"
#include "mainwindow/BackupNotice.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/RestoreBackup.h"
#include "mainwindow/SecretClipboard.h"
#include "platform/ErrorDisplay.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ModalForm.h"
#include "platform/TextConversion.h"
#include "platform/WaitCursor.h"
#include "session/ChgPass.h"
#include "session/LogonCheck.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreBackups.h"

#include <QAction>
#include <QFile>

namespace keystead {

void TfrmMain::connectFileCommands()
{
    connect(mnuFileExport, &QAction::triggered, this, &TfrmMain::mnuFileExportClick);
    connect(tbExport, &QAction::triggered, this, &TfrmMain::mnuFileExportClick);
    connect(mnuFileImport, &QAction::triggered, this, &TfrmMain::mnuFileImportClick);
    connect(tbImport, &QAction::triggered, this, &TfrmMain::mnuFileImportClick);
    connect(mnuFilePassword, &QAction::triggered, this, &TfrmMain::mnuFilePasswordClick);
    connect(mnuFileRestore, &QAction::triggered, this, &TfrmMain::mnuFileRestoreClick);
}

void TfrmMain::mnuFileExportClick()
{
    // The menu item is enabled only with entries; its shortcut must not export an empty list either.
    if (session_.PasswordCount == 0 || !ProtectionCheck())
        return;
    runGuarded(this, [this] {
        TfrmExport frmExport(*exportCommands_, this);
        showModal(frmExport);
    });
}

void TfrmMain::mnuFileImportClick()
{
    if (!ProtectionCheck())
        return;
    const QString chosen = showFileDialog({this, QStringLiteral("Import Passwords"),
                                           QStringLiteral("Text files (*.txt *.TXT)"), dlgOpenFileName_, false});
    if (chosen.isEmpty())
        return;
    dlgOpenFileName_ = chosen;
    backupNotice_->backUpBeforeChange();
    runGuarded(this, [&] {
        TfrmImport frmImport(session_, *store_, QFile::encodeName(chosen).toStdString(),
                             [this] { LoadPasswordList(); }, this);
        showModal(frmImport);
    });
}

void TfrmMain::mnuFilePasswordClick()
{
    backupNotice_->backUpBeforeChange();
    runGuarded(this, [this] {
        TfrmChangePassword frmChangePassword(session_, *store_, [this] { LoadPasswordList(); }, this);
        showModal(frmChangePassword);
    });
}

void TfrmMain::mnuFileRestoreClick()
{
    if (!ProtectionCheck())
        return;
    std::optional<std::filesystem::path> chosen;
    runGuarded(this, [&] {
        TfrmRestoreBackup frmRestoreBackup(StoreBackups(store_->file()).list(), this);
        if (showModal(frmRestoreBackup) == QDialog::Accepted)
            chosen = frmRestoreBackup.chosenFile();
    });
    if (!chosen)
        return;
    // Refused, with the store unchanged, while another running Keystead holds a store session.
    bool restored = false;
    runGuarded(this, [&] {
        const WaitCursor busy;
        StoreBackups(store_->file()).restore(*chosen);
        restored = true;
    });
    if (restored)
        followRestore();
}

void TfrmMain::followRestore()
{
    bool opens = false;
    runGuarded(this, [&] {
        TDiamond check;
        opens = PasswordOpens(*store_, session_.CurrentUsername, session_.LogonPassword, check);
    });
    if (opens) {
        runGuarded(this, [this] { LoadPasswordList(); });
        return;
    }
    returnToLogon();
}

void TfrmMain::returnToLogon()
{
    logonAgain_ = true;
    // The list shows nothing of the old store while the message is read.
    model_->clear();
    setNotesText({});
    if (settings_.clearClipboard)
        ClearOwnClipboard();
    showMessageBox({this,
                    QStringLiteral("The restored store does not know the user \"%1\" with the logon password of "
                                   "this session. Log on again.")
                        .arg(toQString(session_.CurrentUsername)),
                    MessageIcon::Information, MessageButtons::Ok, MessageResult::Ok});
    close();
}

void TfrmMain::autoExportAtClose()
{
    if (!settings_.autoExport || session_.PasswordCount <= 0)
        return;
    exportCommands_->AutoExportActive = true;
    runGuarded(this, [this] { exportCommands_->ExportEncrypted(); });
}

}  // namespace keystead
