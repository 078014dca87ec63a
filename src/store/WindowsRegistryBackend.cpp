// The store in the Windows registry: sections are subkeys of the store's key, idents value names,
// every value REG_SZ. The registry has no transactions, so a session keeps its changes in memory,
// where its own reads see them, and applies them only when the outermost session commits, behind
// a journal that lets a commit broken off half-way be undone.

#include <windows.h>

#include <algorithm>
#include <map>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "store/KeysteadError.h"
#include "store/RegistryBackend.h"
#include "store/RegistryJournal.h"
#include "store/RegistryKey.h"
#include "store/RegistryText.h"
#include "store/RegistryWrites.h"
#include "store/TextRules.h"

namespace keystead {

namespace {

constexpr const wchar_t* kDefaultKey = L"Software\\Vorrent\\Keystead";

std::string reasonOf(LONG code) {
    return std::system_category().message(static_cast<int>(code));
}

std::string getFailedText(std::string_view ident) {
    return "Failed to get data for '" + std::string(ident) + "'";
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        };
        return lower(x) < lower(y);
    });
}

// A registry string holds its terminating NUL, or lacks it when written carelessly; an odd byte
// left over cannot be a character.
std::wstring stringOfBytes(const std::vector<BYTE>& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

struct PendingValue {
    std::wstring ident;
    std::optional<std::wstring> value;   // none: deleted
    std::size_t lastChange = 0;          // index of the change that set it
};

struct PendingSection {
    std::wstring name;       // as first written
    bool created = false;    // some change wrote into it
    std::map<std::wstring, PendingValue> values;   // by folded ident
};

struct PendingChange {
    std::wstring section;
    std::wstring ident;
    std::optional<std::wstring> value;
};

class WindowsRegistryBackend final : public RegistryStore::Backend {
public:
    explicit WindowsRegistryBackend(const std::filesystem::path& key);

    void beginSession() override;
    void endSession(bool commit) override;
    std::optional<std::string> readValue(std::string_view section, std::string_view ident) override;
    bool sectionExists(std::string_view section) override;
    std::vector<std::string> readSections() override;
    std::vector<StoredValue> readSectionValues(std::string_view section) override;
    std::vector<std::string> readIdents(std::string_view section) override;
    void writeValues(std::string_view section, const std::vector<StoredValue>& values) override;
    void deleteValues(std::string_view section, const std::vector<std::string>& idents) override;

private:
    RegistryKey openSection(std::string_view section, REGSAM access) const;
    std::vector<std::wstring> storedSectionNames() const;
    void settleJournals();
    void settleJournalLeft();
    std::optional<std::wstring> storedValue(HKEY key, const std::wstring& ident,
                                            std::string_view identText) const;
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> storedValues(
        std::string_view section, bool withValues) const;
    const PendingSection* pendingSection(std::string_view section) const;
    void record(PendingChange change);
    void rebuildPending();
    std::vector<const PendingChange*> finalChanges() const;
    RegistryKey openSectionToChange(const std::wstring& name) const;
    std::optional<RawValue> valueBefore(const RegistryKey& key, const std::wstring& ident) const;
    void check(LONG rc) const;
    void apply();
    [[noreturn]] void failToSave(const std::string& reason) const;

    std::string keyText_;
    RegistryKey root_;
    int sessionDepth_ = 0;
    bool journalLeft_ = false;   // a commit of this process failed and could not be undone yet
    std::vector<PendingChange> changes_;        // in the order they were made
    std::vector<std::size_t> innerStarts_;      // changes_.size() when each inner session began
    std::map<std::wstring, PendingSection> pending_;   // the changes by folded section name
};

HKEY createdStoreKey(const std::filesystem::path& key, const std::string& keyText) {
    HKEY opened = nullptr;
    const LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                                    nullptr);
    if (rc != ERROR_SUCCESS) {
        throw KeysteadError("Cannot open the store key '" + keyText + "': " + reasonOf(rc));
    }
    return opened;
}

WindowsRegistryBackend::WindowsRegistryBackend(const std::filesystem::path& key)
    : keyText_("HKEY_CURRENT_USER\\" + utf8Text(key.native())),
      root_(createdStoreKey(key, keyText_)) {
    settleJournals();
}

// Before anything is read: a commit that a process broke off is undone first.
void WindowsRegistryBackend::settleJournals() {
    RegistryJournal::settleAll(root_.get(), storedSectionNames(), keyText_);
    journalLeft_ = false;
}

