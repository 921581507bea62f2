// An exam in progress as plain data, kept in a small file beside the data
// file while the learner answers or scores by hand, so that a crash or a
// power cut loses nothing: the next start offers to go on from it. It never
// goes into History: only a submitted exam does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/practice/exam_state.h"

namespace quillory {

struct ExamProgress {
    struct Item {
        int paperItemId = 0;
        int questionId = 0;  // with the paper item ID, tells that the paper is still the same
        std::string learnerAnswer;
        float learnerScore = 0.0f;
        bool scoredByHand = false;
    };
    int rootNodeId = 0;
    ExamState state = ExamState::Answering;  // answering or scoring by hand
    int currentNodeId = 0;                   // the node shown
    int secondsLeft = 0;                     // the exam's countdown
    size_t cursor = 0;                       // the next item to judge
    std::vector<Item> items;                 // in the exam's order
};

// "<data file>.exam": one per data file, in the same folder.
std::string ExamProgressPath(const std::string& dataFile);

std::string FormatExamProgress(const ExamProgress& progress);
// Nothing for a text that is not a whole progress file of this program.
std::optional<ExamProgress> ParseExamProgress(std::string_view text);

// Replaced atomically; 0 or the errno value of the failure.
int WriteExamProgress(const std::string& path, const ExamProgress& progress);

enum class ProgressRead { None, Read, Damaged };
struct ReadProgress {
    ProgressRead result = ProgressRead::None;
    ExamProgress progress;  // Read
    std::string reason;     // Damaged: why it cannot be used
};
// None when there is no file.
ReadProgress ReadExamProgress(const std::string& path);

void RemoveExamProgress(const std::string& path);

}  // namespace quillory
