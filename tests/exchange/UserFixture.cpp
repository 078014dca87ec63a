#include "UserFixture.h"

#include <algorithm>
#include <fstream>

namespace keystead::test {

UserFixture::UserFixture() : store(RegistryStore::OpenFile(folder.storeFile())) {}

void UserFixture::logOn(const std::string& user, const std::string& password,
                        const std::vector<PlainEntry>& entries) {
    diamond.SetKey(password);
    if (!store->UserExists(user)) {
        store->CreateUser(user, diamond.EncryptToCipherString(user));
    }
    state = SessionState{};
    state.CurrentUsername = user;
    state.LogonPassword = password;
    state.PasswordCount = store->ReadInteger(user, "TotalPasswords", 0);
    addEntries(entries);
}

void UserFixture::addEntries(const std::vector<PlainEntry>& entries) {
    if (entries.empty()) {
        return;
    }
    int n = store->ReadInteger(state.CurrentUsername, "TotalPasswords", 0);
    std::vector<StoredValue> values;
    const auto cipher = [&](const std::string& ident, const std::string& text, bool always) {
        if (always || !text.empty()) {
            values.push_back({ident, diamond.EncryptToCipherString(text)});
        }
    };
    for (const PlainEntry& entry : entries) {
        const std::string number = std::to_string(++n);
        cipher("System" + number, entry.description, true);
        cipher("Username" + number, entry.username, false);
        cipher("Password" + number, entry.password, true);
        cipher("Comments" + number, entry.comments, false);
        if (!entry.expiration.empty()) {
            values.push_back({"Expiration" + number, entry.expiration});
        }
        if (!entry.daysTillExpiration.empty()) {
            values.push_back({"DaysTillExpiration" + number, entry.daysTillExpiration});
        }
    }
    values.push_back({"TotalPasswords", std::to_string(n)});
    store->writeValues(state.CurrentUsername, values);
    state.PasswordCount = n;
}

std::vector<PlainEntry> UserFixture::plainEntries(const std::string& key) {
    TDiamond reader;
    reader.SetKey(key.empty() ? state.LogonPassword : key);
    std::vector<PlainEntry> entries;
    for (const StoredEntry& stored : EntryStore(*store, state).readAll()) {
        entries.push_back({reader.DecryptCipherString(stored.system),
                           reader.DecryptCipherString(stored.username),
                           reader.DecryptCipherString(stored.password),
                           reader.DecryptCipherString(stored.comments), stored.expiration,
                           stored.daysTillExpiration});
    }
    return entries;
}

std::map<std::string, std::string> UserFixture::sectionValues() {
    std::map<std::string, std::string> values;
    for (const auto& [ident, value] : store->readSectionValues(state.CurrentUsername)) {
        values[ident] = value;
    }
    return values;
}

bool UserFixture::logonAccepts(const std::string& password) {
    TDiamond check;
    check.SetKey(password);
    return check.DecryptCipherString(store->ReadString(state.CurrentUsername, "MainPassword", "")) ==
           state.CurrentUsername;
}

void UserFixture::writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> UserFixture::crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "the file does not end with CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> UserFixture::folderNames() const {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace keystead::test
