#include <gtest/gtest.h>

#include "core/exchange/question_file.h"
#include "exchange_files.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

// The same workbook saved by a spreadsheet program as .xlsx and as .ods.
class Workbook : public ::testing::TestWithParam<const char*> {};

TEST_P(Workbook, ReadsEachRowOfEachSheetWithTheHeaderFoundByItsNames) {
    const std::string name = std::string("题库.") + GetParam();
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile(name));
    EXPECT_TRUE(reading.problems.empty())
        << ::testing::PrintToString(testing::Texts(reading.problems));
    ASSERT_EQ(reading.questions.size(), 7u);
    const auto& q = reading.questions;

    EXPECT_EQ(q[0].place.Short(), "第一章!3");
    EXPECT_EQ(q[0].sourceKey, "1");
    EXPECT_EQ(q[0].kind, QuestionKind::SingleChoice);
    EXPECT_EQ(q[0].typeTitle, "单选题");
    EXPECT_EQ(q[0].options, (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(q[0].rightOptions, std::vector<int>{1});
    EXPECT_EQ(q[0].analysis, "基本加法。");
    EXPECT_EQ(q[0].knowledgePaths, std::vector<std::string>{"数学/算术/加法"});
    EXPECT_EQ(q[0].score, 2.0);  // =1+1, its shown value
    EXPECT_EQ(q[0].level, 1);
    EXPECT_EQ(q[0].section, "第一章");

    EXPECT_EQ(q[1].kind, QuestionKind::MultipleChoice);
    EXPECT_EQ(q[1].rightOptions, (std::vector<int>{0, 2}));  // "a、c"
    // The empty row between is skipped; rows keep the numbers the sheet shows.
    EXPECT_EQ(q[2].place.Short(), "第一章!6");
    EXPECT_EQ(q[2].kind, QuestionKind::TrueFalse);
    EXPECT_TRUE(q[2].trueFalseKey);
    EXPECT_EQ(q[2].stem, "$x^2 \\geq 0$ 对所有实数成立。");
    EXPECT_EQ(q[2].knowledgePaths, (std::vector<std::string>{"数学/代数", "数学/不等式"}));
    EXPECT_EQ(q[3].kind, QuestionKind::FillBlank);
    EXPECT_EQ(q[3].blanks, (std::vector<std::vector<std::string>>{{"北京"}, {"上海"}}));
    EXPECT_EQ(q[3].level, 4);
    EXPECT_EQ(q[4].kind, QuestionKind::Manual);
    EXPECT_EQ(q[4].stem, "简述勾股定理。<br>（写出公式）");
    EXPECT_EQ(q[4].referenceAnswer, "a² + b² = c²");

    // A sheet without 题型 or 序号: kinds from the keys.
    EXPECT_EQ(q[5].place.Short(), "第二章!2");
    EXPECT_EQ(q[5].sourceKey, "");
    EXPECT_EQ(q[5].kind, QuestionKind::SingleChoice);
    EXPECT_EQ(q[5].rightOptions, std::vector<int>{2});  // "Ｃ"
    EXPECT_EQ(q[6].kind, QuestionKind::TrueFalse);
    EXPECT_FALSE(q[6].trueFalseKey);

    EXPECT_EQ(testing::Texts(reading.warnings),
              (std::vector<std::string>{
                  name + ":第一章:2 不认识的列“备注”，未导入",
                  name + ":第一章:3 单元格 K3 是公式，按显示的值“2”导入（此列以下同）",
                  name + ":说明 工作表没有找到表头（题干一列），未导入",
              }));
}

INSTANTIATE_TEST_SUITE_P(XlsxAndOds, Workbook, ::testing::Values("xlsx", "ods"));

TEST(SpreadsheetReader, ReadsACsvSavedInGb18030) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("题库.csv"));
    EXPECT_TRUE(reading.problems.empty())
        << ::testing::PrintToString(testing::Texts(reading.problems));
    ASSERT_EQ(reading.questions.size(), 3u);
    EXPECT_EQ(reading.questions[0].place.Short(), "题库!2");
    EXPECT_EQ(reading.questions[0].stem, "“中”字有几画？");
    EXPECT_EQ(reading.questions[0].rightOptions, std::vector<int>{1});
    EXPECT_EQ(reading.questions[0].analysis, "四画。");
    EXPECT_EQ(reading.questions[1].kind, QuestionKind::MultipleChoice);
    EXPECT_EQ(reading.questions[1].options.size(), 3u);
    EXPECT_EQ(reading.questions[2].stem, "地球是圆的，<br>大致如此。");
    EXPECT_TRUE(reading.questions[2].trueFalseKey);
}

