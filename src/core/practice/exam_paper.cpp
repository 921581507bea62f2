#include "core/practice/exam_paper.h"

#include "core/common/text.h"
#include "core/practice/paper_table.h"
#include "core/store/data_store.h"

namespace quillory {

std::optional<ExamPaper> LoadExamPaper(DataStore& store, int nodeId) {
    const std::optional<PaperTable> table = ReadPaperTable(store);
    if (!table) {
        return std::nullopt;
    }
    ExamPaper paper;
    paper.nodes = table->Subtree(nodeId);
    for (const PaperNode& node : paper.nodes.Nodes()) {
        const PaperRowValues& row = table->values.at(node.id);
        paper.timeLimits.push_back(row.timeLimit);
        if (node.questionId != 0) {
            auto question =
                store.Query(Format("select * from Question where ID=%d", node.questionId));
            if (!question) {
                return std::nullopt;
            }
            if (question->AtEnd()) {
                // The tree keeps the node whose question is missing.
                paper.missingQuestionNode = node.id;
                ++paper.loadedNodes;
                return paper;
            }
            ExamItem item;
            item.questionId = node.questionId;
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
