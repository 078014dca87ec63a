#include "exchange/ExportFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "crypto/Diamond.h"
#include "crypto/SecretMemory.h"
#include "exchange/ReplacingFile.h"
#include "store/EntryStore.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"
#include "store/TextRules.h"

namespace keystead {

namespace {

constexpr std::string_view kVersionLine = "VERSION 3.0.0";
constexpr std::string_view kCheckText = "Keystead";
constexpr std::string_view kEndLine = "*** End Password Information ***";
constexpr std::string_view kLineEnd = "\r\n";
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
    out += kLineEnd;
}

void report(const Progress& progress, std::size_t done, std::size_t total) {
    if (progress) {
        progress(static_cast<int>(done), static_cast<int>(total));
    }
}

[[noreturn]] void failToRead(const std::filesystem::path& file, int error) {
    throw KeysteadError("Cannot read the file '" + file.string() + "': " + std::strerror(error));
}

// The whole file; only a regular file is read, so that no read waits on a pipe or a device.
std::string readWholeFile(const std::filesystem::path& file) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error) {
        failToRead(file, error.value());   // the C library's error number, as stat gives it
    }
    if (!std::filesystem::is_regular_file(status)) {
        failToRead(file, std::filesystem::is_directory(status) ? EISDIR : EINVAL);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        failToRead(file, errno != 0 ? errno : EACCES);
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        failToRead(file, EIO);
    }
    return bytes;
}

// The lines of an export file, ended by CR LF or a bare LF; a last line without its end counts.
class ExportLines {
public:
    explicit ExportLines(std::string_view bytes) : rest_(bytes) {}

    std::optional<std::string_view> next() {
        if (rest_.empty()) {
            return std::nullopt;
        }
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

    // A line an entry cannot do without: the file ending here is a damaged list.
    std::string_view required() {
        const auto line = next();
        if (!line) {
            throw KeysteadError(std::string(kCorruptListText));
        }
        return *line;
    }

private:
    std::string_view rest_;
};

// One entry of the file, its lines as they stand.
struct FileEntry {
    std::string_view description;
    std::string_view username;
    std::string_view password;
    std::string_view expiration;
    std::string_view daysTillExpiration;
    std::string comments;   // its lines joined with CR LF
};

FileEntry readFileEntry(ExportLines& lines) {
    FileEntry entry;
    entry.description = lines.required();
    entry.username = lines.required();
    entry.password = lines.required();
    entry.expiration = lines.required();
    entry.daysTillExpiration = lines.required();
    bool first = true;
    for (std::string_view line = lines.required(); line != kEndLine; line = lines.required()) {
        if (!first) {
            entry.comments += kLineEnd;
        }
        entry.comments += line;
        first = false;
    }
    return entry;
}

// Everything the import needs from the file, checked before the store is opened.
struct ImportSource {
    bool currentFormat = false;
    std::vector<FileEntry> entries;
};

ImportSource readImportSource(std::string_view bytes, const TDiamond& fileCipher) {
    ExportLines lines(bytes);
    ImportSource source;
    source.currentFormat = lines.next().value_or("") == kVersionLine;
    if (fileCipher.DecryptCipherString(lines.next().value_or("")) != kCheckText) {
        throw KeysteadError(std::string(kWrongFilePasswordText));
    }
    const std::optional<int> count = parseInteger(lines.next().value_or(""));
    if (!count || *count <= 0) {
        throw KeysteadError(std::string(kCorruptListText));
    }
    // The count only bounds the loop: the entries present decide what is kept in memory.
    for (int k = 0; k < *count; ++k) {
        source.entries.push_back(readFileEntry(lines));
    }
    return source;
}

// The values of one imported entry at number n, re-encrypted under the logon password; an
// optional value that is empty is deleted there, so nothing of an earlier entry n stays.
void putImportedEntry(std::vector<StoredValue>& writes, std::vector<std::string>& deletes, int n,
                      const FileEntry& entry, bool currentFormat, const TDiamond& fileCipher,
                      const TDiamond& logonCipher) {
    const auto fromCipher = [&](std::string_view line) {
        const SecretText plain(fileCipher.DecryptCipherString(line));
        return logonCipher.EncryptToCipherString(plain.get());
    };
    const auto fromPlain = [&](std::string_view line) {
        return logonCipher.EncryptToCipherString(line);
    };
    const std::string number = std::to_string(n);
    const auto put = [&](const char* base, bool present, const auto& value) {
        if (present) {
            writes.push_back({base + number, value()});
        } else {
            deletes.push_back(base + number);
        }
    };
    put("Password", true, [&] { return fromCipher(entry.password); });
    put("System", true, [&] {
        return currentFormat ? fromCipher(entry.description) : fromPlain(entry.description);
    });
    put("Username", !entry.username.empty(), [&] { return fromCipher(entry.username); });
    put("Expiration", !entry.expiration.empty(), [&] { return std::string(entry.expiration); });
    put("DaysTillExpiration", !entry.daysTillExpiration.empty(),
        [&] { return std::string(entry.daysTillExpiration); });
    put("Comments", !entry.comments.empty(), [&] {
        return currentFormat ? fromCipher(entry.comments) : fromPlain(entry.comments);
    });
}

}  // namespace

