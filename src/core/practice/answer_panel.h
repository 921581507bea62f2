// What the answer panel shows for one node in each exam state: the captions
// of its toggle and submit buttons, the status icon, the score line, the
// score entry, the answer controls and the question's countdown.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/practice/exam_item.h"
#include "core/practice/exam_state.h"

namespace quillory {

inline constexpr char kAnswerCaption[] = "答  案(&A)";
inline constexpr char kQuestionCaption[] = "试  题(&A)";

enum class StatusIcon { None, Answering, Scoring, Correct, PartlyCorrect, Wrong };

struct PanelView {
    bool showToggle = false;
    // Captions left as they were when not set.
    std::optional<std::string> toggleCaption;
    std::optional<std::string> submitCaption;
    StatusIcon icon = StatusIcon::None;
    std::optional<std::string> scoreLine;   // hidden when not set
    std::optional<std::string> scoreEntry;  // the score to correct by hand; hidden when not set
    bool answerControls = false;            // the item's answer controls, with its answers
    int countdownSeconds = 0;               // above 0: the question's countdown runs
};

// The panel for an item in an exam state; the placeholder item (question ID
// -1) of paper and section nodes shows buttons only.
PanelView DescribePanel(ExamState state, const ExamItem& item);

// The score the learner typed for an item: blank is 0; otherwise the number,
// kept between 0 and the full marks.
float ScoreFromEntry(std::string_view text, float fullMarks);

}  // namespace quillory
