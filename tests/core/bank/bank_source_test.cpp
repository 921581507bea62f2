#include <gtest/gtest.h>

#include "core/bank/bank_source.h"

namespace quillory {
namespace {

using namespace std::string_view_literals;

std::vector<BankRecord> Parse(std::string_view text) {
    std::vector<BankRecord> records;
    BankError error;
    EXPECT_TRUE(ParseBankText(text, "questions.txt", records, &error)) << error.Text();
    return records;
}

BankError ParseError(std::string_view text) {
    std::vector<BankRecord> records;
    BankError error;
    EXPECT_FALSE(ParseBankText(text, "questions.txt", records, &error)) << text;
    return error;
}

const BankValue* Find(const BankRecord& record, std::string_view column) {
    for (const BankValue& value : record.values) {
        if (value.column->name == column) {
            return &value;
        }
    }
    return nullptr;
}

TEST(ParseBankText, ReadsRecordsWithTrimmedValuesAndTheSchemaSpelling) {
    const auto records = Parse(
        "# a comment\n"
        "\n"
        "[question 200101]\n"
        "  typeid =  1  \n"
        "   # an indented comment\n"
        "KeyWord = 长江, 河流\n"
        "[Paper 100001]\n"
        "Title = It's = fine\n"
        "IsQuestion = TRUE\n"
        "IsReference = 0\n"
        "Score = 2.5\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_STREQ(records[0].table->name, "Question");
    EXPECT_EQ(records[0].id, 200101);
    EXPECT_EQ(records[0].line, 3);
    ASSERT_EQ(records[0].values.size(), 2u);
    EXPECT_STREQ(records[0].values[0].column->name, "TypeID");
    EXPECT_EQ(records[0].values[0].text, "1");
    EXPECT_EQ(records[0].values[0].line, 4);
    EXPECT_EQ(Find(records[0], "KeyWord")->text, "长江, 河流");
    EXPECT_EQ(Find(records[1], "Title")->text, "It's = fine");
    EXPECT_EQ(Find(records[1], "IsQuestion")->text, "1");
    EXPECT_EQ(Find(records[1], "IsReference")->text, "0");
    EXPECT_EQ(Find(records[1], "Score")->text, "2.5");
}

TEST(ParseBankText, JoinsMultiLineValuesWithCrLfAndKeepsTheirLinesVerbatim) {
    const auto records = Parse(
        "[Question 200101]\n"
        "Answer <<\n"
        "10,10,300,20,label,选择:\n"
        "  # not a comment here  \n"
        "\n"
        "10,40,200,20,radio,A,1,group,auto\n"
        ">>\n"
        "Url = Question/200101.html\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Find(records[0], "Answer")->text,
              "10,10,300,20,label,选择:\r\n  # not a comment here  \r\n\r\n"
              "10,40,200,20,radio,A,1,group,auto");
    EXPECT_EQ(Find(records[0], "Url")->text, "Question/200101.html");
}

TEST(ParseBankText, ReadsFilesWithCrLfLinesAndAByteOrderMark) {
    const auto records = Parse(
        "\xEF\xBB\xBF[Question 200101]\r\n"
        "Answer <<\r\n"
        "a\r\n"
        "b\r\n"
        ">>\r\n"
        "Level = 2\r\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Find(records[0], "Answer")->text, "a\r\nb");
    EXPECT_EQ(Find(records[0], "Level")->text, "2");
}

TEST(ParseBankText, AnEmptyMultiLineValueIsEmpty) {
    const auto records = Parse("[Question 200101]\nAnswer <<\n>>\n");
    EXPECT_EQ(Find(records[0], "Answer")->text, "");
}

TEST(ParseBankText, ReportsEachProblemAtItsLine) {
    struct Case {
        std::string_view text;
        int line;
        const char* fragment;
    };
    const Case cases[] = {
        {"Title = x\n", 1, "text outside a record"},
        {"# c\n[Question 1]\n[Quest 2]\n", 3, "unknown table \"Quest\""},
        {"[Question 1]\nTitle = x\n", 2, "\"Title\" is not a column of Question"},
        {"[Question 1]\nID = 5\n", 2, "record header"},
        {"[Question 1]\nLevel = 2a\n", 2, "Level: \"2a\" is not a whole number"},
        {"[Question 1]\nLevel = 99999999999\n", 2, "not a whole number"},
        {"[Paper 1]\n\nScore = 1,5\n", 3, "Score: \"1,5\" is not a number"},
        {"[Paper 1]\nIsQuestion = yes\n", 2, "not true, false, 1 or 0"},
        {"[Question x1]\n", 1, "\"x1\" is not a whole number ID"},
        {"[Question 1\n", 1, "[Table ID]"},
        {"[Question 1 2]\n", 1, "[Table ID]"},
        {"[Question 1]\nLevel 2\n", 2, "Column = value"},
        {"[Question 1]\nLevel = 1\nlevel = 2\n", 3, "Level is given twice"},
        {"[Question 1]\nLevel = 1\n[Question 2]\n[question 1]\n", 4,
         "Question 1 appears twice (first at questions.txt:1)"},
        {"[Question 1]\nAnswer <<\na\nb\n", 2, "\"Answer <<\" has no closing \">>\""},
        {"[Question 1]\nAnswer <<\na\n >>\n", 2, "no closing"},
        {"[Paper 1]\nScore <<\nx\n>>\n", 2, "Score: \"x\" is not a number"},
        {"[Question 1]\nKeyWord = \xE9\x95\n", 2, "not valid UTF-8"},
        {"[QuestionType 1]\n\nTitle = a\0b\n"sv, 3, "a NUL byte"},
        {"[Question 1]\nAnswer <<\nx\ny\0\n>>\n"sv, 4, "a NUL byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const BankError error = ParseError(c.text);
        EXPECT_EQ(error.file, "questions.txt");
        EXPECT_EQ(error.line, c.line);
        EXPECT_NE(error.message.find(c.fragment), std::string::npos) << error.message;
        EXPECT_EQ(error.Text().rfind("questions.txt:" + std::to_string(c.line) + ": ", 0), 0u);
    }
}

TEST(ParseBankText, FindsADuplicateIdInAnEarlierFileButAllowsItInAnotherTable) {
    std::vector<BankRecord> records;
    BankError error;
    ASSERT_TRUE(
        ParseBankText("[Knowledge 300101]\n[Question 300101]\n", "knowledge.txt", records, &error))
        << error.Text();
    EXPECT_FALSE(ParseBankText("\n[KNOWLEDGE 300101]\n", "more.txt", records, &error));
    EXPECT_EQ(error.Text(),
              "more.txt:2: Knowledge 300101 appears twice (first at knowledge.txt:1)");
}

TEST(ParseBankText, EachFileMustBeginItsOwnRecord) {
    std::vector<BankRecord> records;
    BankError error;
    ASSERT_TRUE(ParseBankText("[Question 1]\n", "a.txt", records, &error));
    EXPECT_FALSE(ParseBankText("Level = 1\n", "b.txt", records, &error));
    EXPECT_EQ(error.line, 1);
    EXPECT_EQ(records.size(), 1u);
}

}  // namespace
}  // namespace quillory
