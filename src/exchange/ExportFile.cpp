#include "exchange/ExportFile.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "crypto/Diamond.h"
#include "crypto/SecretMemory.h"
#include "exchange/ImportFile.h"
#include "exchange/ReplacingFile.h"
#include "store/EntryStore.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"
#include "store/VersionStamp.h"

namespace keystead {

namespace {

constexpr std::string_view kPlainSeparator =
    "----------------------------------------------------------------------";

// The entries as stored, read in one session so that the file shows one moment of the list.
std::vector<StoredEntry> readEntries(RegistryStore& store, const SessionState& state) {
    SessionState reader = state;
    StoreSession session(store);
    auto entries = EntryStore(store, reader).readAll();
    session.close();
    return entries;
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += kExportLineEnd;
}

// Room for the whole file at once. A cipher string is longer than the text it holds, so the
// stored values' lengths bound the plain file as well: the text is never moved while it grows,
// which would leave copies to wipe and fault in fresh pages at every doubling.
std::size_t exportSizeBound(const std::vector<StoredEntry>& entries) {
    std::size_t size = 64;
    for (const StoredEntry& entry : entries) {
        size += entry.system.size() + entry.username.size() + entry.password.size() +
                entry.expiration.size() + entry.daysTillExpiration.size() + entry.comments.size() +
                std::max(kExportEndLine.size(), kPlainSeparator.size()) + 7 * kExportLineEnd.size();
    }
    return size;
}

void report(const Progress& progress, std::size_t done, std::size_t total) {
    if (progress) {
        progress(static_cast<int>(done), static_cast<int>(total));
    }
}

// The store is one file of the folder an export goes to by default: replacing it would swap every
// user's list for one user's export.
void refuseStoreFile(const RegistryStore& store, const std::filesystem::path& file) {
    if (store.isStoreFile(file)) {
        throw KeysteadError("Cannot write the file '" + file.string() +
                            "': it is where Keystead keeps the passwords of every user");
    }
}

// The values of one imported entry at number n, re-encrypted under the logon password; an
// optional value that is empty is deleted there, so nothing of an earlier entry n stays.
void putImportedEntry(std::vector<StoredValue>& writes, std::vector<std::string>& deletes, int n,
                      const ImportedEntry& entry, const TDiamond& logonCipher) {
    const std::string number = std::to_string(n);
    const auto put = [&](const char* base, bool present, const auto& value) {
        if (present) {
            writes.push_back({base + number, value()});
        } else {
            deletes.push_back(base + number);
        }
    };
    const auto encrypted = [&](const SecretText& text) {
        return [&] { return logonCipher.EncryptToCipherString(text.get()); };
    };
    put("Password", true, encrypted(entry.password));
    put("System", true, encrypted(entry.description));
    put("Username", entry.hasUsername, encrypted(entry.username));
    put("Expiration", !entry.expiration.empty(), [&] { return entry.expiration; });
    put("DaysTillExpiration", !entry.daysTillExpiration.empty(),
        [&] { return entry.daysTillExpiration; });
    put("Comments", entry.hasComments, encrypted(entry.comments));
}

}  // namespace

void WriteEncryptedExport(RegistryStore& store, const SessionState& state,
                          const std::filesystem::path& file, const Progress& progress) {
    refuseStoreFile(store, file);
    ReplacingFile out(file);
    const auto entries = readEntries(store, state);
    TDiamond diamond;
    diamond.SetKey(state.LogonPassword);
    std::string text;
    text.reserve(exportSizeBound(entries));
    appendLine(text, kExportVersionLine);
    appendLine(text, diamond.EncryptToCipherString(kExportCheckText));
    appendLine(text, std::to_string(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StoredEntry& entry = entries[i];
        for (const std::string* value : {&entry.system, &entry.username, &entry.password,
                                         &entry.expiration, &entry.daysTillExpiration,
                                         &entry.comments}) {
            appendLine(text, *value);
        }
        appendLine(text, kExportEndLine);
        report(progress, i + 1, entries.size());
    }
    out.write(text);
    out.commit();
}

void WritePlainExport(RegistryStore& store, const SessionState& state,
                      const std::filesystem::path& file, const Progress& progress) {
    refuseStoreFile(store, file);
    ReplacingFile out(file);
    const auto entries = readEntries(store, state);
    TDiamond diamond;
    diamond.SetKey(state.LogonPassword);
    // The file's text is the whole list in plain text: no copy of it is left behind in memory.
    SecretText text;
    text.get().reserve(exportSizeBound(entries));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StoredEntry& entry = entries[i];
        for (const std::string* value :
             {&entry.system, &entry.username, &entry.password, &entry.comments}) {
            const SecretText plain(diamond.DecryptCipherString(*value));
            AppendSecret(text.get(), plain.get());
            AppendSecret(text.get(), kExportLineEnd);
        }
        AppendSecret(text.get(), kPlainSeparator);
        AppendSecret(text.get(), kExportLineEnd);
        report(progress, i + 1, entries.size());
    }
    out.write(text.get());
    out.commit();
}

int StoreImportedEntries(RegistryStore& store, SessionState& state,
                         const std::vector<ImportedEntry>& imported, ImportMode mode,
                         const Progress& progress) {
    const int count = static_cast<int>(imported.size());
    TDiamond Diamond2;
    Diamond2.SetKey(state.LogonPassword);
    StoreSession session(store);
    // A copy: the count changes in the state only once the whole import is committed.
    SessionState scratch = state;
    EntryStore entries(store, scratch);
    if (mode == ImportMode::Overwrite) {
        entries.removeAll();
    }
    const int first = mode == ImportMode::Overwrite ? 1 : static_cast<int>(entries.readAll().size()) + 1;
    if (first - 1 > INT_MAX - count) {
        throw KeysteadError(std::string(kCorruptListText));
    }
    std::vector<StoredValue> writes;
    std::vector<std::string> deletes;
    for (int k = 0; k < count; ++k) {
        putImportedEntry(writes, deletes, first + k, imported[static_cast<std::size_t>(k)], Diamond2);
        report(progress, static_cast<std::size_t>(k) + 1, imported.size());
    }
    const int total = first - 1 + count;
    writes.push_back({"TotalPasswords", std::to_string(total)});
    store.writeValues(state.CurrentUsername, writes);
    store.deleteValues(state.CurrentUsername, deletes);
    stampVersionWhenAbsent(store, state.CurrentUsername);
    session.close();
    state.PasswordCount = total;
    return count;
}

int ImportExportFile(RegistryStore& store, SessionState& state, const std::filesystem::path& file,
                     std::string_view filePassword, ImportMode mode, const Progress& progress) {
    const std::string bytes = readImportFile(file);
    TDiamond Diamond1;
    Diamond1.SetKey(filePassword);
    return StoreImportedEntries(store, state, ReadExportFile(bytes, Diamond1), mode, progress);
}

}  // namespace keystead
