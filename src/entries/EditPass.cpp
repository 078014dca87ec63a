#include "entries/EditPass.h"

#include "crypto/Diamond.h"
#include "desktop/WaitCursor.h"
#include "entries/EntryEditTarget.h"
#include "entries/EntryValidation.h"
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

// The selected entry as the row and the notes pane show it, decrypted where they show cipher
// strings, with its expiration values from the store.
EntryTexts openingTexts(const SessionState& session, RegistryStore& store, EntryEditTarget& target)
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
    const std::string n = std::to_string(item->entryNumber);
    texts.expiration = store.ReadString(session.CurrentUsername, "Expiration" + n, "");
    if (!texts.expiration.empty())
        texts.daysTillExpiration = store.ReadString(session.CurrentUsername, "DaysTillExpiration" + n, "");
    return texts;
}

}  // namespace

TfrmEditPassword::TfrmEditPassword(SessionState& session, RegistryStore& store, EntryEditTarget& target,
                                   QWidget* parent)
    : EntryForm(session, store, target, parent, kEditPassword, openingTexts(session, store, target)),
      entryNumber_(selectedEntryNumber(target))
{
    cmdDone->setEnabled(entryNumber_ > 0);
}

void TfrmEditPassword::save(const EntryTexts& texts)
{
    const WaitCursor hourglass;
    TDiamond& diamond = target().mainCipher();
    StoreSession storeSession(store());
    diamond.SetKey(session().LogonPassword);
    const StoredEntry written = EntryStore(store(), session()).rewrite(diamond, entryNumber_, texts);
    storeSession.close();
    target().updateSelectedItem(shownRow(texts, written));
    target().setNotesText(shownNotes(texts, written));
    accept();
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
            ExpiryText(texts.daysTillExpiration)};
}

std::string TfrmEditPassword::shownNotes(const EntryTexts& texts, const StoredEntry& written) const
{
    const bool plain = session().ShowPasswordsOn || target().settings().showComments;
    if (written.comments.empty())
        return {};
    return plain ? texts.comments : written.comments;
}

}  // namespace keystead
