// The body of a page as the print file takes it.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// The text between the opening body tag ("<body", "<BODY" or "<Body", up to
// its ">") and the closing one ("</body>", "</BODY>" or "</Body>"). Without an
// opening tag the body starts after the first ">" of the text; without a
// closing tag it is empty.
std::string PageBody(std::string_view page);

// The first inline frame of a body: its source (between the first two double
// quotes after "src=") and the element taken out of the body. Without a
// "</iframe>" only the opening tag is taken out.
struct InlineFrame {
    bool found = false;
    std::string source;
    std::string bodyWithout;
};
InlineFrame TakeInlineFrame(std::string_view body);

}  // namespace quillory
