#include "session/PasswordChange.h"

#include <string>
#include <vector>

#include "crypto/Diamond.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

namespace keystead {

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
        writes.push_back({"System" + number,
                          Diamond1.EncryptToCipherString(Diamond2.DecryptCipherString(entry.system))});
        writes.push_back({"Password" + number, Diamond1.EncryptToCipherString(
                                                   Diamond2.DecryptCipherString(entry.password))});
        // A value whose text is empty is deleted rather than left behind under the old password.
        for (const auto& [base, stored] : {std::pair{"Username", &entry.username},
                                           std::pair{"Comments", &entry.comments}}) {
            const std::string text = Diamond2.DecryptCipherString(*stored);
            if (text.empty()) {
                if (!stored->empty()) {
                    deletes.push_back(base + number);
                }
            } else {
                writes.push_back({base + number, Diamond1.EncryptToCipherString(text)});
            }
        }
        if (progress) {
            progress(n, total);
        }
    }
    store.writeValues(state.CurrentUsername, writes);
    store.deleteValues(state.CurrentUsername, deletes);
    session.close();
    state.LogonPassword = std::string(newPassword);
}

}  // namespace keystead
