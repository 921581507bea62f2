#include "core/analysis/history_summary.h"

#include <cstdio>
#include <vector>

#include "core/analysis/analysis_page.h"
#include "core/analysis/analysis_parts.h"
#include "core/analysis/history_trend_chart.h"
#include "core/analysis/id_substring_match.h"
#include "core/common/internal_link.h"
#include "core/common/paper_node_list.h"
#include "core/common/score_format.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/host/setting_names.h"
#include "core/pages/composed_target.h"
#include "core/pages/html_writer.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

constexpr long long kDay = 86400;

struct Totals {
    float fullMarks = 0.0f;
    float score = 0.0f;

    void Add(const HistoryRow& row) {
        fullMarks += row.TotalScore;
        score += row.UserScore;
    }
};

struct PointFigures {
    Totals all;
    Totals month;
    Totals week;
    std::vector<int> wrong;  // positions of the rows answered wrongly, in ID order
};

int DayNumber(const DateTime& value) {
    return value.year * 10000 + value.month * 100 + value.day;
}

std::string RateCell(const std::string& value) {
    return "<td width=\"50\" align=\"center\" valign=\"top\">\n<p align=\"center\">" + value +
           "</p>\n</td>\n";
}

// Unlike the history tree, the summary shows no rate over negative full
// marks (a bank made elsewhere may store them) either.
std::string Rate(const Totals& totals) {
    return totals.fullMarks > 0.0f ? FormatRate(totals.score, totals.fullMarks) : "-";
}

std::string WrongEntry(const HistoryRow& row) {
    const std::string label =
        row.PaperTitle + "-" + row.PaperItemTitle + "(" + FormatDate(row.RecordDate) + ")";
    return QuestionAndAnswerLinks(row.QuestionID, !row.Url.empty(), !row.AnswerUrl.empty(), label) +
           "<br>";
}

void Step(Progress& progress, const std::string& text) {
    progress.SetText(text);
    progress.StepIt();
    progress.PeekAndPump(false);
}

}  // namespace

std::string HistorySummaryPath(const std::string& dataFolder) {
    return dataFolder + "/Knowledge/UserTotal.html";
}

bool MayReuseHistorySummary(Settings* settings, const std::string& path, const DateTime& now) {
    if (!settings || settings->ReadInt(setting::kSection, setting::kHistoryModified, 1) != 0 ||
        settings->ReadInt(setting::kSection, setting::kHistoryBuilt, 0) != DayNumber(now)) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    std::fclose(file);
    return true;
}

