#include "core/store/previous_version_import.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "core/common/text.h"
#include "core/host/host.h"
#include "core/host/setting_names.h"
#include "core/store/data_store.h"
#include "core/store/ids.h"
#include "core/store/jet_dialect.h"
#include "core/store/tables.h"

namespace quillory {

namespace fs = std::filesystem;

namespace {

struct EarlierData {
    std::vector<HistoryRow> history;  // in exam order
    std::vector<PaperRow> papers;     // from the first generated paper on, ascending ID
};

bool ReadHistory(DataStore& earlier, std::vector<HistoryRow>& history) {
    auto rows = earlier.Query("select * from History order by RecordDate, RecordTime, ID");
    if (!rows) {
        return false;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        history.push_back(HistoryRow{
            rows->Int("ID"), rows->Date("RecordDate"), rows->Date("RecordTime"),
            rows->Int("PaperID"), rows->Text("PaperTitle"), rows->Int("PaperItemID"),
            rows->Text("PaperItemTitle"), rows->Int("QuestionID"), rows->Int("QuestionTypeID"),
            rows->Text("KnowledgeID"), rows->Text("Url"), rows->Text("AnswerUrl"),
            rows->Single("TotalScore"), rows->Single("UserScore"), rows->Text("UserAnswer"),
            rows->Text("UserMemo")});
    }
    return !rows->Failed();
}

bool ReadGeneratedPapers(DataStore& earlier, std::vector<PaperRow>& papers) {
    int first = 0;
    {
        auto rows = earlier.Query("select MIN(ID) as min_id from Paper where IsSystem=true");
        if (!rows) {
            return false;
        }
        first = rows->AtEnd() ? 0 : rows->Int("min_id");
    }
    // No generated paper (MIN reads as 0): the history comes alone, and no
    // shipped paper is taken for a generated one.
    if (first <= 0) {
        return true;
    }
    auto rows =
        earlier.Query(Format("select * from Paper where ID>%d or ID=%d order by ID", first, first));
    if (!rows) {
        return false;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        PaperRow paper;
        paper.ID = rows->Int("ID");
        paper.SuperiorID = rows->Int("SuperiorID");
        paper.QuestionID = rows->Int("QuestionID");
        paper.Score = rows->Single("Score");
        paper.TimeLimit = rows->Int("TimeLimit");
        paper.Title = rows->Text("Title");
        paper.Url = rows->Text("Url");
        paper.IsQuestion = rows->Bool("IsQuestion");
        paper.IsSystem = rows->Bool("IsSystem");
        papers.push_back(std::move(paper));
    }
    return !rows->Failed();
}

std::optional<std::set<int>> HistoryIds(DataStore& store) {
    auto rows = store.Query("select ID from History");
    if (!rows) {
        return std::nullopt;
    }
    std::set<int> ids;
    for (; !rows->AtEnd(); rows->Next()) {
        ids.insert(rows->Int("ID"));
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return ids;
}

// Everything written in one transaction, so a failure anywhere keeps
// nothing. Returns what failed, or nothing once committed.
std::optional<std::string> CopyInto(DataStore& store, const EarlierData& earlier,
                                    bool clearLastVerFile, const OpenProgress& openProgress,
                                    ImportResult& result) {
    const std::string cannotWrite = "无法写入当前的数据文件。";
    Transaction transaction(store);
    const int base = NextPaperID(store);
    const std::optional<std::set<int>> existing = HistoryIds(store);
    int nextHistoryId = NextHistoryID(store);
    if (!transaction.Active() || base == 0 || !existing || nextHistoryId == 0) {
        return cannotWrite;
    }

    // Every old paper ID mapped to its new one at once: re-pointing by
    // successive updates would move a row twice when a new ID equals the
    // old ID of a paper copied later.
    const int shift = earlier.papers.empty() ? 0 : base - earlier.papers.front().ID;
    std::unordered_map<int, int> newPaperIds;
    for (const PaperRow& paper : earlier.papers) {
        newPaperIds.emplace(paper.ID, paper.ID + shift);
    }
    const auto repointed = [&newPaperIds](int paperId) {
        const auto found = newPaperIds.find(paperId);
        return found == newPaperIds.end() ? paperId : found->second;
    };

    // A History ID the file holds already (history shipped with the bank, or
    // exams taken while an earlier attempt kept failing) is a different
    // record: the earlier row is renumbered after every ID in use, in exam
    // order, so the rows of one exam stay together and in order.
    for (const HistoryRow& row : earlier.history) {
        nextHistoryId = std::max(nextHistoryId, row.ID + 1);
    }
    {
        const std::unique_ptr<Progress> progress = openProgress();
        progress->SetRange(0, static_cast<int>(earlier.history.size()), 1);
        progress->SetText("提取用户历史数据...");
        for (const HistoryRow& row : earlier.history) {
            progress->StepIt();
            progress->PeekAndPump(false);
            const int id = existing->count(row.ID) != 0 ? nextHistoryId++ : row.ID;
            const std::string sql = Format(
                "insert into History(ID, RecordDate, RecordTime, PaperID, PaperTitle, "
                "PaperItemID, PaperItemTitle, QuestionID, QuestionTypeID, KnowledgeID, Url, "
                "AnswerUrl, TotalScore, UserScore, UserAnswer, UserMemo) values(%d, '%s', '%s', "
                "%d, '%s', %d, '%s', %d, %d, '%s', '%s', '%s', %f, %f, '%s', '%s')",
                id, FormatDate(row.RecordDate).c_str(), FormatTime(row.RecordTime).c_str(),
                repointed(row.PaperID), SqlQuote(row.PaperTitle).c_str(),
                repointed(row.PaperItemID), SqlQuote(row.PaperItemTitle).c_str(), row.QuestionID,
                row.QuestionTypeID, SqlQuote(row.KnowledgeID).c_str(), SqlQuote(row.Url).c_str(),
                SqlQuote(row.AnswerUrl).c_str(), static_cast<double>(row.TotalScore),
                static_cast<double>(row.UserScore), SqlQuote(row.UserAnswer).c_str(),
                SqlQuote(row.UserMemo).c_str());
            if (!store.Execute(sql)) {
                return Format("无法复制历史记录 %d。", row.ID);
            }
        }
    }
    {
        const std::unique_ptr<Progress> progress = openProgress();
        progress->SetRange(0, static_cast<int>(earlier.papers.size()), 1);
        progress->SetText("提取用户试卷数据...");
        for (const PaperRow& paper : earlier.papers) {
            progress->StepIt();
            progress->PeekAndPump(false);
            const std::string sql = Format(
                "insert into Paper(ID, SuperiorID, QuestionID, Score, TimeLimit, Title, Url, "
                "IsQuestion, IsSystem) values(%d, %d, %d, %f, %d, '%s', '%s', %s, %s)",
                paper.ID + shift, paper.SuperiorID == 0 ? 0 : paper.SuperiorID + shift,
                paper.QuestionID, static_cast<double>(paper.Score), paper.TimeLimit,
                SqlQuote(paper.Title).c_str(), SqlQuote(paper.Url).c_str(),
                paper.IsQuestion ? "true" : "false", paper.IsSystem ? "true" : "false");
            if (!store.Execute(sql)) {
                return Format("无法复制试卷记录 %d。", paper.ID);
            }
        }
    }
    if (clearLastVerFile && !store.Execute("Update ConfigProduct set LastVerFile=''")) {
        return cannotWrite;
    }
    if (!transaction.Commit()) {
        return cannotWrite;
    }
    result.historyRows = static_cast<int>(earlier.history.size());
    result.paperRows = static_cast<int>(earlier.papers.size());
    return std::nullopt;
}

// What failed, or nothing once the import is committed.
std::optional<std::string> Import(DataStore& store, const std::string& earlierFile,
                                  bool clearLastVerFile, const OpenProgress& openProgress,
                                  ImportResult& result) {
    std::error_code ec;
    if (!fs::is_regular_file(earlierFile, ec)) {
        return "找不到上一版本的数据文件 " + earlierFile + "。";
    }
    if (fs::equivalent(earlierFile, store.Path(), ec)) {
        return "上一版本的数据文件就是当前的数据文件 " + earlierFile + "。";
    }
    EarlierData earlier;
    {
        // Only read: opened read-only and never upgraded.
        const Result<std::unique_ptr<DataStore>> old = DataStore::OpenReadOnly(earlierFile);
        if (!old) {
            return "无法打开上一版本的数据文件 " + earlierFile + "。";
        }
        if (!ReadHistory(**old, earlier.history) || !ReadGeneratedPapers(**old, earlier.papers)) {
            return "无法读取上一版本的数据文件 " + earlierFile + "。";
        }
    }
    return CopyInto(store, earlier, clearLastVerFile, openProgress, result);
}

ImportResult Finish(std::optional<std::string> failure, bool pending, Host& host,
                    ImportResult result) {
    if (!failure) {
        result.outcome = ImportOutcome::Imported;
        return result;
    }
    result.outcome = ImportOutcome::Failed;
    result.error = "产品升级失败：" + *failure + "\n数据文件未作任何改动" +
                   (pending ? "，下次打开时将再次尝试。" : "。");
    host.Message(result.error, MessageIcon::Error);
    return result;
}

}  // namespace

bool LastVersionFile(DataStore& store, const std::string& dataFolder, std::string& file) {
    auto rows = store.Query("select * from ConfigProduct");
    if (!rows) {
        return false;
    }
    std::string relative = Trim(rows->Text("LastVerFile"));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    file = relative.empty() ? std::string() : dataFolder + "/" + relative;
    return true;
}

ImportResult ImportPreviousVersion(DataStore& store, const std::string& dataFolder, Host& host,
                                   const OpenProgress& openProgress) {
    std::string earlierFile;
    if (!LastVersionFile(store, dataFolder, earlierFile)) {
        return Finish("无法读取当前数据文件的产品配置。", true, host, {});
    }
    if (earlierFile.empty()) {
        return {};
    }
    ImportResult result;
    std::optional<std::string> failure = Import(store, earlierFile, true, openProgress, result);
    return Finish(std::move(failure), true, host, result);
}

ImportResult ImportAtStart(DataStore& store, const std::string& dataFolder, Host& host,
                           Settings& settings, const OpenProgress& openProgress) {
    std::string earlierFile;
    std::error_code ec;
    if (!LastVersionFile(store, dataFolder, earlierFile) || earlierFile.empty() ||
        fs::exists(earlierFile, ec)) {
        return ImportPreviousVersion(store, dataFolder, host, openProgress);
    }
    // FNV-1a of the path, never 0 (nothing remembered).
    std::uint32_t hash = 2166136261u;
    for (const char c : earlierFile) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    const int key = static_cast<int>(hash & 0x7fffffffu) | 1;
    if (settings.ReadInt(setting::kSection, setting::kMissingLastVerFile, 0) == key) {
        return {ImportOutcome::Failed, 0, 0, {}};
    }
    ImportResult result = ImportPreviousVersion(store, dataFolder, host, openProgress);
    settings.WriteInt(setting::kSection, setting::kMissingLastVerFile, key);
    return result;
}

ImportResult ImportEarlierFile(DataStore& store, const std::string& dataFolder,
                               const std::string& earlierFile, Host& host,
                               const OpenProgress& openProgress) {
    std::string pendingFile;
    if (!LastVersionFile(store, dataFolder, pendingFile)) {
        return Finish("无法读取当前数据文件的产品配置。", false, host, {});
    }
    std::error_code ec;
    const bool pending = !pendingFile.empty() && fs::equivalent(pendingFile, earlierFile, ec);
    ImportResult result;
    std::optional<std::string> failure = Import(store, earlierFile, pending, openProgress, result);
    return Finish(std::move(failure), pending, host, result);
}

}  // namespace quillory
