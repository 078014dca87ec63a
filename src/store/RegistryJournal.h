#pragma once
// The undo record of one commit to the Windows registry, which has no transactions: every value
// the commit is about to change with what the value held before, and the sections it is about to
// create. It is kept as the value UnfinishedChange of one of those sections, the user's own for a
// change of the user's list, from before the first change to after the last; a commit broken off
// between (a refused value, the end of the process) is undone at once or by the next opening.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/RegistryWrites.h"

namespace keystead {

class RegistryJournal {
public:
    // A name no other part of the program reads or writes.
    static constexpr std::wstring_view kValueName = L"UnfinishedChange";

    RegistryJournal();   // a commit of this process

    std::size_t addSection(std::wstring name, bool existed);
    void addValue(std::size_t section, std::wstring ident, std::optional<RawValue> before);

    // Puts the record into the section home, creating it when missing.
    LONG write(HKEY root, std::size_t home);
    // Takes the record away once the commit's last change is made.
    LONG clear(HKEY root) const;
    // Restores every value, removes the sections the commit created while they hold nothing
    // else, then the record. Runs again safely after being broken off itself.
    LONG rollBack(HKEY root) const;

    // Undoes the record left in any of these sections of root, unless another running process
    // wrote it: that one is still writing, or undoes its own. A record that cannot be read is
    // dropped, as nothing can be undone by it. Throws KeysteadError naming keyText when the
    // registry refuses.
    static void settleAll(HKEY root, const std::vector<std::wstring>& sections,
                          const std::string& keyText);

private:
    struct Section {
        std::wstring name;
        bool existed = true;
    };
    struct Value {
        std::size_t section = 0;
        std::wstring ident;
        std::optional<RawValue> before;   // none: it did not exist
    };

    static LONG settle(HKEY root, const std::wstring& section);
    std::wstring text() const;
    static std::optional<RegistryJournal> parse(std::wstring_view text);
    bool writerStillRunning() const;
    LONG restore(HKEY root, const Value& value) const;
    LONG removeWhenEmpty(HKEY root, std::size_t section, bool& removed) const;

    DWORD processId_ = 0;
    ULONGLONG processStart_ = 0;
    std::size_t home_ = 0;
    std::vector<Section> sections_;
    std::vector<Value> values_;
};

}  // namespace keystead
