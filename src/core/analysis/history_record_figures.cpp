#include "core/analysis/history_record_figures.h"

#include <algorithm>

#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/practice/exam_record.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

struct AnswerRecord {
    int questionId = 0;
    int paperItemId = 0;
    int typeId = 0;
    std::string url;
    std::string answerUrl;
    float fullMarks = 0.0f;
    float score = 0.0f;
    std::string knowledge;
};

// The tree's rows in ID order (equal titles keep it), with what the page reads.
std::optional<std::vector<PaperRow>> ReadPaperTree(DataStore& store) {
    auto rows = store.Query("select * from Paper order by ID");
    if (!rows) {
        return std::nullopt;
    }
    std::vector<PaperRow> tree;
    for (; !rows->AtEnd(); rows->Next()) {
        PaperRow row;
        row.ID = rows->Int("ID");
        row.SuperiorID = rows->Int("SuperiorID");
        row.Title = rows->Text("Title");
        row.QuestionID = rows->Int("QuestionID");
        tree.push_back(std::move(row));
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return tree;
}

std::optional<std::vector<AnswerRecord>> ReadAnswers(DataStore& store, const ReviewRecord& record) {
    auto rows = store.Query(RecordRowsQuery(record));
    if (!rows) {
        return std::nullopt;
    }
    std::vector<AnswerRecord> answers;
    for (; !rows->AtEnd(); rows->Next()) {
        answers.push_back({rows->Int("QuestionID"), rows->Int("PaperItemID"),
                           rows->Int("QuestionTypeID"), rows->Text("Url"), rows->Text("AnswerUrl"),
                           rows->Single("TotalScore"), rows->Single("UserScore"),
                           rows->Text("KnowledgeID")});
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return answers;
}

}  // namespace

Result<HistoryRecordFigures> ReadHistoryRecordFigures(DataStore& store, int historyId,
                                                      int rootNodeId) {
    const std::optional<ReviewRecord> record = FindRecord(store, historyId);
    if (!record) {
        return Error{ErrorCode::NotFound, Format("no exam record %d", historyId)};
    }
    const auto tree = ReadPaperTree(store);
    if (!tree) {
        return store.LastFailure();
    }
    const PaperNodeList nodes = PaperSubtree(*tree, rootNodeId != 0 ? rootNodeId : record->paperId);
    const auto answers = ReadAnswers(store, *record);
    if (!answers) {
        return store.LastFailure();
    }
    ItemTitles titles;
    for (const AnswerRecord& answer : *answers) {
        titles.Name(answer.typeId, answer.knowledge);
    }
    if (!titles.Read(store)) {
        return store.LastFailure();
    }

    HistoryRecordFigures figures;
    if (!nodes.Empty()) {
        figures.heading = nodes[0].title;
    }
    figures.date = record->date;
    figures.time = record->time;
    for (const PaperNode& node : nodes.Nodes()) {
        RecordLine line;
        line.item.depth = nodes.Depth(node.id);
        line.item.title = node.title;
        if ((*tree)[node.row].QuestionID != 0) {
            const auto found = std::find_if(
                answers->begin(), answers->end(),
                [&](const AnswerRecord& entry) { return entry.paperItemId == node.id; });
            if (found == answers->end()) {
                continue;
            }
            line.item.isQuestion = true;
            line.item.questionId = found->questionId;
            line.item.hasPage = !found->url.empty();
            line.item.hasAnswerPage = !found->answerUrl.empty();
            line.item.type = titles.Type(found->typeId);
            line.item.knowledge = titles.Points(found->knowledge);
            line.fullMarks = found->fullMarks;
            line.score = found->score;
        } else {
            for (const AnswerRecord& entry : *answers) {
                if (nodes.IsUnder(entry.paperItemId, node.id)) {
                    line.fullMarks += entry.fullMarks;
                    line.score += entry.score;
                }
            }
        }
        figures.lines.push_back(std::move(line));
    }
    return figures;
}

}  // namespace quillory
