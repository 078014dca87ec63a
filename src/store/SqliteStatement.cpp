#include "store/SqliteStatement.h"

#include <sqlite3.h>

#include <string>

#include "store/KeysteadError.h"
#include "store/SqliteConnection.h"

namespace keystead {

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

SqliteStatement::SqliteStatement(const SqliteConnection& connection, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(connection.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT,
                                      &stmt, nullptr);
    stmt_.reset(stmt);
    if (rc != SQLITE_OK) {
        const std::string file = sqlite3_db_filename(connection.handle(), "main");
        throw KeysteadError("The store file '" + file + "' cannot be used: " +
                            connection.errorMessage());
    }
}

SqliteStatement::Use::~Use() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

SqliteStatement::Use& SqliteStatement::Use::bind(int index, std::string_view text) {
    // An empty view may carry no pointer, which SQLite would bind as NULL rather than "".
    const char* const data = text.data() != nullptr ? text.data() : "";
    sqlite3_bind_text64(stmt_, index, data, text.size(), SQLITE_STATIC, SQLITE_UTF8);
    return *this;
}

SqliteStatement::Use& SqliteStatement::Use::bind(int index, std::int64_t number) {
    sqlite3_bind_int64(stmt_, index, number);
    return *this;
}

int SqliteStatement::Use::step() {
    return sqlite3_step(stmt_);
}

bool SqliteStatement::Use::isText(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_TEXT;
}

std::string_view SqliteStatement::Use::text(int column) const {
    const auto* const data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (data == nullptr) {
        return {};
    }
    return {data, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

std::int64_t SqliteStatement::Use::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

}  // namespace keystead
