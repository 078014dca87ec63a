#include "entries/NewPass.h"

#include "entries/EntryEditTarget.h"
#include "entries/EntryValidation.h"
#include "platform/CharacterLimitValidator.h"
#include "platform/TextConversion.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QClipboard>
#include <QGuiApplication>

namespace keystead {
namespace {

const EntryFormKind kNewPassword{"frmNewPassword", "Add New Password", "NewPass", 4000, kNoSystemNameText};

EntryTexts openingTexts(SessionState& session)
{
    EntryTexts texts;
    if (session.PasteAsNewPending) {
        session.PasteAsNewPending = false;
        // The clipboard can hold anything; the box takes of it what typing could have put there.
        texts.password =
            toBytes(CharacterLimitValidator::fittedLine(QGuiApplication::clipboard()->text(), EntryForm::kTextLimit));
    }
    return texts;
}

}  // namespace

TfrmNewPassword::TfrmNewPassword(SessionState& session, RegistryStore& store, EntryEditTarget& target,
                                 QWidget* parent)
    : EntryForm(session, store, target, parent, kNewPassword, openingTexts(session))
{
}

// The entry and the refilled list belong to one store session, so that the entry is either
// saved and listed or not saved at all.
void TfrmNewPassword::save(const EntryTexts& texts)
{
    const int countBefore = session().PasswordCount;
    try {
        StoreSession storeSession(store());
        Diamond1.SetKey(session().LogonPassword);
        EntryStore(store(), session()).append(Diamond1, texts);
        target().LoadPasswordList();
        storeSession.close();
    } catch (...) {
        // The store is back as it was, and so is the count that mirrors it.
        session().PasswordCount = countBefore;
        throw;
    }
    accept();
}

}  // namespace keystead
