// The questions of a data file read back into the import model, so they can
// be written out in the formats the import reads (and in GIFT and Moodle
// XML): the kind from the answer form, the texts from the question and answer
// pages, the images beside them, the knowledge paths, the type, the score of
// the paper item and the level.
#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/exchange/imported_question.h"

namespace quillory {

class DataStore;

enum class QuestionScope {
    Paper,      // a classic or practice paper, one section of it, or one paper item
    Knowledge,  // the questions of a knowledge point or of any point below it
    All,
};

struct QuestionSelection {
    QuestionScope scope = QuestionScope::All;
    int id = 0;  // Paper: a Paper row; Knowledge: a point
};

// The questions in paper order (else by ID), each with existingId and
// sourceKey its ID and, from a paper, its section (the section's title
// without "第N部分") and score. The warnings name the question's ID as their
// file: what was left out or guessed (options that cannot be told apart from
// the stem, a missing page or picture, a form of no known kind). Fails with
// NotFound for a paper or point that does not exist, Database on an engine
// error.
Result<ImportReading> ReadBankQuestions(DataStore& store, const std::string& dataFolder,
                                        const QuestionSelection& selection);

// The questions of these IDs that the bank holds, in the order given.
Result<ImportReading> ReadBankQuestionsById(DataStore& store, const std::string& dataFolder,
                                            const std::vector<int>& ids);

}  // namespace quillory