// A read outside any session, after a commit of this process failed and could not be undone.
void WindowsRegistryBackend::settleJournalLeft() {
    if (journalLeft_ && sessionDepth_ == 0) {
        settleJournals();
    }
}

void WindowsRegistryBackend::failToSave(const std::string& reason) const {
    throw KeysteadError("The changes could not be saved in the store key '" + keyText_ + "': " +
                        reason);
}

void WindowsRegistryBackend::beginSession() {
    if (sessionDepth_ > 0) {
        innerStarts_.push_back(changes_.size());
    } else {
        settleJournals();   // another instance may have ended half-way through a commit
    }
    ++sessionDepth_;
}

void WindowsRegistryBackend::endSession(bool commit) {
    --sessionDepth_;
    if (sessionDepth_ > 0) {
        const std::size_t start = innerStarts_.back();
        innerStarts_.pop_back();
        if (!commit) {
            changes_.resize(start);
            rebuildPending();
        }
        return;
    }
    if (commit) {
        try {
            apply();
        } catch (...) {
            changes_.clear();
            pending_.clear();
            throw;
        }
    }
    changes_.clear();
    pending_.clear();
}

void WindowsRegistryBackend::record(PendingChange change) {
    const std::size_t index = changes_.size();
    auto& section = pending_[foldedName(change.section)];
    if (section.name.empty()) {
        section.name = change.section;
    }
    section.created = section.created || change.value.has_value();
    section.values[foldedName(change.ident)] = {change.ident, change.value, index};
    changes_.push_back(std::move(change));
}

void WindowsRegistryBackend::rebuildPending() {
    auto changes = std::move(changes_);
    changes_.clear();
    pending_.clear();
    for (auto& change : changes) {
        record(std::move(change));
    }
}

const PendingSection* WindowsRegistryBackend::pendingSection(std::string_view section) const {
    const auto found = pending_.find(foldedName(wideText(section)));
    return found == pending_.end() ? nullptr : &found->second;
}

// A name with a backslash would reach a key below a section; no section has one.
RegistryKey WindowsRegistryBackend::openSection(std::string_view section, REGSAM access) const {
    if (!isAcceptableSectionName(section)) {
        return {};
    }
    HKEY opened = nullptr;
    const LONG rc = RegOpenKeyExW(root_.get(), wideText(section).c_str(), 0, access, &opened);
    if (rc == ERROR_FILE_NOT_FOUND) {
        return {};
    }
    if (rc != ERROR_SUCCESS) {
        throw KeysteadError(getFailedText(section) + ": " + reasonOf(rc));
    }
    return RegistryKey(opened);
}

std::optional<std::wstring> WindowsRegistryBackend::storedValue(HKEY key, const std::wstring& ident,
                                                                std::string_view identText) const {
    std::optional<RawValue> raw;
    if (readRawValue(key, ident, raw) != ERROR_SUCCESS) {
        throw KeysteadError(getFailedText(identText));
    }
    if (!raw) {
        return std::nullopt;
    }
    if (raw->type != REG_SZ && raw->type != REG_EXPAND_SZ) {
        throw KeysteadError("Invalid data type for '" + std::string(identText) + "'");
    }
    return stringOfBytes(raw->bytes);
}

std::optional<std::string> WindowsRegistryBackend::readValue(std::string_view section,
                                                             std::string_view ident) {
    settleJournalLeft();
    const std::wstring wideIdent = wideText(ident);
    if (const auto* pending = pendingSection(section)) {
        const auto found = pending->values.find(foldedName(wideIdent));
        if (found != pending->values.end()) {
            if (!found->second.value) {
                return std::nullopt;
            }
            return utf8Text(*found->second.value);
        }
    }
    const RegistryKey key = openSection(section, KEY_QUERY_VALUE);
    if (!key) {
        return std::nullopt;
    }
    const auto value = storedValue(key.get(), wideIdent, ident);
    return value ? std::optional<std::string>(utf8Text(*value)) : std::nullopt;
}

bool WindowsRegistryBackend::sectionExists(std::string_view section) {
    settleJournalLeft();
    const auto* pending = pendingSection(section);
    return (pending != nullptr && pending->created) ||
           static_cast<bool>(openSection(section, KEY_QUERY_VALUE));
}

