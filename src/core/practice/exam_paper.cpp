#include "practice/exam_paper.h"

#include <unordered_map>

#include "common/text.h"
#include "store/data_store.h"

namespace quillory {

namespace {

struct RowValues {
    float score = 0.0f;
    int timeLimit = 0;
};

}  // namespace

std::optional<ExamPaper> LoadExamPaper(DataStore& store, int nodeId) {
    PaperNodeList all;
    std::unordered_map<int, RowValues> values;
    {
        auto rows = store.Query("select * from Paper");
        if (!rows) {
            return std::nullopt;
        }
        for (; !rows->AtEnd(); rows->Next()) {
            const int id = rows->Int("ID");
            all.Add({id, rows->Int("SuperiorID"), rows->Text("Title"), rows->Int("QuestionID")});
            values.try_emplace(id, RowValues{rows->Single("Score"), rows->Int("TimeLimit")});
        }
        if (rows->Failed()) {
            return std::nullopt;
        }
    }
    ExamPaper paper;
    for (const PaperNode& node : all.Nodes()) {
        if (all.IsUnder(node.id, nodeId)) {
            paper.nodes.Add(node);
        }
    }
    paper.nodes.Order();
    for (const PaperNode& node : paper.nodes.Nodes()) {
        const RowValues& row = values[node.id];
        paper.timeLimits.push_back(row.timeLimit);
        if (node.tag != 0) {
            auto question = store.Query(Format("select * from Question where ID=%d", node.tag));
            if (!question) {
                return std::nullopt;
            }
            if (question->AtEnd()) {
                paper.missingQuestionNode = node.id;
                return paper;
            }
            ExamItem item;
            item.questionId = node.tag;
            item.typeId = question->Int("TypeID");
            item.level = question->Int("Level");
            item.timeLimit = row.timeLimit;
            item.page = question->Text("Url");
            item.answerPage = question->Text("AnswerUrl");
            item.keyWords = question->Text("KeyWord");
            item.knowledge = question->Text("Knowledge");
            item.description = question->Text("Answer");
            item.fullMarks = row.score;
            item.paperItemId = node.id;
            paper.items.push_back(std::move(item));
        }
        ++paper.loadedNodes;
    }
    return paper;
}

}  // namespace quillory
