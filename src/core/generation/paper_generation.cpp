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

constexpr char kReadFailure[] = "无法生成试卷：";
constexpr char kSaveFailure[] = "无法保存试卷：";

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

struct PaperRun {
    std::vector<PaperItemRow> rows;
};

bool BuildRows(GenerationContext& context, const std::vector<TemplateItem>& items,
               const GenerationSettings& settings, bool useGroups, PaperRun& run,
               std::string& error) {
    const int firstId = NextPaperID(context.store);
    if (firstId == 0) {
        error = kReadFailure + context.store.LastError();
        return false;
    }
    QuestionSelection selection(context.store, settings.now);
    const PaperItemOptions options{settings.adjust, settings.period, useGroups, settings.seedTime};
    if (!BuildPaperItems(items, run.rows, firstId, options, context.store, selection,
                         context.random, context.host, context.progress)) {
        error = kReadFailure + context.store.LastError();
        return false;
    }
    return true;
}

bool Store(GenerationContext& context, bool save, const std::vector<PageCopy>& pages,
           GeneratedPaper& out, std::string& error) {
    out.paperId = out.rows.empty() ? 0 : out.rows.front().id;
    if (!save) {
        return true;
    }
    std::string reason;
    if (!SavePaper(context.store, out.rows, pages, reason)) {
        error = kSaveFailure + reason;
        return false;
    }
    return true;
}

}  // namespace

bool CreateTemplatePaper(GenerationContext& context, int templateId, const std::string& title,
                         const GenerationSettings& settings, bool save, GeneratedPaper& out,
                         std::string& error) {
    out = {};
    const auto templateRows = ReadPaperTemplateRows(context.store);
    if (!templateRows) {
        error = kReadFailure + context.store.LastError();
        return false;
    }
    PaperNodeList all;
    for (const PaperTemplateRow& row : *templateRows) {
        all.Add({row.ID, row.SuperiorID, row.Title});
    }
    PaperNodeList subtree;
    std::unordered_map<int, const PaperTemplateRow*> byId;
    for (const PaperTemplateRow& row : *templateRows) {
        if (all.IsUnder(row.ID, templateId)) {
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
    PaperRun run;
    if (!BuildRows(context, items, settings, true, run, error)) {
        return false;
    }
    // A row takes the values of the template items it stands for: a
    // question filling three slots is worth the three of them.
    std::vector<float> scores(run.rows.size());
    std::vector<int> timeLimits(run.rows.size());
    for (size_t r = 0; r < run.rows.size(); ++r) {
        for (const size_t item : run.rows[r].items) {
            scores[r] += itemRows[item]->ScoreMax;
            timeLimits[r] += itemRows[item]->TimeLimit;
        }
    }
    CapSections(run.rows, scores);
    if (!run.rows.empty()) {
        run.rows.front().title = title;
    }
    std::vector<PageCopy> pages;
    for (size_t r = 0; r < run.rows.size(); ++r) {
        const PaperItemRow& row = run.rows[r];
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
        out.rows.push_back(RowOf(row, scores[r], timeLimits[r], std::move(url), r == 0));
    }
    return Store(context, save, pages, out, error);
}

bool CreateTargetedPaper(GenerationContext& context, int typeId,
                         const std::vector<std::string>& knowledgeSet, const std::string& title,
                         int count, int score, const GenerationSettings& settings, bool save,
                         GeneratedPaper& out, std::string& error) {
    out = {};
    std::string knowledge;
    for (size_t k = 0; k < knowledgeSet.size(); ++k) {
        knowledge += (k == 0 ? "" : ",") + knowledgeSet[k];
    }
    std::vector<TemplateItem> items{{1, 0, title, false, "", "", ""}};
    for (int n = 2; n <= count + 1; ++n) {
        items.push_back({n, 1, Format("第%d题", n), true, "", Format("%d", typeId), knowledge});
    }
    PaperRun run;
    if (!BuildRows(context, items, settings, false, run, error)) {
        return false;
    }
    for (size_t r = 0; r < run.rows.size(); ++r) {
        PaperItemRow& row = run.rows[r];
        if (r == 0) {
            row.title = title;
        }
        out.rows.push_back(RowOf(row, r == 0 ? count * score : score, 0, "", r == 0));
    }
    return Store(context, save, {}, out, error);
}

}  // namespace quillory