// The sections in the registry, in its order of enumeration.
std::vector<std::wstring> WindowsRegistryBackend::storedSectionNames() const {
    DWORD count = 0;
    DWORD longest = 0;
    LONG rc = RegQueryInfoKeyW(root_.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) {
        throw KeysteadError("Failed to read the sections of the store");
    }
    std::vector<std::wstring> names;
    std::wstring name(longest + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        rc = RegEnumKeyExW(root_.get(), index, name.data(), &length, nullptr, nullptr, nullptr,
                           nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (rc == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            throw KeysteadError("Failed to read the sections of the store");
        }
        names.emplace_back(name.data(), length);
    }
    return names;
}

std::vector<std::string> WindowsRegistryBackend::readSections() {
    settleJournalLeft();
    std::map<std::wstring, std::wstring> names;   // by folded name
    for (std::wstring& found : storedSectionNames()) {
        names.emplace(foldedName(found), std::move(found));
    }
    for (const auto& [folded, section] : pending_) {
        if (section.created) {
            names.emplace(folded, section.name);
        }
    }
    std::vector<std::string> sections;
    for (const auto& entry : names) {
        sections.push_back(utf8Text(entry.second));
    }
    std::sort(sections.begin(), sections.end(), lessIgnoringCase);
    return sections;
}

// The section's values as the registry holds them, by folded ident: the ident and, when asked
// for, the value.
std::map<std::wstring, std::pair<std::wstring, std::wstring>> WindowsRegistryBackend::storedValues(
    std::string_view section, bool withValues) const {
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> values;
    const RegistryKey key = openSection(section, KEY_QUERY_VALUE);
    if (!key) {
        return values;
    }
    DWORD count = 0;
    DWORD longest = 0;
    LONG rc = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &count, &longest, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) {
        throw KeysteadError(getFailedText(section));
    }
    std::wstring name(longest + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        rc = RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr,
                           nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (rc == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            throw KeysteadError(getFailedText(section));
        }
        const std::wstring ident(name.data(), length);
        std::wstring value;
        if (withValues) {
            value = storedValue(key.get(), ident, utf8Text(ident)).value_or(std::wstring());
        }
        values.emplace(foldedName(ident), std::make_pair(ident, std::move(value)));
    }
    return values;
}

std::vector<StoredValue> WindowsRegistryBackend::readSectionValues(std::string_view section) {
    settleJournalLeft();
    auto values = storedValues(section, true);
    if (const auto* pending = pendingSection(section)) {
        for (const auto& [folded, change] : pending->values) {
            const auto stored = values.find(folded);
            if (!change.value) {
                if (stored != values.end()) {
                    values.erase(stored);
                }
            } else if (stored == values.end()) {
                values.emplace(folded, std::make_pair(change.ident, *change.value));
            } else {
                stored->second.second = *change.value;   // the ident keeps its stored spelling
            }
        }
    }
    std::vector<StoredValue> result;
    for (const auto& entry : values) {
        result.push_back({utf8Text(entry.second.first), utf8Text(entry.second.second)});
    }
    std::sort(result.begin(), result.end(), [](const StoredValue& a, const StoredValue& b) {
        return lessIgnoringCase(a.ident, b.ident);
    });
    return result;
}

std::vector<std::string> WindowsRegistryBackend::readIdents(std::string_view section) {
    settleJournalLeft();
    auto values = storedValues(section, false);
    if (const auto* pending = pendingSection(section)) {
        for (const auto& [folded, change] : pending->values) {
            if (change.value) {
                values.emplace(folded, std::make_pair(change.ident, std::wstring()));
            } else {
                values.erase(folded);
            }
        }
    }
    std::vector<std::string> idents;
    for (const auto& entry : values) {
        idents.push_back(utf8Text(entry.second.first));
    }
    std::sort(idents.begin(), idents.end(), lessIgnoringCase);
    return idents;
}

void WindowsRegistryBackend::writeValues(std::string_view section,
                                         const std::vector<StoredValue>& values) {
    if (!isAcceptableSectionName(section)) {
        throw KeysteadError("Failed to create key " + std::string(section));
    }
    const std::wstring wideSection = wideText(section);
    for (const auto& [ident, value] : values) {
        record({wideSection, wideText(ident), wideText(value)});
    }
}

void WindowsRegistryBackend::deleteValues(std::string_view section,
                                          const std::vector<std::string>& idents) {
    if (!sectionExists(section)) {
        return;
    }
    const std::wstring wideSection = wideText(section);
    for (const auto& ident : idents) {
        record({wideSection, wideText(ident), std::nullopt});
    }
}

