#include "core/generation/redo_paper.h"

#include <algorithm>
#include <map>

#include "core/common/gb_encoding.h"
#include "core/common/text.h"
#include "core/generation/paper_saving.h"
#include "core/practice/answer_form.h"
#include "core/store/data_store.h"
#include "core/store/ids.h"
#include "core/store/tables.h"

namespace quillory {

std::string RedoPaperTitle(const DateTime& today) {
    return "错题重做 " + FormatDate(today);
}

Result<GeneratedPaper> CreateRedoPaper(GenerationContext& context,
                                       const RedoPaperRequest& request) {
    const std::span<const Mistake> mistakes = request.mistakes;
    if (mistakes.empty()) {
        return Error{ErrorCode::NothingToDo, "the mistake notebook holds no question"};
    }
    const auto types = ReadQuestionTypeRows(context.store);
    const int firstId = types ? NextPaperID(context.store) : 0;
    if (firstId == 0) {
        return context.store.LastFailure();
    }
    // By type, each type's questions in the notebook's order; the sections
    // in the order the paper tree shows them (by title), so that the
    // questions are numbered down the tree.
    std::map<int, std::vector<const Mistake*>> byType;
    for (size_t m = 0; m < mistakes.size() && m < kRedoPaperLimit; ++m) {
        byType[mistakes[m].typeId].push_back(&mistakes[m]);
    }
    std::vector<std::pair<std::string, int>> sections;  // title, type
    for (const auto& entry : byType) {
        const auto type =
            std::find_if(types->begin(), types->end(),
                         [&](const QuestionTypeRow& row) { return row.ID == entry.first; });
        sections.emplace_back(type == types->end() ? std::string("其他") : type->Title,
                              entry.first);
    }
    std::stable_sort(sections.begin(), sections.end(),
                     [](const auto& a, const auto& b) { return CompareGb(a.first, b.first) < 0; });
    int nextId = firstId;
    int counter = 1;
    GeneratedPaper out;
    out.rows.push_back({nextId++, 0, 0, 0.0, 0, request.title, "", false, true});
    for (const auto& [sectionTitle, typeId] : sections) {
        const size_t section = out.rows.size();
        out.rows.push_back({nextId++, firstId, 0, 0.0, 0, sectionTitle, "", false, false});
        for (const Mistake* mistake : byType[typeId]) {
            const int answers =
                std::max(1, CountJudgedGroups(ParseAnswerForm(mistake->answerForm, "")));
            const std::string label = answers > 1
                                          ? Format("第%03d-%03d题", counter, counter + answers - 1)
                                          : Format("第%03d题", counter);
            counter += answers;
            out.rows.push_back({nextId++, out.rows[section].id, mistake->questionId,
                                mistake->fullMarks, 0, label, "", true, false});
            out.rows[section].score += mistake->fullMarks;
        }
        out.rows.front().score += out.rows[section].score;
    }
    out.paperId = firstId;
    if (request.save) {
        if (Status saved = SavePaper(context.store, out.rows, {}); !saved) {
            return saved.error();
        }
    }
    return out;
}

}  // namespace quillory
