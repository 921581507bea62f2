#include "core/store/data_store.h"

#include <sqlite3.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "core/common/gb_encoding.h"
#include "core/common/text.h"
#include "core/store/jet_dialect.h"
#include "core/store/jet_values.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrade.h"

namespace quillory {

namespace {

int CompareGbCollation(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return CompareGb(std::string_view(static_cast<const char*>(a), static_cast<size_t>(lengthA)),
                     std::string_view(static_cast<const char*>(b), static_cast<size_t>(lengthB)));
}

Result<sqlite3*> Connect(const std::string& path, int flags, std::string_view password) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        Error error{ErrorCode::FileAccess, db ? sqlite3_errmsg(db) : "out of memory"};
        sqlite3_close(db);
        return error;
    }
    sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    sqlite3_busy_timeout(db, 5000);
    sqlite3_create_collation(db, kGbCollation, SQLITE_UTF8, nullptr, CompareGbCollation);
    RegisterJetFunctions(db);
    // Decrypted pages are kept (32 MB): the pages read whole tables often,
    // and decrypting them again costs more than reading.
    sqlite3_exec(db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    return db;
}

// What a failed read of the file says about it. A page that does not
// decrypt reads as no database at all: a wrong key, no data file, or one cut
// short inside its table list.
Error ReadFailure(sqlite3* db) {
    const std::string reason = sqlite3_errmsg(db);
    switch (sqlite3_errcode(db)) {
        case SQLITE_NOTADB:
            return {ErrorCode::WrongPassword, reason};
        case SQLITE_CORRUPT:
            return {ErrorCode::DamagedFile, "the data file is damaged: " + reason};
        default:
            return {ErrorCode::FileAccess, reason};
    }
}

// A wrong key is not refused by sqlite3_key: the first read fails instead.
// Reading the table list proves the key; the tables prove it is a data file;
// the page count proves no tail was cut off.
Status Probe(sqlite3* db, const std::string& path) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "select name from sqlite_master where type='table'", -1, &statement,
                           nullptr) != SQLITE_OK) {
        return ReadFailure(db);
    }
    std::set<std::string> tables;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        tables.insert(
            ToLowerAscii(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        return ReadFailure(db);
    }
    for (const char* table : kTableNames) {
        if (tables.count(ToLowerAscii(table)) == 0) {
            return {ErrorCode::NotDataFile, Format("not a data file: table %s is missing", table)};
        }
    }
    sqlite3_int64 pages = 0;
    sqlite3_int64 pageSize = 0;
    for (auto [pragma, value] :
         {std::pair{"pragma page_count", &pages}, std::pair{"pragma page_size", &pageSize}}) {
        if (sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            *value = sqlite3_column_int64(statement, 0);
        }
        sqlite3_finalize(statement);
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || static_cast<sqlite3_int64>(size) < pages * pageSize) {
        return {ErrorCode::DamagedFile, "the data file is damaged (cut short)"};
    }
    return {};
}

// Every column the program reads is there: a missing one would read as
// empty, and the program would go on as if the bank said so.
Status HasReadColumns(sqlite3* db) {
    for (size_t t = 0; t < std::size(kTableNames); ++t) {
        sqlite3_stmt* statement = nullptr;
        const std::string pragma = Format("pragma table_info(\"%s\")", kTableNames[t]);
        if (sqlite3_prepare_v2(db, pragma.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            return ReadFailure(db);
        }
        std::set<std::string> columns;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            columns.insert(
                ToLowerAscii(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))));
        }
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE) {
            return ReadFailure(db);
        }
        for (const std::string& column : SplitString(kReadColumns[t], ",")) {
            if (columns.count(ToLowerAscii(column)) == 0) {
                return {ErrorCode::NotDataFile, Format("not a data file: column %s.%s is missing",
                                                       kTableNames[t], column.c_str())};
            }
        }
    }
    return {};
}

// The password is the program's: a pragma that sets or changes the key would
// lock the file away from it for good, however the statement is spelled.
int RefuseKeyPragmas(void* refused, int action, const char* name, const char*, const char*,
                     const char*) {
    if (action != SQLITE_PRAGMA || name == nullptr) {
        return SQLITE_OK;
    }
    const std::string pragma = ToLowerAscii(name);
    if (pragma == "key" || pragma == "hexkey" || pragma == "textkey" ||
        pragma.find("rekey") != std::string::npos) {
        *static_cast<bool*>(refused) = true;
        return SQLITE_DENY;
    }
    return SQLITE_OK;
}

// A hook for the kill test only: with QUILLORY_TEST_STOP_AFTER_WRITES=N in
// the environment, the process kills itself right after the N-th statement
// Execute runs, so that a write is stopped between two of its statements on
// every run. Unset, nothing is counted.
void StopAfterWritesForTests() {
    static const long stopAfter = [] {
        const char* value = std::getenv("QUILLORY_TEST_STOP_AFTER_WRITES");
        return value != nullptr ? std::atol(value) : 0L;
    }();
    static std::atomic<long> written{0};
    if (stopAfter > 0 && ++written == stopAfter) {
        std::raise(SIGKILL);
    }
}

}  // namespace

