#include "core/bank/bank_builder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "core/bank/bank_pages.h"
#include "core/common/text.h"
#include "core/common/whole_file.h"
#include "core/store/data_file.h"
#include "core/store/data_store.h"
#include "core/store/jet_dialect.h"

namespace quillory {

namespace fs = std::filesystem;

namespace {

// "insert into Table(ID, Column, ...) values(id, value, ...)"; a column the
// record leaves out keeps its default.
std::string InsertStatement(const BankRecord& record) {
    std::string columns = "ID";
    std::string values = Format("%d", record.id);
    for (const BankValue& value : record.values) {
        columns += ", ";
        columns += value.column->name;
        values += ", ";
        if (value.column->kind == ColumnKind::Text) {
            values += "'" + SqlQuote(value.text) + "'";
        } else {
            values += value.text;
        }
    }
    return Format("insert into %s(%s) values(%s)", record.table->name, columns.c_str(),
                  values.c_str());
}

Status InsertRecords(DataStore& store, const std::vector<BankRecord>& records) {
    Transaction transaction(store);
    if (!transaction.Active()) {
        return {ErrorCode::Database, "cannot begin a transaction: " + store.LastError()};
    }
    for (const BankRecord& record : records) {
        if (!store.Execute(InsertStatement(record))) {
            return {ErrorCode::Database,
                    BankError{record.file, record.line,
                              Format("cannot store %s %d: %s", record.table->name, record.id,
                                     store.LastError().c_str())}
                        .Text()};
        }
    }
    if (!transaction.Commit()) {
        return {ErrorCode::Database, "cannot commit the records: " + store.LastError()};
    }
    return {};
}

// A folder of its own beside the data file (so on the same file system),
// where the whole bank is made before any of it is moved into place; gone
// again when the build ends, whatever happened.
class StagingFolder {
public:
    explicit StagingFolder(const fs::path& dataFolder) {
        std::string name = (dataFolder / ".quillory-build-XXXXXX").string();
        if (mkdtemp(name.data()) != nullptr) {
            path_ = name;
        } else {
            error_ = errno;
        }
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    ~StagingFolder() {
        if (!path_.empty()) {
            std::error_code ec;
            fs::remove_all(path_, ec);
        }
    }
    const fs::path& Path() const { return path_; }
    int Error() const { return error_; }

private:
    fs::path path_;
    int error_ = 0;
};

// Moves a built bank from the staging folder into the data folder without
// replacing anything there: a link that fails for an existing name fails the
// move, except for a template file another bank already put there, which is
// kept. On a failure everything moved so far is taken back.
class PlacedFiles {
public:
    PlacedFiles() = default;
    PlacedFiles(const PlacedFiles&) = delete;
    PlacedFiles& operator=(const PlacedFiles&) = delete;
    ~PlacedFiles() {
        if (kept_) {
            return;
        }
        std::error_code ec;
        for (auto file = files_.rbegin(); file != files_.rend(); ++file) {
            fs::remove(*file, ec);
        }
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
            fs::remove(*folder, ec);
        }
    }

    Status Folder(const fs::path& target) {
        std::error_code ec;
        if (fs::create_directory(target, ec)) {
            folders_.push_back(target);
        } else if (ec || !fs::is_directory(target, ec)) {
            return {
                ErrorCode::FileAccess,
                Format("%s: cannot make the folder: %s", target.c_str(),
                       (ec ? ec : std::make_error_code(std::errc::file_exists)).message().c_str())};
        }
        return {};
    }

    // A failure when it could not be placed; *existed says whether the name
    // was taken already.
    Status File(const fs::path& staged, const fs::path& target, bool* existed) {
        *existed = false;
        if (link(staged.c_str(), target.c_str()) == 0) {
            files_.push_back(target);
            return {};
        }
        *existed = errno == EEXIST;
        return {ErrorCode::FileAccess, Format("%s: %s", target.c_str(), std::strerror(errno))};
    }

