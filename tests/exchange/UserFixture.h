#pragma once
// A logged-on user in a fresh store in a temporary folder, with helpers to fill the list, read
// it back in plain text, and read or write files of the folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../store/TempFolder.h"
#include "../support/ReadFile.h"
#include "crypto/Diamond.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

namespace keystead::test {

// An entry in plain text; an empty field is stored absent where the store allows it.
struct PlainEntry {
    std::string description;
    std::string username;
    std::string password;
    std::string comments;
    std::string expiration;
    std::string daysTillExpiration;

    bool operator==(const PlainEntry&) const = default;
};

class UserFixture : public testing::Test {
protected:
    UserFixture();

    // Creates the user's section, logs the user on and appends the entries.
    void logOn(const std::string& user, const std::string& password,
               const std::vector<PlainEntry>& entries = {});
    // Adds the entries in one write, as fast as the store takes them.
    void addEntries(const std::vector<PlainEntry>& entries);
    // Entries 1 to TotalPasswords, decrypted under the key given (the logon password when empty).
    std::vector<PlainEntry> plainEntries(const std::string& key = {});
    std::map<std::string, std::string> sectionValues();
    // The logon check: the user's section gives the user's own name back only under the password.
    bool logonAccepts(const std::string& password);

    std::filesystem::path file(const std::string& name) const { return folder.path() / name; }
    static void writeFile(const std::filesystem::path& file, const std::string& bytes);
    // The lines of a file split at CR LF; fails the test on a line end of any other kind.
    static std::vector<std::string> crlfLines(const std::string& bytes);
    // The names in the folder, for a check that no temporary file was left behind.
    std::vector<std::string> folderNames() const;

    TempFolder folder;
    std::unique_ptr<RegistryStore> store;
    SessionState state;
    TDiamond diamond;   // keyed with the logon password
};

}  // namespace keystead::test
