#include "core/practice/exam_countdown.h"

#include "core/common/text.h"

namespace quillory {

namespace {

std::string HoursMinutesSeconds(int seconds) {
    return Format("%d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}

}  // namespace

std::string ExamTimeLeftText(int seconds) {
    return "剩余时间 " + HoursMinutesSeconds(seconds);
}

std::string QuestionTimeLeftText(int seconds) {
    return "剩余时间: " + HoursMinutesSeconds(seconds);
}

QuestionTick TickQuestionCountdown(int& secondsLeft) {
    QuestionTick tick{QuestionTimeLeftText(secondsLeft), secondsLeft < 1};
    if (!tick.timeUp) {
        --secondsLeft;
    }
    return tick;
}

}  // namespace quillory
