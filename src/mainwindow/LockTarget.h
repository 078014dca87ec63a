#pragma once
// What the lock does to the main window's contents.

namespace keystead {

class LockTarget {
public:
    // Clears and wipes every decrypted text the main window, its find line and its quick view show
    // or keep, and clears Keystead's own clipboard text.
    virtual void forgetEntryTexts() = 0;
    // After the right password: the list read again, with the row selected before the lock.
    virtual void readEntriesAgain() = 0;
    // A cancelled prompt raises Show Passwords, whichever command showed it.
    virtual void promptCancelled() = 0;

protected:
    ~LockTarget() = default;
};

}  // namespace keystead
