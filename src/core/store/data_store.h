// The open data file: one SQLCipher connection keyed with the fixed
// password. Statements are Jet text (see jet_dialect.h); errors never
// escape: Execute and Query report them, and LastError() says why.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/result.h"
#include "core/store/row_set.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quillory {

inline constexpr char kDataFilePassword[] = "402958317";

class DataStore {
public:
    // Opens an existing data file and brings it to the format of this
    // program. Fails with FileMissing, WrongPassword (or no database at all),
    // NotDataFile (naming the table or column), DamagedFile (cut short),
    // NewerFile or UpgradeFailed; FileAccess when the engine cannot read it.
    // The file is never written by a failed open.
    static Result<std::unique_ptr<DataStore>> Open(const std::string& path,
                                                   std::string_view password = kDataFilePassword);
    // Opens a data file that must stay as it is (an earlier installation's):
    // read-only at the engine, so no statement can write it, and without the
    // upgrade. Fails as Open does.
    static Result<std::unique_ptr<DataStore>> OpenReadOnly(
        const std::string& path, std::string_view password = kDataFilePassword);
    // Makes a new, empty data file holding the schema, its version and one
    // ConfigProduct row. Fails (FileAccess) if the file exists.
    static Result<std::unique_ptr<DataStore>> Create(const std::string& path,
                                                     std::string_view password = kDataFilePassword);

    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;
    ~DataStore();

    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    const std::string& Path() const { return path_; }

    // One insert, update or delete statement; false on any engine error, an
    // empty statement, a second statement after it, or a pragma that would
    // set or change the password.
    bool Execute(std::string_view jetSql);
    // A select; nothing on an engine error or what Execute refuses.
    std::optional<RowSet> Query(std::string_view jetSql);
    const std::string& LastError() const { return lastError_; }
    // LastError as the failure of a function built on Execute and Query.
    Error LastFailure() const { return {ErrorCode::Database, lastError_}; }

private:
    friend class Transaction;
    DataStore(sqlite3* db, std::string path);
    static Result<std::unique_ptr<DataStore>> Connected(const std::string& path, int flags,
                                                        std::string_view password);
    bool RunRaw(const char* sql);
    // The translated statement ready to step; null with lastError_ set.
    sqlite3_stmt* Prepare(std::string_view jetSql);

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string lastError_;
    bool keyPragmaRefused_ = false;  // set by the engine's authorizer during a prepare
};

// All or nothing: rolled back when it goes out of scope without Commit().
// Transactions nest (savepoints), so a caller may wrap a routine that has
// one of its own.
class Transaction {
public:
    explicit Transaction(DataStore& store);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    bool Active() const { return active_; }
    bool Commit();

private:
    DataStore& store_;
    bool active_ = false;
};

}  // namespace quillory
