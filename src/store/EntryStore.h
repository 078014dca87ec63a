#pragma once
// The password entries of the logged-on user: the values System<n>, Username<n>, Password<n>,
// Comments<n>, Expiration<n> and DaysTillExpiration<n> of the user's section, numbered 1 to
// TotalPasswords without gaps. Each change is atomic on its own and becomes part of the caller's
// StoreSession when one is open.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keystead {

class RegistryStore;
class TDiamond;
struct SessionState;

// The six values of one entry as stored: four cipher strings and two plain integer texts; an
// absent value reads as "".
struct StoredEntry {
    std::string system;
    std::string username;
    std::string password;
    std::string comments;
    std::string expiration;
    std::string daysTillExpiration;

    bool operator==(const StoredEntry&) const = default;
};

// An entry as an entry dialog saves it, in plain text as typed. Every field is stored trimmed
// except the comments, which are stored as typed when their trimmed text is not empty.
struct EntryTexts {
    std::string description;
    std::string username;
    std::string password;
    std::string comments;
    std::string expiration;
    std::string daysTillExpiration;
};

class EntryStore {
public:
    // Works on the section of state.CurrentUsername. The entries are counted inside the caller's
    // transaction: TotalPasswords when entry TotalPasswords is present and the next is not, else
    // the highest n with System<n> or Password<n>, not above the number of values the section
    // holds. TotalPasswords can be damaged, or stale after another instance's change, and must
    // never size the list or lead a write onto an existing entry. Append, remove and removeAll
    // write TotalPasswords as the new count and set state.PasswordCount to it. When a session
    // around them is rolled back afterwards, the size of readAll() is the count to take back.
    EntryStore(RegistryStore& store, SessionState& state);

    StoredEntry read(int n) const;
    std::vector<StoredEntry> readAll() const;   // entries 1 to the count, in one read
    int count() const;

    // The cipher is keyed by the caller. Returns the new entry's number. A section without a
    // version stamp gets one, as an entry added before the user's first logon is encrypted.
    int append(const TDiamond& diamond, const EntryTexts& texts);

    // The commands on one entry name it by its number and by the values its list row was read
    // from; when the store no longer holds exactly those at n, or no entry n at all, they throw
    // EntryChangedError and change nothing.
    void checkUnchanged(int n, const StoredEntry& expected) const;
    // Returns the values as written, for a list that shows cipher strings.
    StoredEntry rewrite(const TDiamond& diamond, int n, const EntryTexts& texts,
                        const StoredEntry& expected);
    // Writes System<n> alone, as a rename in the list does; returns the value written.
    std::string rename(const TDiamond& diamond, int n, std::string_view description,
                       const StoredEntry& expected);
    // Moves every entry above n down by one number and lowers the count by one.
    void remove(int n, const StoredEntry& expected);
    // Deletes every entry value and writes TotalPasswords as 0.
    void removeAll();

private:
    bool isPresent(std::int64_t n) const;
    std::optional<int> agreedTotal() const;
    void writeEntry(int n, const StoredEntry& entry) const;

    RegistryStore& store_;
    SessionState& state_;
};

}  // namespace keystead
