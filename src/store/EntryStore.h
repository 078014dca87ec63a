#pragma once
// The password entries of the logged-on user: the values System<n>, Username<n>, Password<n>,
// Comments<n>, Expiration<n> and DaysTillExpiration<n> of the user's section, numbered 1 to
// TotalPasswords without gaps. Each change is atomic on its own and becomes part of the caller's
// StoreSession when one is open.

#include <string>
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
    // Works on the section of state.CurrentUsername. Append, remove and removeAll count from
    // TotalPasswords as the store holds it inside their transaction, not from PasswordCount, and
    // set state.PasswordCount to the TotalPasswords they wrote. When a session around them is
    // rolled back afterwards, the size of readAll() is the count to take back.
    EntryStore(RegistryStore& store, SessionState& state);

    StoredEntry read(int n) const;
    std::vector<StoredEntry> readAll() const;   // entries 1 to TotalPasswords, in one read

    // The cipher is keyed by the caller. Returns the new entry's number.
    int append(const TDiamond& diamond, const EntryTexts& texts);
    // Returns the values as written, for a list that shows cipher strings. rewrite and remove
    // throw KeysteadError, changing nothing, when entry n does not exist.
    StoredEntry rewrite(const TDiamond& diamond, int n, const EntryTexts& texts);

    // Moves every entry above n down by one number and lowers TotalPasswords by one.
    void remove(int n);
    // Deletes every entry value and writes TotalPasswords as 0.
    void removeAll();

private:
    int totalPasswords() const;
    void checkExists(int n) const;
    void writeEntry(int n, const StoredEntry& entry) const;

    RegistryStore& store_;
    SessionState& state_;
};

}  // namespace keystead
