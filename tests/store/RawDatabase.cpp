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

}  // namespace keystead::test
