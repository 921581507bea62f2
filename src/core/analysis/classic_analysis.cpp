#include "core/analysis/classic_analysis.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/analysis/analysis_page.h"
#include "core/analysis/analysis_parts.h"
#include "core/analysis/id_substring_match.h"
#include "core/common/internal_link.h"
#include "core/common/paper_node_list.h"
#include "core/common/score_format.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/pages/html_writer.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

struct ReferenceQuestion {
    int questionId = 0;
    int column = -1;     // the type's column; -1 for a type that has none
    float share = 0.0f;  // the points divided among the pieces of its list
    std::string label;
    std::string points;  // "%.1f"
    std::string knowledge;
};

void Step(Progress& progress, const std::string& text) {
    progress.SetText(text);
    progress.StepIt();
    progress.PeekAndPump(false);
}

// The paper list cut down to the runs that start at a reference paper: a
// run holds every node after it until one that is the paper's sibling.
std::vector<const PaperNode*> ReferenceRuns(const PaperNodeList& papers,
                                            const std::unordered_set<int>& references) {
    std::vector<const PaperNode*> kept;
    bool inRun = false;
    int runSuperior = 0;
    for (const PaperNode& node : papers.Nodes()) {
        if (inRun && node.superiorId == runSuperior) {
            inRun = false;
        }
        if (!inRun && references.count(node.id) != 0) {
            inRun = true;
            runSuperior = node.superiorId;
        }
        if (inRun) {
            kept.push_back(&node);
        }
    }
    return kept;
}

// The question items of the reference runs in tree order; nothing on a
// database error, or after telling the learner of an item whose question is
// missing.
std::optional<std::vector<ReferenceQuestion>> ReadReferenceQuestions(
    PageContext& context, const std::vector<QuestionTypeRow>& types) {
    DataStore& store = context.store;
    const auto paperRows = ReadPaperRows(store);
    const auto questionRows = paperRows ? ReadQuestionRows(store) : std::nullopt;
    if (!questionRows) {
        return std::nullopt;
    }
    std::unordered_set<int> references;
    PaperNodeList papers;
    for (size_t i = 0; i < paperRows->size(); ++i) {
        const PaperRow& row = (*paperRows)[i];
        if (row.IsReference) {
            references.insert(row.ID);
        }
        papers.Add({.id = row.ID, .superiorId = row.SuperiorID, .title = row.Title, .row = i});
    }
    papers.Order();
    std::unordered_map<int, const QuestionRow*> questionById;
    for (const QuestionRow& row : *questionRows) {
        questionById.emplace(row.ID, &row);
    }
    std::unordered_map<int, int> columnOfType;
    for (size_t i = 0; i < types.size(); ++i) {
        columnOfType.emplace(types[i].ID, static_cast<int>(i));
    }

    std::vector<ReferenceQuestion> questions;
    std::string paperTitle;
    for (const PaperNode* node : ReferenceRuns(papers, references)) {
        if (references.count(node->id) != 0) {
            paperTitle = node->title;
        }
        const PaperRow& row = (*paperRows)[node->row];
        if (row.QuestionID == 0) {
            continue;
        }
        const auto found = questionById.find(row.QuestionID);
        if (found == questionById.end()) {
            context.host.Message("试题ID没有找到！", MessageIcon::Error);
            return std::nullopt;
        }
        const QuestionRow& question = *found->second;
        const auto column = columnOfType.find(question.TypeID);
        const size_t pieces = SplitString(question.Knowledge, ",").size();
        questions.push_back({question.ID, column == columnOfType.end() ? -1 : column->second,
                             row.Score / static_cast<float>(pieces), paperTitle + " " + node->title,
                             FormatScore(row.Score), question.Knowledge});
    }
    return questions;
}

// All or none; the learner is told when they could not be stored.
bool StoreWeights(PageContext& context, const std::vector<std::pair<int, int>>& weights) {
    Transaction transaction(context.store);
    bool stored = transaction.Active();
    for (const auto& [id, weight] : weights) {
        stored = stored && context.store.Execute(
                               Format("update Knowledge set Weight=%d where ID=%d", weight, id));
    }
    if (!stored || !transaction.Commit()) {
        context.host.Message("无法保存知识点权重！", MessageIcon::Error);
        return false;
    }
    return true;
}

}  // namespace

std::string ReferenceTotalPath(const std::string& dataFolder) {
    return dataFolder + "/Knowledge/ReferenceTotal.html";
}

