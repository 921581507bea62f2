#include "core/practice/answer_panel.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

ExamItem Question(float fullMarks, float learnerScore, int timeLimit = 0) {
    ExamItem item;
    item.questionId = 200001;
    item.fullMarks = fullMarks;
    item.learnerScore = learnerScore;
    item.timeLimit = timeLimit;
    return item;
}

TEST(AnswerPanel, AQuestionShowsTheTextsOfEachState) {
    const struct {
        ExamState state;
        const char* toggle;
        const char* submit;
        StatusIcon icon;
        const char* scoreLine;
        bool entry;
    } cases[] = {
        {ExamState::Answering, "答  案(&A)", "交  卷(&S)", StatusIcon::Answering, "本题分数: 3.0",
         false},
        {ExamState::Scoring, "试  题(&A)", "继  续(&S)", StatusIcon::Scoring,
         "本题分数: 3.0  请输入您的得分:", true},
        {ExamState::Result, "答  案(&A)", "结  束(&E)", StatusIcon::PartlyCorrect,
         "本题分数: 3.0  您的得分: 1.5", false},
        {ExamState::Review, "答  案(&A)", "结  束(&E)", StatusIcon::PartlyCorrect,
         "本题分数: 3.0  您的得分: 1.5", false},
    };
    for (const auto& entry : cases) {
        const PanelView view = DescribePanel(entry.state, Question(3.0f, 1.5f));
        EXPECT_TRUE(view.showToggle);
        EXPECT_TRUE(view.answerControls);
        EXPECT_EQ(view.toggleCaption, entry.toggle);
        EXPECT_EQ(view.submitCaption, entry.submit);
        EXPECT_EQ(view.icon, entry.icon);
        EXPECT_EQ(view.scoreLine, entry.scoreLine);
        EXPECT_EQ(view.scoreEntry.has_value(), entry.entry);
        EXPECT_EQ(view.countdownSeconds, 0);
    }
    EXPECT_EQ(DescribePanel(ExamState::Scoring, Question(10.0f, 20.0f / 3.0f)).scoreEntry, "6.7");
    EXPECT_EQ(DescribePanel(ExamState::Answering, Question(3.0f, 0, 3)).countdownSeconds, 3);
    EXPECT_EQ(DescribePanel(ExamState::Scoring, Question(3.0f, 0, 3)).countdownSeconds, 0);
}

TEST(AnswerPanel, ResultIconsAllowATenth) {
    const std::pair<float, StatusIcon> cases[] = {{1.9f, StatusIcon::Correct},
                                                  {2.0f, StatusIcon::Correct},
                                                  {1.0f, StatusIcon::PartlyCorrect},
                                                  {0.05f, StatusIcon::Wrong}};
    for (const auto& [score, icon] : cases) {
        EXPECT_EQ(DescribePanel(ExamState::Result, Question(2.0f, score)).icon, icon) << score;
    }
}

TEST(AnswerPanel, PaperAndSectionNodesShowButtonsOnly) {
    const ExamItem placeholder;
    const PanelView answering = DescribePanel(ExamState::Answering, placeholder);
    EXPECT_FALSE(answering.showToggle);
    EXPECT_FALSE(answering.answerControls);
    EXPECT_FALSE(answering.scoreLine);
    EXPECT_FALSE(answering.toggleCaption);
    EXPECT_EQ(answering.submitCaption, "交  卷(&S)");
    EXPECT_EQ(DescribePanel(ExamState::Scoring, placeholder).submitCaption, "继　续(&C)");
    EXPECT_EQ(DescribePanel(ExamState::Result, placeholder).submitCaption, "结  束(&E)");
    EXPECT_EQ(DescribePanel(ExamState::Review, placeholder).toggleCaption, "答  案(&A)");
    // Idle changes no caption.
    EXPECT_FALSE(DescribePanel(ExamState::Idle, placeholder).submitCaption);
}

TEST(AnswerPanel, TheEnteredScoreStaysBetweenNoughtAndTheFullMarks) {
    const std::pair<const char*, float> cases[] = {{"15", 10.0f},   {"", 0.0f},   {"  ", 0.0f},
                                                   {" 7.5 ", 7.5f}, {"5.", 5.0f}, {".", 0.0f},
                                                   {"-3", 0.0f},    {"abc", 0.0f}};
    for (const auto& [text, score] : cases) {
        EXPECT_EQ(ScoreFromEntry(text, 10.0f), score) << text;
    }
}

}  // namespace
}  // namespace quillory
