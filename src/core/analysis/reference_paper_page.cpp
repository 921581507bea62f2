#include "core/analysis/reference_paper_page.h"

#include "core/analysis/analysis_page.h"
#include "core/analysis/analysis_parts.h"
#include "core/analysis/reference_paper_figures.h"
#include "core/common/file_name.h"
#include "core/common/score_format.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/pages/html_writer.h"

namespace quillory {

namespace {

std::string LineText(const ReferenceLine& line) {
    const PaperItemLine& item = line.item;
    std::string row = ItemAndTypeCells(item, "(答案)", "<br>\n");
    row += Format("<td width=\"10%%\" align=\"%s\" valign=\"top\">\n",
                  item.isQuestion ? "right" : "center") +
           "<p>" + FormatScore(line.points) + "</p>\n</td>\n";
    return row + "<td width=\"50%\" align=\"center\" valign=\"top\">\n" +
           KnowledgeCellText(item.knowledge) + "</td>\n</tr>\n";
}

}  // namespace

std::optional<std::string> ShowReferencePaperPage(PageContext& context, int paperId) {
    const std::optional<ReferencePaperFigures> figures =
        ReadReferencePaperFigures(context.store, paperId);
    if (!figures) {
        return std::nullopt;
    }
    if (figures->questionMissing) {
        context.host.Message("试题ID没有找到！", MessageIcon::Error);
        return std::nullopt;
    }
    const std::string folder = context.dataFolder + "/Knowledge";
    const std::string path = figures->heading ? FileInFolder(folder, *figures->heading + ".htm")
                                              : folder + "/QuilloryTemp.html";
    AnalysisPage page;
    if (!MayWriteComposedFile(context, path) ||
        !page.Open(path, "<title>经典试卷分析</title>\n", context.host)) {
        return std::nullopt;
    }
    page.Add(PageHeading("试卷分析--" + (figures->heading ? HtmlText(*figures->heading)
                                                          : std::string("没有找到试卷"))));
    page.Add(TableStart("800"));
    page.Add("<tr bgcolor=\"#00FFFF\">\n" +
             HeaderCell("<td width=\"30%\" align=\"center\" valign=\"top\">\n", "项 目") +
             HeaderCell("<td width=\"20%\" align=\"center\" valign=\"top\">\n", "题 型") +
             HeaderCell("<td width=\"10%\" align=\"center\" valign=\"top\">\n", "分 值") +
             HeaderCell("<td width=\"40%\" align=\"center\" valign=\"top\">\n", "知识点") +
             "</tr>\n");
    for (const ReferenceLine& line : figures->lines) {
        page.Add(LineText(line));
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