DataStore::DataStore(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {
    sqlite3_set_authorizer(db_, RefuseKeyPragmas, &keyPragmaRefused_);
}

DataStore::~DataStore() {
    Close();
}

// An existing data file connected with the given flags and probed.
Result<std::unique_ptr<DataStore>> DataStore::Connected(const std::string& path, int flags,
                                                        std::string_view password) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return Error{ErrorCode::FileMissing, "no such data file"};
    }
    Result<sqlite3*> db = Connect(path, flags, password);
    if (!db) {
        return db.error();
    }
    if (Status probed = Probe(*db, path); !probed) {
        sqlite3_close(*db);
        return probed.error();
    }
    return std::unique_ptr<DataStore>(new DataStore(*db, path));
}

Result<std::unique_ptr<DataStore>> DataStore::Open(const std::string& path,
                                                   std::string_view password) {
    Result<std::unique_ptr<DataStore>> store = Connected(path, SQLITE_OPEN_READWRITE, password);
    if (!store) {
        return store;
    }
    Status usable = HasReadColumns((*store)->db_);
    if (usable) {
        usable = UpgradeSchema(**store);
    }
    if (!usable) {
        return usable.error();
    }
    return store;
}

Result<std::unique_ptr<DataStore>> DataStore::OpenReadOnly(const std::string& path,
                                                           std::string_view password) {
    Result<std::unique_ptr<DataStore>> store = Connected(path, SQLITE_OPEN_READONLY, password);
    if (!store) {
        return store;
    }
    if (Result<int> version = ReadableSchemaVersion(**store); !version) {
        return version.error();
    }
    return store;
}

Result<std::unique_ptr<DataStore>> DataStore::Create(const std::string& path,
                                                     std::string_view password) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        return Error{ErrorCode::FileAccess, "the file exists already"};
    }
    Result<sqlite3*> db = Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, password);
    if (!db) {
        return db.error();
    }
    std::unique_ptr<DataStore> store(new DataStore(*db, path));
    bool laidOut = store->RunRaw(kSchemaSql);
    for (const char* statement : kImportedSourceStatements) {
        laidOut = laidOut && store->RunRaw(statement);
    }
    if (!laidOut || !store->RunRaw(Format("pragma user_version=%d", kSchemaVersion).c_str())) {
        Error error = store->LastFailure();
        store.reset();
        std::filesystem::remove(path, ec);
        return error;
    }
    return store;
}

void DataStore::Close() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool DataStore::RunRaw(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        lastError_ = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        return false;
    }
    return true;
}

sqlite3_stmt* DataStore::Prepare(std::string_view jetSql) {
    if (db_ == nullptr) {
        lastError_ = "the data file is not open";
        return nullptr;
    }
    const std::string sql = TranslateJetSql(jetSql);
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    keyPragmaRefused_ = false;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, &tail) !=
        SQLITE_OK) {
        lastError_ =
            keyPragmaRefused_
                ? "the password of a data file cannot be set or changed (PRAGMA key, rekey)"
                : sqlite3_errmsg(db_);
        return nullptr;
    }
    if (statement == nullptr) {
        lastError_ = "the statement is empty";
        return nullptr;
    }
    if (!Trim(tail ? std::string_view(tail) : std::string_view()).empty() && Trim(tail) != ";") {
        sqlite3_finalize(statement);
        lastError_ = "only one statement may be run at a time";
        return nullptr;
    }
    return statement;
}

bool DataStore::Execute(std::string_view jetSql) {
    sqlite3_stmt* statement = Prepare(jetSql);
    if (statement == nullptr) {
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        lastError_ = sqlite3_errmsg(db_);
        return false;
    }
    StopAfterWritesForTests();
    return true;
}

std::optional<RowSet> DataStore::Query(std::string_view jetSql) {
    sqlite3_stmt* statement = Prepare(jetSql);
    if (statement == nullptr) {
        return std::nullopt;
    }
    RowSet rows(statement);
    if (rows.Failed()) {
        lastError_ = rows.Error();
        return std::nullopt;
    }
    return rows;
}

Transaction::Transaction(DataStore& store) : store_(store) {
    active_ = store_.IsOpen() && store_.RunRaw("savepoint quillory_tx");
}

Transaction::~Transaction() {
    if (active_) {
        store_.RunRaw("rollback to quillory_tx; release quillory_tx");
    }
}

bool Transaction::Commit() {
    if (!active_) {
        return false;
    }
    active_ = false;
    if (!store_.RunRaw("release quillory_tx")) {
        store_.RunRaw("rollback to quillory_tx; release quillory_tx");
        return false;
    }
    return true;
}

}  // namespace quillory
