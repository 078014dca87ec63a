#include "entries/EditPass.h"

#include "crypto/Diamond.h"
#include "entries/EntryEditTarget.h"
#include "entries/EntryValidation.h"
#include "platform/ErrorDisplay.h"
#include "platform/MessageBox.h"
#include "platform/TextConversion.h"
#include "platform/WaitCursor.h"
#include "store/KeysteadError.h"
#include "store/MainSettings.h"
#include "store/PasswordListRules.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QPushButton>

namespace keystead {
namespace {

const EntryFormKind kEditPassword{"frmEditPassword", "Edit Password", "EditPass", 5000, kNoDescriptionText};

int selectedEntryNumber(const EntryEditTarget& target)
{
    const std::optional<ListItemTexts> item = target.selectedItem();
    return item ? item->entryNumber : 0;
}

StoredEntry selectedEntry(const EntryEditTarget& target)
{
    const std::optional<ListItemTexts> item = target.selectedItem();
    return item ? item->stored : StoredEntry{};
}

// The selected entry as the row and the notes pane show it, decrypted where they show cipher
// strings, with the expiration values the row was read with.
EntryTexts openingTexts(const SessionState& session, EntryEditTarget& target)
{
    const std::optional<ListItemTexts> item = target.selectedItem();
    if (!item)
        return {};
    EntryTexts texts{item->caption, item->username, item->password, target.notesText(), {}, {}};
    if (!session.ShowPasswordsOn) {
        TDiamond& diamond = target.mainCipher();
        diamond.SetKey(session.LogonPassword);
        const MainSettings& settings = target.settings();
        if (!settings.showSystem)
            texts.description = diamond.DecryptCipherString(texts.description);
        texts.username = diamond.DecryptCipherString(texts.username);
        texts.password = diamond.DecryptCipherString(texts.password);
        if (!settings.showComments)
            texts.comments = diamond.DecryptCipherString(texts.comments);
    }
    texts.expiration = item->stored.expiration;
    if (!texts.expiration.empty())
        texts.daysTillExpiration = item->stored.daysTillExpiration;
    return texts;
}

}  // namespace

TfrmEditPassword::TfrmEditPassword(SessionState& session, RegistryStore& store, EntryEditTarget& target,
                                   QWidget* parent)
    : EntryForm(session, store, target, parent, kEditPassword, openingTexts(session, target)),
      entryNumber_(selectedEntryNumber(target)),
      seen_(selectedEntry(target))
{
    cmdDone->setEnabled(entryNumber_ > 0);
}

void TfrmEditPassword::save(const EntryTexts& texts)
{
    StoredEntry written;
    try {
        const WaitCursor hourglass;
        written = rewrite(texts);
    } catch (const EntryChangedError& changed) {
        takeEntryAfterReload(changed);
        return;
    }
    target().updateSelectedItem(shownRow(texts, written));
    target().setNotesText(shownNotes(texts, written));
    accept();
}

// Another instance changed the list since this dialog opened: the texts would land on another
// entry, so nothing was written. The dialog keeps what was typed; once the list shows what the
// store holds, Done saves on the entry where it now stands. Its stored description value marks it:
// a value is never encrypted to the same text twice.
void TfrmEditPassword::takeEntryAfterReload(const EntryChangedError& changed)
{
    runGuarded(this, [this] { target().LoadPasswordList(); });
    const std::optional<ListItemTexts> item = target().selectedItem();
    if (item && item->stored.system == seen_.system) {
        entryNumber_ = item->entryNumber;
        seen_ = item->stored;
        showWarning(this, toQString(changed.what()));
        return;
    }
    entryNumber_ = 0;
    cmdDone->setEnabled(false);
    showWarning(this, QStringLiteral("This password was changed or deleted in another window, and nothing was saved. "
                                     "The list has been reloaded; copy what you typed before you close this window."));
}

StoredEntry TfrmEditPassword::rewrite(const EntryTexts& texts)
{
    TDiamond& diamond = target().mainCipher();
    StoreSession storeSession(store());
    diamond.SetKey(session().LogonPassword);
    StoredEntry written = EntryStore(store(), session()).rewrite(diamond, entryNumber_, texts, seen_);
    storeSession.close();
    return written;
}

// The row shows what the list would show after a reload: plain texts where it shows them plain,
// otherwise the very cipher strings now stored.
ListItemTexts TfrmEditPassword::shownRow(const EntryTexts& texts, const StoredEntry& written) const
{
    const bool plain = session().ShowPasswordsOn;
    const bool plainCaption = plain || target().settings().showSystem;
    return {entryNumber_,
            plainCaption ? texts.description : written.system,
            plain ? texts.username : written.username,
            plain ? texts.password : written.password,
            ExpiryText(texts.daysTillExpiration),
            written};
}

std::string TfrmEditPassword::shownNotes(const EntryTexts& texts, const StoredEntry& written) const
{
    const bool plain = session().ShowPasswordsOn || target().settings().showComments;
    if (written.comments.empty())
        return {};
    return plain ? texts.comments : written.comments;
}

}  // namespace keystead
