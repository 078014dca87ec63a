// The store in one SQLite file: a table of sections and one of values, names compared with NOCASE.

#include <sqlite3.h>

#include <thread>

#include "store/CheckedFiles.h"
#include "store/FileText.h"
#include "store/KeysteadError.h"
#include "store/RegistryBackend.h"
#include "store/SealedBackend.h"
#include "store/SectionReadAhead.h"
#include "store/SqliteConnection.h"
#include "store/SqliteStatement.h"
#include "store/StoreFile.h"
#include "store/TextRules.h"

namespace keystead {

namespace {

constexpr const char* kSchema = R"sql(
    CREATE TABLE sections (
        id   INTEGER PRIMARY KEY,
        name TEXT NOT NULL COLLATE NOCASE UNIQUE
    );
    CREATE TABLE section_values (
        section_id INTEGER NOT NULL,
        ident      TEXT NOT NULL COLLATE NOCASE,
        value      TEXT NOT NULL,
        PRIMARY KEY (section_id, ident)
    ) WITHOUT ROWID;
    PRAGMA user_version = 1;
)sql";

std::string notAStoreText(const std::filesystem::path& file) {
    return "The file " + quoted(file) + " is not a Keystead store; it was left unchanged";
}

std::string cannotOpenText(const std::filesystem::path& file, const std::string& reason) {
    return "Cannot open the store file " + quoted(file) + ": " + reason;
}

std::string damagedText(const std::filesystem::path& file) {
    return "The store file " + quoted(file) + " is damaged; it was left unchanged";
}

std::string busyText(const std::filesystem::path& file) {
    return "Another running Keystead keeps the store file " + quoted(file) +
           " busy; try again when it has finished";
}

std::string getFailedText(std::string_view ident) {
    return "Failed to get data for '" + std::string(ident) + "'";
}

std::string setFailedText(std::string_view ident) {
    return "Failed to set data for '" + std::string(ident) + "'";
}

const std::filesystem::path& preparedStoreFile(const std::filesystem::path& file, bool create) {
    if (create) {
        createStoreFile(file);
    } else {
        checkStoreFile(file);
    }
    return file;
}

}  // namespace

struct Statements {
    explicit Statements(const SqliteConnection& c)
        : begin(c, "BEGIN IMMEDIATE"),
          commit(c, "COMMIT"),
          rollback(c, "ROLLBACK"),
          savepoint(c, "SAVEPOINT nested"),
          release(c, "RELEASE nested"),
          rollbackToSavepoint(c, "ROLLBACK TO nested"),
          findSection(c, "SELECT id FROM sections WHERE name = ?1"),
          insertSection(c, "INSERT INTO sections (name) VALUES (?1)"),
          listSections(c, "SELECT name FROM sections ORDER BY name"),
          readValue(c,
                    "SELECT v.value FROM section_values AS v JOIN sections AS s"
                    " ON s.id = v.section_id WHERE s.name = ?1 AND v.ident = ?2"),
          readSection(c,
                      "SELECT v.ident, v.value FROM section_values AS v JOIN sections AS s"
                      " ON s.id = v.section_id WHERE s.name = ?1 ORDER BY v.ident"),
          readIdents(c,
                     "SELECT v.ident FROM section_values AS v JOIN sections AS s"
                     " ON s.id = v.section_id WHERE s.name = ?1 ORDER BY v.ident"),
          // A value written again unchanged leaves the file as it was, so that the next open
          // need not read it through again.
          writeValue(c,
                     "INSERT INTO section_values (section_id, ident, value) VALUES (?1, ?2, ?3)"
                     " ON CONFLICT (section_id, ident) DO UPDATE SET value = excluded.value"
                     " WHERE value IS NOT excluded.value"),
          deleteValue(c, "DELETE FROM section_values WHERE section_id = ?1 AND ident = ?2") {}

    SqliteStatement begin;
    SqliteStatement commit;
    SqliteStatement rollback;
    SqliteStatement savepoint;
    SqliteStatement release;
    SqliteStatement rollbackToSavepoint;
    SqliteStatement findSection;
    SqliteStatement insertSection;
    SqliteStatement listSections;
    SqliteStatement readValue;
    SqliteStatement readSection;
    SqliteStatement readIdents;
    SqliteStatement writeValue;
    SqliteStatement deleteValue;
};

namespace {

int run(SqliteStatement& statement) {
    return statement.use().step();
}

}  // namespace

namespace {

class SqliteBackend final : public RegistryStore::Backend {
public:
    // With create false, a missing file and an empty one are refused rather than made a store.
    SqliteBackend(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout, bool create);

