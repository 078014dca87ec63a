// The main window's commands on entries: new, edit, paste, delete, cut, copy, rename in place,
// and the enabling of the Edit menu.
#include "mainwindow/Main.h"

#include "entries/EditPass.h"
#include "entries/NewPass.h"
#include "mainwindow/BackupNotice.h"
#include "mainwindow/ClipboardCountdown.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/SecretClipboard.h"
#include "platform/ErrorDisplay.h"
#include "platform/MessageBox.h"
#include "platform/ModalForm.h"
#include "platform/TextConversion.h"
#include "store/EntryStore.h"
#include "store/KeysteadError.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace keystead {
namespace {

bool clipboardHoldsText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

}  // namespace

// ---- Entry commands -------------------------------------------------------------------------

void TfrmMain::mnuEditNewClick()
{
    if (!ProtectionCheck())
        return;
    runGuarded(this, [this] {
        TfrmNewPassword form(session_, *store_, *this, this);
        showModal(form);
    });
}

void TfrmMain::mnuEditEditClick()
{
    lvPasswords->endEditing();
    if (!ProtectionCheck() || lvPasswords->selectedRow() < 0)
        return;
    runGuarded(this, [this] {
        TfrmEditPassword form(session_, *store_, *this, this);
        showModal(form);
    });
}

void TfrmMain::mnuEditPasteClick()
{
    if (!clipboardHoldsText() || !ProtectionCheck())
        return;
    session_.PasteAsNewPending = true;
    runGuarded(this, [this] {
        TfrmNewPassword form(session_, *store_, *this, this);
        showModal(form);
    });
    session_.PasteAsNewPending = false;
}

void TfrmMain::mnuEditDeleteClick()
{
    lvPasswords->endEditing();
    const bool passed = CutPromptPassed || ProtectionCheck();
    CutPromptPassed = false;
    if (!passed || lvPasswords->selectedRow() < 0)
        return;
    if (settings_.deleteWarning && !askYesNo(this, QStringLiteral("Are you sure you want to delete this password?")))
        return;
    // Taken only now: while the question was open the list may have changed under it.
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return;
    // The row displayed after the first one, or else the one just above, is selected afterwards.
    const int neighbour = row == 0 ? 1 : row - 1;
    const std::string nextCaption = neighbour < model_->rowCount() ? model_->row(neighbour).description : "";
    const PasswordRow seen = model_->row(row);
    runWriting([&] {
        StoreSession session(*store_);
        EntryStore(*store_, session_).remove(seen.entryNumber, seen.stored);
        if (session_.PasswordCount > 0)
            session_.ReselectCaption = nextCaption;
        LoadPasswordList();
        session.close();
    });
}

void TfrmMain::mnuEditDeleteAllClick()
{
    if (!ProtectionCheck())
        return;
    const MessageRequest question{this, QStringLiteral("Are you sure you want to delete all passwords?"),
                                  MessageIcon::Question, MessageButtons::YesNo, MessageResult::No};
    if (showMessageBox(question) != MessageResult::Yes)
        return;
    backupNotice_->backUpBeforeChange();
    runWriting([this] {
        StoreSession session(*store_);
        EntryStore entries(*store_, session_);
        // All the passwords the user agreed to delete are the ones the list shows.
        if (entries.readAll() != model_->storedEntries())
            throw EntryChangedError();
        entries.removeAll();
        LoadPasswordList();
        session.close();
    });
}

void TfrmMain::mnuEditCutClick()
{
    lvPasswords->endEditing();
    const bool prompts = settings_.protectToggle && !session_.ShowPasswordsOn;
    if (!ProtectionCheck())
        return;
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return;
    if (!copySecret(&StoredEntry::password, row))
        return;
    CutPromptPassed = prompts;
    mnuEditDeleteClick();
}

void TfrmMain::mnuEditCopyClick()
{
    if (!ProtectionCheck())
        return;
    if (!lvPasswords->hasListFocus()) {
        // With nothing selected the clipboard keeps what it holds.
        const QString selected = reComments->selectedCommentText();
        // Comments hold secrets too (a PIN): they are cleared like a password.
        if (!selected.isEmpty()) {
            PutOnClipboard(selected, ClipboardText::Plain);
            clipboardCountdown_->start(settings_.clipboardClearSeconds);
        }
        return;
    }
    copyToClipboard(&StoredEntry::password);
}

