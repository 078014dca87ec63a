#pragma once
// The one error type of the program: it carries the text the user is shown.

#include <stdexcept>
#include <string>

namespace keystead {

class KeysteadError : public std::runtime_error {
public:
    explicit KeysteadError(const std::string& userText) : std::runtime_error(userText) {}
};

// The store file failed its check or is no database at all; a backup may bring it back.
class DamagedStoreError : public KeysteadError {
public:
    using KeysteadError::KeysteadError;
};

// The entry a command was about to act on is no longer the one its list row was read from:
// another running instance changed the list. The command changed nothing.
class EntryChangedError : public KeysteadError {
public:
    EntryChangedError()
        : KeysteadError("The password list was changed in another window. It has been reloaded; "
                        "please try again.") {}
};

}  // namespace keystead
