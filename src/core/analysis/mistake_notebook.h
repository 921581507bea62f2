// The learner's mistake notebook: the questions whose latest attempt fell
// short of full marks, grouped by knowledge point. It fills itself from the
// History rows and a question leaves it once an attempt scores full marks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/store/date_time.h"

namespace quillory {

class DataStore;

struct Mistake {
    int questionId = 0;
    int typeId = 0;
    std::vector<int> knowledgeIds;  // the question's points the Knowledge table holds
    int wrong = 0;                  // attempts below full marks
    int right = 0;                  // attempts with full marks
    DateTime lastWrongDate;
    DateTime lastWrongTime;
    float fullMarks = 0.0f;  // of the latest attempt
    std::string lastAnswer;  // the learner's answer text of the latest attempt
    std::string label;       // "paper-item" of the last wrong attempt
    std::string url;         // the question's pages and answer form, as the bank has them
    std::string answerUrl;
    std::string answerForm;
};

// One knowledge point of the notebook, in the knowledge tree's order (with a
// knowledge filter, only the points of its subtree): the positions in
// MistakeNotebook::mistakes of its questions, the latest mistake first.
struct MistakePoint {
    int knowledgeId = 0;
    int depth = 1;
    std::string title;
    std::vector<size_t> mistakes;
};

struct MistakeNotebook {
    std::vector<Mistake> mistakes;     // each question once, in the order the points list them
    std::vector<MistakePoint> points;  // the points that have mistakes
};

struct MistakeFilter {
    int days = 0;         // 7 or 30: the last wrong attempt at most that many days old; 0: all
    int knowledgeId = 0;  // a point whose subtree the questions must touch; 0: all
    DateTime now;
};

// Reads History, Question and Knowledge once each. An attempt counts when
// its full marks are above 0, in the order of RecordDate, RecordTime, ID; a
// question whose latest attempt scored below full marks is in the notebook,
// unless it is gone from the bank. Ages are counted as the history summary
// counts its periods. Nothing on a database error.
std::optional<MistakeNotebook> ReadMistakeNotebook(DataStore& store, const MistakeFilter& filter);

}  // namespace quillory