    void beginSession() override;
    void endSession(bool commit) override;
    std::optional<std::string> readValue(std::string_view section, std::string_view ident) override;
    bool sectionExists(std::string_view section) override;
    std::vector<std::string> readSections() override;
    std::vector<StoredValue> readSectionValues(std::string_view section) override;
    std::vector<std::string> readIdents(std::string_view section) override;
    void writeValues(std::string_view section, const std::vector<StoredValue>& values) override;
    void deleteValues(std::string_view section, const std::vector<std::string>& idents) override;
    std::int64_t changeCounter() override;
    void readAhead(std::string_view section) override;

    ~SqliteBackend() override;
    SqliteBackend(const SqliteBackend&) = delete;
    SqliteBackend& operator=(const SqliteBackend&) = delete;

private:
    void checkFile();
    void createSchemaWhenEmpty(bool create);
    void chooseJournal();
    bool isEmptyDatabase();
    std::string queryFirst(const char* sql);   // first value of an opening-time query
    [[noreturn]] void fail(int rc, const std::string& storeText) const;
    [[noreturn]] void failToSave(const std::string& reason);
    void commitOutermost();

    std::optional<std::int64_t> findSection(std::string_view section);
    std::int64_t ensureSection(std::string_view section);
    void writeValue(std::int64_t sectionId, std::string_view ident, std::string_view value);
    void deleteValue(std::int64_t sectionId, std::string_view ident);

    std::vector<StoredValue> readSectionFromFile(std::string_view section);

    std::filesystem::path file_;
    SqliteConnection connection_;
    std::unique_ptr<Statements> statements_;
    int sessionDepth_ = 0;
    // This session's own writes are not in the file yet: a section read ahead misses them.
    bool changedInSession_ = false;
    std::thread readAhead_;
};

}  // namespace

std::unique_ptr<RegistryStore> RegistryStore::OpenFile(const std::filesystem::path& file) {
    return OpenFile(file, kBusyTimeout);
}

std::unique_ptr<RegistryStore> RegistryStore::OpenFile(const std::filesystem::path& file,
                                                       std::chrono::milliseconds busyTimeout) {
    auto backend = std::make_unique<SealedBackend>(
        std::make_unique<SqliteBackend>(file, busyTimeout, true), damagedText(file));
    return std::unique_ptr<RegistryStore>(new RegistryStore(file, std::move(backend)));
}

std::unique_ptr<RegistryStore> RegistryStore::OpenExistingFile(const std::filesystem::path& file) {
    auto backend = std::make_unique<SealedBackend>(
        std::make_unique<SqliteBackend>(file, kBusyTimeout, false), damagedText(file));
    return std::unique_ptr<RegistryStore>(new RegistryStore(file, std::move(backend)));
}

std::filesystem::path RegistryStore::DefaultFile() {
    return defaultStoreFile();
}

bool RegistryStore::isStoreFile(const std::filesystem::path& candidate) const {
    return namesStoreFile(candidate, file_);
}

