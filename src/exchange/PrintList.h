#pragma once
// The text of the printed password list: a title, then for each list item its texts as the list
// shows them, its comments when they hold more than blanks, and a rule of dashes.

#include "crypto/SecretMemory.h"

#include <string>
#include <vector>

namespace keystead {

class TDiamond;

// One list item as the list holds it (plain or cipher text, by the display settings), with the
// stored comments the row was read with: read again by number, a list that another instance has
// renumbered since would print another entry's comments under this one. Wiped when released.
struct PrintItem {
    std::string description;
    std::string username;
    std::string password;
    std::string comments;

    ~PrintItem();
};

// The printout holds the list's passwords and decrypted comments: wiped when released.
struct Printout {
    SecretText title;   // "Password list for: " and the user name, printed large and bold
    SecretText body;    // the rest, line breaks as LF
};

// stamp is the date and time of the title. The comments are decrypted with cipher, whose key the
// caller has set.
Printout BuildPrintout(const std::string& user, const TDiamond& cipher, const std::vector<PrintItem>& items,
                       const std::string& stamp);

}  // namespace keystead
