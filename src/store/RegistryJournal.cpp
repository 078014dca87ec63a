#include "store/RegistryJournal.h"

#include <cstdint>
#include <cstring>
#include <system_error>
#include <utility>

#include "store/KeysteadError.h"
#include "store/RegistryText.h"

namespace keystead {

namespace {

constexpr std::wstring_view kFormat = L"1";
constexpr std::wstring_view kEnd = L"end";

ULONGLONG startOfProcess(HANDLE process) {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return 0;
    }
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

RegistryKey openKey(HKEY root, const std::wstring& name, REGSAM access, LONG& rc) {
    HKEY opened = nullptr;
    rc = RegOpenKeyExW(root, name.c_str(), 0, access, &opened);
    return rc == ERROR_SUCCESS ? RegistryKey(opened) : RegistryKey();
}

// The record is text of fields, each its length in decimal, a colon and its characters, so that
// any value, line breaks and NULs included, comes back exactly.
void putField(std::wstring& out, std::wstring_view field) {
    out += std::to_wstring(field.size());
    out += L':';
    out += field;
}

void putNumber(std::wstring& out, std::uint64_t number) {
    putField(out, std::to_wstring(number));
}

// A value's bytes two to a character, the last padded when their number is odd.
std::wstring packedBytes(const std::vector<BYTE>& bytes) {
    std::wstring packed((bytes.size() + 1) / 2, L'\0');
    std::memcpy(packed.data(), bytes.data(), bytes.size());
    return packed;
}

class JournalFieldReader {
public:
    explicit JournalFieldReader(std::wstring_view text) : rest_(text) {}

    std::optional<std::wstring_view> field() {
        std::size_t length = 0;
        std::size_t digits = 0;
        while (digits < rest_.size() && rest_[digits] >= L'0' && rest_[digits] <= L'9' && digits < 12) {
            length = length * 10 + static_cast<std::size_t>(rest_[digits] - L'0');
            ++digits;
        }
        if (digits == 0 || digits >= rest_.size() || rest_[digits] != L':' ||
            length > rest_.size() - digits - 1) {
            return std::nullopt;
        }
        const std::wstring_view found = rest_.substr(digits + 1, length);
        rest_.remove_prefix(digits + 1 + length);
        return found;
    }

