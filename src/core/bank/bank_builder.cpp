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

void SetError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

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

bool InsertRecords(DataStore& store, const std::vector<BankRecord>& records, std::string* error) {
    Transaction transaction(store);
    if (!transaction.Active()) {
        SetError(error, "cannot begin a transaction: " + store.LastError());
        return false;
    }
    for (const BankRecord& record : records) {
        if (!store.Execute(InsertStatement(record))) {
            SetError(error, BankError{record.file, record.line,
                                      Format("cannot store %s %d: %s", record.table->name,
                                             record.id, store.LastError().c_str())}
                                .Text());
            return false;
        }
    }
    if (!transaction.Commit()) {
        SetError(error, "cannot commit the records: " + store.LastError());
        return false;
    }
    return true;
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

    bool Folder(const fs::path& target, std::string* error) {
        std::error_code ec;
        if (fs::create_directory(target, ec)) {
            folders_.push_back(target);
        } else if (ec || !fs::is_directory(target, ec)) {
            SetError(
                error,
                Format("%s: cannot make the folder: %s", target.c_str(),
                       (ec ? ec : std::make_error_code(std::errc::file_exists)).message().c_str()));
            return false;
        }
        return true;
    }

    // False when it could not be placed; *existed says whether the name was
    // taken already.
    bool File(const fs::path& staged, const fs::path& target, bool* existed, std::string* error) {
        *existed = false;
        if (link(staged.c_str(), target.c_str()) == 0) {
            files_.push_back(target);
            return true;
        }
        *existed = errno == EEXIST;
        SetError(error, Format("%s: %s", target.c_str(), std::strerror(errno)));
        return false;
    }

    void Keep() { kept_ = true; }

private:
    std::vector<fs::path> files_;
    std::vector<fs::path> folders_;
    bool kept_ = false;
};

bool MoveIntoPlace(const fs::path& staging, const fs::path& dataFile,
                   const std::vector<BankPage>& pages, std::string* error) {
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
        if (!placed.Folder(dataFolder / folder, error)) {
            return false;
        }
        for (fs::recursive_directory_iterator it(staging / folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            const fs::path relative = it->path().lexically_relative(staging);
            const fs::path target = dataFolder / relative;
            if (it->is_directory(ec)) {
                if (!placed.Folder(target, error)) {
                    return false;
                }
                continue;
            }
            bool existed = false;
            if (!placed.File(it->path(), target, &existed, error) &&
                (!existed || bankPages.count(relative) != 0)) {
                return false;
            }
        }
        if (ec) {
            SetError(error, Format("%s: cannot list the folder: %s", (staging / folder).c_str(),
                                   ec.message().c_str()));
            return false;
        }
    }
    bool existed = false;
    if (!placed.File(staging / dataFile.filename(), dataFile, &existed, error)) {
        return false;
    }
    placed.Keep();
    return true;
}

}  // namespace

bool ReadBankTables(const std::string& sourceFolder, std::vector<BankRecord>& records,
                    std::string* error) {
    bool any = false;
    for (const char* name : kBankTableFiles) {
        const fs::path path = fs::path(sourceFolder) / name;
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            continue;
        }
        const WholeFile file = ReadWholeFile(path.string());
        if (file.result != FileRead::Read) {
            SetError(error, path.string() + ": cannot read the file: " + std::strerror(file.error));
            return false;
        }
        BankError problem;
        if (!ParseBankText(file.bytes, path.string(), records, &problem)) {
            SetError(error, problem.Text());
            return false;
        }
        any = true;
    }
    if (!any) {
        SetError(error, sourceFolder +
                            ": no table file (types.txt, knowledge.txt, questions.txt, "
                            "papers.txt, templates.txt) in the bank source");
    }
    return any;
}

bool BuildBank(const std::string& sourceFolder, const std::string& dataFile,
               const std::string& programFolder, std::string* error) {
    std::error_code ec;
    if (fs::exists(dataFile, ec)) {
        SetError(error, dataFile + " exists already; nothing was changed");
        return false;
    }
    if (!fs::is_directory(sourceFolder, ec)) {
        SetError(error, sourceFolder + ": no such bank source folder");
        return false;
    }
    std::vector<BankRecord> records;
    std::vector<BankPage> pages;
    if (!ReadBankTables(sourceFolder, records, error) ||
        !ReadBankPages(sourceFolder, pages, error)) {
        return false;
    }
    const fs::path full = fs::absolute(dataFile, ec).lexically_normal();
    const fs::path dataFolder = full.parent_path();
    if (!fs::is_directory(dataFolder, ec)) {
        SetError(error, dataFolder.string() + ": no such folder for the data file");
        return false;
    }
    // Another bank may live in the same folder: none of its files is ever
    // replaced.
    for (const BankPage& page : pages) {
        if (fs::exists(dataFolder / page.relative, ec)) {
            SetError(error, Format("%s exists already (a page of another bank?); nothing was "
                                   "changed",
                                   (dataFolder / page.relative).c_str()));
            return false;
        }
    }
    const StagingFolder staging(dataFolder);
    if (staging.Path().empty()) {
        SetError(error, Format("%s: cannot make a folder to build in: %s", dataFolder.c_str(),
                               std::strerror(staging.Error())));
        return false;
    }
    const fs::path staged = staging.Path() / full.filename();
    std::string why;
    if (!CreateFromTemplate(programFolder, staged.string(), &why)) {
        SetError(error, Format("cannot make %s from the template in %s: %s", full.c_str(),
                               TemplateFolder(programFolder).c_str(), why.c_str()));
        return false;
    }
    {
        std::string openError;
        auto store = DataStore::Open(staged.string(), &openError);
        if (!store) {
            SetError(error, full.string() + " was made but does not open: " + openError);
            return false;
        }
        if (!InsertRecords(*store, records, error)) {
            return false;
        }
    }
    if (!WriteBankPages(pages, staging.Path().string(), error) ||
        !MoveIntoPlace(staging.Path(), full, pages, error)) {
        return false;
    }
    return true;
}

}  // namespace quillory