namespace {

SqliteBackend::SqliteBackend(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                             bool create)
    : file_(preparedStoreFile(file, create)), connection_(file) {
    sqlite3* const db = connection_.handle();
    // Until the file has passed its checks, closing must not carry anything into it.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, static_cast<int>(busyTimeout.count()));
    checkFile();
    createSchemaWhenEmpty(create);
    chooseJournal();
    if (connection_.exec("PRAGMA synchronous = FULL") != SQLITE_OK) {
        fail(sqlite3_errcode(db), cannotOpenText(file_, connection_.errorMessage()));
    }
    statements_ = std::make_unique<Statements>(connection_);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
}

// Reads every page once, before anything is written, so that damage is found while the file
// can still be left as it was. A file found sound by this process and not written since, by it or
// any other, is not read through again: a logon alone opens the store six times.
void SqliteBackend::checkFile() {
    const auto before = StoreFileState::Of(file_);
    if (WasFoundSound(file_, before)) {
        return;
    }
    if (queryFirst("PRAGMA quick_check(1)") != "ok") {
        throw DamagedStoreError(damagedText(file_));
    }
    RememberSound(file_, before);
}

bool SqliteBackend::isEmptyDatabase() {
    return queryFirst("SELECT count(*) FROM sqlite_schema") == "0";
}

std::string SqliteBackend::queryFirst(const char* sql) {
    std::string value;
    const int rc = connection_.query(sql, value);
    if (rc != SQLITE_OK) {
        fail(rc, cannotOpenText(file_, connection_.errorMessage()));
    }
    return value;
}

void SqliteBackend::createSchemaWhenEmpty(bool create) {
    if (!isEmptyDatabase()) {
        if (queryFirst("PRAGMA application_id") != std::to_string(kStoreApplicationId)) {
            throw KeysteadError(notAStoreText(file_));
        }
        return;
    }
    if (!create) {
        throw KeysteadError(notAStoreText(file_));
    }
    if (connection_.exec("BEGIN IMMEDIATE") != SQLITE_OK) {
        fail(sqlite3_errcode(connection_.handle()),
             cannotOpenText(file_, connection_.errorMessage()));
    }
    // Another instance may have made the tables while this one waited.
    const std::string schema =
        kSchema + ("PRAGMA application_id = " + std::to_string(kStoreApplicationId) + ";");
    const bool stillEmpty = isEmptyDatabase();
    if ((stillEmpty && connection_.exec(schema.c_str()) != SQLITE_OK) ||
        connection_.exec("COMMIT") != SQLITE_OK) {
        const std::string reason = connection_.errorMessage();
        connection_.exec("ROLLBACK");
        throw KeysteadError("Cannot create the store file " + quoted(file_) + ": " + reason);
    }
}

// WAL lets a second instance read while one writes. Where the file system cannot share the
// memory WAL needs (some network homes), SQLite keeps the journal it had and says so only in the
// pragma's answer; the store then runs on the rollback journal, which with synchronous FULL loses
// no committed change either and only makes a second instance wait longer. Any other answer would
// leave commits unprotected, and the store is not opened.
void SqliteBackend::chooseJournal() {
    if (queryFirst("PRAGMA journal_mode = WAL") == "wal") {
        return;
    }
    if (queryFirst("PRAGMA journal_mode = DELETE") != "delete") {
        throw KeysteadError(cannotOpenText(file_, "its changes cannot be kept safe on this disk"));
    }
}

void SqliteBackend::fail(int rc, const std::string& storeText) const {
    switch (rc & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            throw KeysteadError(busyText(file_));
        case SQLITE_CORRUPT:
            throw DamagedStoreError(damagedText(file_));
        case SQLITE_NOTADB:
            throw DamagedStoreError(notAStoreText(file_));
        default:
            throw KeysteadError(storeText);
    }
}

void SqliteBackend::failToSave(const std::string& reason) {
    throw KeysteadError("The changes could not be saved in the store file " + quoted(file_) +
                        ": " + reason);
}

void SqliteBackend::beginSession() {
    if (sessionDepth_ == 0) {
        const int rc = run(statements_->begin);
        if (rc != SQLITE_DONE) {
            fail(rc, cannotOpenText(file_, connection_.errorMessage()));
        }
    } else {
        // SQLite may have ended the whole transaction after a failure an inner session caught;
        // going on would write outside it.
        if (!connection_.inTransaction()) {
            failToSave("the transaction was broken off");
        }
        const int rc = run(statements_->savepoint);
        if (rc != SQLITE_DONE) {
            fail(rc, cannotOpenText(file_, connection_.errorMessage()));
        }
    }
    ++sessionDepth_;
}

void SqliteBackend::endSession(bool commit) {
    --sessionDepth_;
    if (sessionDepth_ == 0) {
        changedInSession_ = false;
        if (commit) {
            commitOutermost();
        } else if (connection_.inTransaction()) {
            run(statements_->rollback);
        }
        return;
    }
    if (!commit) {
        run(statements_->rollbackToSavepoint);
    }
    if (run(statements_->release) != SQLITE_DONE && commit) {
        failToSave("the transaction was broken off");
    }
}

void SqliteBackend::commitOutermost() {
    if (!connection_.inTransaction()) {
        failToSave("the transaction was broken off");
    }
    if (run(statements_->commit) != SQLITE_DONE) {
        const std::string reason = connection_.errorMessage();
        if (connection_.inTransaction()) {
            run(statements_->rollback);
        }
        failToSave(reason);
    }
}

std::optional<std::string> SqliteBackend::readValue(std::string_view section,
                                                    std::string_view ident) {
    auto use = statements_->readValue.use();
    use.bind(1, section).bind(2, ident);
    const int rc = use.step();
    if (rc == SQLITE_DONE) {
        return std::nullopt;
    }
    if (rc != SQLITE_ROW) {
        fail(rc, getFailedText(ident));
    }
    if (!use.isText(0)) {
        throw KeysteadError("Invalid data type for '" + std::string(ident) + "'");
    }
    return std::string(use.text(0));
}

std::optional<std::int64_t> SqliteBackend::findSection(std::string_view section) {
    auto use = statements_->findSection.use();
    use.bind(1, section);
    const int rc = use.step();
    if (rc == SQLITE_DONE) {
        return std::nullopt;
    }
    if (rc != SQLITE_ROW) {
        fail(rc, getFailedText(section));
    }
    return use.integer(0);
}

std::int64_t SqliteBackend::ensureSection(std::string_view section) {
    if (const auto id = findSection(section)) {
        return *id;
    }
    const std::string failedText = "Failed to create key " + std::string(section);
    if (!isAcceptableSectionName(section)) {
        throw KeysteadError(failedText);
    }
    const int rc = statements_->insertSection.use().bind(1, section).step();
    if (rc != SQLITE_DONE) {
        fail(rc, failedText);
    }
    return sqlite3_last_insert_rowid(connection_.handle());
}

void SqliteBackend::writeValue(std::int64_t sectionId, std::string_view ident,
                               std::string_view value) {
    auto use = statements_->writeValue.use();
    use.bind(1, sectionId).bind(2, ident).bind(3, value);
    const int rc = use.step();
    if (rc != SQLITE_DONE) {
        fail(rc, setFailedText(ident));
    }
}

void SqliteBackend::deleteValue(std::int64_t sectionId, std::string_view ident) {
    auto use = statements_->deleteValue.use();
    use.bind(1, sectionId).bind(2, ident);
    const int rc = use.step();
    if (rc != SQLITE_DONE) {
        fail(rc, setFailedText(ident));
    }
}

std::vector<std::string> SqliteBackend::readSections() {
    std::vector<std::string> names;
    auto use = statements_->listSections.use();
    int rc = SQLITE_ROW;
    while ((rc = use.step()) == SQLITE_ROW) {
        names.emplace_back(use.text(0));
    }
    if (rc != SQLITE_DONE) {
        fail(rc, "Failed to read the sections of the store");
    }
    return names;
}

SqliteBackend::~SqliteBackend() {
    if (readAhead_.joinable()) {
        readAhead_.join();
    }
}

// Another connection of its own reads the section; what it read is kept only if the file did not
// change while it read. A read ahead that fails leaves the read to its time.
void SqliteBackend::readAhead(std::string_view section) {
    if (readAhead_.joinable()) {
        readAhead_.join();
    }
    readAhead_ = std::thread([file = file_, section = std::string(section)] {
        try {
            SqliteBackend reader(file, RegistryStore::kBusyTimeout, false);
            const auto before = StoreFileState::Of(file);
            auto values = reader.readSectionFromFile(section);
            if (StoreFileState::Of(file) == before) {
                KeepReadAhead(file, section, before, std::move(values));
            }
        } catch (const std::exception&) {
        }
    });
}

std::vector<StoredValue> SqliteBackend::readSectionValues(std::string_view section) {
    if (!changedInSession_) {
        if (auto ahead = TakeReadAhead(file_, section)) {
            return std::move(*ahead);
        }
    }
    return readSectionFromFile(section);
}

std::vector<StoredValue> SqliteBackend::readSectionFromFile(std::string_view section) {
    std::vector<StoredValue> values;
    auto use = statements_->readSection.use();
    use.bind(1, section);
    int rc = SQLITE_ROW;
    while ((rc = use.step()) == SQLITE_ROW) {
        if (!use.isText(1)) {
            throw KeysteadError("Invalid data type for '" + std::string(use.text(0)) + "'");
        }
        values.push_back({std::string(use.text(0)), std::string(use.text(1))});
    }
    if (rc != SQLITE_DONE) {
        fail(rc, "Failed to get data for '" + std::string(section) + "'");
    }
    return values;
}

std::vector<std::string> SqliteBackend::readIdents(std::string_view section) {
    std::vector<std::string> idents;
    auto use = statements_->readIdents.use();
    use.bind(1, section);
    int rc = SQLITE_ROW;
    while ((rc = use.step()) == SQLITE_ROW) {
        idents.emplace_back(use.text(0));
    }
    if (rc != SQLITE_DONE) {
        fail(rc, "Failed to get data for '" + std::string(section) + "'");
    }
    return idents;
}

// SQLite counts the commits of other connections to the file.
std::int64_t SqliteBackend::changeCounter() {
    std::string value;
    const int rc = connection_.query("PRAGMA data_version", value);
    if (rc != SQLITE_OK) {
        fail(rc, cannotOpenText(file_, connection_.errorMessage()));
    }
    return parseInteger(value).value_or(0);
}

bool SqliteBackend::sectionExists(std::string_view section) {
    return findSection(section).has_value();
}

void SqliteBackend::writeValues(std::string_view section, const std::vector<StoredValue>& values) {
    changedInSession_ = true;
    const std::int64_t sectionId = ensureSection(section);
    for (const auto& [ident, value] : values) {
        writeValue(sectionId, ident, value);
    }
}

void SqliteBackend::deleteValues(std::string_view section, const std::vector<std::string>& idents) {
    changedInSession_ = true;
    const auto sectionId = findSection(section);
    if (!sectionId) {
        return;
    }
    for (const auto& ident : idents) {
        deleteValue(*sectionId, ident);
    }
}

}  // namespace

}  // namespace keystead
