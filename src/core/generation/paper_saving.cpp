#include "core/generation/paper_saving.h"

#include <filesystem>
#include <system_error>

#include "core/common/text.h"
#include "core/store/data_store.h"
#include "core/store/jet_dialect.h"

namespace quillory {

namespace fs = std::filesystem;

namespace {

std::string InsertStatement(const GeneratedRow& row) {
    return Format(
        "insert into Paper(ID, SuperiorID, QuestionID, Score, TimeLimit, Title, Url, IsQuestion, "
        "IsSystem) values(%d, %d, %d, %f, %d, '%s', '%s', %d, %d)",
        row.id, row.superiorId, row.questionId, row.score, row.timeLimit,
        SqlQuote(row.title).c_str(), SqlQuote(row.url).c_str(), row.isQuestion ? 1 : 0,
        row.isSystem ? 1 : 0);
}

std::string PendingName(const std::string& target) {
    return target + ".new";
}

void RemovePending(const std::vector<PageCopy>& copied) {
    std::error_code ec;
    for (const PageCopy& page : copied) {
        fs::remove(PendingName(page.target), ec);
    }
}

}  // namespace

Status SavePaper(DataStore& store, const std::vector<GeneratedRow>& rows,
                 const std::vector<PageCopy>& pages) {
    std::vector<PageCopy> copied;
    for (const PageCopy& page : pages) {
        std::error_code ec;
        if (fs::copy_file(page.source, PendingName(page.target),
                          fs::copy_options::overwrite_existing, ec)) {
            copied.push_back(page);
        }
    }
    Transaction transaction(store);
    bool stored = transaction.Active();
    for (size_t r = 0; stored && r < rows.size(); ++r) {
        stored = store.Execute(InsertStatement(rows[r]));
    }
    if (!stored) {
        RemovePending(copied);
        return {ErrorCode::NotSaved, store.LastError()};
    }
    // The pages go in place before the commit: a process killed in between
    // leaves pages no row names, never rows whose pages are missing.
    std::vector<std::string> placed;
    for (const PageCopy& page : copied) {
        std::error_code ec;
        fs::rename(PendingName(page.target), page.target, ec);
        if (ec) {
            fs::remove(PendingName(page.target), ec);
        } else {
            placed.push_back(page.target);
        }
    }
    if (!transaction.Commit()) {
        Error error{ErrorCode::NotSaved, store.LastError()};
        std::error_code ec;
        for (const std::string& target : placed) {
            fs::remove(target, ec);
        }
        return error;
    }
    return {};
}

}  // namespace quillory
