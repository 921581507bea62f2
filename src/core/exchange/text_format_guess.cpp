#include "core/exchange/text_format_guess.h"

#include "core/exchange/aiken_reader.h"
#include "core/exchange/plain_text.h"

namespace quillory {

namespace {

bool IsAsciiWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// An answer block "{=…}", "{~…}", "{#…}", "{T}", "{}" after text. TeX's
// braces follow a command, a letter, ^ or _ ("\frac{1}{2}", "\vec{F}") and
// never count.
bool HasAnswerBlock(std::string_view text) {
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '\\') {
            ++pos;
            continue;
        }
        if (text[pos] != '{' || (pos > 0 && (IsAsciiWordChar(text[pos - 1]) ||
                                             std::string_view("\\^_{}$").find(text[pos - 1]) !=
                                                 std::string_view::npos))) {
            continue;
        }
        const size_t close = text.find('}', pos);
        if (close == std::string_view::npos) {
            return false;
        }
        const std::string_view block = Trim(text.substr(pos + 1, close - pos - 1));
        const std::string_view word = block.substr(0, block.find('#'));
        if (block.empty() || block[0] == '=' || block[0] == '~' || block[0] == '#' || word == "T" ||
            word == "F" || word == "TRUE" || word == "FALSE") {
            return true;
        }
    }
    return false;
}

}  // namespace

QuestionFormat GuessTextFormat(std::string_view text) {
    if (HasAnswerBlock(text)) {
        return QuestionFormat::Gift;
    }
    bool options = false;
    for (const std::string& line : TextLines(text)) {
        const std::string_view trimmed = Trim(line);
        if ((trimmed.starts_with("::") && trimmed.find("::", 2) != std::string_view::npos) ||
            trimmed.starts_with("$CATEGORY:")) {
            return QuestionFormat::Gift;
        }
        options = options || ReadAikenOption(trimmed).has_value();
        if (options && ReadAikenAnswer(trimmed)) {
            return QuestionFormat::Aiken;
        }
    }
    return QuestionFormat::Text;
}

}  // namespace quillory
