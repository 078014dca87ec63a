#include "mainwindow/PasswordListReader.h"

#include "crypto/Diamond.h"
#include "store/EntryStore.h"
#include "store/PasswordListRules.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <algorithm>

namespace keystead {

const std::string& PasswordRow::sortKey(int sortColumn) const
{
    switch (sortColumn) {
    case 1:
        return username;
    case 2:
        return password;
    default:
        return description;
    }
}

PasswordListContent ReadPasswordList(RegistryStore& store, SessionState& state, const TDiamond& diamond,
                                     ListDisplay display, std::optional<int> countdownDays)
{
    const EntryStore entries(store, state);
    std::vector<StoredEntry> stored = entries.readAll();

    const auto shown = [&](const std::string& value, bool decrypt) {
        return decrypt ? diamond.DecryptCipherString(value) : value;
    };
    const bool plainDescription = display.showPasswordsOn || display.showSystem;

    PasswordListContent content;
    content.rows.reserve(stored.size());
    std::vector<StoredValue> countedDown;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        StoredEntry& entry = stored[i];
        const int n = static_cast<int>(i) + 1;
        PasswordRow row{n, {}, shown(entry.system, plainDescription), shown(entry.username, display.showPasswordsOn),
                        shown(entry.password, display.showPasswordsOn), {}, !plainDescription,
                        !display.showPasswordsOn};

        if (countdownDays) {
            if (auto lowered = CountDown(entry.daysTillExpiration, *countdownDays)) {
                entry.daysTillExpiration = *lowered;
                countedDown.push_back({"DaysTillExpiration" + std::to_string(n), *lowered});
                if (*DaysLeft(*lowered) <= 0)
                    content.expiredDescriptions.push_back(row.description);
            }
        }
        row.expiration = ExpiryText(entry.daysTillExpiration);
        row.stored = std::move(entry);   // as the store now holds it, counted down included
        content.rows.push_back(std::move(row));
    }
    if (!countedDown.empty())
        store.writeValues(state.CurrentUsername, countedDown);
    return content;
}

void SortPasswordRows(std::vector<PasswordRow>& rows, int sortColumn)
{
    std::stable_sort(rows.begin(), rows.end(), [sortColumn](const PasswordRow& a, const PasswordRow& b) {
        return CompareListKeys(a.sortKey(sortColumn), b.sortKey(sortColumn)) < 0;
    });
}

}  // namespace keystead
