#include "core/practice/answer_form.h"

#include <gtest/gtest.h>

#include <climits>

#include "core/common/text.h"

namespace quillory {
namespace {

constexpr char kRadios[] = "10,10,60,16,radio,A,1,group,auto\r\n80,10,60,16,radio,B,0";

float Score(const Judgement& judgement) {
    return judgement.score;
}

TEST(ParseAnswerForm, ReadsPositionsKindsAndGroups) {
    const AnswerForm form = ParseAnswerForm(
        "5,6,100,20,label,题目\r\n10,10,60,16,radio,A,1,GROUP,Auto\r\n80,10,60,16,radio,B,0\r\n"
        "0,40,200,20,edit,,北京,group\r\n",
        "");
    ASSERT_EQ(form.groups.size(), 3u);
    EXPECT_TRUE(form.groups[0].autoJudge);  // implicit first group
    ASSERT_EQ(form.groups[0].controls.size(), 1u);
    EXPECT_EQ(form.groups[0].controls[0].caption, "题目");
    EXPECT_TRUE(form.groups[1].autoJudge);
    ASSERT_EQ(form.groups[1].controls.size(), 2u);
    const AnswerControl& b = form.groups[1].controls[1];
    EXPECT_EQ((std::vector<int>{b.left, b.top, b.right, b.bottom}),
              (std::vector<int>{80, 10, 140, 26}));
    EXPECT_EQ(b.correctValue, "0");
    EXPECT_FALSE(form.groups[2].autoJudge);
    EXPECT_EQ(form.groups[2].controls[0].correctValue, "北京");
    EXPECT_EQ(CountJudgedGroups(form), 2);
}

TEST(ParseAnswerForm, HugePositionsAndSizesStopAtTheEndsOfInt) {
    const AnswerForm form = ParseAnswerForm("99999999999,-99999999999,300,-300,edit,\r\n", "");
    ASSERT_EQ(form.groups.size(), 1u);
    const AnswerControl& edit = form.groups[0].controls[0];
    EXPECT_EQ((std::vector<int>{edit.left, edit.top, edit.right, edit.bottom}),
              (std::vector<int>{INT_MAX, INT_MIN, INT_MAX, INT_MIN}));
}

TEST(ParseAnswerForm, ShortLinesAreSkippedWithoutShiftingValues) {
    const AnswerForm form = ParseAnswerForm(
        "0,0,10,10,edit,,a\r\n0,0,10,10,edit\r\n\r\n0,0,10,10,edit,,b", "x\r\ny\r\n");
    ASSERT_EQ(form.groups.size(), 1u);
    ASSERT_EQ(form.groups[0].controls.size(), 2u);
    EXPECT_EQ(form.groups[0].controls[0].learnerValue, "x");
    EXPECT_EQ(form.groups[0].controls[1].learnerValue, "y");
}

TEST(ParseAnswerForm, LinesApartAtALoneLineFeedReadAsTheProgramsOwn) {
    const char* own =
        "5,6,100,20,label,题目\r\n10,10,60,16,radio,A,0,group,auto\r\n80,10,60,16,radio,B,1";
    std::string other = own;
    ReplaceAll(other, "\r\n", "\n");
    const AnswerForm a = ParseAnswerForm(own, "\r\n0\r\n1\r\n");
    const AnswerForm b = ParseAnswerForm(other, "\r\n0\r\n1\r\n");
    ASSERT_EQ(b.groups.size(), 2u);
    EXPECT_EQ(ComposeAnswerText(b), ComposeAnswerText(a));
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(b, 4, false)), 4);
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(a, 4, false)), 4);
    EXPECT_EQ(b.groups[1].controls[1].caption, "B");
}

TEST(DescribeAnswer, PutsTheChosenOptionsAndTheTextBesideTheKey) {
    const char* choice =
        "0,0,9,9,label,选：\r\n0,0,9,9,check,A,1,group,auto\r\n0,0,9,9,check,B,0\r\n"
        "0,0,9,9,check,C,1\r\n0,0,9,9,edit,,长江,group,auto\r\n0,0,9,9,edit,,黄<\\r\\n>河";
    const struct {
        const char* description;
        const char* answer;
        const char* learner;
        const char* key;
    } cases[] = {
        {choice, "\r\n1\r\n1\r\n0\r\n 珠江 \r\n淮<\\r\\n>河\r\n", "A，B；珠江，淮 河",
         "A，C；长江，黄 河"},
        {choice, "", "未作答；未作答", "A，C；长江，黄 河"},
        {"0,0,9,9,label,只有说明", "", "", ""},
    };
    for (const auto& c : cases) {
        const AnswerBesideKey described = DescribeAnswer(ParseAnswerForm(c.description, c.answer));
        EXPECT_EQ(described.learner, c.learner) << c.answer;
        EXPECT_EQ(described.key, c.key) << c.answer;
    }
}

TEST(ParseAnswerForm, AnEmptyDescriptionHasNoGroups) {
    EXPECT_TRUE(ParseAnswerForm("", "").groups.empty());
    EXPECT_EQ(CountJudgedGroups(ParseAnswerForm("", "")), 0);
}

TEST(AnswerText, MultiLineEntriesAreStoredOnOneLineAndRestored) {
    AnswerForm form =
        ParseAnswerForm("0,0,100,60,editmutiline,,x,group\r\n0,70,10,10,check,c,1", "");
    form.groups[0].controls[0].learnerValue = "  a\r\nb ";
    form.groups[0].controls[1].learnerValue = "1";
    const std::string text = ComposeAnswerText(form);
    EXPECT_EQ(text, "a<\\r\\n>b\r\n1\r\n");
    const AnswerForm back =
        ParseAnswerForm("0,0,100,60,editmutiline,,x,group\r\n0,70,10,10,check,c,1", text);
    EXPECT_EQ(back.groups[0].controls[0].learnerValue, "a\r\nb");
    EXPECT_EQ(back.groups[0].controls[1].learnerValue, "1");
}

