#include "core/bank/bank_builder.h"

#include <cstring>
#include <filesystem>
#include <memory>
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

// Undoes what a failed build made: the data file, and the page folders that
// were not there before it started.
class BuildCleanup {
public:
    BuildCleanup(fs::path dataFile, fs::path dataFolder)
        : dataFile_(std::move(dataFile)), dataFolder_(std::move(dataFolder)) {
        std::error_code ec;
        for (const char* folder : kPageFolders) {
            if (!fs::exists(dataFolder_ / folder, ec)) {
                newFolders_.push_back(dataFolder_ / folder);
            }
        }
    }
    BuildCleanup(const BuildCleanup&) = delete;
    BuildCleanup& operator=(const BuildCleanup&) = delete;
    ~BuildCleanup() {
        if (done_) {
            return;
        }
        std::error_code ec;
        fs::remove(dataFile_, ec);
        for (const fs::path& folder : newFolders_) {
            fs::remove_all(folder, ec);
        }
    }
    void Done() { done_ = true; }

private:
    fs::path dataFile_;
    fs::path dataFolder_;
    std::vector<fs::path> newFolders_;
    bool done_ = false;
};

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
    BuildCleanup cleanup(full, dataFolder);
    if (!CreateFromTemplate(programFolder, full.string())) {
        SetError(error, Format("cannot make %s from the template in %s", full.c_str(),
                               TemplateFolder(programFolder).c_str()));
        return false;
    }
    {
        std::string openError;
        auto store = DataStore::Open(full.string(), &openError);
        if (!store) {
            SetError(error, full.string() + " was made but does not open: " + openError);
            return false;
        }
        if (!InsertRecords(*store, records, error)) {
            return false;
        }
    }
    if (!WriteBankPages(pages, dataFolder.string(), error)) {
        return false;
    }
    cleanup.Done();
    return true;
}

}  // namespace quillory
