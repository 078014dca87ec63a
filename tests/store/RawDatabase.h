#pragma once
// Direct SQL on a store file, for the tests that must put into it what the store never writes.

#include <filesystem>
#include <string>

struct sqlite3;

namespace keystead::test {

class RawDatabase {
public:
    explicit RawDatabase(const std::filesystem::path& file);
    ~RawDatabase();
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    void exec(const std::string& sql);   // throws std::runtime_error on failure
    std::string queryText(const std::string& sql);   // the first column of the first row

private:
    sqlite3* db_ = nullptr;
};

}  // namespace keystead::test