TEST(SpreadsheetReader, TakesAUtf8CsvWithItsBom) {
    const ImportReading reading =
        ReadQuestionBytes("\xEF\xBB\xBF题干,答案\n北京是首都。,对\n", "表.csv");
    ASSERT_EQ(reading.questions.size(), 1u);
    EXPECT_EQ(reading.questions[0].kind, QuestionKind::TrueFalse);
}

TEST(SpreadsheetReader, ReadsWindowsLineEndsAndRefusesAMalformedCsv) {
    const ImportReading crlf =
        ReadQuestionBytes("题干,答案\r\n\"甲,乙\",对\r\n丁,错\r\n", "表.csv");
    ASSERT_EQ(crlf.questions.size(), 2u);
    EXPECT_EQ(crlf.questions[0].stem, "甲,乙");
    EXPECT_EQ(crlf.questions[1].place.Short(), "表!3");
    EXPECT_EQ(
        testing::Texts(ReadQuestionBytes("题干,答案\n\"甲\"乙,对\n丁,错\n", "表.csv").problems),
        std::vector<std::string>{
            "表.csv:表:2 这一行的格式有误（引号不成对？），无法作为 CSV 读取"});
}

TEST(SpreadsheetReader, RefusesRowsWithoutTheirValueAndSheetsItCannotRead) {
    EXPECT_EQ(testing::Texts(ReadQuestionFile(testing::ExchangeFile("合并单元格.xlsx")).problems),
              std::vector<std::string>{"合并单元格.xlsx:合并:2 合并单元格 A2:A3 "
                                       "跨了几行，每道题要各自填写，请取消合并后再导入"});
    EXPECT_EQ(testing::Texts(ReadQuestionFile(testing::ExchangeFile("内嵌文字.xlsx")).problems),
              std::vector<std::string>{"内嵌文字.xlsx 工作簿的文字以本程序读不了的方式保存，请用 "
                                       "Excel、WPS 或 LibreOffice 打开后另存为 .xlsx 再导入"});
    EXPECT_EQ(testing::Texts(ReadQuestionBytes("题干,答案\n甲,A\n", "表.csv").problems),
              std::vector<std::string>{"表.csv:表:2 选择题至少要有两个选项"});
    EXPECT_EQ(
        testing::Texts(ReadQuestionBytes("序号,题干,答案\n1,甲,对\n1,乙,错\n", "表.csv").problems),
        std::vector<std::string>{"表.csv:表:3 序号“1”与第 2 行重复"});
    EXPECT_EQ(
        testing::Texts(ReadQuestionBytes("名字,分数\n甲,1\n", "表.csv").problems),
        std::vector<std::string>{"表.csv 没有找到表头：需要一行写着“题干”（或“题目”）等列名"});
}

TEST(SpreadsheetReader, RefusesHugeCellsAndEndlessRows) {
    EXPECT_EQ(testing::Texts(
                  ReadQuestionBytes("题干\n" + std::string(300000, 'x') + "\n", "表.csv").problems),
              std::vector<std::string>{"表.csv 工作表“表”第 2 行有一个单元格的内容过长，已拒绝"});
    std::string rows = "题干,答案\n";
    for (int i = 0; i < 100001; ++i) {
        rows += "a\n";
    }
    EXPECT_EQ(testing::Texts(ReadQuestionBytes(rows, "表.csv").problems),
              std::vector<std::string>{"表.csv 工作表“表”超过 100000 行，已拒绝"});
}

}  // namespace
}  // namespace quillory
