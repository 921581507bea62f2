// The formats questions are exported in, each written by a file of its own:
// workbooks the import reads back (.xlsx, .ods, .csv) from the sheets of
// question_sheet.h, and the question formats of learning platforms (GIFT,
// Moodle XML) from the questions themselves.
#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/exchange/imported_question.h"
#include "core/exchange/question_sheet.h"

namespace quillory {

// FileAccess when the workbook cannot be made.
Result<std::string> XlsxBytes(const QuestionSheets& sheets);
Result<std::string> OdsBytes(const QuestionSheets& sheets);
// The first sheet, in UTF-8 with a BOM, cells quoted as RFC 4180 has it.
std::string CsvBytes(const QuestionSheets& sheets);

struct WrittenQuestions {
    std::string bytes;
    std::vector<ImportProblem> warnings;  // what was left out or changed
    int written = 0;
};

// A right or wrong answer's share in percent as both formats write it:
// "50", "33.33333".
std::string AnswerWeight(double percent);

// A matching question's pairs as both formats write them: each slot's
// prompt with its right-hand text made plain, then every right-hand text no
// slot takes with an empty prompt, a distractor.
struct MatchingPair {
    std::string prompt;
    std::string right;
};
std::vector<MatchingPair> MatchingPairs(const ImportedQuestion& q);

WrittenQuestions GiftBytes(const std::vector<ImportedQuestion>& questions);
WrittenQuestions MoodleXmlBytes(const std::vector<ImportedQuestion>& questions);

}  // namespace quillory
