#include "core/store/jet_dialect.h"

#include <cctype>

#include "core/common/text.h"

namespace quillory {

namespace {

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Reads a quoted literal starting at text[at] (a quote); returns its content
// with doubled quotes undone, and moves at past the closing quote.
std::string ReadLiteral(std::string_view text, size_t& at) {
    const char quote = text[at];
    std::string value;
    ++at;
    while (at < text.size()) {
        if (text[at] == quote) {
            if (at + 1 < text.size() && text[at + 1] == quote) {
                value += quote;
                at += 2;
                continue;
            }
            ++at;
            return value;
        }
        value += text[at++];
    }
    return value;
}

std::string LikePattern(std::string_view jetPattern) {
    std::string pattern;
    for (char c : jetPattern) {
        switch (c) {
            case '*':
                pattern += '%';
                break;
            case '?':
                pattern += '_';
                break;
            case '%':
            case '_':
            case '\\':
                pattern += '\\';
                pattern += c;
                break;
            default:
                pattern += c;
        }
    }
    return pattern;
}

}  // namespace

std::string SqlQuote(std::string_view value) {
    std::string quoted;
    quoted.reserve(value.size());
    for (char c : value) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted;
}

std::string TranslateJetSql(std::string_view jet) {
    std::string out;
    out.reserve(jet.size() + 16);
    std::string lastWord;  // lower-cased, the previous word outside literals
    size_t at = 0;
    while (at < jet.size()) {
        const char c = jet[at];
        if (c == '\'' || c == '"') {
            const std::string value = ReadLiteral(jet, at);
            if (lastWord == "like") {
                out += '\'' + SqlQuote(LikePattern(value)) + "' ESCAPE '\\'";
            } else {
                out += '\'' + SqlQuote(value) + '\'';
            }
            lastWord.clear();
            continue;
        }
        if (c == '#') {
            const size_t close = jet.find('#', at + 1);
            if (close != std::string_view::npos) {
                out += '\'' + SqlQuote(jet.substr(at + 1, close - at - 1)) + '\'';
                at = close + 1;
                lastWord.clear();
                continue;
            }
        }
        if (IsWordChar(c)) {
            size_t end = at;
            while (end < jet.size() && IsWordChar(jet[end])) {
                ++end;
            }
            const std::string_view word = jet.substr(at, end - at);
            const std::string lower = ToLowerAscii(word);
            if (lower == "true") {
                out += '1';
            } else if (lower == "false") {
                out += '0';
            } else {
                out += word;
            }
            lastWord = lower;
            at = end;
            continue;
        }
        if (c == '*' && lastWord == "delete") {
            // "delete * from": drop the star and the blank after it.
            ++at;
            while (at < jet.size() && jet[at] == ' ') {
                ++at;
            }
            continue;
        }
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            lastWord.clear();
        }
        out += c;
        ++at;
    }
    return out;
}

}  // namespace quillory
