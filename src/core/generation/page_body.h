// The body of a page as the print file takes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The style elements of a page's head (the text before its opening body
// tag): each "<style ...>...</style>" and each "<link ...>" whose rel is
// stylesheet, as they stand, in page order. Tag and attribute names are
// matched without regard to case.
std::vector<std::string> HeadStyles(std::string_view page);

// The value of an element's href attribute (quoted with " or '), and where
// it stands in the element; nothing when there is none.
struct AttributeValue {
    size_t at = 0;
    std::string value;
};
std::optional<AttributeValue> HrefOf(std::string_view element);

}  // namespace quillory
