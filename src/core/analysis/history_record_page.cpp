#include "core/analysis/history_record_page.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/analysis/analysis_page.h"
#include "core/analysis/analysis_parts.h"
#include "core/common/file_name.h"
#include "core/common/internal_link.h"
#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/pages/html_writer.h"
#include "core/practice/exam_record.h"
#include "core/store/data_store.h"
#include "core/store/date_time.h"

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

std::string Rate(float score, float fullMarks) {
    return fullMarks == 0.0f ? "-"
                             : Format("%.1f%%", static_cast<double>(100.0f * score / fullMarks));
}

}  // namespace

void ShowHistoryRecord(PageContext& context, int historyId, int rootNodeId) {
    DataStore& store = context.store;
    const std::optional<ReviewRecord> stored = FindRecord(store, historyId);
    if (!stored) {
        return;
    }
    const ReviewRecord& record = *stored;

    PaperNodeList all;
    {
        auto rows = store.Query("select * from Paper order by ID");
        if (!rows) {
            return;
        }
        for (; !rows->AtEnd(); rows->Next()) {
            all.Add({rows->Int("ID"), rows->Int("SuperiorID"), rows->Text("Title"),
                     rows->Int("QuestionID")});
        }
        if (rows->Failed()) {
            return;
        }
    }
    const int root = rootNodeId != 0 ? rootNodeId : record.paperId;
    PaperNodeList nodes;
    for (const PaperNode& node : all.Nodes()) {
        if (all.IsUnder(node.id, root)) {
            nodes.Add(node);
        }
    }
    nodes.Order();

    std::vector<AnswerRecord> records;
    std::vector<int> typeIds;
    std::vector<int> knowledgeIds;
    {
        auto rows = store.Query(RecordRowsQuery(record));
        if (!rows) {
            return;
        }
        for (; !rows->AtEnd(); rows->Next()) {
            AnswerRecord answer{rows->Int("QuestionID"),     rows->Int("PaperItemID"),
                                rows->Int("QuestionTypeID"), rows->Text("Url"),
                                rows->Text("AnswerUrl"),     rows->Single("TotalScore"),
                                rows->Single("UserScore"),   rows->Text("KnowledgeID")};
            if (std::find(typeIds.begin(), typeIds.end(), answer.typeId) == typeIds.end()) {
                typeIds.push_back(answer.typeId);
            }
            for (const std::string& piece : SplitString(answer.knowledge, ",")) {
                const std::optional<int> id = KnowledgeIdOf(piece);
                if (id && std::find(knowledgeIds.begin(), knowledgeIds.end(), *id) ==
                              knowledgeIds.end()) {
                    knowledgeIds.push_back(*id);
                }
            }
            records.push_back(std::move(answer));
        }
        if (rows->Failed()) {
            return;
        }
    }
    const auto types = WithTitles(store, "QuestionType", typeIds);
    const auto knowledge = types ? WithTitles(store, "Knowledge", knowledgeIds) : std::nullopt;
    if (!knowledge) {
        return;
    }

    const std::string heading = nodes.Empty() ? "没有找到试卷" : nodes[0].title;
    const std::string path = FileInFolder(
        context.dataFolder + "/Knowledge",
        heading + "-" + FormatDate(record.date) + "-" +
            Format("%02d-%02d-%02d", record.time.hour, record.time.minute, record.time.second) +
            ".htm");
    AnalysisPage page;
    if (!MayWriteComposedFile(context, path) ||
        !page.Open(path, "<title>用户历史分析</title>\n", context.host)) {
        return;
    }
    page.Add(PageHeading("历史分析--" + HtmlText(heading)));
    page.Add(TableStart("800"));
    page.Add("<tr bgcolor=\"#00FFFF\">\n" +
             HeaderCell("<td width=\"30%\" align=\"center\" valign=\"top\">\n", "项 目") +
             HeaderCell("<td width=\"20%\" align=\"center\" valign=\"top\">\n", "题 型") +
             HeaderCell("<td width=\"6%\" align=\"center\" valign=\"top\">\n", "分值") +
             HeaderCell("<td width=\"6%\" align=\"center\" valign=\"top\">\n", "得分") +
             HeaderCell("<td width=\"8%\" align=\"center\" valign=\"top\">\n", "得分率") +
             HeaderCell("<td width=\"30%\" align=\"center\" valign=\"top\">\n", "知识点") +
             "</tr>\n");

    for (const PaperNode& node : nodes.Nodes()) {
        const bool question = node.tag != 0;
        const AnswerRecord* answer = nullptr;
        float fullMarks = 0.0f;
        float score = 0.0f;
        if (question) {
            const auto found = std::find_if(
                records.begin(), records.end(),
                [&](const AnswerRecord& entry) { return entry.paperItemId == node.id; });
            if (found == records.end()) {
                continue;
            }
            answer = &*found;
            fullMarks = answer->fullMarks;
            score = answer->score;
        } else {
            for (const AnswerRecord& entry : records) {
                if (nodes.IsUnder(entry.paperItemId, node.id)) {
                    fullMarks += entry.fullMarks;
                    score += entry.score;
                }
            }
        }
        const Titled* type = answer ? FindTitled(*types, answer->typeId) : nullptr;

        std::string row = ItemCellStart("20%", nodes.Depth(node.id));
        if (!question) {
            row += HtmlText(node.title) + "\n";
        } else {
            row += answer->url.empty()
                       ? HtmlText(node.title)
                       : HtmlLink(MakeLink(LinkKind::Question, answer->questionId, node.title),
                                  node.title);
            row += answer->answerUrl.empty()
                       ? "(答案)<br>"
                       : " " + HtmlLink(MakeLink(LinkKind::Answer, answer->questionId, node.title),
                                        "答案");
        }
        row += kItemCellEnd;
        row += "<td width=\"20%\" align=\"center\" valign=\"top\">\n<p>" +
               (type ? HtmlText(type->title) : std::string("-")) + "</p>\n</td>\n";
        const char* align = question ? "right" : "center";
        const std::string values[] = {Format("%.1f", static_cast<double>(fullMarks)),
                                      Format("%.1f", static_cast<double>(score)),
                                      Rate(score, fullMarks)};
        for (int i = 0; i < 3; ++i) {
            row += Format("<td width=\"%s\" align=\"%s\" valign=\"top\">\n", i == 2 ? "8%" : "6%",
                          align) +
                   "<p>" + values[i] + "</p>\n</td>\n";
        }
        row += "<td width=\"30%\" align=\"center\" valign=\"top\">\n";
        if (!question) {
            row += "-";
        } else {
            bool named = false;
            for (const std::string& piece : SplitString(answer->knowledge, ",")) {
                const std::optional<int> id = KnowledgeIdOf(piece);
                if (!id) {
                    continue;
                }
                named = true;
                const Titled* point = FindTitled(*knowledge, *id);
                row += point ? HtmlLink(MakeLink(LinkKind::Knowledge, *id), point->title) + "<br>\n"
                             : "-";
            }
            if (!named) {
                row += "-";
            }
        }
        row += "</td>\n</tr>\n";
        page.Add(row);
        if (!page.EndRow()) {
            return;
        }
    }
    page.Add("</table>\n");
    if (!page.Close()) {
        return;
    }
    context.host.Navigate(path + "?" + std::to_string(historyId));
    context.host.AddGeneratedFile(path);
}

}  // namespace quillory
