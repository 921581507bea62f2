// What the exam frame is doing, and how the answer panel learns where the
// shown node sits in the exam.
#pragma once

enum ExamState : int {
    kExamIdle = 0,       // no exam loaded
    kExamAnswering = 1,  // the learner answers; the countdowns run
    kExamScoring = 2,    // the learner scores what cannot be judged automatically
    kExamResult = 3,     // the stored record is shown
    kExamReview = 4,     // a stored record is replayed
};

// Navigation flags of a node of the exam.
enum NavigationFlag : int {
    kFirstNode = 1,  // nothing before it: previous is disabled
    kLastNode = 2,   // nothing after it: next is disabled
};
