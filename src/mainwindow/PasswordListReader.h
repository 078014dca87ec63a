#pragma once
// Reads the whole password list of the logged-on user from the store in one pass: the texts of
// each row as the display settings want them, and, on the first load of a run, the expiry
// countdown with its values written back.

#include "store/EntryStore.h"

#include <optional>
#include <string>
#include <vector>

namespace keystead {

class RegistryStore;
class TDiamond;
struct SessionState;

// One row of the list. The entry number addresses the entry in the store; the values the row was
// read from tell whether the store still holds that entry there when a command acts on it.
struct PasswordRow {
    int entryNumber = 0;
    StoredEntry stored;
    std::string description;
    std::string username;
    std::string password;
    std::string expiration;   // the expiry text
    bool descriptionHidden = false;   // the description is shown as its cipher text
    bool valuesHidden = false;        // the user name and password are shown as their cipher texts

    // The text of a sort column: 0 description, 1 user name, 2 password.
    const std::string& sortKey(int sortColumn) const;
};

struct ListDisplay {
    bool showPasswordsOn = true;   // decrypt every column
    bool showSystem = true;        // with passwords hidden, still decrypt the description
};

struct PasswordListContent {
    std::vector<PasswordRow> rows;              // in entry-number order
    std::vector<std::string> expiredDescriptions;  // in entry-number order
};

// Reads every entry of state.CurrentUsername with a keyed cipher. With a
// countdown of some days, every expiring entry is lowered by that many days and written back,
// and the entries at 0 or below are listed as expired.
PasswordListContent ReadPasswordList(RegistryStore& store, SessionState& state, const TDiamond& diamond,
                                     ListDisplay display, std::optional<int> countdownDays);

// Orders rows by the list's compare rule on the given column, ascending.
void SortPasswordRows(std::vector<PasswordRow>& rows, int sortColumn);

}  // namespace keystead