    void Keep() { kept_ = true; }

private:
    std::vector<fs::path> files_;
    std::vector<fs::path> folders_;
    bool kept_ = false;
};

Status MoveIntoPlace(const fs::path& staging, const fs::path& dataFile,
                     const std::vector<BankPage>& pages) {
    std::set<fs::path> bankPages;
    for (const BankPage& page : pages) {
        bankPages.insert(fs::path(page.relative).lexically_normal());
    }
    const fs::path dataFolder = dataFile.parent_path();
    PlacedFiles placed;
    std::error_code ec;
    for (const char* folder : kPageFolders) {
        if (!fs::is_directory(staging / folder, ec)) {
            continue;
        }
        if (Status made = placed.Folder(dataFolder / folder); !made) {
            return made;
        }
        for (fs::recursive_directory_iterator it(staging / folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            const fs::path relative = it->path().lexically_relative(staging);
            const fs::path target = dataFolder / relative;
            if (it->is_directory(ec)) {
                if (Status made = placed.Folder(target); !made) {
                    return made;
                }
                continue;
            }
            bool existed = false;
            Status linked = placed.File(it->path(), target, &existed);
            if (!linked && (!existed || bankPages.count(relative) != 0)) {
                return linked;
            }
        }
        if (ec) {
            return {ErrorCode::FileAccess,
                    Format("%s: cannot list the folder: %s", (staging / folder).c_str(),
                           ec.message().c_str())};
        }
    }
    bool existed = false;
    if (Status linked = placed.File(staging / dataFile.filename(), dataFile, &existed); !linked) {
        return linked;
    }
    placed.Keep();
    return {};
}

}  // namespace

Result<std::vector<BankRecord>> ReadBankTables(const std::string& sourceFolder) {
    std::vector<BankRecord> records;
    bool any = false;
    for (const char* name : kBankTableFiles) {
        const fs::path path = fs::path(sourceFolder) / name;
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            continue;
        }
        const WholeFile file = ReadWholeFile(path.string());
        if (file.result != FileRead::Read) {
            return Error{ErrorCode::FileAccess,
                         path.string() + ": cannot read the file: " + std::strerror(file.error)};
        }
        BankError problem;
        if (!ParseBankText(file.bytes, path.string(), records, &problem)) {
            return Error{ErrorCode::BadInput, problem.Text()};
        }
        any = true;
    }
    if (!any) {
        return Error{ErrorCode::BadInput, sourceFolder +
                                              ": no table file (types.txt, knowledge.txt, "
                                              "questions.txt, papers.txt, templates.txt) in the "
                                              "bank source"};
    }
    return records;
}

Status BuildBank(const std::string& sourceFolder, const std::string& dataFile,
                 const std::string& programFolder) {
    std::error_code ec;
    if (fs::exists(dataFile, ec)) {
        return {ErrorCode::FileAccess, dataFile + " exists already; nothing was changed"};
    }
    if (!fs::is_directory(sourceFolder, ec)) {
        return {ErrorCode::FileMissing, sourceFolder + ": no such bank source folder"};
    }
    const Result<std::vector<BankRecord>> records = ReadBankTables(sourceFolder);
    if (!records) {
        return records.status();
    }
    const Result<std::vector<BankPage>> read = ReadBankPages(sourceFolder);
    if (!read) {
        return read.status();
    }
    const std::vector<BankPage>& pages = *read;
    const fs::path full = fs::absolute(dataFile, ec).lexically_normal();
    const fs::path dataFolder = full.parent_path();
    if (!fs::is_directory(dataFolder, ec)) {
        return {ErrorCode::FileMissing, dataFolder.string() + ": no such folder for the data file"};
    }
    // Another bank may live in the same folder: none of its files is ever
    // replaced.
    for (const BankPage& page : pages) {
        if (fs::exists(dataFolder / page.relative, ec)) {
            return {ErrorCode::FileAccess,
                    Format("%s exists already (a page of another bank?); nothing was changed",
                           (dataFolder / page.relative).c_str())};
        }
    }
    const StagingFolder staging(dataFolder);
    if (staging.Path().empty()) {
        return {ErrorCode::FileAccess, Format("%s: cannot make a folder to build in: %s",
                                              dataFolder.c_str(), std::strerror(staging.Error()))};
    }
    const fs::path staged = staging.Path() / full.filename();
    if (Status made = CreateFromTemplate(programFolder, staged.string()); !made) {
        return {made.error().code,
                Format("cannot make %s from the template in %s: %s", full.c_str(),
                       TemplateFolder(programFolder).c_str(), made.error().detail.c_str())};
    }
    {
        Result<std::unique_ptr<DataStore>> store = DataStore::Open(staged.string());
        if (!store) {
            return {store.error().code,
                    full.string() + " was made but does not open: " + store.error().detail};
        }
        if (Status inserted = InsertRecords(**store, *records); !inserted) {
            return inserted;
        }
    }
    if (Status written = WriteBankPages(pages, staging.Path().string()); !written) {
        return written;
    }
    return MoveIntoPlace(staging.Path(), full, pages);
}

}  // namespace quillory
