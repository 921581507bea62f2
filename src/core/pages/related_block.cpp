#include "core/pages/related_block.h"

#include "core/pages/html_writer.h"

namespace quillory {

namespace {

constexpr char kHeadingCell[] =
    "<td width=\"10%\" height=\"16\" align=\"left\" valign=\"top\">\n"
    "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\" "
    "width=\"120\" id=\"Knowledge1\">\n";
constexpr char kLinkCell[] = "</table>\n</td>\n<td width=\"90%\" align=\"left\" valign=\"top\">\n";

std::string Row(std::string_view heading) {
    return std::string("<tr>\n") + kHeadingCell + "<tr><td><b>" + std::string(heading) +
           "</b></td></tr>\n" + kLinkCell;
}

}  // namespace

std::string RelatedBlockBegin(std::string_view heading) {
    return std::string(
               "<font face=\"宋体\">\n"
               "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: "
               "collapse\" width=\"90%\" id=\"Knowledge\">\n") +
           Row(heading);
}

std::string RelatedBlockNextRow(std::string_view heading) {
    return "</td>\n</tr>\n" + Row(heading);
}

std::string RelatedBlockEnd() {
    return "</td>\n</tr>\n</table>\n</font>\n";
}

std::string RelatedLinkLine(std::string_view href, std::string_view text) {
    return HtmlLink(href, text) + "<br>\n";
}

}  // namespace quillory
