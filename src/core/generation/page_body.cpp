#include "core/generation/page_body.h"

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

}  // namespace

std::string PageBody(std::string_view page) {
    const size_t end = FindFirstOf(page, {"</body>", "</BODY>", "</Body>"});
    if (end == std::string_view::npos) {
        return {};
    }
    const size_t tag = FindFirstOf(page, {"<body", "<BODY", "<Body"});
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

}  // namespace quillory