// The changes that reach the registry: each value once, at its last state, in the order of its
// last change.
std::vector<const PendingChange*> WindowsRegistryBackend::finalChanges() const {
    std::vector<const PendingChange*> changes;
    for (std::size_t index = 0; index < changes_.size(); ++index) {
        const PendingChange& change = changes_[index];
        const PendingSection& section = pending_.at(foldedName(change.section));
        if (section.values.at(foldedName(change.ident)).lastChange == index) {
            changes.push_back(&change);
        }
    }
    return changes;
}

RegistryKey WindowsRegistryBackend::openSectionToChange(const std::wstring& name) const {
    HKEY opened = nullptr;
    const LONG rc = RegOpenKeyExW(root_.get(), name.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &opened);
    if (rc == ERROR_FILE_NOT_FOUND) {
        return {};
    }
    check(rc);
    return RegistryKey(opened);
}

std::optional<RawValue> WindowsRegistryBackend::valueBefore(const RegistryKey& key,
                                                            const std::wstring& ident) const {
    std::optional<RawValue> value;
    if (key) {
        check(readRawValue(key.get(), ident, value));
    }
    return value;
}

void WindowsRegistryBackend::check(LONG rc) const {
    if (rc != ERROR_SUCCESS) {
        failToSave(reasonOf(rc));
    }
}

// Everything was converted when it was recorded, so the time between the first and the last
// change to the registry holds registry calls alone; a section is opened once. A commit of more
// than one change first writes its journal, with every value as it was, and takes it away after
// the last change; one that fails between is undone at once, or when that fails too, before the
// next read or session of any process.
void WindowsRegistryBackend::apply() {
    const auto changes = finalChanges();
    RegistryJournal journal;
    std::vector<const PendingSection*> sections;   // by the journal's section index
    std::vector<RegistryKey> keys;                 // the same; empty while the section is missing
    std::vector<std::size_t> sectionOf;            // of each change
    std::size_t registryChanges = 0;
    for (const PendingChange* change : changes) {
        const PendingSection* section = &pending_.at(foldedName(change->section));
        auto at = std::find(sections.begin(), sections.end(), section);
        if (at == sections.end()) {
            keys.push_back(openSectionToChange(section->name));
            journal.addSection(section->name, static_cast<bool>(keys.back()));
            registryChanges += !keys.back() && section->created ? 1 : 0;
            at = sections.insert(sections.end(), section);
        }
        const auto index = static_cast<std::size_t>(at - sections.begin());
        sectionOf.push_back(index);
        registryChanges += keys[index] || section->created ? 1 : 0;
        journal.addValue(index, change->ident, valueBefore(keys[index], change->ident));
    }
    if (registryChanges == 0) {
        return;   // deletes in sections that are gone
    }
    const bool journaled = registryChanges > 1;
    try {
        if (journaled) {
            std::size_t home = 0;
            while (!keys[home] && !sections[home]->created) {
                ++home;
            }
            check(journal.write(root_.get(), home));
        }
        for (std::size_t i = 0; i < changes.size(); ++i) {
            RegistryKey& key = keys[sectionOf[i]];
            const PendingSection& section = *sections[sectionOf[i]];
            if (!key && section.created) {
                LONG rc = ERROR_SUCCESS;
                key = createSectionKey(root_.get(), section.name, KEY_QUERY_VALUE | KEY_SET_VALUE, rc);
                check(rc);
            }
            if (!key) {
                continue;   // deletes in a section that is gone
            }
            const PendingChange& change = *changes[i];
            check(change.value ? setTextValue(key.get(), change.ident, *change.value)
                               : deleteRegistryValue(key.get(), change.ident));
        }
        if (journaled) {
            check(journal.clear(root_.get()));
        }
    } catch (...) {
        journalLeft_ = journaled && journal.rollBack(root_.get()) != ERROR_SUCCESS;
        throw;
    }
}

}  // namespace

std::unique_ptr<RegistryStore> RegistryStore::OpenFile(const std::filesystem::path& file) {
    return OpenFile(file, kBusyTimeout);
}

std::unique_ptr<RegistryStore> RegistryStore::OpenFile(const std::filesystem::path& file,
                                                       std::chrono::milliseconds) {
    auto backend = std::make_unique<WindowsRegistryBackend>(file);
    return std::unique_ptr<RegistryStore>(new RegistryStore(file, std::move(backend)));
}

std::filesystem::path RegistryStore::DefaultFile() {
    return kDefaultKey;
}

bool RegistryStore::isStoreFile(const std::filesystem::path&) const {
    return false;
}

}  // namespace keystead