bool ComposeHistorySummary(PageContext& context, const DateTime& now, Progress& progress) {
    const std::string path = HistorySummaryPath(context.dataFolder);
    DataStore& store = context.store;
    progress.SetRange(0, 10000, 1);
    progress.SetText("开始...");
    Step(progress, "获取知识点信息...");
    const auto knowledgeRows = ReadKnowledgeRows(store);
    const auto history = knowledgeRows ? ReadHistoryRows(store) : std::nullopt;
    if (!history) {
        return false;
    }
    const PaperNodeList knowledge = KnowledgeTree(*knowledgeRows);
    progress.SetRange(0, static_cast<int>(knowledge.Size()) - 1, 1);

    // Every point's figures in one pass over the rows, in ID order as each
    // point's own query would give them.
    std::vector<PointFigures> figures(knowledge.Size());
    {
        std::vector<int> pointIds;
        for (const PaperNode& node : knowledge.Nodes()) {
            pointIds.push_back(node.id);
        }
        const IdSubstringMatch match(pointIds);
        const long long nowSeconds = SecondsSinceEpoch(now);
        std::vector<int> found;
        for (size_t r = 0; r < history->size(); ++r) {
            const HistoryRow& row = (*history)[r];
            match.Find(row.KnowledgeID, found);
            if (found.empty()) {
                continue;
            }
            const long long age = nowSeconds - SecondsSinceEpoch(row.RecordDate);
            for (const int point : found) {
                PointFigures& pointFigures = figures[static_cast<size_t>(point)];
                pointFigures.all.Add(row);
                if (age <= 30 * kDay) {
                    pointFigures.month.Add(row);
                }
                if (age <= 7 * kDay) {
                    pointFigures.week.Add(row);
                }
                if (row.TotalScore > row.UserScore) {
                    pointFigures.wrong.push_back(static_cast<int>(r));
                }
            }
        }
    }

    if (!MayWriteComposedFile(context, path)) {
        return false;
    }
    AnalysisPage page;
    if (!page.OpenStaged(path, "<title>用户历史分析</title>\n", context.host)) {
        return false;
    }
    page.Add(PageHeading("历史分析--汇总"));
    page.Add(TableStart(Format("%d", 800)));
    const char* valueStart = "<td width=\"50\" align=\"center\" valign=\"center\">\n";
    page.Add("<tr bgcolor=\"#00FFFF\">\n" +
             HeaderCell("<td width=\"300\" rowspan=\"2\" align=\"center\" valign=\"center\">\n",
                        "知 识 点") +
             HeaderCell("<td width=\"50\" rowspan=\"2\" align=\"center\" valign=\"center\">\n",
                        "权 重") +
             HeaderCell("<td width=\"150\" colspan=\"3\" align=\"center\" valign=\"center\">\n",
                        "得 分 率") +
             HeaderCell("<td width=\"300\" rowspan=\"2\" align=\"center\" valign=\"center\">\n",
                        "错 题") +
             "</tr>\n<tr bgcolor=\"#00FFFF\">\n" + HeaderCell(valueStart, "总 计") +
             HeaderCell(valueStart, "三十天") + HeaderCell(valueStart, "七 天") + "</tr>\n");

    for (size_t point = 0; point < knowledge.Size(); ++point) {
        const PaperNode& node = knowledge[point];
        const KnowledgeRow& row = (*knowledgeRows)[node.row];
        const PointFigures& pointFigures = figures[point];
        Step(progress, "知识点:" + node.title);

        std::string text = ItemCellStart("300", knowledge.Depth(node.id));
        text += row.Url.empty()
                    ? HtmlText(node.title) + "<br>"
                    : HtmlLink(MakeLink(LinkKind::Knowledge, node.id), node.title) + "<br>\n";
        text += kItemCellEnd;
        text += RateCell(Format("%d", row.Weight)) + RateCell(Rate(pointFigures.all)) +
                RateCell(Rate(pointFigures.month)) + RateCell(Rate(pointFigures.week));
        text += "<td width=\"300\" align=\"center\" valign=\"top\">\n<p align=\"center\">";
        if (pointFigures.wrong.empty()) {
            text += "-";
        }
        for (const int wrong : pointFigures.wrong) {
            text += WrongEntry((*history)[static_cast<size_t>(wrong)]);
        }
        page.Add(text + "</p>\n</td>\n</tr>\n");
        if (!page.EndRow()) {
            return false;
        }
    }
    page.Add("</table>\n");
    page.Add(HistoryTrendChart(*history, knowledge));
    return page.Close() && page.Publish();
}

void RecordHistorySummaryBuilt(Settings& settings, const DateTime& now) {
    settings.WriteInt(setting::kSection, setting::kHistoryModified, 0);
    settings.WriteInt(setting::kSection, setting::kHistoryBuilt, DayNumber(now));
}

std::optional<std::string> ShowHistorySummary(PageContext& context, Settings* settings,
                                              const DateTime& now,
                                              const ProgressOpener& openProgress) {
    const std::string path = HistorySummaryPath(context.dataFolder);
    if (MayReuseHistorySummary(settings, path, now)) {
        context.host.Navigate(path);
        return path;
    }
    if (!ComposeHistorySummary(context, now,
                               *OpenProgress(openProgress, kSummaryProgressCaption))) {
        return std::nullopt;
    }
    context.host.Navigate(path);
    context.host.AddGeneratedFile(path);
    if (settings) {
        RecordHistorySummaryBuilt(*settings, now);
    }
    return path;
}

}  // namespace quillory
