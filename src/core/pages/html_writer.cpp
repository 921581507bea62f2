#include "core/pages/html_writer.h"

namespace quillory {

namespace {

template <typename EntityOf>
std::string Escaped(std::string_view text, EntityOf entityOf) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (const char* entity = entityOf(c)) {
            escaped += entity;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace

std::string HtmlText(std::string_view text) {
    return Escaped(text, [](char c) -> const char* {
        switch (c) {
            case '&':
                return "&amp;";
            case '<':
                return "&lt;";
            case '>':
                return "&gt;";
            default:
                return nullptr;
        }
    });
}

std::string HtmlAttribute(std::string_view value) {
    return Escaped(value, [](char c) -> const char* {
        switch (c) {
            case '&':
                return "&amp;";
            case '"':
                return "&quot;";
            default:
                return nullptr;
        }
    });
}

std::string HtmlLink(std::string_view href, std::string_view text) {
    return "<a href=\"" + HtmlAttribute(href) + "\">" + HtmlText(text) + "</a>";
}

}  // namespace quillory
