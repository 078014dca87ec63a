// The main window's password list: loading, selection, the notes of the selected entry, sorting
// and the Show Passwords toggle's guard.
#include "mainwindow/Main.h"

#include "crypto/SecretMemory.h"
#include "exchange/Print.h"
#include "mainwindow/ClipboardCountdown.h"
#include "mainwindow/FindLine.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListReader.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/QuickViewOpener.h"
#include "platform/ErrorDisplay.h"
#include "platform/MessageBox.h"
#include "platform/SuspendedUpdates.h"
#include "platform/TextConversion.h"
#include "platform/WaitCursor.h"
#include "store/PasswordListRules.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QAction>
#include <QLabel>
#include <QVBoxLayout>

#include <memory>

namespace keystead {

// ---- The list -------------------------------------------------------------------------------

void TfrmMain::LoadPasswordList()
{
    StoreSession session(*store_);
    {
        const WaitCursor hourglass;
        Diamond1.SetKey(session_.LogonPassword);
        const std::optional<int> countdown =
            session_.FirstLoadDone ? std::nullopt : std::optional<int>((today_ - lastUsed_).count());
        // Read before anything is cleared: a read that fails leaves the list as it was.
        auto content = std::make_shared<PasswordListContent>(ReadPasswordList(
            *store_, session_, Diamond1, {session_.ShowPasswordsOn, settings_.showSystem}, countdown));
        // The days counted down are days up to today: a run that never reaches its close, or a
        // second instance, must not count them again.
        if (countdown)
            store_->WriteString(session_.CurrentUsername, "LastUsed", FormatShortDate(today_, dateSeparator_));
        // The list shows what the store kept: a handler whose work is undone after this read
        // leaves the list as it was.
        store_->afterCommit([this, content] { showPasswordList(std::move(*content)); });
    }
    session.close();
}

void TfrmMain::showPasswordList(PasswordListContent content)
{
    {
        const WaitCursor hourglass;
        {
            const SuspendedUpdates frozen(*lvPasswords);
            model_->clear();
            setNotesText({});
            session_.PasswordCount = static_cast<int>(content.rows.size());
            model_->setRows(std::move(content.rows), settings_.sortColumn);
            reselect();
        }
        if (lvPasswords->selectedRow() >= 0)
            lvPasswords->scrollToRow(lvPasswords->selectedRow());
        if (session_.PasswordCount == 0 || lvPasswords->selectedRow() < 0)
            setSelectionButtons(false);
        tbPrint->setEnabled(session_.PasswordCount != 0);
        tbExport->setEnabled(session_.PasswordCount != 0);
        showListCount();
        // The menus' shortcuts act on their items' state as it is now, without the menu opening.
        mnuFilePopup();
        mnuEditPopup();
    }
    if (!content.expiredDescriptions.empty())
        showWarning(this, toQString(ExpiredWarningText(content.expiredDescriptions)));
}

void TfrmMain::followStoreChange()
{
    const int row = lvPasswords->selectedRow();
    reloadKeeping(row >= 0 ? std::optional<StoredEntry>(model_->row(row).stored) : std::nullopt,
                  lvPasswords->scrollPosition());
}

void TfrmMain::reloadKeeping(const std::optional<StoredEntry>& selected, QPoint place)
{
    LoadPasswordList();
    // The entry itself, wherever it now stands; one changed elsewhere is found by its description.
    if (!selected)
        lvPasswords->clearSelection();
    for (int match = 0; selected && match < model_->rowCount(); ++match)
        if (model_->row(match).stored == *selected) {
            lvPasswords->selectRow(match);
            break;
        }
    lvPasswords->setScrollPosition(place);
}

void TfrmMain::forgetEntryTexts()
{
    quickViewOpener_->closeQuickView();
    txtFind->closeFind();
    const int row = lvPasswords->selectedRow();
    lockedSelection_ = row >= 0 ? std::optional<StoredEntry>(model_->row(row).stored) : std::nullopt;
    lockedScroll_ = lvPasswords->scrollPosition();
    model_->wipe();
    reComments->clear();
    WipeText(session_.ReselectCaption);
    setSelectionButtons(false);
    mnuEditPopup();
    clipboardCountdown_->clearNow();
}

void TfrmMain::readEntriesAgain()
{
    runGuarded(this, [this] { reloadKeeping(lockedSelection_, lockedScroll_); });
    lockedSelection_.reset();
}

void TfrmMain::promptCancelled()
{
    tbShowPasswords->setChecked(false);
}

void TfrmMain::reselect()
{
    // Of several rows with the remembered caption, the one added last (the highest number) wins.
    int match = -1;
    for (int row = 0; row < model_->rowCount(); ++row)
        if (model_->row(row).description == session_.ReselectCaption &&
            (match < 0 || model_->row(row).entryNumber > model_->row(match).entryNumber))
            match = row;
    if (match >= 0)
        lvPasswords->selectRow(match);
}

void TfrmMain::lvPasswordsSelectItem()
{
    const int row = lvPasswords->selectedRow();
    if (row < 0) {
        setSelectionButtons(false);
        return;
    }
    runGuarded(this, [&] { showNotes(row); });
    setSelectionButtons(true);
    session_.ReselectCaption = model_->row(row).description;
}

void TfrmMain::showNotes(int row)
{
    setNotesText({});
    reComments->setCurrentCharFormat(QTextCharFormat());
    // The comments the row was read with: read again by number, a list another instance has
    // renumbered since would show the notes of another entry under this one.
    const std::string& stored = model_->row(row).stored.comments;
    const bool plain = session_.ShowPasswordsOn || settings_.showComments;
    reComments->setCommentText(plain ? Diamond1.DecryptCipherString(stored) : stored);
}

std::optional<ListItemTexts> TfrmMain::selectedItem() const
{
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return std::nullopt;
    const PasswordRow& r = model_->row(row);
    return ListItemTexts{r.entryNumber, r.description, r.username, r.password, r.expiration, r.stored};
}

std::string TfrmMain::notesText() const
{
    return reComments->commentText();
}

void TfrmMain::updateSelectedItem(const ListItemTexts& texts)
{
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return;
    model_->setTexts(row, texts.username, texts.password, texts.expiration, texts.stored);
    lvPasswords->selectRow(model_->setDescription(row, texts.caption));
}

void TfrmMain::setNotesText(const std::string& text)
{
    reComments->setCommentText(text);
}

void TfrmMain::setSelectionButtons(bool enabled)
{
    tbCut->setEnabled(enabled);
    tbCopy->setEnabled(enabled);
    tbDelete->setEnabled(enabled);
}

QWidget* TfrmMain::buildFindPanel()
{
    txtFind = new TFindLine(
        *model_, *lvPasswords,
        [this] { return FindScopeFor(session_.ShowPasswordsOn, settings_.showSystem, settings_.showComments); },
        [this](const std::string& stored) { return Diamond1.DecryptCipherString(stored); }, this);
    txtFind->setAccessibleName(QStringLiteral("Find"));
    connect(txtFind, &TFindLine::filterChanged, this, &TfrmMain::showListCount);
    connect(txtFind, &TFindLine::firstRowActivated, this, &TfrmMain::mnuEditEditClick);
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(txtFind);
    layout->addWidget(lvPasswords);
    return panel;
}

void TfrmMain::showListCount()
{
    sbMessagePanel0->setText(toQString(model_->filtered()
                                           ? FindCountText(model_->rowCount(), session_.PasswordCount)
                                           : PasswordCountText(session_.PasswordCount)));
}

void TfrmMain::mnuFilePrintClick()
{
    if (!ProtectionCheck())
        return;
    std::vector<PrintItem> items;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const PasswordRow& item = model_->row(row);
        items.push_back({item.description, item.username, item.password, item.stored.comments});
    }
    runGuarded(this, [&] { PrintPasswordList(*this, session_, Diamond1, items, dateSeparator_); });
}

void TfrmMain::lvPasswordsColumnClick(int column)
{
    if (column == settings_.sortColumn || column > 2)
        return;
    const int previous = settings_.sortColumn;
    settings_.sortColumn = column;
    bool stored = false;
    runGuarded(this, [&] {
        StoreSession session(*store_);
        store_->WriteInteger(session_.CurrentUsername, "SortColumn", column);
        LoadPasswordList();
        session.close();
        stored = true;
    });
    // The sort column changes together with its stored value or not at all.
    if (!stored)
        settings_.sortColumn = previous;
}

}  // namespace keystead
