#include "core/store/jet_dialect.h"

#include <cctype>

#include "core/common/text.h"
#include "core/store/jet_values.h"
#include "core/store/schema.h"

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

// Whether a sort key that is a bare column name ends at text[at]: the end of
// the statement, a comma or closing bracket, or a sort direction or limit.
bool EndsSortKey(std::string_view text, size_t at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
        ++at;
    }
    if (at == text.size() || text[at] == ',' || text[at] == ')' || text[at] == ';') {
        return true;
    }
    size_t end = at;
    while (end < text.size() && IsWordChar(text[end])) {
        ++end;
    }
    const std::string next = ToLowerAscii(text.substr(at, end - at));
    return next == "asc" || next == "desc" || next == "limit";
}

// The comparison operator that out ends with (blanks after it allowed), or
// nothing; its start goes to *at.
std::string_view TrailingComparison(const std::string& out, size_t* at) {
    size_t end = out.size();
    while (end > 0 && std::isspace(static_cast<unsigned char>(out[end - 1])) != 0) {
        --end;
    }
    for (std::string_view op : {"<>", "!=", "==", "<=", ">=", "=", "<", ">"}) {
        if (end >= op.size() && std::string_view(out).substr(end - op.size(), op.size()) == op) {
            const size_t start = end - op.size();
            if (start > 0 &&
                std::string_view("<>!=").find(out[start - 1]) != std::string_view::npos) {
                return {};
            }
            *at = start;
            return op;
        }
    }
    return {};
}

// A column compared with a value that banks store in more than one way
// (yes/no, dates) is compared through function, which brings every stored
// form to one: out, ending with "Column =", becomes "function(Column)="
// followed by right. False, and out unchanged, when out does not end with a
// column name and a comparison, or with an ordering one where only
// equality makes sense.
bool CompareThrough(std::string& out, const char* function, bool ordered,
                    const std::string& right) {
    size_t op = 0;
    std::string comparison(TrailingComparison(out, &op));
    if (comparison.empty() || (!ordered && comparison != "=" && comparison != "==" &&
                               comparison != "<>" && comparison != "!=")) {
        return false;
    }
    size_t end = op;
    while (end > 0 && std::isspace(static_cast<unsigned char>(out[end - 1])) != 0) {
        --end;
    }
    size_t start = end;
    while (start > 0 && (IsWordChar(out[start - 1]) || out[start - 1] == '.')) {
        --start;
    }
    if (start == end || std::isdigit(static_cast<unsigned char>(out[start])) != 0 ||
        out[start] == '.') {
        return false;
    }
    const std::string column = out.substr(start, end - start);
    const std::string lower = ToLowerAscii(column);
    if (lower == "true" || lower == "false" || lower == "null") {
        return false;
    }
    out.resize(start);
    out += std::string(function) + "(" + column + ")" + comparison + right;
    return true;
}

// Where the translator stands within one sort key of an "order by" list.
enum class SortKey { Start, AfterName, AfterDot, Other };

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
    // Titles are sorted by their GB2312 bytes, as the trees sort them, also
    // in data files whose columns were declared without that collation: a
    // sort key that is a column named Title gets the collation explicitly.
    int depth = 0;          // open brackets
    int orderByDepth = -1;  // the depth of the current "order by" list, or -1
    int setDepth = -1;      // the depth of an update's "set" list, or -1
    SortKey key = SortKey::Other;
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
            key = SortKey::Other;
            continue;
        }
        if (c == '#') {
            const size_t close = jet.find('#', at + 1);
            if (close != std::string_view::npos) {
                const std::string_view literal = jet.substr(at + 1, close - at - 1);
                const std::string compared = '\'' + SqlQuote(JetDateText(literal)) + '\'';
                if (setDepth == depth || !CompareThrough(out, kJetDateFunction, true, compared)) {
                    out += '\'' + SqlQuote(literal) + '\'';
                }
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
            const bool inOrderBy = orderByDepth == depth;
            if (lower == "true" || lower == "false") {
                // In an update's "set" list "=" assigns: what is stored
                // stays 1 or 0.
                const std::string value = lower == "true" ? "1" : "0";
                if (setDepth == depth || !CompareThrough(out, kJetTrueFunction, false, value)) {
                    out += value;
                }
            } else {
                out += word;
            }
            if (inOrderBy && (key == SortKey::Start || key == SortKey::AfterDot) &&
                lower == "title" && EndsSortKey(jet, end)) {
                out += " COLLATE ";
                out += kGbCollation;
            }
            if (lower == "set") {
                setDepth = depth;
            } else if (setDepth == depth && (lower == "where" || lower == "from")) {
                setDepth = -1;
            }
            if (lower == "by" && lastWord == "order") {
                orderByDepth = depth;
                key = SortKey::Start;
            } else if (inOrderBy && lower == "limit") {
                orderByDepth = -1;
            } else {
                key = key == SortKey::Start || key == SortKey::AfterDot ? SortKey::AfterName
                                                                        : SortKey::Other;
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
            if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth < orderByDepth) {
                orderByDepth = -1;
            } else if (c == ';') {
                orderByDepth = -1;
                setDepth = -1;
            }
            if (c == ',' && orderByDepth == depth) {
                key = SortKey::Start;
            } else if (c == '.' && key == SortKey::AfterName) {
                key = SortKey::AfterDot;
            } else {
                key = SortKey::Other;
            }
        }
        out += c;
        ++at;
    }
    return out;
}

}  // namespace quillory
