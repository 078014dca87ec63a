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

// The user's section was sealed anew by another running instance (a logon password change, or
// the first seal of the section): this instance's key no longer opens it and writes nothing with
// it. The user has to log on again.
class SealChangedError : public KeysteadError {
public:
    SealChangedError()
        : KeysteadError("The logon password was changed in another window. Please log on again.") {}
};

}  // namespace keystead
