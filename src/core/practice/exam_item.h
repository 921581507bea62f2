// One question item of an exam: the question, its place in the paper, and
// the learner's answer and score.
#pragma once

#include <string>

namespace quillory {

struct ExamItem {
    int questionId = -1;  // -1 in the placeholder item of non-question nodes
    int typeId = 0;
    int level = 0;
    int timeLimit = 0;  // seconds for this question; 0 = none
    std::string page;
    std::string answerPage;
    std::string keyWords;
    std::string knowledge;
    std::string description;    // the answer form description
    std::string learnerAnswer;  // the answer text, empty at the start
    float fullMarks = 0.0f;
    float learnerScore = 0.0f;
    int paperItemId = 0;
};

// How an item's node shows after judging.
enum class ItemResult { Correct, PartlyCorrect, Wrong };
ItemResult ResultOf(const ExamItem& item);

}  // namespace quillory
