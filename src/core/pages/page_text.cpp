#include "core/pages/page_text.h"

#include <algorithm>
#include <cctype>

#include "core/common/gb_encoding.h"
#include "core/common/text.h"

namespace quillory {

PageEncoding DetectPageEncoding(std::string_view page) {
    // The declaration sits in the head; a long page is not searched whole.
    std::string head = ToLowerAscii(page.substr(0, 4096));
    head.erase(std::remove_if(head.begin(), head.end(),
                              [](char c) { return c == ' ' || c == '"' || c == '\''; }),
               head.end());
    return head.find("charset=utf-8") != std::string::npos ? PageEncoding::Utf8 : PageEncoding::Gb;
}

std::string InPageEncoding(std::string_view utf8, PageEncoding encoding) {
    return encoding == PageEncoding::Utf8 ? std::string(utf8) : Utf8ToGb(utf8);
}

bool ReplaceFirstPlaceholder(std::string& page, PageEncoding encoding, std::string_view placeholder,
                             std::string_view value) {
    return ReplaceFirst(page, InPageEncoding(placeholder, encoding),
                        InPageEncoding(value, encoding));
}

bool InsertBeforeBodyEnd(std::string& page, std::string_view block) {
    size_t at = page.find("</body>");
    if (at == std::string::npos) {
        at = page.find("</BODY>");
    }
    if (at == std::string::npos) {
        return false;
    }
    page.insert(at, block);
    return true;
}

}  // namespace quillory
