#pragma once
// The rule of Find: which texts of an entry it searches, whether an entry matches, and the count
// the status bar shows while the list is filtered. Texts arrive already case-folded.

#include <string>
#include <string_view>

namespace keystead {

// The texts Find searches: only what the list and the notes pane show decrypted, so that Find
// tells nothing about what is hidden. A password is never searched.
struct FindScope {
    bool description = true;
    bool username = true;
    bool comments = true;
};

FindScope FindScopeFor(bool showPasswordsOn, bool showSystem, bool showComments);

// An entry's texts as Find sees them, each case-folded the way the find text is.
struct FindTexts {
    std::string_view description;
    std::string_view username;
    std::string_view comments;
};

// True when the folded find text is part of a searched text; an empty find text keeps every entry.
bool FindMatches(const FindTexts& texts, FindScope scope, std::string_view foldedFind);

// "3 of 250 passwords in list"; "1 of 1 password in list".
std::string FindCountText(int shown, int total);

}  // namespace keystead
