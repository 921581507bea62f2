// The markup the program writes itself (related blocks, link lists): text
// and attribute values escaped, so titles and labels from the bank cannot
// break the page. Texts without "&", "<", ">" and "\"" come out as they go in.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// text with "&", "<" and ">" escaped, for element content.
std::string HtmlText(std::string_view text);
// value with "&" and "\"" escaped, for a double-quoted attribute; the browser
// gives it back unescaped, so an internal link with quotes keeps its label.
std::string HtmlAttribute(std::string_view value);
// <a href="href">text</a>, both escaped.
std::string HtmlLink(std::string_view href, std::string_view text);

}  // namespace quillory
