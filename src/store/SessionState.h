#pragma once
// What the running program shares between its windows: the logged-on user and the flags of
// the run. Start-up creates one and passes it by reference; nothing of it is stored.

#include <memory>
#include <string>

#include "crypto/SecretMemory.h"

namespace keystead {

class SealKey;

struct SessionState {
    SessionState() = default;
    SessionState(const SessionState&) = default;
    SessionState& operator=(const SessionState&) = default;
    // The logon password is the key of everything stored; it goes when the state goes.
    ~SessionState() { WipeText(LogonPassword); }

    std::string CurrentUsername;   // set once, at logon
    std::string LogonPassword;     // key of every cipher string; empty after Exit or Cancel
    // The key that opens the user's sealed section, shared with every opening of the store that
    // uses it; null while the user's section is not sealed. Wiped by a lock (SealKey::wipe).
    std::shared_ptr<SealKey> Seal;
    int PasswordCount = 0;         // mirrors TotalPasswords
    bool FancyLogonEnabled = true;
    bool RememberLastUsername = false;
    std::string ProgramExeName;
    std::string ProgramVersion;
    bool ShowPasswordsOn = true;
    bool PasteAsNewPending = false;

    // Flags of the run shared between windows.
    bool ProtectPromptPassed = false;
    bool QuickViewOpen = false;
    bool FirstLoadDone = false;
    std::string ReselectCaption;
};

}  // namespace keystead
