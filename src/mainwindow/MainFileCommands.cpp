// The main window's File menu commands that work on the whole list: export, import and the change
// of the logon password, and the automatic export at close. The forms do the work; the main window
// guards the commands and opens the forms.

#include "mainwindow/Main.h"

#include "exchange/Export.h"
#include "exchange/ExportCommands.h"
#include "exchange/Import.h"
#include "mainwindow/BackupNotice.h"
#include "mainwindow/PasswordListView.h"
#include "platform/ErrorDisplay.h"
#include "platform/FileDialog.h"
#include "platform/ModalForm.h"
#include "session/ChgPass.h"
#include "store/SessionState.h"

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
    backUpBeforeChange(*this, *store_);
    runGuarded(this, [&] {
        TfrmImport frmImport(session_, *store_, QFile::encodeName(chosen).toStdString(),
                             [this] { LoadPasswordList(); }, this);
        showModal(frmImport);
    });
}

void TfrmMain::mnuFilePasswordClick()
{
    backUpBeforeChange(*this, *store_);
    runGuarded(this, [this] {
        TfrmChangePassword frmChangePassword(session_, *store_, [this] { LoadPasswordList(); }, this);
        showModal(frmChangePassword);
    });
}

void TfrmMain::autoExportAtClose()
{
    if (!settings_.autoExport || session_.PasswordCount <= 0)
        return;
    exportCommands_->AutoExportActive = true;
    runGuarded(this, [this] { exportCommands_->ExportEncrypted(); });
}

}  // namespace keystead
