#include "store/BackupDatabase.h"

#include <sqlite3.h>

#include <string_view>

#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SqliteConnection.h"

namespace keystead {

namespace {

constexpr const char* kContentQuery =
    "SELECT s.name, v.ident, v.value FROM sections AS s"
    " LEFT JOIN section_values AS v ON v.section_id = s.id ORDER BY s.name, v.ident";

std::string_view columnText(sqlite3_stmt* statement, int column) {
    const auto* const text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string_view()
                           : std::string_view(reinterpret_cast<const char*>(text),
                                              static_cast<std::size_t>(
                                                  sqlite3_column_bytes(statement, column)));
}

bool sameRow(sqlite3_stmt* a, sqlite3_stmt* b) {
    for (int column = 0; column < 3; ++column) {
        if (sqlite3_column_type(a, column) != sqlite3_column_type(b, column) ||
            columnText(a, column) != columnText(b, column)) {
            return false;
        }
    }
    return true;
}

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

Statement prepared(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return Statement(statement);
}

}  // namespace

void BackupDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

BackupDatabase::BackupDatabase(const std::filesystem::path& file, Access access) : file_(file) {
    const int flags = (access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      SQLITE_OPEN_NOFOLLOW;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    db_.reset(db);   // a handle is returned even when opening failed and must be closed
    if (rc != SQLITE_OK) {
        const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        throw KeysteadError("Cannot open the file '" + file.string() + "': " + reason);
    }
    sqlite3_busy_timeout(db, static_cast<int>(RegistryStore::kBusyTimeout.count()));
}

int BackupDatabase::copyFrom(const BackupDatabase& source) {
    sqlite3_backup* const backup = sqlite3_backup_init(db_.get(), "main", source.db_.get(), "main");
    if (backup == nullptr) {
        return sqlite3_errcode(db_.get());
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    return stepped == SQLITE_DONE ? finished : stepped;
}

bool BackupDatabase::writeUnflushed() {
    return sqlite3_exec(db_.get(), "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr) == SQLITE_OK &&
           firstValue("PRAGMA journal_mode = MEMORY") == "memory";
}

bool BackupDatabase::holdSnapshot() {
    // BEGIN alone defers the transaction; the first read starts it.
    return sqlite3_exec(db_.get(), "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
           !firstValue("SELECT count(*) FROM sqlite_schema").empty();
}

bool BackupDatabase::useRollbackJournal() {
    return firstValue("PRAGMA journal_mode = DELETE") == "delete";
}

bool BackupDatabase::isSoundStore() {
    return firstValue("PRAGMA integrity_check(1)") == "ok" &&
           firstValue("PRAGMA application_id") == std::to_string(kStoreApplicationId);
}

std::vector<std::string> BackupDatabase::users() {
    std::vector<std::string> names;
    const Statement statement =
        prepared(db_.get(), "SELECT name FROM sections WHERE name <> 'Options' ORDER BY name");
    while (statement && sqlite3_step(statement.get()) == SQLITE_ROW) {
        names.emplace_back(columnText(statement.get(), 0));
    }
    return names;
}

bool BackupDatabase::sameContent(BackupDatabase& other) {
    const Statement mine = prepared(db_.get(), kContentQuery);
    const Statement theirs = prepared(other.db_.get(), kContentQuery);
    if (!mine || !theirs) {
        return false;
    }
    while (true) {
        const int rc = sqlite3_step(mine.get());
        if (rc != sqlite3_step(theirs.get())) {
            return false;
        }
        if (rc != SQLITE_ROW) {
            return rc == SQLITE_DONE;
        }
        if (!sameRow(mine.get(), theirs.get())) {
            return false;
        }
    }
}

std::string BackupDatabase::errorMessage() const {
    return sqlite3_errmsg(db_.get());
}

std::string BackupDatabase::firstValue(const char* sql) {
    const Statement statement = prepared(db_.get(), sql);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) {
        return {};
    }
    return std::string(columnText(statement.get(), 0));
}

}  // namespace keystead
