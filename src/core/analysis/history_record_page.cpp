#include "core/analysis/history_record_page.h"

#include "core/analysis/analysis_page.h"
#include "core/analysis/analysis_parts.h"
#include "core/analysis/history_record_figures.h"
#include "core/common/file_name.h"
#include "core/common/score_format.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/pages/html_writer.h"
#include "core/store/date_time.h"

namespace quillory {

namespace {

std::string LineText(const RecordLine& line) {
    const PaperItemLine& item = line.item;
    std::string row = ItemAndTypeCells(item, "答案", "");
    const char* align = item.isQuestion ? "right" : "center";
    const std::string values[] = {FormatScore(line.fullMarks), FormatScore(line.score),
                                  FormatRate(line.score, line.fullMarks)};
    for (int i = 0; i < 3; ++i) {
        row +=
            Format("<td width=\"%s\" align=\"%s\" valign=\"top\">\n", i == 2 ? "8%" : "6%", align) +
            "<p>" + values[i] + "</p>\n</td>\n";
    }
    return row + "<td width=\"30%\" align=\"center\" valign=\"top\">\n" +
           KnowledgeCellText(item.knowledge) + "</td>\n</tr>\n";
}

}  // namespace

Status ShowHistoryRecord(PageContext& context, int historyId, int rootNodeId) {
    const Result<HistoryRecordFigures> figures =
        ReadHistoryRecordFigures(context.store, historyId, rootNodeId);
    if (!figures) {
        return figures.status();
    }
    const std::string heading = figures->heading.value_or("没有找到试卷");
    const std::string path = FileInFolder(context.dataFolder + "/Knowledge",
                                          heading + "-" + FormatDate(figures->date) + "-" +
                                              Format("%02d-%02d-%02d", figures->time.hour,
                                                     figures->time.minute, figures->time.second) +
                                              ".htm");
    AnalysisPage page;
    if (!MayWriteComposedFile(context, path) ||
        !page.Open(path, "<title>用户历史分析</title>\n", context.host)) {
        return {};
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
    for (const RecordLine& line : figures->lines) {
        page.Add(LineText(line));
        if (!page.EndRow()) {
            return {};
        }
    }
    page.Add("</table>\n");
    if (!page.Close()) {
        return {};
    }
    context.host.Navigate(path + "?" + std::to_string(historyId));
    context.host.AddGeneratedFile(path);
    return {};
}

}  // namespace quillory
