#include "core/practice/answer_panel.h"

#include <algorithm>
#include <charconv>

#include "core/common/score_format.h"
#include "core/common/text.h"

namespace quillory {

namespace {

constexpr char kSubmitCaption[] = "交  卷(&S)";
constexpr char kEndCaption[] = "结  束(&E)";

StatusIcon ResultIcon(const ExamItem& item) {
    switch (ResultOf(item)) {
        case ItemResult::Correct:
            return StatusIcon::Correct;
        case ItemResult::PartlyCorrect:
            return StatusIcon::PartlyCorrect;
        case ItemResult::Wrong:
            break;
    }
    return StatusIcon::Wrong;
}

}  // namespace

PanelView DescribePanel(ExamState state, const ExamItem& item) {
    PanelView view;
    if (item.questionId == -1) {
        switch (state) {
            case ExamState::Answering:
                view.submitCaption = kSubmitCaption;
                break;
            case ExamState::Scoring:
                // An ideographic space, unlike the question's caption.
                view.submitCaption = "继　续(&C)";
                break;
            case ExamState::Result:
            case ExamState::Review:
                view.toggleCaption = kAnswerCaption;
                view.submitCaption = kEndCaption;
                break;
            case ExamState::Idle:
                break;
        }
        return view;
    }

    view.showToggle = true;
    view.answerControls = true;
    switch (state) {
        case ExamState::Answering:
            view.icon = StatusIcon::Answering;
            view.scoreLine = "本题分数: " + FormatScore(item.fullMarks);
            view.toggleCaption = kAnswerCaption;
            view.submitCaption = kSubmitCaption;
            view.countdownSeconds = item.timeLimit;
            break;
        case ExamState::Scoring:
            view.icon = StatusIcon::Scoring;
            view.scoreLine = "本题分数: " + FormatScore(item.fullMarks) + "  请输入您的得分:";
            view.scoreEntry = FormatScore(item.learnerScore);
            view.toggleCaption = kQuestionCaption;
            view.submitCaption = "继  续(&S)";
            break;
        case ExamState::Result:
        case ExamState::Review:
            view.icon = ResultIcon(item);
            view.scoreLine = "本题分数: " + FormatScore(item.fullMarks) +
                             "  您的得分: " + FormatScore(item.learnerScore);
            view.toggleCaption = kAnswerCaption;
            view.submitCaption = kEndCaption;
            break;
        case ExamState::Idle:
            break;
    }
    return view;
}

float ScoreFromEntry(std::string_view text, float fullMarks) {
    const std::string trimmed = Trim(text);
    double score = 0.0;
    // Read as far as it is a number; what is no number at all counts 0.
    std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), score);
    score = std::max(score, 0.0);
    score = std::min(score, static_cast<double>(fullMarks));
    return static_cast<float>(score);
}

}  // namespace quillory
