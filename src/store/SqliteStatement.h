#pragma once
// A statement prepared once for the life of its connection. Each use binds afresh and resets the
// statement when it ends, so no read outlives the call that made it.

#include <cstdint>
#include <memory>
#include <string_view>

struct sqlite3_stmt;

namespace keystead {

class SqliteConnection;

class SqliteStatement {
public:
    // Throws KeysteadError naming the file and SQLite's reason when sql cannot be prepared.
    SqliteStatement(const SqliteConnection& connection, const char* sql);

    class Use {
    public:
        explicit Use(SqliteStatement& statement) : stmt_(statement.stmt_.get()) {}
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

        Use& bind(int index, std::string_view text);
        Use& bind(int index, std::int64_t number);
        int step();                                  // SQLITE_ROW, SQLITE_DONE or a failure code
        bool isText(int column) const;
        std::string_view text(int column) const;
        std::int64_t integer(int column) const;

    private:
        sqlite3_stmt* stmt_;
    };

    Use use() { return Use(*this); }

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

}  // namespace keystead
