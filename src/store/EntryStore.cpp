#include "store/EntryStore.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "crypto/Diamond.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"
#include "store/TextRules.h"
#include "store/VersionStamp.h"

namespace keystead {

namespace {

constexpr std::string_view kTotalPasswords = "TotalPasswords";

struct EntryField {
    std::string_view name;
    std::string StoredEntry::*member;
    bool required;   // written even when empty; the others are deleted when empty
};

constexpr std::array<EntryField, 6> kFields{{
    {"System", &StoredEntry::system, true},
    {"Username", &StoredEntry::username, false},
    {"Password", &StoredEntry::password, true},
    {"Comments", &StoredEntry::comments, false},
    {"Expiration", &StoredEntry::expiration, false},
    {"DaysTillExpiration", &StoredEntry::daysTillExpiration, false},
}};

std::string identOf(const EntryField& field, int n) {
    return std::string(field.name) + std::to_string(n);
}

struct EntryIdent {
    const EntryField* field;
    int number;
};

// Splits an ident such as "System12" into its field and number. The number has no leading zeros,
// as the store's reads address it; anything else is no entry value.
std::optional<EntryIdent> parseEntryIdent(std::string_view ident) {
    const std::size_t digitsAt = ident.find_last_not_of("0123456789") + 1;
    const std::string_view digits = ident.substr(digitsAt);
    if (digits.empty() || digits.front() == '0') {
        return std::nullopt;
    }
    const auto number = parseInteger(digits);
    const std::string_view base = ident.substr(0, digitsAt);
    const auto field = std::find_if(kFields.begin(), kFields.end(), [base](const EntryField& f) {
        return equalsIgnoringCase(f.name, base);
    });
    if (!number || field == kFields.end()) {
        return std::nullopt;
    }
    return EntryIdent{&*field, *number};
}

std::string cipherUnlessBlank(const TDiamond& diamond, std::string_view text) {
    return trimText(text).empty() ? std::string() : diamond.EncryptToCipherString(text);
}

StoredEntry encrypt(const TDiamond& diamond, const EntryTexts& texts) {
    return StoredEntry{
        diamond.EncryptToCipherString(trimText(texts.description)),
        cipherUnlessBlank(diamond, trimText(texts.username)),
        diamond.EncryptToCipherString(trimText(texts.password)),
        cipherUnlessBlank(diamond, texts.comments),
        trimText(texts.expiration),
        trimText(texts.daysTillExpiration),
    };
}

struct EntryChanges {
    std::vector<StoredValue> writes;
    std::vector<std::string> deletes;

    // Puts entry at number n: the required values always, the others when not empty, and
    // deletes what is empty so that nothing of an earlier entry n is left behind.
    void put(int n, const StoredEntry& entry) {
        for (const auto& field : kFields) {
            const std::string& value = entry.*field.member;
            if (field.required || !value.empty()) {
                writes.push_back({identOf(field, n), value});
            } else {
                deletes.push_back(identOf(field, n));
            }
        }
    }

    void erase(int n) {
        for (const auto& field : kFields) {
            deletes.push_back(identOf(field, n));
        }
    }

