#include "core/analysis/reference_paper_figures.h"

#include <unordered_map>

#include "core/analysis/analysis_parts.h"
#include "core/common/paper_node_list.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

struct QuestionFields {
    int typeId = 0;
    std::string url;
    std::string answerUrl;
    std::string knowledge;
};

// The questions of the items, by ID, in one statement.
std::optional<std::unordered_map<int, QuestionFields>> ReadQuestions(DataStore& store,
                                                                     const std::vector<int>& ids) {
    std::unordered_map<int, QuestionFields> questions;
    if (ids.empty()) {
        return questions;
    }
    auto rows = store.Query("select * from Question where ID in (" + IdList(ids) + ")");
    if (!rows) {
        return std::nullopt;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        questions.emplace(rows->Int("ID"),
                          QuestionFields{rows->Int("TypeID"), rows->Text("Url"),
                                         rows->Text("AnswerUrl"), rows->Text("Knowledge")});
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return questions;
}

}  // namespace

std::optional<ReferencePaperFigures> ReadReferencePaperFigures(DataStore& store, int paperId) {
    const auto paperRows = ReadPaperRows(store);
    if (!paperRows) {
        return std::nullopt;
    }
    const PaperNodeList nodes = PaperSubtree(*paperRows, paperId);
    const auto rowOf = [&](const PaperNode& node) -> const PaperRow& {
        return (*paperRows)[node.row];
    };
    std::vector<int> questionIds;
    for (const PaperNode& node : nodes.Nodes()) {
        if (rowOf(node).QuestionID != 0) {
            questionIds.push_back(rowOf(node).QuestionID);
        }
    }
    const auto questions = ReadQuestions(store, questionIds);
    if (!questions) {
        return std::nullopt;
    }
    ReferencePaperFigures figures;
    ItemTitles titles;
    for (const int id : questionIds) {
        const auto found = questions->find(id);
        if (found == questions->end()) {
            figures.questionMissing = true;
            return figures;
        }
        titles.Name(found->second.typeId, found->second.knowledge);
    }
    if (!titles.Read(store)) {
        return std::nullopt;
    }

    if (!nodes.Empty()) {
        figures.heading = nodes[0].title;
    }
    for (const PaperNode& node : nodes.Nodes()) {
        const PaperRow& row = rowOf(node);
        ReferenceLine line;
        line.item.depth = nodes.Depth(node.id);
        line.item.title = node.title;
        if (row.QuestionID != 0) {
            const QuestionFields& question = questions->at(row.QuestionID);
            line.item.isQuestion = true;
            line.item.questionId = row.QuestionID;
            line.item.hasPage = !question.url.empty();
            line.item.hasAnswerPage = !question.answerUrl.empty();
            line.item.type = titles.Type(question.typeId);
            line.item.knowledge = titles.Points(question.knowledge);
            line.points = row.Score;
        } else {
            for (const PaperNode& below : nodes.Nodes()) {
                if (rowOf(below).QuestionID != 0 && nodes.IsUnder(below.id, node.id)) {
                    line.points += rowOf(below).Score;
                }
            }
        }
        figures.lines.push_back(std::move(line));
    }
    return figures;
}

}  // namespace quillory
