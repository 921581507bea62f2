// The countdowns of an exam: the whole exam's time left and the shown
// question's.
#pragma once

#include <string>

namespace quillory {

// "剩余时间 %d:%02d:%02d" for the exam's countdown ("剩余时间: ..." with a colon
// for one question's countdown).
std::string ExamTimeLeftText(int seconds);
std::string QuestionTimeLeftText(int seconds);

// One second of a question's countdown, showing secondsLeft. Time is up at
// 0 and stays up: until another question is shown, the panel asks for the
// next node once a second.
struct QuestionTick {
    std::string text;
    bool timeUp = false;
};
QuestionTick TickQuestionCountdown(int& secondsLeft);

}  // namespace quillory
