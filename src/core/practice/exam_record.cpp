#include "core/practice/exam_record.h"

#include "core/common/text.h"
#include "core/host/host.h"
#include "core/host/setting_names.h"
#include "core/store/data_store.h"
#include "core/store/ids.h"
#include "core/store/jet_dialect.h"

namespace quillory {

StoredRecord StoreExamRecord(DataStore& store, Settings& settings, const DateTime& now,
                             const PaperNodeList& nodes, const std::vector<ExamItem>& items) {
    StoredRecord result;
    if (nodes.Empty()) {
        result.error = "no exam to store";
        return result;
    }
    const std::string date = FormatDate(now);
    const std::string time = FormatTime(now);
    const PaperNode& root = nodes[0];

    Transaction transaction(store);
    const int first = NextHistoryID(store);
    if (!transaction.Active() || first == 0) {
        result.error = store.LastError();
        return result;
    }
    int id = first;
    size_t itemIndex = 0;
    for (const PaperNode& node : nodes.Nodes()) {
        if (node.questionId == 0) {
            continue;
        }
        if (itemIndex >= items.size()) {
            break;
        }
        const ExamItem& item = items[itemIndex++];
        const std::string sql = Format(
            "insert into History(ID, RecordDate, RecordTime, PaperID, PaperTitle, PaperItemID, "
            "PaperItemTitle, QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, "
            "UserScore, UserAnswer) values(%d, '%s', '%s', %d, '%s', %d, '%s', %d, %d, '%s', "
            "'%s', '%s', %f, %f, '%s')",
            id++, date.c_str(), time.c_str(), root.id, SqlQuote(root.title).c_str(), node.id,
            SqlQuote(node.title).c_str(), item.questionId, item.typeId,
            SqlQuote(item.knowledge).c_str(), SqlQuote(item.page).c_str(),
            SqlQuote(item.answerPage).c_str(), static_cast<double>(item.fullMarks),
            static_cast<double>(item.learnerScore), SqlQuote(item.learnerAnswer).c_str());
        if (!store.Execute(sql)) {
            result.error = store.LastError();
            return result;
        }
    }
    if (!transaction.Commit()) {
        result.error = store.LastError();
        return result;
    }
    settings.WriteInt(setting::kSection, setting::kHistoryModified, 1);
    result.stored = true;
    result.historyId = first;
    return result;
}

std::optional<ReviewRecord> FindRecord(DataStore& store, int historyId) {
    auto rows = store.Query(Format("select * from History where ID=%d", historyId));
    if (!rows || rows->AtEnd()) {
        return std::nullopt;
    }
    return ReviewRecord{rows->Int("PaperID"), rows->Date("RecordDate"), rows->Date("RecordTime")};
}

std::string RecordRowsQuery(const ReviewRecord& record) {
    return Format(
        "select * from History where PaperID=%d and RecordDate=#%s# and RecordTime=#%s# order by "
        "ID",
        record.paperId, FormatDate(record.date).c_str(), FormatTime(record.time).c_str());
}

bool ApplyRecordRows(DataStore& store, const ReviewRecord& record, std::vector<ExamItem>& items) {
    auto rows = store.Query(RecordRowsQuery(record));
    if (!rows) {
        return false;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        const int questionId = rows->Int("QuestionID");
        for (ExamItem& item : items) {
            if (item.questionId == questionId) {
                item.learnerScore = rows->Single("UserScore");
                item.learnerAnswer = rows->Text("UserAnswer");
                break;
            }
        }
    }
    return !rows->Failed();
}

}  // namespace quillory
