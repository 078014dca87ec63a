#pragma once
// What the running program shares between its windows: the logged-on user and the flags of
// the run. Start-up creates one and passes it by reference; nothing of it is stored.

#include <string>

#include "crypto/SecretMemory.h"

namespace keystead {

struct SessionState {
    SessionState() = default;
    SessionState(const SessionState&) = default;
    SessionState& operator=(const SessionState&) = default;
    // The logon password is the key of everything stored; it goes when the state goes.
    ~SessionState() { WipeText(LogonPassword); }

    std::string CurrentUsername;   // set once, at logon
    std::string LogonPassword;     // key of every cipher string; empty after Exit or Cancel
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