void WriteEncryptedExport(RegistryStore& store, const SessionState& state,
                          const std::filesystem::path& file, const Progress& progress) {
    ReplacingFile out(file);
    const auto entries = readEntries(store, state);
    TDiamond diamond;
    diamond.SetKey(state.LogonPassword);
    std::string text;
    appendLine(text, kVersionLine);
    appendLine(text, diamond.EncryptToCipherString(kCheckText));
    appendLine(text, std::to_string(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StoredEntry& entry = entries[i];
        for (const std::string* value : {&entry.system, &entry.username, &entry.password,
                                         &entry.expiration, &entry.daysTillExpiration,
                                         &entry.comments}) {
            appendLine(text, *value);
        }
        appendLine(text, kEndLine);
        report(progress, i + 1, entries.size());
    }
    out.write(text);
    out.commit();
}

void WritePlainExport(RegistryStore& store, const SessionState& state,
                      const std::filesystem::path& file, const Progress& progress) {
    ReplacingFile out(file);
    const auto entries = readEntries(store, state);
    TDiamond diamond;
    diamond.SetKey(state.LogonPassword);
    // The file's text is the whole list in plain text: no copy of it is left behind in memory.
    SecretText text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StoredEntry& entry = entries[i];
        for (const std::string* value :
             {&entry.system, &entry.username, &entry.password, &entry.comments}) {
            const SecretText plain(diamond.DecryptCipherString(*value));
            AppendSecret(text.get(), plain.get());
            AppendSecret(text.get(), kLineEnd);
        }
        AppendSecret(text.get(), kPlainSeparator);
        AppendSecret(text.get(), kLineEnd);
        report(progress, i + 1, entries.size());
    }
    out.write(text.get());
    out.commit();
}

int ImportExportFile(RegistryStore& store, SessionState& state, const std::filesystem::path& file,
                     std::string_view filePassword, ImportMode mode, const Progress& progress) {
    const std::string bytes = readWholeFile(file);
    TDiamond Diamond1;
    Diamond1.SetKey(filePassword);
    const ImportSource source = readImportSource(bytes, Diamond1);
    const int count = static_cast<int>(source.entries.size());

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
        putImportedEntry(writes, deletes, first + k, source.entries[static_cast<std::size_t>(k)],
                         source.currentFormat, Diamond1, Diamond2);
        report(progress, static_cast<std::size_t>(k) + 1, source.entries.size());
    }
    const int total = first - 1 + count;
    writes.push_back({"TotalPasswords", std::to_string(total)});
    store.writeValues(state.CurrentUsername, writes);
    store.deleteValues(state.CurrentUsername, deletes);
    session.close();
    state.PasswordCount = total;
    return count;
}

}  // namespace keystead
