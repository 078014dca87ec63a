#pragma once
// What the entry dialogs see of the main window: the selected row of the list, the notes pane,
// the display settings, the window's cipher and the reload of the list.

#include "store/EntryStore.h"

#include <optional>
#include <string>

namespace keystead {

class TDiamond;
struct MainSettings;

// The texts of one row as the list shows them (plain or cipher text, by the display settings).
struct ListItemTexts {
    int entryNumber = 0;
    std::string caption;      // Description
    std::string username;     // sub-item 0
    std::string password;     // sub-item 1
    std::string expiration;   // sub-item 2, the expiry text
    StoredEntry stored;       // the values the row was read from, or last wrote
};

class EntryEditTarget {
public:
    virtual ~EntryEditTarget() = default;

    virtual const MainSettings& settings() const = 0;
    // The main window's cipher; whoever uses it keys it first.
    virtual TDiamond& mainCipher() = 0;
    virtual std::optional<ListItemTexts> selectedItem() const = 0;
    // The notes pane's text, line breaks as CR LF.
    virtual std::string notesText() const = 0;
    // Changes the selected row in place; a changed caption moves the row to its sorted place.
    virtual void updateSelectedItem(const ListItemTexts& texts) = 0;
    // Sets the notes pane's text (CR LF line breaks) and marks its links again.
    virtual void setNotesText(const std::string& text) = 0;
    virtual void LoadPasswordList() = 0;
};

}  // namespace keystead
