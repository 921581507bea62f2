// One question on its way between a file of another program and a data
// file: what every reader makes and every writer takes. Readers know formats
// and nothing of data files; the bank writer knows data files and nothing of
// formats.
//
// Texts (stem, options, reference answer, analysis) are HTML fragments:
// readers of plain formats escape the text and turn line breaks into <br>;
// TeX between $…$, $$…$$, \(…\) or \[…\] stays as written for the view's
// KaTeX. Images are <img src="NAME"> with NAME one of the question's media.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillory {

enum class QuestionKind {
    SingleChoice,
    MultipleChoice,
    TrueFalse,
    FillBlank,  // one edit box per blank, each judged on its own
    Manual,     // short answer, essay, 解答, 材料分析…: scored by hand
    Matching,   // each left-hand text matched to one of the options
    Cloze,      // answers embedded in the text: choices and edit boxes
};

// Matching and Cloze: one judged group of the answer form each, so every
// slot right earns its share.
struct AnswerSlot {
    std::string prompt;                 // Matching: the left-hand text (HTML)
    std::vector<std::string> choices;   // Cloze: the slot's options (HTML); empty: an edit box
    int rightChoice = -1;               // into choices (Cloze) or the question's options (Matching)
    std::vector<std::string> accepted;  // edit box: accepted answers, the first in the form
};

// Where a question or a problem is in its file. Rows and lines count from 1
// as a spreadsheet or an editor shows them; a .docx counts paragraphs.
struct SourcePlace {
    std::string file;   // the file's name as given
    std::string sheet;  // a spreadsheet's sheet or a package's entry; else empty
    int row = 0;        // spreadsheets
    int line = 0;       // text, .docx, GIFT, Aiken, XML

    // "file:sheet:row" or "file:line" (just "file" when neither is known).
    std::string Text() const;
    // What the tool prints as a question's source: "sheet!row", "entry:line"
    // or "line".
    std::string Short() const;
};

struct MediaFile {
    std::string name;   // as the texts reference it; a plain file name
    std::string bytes;  // the file's content
};

struct ImportedQuestion {
    SourcePlace place;
    // What finds this question again when its file is imported anew: the
    // source's own ID (序号/ID column, GIFT ::name::, Moodle idnumber/name);
    // empty when the source has none (its position in the file then serves).
    std::string sourceKey;
    // The bank question this one was exported from (the 试题编号 column); an
    // import updates that question in place when the bank holds it. 0: none.
    int existingId = 0;
    QuestionKind kind = QuestionKind::Manual;
    std::string stem;
    std::vector<std::string> options;  // A, B, … in order (choice kinds)
    std::vector<int> rightOptions;     // indices into options, ascending
    bool trueFalseKey = false;         // TrueFalse: true is 对
    // FillBlank: per blank, its accepted answers; the first is the one the
    // answer form holds.
    std::vector<std::vector<std::string>> blanks;
    // Matching (options are the right-hand texts) and Cloze (the stem marks
    // each slot's place with its number, "（1）").
    std::vector<AnswerSlot> answerSlots;
    std::string referenceAnswer;  // Manual
    std::string analysis;
    std::vector<std::string> knowledgePaths;  // "数学/函数/二次函数" or one title
    std::string typeTitle;  // 题型 as the source names it; empty: the kind's usual title
    std::optional<double> score;
    std::optional<int> level;  // 1 (易) … 5 (难)
    std::vector<MediaFile> media;
    std::string section;  // sheet name or heading; the imported paper's section
};

// Something a reader could not take as it stands: Chinese text for the
// teacher, with its place.
struct ImportProblem {
    SourcePlace place;
    std::string text;
};

struct ImportReading {
    std::vector<ImportedQuestion> questions;  // in source order
    // What was wrong: each refuses the import unless bad rows are skipped
    // (the question it belongs to is then not among questions).
    std::vector<ImportProblem> problems;
    // What was changed or dropped while still importing the question.
    std::vector<ImportProblem> warnings;
};

// The tool's name of a kind: single, multiple, truefalse, blank, manual,
// matching, cloze.
const char* KindName(QuestionKind kind);

}  // namespace quillory
