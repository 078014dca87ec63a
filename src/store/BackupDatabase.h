#pragma once
// One SQLite database file as the backups see it: the store, a backup, or a copy being written;
// copied page by page with SQLite's online backup API, checked, and compared by content.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace keystead {

class BackupDatabase {
public:
    enum class Access { ReadOnly, ReadWrite };

    // Opens an existing file, never through a link; throws KeysteadError naming it.
    BackupDatabase(const std::filesystem::path& file, Access access);

    // Replaces this database with a consistent copy of source, in one transaction of this one;
    // the SQLite result code (SQLITE_BUSY when another connection keeps this one busy longer
    // than the wait).
    int copyFrom(const BackupDatabase& source);
    // For a copy being written: SQLite neither keeps a journal file nor flushes to disk; the caller
    // flushes the finished file once, and a copy cut short is thrown away, never used.
    bool writeUnflushed();
    // Fixes what this connection reads, until it closes, with a read transaction: a copy taken
    // later holds the database as it is now, whatever other connections commit meanwhile.
    bool holdSnapshot();
    // A rollback journal instead of WAL, so that reading a backup leaves no files beside it.
    bool useRollbackJournal();
    // Passes SQLite's integrity check and carries Keystead's application id.
    bool isSoundStore();
    std::vector<std::string> users();   // the sections but "Options", in the store's order
    // The same sections, idents and values as other.
    bool sameContent(BackupDatabase& other);
    std::string errorMessage() const;

private:
    std::string firstValue(const char* sql);

    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
    std::filesystem::path file_;
};

}  // namespace keystead
