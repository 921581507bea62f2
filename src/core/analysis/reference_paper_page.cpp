#include "core/analysis/reference_paper_page.h"

#include <algorithm>
#include <vector>

#include "core/analysis/analysis_page.h"
#include "core/analysis/analysis_parts.h"
#include "core/common/file_name.h"
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

struct PaperQuestion {
    int paperItemId = 0;
    int questionId = 0;
    int typeId = 0;
    std::string url;
    std::string answerUrl;
    std::string knowledge;
    float points = 0.0f;
};

template <typename T>
void AddOnce(std::vector<T>& list, const T& value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) {
        list.push_back(value);
    }
}

}  // namespace

std::optional<std::string> ShowReferencePaperPage(PageContext& context, int paperId) {
    DataStore& store = context.store;
    const auto paperRows = ReadPaperRows(store);
    if (!paperRows) {
        return std::nullopt;
    }
    PaperNodeList all;
    for (size_t i = 0; i < paperRows->size(); ++i) {
        const PaperRow& row = (*paperRows)[i];
        all.Add({row.ID, row.SuperiorID, row.Title, static_cast<int>(i)});
    }
    PaperNodeList nodes;
    for (const PaperNode& node : all.Nodes()) {
        if (all.IsUnder(node.id, paperId)) {
            nodes.Add(node);
        }
    }
    nodes.Order();
    const auto rowOf = [&](const PaperNode& node) -> const PaperRow& {
        return (*paperRows)[static_cast<size_t>(node.tag)];
    };

    std::vector<PaperQuestion> questions;
    std::vector<int> typeIds;
    std::vector<int> knowledgeIds;
    for (const PaperNode& node : nodes.Nodes()) {
        const PaperRow& item = rowOf(node);
        if (item.QuestionID == 0) {
            continue;
        }
        auto rows = store.Query(Format("select * from Question where ID=%d", item.QuestionID));
        if (!rows) {
            return std::nullopt;
        }
        if (rows->AtEnd()) {
            context.host.Message("试题ID没有找到！", MessageIcon::Error);
            return std::nullopt;
        }
        PaperQuestion question{node.id,           item.QuestionID,         rows->Int("TypeID"),
                               rows->Text("Url"), rows->Text("AnswerUrl"), rows->Text("Knowledge"),
                               item.Score};
        AddOnce(typeIds, question.typeId);
        for (const std::string& piece : SplitString(question.knowledge, ",")) {
            if (const std::optional<int> id = KnowledgeIdOf(piece)) {
                AddOnce(knowledgeIds, *id);
            }
        }
        questions.push_back(std::move(question));
    }
    const auto types = WithTitles(store, "QuestionType", typeIds);
    const auto knowledge = types ? WithTitles(store, "Knowledge", knowledgeIds) : std::nullopt;
    if (!knowledge) {
        return std::nullopt;
    }

    const std::string folder = context.dataFolder + "/Knowledge";
    const std::string path = nodes.Empty() ? folder + "/QuilloryTemp.html"
                                           : FileInFolder(folder, nodes[0].title + ".htm");
    AnalysisPage page;
    if (!MayWriteComposedFile(context, path) ||
        !page.Open(path, "<title>经典试卷分析</title>\n", context.host)) {
        return std::nullopt;
    }
    page.Add(PageHeading("试卷分析--" +
                         (nodes.Empty() ? std::string("没有找到试卷") : HtmlText(nodes[0].title))));
    page.Add(TableStart("800"));
    page.Add("<tr bgcolor=\"#00FFFF\">\n" +
             HeaderCell("<td width=\"30%\" align=\"center\" valign=\"top\">\n", "项 目") +
             HeaderCell("<td width=\"20%\" align=\"center\" valign=\"top\">\n", "题 型") +
             HeaderCell("<td width=\"10%\" align=\"center\" valign=\"top\">\n", "分 值") +
             HeaderCell("<td width=\"40%\" align=\"center\" valign=\"top\">\n", "知识点") +
             "</tr>\n");

    for (const PaperNode& node : nodes.Nodes()) {
        const bool isQuestion = rowOf(node).QuestionID != 0;
        const PaperQuestion* question = nullptr;
        float points = 0.0f;
        if (isQuestion) {
            question =
                &*std::find_if(questions.begin(), questions.end(),
                               [&](const PaperQuestion& q) { return q.paperItemId == node.id; });
            points = question->points;
        } else {
            for (const PaperQuestion& q : questions) {
                if (nodes.IsUnder(q.paperItemId, node.id)) {
                    points += q.points;
                }
            }
        }
        const Titled* type = question ? FindTitled(*types, question->typeId) : nullptr;

        std::string row = ItemCellStart("20%", nodes.Depth(node.id));
        if (!isQuestion) {
            row += HtmlText(node.title) + "\n";
        } else {
            row += question->url.empty()
                       ? HtmlText(node.title)
                       : HtmlLink(MakeLink(LinkKind::Question, question->questionId, node.title),
                                  node.title);
            row += question->answerUrl.empty()
                       ? "(答案)<br>"
                       : " " +
                             HtmlLink(MakeLink(LinkKind::Answer, question->questionId, node.title),
                                      "(答案)") +
                             "<br>\n";
        }
        row += kItemCellEnd;
        row += "<td width=\"20%\" align=\"center\" valign=\"top\">\n<p>" +
               (type ? HtmlText(type->title) : std::string("-")) + "</p>\n</td>\n";
        row += Format("<td width=\"10%%\" align=\"%s\" valign=\"top\">\n",
                      isQuestion ? "right" : "center") +
               "<p>" + FormatScore(points) + "</p>\n</td>\n";
        row += "<td width=\"50%\" align=\"center\" valign=\"top\">\n";
        bool named = false;
        if (question) {
            for (const std::string& piece : SplitString(question->knowledge, ",")) {
                const std::optional<int> id = KnowledgeIdOf(piece);
                if (!id) {
                    continue;
                }
                named = true;
                const Titled* point = FindTitled(*knowledge, *id);
                row += point ? HtmlLink(MakeLink(LinkKind::Knowledge, *id), point->title) + "<br>\n"
                             : "-";
            }
        }
        row += (named ? "" : "-") + std::string("</td>\n</tr>\n");
        page.Add(row);
        if (!page.EndRow()) {
            return std::nullopt;
        }
    }
    page.Add("</table>\n");
    if (!page.Close()) {
        return std::nullopt;
    }
    context.host.Navigate(path);
    context.host.AddGeneratedFile(path);
    return path;
}

}  // namespace quillory
