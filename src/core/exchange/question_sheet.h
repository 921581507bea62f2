// Questions as the rows of a workbook the import reads back: the import's
// own column names with a 试题编号 column first, a row a question, a sheet a
// section. Texts are plain where their HTML is plain, else "<html>…</html>";
// pictures cannot go into a cell and are left out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/imported_question.h"

namespace quillory {

struct QuestionSheet {
    std::string name;                            // a valid, distinct sheet name
    std::vector<std::vector<std::string>> rows;  // the header row first
};

struct QuestionSheets {
    std::vector<QuestionSheet> sheets;
    std::vector<ImportProblem> warnings;  // what was left out or changed
    int written = 0;                      // questions written
};

// oneSheet: every question on one sheet (a .csv holds one).
QuestionSheets MakeQuestionSheets(const std::vector<ImportedQuestion>& questions, bool oneSheet);

// The cells of a question's row after the 试题编号 (with what is left out
// or changed, if warnings is given); empty when a sheet cannot hold the
// question (matching, cloze, more than eight options). Two questions with
// the same cells import alike.
std::vector<std::string> QuestionCells(const ImportedQuestion& question,
                                       std::vector<std::string>* warnings = nullptr);

// A text with markup in a cell: "<html>FRAGMENT</html>" (white space around
// it allowed). MarkedHtml gives the fragment, or nullopt for any other text.
std::string MarkAsHtml(std::string_view fragment);
std::optional<std::string> MarkedHtml(std::string_view text);

}  // namespace quillory
