#include "core/generation/paper_generation.h"

#include <algorithm>
#include <unordered_map>

#include "core/common/local_path.h"
#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/generation/paper_items.h"
#include "core/generation/paper_saving.h"
#include "core/generation/question_selection.h"
#include "core/pages/composed_target.h"
#include "core/store/data_store.h"
#include "core/store/ids.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

// A section scored below its children's total takes points off them, one at
// a time from the last child back, never taking a child to 1 or less.
void CapSections(const std::vector<PaperItemRow>& rows, std::vector<float>& scores) {
    for (size_t s = 0; s < rows.size(); ++s) {
        if (rows[s].questionId != 0) {
            continue;
        }
        std::vector<size_t> children;
        float sum = 0.0f;
        for (size_t c = s + 1; c < rows.size(); ++c) {
            if (rows[c].superiorId == rows[s].id) {
                children.push_back(c);
                sum += scores[c];
            }
        }
        size_t at = children.size();
        while (scores[s] < sum - 0.1 && !children.empty()) {
            at = at == 0 ? children.size() - 1 : at - 1;
            float& score = scores[children[at]];
            if (score - 1 > 0) {
                score -= 1;
                sum -= 1;
            } else {
                children.erase(children.begin() + static_cast<std::ptrdiff_t>(at));
            }
        }
    }
}

GeneratedRow RowOf(const PaperItemRow& row, double score, int timeLimit, std::string url,
                   bool first) {
    return {row.id,    row.superiorId, row.questionId,      score, timeLimit,
            row.title, std::move(url), row.questionId != 0, first};
}

Result<std::vector<PaperItemRow>> BuildRows(GenerationContext& context,
                                            const std::vector<TemplateItem>& items,
                                            const GenerationSettings& settings, bool useGroups) {
    const int firstId = NextPaperID(context.store);
    if (firstId == 0) {
        return context.store.LastFailure();
    }
    QuestionSelection selection(context.store, settings.now);
    const PaperItemOptions options{settings.adjust, settings.period, useGroups, settings.seedTime};
    std::vector<PaperItemRow> rows;
    if (!BuildPaperItems(items, rows, firstId, options, context.store, selection, context.random,
                         context.host, context.progress)) {
        return context.store.LastFailure();
    }
    return rows;
}

Result<GeneratedPaper> Store(GenerationContext& context, bool save,
                             const std::vector<PageCopy>& pages, GeneratedPaper paper) {
    paper.paperId = paper.rows.empty() ? 0 : paper.rows.front().id;
    if (save) {
        if (Status saved = SavePaper(context.store, paper.rows, pages); !saved) {
            return saved.error();
        }
    }
    return paper;
}

}  // namespace

Result<GeneratedPaper> CreateTemplatePaper(GenerationContext& context,
                                           const TemplatePaperRequest& request) {
    const auto templateRows = ReadPaperTemplateRows(context.store);
    if (!templateRows) {
        return context.store.LastFailure();
    }
    PaperNodeList all;
    for (const PaperTemplateRow& row : *templateRows) {
        all.Add({row.ID, row.SuperiorID, row.Title});
    }
    PaperNodeList subtree;
    std::unordered_map<int, const PaperTemplateRow*> byId;
    for (const PaperTemplateRow& row : *templateRows) {
        if (all.IsUnder(row.ID, request.templateId)) {
            subtree.Add({row.ID, row.SuperiorID, row.Title});
            byId.emplace(row.ID, &row);
        }
    }
    subtree.Order();
    std::vector<TemplateItem> items;
    std::vector<const PaperTemplateRow*> itemRows;
    for (const PaperNode& node : subtree.Nodes()) {
        const PaperTemplateRow& row = *byId.at(node.id);
        items.push_back({row.ID, row.SuperiorID, row.Title, row.IsQuestion, row.QuestionID,
                         row.QuestionTypeID, row.KnowledgeID});
        itemRows.push_back(&row);
    }
    Result<std::vector<PaperItemRow>> built = BuildRows(context, items, request.settings, true);
    if (!built) {
        return built.error();
    }
    std::vector<PaperItemRow>& rows = *built;
    // A row takes the values of the template items it stands for: a
    // question filling three slots is worth the three of them.
    std::vector<float> scores(rows.size());
    std::vector<int> timeLimits(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        for (const size_t item : rows[r].items) {
            scores[r] += itemRows[item]->ScoreMax;
            timeLimits[r] += itemRows[item]->TimeLimit;
        }
    }
    CapSections(rows, scores);
    if (!rows.empty()) {
        rows.front().title = request.title;
    }
    GeneratedPaper paper;
    std::vector<PageCopy> pages;
    for (size_t r = 0; r < rows.size(); ++r) {
        const PaperItemRow& row = rows[r];
        std::string url;
        if (row.questionId == 0) {
            // A section without a page of its own gets none, rather than a
            // name no file will ever have.
            const std::string& sectionUrl = itemRows[row.items.front()]->Url;
            if (!Trim(sectionUrl).empty()) {
                url = Format("Question\\P%06d.html", row.id);
                const PageLocation source = ResolveLocation(context.dataFolder, sectionUrl);
                const PageLocation target = ResolveLocation(context.dataFolder, url);
                if (source.kind == LocationKind::Local && target.kind == LocationKind::Local &&
                    IsNamedByATable(context.store, context.dataFolder, target.path) == false) {
                    pages.push_back({source.path, target.path});
                }
            }
        }
        paper.rows.push_back(RowOf(row, scores[r], timeLimits[r], std::move(url), r == 0));
    }
    return Store(context, request.save, pages, std::move(paper));
}

Result<GeneratedPaper> CreateTargetedPaper(GenerationContext& context,
                                           const TargetedPaperRequest& request) {
    std::string knowledge;
    for (size_t k = 0; k < request.knowledgeSet.size(); ++k) {
        knowledge += (k == 0 ? "" : ",") + request.knowledgeSet[k];
    }
    std::vector<TemplateItem> items{{1, 0, request.title, false, "", "", ""}};
    for (int n = 2; n <= request.count + 1; ++n) {
        items.push_back(
            {n, 1, Format("第%d题", n), true, "", Format("%d", request.typeId), knowledge});
    }
    Result<std::vector<PaperItemRow>> built = BuildRows(context, items, request.settings, false);
    if (!built) {
        return built.error();
    }
    GeneratedPaper paper;
    for (size_t r = 0; r < built->size(); ++r) {
        PaperItemRow& row = (*built)[r];
        if (r == 0) {
            row.title = request.title;
        }
        paper.rows.push_back(
            RowOf(row, r == 0 ? request.count * request.score : request.score, 0, "", r == 0));
    }
    return Store(context, request.save, {}, std::move(paper));
}

}  // namespace quillory
