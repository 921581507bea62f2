#include <gtest/gtest.h>

#include "core/common/gb_encoding.h"
#include "core/exchange/question_file.h"
#include "exchange_files.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

TEST(MarkedText, ReadsATextFileOfHeadingsQuestionsAndMarkers) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("试卷.txt"));
    ASSERT_EQ(reading.questions.size(), 3u);
    const auto& q = reading.questions;
    EXPECT_EQ(q[0].place.Short(), "2");
    EXPECT_EQ(q[0].kind, QuestionKind::FillBlank);
    EXPECT_EQ(q[0].section, "填空题");
    EXPECT_EQ(q[0].blanks, (std::vector<std::vector<std::string>>{{"12"}, {"7"}}));
    EXPECT_EQ(q[1].blanks, std::vector<std::vector<std::string>>{{"H₂O"}});
    EXPECT_EQ(q[1].level, 1);
    EXPECT_EQ(q[2].kind, QuestionKind::MultipleChoice);
    EXPECT_EQ(q[2].options, (std::vector<std::string>{"鲸", "鲨鱼", "蝙蝠", "企鹅"}));
    EXPECT_EQ(q[2].rightOptions, (std::vector<int>{0, 2}));
    EXPECT_EQ(testing::Texts(reading.problems),
              std::vector<std::string>{"试卷.txt:10 答案中的选项 E 不存在"});
}

// Each text and what its first question reads as: kind, stem, options, key.
TEST(MarkedText, TakesTheWaysTeachersNumberMarkAndHead) {
    struct Case {
        const char* text;
        QuestionKind kind;
        const char* stem;
        std::vector<std::string> options;
        std::vector<int> right;
    };
    const QuestionKind single = QuestionKind::SingleChoice;
    const Case cases[] = {
        {"1、题\nA、甲\nB、乙\n答案：B", single, "题", {"甲", "乙"}, {1}},
        {"（1）题\n(A) 甲 (B) 乙\n【答案】A", single, "题", {"甲", "乙"}, {0}},
        {"1．题\nＡ．甲　Ｂ．乙\n答案:b", single, "题", {"甲", "乙"}, {1}},
        {"1.题 A.甲 B.乙\n【答案】A", single, "题", {"甲", "乙"}, {0}},
        {"1.题\nA)甲\nB)乙\n【答案】A【解析】因为", single, "题", {"甲", "乙"}, {0}},
        {"1.（3分）题\nA.甲\nB.乙\n【答案】A", single, "题", {"甲", "乙"}, {0}},
        {"一、判断题\n1. 地球是圆的。\n【答案】√", QuestionKind::TrueFalse, "地球是圆的。", {}, {}},
        {"判断题\n1. 地球是圆的。\n【答案】√", QuestionKind::TrueFalse, "地球是圆的。", {}, {}},
        {"1. 题\n第二行\nA. 1.5 千克\nB. 2 千克\n答案：A",
         single,
         "题<br>第二行",
         {"1.5 千克", "2 千克"},
         {0}},
    };
    for (const Case& c : cases) {
        const ImportReading reading = ReadQuestionBytes(c.text, "卷.txt");
        ASSERT_FALSE(reading.questions.empty()) << c.text;
        const ImportedQuestion& q = reading.questions[0];
        EXPECT_EQ(q.kind, c.kind) << c.text;
        EXPECT_EQ(q.stem, c.stem) << c.text;
        EXPECT_EQ(q.options, c.options) << c.text;
        EXPECT_EQ(q.rightOptions, c.right) << c.text;
    }
}

TEST(MarkedText, KeepsNumberedStepsOfAnAnalysisInIt) {
    const ImportReading reading = ReadQuestionBytes(
        "三、解答题（每题10分）\n1. 求解。\n【答案】2\n【详解】\n1. 移项；\n2. 相除。\n"
        "【点睛】注意符号。\n2. 再求。\n【答案】3",
        "卷.txt");
    ASSERT_EQ(reading.questions.size(), 2u);
    EXPECT_EQ(reading.questions[0].analysis, "1. 移项；<br>2. 相除。<br>点睛：注意符号。");
    EXPECT_EQ(reading.questions[0].score, 10.0);
    EXPECT_EQ(reading.questions[1].stem, "再求。");
    EXPECT_EQ(reading.questions[1].section, "解答题");
}

TEST(MarkedText, ReadsGb18030AndWarnsOfTextOutsideQuestions) {
    const ImportReading reading =
        ReadQuestionBytes(Utf8ToGb("期中考试\n\n1. 题\n答案：对\n"), "卷.txt");
    ASSERT_EQ(reading.questions.size(), 1u);
    EXPECT_EQ(reading.questions[0].place.Short(), "3");
    EXPECT_EQ(testing::Texts(reading.warnings),
              std::vector<std::string>{"卷.txt:1 有 1 段文字不属于任何题目，未导入（第一段在此）"});
    EXPECT_EQ(testing::Texts(ReadQuestionBytes("只有一段话", "卷.txt").problems),
              std::vector<std::string>{
                  "卷.txt 没有找到题目：每道题要以“1.”“1、”或“（1）”这样的题号开头"});
}

TEST(DocxReader, ReadsParagraphsAndPictures) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("试卷.docx"));
    EXPECT_TRUE(reading.problems.empty())
        << ::testing::PrintToString(testing::Texts(reading.problems));
    ASSERT_EQ(reading.questions.size(), 4u);
    const auto& q = reading.questions;
    EXPECT_EQ(q[0].place.Short(), "3");
    EXPECT_EQ(q[0].section, "单项选择题");
    EXPECT_EQ(q[0].stem, "如图，三角形的内角和是<br><img src=\"image1.png\">");
    ASSERT_EQ(q[0].media.size(), 1u);
    EXPECT_EQ(q[0].media[0].name, "image1.png");
    EXPECT_TRUE(q[0].media[0].bytes.starts_with("\x89PNG"));
    EXPECT_EQ(q[0].options, (std::vector<std::string>{"90°", "180°", "270°", "360°"}));
    EXPECT_EQ(q[0].score, 2.0);
    EXPECT_EQ(q[1].options, (std::vector<std::string>{"4", "6", "7"}));
    EXPECT_EQ(q[1].rightOptions, std::vector<int>{2});
    EXPECT_EQ(q[2].kind, QuestionKind::TrueFalse);
    EXPECT_EQ(q[2].stem, "0 是自然数。");
    EXPECT_EQ(q[2].knowledgePaths, std::vector<std::string>{"数学/数"});
    EXPECT_EQ(q[3].kind, QuestionKind::Manual);
    EXPECT_EQ(q[3].referenceAnswer, "x = 2 或 x = -2");
    EXPECT_EQ(q[3].analysis, "开平方：<br>1. 两边开方；<br>点睛：注意负根。");
}

TEST(DocxReader, TakesWordsOwnNumberingOfQuestionsAndOptions) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("自动编号.docx"));
    ASSERT_EQ(reading.questions.size(), 2u);
    EXPECT_EQ(reading.questions[1].place.Short(), "6");
    EXPECT_EQ(reading.questions[1].stem, "水在几度结冰？");
    EXPECT_EQ(reading.questions[1].options, (std::vector<std::string>{"0 ℃", "100 ℃"}));
    EXPECT_EQ(reading.questions[1].rightOptions, std::vector<int>{0});
}

}  // namespace
}  // namespace quillory
