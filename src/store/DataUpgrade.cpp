#include "store/DataUpgrade.h"

#include <string>
#include <vector>

#include "crypto/Diamond.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"
#include "store/TextRules.h"

namespace keystead {

bool needsUpgrade(int majorVersion, int entryCount) {
    return majorVersion < 3 && entryCount > 0;
}

void upgradeEarlierData(RegistryStore& store, std::string_view user, const TDiamond& diamond,
                        const std::function<void(int done, int total)>& progress) {
    StoreSession session(store);
    // Counted from the entries present: a damaged TotalPasswords must neither skip entries nor
    // run the loop far beyond them.
    SessionState owner;
    owner.CurrentUsername = std::string(user);
    const int total = EntryStore(store, owner).count();
    std::vector<StoredValue> writes;
    for (int n = 1; n <= total; ++n) {
        const std::string systemIdent = "System" + std::to_string(n);
        writes.push_back({systemIdent, diamond.EncryptToCipherString(
                                           store.ReadString(user, systemIdent, ""))});
        const std::string commentsIdent = "Comments" + std::to_string(n);
        const std::string comments = store.ReadString(user, commentsIdent, "");
        if (!trimText(comments).empty()) {
            writes.push_back({commentsIdent, diamond.EncryptToCipherString(comments)});
        }
        if (progress) {
            progress(n, total);
        }
    }
    store.writeValues(user, writes);
}

}  // namespace keystead
