#include "core/generation/page_body.h"

#include <algorithm>

#include "core/common/text.h"

namespace quillory {

namespace {

size_t FindFirstOf(std::string_view text, std::initializer_list<std::string_view> tags) {
    for (std::string_view tag : tags) {
        const size_t at = text.find(tag);
        if (at != std::string_view::npos) {
            return at;
        }
    }
    return std::string_view::npos;
}

size_t BodyTag(std::string_view page) {
    return FindFirstOf(page, {"<body", "<BODY", "<Body"});
}

}  // namespace

std::string PageBody(std::string_view page) {
    const size_t end = FindFirstOf(page, {"</body>", "</BODY>", "</Body>"});
    if (end == std::string_view::npos) {
        return {};
    }
    const size_t tag = BodyTag(page);
    const size_t close = page.find('>', tag == std::string_view::npos ? 0 : tag);
    const size_t start = close == std::string_view::npos ? 0 : close + 1;
    return start < end ? std::string(page.substr(start, end - start)) : std::string();
}

InlineFrame TakeInlineFrame(std::string_view body) {
    InlineFrame frame;
    const size_t open = body.find("<iframe");
    if (open == std::string_view::npos) {
        frame.bodyWithout = body;
        return frame;
    }
    frame.found = true;
    const size_t src = body.find("src=", open);
    if (src != std::string_view::npos) {
        const size_t first = body.find('"', src);
        const size_t second = first == std::string_view::npos ? first : body.find('"', first + 1);
        if (second != std::string_view::npos) {
            frame.source = body.substr(first + 1, second - first - 1);
        }
    }
    size_t end = body.find("</iframe>", open);
    if (end != std::string_view::npos) {
        end += 9;
    } else {
        end = body.find('>', open);
        end = end == std::string_view::npos ? body.size() : end + 1;
    }
    frame.bodyWithout = std::string(body.substr(0, open)) + std::string(body.substr(end));
    return frame;
}

std::vector<std::string> HeadStyles(std::string_view page) {
    const size_t bodyTag = BodyTag(page);
    const std::string_view head = page.substr(0, bodyTag == std::string_view::npos ? 0 : bodyTag);
    // ASCII case folding keeps every position, GB bytes included.
    const std::string lower = ToLowerAscii(head);
    std::vector<std::string> styles;
    size_t at = 0;
    while ((at = lower.find('<', at)) != std::string::npos) {
        size_t end = std::string::npos;
        if (lower.compare(at, 6, "<style") == 0) {
            end = lower.find("</style>", at);
            end = end == std::string::npos ? end : end + 8;
        } else if (lower.compare(at, 5, "<link") == 0) {
            end = lower.find('>', at);
            if (end != std::string::npos) {
                std::string element = lower.substr(at, end + 1 - at);
                element.erase(
                    std::remove_if(element.begin(), element.end(),
                                   [](char c) { return c == '"' || c == '\'' || c == ' '; }),
                    element.end());
                end = element.find("rel=stylesheet") != std::string::npos ? end + 1
                                                                          : std::string::npos;
            }
        }
        if (end == std::string::npos) {
            ++at;
            continue;
        }
        styles.emplace_back(head.substr(at, end - at));
        at = end;
    }
    return styles;
}

std::optional<AttributeValue> HrefOf(std::string_view element) {
    const std::string lower = ToLowerAscii(element);
    const size_t name = lower.find("href=");
    if (name == std::string::npos || name + 5 >= element.size()) {
        return std::nullopt;
    }
    const char quote = element[name + 5];
    if (quote != '"' && quote != '\'') {
        return std::nullopt;
    }
    const size_t close = element.find(quote, name + 6);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return AttributeValue{name + 6, std::string(element.substr(name + 6, close - name - 6))};
}

}  // namespace quillory
