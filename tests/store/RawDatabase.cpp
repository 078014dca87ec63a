#include "RawDatabase.h"

#include <sqlite3.h>

#include <stdexcept>

namespace keystead::test {

RawDatabase::RawDatabase(const std::filesystem::path& file) {
    if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK) {
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + file.string());
    }
}

RawDatabase::~RawDatabase() {
    sqlite3_close(db_);
}

void RawDatabase::exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db_));
    }
}

std::string RawDatabase::queryText(const std::string& sql) {
    std::string text;
    const auto first = [](void* out, int, char** values, char**) {
        if (values[0] != nullptr) {
            *static_cast<std::string*>(out) = values[0];
        }
        return 1;   // one row is enough
    };
    const int rc = sqlite3_exec(db_, sql.c_str(), first, &text, nullptr);
    if (rc != SQLITE_OK && rc != SQLITE_ABORT) {
        throw std::runtime_error(sqlite3_errmsg(db_));
    }
    return text;
}

}  // namespace keystead::test
