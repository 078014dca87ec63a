#include "mainwindow/PasswordListReader.h"

#include "crypto/Diamond.h"
#include "store/EntryStore.h"
#include "store/PasswordListRules.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/TwoHalves.h"

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

namespace {

// Below this, starting a thread costs more than it saves.
constexpr std::size_t kEntriesForTwoCores = 1000;

// Decrypting is most of the work of building a long list; the second half is decrypted on another
// core. The texts go straight into their rows, so that no other copy of them is left to wipe.
void fillShownTexts(std::vector<PasswordRow>& rows, const std::vector<StoredEntry>& stored, const TDiamond& diamond,
                    ListDisplay display)
{
    const bool plainDescription = display.showPasswordsOn || display.showSystem;
    InTwoHalves(stored.size(), kEntriesForTwoCores, [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            PasswordRow& row = rows[i];
            row.description = plainDescription ? diamond.DecryptCipherString(stored[i].system) : stored[i].system;
            row.username =
                display.showPasswordsOn ? diamond.DecryptCipherString(stored[i].username) : stored[i].username;
            row.password =
                display.showPasswordsOn ? diamond.DecryptCipherString(stored[i].password) : stored[i].password;
            row.descriptionHidden = !plainDescription;
            row.valuesHidden = !display.showPasswordsOn;
        }
    });
}

}  // namespace

PasswordListContent ReadPasswordList(RegistryStore& store, SessionState& state, const TDiamond& diamond,
                                     ListDisplay display, std::optional<int> countdownDays)
{
    const EntryStore entries(store, state);
    std::vector<StoredEntry> stored = entries.readAll();

    PasswordListContent content;
    content.rows.resize(stored.size());
    fillShownTexts(content.rows, stored, diamond, display);
    std::vector<StoredValue> countedDown;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        StoredEntry& entry = stored[i];
        const int n = static_cast<int>(i) + 1;
        PasswordRow& row = content.rows[i];
        row.entryNumber = n;

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
