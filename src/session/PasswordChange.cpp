#include "session/PasswordChange.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "crypto/Diamond.h"
#include "crypto/SecretMemory.h"
#include "store/EntryStore.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSeal.h"
#include "store/StoreSession.h"

namespace keystead {

namespace {

[[noreturn]] void refuseDamagedEntry(const TDiamond& from, int n, const StoredEntry& entry) {
    std::string name = "Entry " + std::to_string(n);
    const auto description = from.DecryptCipherStringVerified(entry.system);
    if (description && !description->empty()) {
        name += " (\"" + *description + "\")";
    }
    throw KeysteadError(name + " cannot be decrypted with your logon password: it is damaged. "
                               "The logon password was not changed.");
}

// A value of entry n decrypted under the old password. One that does not decrypt would be lost
// by the change, so the whole change is refused before anything is written.
SecretText readable(const TDiamond& from, std::string_view stored, int n, const StoredEntry& entry) {
    std::optional<std::string> plain = from.DecryptCipherStringVerified(stored);
    if (!plain) {
        refuseDamagedEntry(from, n, entry);
    }
    return SecretText(std::move(*plain));
}

}  // namespace

std::optional<PasswordChangeRefusal> CheckPasswordChange(std::string_view oldPassword, std::string_view newPassword,
                                                         std::string_view verify, std::string_view logonPassword) {
    using enum PasswordChangeInput;
    if (oldPassword.empty())
        return PasswordChangeRefusal{"You must enter your old password.", Old};
    if (newPassword.empty())
        return PasswordChangeRefusal{"You must enter a new password.", New};
    if (verify.empty())
        return PasswordChangeRefusal{"You must verify the new password.", Verify};
    if (oldPassword != logonPassword)
        return PasswordChangeRefusal{"Your old password is incorrect.", Old};
    if (verify != newPassword)
        return PasswordChangeRefusal{"The password and verify password do not match.", Verify};
    return std::nullopt;
}

void ChangeLogonPassword(RegistryStore& store, SessionState& state, std::string_view newPassword,
                         const Progress& progress) {
    TDiamond Diamond1;
    Diamond1.SetKey(newPassword);
    TDiamond Diamond2;
    Diamond2.SetKey(state.LogonPassword);

    StoreSession session(store);
    SessionState reader = state;
    const auto entries = EntryStore(store, reader).readAll();
    std::vector<StoredValue> writes{
        {"MainPassword", Diamond1.EncryptToCipherString(state.CurrentUsername)}};
    std::vector<std::string> deletes;
    const int total = static_cast<int>(entries.size());
    for (int n = 1; n <= total; ++n) {
        const StoredEntry& entry = entries[static_cast<std::size_t>(n - 1)];
        const std::string number = std::to_string(n);
        for (const auto& [base, stored] : {std::pair{"System", &entry.system},
                                           std::pair{"Password", &entry.password}}) {
            const SecretText text = readable(Diamond2, *stored, n, entry);
            writes.push_back({base + number, Diamond1.EncryptToCipherString(text.get())});
        }
        // A value whose text is empty is deleted rather than left behind under the old password.
        for (const auto& [base, stored] : {std::pair{"Username", &entry.username},
                                           std::pair{"Comments", &entry.comments}}) {
            const SecretText text = readable(Diamond2, *stored, n, entry);
            if (text.get().empty()) {
                if (!stored->empty()) {
                    deletes.push_back(base + number);
                }
            } else {
                writes.push_back({base + number, Diamond1.EncryptToCipherString(text.get())});
            }
        }
        if (progress) {
            progress(n, total);
        }
    }
    store.writeValues(state.CurrentUsername, writes);
    store.deleteValues(state.CurrentUsername, deletes);
    // A new salt and key with the new password: the old key, here and in any other window,
    // opens nothing any more and is wiped once the change has committed.
    ResealUser(store, state.CurrentUsername, newPassword);
    session.close();
    WipeText(state.LogonPassword);
    state.LogonPassword = std::string(newPassword);
}

}  // namespace keystead
