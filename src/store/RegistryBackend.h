#pragma once
// What RegistryStore asks of the place its sections are kept. Each build links one backend: the
// SQLite file (SqliteBackend.cpp) or the Windows registry (WindowsRegistryBackend.cpp). The
// backend keeps the session depth: the outermost session is one transaction, an inner one a part
// of it undone alone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/RegistryStore.h"

namespace keystead {

class RegistryStore::Backend {
public:
    virtual ~Backend() = default;

    virtual void beginSession() = 0;
    virtual void endSession(bool commit) = 0;   // throws only when commit is true

    virtual std::optional<std::string> readValue(std::string_view section,
                                                 std::string_view ident) = 0;
    virtual bool sectionExists(std::string_view section) = 0;
    virtual std::vector<std::string> readSections() = 0;
    virtual std::vector<StoredValue> readSectionValues(std::string_view section) = 0;
    virtual std::vector<std::string> readIdents(std::string_view section) = 0;
    // Called inside a session; a missing section is created, under an acceptable name only.
    virtual void writeValues(std::string_view section, const std::vector<StoredValue>& values) = 0;
    virtual void deleteValues(std::string_view section, const std::vector<std::string>& idents) = 0;
    // See RegistryStore::changeCounter; a backend that cannot tell keeps this one.
    virtual std::int64_t changeCounter() { return 0; }
    // The section is about to be read while this thread is busy with something else (the
    // seal's key): a backend may start reading it on another thread. Nothing changes if not.
    virtual void readAhead(std::string_view /*section*/) {}
};

// Section names follow the rule for user names, so no write can make a section a user could
// not have been given.
bool isAcceptableSectionName(std::string_view name);

}  // namespace keystead
