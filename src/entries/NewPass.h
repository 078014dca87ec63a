#pragma once
// TfrmNewPassword, "Add New Password": appends a new entry to the logged-on user's entries and
// refills the main window's list.

#include "crypto/Diamond.h"
#include "entries/EntryForm.h"

namespace keystead {

class TfrmNewPassword : public EntryForm {
    Q_OBJECT

public:
    // A pending Paste as New Password puts the clipboard's text into txtPassword, once. A store
    // that cannot be read throws KeysteadError.
    TfrmNewPassword(SessionState& session, RegistryStore& store, EntryEditTarget& target, QWidget* parent);

private:
    void save(const EntryTexts& texts) override;

    TDiamond Diamond1;
};

}  // namespace keystead
