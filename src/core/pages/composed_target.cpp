#include "core/pages/composed_target.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/common/local_path.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/store/data_store.h"
#include "core/store/jet_dialect.h"

namespace quillory {

namespace {

bool IsDataFile(const std::string& dataFile, const std::string& resolved) {
    const std::string file = ResolvedPath(dataFile);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        if (!file.empty() && resolved == file + suffix) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Every location of the tables names its file last, so only rows whose
// location holds the file's name can name it. One statement reads each table
// once and keeps just those rows (a page view pays for one pass over the
// tables, not for resolving every location); resolving them then decides.
std::optional<bool> IsNamedByATable(DataStore& store, const std::string& dataFolder,
                                    const std::string& path) {
    const std::string resolved = ResolvedPath(path);
    const std::string name = SqlQuote(std::filesystem::path(path).filename().string());
    const auto holding = [&](const char* column) {
        return Format("instr(%s, '%s') > 0", column, name.c_str());
    };
    const std::string sql = Format(
        "select Url as Location, '' as Answer from Paper where %s union all "
        "select Url, AnswerUrl from Question where %s or %s union all "
        "select Url, '' from Knowledge where %s union all "
        "select Url, '' from PaperTemplate where %s",
        holding("Url").c_str(), holding("Url").c_str(), holding("AnswerUrl").c_str(),
        holding("Url").c_str(), holding("Url").c_str());
    auto rows = store.Query(sql);
    if (!rows) {
        return std::nullopt;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        for (const char* column : {"Location", "Answer"}) {
            const PageLocation named = ResolveLocation(dataFolder, rows->Text(column));
            if (!named.path.empty() && ResolvedPath(named.path) == resolved) {
                return true;
            }
        }
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return false;
}

bool MayWriteComposedFile(PageContext& context, const std::string& path) {
    const std::string resolved = ResolvedPath(path);
    // A link at the page's own place is never a page written here, and
    // writing through it would change whatever it points to, even a file
    // that is not there yet.
    std::error_code ec;
    const bool isLink = std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec));
    if (!isLink && !std::filesystem::path(path).filename().empty() &&
        LiesInFolder(context.dataFolder, path) && !IsDataFile(context.store.Path(), resolved)) {
        const std::optional<bool> named = IsNamedByATable(context.store, context.dataFolder, path);
        if (named && !*named) {
            return true;
        }
    }
    context.host.Message(
        "不能写入文件" + path + "（页面不能覆盖题库的文件，也不能写到数据文件夹之外）",
        MessageIcon::Error);
    return false;
}

}  // namespace quillory
