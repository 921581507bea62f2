// The two-row tables inserted before "</body>" of question and knowledge
// pages: a heading cell 120 wide on the left, the links on the right. The
// fragments are written exactly as the pages have always had them.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

struct RelatedLink {
    std::string href;  // UTF-8
    std::string text;  // UTF-8
};

// Begins the block with its first row headed by heading (UTF-8, e.g.
// "[答案]").
std::string RelatedBlockBegin(std::string_view heading);
// Closes a row of links and opens the next one headed by heading.
std::string RelatedBlockNextRow(std::string_view heading);
// Closes the last row and the block.
std::string RelatedBlockEnd();
// One link of a row: <a href="href">text</a><br>, escaped by the HTML
// writer.
std::string RelatedLinkLine(std::string_view href, std::string_view text);

}  // namespace quillory
