#include "core/common/internal_link.h"

#include "core/common/text.h"

namespace quillory {

namespace {

struct Keyword {
    std::string_view text;
    LinkKind kind;
};

// Tested in this order; the first match decides.
constexpr Keyword kKeywords[] = {
    {"Paper:", LinkKind::Paper},
    {"Question:", LinkKind::Question},
    {"Answer:", LinkKind::Answer},
    {"Knowledge:", LinkKind::Knowledge},
    {"ClassicAnalysis:", LinkKind::ClassicAnalysis},
    {"HistoryAnalysis:", LinkKind::HistoryAnalysis},
    {"Mistakes:", LinkKind::Mistakes},
};

constexpr size_t kFieldLength = 6;

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes of the UTF-8 character at `at`; a broken sequence counts as one
// character per byte, so damaged text is still walked to its end.
size_t CharLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
    }
    for (size_t k = 1; k < length; ++k) {
        if (at + k >= text.size() || !IsContinuation(text[at + k])) {
            return 1;
        }
    }
    return length;
}

// The byte offset `count` characters after `at`, or the end of the text.
size_t SkipChars(std::string_view text, size_t at, size_t count) {
    for (; count > 0 && at < text.size(); --count) {
        at += CharLength(text, at);
    }
    return at;
}

// Reads the six-character field at byte offset `at`; returns its value and
// moves `at` past it.
int ReadField(std::string_view url, size_t& at) {
    const size_t end = SkipChars(url, at, kFieldLength);
    const int value = AtoI(url.substr(at, end - at));
    at = end;
    return value;
}

std::string_view KeywordOf(LinkKind kind) {
    for (const Keyword& keyword : kKeywords) {
        if (keyword.kind == kind) {
            return keyword.text;
        }
    }
    return {};
}

}  // namespace

NavigationDecision DecideNavigation(std::string_view url, std::string_view targetFrame) {
    NavigationDecision decision;
    if (!targetFrame.empty()) {
        return decision;
    }
    if (url.empty()) {
        decision.action = NavigationAction::Cancel;
        return decision;
    }
    if (url.back() == '/') {
        url.remove_suffix(1);
    }
    if (auto link = ParseInternalLink(url)) {
        decision.action = NavigationAction::Dispatch;
        decision.link = std::move(*link);
    }
    return decision;
}

std::optional<InternalLink> ParseInternalLink(std::string_view url) {
    if (!StartsWithNoCase(url, kLinkPrefix)) {
        return std::nullopt;
    }
    const size_t afterPrefix = std::string_view(kLinkPrefix).size();
    for (const Keyword& keyword : kKeywords) {
        if (!StartsWith(url.substr(afterPrefix), keyword.text)) {
            continue;
        }
        InternalLink link;
        link.kind = keyword.kind;
        size_t at = afterPrefix + keyword.text.size();
        link.id = ReadField(url, at);
        if (keyword.kind == LinkKind::Question || keyword.kind == LinkKind::Answer) {
            link.label = std::string(url.substr(at));
        } else if (keyword.kind == LinkKind::HistoryAnalysis ||
                   keyword.kind == LinkKind::Mistakes) {
            at = SkipChars(url, at, 1);  // the separator between the two numbers
            link.second = ReadField(url, at);
        }
        return link;
    }
    return std::nullopt;
}

std::string MakeLink(LinkKind kind, int id, std::string_view label) {
    std::string link = kLinkPrefix;
    link += KeywordOf(kind);
    link += Format("%d", id);
    link += label;
    return link;
}

std::string MakeHistoryLink(int recordId, int paperId) {
    return MakeLink(LinkKind::HistoryAnalysis, recordId) + Format(":%d", paperId);
}

std::string MakeMistakesLink(int knowledgeId, int days) {
    return std::string(kLinkPrefix) + Format("Mistakes:%06d:%06d", knowledgeId, days);
}

}  // namespace quillory
