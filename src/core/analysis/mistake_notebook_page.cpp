#include "core/analysis/mistake_notebook_page.h"

#include <utility>

#include "core/analysis/analysis_page.h"
#include "core/analysis/analysis_parts.h"
#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/pages/html_writer.h"
#include "core/practice/answer_form.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

std::string Cell(int width, const std::string& html) {
    return Format("<td width=\"%d\" align=\"center\" valign=\"top\">\n<p align=\"center\">",
                  width) +
           html + "</p>\n</td>\n";
}

std::string Header(int width, std::string_view caption) {
    const std::string start =
        Format("<td width=\"%d\" align=\"center\" valign=\"center\">\n", width);
    return HeaderCell(start.c_str(), caption);
}

std::string Heading(DataStore& store, const MistakeFilter& filter) {
    std::string heading = "错题本--";
    if (filter.knowledgeId != 0) {
        auto point = store.Query(Format("select * from Knowledge where ID=%d", filter.knowledgeId));
        heading += (point && !point->AtEnd() ? point->Text("Title") : std::string("?")) + "--";
    }
    return heading + (filter.days > 0 ? Format("最近%d天", filter.days) : std::string("全部"));
}

// The other periods of the same points, as links; the one shown as text.
std::string PeriodLinks(const MistakeFilter& filter) {
    std::string line = "<p align=\"center\">";
    const std::pair<int, const char*> periods[] = {{7, "最近7天"}, {30, "最近30天"}, {0, "全部"}};
    for (const auto& [days, caption] : periods) {
        line += days == periods[0].first ? "" : " | ";
        line += days == filter.days ? std::string(caption)
                                    : HtmlLink(MakeMistakesLink(filter.knowledgeId, days), caption);
    }
    return line + "</p>\n";
}

// The question's link and its answer's, as the summary writes them.
std::string QuestionRow(const Mistake& mistake) {
    const AnswerBesideKey answer =
        DescribeAnswer(ParseAnswerForm(mistake.answerForm, mistake.lastAnswer));
    return "<tr>\n" +
           Cell(300, QuestionAndAnswerLinks(mistake.questionId, !mistake.url.empty(),
                                            !mistake.answerUrl.empty(), mistake.label)) +
           Cell(80, Format("%d / %d", mistake.wrong, mistake.right)) +
           Cell(100, FormatDate(mistake.lastWrongDate)) +
           Cell(320, HtmlText(answer.learner) + "<br>" + HtmlText(answer.key)) + "</tr>\n";
}

}  // namespace

std::string MistakeNotebookPath(const std::string& dataFolder) {
    return dataFolder + "/Knowledge/MistakeNotebook.html";
}

std::optional<std::string> ShowMistakeNotebook(PageContext& context, const MistakeFilter& filter) {
    const std::optional<MistakeNotebook> notebook = ReadMistakeNotebook(context.store, filter);
    if (!notebook) {
        context.host.Message("无法读取历史纪录！", MessageIcon::Error);
        return std::nullopt;
    }
    const std::string path = MistakeNotebookPath(context.dataFolder);
    if (!MayWriteComposedFile(context, path)) {
        return std::nullopt;
    }
    AnalysisPage page;
    if (!page.OpenStaged(path, "<title>错题本</title>\n", context.host)) {
        return std::nullopt;
    }
    page.Add(PageHeading(Heading(context.store, filter)));
    page.Add(PeriodLinks(filter));
    page.Add(TableStart("800"));
    page.Add("<tr bgcolor=\"#00FFFF\">\n" + Header(300, "试 题") + Header(80, "错 / 对") +
             Header(100, "最近做错") + Header(320, "你的答案 / 正确答案") + "</tr>\n");
    const auto pointRow = [&](const std::string& title, int depth, size_t count) {
        return ItemCellStart("300", depth) + HtmlText(title) + Format("(%zu)<br>\n", count) +
               kItemCellEnd + "<td colspan=\"3\">&nbsp;</td>\n</tr>\n";
    };
    for (const MistakePoint& point : notebook->points) {
        std::string text = pointRow(point.title, point.depth, point.mistakes.size());
        for (const size_t at : point.mistakes) {
            text += QuestionRow(notebook->mistakes[at]);
        }
        page.Add(text);
        if (!page.EndRow()) {
            return std::nullopt;
        }
    }
    // Questions that name no known point.
    std::vector<bool> listed(notebook->mistakes.size());
    for (const MistakePoint& point : notebook->points) {
        for (const size_t at : point.mistakes) {
            listed[at] = true;
        }
    }
    std::string rest;
    size_t others = 0;
    for (size_t m = 0; m < notebook->mistakes.size(); ++m) {
        if (!listed[m]) {
            rest += QuestionRow(notebook->mistakes[m]);
            ++others;
        }
    }
    if (others > 0) {
        page.Add(pointRow("其他", 1, others) + rest);
    }
    if (notebook->mistakes.empty()) {
        page.Add("<tr>\n<td colspan=\"4\" align=\"center\">没有错题</td>\n</tr>\n");
    }
    page.Add("</table>\n");
    if (!page.Close() || !page.Publish()) {
        return std::nullopt;
    }
    context.host.Navigate(path);
    return path;
}

}  // namespace quillory