    void apply(RegistryStore& store, std::string_view section) const {
        store.writeValues(section, writes);
        store.deleteValues(section, deletes);
    }
};

// The highest number that holds a System or Password value; other values above it are left
// over from a broken-off change and belong to no entry. Entries without gaps never number more
// than the section has values, so a higher number can only be a damaged ident: it is left alone
// rather than let it size the list. Counted in 64 bits: nothing read from the store may overflow.
using ParsedIdents = std::vector<std::optional<EntryIdent>>;

std::int64_t highestEntry(const ParsedIdents& idents) {
    const auto bound = static_cast<std::int64_t>(idents.size());
    std::int64_t highest = 0;
    for (const auto& entryIdent : idents) {
        if (entryIdent && entryIdent->field->required && entryIdent->number <= bound) {
            highest = std::max<std::int64_t>(highest, entryIdent->number);
        }
    }
    return highest;
}

}  // namespace

EntryStore::EntryStore(RegistryStore& store, SessionState& state) : store_(store), state_(state) {}

bool EntryStore::isPresent(std::int64_t n) const {
    const std::string number = std::to_string(n);
    return store_.hasValue(state_.CurrentUsername, "System" + number) ||
           store_.hasValue(state_.CurrentUsername, "Password" + number);
}

// TotalPasswords is taken when the entries agree with it at its end: entry T present and T + 1
// absent. That costs a few reads, where counting the entries reads every ident of the section.
std::optional<int> EntryStore::agreedTotal() const {
    const auto total = parseInteger(store_.ReadString(state_.CurrentUsername, kTotalPasswords, ""));
    if (!total || *total < 0 || (*total > 0 && !isPresent(*total)) ||
        isPresent(static_cast<std::int64_t>(*total) + 1)) {
        return std::nullopt;
    }
    return total;
}

int EntryStore::count() const {
    if (const auto total = agreedTotal()) {
        return *total;
    }
    ParsedIdents parsed;
    for (const auto& ident : store_.readIdents(state_.CurrentUsername)) {
        parsed.push_back(parseEntryIdent(ident));
    }
    return static_cast<int>(highestEntry(parsed));
}

void EntryStore::checkUnchanged(int n, const StoredEntry& expected) const {
    // An entry that is gone was deleted elsewhere as surely as one that differs was changed.
    if (n < 1 || n > count() || read(n) != expected) {
        throw EntryChangedError();
    }
}

void EntryStore::writeEntry(int n, const StoredEntry& entry) const {
    EntryChanges changes;
    changes.put(n, entry);
    changes.apply(store_, state_.CurrentUsername);
}

StoredEntry EntryStore::read(int n) const {
    StoredEntry entry;
    for (const auto& field : kFields) {
        entry.*field.member = store_.ReadString(state_.CurrentUsername, identOf(field, n), "");
    }
    return entry;
}

std::vector<StoredEntry> EntryStore::readAll() const {
    const int counted = count();
    auto values = store_.readSectionValues(state_.CurrentUsername);
    ParsedIdents parsed;
    parsed.reserve(values.size());
    for (const auto& value : values) {
        parsed.push_back(parseEntryIdent(value.ident));
    }
    // Sized by the values present, never by the stored count alone.
    const std::int64_t count = std::min<std::int64_t>(counted, highestEntry(parsed));
    std::vector<StoredEntry> entries(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto& entryIdent = parsed[i];
        if (entryIdent && entryIdent->number <= count) {
            auto& entry = entries[static_cast<std::size_t>(entryIdent->number - 1)];
            entry.*entryIdent->field->member = std::move(values[i].value);
        }
    }
    return entries;
}

int EntryStore::append(const TDiamond& diamond, const EntryTexts& texts) {
    StoreSession session(store_);
    const std::int64_t next = static_cast<std::int64_t>(count()) + 1;
    if (next > std::numeric_limits<int>::max()) {
        throw KeysteadError("The password list cannot hold another entry");
    }
    const int n = static_cast<int>(next);
    store_.WriteInteger(state_.CurrentUsername, kTotalPasswords, n);
    writeEntry(n, encrypt(diamond, texts));
    stampVersionWhenAbsent(store_, state_.CurrentUsername);
    session.close();
    state_.PasswordCount = n;
    return n;
}

StoredEntry EntryStore::rewrite(const TDiamond& diamond, int n, const EntryTexts& texts,
                                const StoredEntry& expected) {
    StoreSession session(store_);
    checkUnchanged(n, expected);
    const StoredEntry entry = encrypt(diamond, texts);
    writeEntry(n, entry);
    session.close();
    return entry;
}

std::string EntryStore::rename(const TDiamond& diamond, int n, std::string_view description,
                               const StoredEntry& expected) {
    StoreSession session(store_);
    checkUnchanged(n, expected);
    std::string system = diamond.EncryptToCipherString(description);
    store_.WriteString(state_.CurrentUsername, identOf(kFields[0], n), system);
    session.close();
    return system;
}

void EntryStore::remove(int n, const StoredEntry& expected) {
    StoreSession session(store_);
    checkUnchanged(n, expected);
    const auto entries = readAll();
    const int last = static_cast<int>(entries.size());
    // The values move unchanged: a cipher string does not depend on the entry's number.
    EntryChanges changes;
    for (int k = n + 1; k <= last; ++k) {
        changes.put(k - 1, entries[static_cast<std::size_t>(k - 1)]);
    }
    changes.erase(last);
    changes.writes.push_back({std::string(kTotalPasswords), std::to_string(last - 1)});
    changes.apply(store_, state_.CurrentUsername);
    session.close();
    state_.PasswordCount = last - 1;
}

void EntryStore::removeAll() {
    StoreSession session(store_);
    // Every numbered entry value goes, also one a broken-off earlier change left above the count.
    EntryChanges changes;
    for (const auto& ident : store_.readIdents(state_.CurrentUsername)) {
        if (parseEntryIdent(ident)) {
            changes.deletes.push_back(ident);
        }
    }
    changes.writes.push_back({std::string(kTotalPasswords), "0"});
    changes.apply(store_, state_.CurrentUsername);
    session.close();
    state_.PasswordCount = 0;
}

}  // namespace keystead
