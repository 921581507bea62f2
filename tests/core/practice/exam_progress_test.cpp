// The progress file of an exam: what is written is read back exactly, and
// a text that is not a whole progress file is refused.
#include "core/practice/exam_progress.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

ExamProgress Sample() {
    ExamProgress progress;
    progress.rootNodeId = 101000;
    progress.state = ExamState::Scoring;
    progress.currentNodeId = 101104;
    progress.secondsLeft = -1;
    progress.cursor = 2;
    progress.items = {
        {101101, 200001, "0\r\n1\r\n", 3.0f, false},
        {101104, 200005, "黄土 高原<\r\n>\\n 泥沙 \r\n", 7.3f, true},
        {101105, 200002, "", 0.1f, false},
    };
    return progress;
}

TEST(ExamProgressFile, WhatIsWrittenIsReadBackExactly) {
    const std::optional<ExamProgress> read = ParseExamProgress(FormatExamProgress(Sample()));
    ASSERT_TRUE(read);
    const ExamProgress expected = Sample();
    EXPECT_EQ(read->rootNodeId, expected.rootNodeId);
    EXPECT_EQ(read->state, expected.state);
    EXPECT_EQ(read->currentNodeId, expected.currentNodeId);
    EXPECT_EQ(read->secondsLeft, expected.secondsLeft);
    EXPECT_EQ(read->cursor, expected.cursor);
    ASSERT_EQ(read->items.size(), expected.items.size());
    for (size_t i = 0; i < expected.items.size(); ++i) {
        EXPECT_EQ(read->items[i].paperItemId, expected.items[i].paperItemId);
        EXPECT_EQ(read->items[i].questionId, expected.items[i].questionId);
        EXPECT_EQ(read->items[i].learnerAnswer, expected.items[i].learnerAnswer);
        EXPECT_EQ(read->items[i].learnerScore, expected.items[i].learnerScore);
        EXPECT_EQ(read->items[i].scoredByHand, expected.items[i].scoredByHand);
    }
}

TEST(ExamProgressFile, ATextThatIsNotAWholeProgressFileIsRefused) {
    const std::string good = FormatExamProgress(Sample());
    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"another file", "SQLite format 3"},
        {"cut short", good.substr(0, good.size() / 2)},
        {"without its end", replaced("end\n", "")},
        {"more after its end", good + "item 1 1 0 0 \n"},
        {"an item missing", replaced("items 3", "items 4")},
        {"an item too many", replaced("items 3", "items 2")},
        {"a state that is no exam in progress", replaced("state 2", "state 3")},
        {"a number that is none", replaced("root 101000", "root 10x000")},
        {"a score that is none", replaced("7.3", "seven")},
        {"a mark of hand scoring that is neither 0 nor 1", replaced(" 7.3 1 ", " 7.3 2 ")},
        {"an unknown escape", replaced("\\\\n", "\\q")},
        {"the cursor beyond the items", replaced("cursor 2", "cursor 4")},
    };
    for (const auto& [name, text] : cases) {
        EXPECT_FALSE(ParseExamProgress(text)) << name;
    }
}

}  // namespace
}  // namespace quillory
