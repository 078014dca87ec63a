#pragma once
// The text of the printed password list: a title, then for each list item its texts as the list
// shows them, its comments when they hold more than blanks, and a rule of dashes.

#include <string>
#include <vector>

namespace keystead {

class RegistryStore;
class TDiamond;

// One list item as the list holds it (plain or cipher text, by the display settings).
struct PrintItem {
    int entryNumber = 0;
    std::string description;
    std::string username;
    std::string password;
};

struct Printout {
    std::string title;   // "Password list for: " and the user name, printed large and bold
    std::string body;    // the rest, line breaks as LF
};

// stamp is the date and time of the title. The comments are read from the store and decrypted
// with cipher, whose key the caller has set.
Printout BuildPrintout(RegistryStore& store, const std::string& user, const TDiamond& cipher,
                       const std::vector<PrintItem>& items, const std::string& stamp);

}  // namespace keystead
