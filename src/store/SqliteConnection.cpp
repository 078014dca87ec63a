#include "store/SqliteConnection.h"

#include <sqlite3.h>

#include <utility>

#include "store/KeysteadError.h"

namespace keystead {

void SqliteConnection::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

SqliteConnection::SqliteConnection(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    // A link put in the file's place after its checks is refused, not followed.
    const int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    db_.reset(db);  // a handle is returned even when opening failed and must be closed
    if (rc != SQLITE_OK) {
        const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        throw KeysteadError("Cannot open the store file '" + file.string() + "': " + reason);
    }
}

int SqliteConnection::exec(const char* sql) {
    return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
}

int SqliteConnection::query(const char* sql, std::string& firstValue) {
    bool first = true;
    const auto keepFirst = [](void* context, int columns, char** texts, char**) {
        auto& [isFirst, value] = *static_cast<std::pair<bool*, std::string*>*>(context);
        if (*isFirst && columns > 0 && texts[0] != nullptr) {
            *value = texts[0];
        }
        *isFirst = false;
        return 0;
    };
    std::pair<bool*, std::string*> context{&first, &firstValue};
    return sqlite3_exec(db_.get(), sql, keepFirst, &context, nullptr);
}

std::string SqliteConnection::errorMessage() const {
    return sqlite3_errmsg(db_.get());
}

bool SqliteConnection::inTransaction() const {
    return sqlite3_get_autocommit(db_.get()) == 0;
}

}  // namespace keystead
