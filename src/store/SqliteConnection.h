#pragma once
// An open SQLite database handle, closed when the object ends.

#include <filesystem>
#include <memory>
#include <string>

struct sqlite3;

namespace keystead {

// "KSTD": the application id that tells a Keystead store from any other SQLite database.
inline constexpr int kStoreApplicationId = 0x4B535444;

class SqliteConnection {
public:
    // Opens an existing file for reading and writing; throws KeysteadError naming the file.
    explicit SqliteConnection(const std::filesystem::path& file);

    sqlite3* handle() const { return db_.get(); }
    int exec(const char* sql);              // the SQLite result code of running sql
    // Runs sql and keeps the first column of its first row in firstValue; the result code.
    int query(const char* sql, std::string& firstValue);
    std::string errorMessage() const;       // SQLite's text for the last failure
    bool inTransaction() const;

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};

}  // namespace keystead