    std::optional<std::uint64_t> number() {
        const auto text = field();
        if (!text || text->empty() || text->size() > 19) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (const wchar_t c : *text) {
            if (c < L'0' || c > L'9') {
                return std::nullopt;
            }
            value = value * 10 + static_cast<std::uint64_t>(c - L'0');
        }
        return value;
    }

private:
    std::wstring_view rest_;
};

std::wstring textOfBytes(const std::vector<BYTE>& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

}  // namespace

RegistryJournal::RegistryJournal()
    : processId_(GetCurrentProcessId()), processStart_(startOfProcess(GetCurrentProcess())) {}

std::size_t RegistryJournal::addSection(std::wstring name, bool existed) {
    sections_.push_back({std::move(name), existed});
    return sections_.size() - 1;
}

void RegistryJournal::addValue(std::size_t section, std::wstring ident,
                               std::optional<RawValue> before) {
    values_.push_back({section, std::move(ident), std::move(before)});
}

std::wstring RegistryJournal::text() const {
    std::wstring out;
    putField(out, kFormat);
    putNumber(out, processId_);
    putNumber(out, processStart_);
    putNumber(out, home_);
    putNumber(out, sections_.size());
    for (const Section& section : sections_) {
        putField(out, section.name);
        putNumber(out, section.existed ? 1 : 0);
    }
    putNumber(out, values_.size());
    for (const Value& value : values_) {
        putNumber(out, value.section);
        putField(out, value.ident);
        putNumber(out, value.before ? 1 : 0);
        if (value.before) {
            putNumber(out, value.before->type);
            putNumber(out, value.before->bytes.size());
            putField(out, packedBytes(value.before->bytes));
        }
    }
    putField(out, kEnd);
    return out;
}

std::optional<RegistryJournal> RegistryJournal::parse(std::wstring_view text) {
    JournalFieldReader reader(text);
    RegistryJournal journal;
    const auto format = reader.field();
    const auto processId = reader.number();
    const auto processStart = reader.number();
    const auto home = reader.number();
    const auto sections = reader.number();
    if (format != kFormat || !processId || !processStart || !home || !sections ||
        *home >= *sections || *processId > MAXDWORD) {
        return std::nullopt;
    }
    journal.processId_ = static_cast<DWORD>(*processId);
    journal.processStart_ = *processStart;
    journal.home_ = static_cast<std::size_t>(*home);
    for (std::uint64_t i = 0; i < *sections; ++i) {
        const auto name = reader.field();
        const auto existed = reader.number();
        if (!name || !existed || *existed > 1) {
            return std::nullopt;
        }
        journal.addSection(std::wstring(*name), *existed == 1);
    }
    const auto values = reader.number();
    if (!values) {
        return std::nullopt;
    }
    for (std::uint64_t i = 0; i < *values; ++i) {
        const auto section = reader.number();
        const auto ident = reader.field();
        const auto present = reader.number();
        if (!section || *section >= *sections || !ident || !present || *present > 1) {
            return std::nullopt;
        }
        std::optional<RawValue> before;
        if (*present == 1) {
            const auto type = reader.number();
            const auto size = reader.number();
            const auto packed = reader.field();
            if (!type || *type > MAXDWORD || !size || !packed || (*size + 1) / 2 != packed->size()) {
                return std::nullopt;
            }
            before = RawValue{static_cast<DWORD>(*type), std::vector<BYTE>(*size)};
            std::memcpy(before->bytes.data(), packed->data(), before->bytes.size());
        }
        journal.addValue(static_cast<std::size_t>(*section), std::wstring(*ident), std::move(before));
    }
    if (reader.field() != kEnd) {
        return std::nullopt;
    }
    return journal;
}

LONG RegistryJournal::write(HKEY root, std::size_t home) {
    home_ = home;
    LONG rc = ERROR_SUCCESS;
    const RegistryKey key = createSectionKey(root, sections_[home_].name, KEY_SET_VALUE, rc);
    return key ? setTextValue(key.get(), std::wstring(kValueName), text()) : rc;
}

LONG RegistryJournal::clear(HKEY root) const {
    LONG rc = ERROR_SUCCESS;
    const RegistryKey key = openKey(root, sections_[home_].name, KEY_SET_VALUE, rc);
    if (!key) {
        return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
    }
    return deleteRegistryValue(key.get(), std::wstring(kValueName));
}

LONG RegistryJournal::restore(HKEY root, const Value& value) const {
    const std::wstring& section = sections_[value.section].name;
    LONG rc = ERROR_SUCCESS;
    if (value.before) {
        const RegistryKey key = createSectionKey(root, section, KEY_SET_VALUE, rc);
        return key ? setRawValue(key.get(), value.ident, *value.before) : rc;
    }
    const RegistryKey key = openKey(root, section, KEY_SET_VALUE, rc);
    if (!key) {
        return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
    }
    return deleteRegistryValue(key.get(), value.ident);
}

// A section the commit created goes again, unless something else was written into it meanwhile;
// in the home section the record itself does not count.
LONG RegistryJournal::removeWhenEmpty(HKEY root, std::size_t section, bool& removed) const {
    removed = false;
    const std::wstring& name = sections_[section].name;
    LONG rc = ERROR_SUCCESS;
    const RegistryKey key = openKey(root, name, KEY_QUERY_VALUE, rc);
    if (!key) {
        removed = rc == ERROR_FILE_NOT_FOUND;
        return removed ? ERROR_SUCCESS : rc;
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    rc = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                          &values, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (values == 1 && section == home_) {
        std::optional<RawValue> record;
        rc = readRawValue(key.get(), std::wstring(kValueName), record);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        values = record ? 0 : 1;
    }
    if (subkeys > 0 || values > 0) {
        return ERROR_SUCCESS;
    }
    rc = deleteSectionKey(root, name);
    removed = rc == ERROR_SUCCESS;
    return rc;
}

LONG RegistryJournal::rollBack(HKEY root) const {
    for (const Value& value : values_) {
        if (const LONG rc = restore(root, value); rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    for (std::size_t section = 0; section < sections_.size(); ++section) {
        if (sections_[section].existed) {
            continue;
        }
        bool removed = false;
        if (const LONG rc = removeWhenEmpty(root, section, removed); rc != ERROR_SUCCESS) {
            return rc;
        }
        if (removed && section == home_) {
            return ERROR_SUCCESS;   // the record went with its section
        }
    }
    return clear(root);
}

bool RegistryJournal::writerStillRunning() const {
    if (processId_ == GetCurrentProcessId()) {
        return false;   // this process writes nothing while it opens a session
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId_);
    if (process == nullptr) {
        return false;
    }
    const bool same = startOfProcess(process) == processStart_;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return same && running;
}

LONG RegistryJournal::settle(HKEY root, const std::wstring& section) {
    LONG rc = ERROR_SUCCESS;
    const RegistryKey key = openKey(root, section, KEY_QUERY_VALUE, rc);
    if (!key) {
        return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
    }
    std::optional<RawValue> record;
    rc = readRawValue(key.get(), std::wstring(kValueName), record);
    if (rc != ERROR_SUCCESS || !record) {
        return rc;
    }
    const auto journal = parse(textOfBytes(record->bytes));
    if (!journal || foldedName(journal->sections_[journal->home_].name) != foldedName(section)) {
        const RegistryKey writable = openKey(root, section, KEY_SET_VALUE, rc);
        return writable ? deleteRegistryValue(writable.get(), std::wstring(kValueName)) : rc;
    }
    return journal->writerStillRunning() ? ERROR_SUCCESS : journal->rollBack(root);
}

void RegistryJournal::settleAll(HKEY root, const std::vector<std::wstring>& sections,
                                const std::string& keyText) {
    for (const std::wstring& section : sections) {
        if (const LONG rc = settle(root, section); rc != ERROR_SUCCESS) {
            throw KeysteadError("An unfinished change in the store key '" + keyText +
                                "' could not be undone: " +
                                std::system_category().message(static_cast<int>(rc)));
        }
    }
}

}  // namespace keystead
