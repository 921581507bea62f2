// What an exam is doing, and where a node sits in it.
#pragma once

namespace quillory {

enum class ExamState : int {
    Idle = 0,       // no exam loaded
    Answering = 1,  // the learner answers; the countdowns run
    Scoring = 2,    // the learner scores what cannot be judged automatically
    Result = 3,     // the stored record is shown
    Review = 4,     // a stored record is replayed
};

// Navigation flags of a node of the exam.
enum NavigationFlag : int {
    kFirstNode = 1,  // nothing before it: previous is disabled
    kLastNode = 2,   // nothing after it: next is disabled
};

}  // namespace quillory
