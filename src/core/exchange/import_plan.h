// What an import will do to a data file, worked out before anything is
// written: which questions are added and which updated (with their IDs),
// the question types and knowledge points to add, the problems that refuse
// the import and the warnings. The tool prints it (also for --dry-run), the
// import dialog shows it, and the bank writer carries it out.
#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/exchange/import_pages.h"
#include "core/exchange/imported_question.h"

namespace quillory {

class DataStore;

// One file as a reader gave it, and the classic paper it becomes.
struct ImportFile {
    std::string paperTitle;  // the title given, or the file's name without its extension
    std::string fileName;    // as the paper's page names it
    ImportReading reading;
};

struct ImportOptions {
    int knowledgeRoot = 0;  // points' paths start below this one; 0: at the top
    bool skipBad = false;   // leave out what has a problem and import the rest
};

struct PlannedQuestion {
    ImportedQuestion question;
    int id = 0;
    bool update = false;  // the question of an earlier import of this key
    // Updated by its 试题编号 (the row of an export of this bank): in place,
    // in no paper, with no source of its own.
    bool inPlace = false;
    int typeId = 0;
    std::string typeTitle;
    std::vector<int> knowledgeIds;
    double score = 0;
    std::string sourceKey;  // what finds the question again in this paper's file
    // An updated question's pages, replaced once the rows are stored.
    std::string oldUrl;
    std::string oldAnswerUrl;
};

// A question an earlier import of the paper brought in that its file no
// longer holds: listed, never deleted.
struct MissingQuestion {
    int id = 0;
    std::string sourceKey;
};

struct PlannedPaper {
    std::string title;
    std::string fileName;
    int existingId = 0;  // the paper of an earlier import, rebuilt in place; 0: a new one
    std::vector<PlannedQuestion> questions;  // in source order
    std::vector<MissingQuestion> missing;
    int unchanged = 0;  // rows of an export that say what the bank holds: left alone

    // Whether the import makes (or rebuilds) the paper: some question is not
    // one updated in place.
    bool MakesPaper() const;
};

struct NewQuestionType {
    int id = 0;
    std::string title;
};

struct NewKnowledgePoint {
    int id = 0;
    int superiorId = 0;
    std::string title;
    std::vector<KnowledgeTrail> parents;  // from the top
};

struct ImportPlan {
    std::vector<PlannedPaper> papers;
    std::vector<NewQuestionType> newTypes;
    std::vector<NewKnowledgePoint> newPoints;
    // Each refuses the whole import unless bad rows are skipped; then the
    // question it belongs to is left out.
    std::vector<ImportProblem> problems;
    std::vector<ImportProblem> warnings;  // what is changed or dropped
    bool skipBad = false;

    bool Refused() const { return !problems.empty() && !skipBad; }
    int Added() const;
    int Updated() const;
};

// Reads what the data file holds (types, points, earlier imports, papers)
// and plans the import of the files; nothing is written. Fails on a
// database error (Database) or a knowledge root that does not exist, or
// when six-digit IDs run out (BadInput).
Result<ImportPlan> PlanImport(DataStore& store, std::vector<ImportFile> files,
                              const ImportOptions& options);

// The lines the tool prints and the dialog shows: a question a line
// ("ID\tkind\ttype title\tsource", in source order), then
// "WARN\tsource\ttext" for what was changed, dropped or skipped and for
// the questions no longer in their file, then a summary line.
std::vector<std::string> ImportLines(const ImportPlan& plan);

// What the import dialog shows above the lines, in Chinese: the questions
// counted by kind, then by sheet or heading.
std::vector<std::string> ImportOverview(const ImportPlan& plan);

// The problems as the tool writes them to standard error: "place: text".
std::vector<std::string> ProblemLines(const ImportPlan& plan);

// The score a question of a kind gets when its file gives none.
double DefaultScore(QuestionKind kind);

// The question type a kind gets when its file names none.
const char* UsualTypeTitle(QuestionKind kind);

}  // namespace quillory
