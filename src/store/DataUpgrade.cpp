#include "store/DataUpgrade.h"

#include <string>
#include <vector>

#include "crypto/Diamond.h"
#include "store/RegistryStore.h"
#include "store/StoreSession.h"
#include "store/TextRules.h"

namespace keystead {

bool needsUpgrade(int majorVersion, int totalPasswords) {
    return majorVersion < 3 && totalPasswords > 0;
}

void upgradeEarlierData(RegistryStore& store, std::string_view user, const TDiamond& diamond,
                        const std::function<void(int done, int total)>& progress) {
    StoreSession session(store);
    const int total = store.ReadInteger(user, "TotalPasswords", 0);
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
