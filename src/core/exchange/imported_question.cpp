#include "core/exchange/imported_question.h"

namespace quillory {

std::string SourcePlace::Text() const {
    std::string text = file;
    if (!sheet.empty()) {
        text += ":" + sheet;
    }
    const int at = row > 0 ? row : line;
    if (at > 0) {
        text += ":" + std::to_string(at);
    }
    return text;
}

std::string SourcePlace::Short() const {
    if (row > 0) {
        return sheet + "!" + std::to_string(row);
    }
    return (sheet.empty() ? "" : sheet + ":") + std::to_string(line);
}

const char* KindName(QuestionKind kind) {
    switch (kind) {
        case QuestionKind::SingleChoice:
            return "single";
        case QuestionKind::MultipleChoice:
            return "multiple";
        case QuestionKind::TrueFalse:
            return "truefalse";
        case QuestionKind::FillBlank:
            return "blank";
        case QuestionKind::Manual:
            return "manual";
        case QuestionKind::Matching:
            return "matching";
        case QuestionKind::Cloze:
            return "cloze";
    }
    return "manual";
}

}  // namespace quillory