TEST(AnswerText, EachGroupEndsWithALineBreakAndLabelsHaveEmptyValues) {
    AnswerForm form = ParseAnswerForm(
        "0,0,1,1,label,L\r\n0,0,1,1,radio,A,1,group,auto\r\n0,0,1,1,radio,B,0\r\n"
        "0,0,1,1,edit,,x,group,auto\r\n0,0,1,1,misspelt,,",
        "");
    form.groups[1].controls[0].learnerValue = "0";
    form.groups[1].controls[1].learnerValue = "1";
    form.groups[2].controls[0].learnerValue = "v";
    form.groups[2].controls[1].learnerValue = "ignored";
    EXPECT_EQ(ComposeAnswerText(form), "\r\n0\r\n1\r\nv\r\n\r\n");
}

TEST(JudgeAnswerForm, TwoRadiosOfAnAutoGroup) {
    EXPECT_EQ(JudgeAnswerForm(ParseAnswerForm(kRadios, "1\r\n0\r\n"), 4, false).code, 0);
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(kRadios, "1\r\n0\r\n"), 4, false)), 4);
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(kRadios, "0\r\n1\r\n"), 4, false)), 0);
    EXPECT_EQ(JudgeGroup(ParseAnswerForm(kRadios, "0\r\n1\r\n").groups[0]), kWrong);
    EXPECT_EQ(JudgeAnswerForm(ParseAnswerForm(kRadios, "0\r\n0\r\n"), 4, false).code, kNotAnswered);
    EXPECT_EQ(JudgeAnswerForm(ParseAnswerForm(kRadios, ""), 4, false).code, kNotAnswered);
}

TEST(JudgeAnswerForm, AGroupWithoutAutoNeedsHandScoringOnceAnswered) {
    const std::string hand = "10,10,60,16,radio,A,1,group\r\n80,10,60,16,radio,B,0";
    EXPECT_EQ(JudgeAnswerForm(ParseAnswerForm(hand, "0\r\n1\r\n"), 4, true).code,
              kNeedsHandScoring);
    EXPECT_EQ(JudgeAnswerForm(ParseAnswerForm(hand, "0\r\n0\r\n"), 4, false).code, kNotAnswered);
    EXPECT_FALSE(JudgeAnswerForm(ParseAnswerForm(hand, "0\r\n1\r\n"), 4, true).SetsScore());
}

TEST(JudgeAnswerForm, EditsCompareTrimmedAndWithoutRegardToLatinCase) {
    const std::string one = "0,0,200,20,edit,,北京";
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(one, "北京\r\n"), 2, false)), 2);
    AnswerForm blanks = ParseAnswerForm(one, "");
    blanks.groups[0].controls[0].learnerValue = "  北京 ";
    EXPECT_FLOAT_EQ(
        Score(JudgeAnswerForm(ParseAnswerForm(one, ComposeAnswerText(blanks)), 2, false)), 2);
    EXPECT_FLOAT_EQ(
        Score(JudgeAnswerForm(ParseAnswerForm("0,0,9,9,edit,,Ca(OH)2", "ca(oh)2\r\n"), 2, false)),
        2);
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(one, "南京\r\n"), 2, false)), 0);
}

TEST(JudgeAnswerForm, MultiLineAnswersCompareInTheirStoredForm) {
    const std::string lines = "0,0,200,60,editmutiline,,a<\\r\\n>b,group,auto";
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(lines, "a<\\r\\n>b\r\n"), 2, false)), 2);
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(lines, "ab\r\n"), 2, false)), 0);
}

TEST(JudgeAnswerForm, GroupsShareTheFullMarks) {
    const std::string two = "0,0,9,9,edit,,a,group,auto\r\n0,0,9,9,edit,,b,group,auto";
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(two, "a\r\nx\r\n"), 3, false)), 1.5f);
    EXPECT_EQ(JudgeAnswerForm(ParseAnswerForm(two, "a\r\n\r\n"), 3, false).code, kNotAnswered);
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(two, "a\r\n\r\n"), 3, true)), 1.5f);
}

TEST(JudgeAnswerForm, LabelsOnlyGiveNothingToJudgeAndAZeroScore) {
    const Judgement judgement = JudgeAnswerForm(ParseAnswerForm("0,0,9,9,label,x", ""), 5, true);
    EXPECT_EQ(judgement.code, kNothingToJudge);
    EXPECT_TRUE(judgement.SetsScore());
    EXPECT_FLOAT_EQ(judgement.score, 0);
}

TEST(JudgeAnswerForm, AMisspeltKindIsJudgedLikeAnInputButNeverAnswersAGroup) {
    const std::string form = "0,0,9,9,radio,A,1,group,auto\r\n0,0,9,9,raido,B,x";
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(form, "1\r\nx\r\n"), 2, false)), 2);
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(form, "1\r\n\r\n"), 2, false)), 0);
    EXPECT_EQ(JudgeAnswerForm(ParseAnswerForm(form, "0\r\nx\r\n"), 2, false).code, kNotAnswered);
    const std::string empty = "0,0,9,9,edit,,a\r\n0,0,9,9,typo,,";
    EXPECT_FLOAT_EQ(Score(JudgeAnswerForm(ParseAnswerForm(empty, "a\r\n"), 2, false)), 2);
}

}  // namespace
}  // namespace quillory
