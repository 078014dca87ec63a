#pragma once
// TfrmEditPassword, "Edit Password": rewrites the entry of the main list's selected row in place
// and shows the change in that row and the notes pane without refilling the list.

#include "entries/EntryForm.h"

namespace keystead {

class EntryChangedError;
struct ListItemTexts;

class TfrmEditPassword : public EntryForm {
    Q_OBJECT

public:
    // Opens with the selected row's entry. Without a selected row the fields stay empty and
    // Done is disabled: there is nothing to rewrite. A store that cannot be read throws
    // KeysteadError.
    TfrmEditPassword(SessionState& session, RegistryStore& store, EntryEditTarget& target, QWidget* parent);

private:
    void save(const EntryTexts& texts) override;
    void takeEntryAfterReload(const EntryChangedError& changed);
    StoredEntry rewrite(const EntryTexts& texts);   // in one store session, ended before any message
    ListItemTexts shownRow(const EntryTexts& texts, const StoredEntry& written) const;
    std::string shownNotes(const EntryTexts& texts, const StoredEntry& written) const;

    int entryNumber_;         // 0 without a selected row, or once the entry is gone
    StoredEntry seen_;        // the entry as the row was read; the save acts only on it
};

}  // namespace keystead