std::optional<std::string> BuildClassicAnalysis(PageContext& context, ClassicPageVariant variant,
                                                const ProgressOpener& openProgress) {
    DataStore& store = context.store;
    const std::string path = ReferenceTotalPath(context.dataFolder);
    const std::unique_ptr<Progress> progress = OpenProgress(openProgress, kClassicProgressCaption);
    progress->SetRange(0, 10000, 1);
    progress->SetText("开始...");

    Step(*progress, "获取知识点信息...");
    const auto knowledgeRows = ReadKnowledgeRows(store);
    if (!knowledgeRows) {
        return std::nullopt;
    }
    const PaperNodeList knowledge = KnowledgeTree(*knowledgeRows);

    Step(*progress, "获取试题类型信息...");
    const auto types = ReadQuestionTypeRows(store);
    Step(*progress, "获取参考试题信息...");
    const auto questions = types ? ReadReferenceQuestions(context, *types) : std::nullopt;
    if (!questions) {
        return std::nullopt;
    }

    // Which reference questions name each point, in list order, found in
    // one pass over the questions' lists.
    std::vector<int> pointIds;
    for (const PaperNode& node : knowledge.Nodes()) {
        pointIds.push_back(node.id);
    }
    std::vector<std::vector<int>> named(pointIds.size());
    {
        const IdSubstringMatch match(pointIds);
        std::vector<int> found;
        for (size_t q = 0; q < questions->size(); ++q) {
            match.Find((*questions)[q].knowledge, found);
            for (const int point : found) {
                named[static_cast<size_t>(point)].push_back(static_cast<int>(q));
            }
        }
    }

    progress->SetRange(0, static_cast<int>(knowledge.Size()) - 1, 1);
    Step(*progress, "更新知识点统计数据...");
    if (!MayWriteComposedFile(context, path)) {
        return std::nullopt;
    }
    AnalysisPage page;
    if (!page.OpenStaged(path, "<title>经典试卷分析</title>\n", context.host)) {
        return std::nullopt;
    }
    page.Add(PageHeading("试卷分析--汇总"));
    page.Add(TableStart(std::to_string(350 + 200 * types->size())));
    std::string header =
        "<tr bgcolor=\"#00FFFF\">\n" +
        HeaderCell("<td width=\"300\" align=\"center\" valign=\"top\">\n", "知识点") +
        HeaderCell("<td width=\"50\" align=\"center\" valign=\"top\">\n", "权重");
    for (const QuestionTypeRow& type : *types) {
        header += HeaderCell("<td width=\"200\" align=\"center\" valign=\"top\">\n",
                             HtmlText(type.Title));
    }
    page.Add(header + "</tr>\n");

    const char* answerLead = variant == ClassicPageVariant::View ? " " : "";
    std::vector<std::pair<int, int>> weights;
    for (size_t point = 0; point < knowledge.Size(); ++point) {
        const PaperNode& node = knowledge[point];
        const KnowledgeRow& row = (*knowledgeRows)[node.row];
        Step(*progress, "知识点:" + node.title);

        // The columns in type order, each with its questions in list order:
        // the weight is summed in that order.
        std::vector<int> byColumn;
        for (const int q : named[point]) {
            if ((*questions)[static_cast<size_t>(q)].column >= 0) {
                byColumn.push_back(q);
            }
        }
        std::stable_sort(byColumn.begin(), byColumn.end(), [&](int a, int b) {
            return (*questions)[static_cast<size_t>(a)].column <
                   (*questions)[static_cast<size_t>(b)].column;
        });
        float sum = 0.0f;
        std::vector<std::string> cells(types->size());
        for (const int q : byColumn) {
            const ReferenceQuestion& question = (*questions)[static_cast<size_t>(q)];
            cells[static_cast<size_t>(question.column)] +=
                HtmlLink(MakeLink(LinkKind::Question, question.questionId, question.label),
                         question.label) +
                answerLead +
                HtmlLink(MakeLink(LinkKind::Answer, question.questionId, "答案"), "答案") + "(" +
                question.points + "分)<br>\n";
            sum += question.share;
        }
        const int weight = static_cast<int>(sum + 0.5f);
        // A weight that is already stored needs no write.
        if (weight != row.Weight) {
            weights.emplace_back(node.id, weight);
        }

        std::string text = ItemCellStart("300", knowledge.Depth(node.id));
        text += row.Url.empty() ? HtmlText(node.title) + "<br>"
                                : HtmlLink(MakeLink(LinkKind::Knowledge, node.id), node.title);
        text += kItemCellEnd;
        text += "<td width=\"50\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>" +
                std::to_string(weight) + "</b></p>\n</td>\n";
        for (const std::string& cell : cells) {
            text += "<td width=\"200\" align=\"center\" valign=\"top\">\n<p align=\"center\">" +
                    (cell.empty() ? std::string("-") : cell) + "</p>\n</td>\n";
        }
        page.Add(text + "</tr>\n");
        if (!page.EndRow()) {
            return std::nullopt;
        }
    }
    page.Add("</table>\n");
    if (!page.Close()) {
        return std::nullopt;
    }

    // Only a complete page stores its weights.
    if (!StoreWeights(context, weights)) {
        return std::nullopt;
    }
    if (!page.Publish()) {
        return std::nullopt;
    }
    context.host.Navigate(path);
    if (variant == ClassicPageVariant::View) {
        context.host.AddGeneratedFile(path);
    }
    return path;
}

}  // namespace quillory