void TfrmMain::mnuEditUsernameClick()
{
    if (ProtectionCheck())
        copyToClipboard(&StoredEntry::username);
}

void TfrmMain::mnuEditClearClick()
{
    EmptyClipboard();
    clipboardCountdown_->stop();
}

void TfrmMain::copyToClipboard(std::string StoredEntry::*value)
{
    lvPasswords->endEditing();
    const int row = lvPasswords->selectedRow();
    if (row >= 0)
        copySecret(value, row);
}

bool TfrmMain::copySecret(std::string StoredEntry::*value, int row)
{
    bool copied = false;
    runWriting([&] {
        PutSecretOnClipboard(decryptedValue(value, row));
        copied = true;
    });
    if (copied)
        clipboardCountdown_->start(settings_.clipboardClearSeconds);
    return copied;
}

std::string TfrmMain::decryptedValue(std::string StoredEntry::*value, int row)
{
    const PasswordRow& seen = model_->row(row);
    StoreSession session(*store_);
    EntryStore(*store_, session_).checkUnchanged(seen.entryNumber, seen.stored);
    session.close();
    Diamond1.SetKey(session_.LogonPassword);
    return Diamond1.DecryptCipherString(seen.stored.*value);
}

bool TfrmMain::renameAllowed() const
{
    return session_.ShowPasswordsOn && !session_.QuickViewOpen;
}

std::optional<std::string> TfrmMain::renameEntry(const PasswordRow& row, const std::string& description)
{
    std::optional<std::string> system;
    try {
        StoreSession session(*store_);
        Diamond1.SetKey(session_.LogonPassword);
        system = EntryStore(*store_, session_).rename(Diamond1, row.entryNumber, description, row.stored);
        session.close();
        session_.ReselectCaption = description;
    } catch (const EntryChangedError& changed) {
        // The list cannot be refilled while its editor is still closing.
        QMetaObject::invokeMethod(
            this, [this, changed] { reloadChangedList(changed); }, Qt::QueuedConnection);
    } catch (const std::exception& error) {
        showHandlerError(this, error);
    }
    return system;
}

void TfrmMain::runWriting(const std::function<void()>& work)
{
    try {
        work();
    } catch (const EntryChangedError& changed) {
        reloadChangedList(changed);
    } catch (const std::exception& error) {
        showHandlerError(this, error);
        runGuarded(this, [this] { LoadPasswordList(); });
    }
}

// Nothing was changed: the list is brought up to date first, so that the user can try again
// on what the message says is there.
void TfrmMain::reloadChangedList(const EntryChangedError& changed)
{
    runGuarded(this, [this] { LoadPasswordList(); });
    showWarning(this, toQString(changed.what()));
}

void TfrmMain::mnuEditPopup()
{
    const bool listFocused = lvPasswords->hasListFocus();
    const bool rowSelected = lvPasswords->selectedRow() >= 0;
    const bool onRow = listFocused && rowSelected;
    mnuEditCopy->setText(listFocused ? QStringLiteral("&Copy Password") : QStringLiteral("&Copy"));
    mnuEditCut->setEnabled(onRow);
    mnuEditCopy->setEnabled(listFocused ? rowSelected : reComments->textCursor().hasSelection());
    mnuEditUsername->setEnabled(onRow);
    mnuEditDelete->setEnabled(onRow);
    mnuEditEdit->setEnabled(onRow);
    mnuEditPaste->setEnabled(clipboardHoldsText());
    mnuEditDeleteAll->setEnabled(session_.PasswordCount != 0);
}

void TfrmMain::popPasswordListPopup()
{
    const bool rowSelected = lvPasswords->selectedRow() >= 0;
    for (QAction* item : {mnuCopy, mnuUsername, tbCut, tbCopy, tbDelete})
        item->setEnabled(rowSelected);
}

}  // namespace keystead
