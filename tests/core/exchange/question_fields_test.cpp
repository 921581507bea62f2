#include <gtest/gtest.h>

#include "core/exchange/question_fields.h"

namespace quillory {
namespace {

TEST(ReadTypeWords, NamesTheKindsInTheirCommonVariants) {
    const std::pair<const char*, TypeWords> cases[] = {
        {"单选题", TypeWords::Single},
        {"单项选择题（每题2分）", TypeWords::Single},
        {"多选题", TypeWords::Multiple},
        {"多项选择题", TypeWords::Multiple},
        {"不定项选择题", TypeWords::Multiple},
        {"选择题", TypeWords::Choice},
        {"判断题", TypeWords::TrueFalse},
        {"是非题", TypeWords::TrueFalse},
        {"填空题", TypeWords::FillBlank},
        {"简答题", TypeWords::Manual},
        {"问答题", TypeWords::Manual},
        {"解答题", TypeWords::Manual},
        {"论述题", TypeWords::Manual},
        {"材料分析题", TypeWords::Manual},
        {"计算题", TypeWords::Manual},
        {" single ", TypeWords::Single},
        {"", TypeWords::Unknown},
        {"其他", TypeWords::Unknown},
    };
    for (const auto& [words, kind] : cases) {
        EXPECT_EQ(ReadTypeWords(words), kind) << words;
    }
}

TEST(ReadChoiceKey, TakesTheWaysTeachersWriteLetters) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"A", {0}},      {"ABC", {0, 1, 2}}, {"A,B", {0, 1}},    {"A、C", {0, 2}},
        {"A B", {0, 1}}, {"b", {1}},         {"Ａ，Ｃ", {0, 2}}, {"CA", {0, 2}},
        {" d ", {3}},    {"A；B", {0, 1}},   {"AAB", {0, 1}},
    };
    for (const auto& [key, letters] : cases) {
        ASSERT_TRUE(ReadChoiceKey(key)) << key;
        EXPECT_EQ(*ReadChoiceKey(key), letters) << key;
    }
    for (const char* key : {"", "对", "A1", "A.", "北京", ","}) {
        EXPECT_FALSE(ReadChoiceKey(key)) << key;
    }
}

TEST(ReadTrueFalseKey, TakesTheMarksOfRightAndWrong) {
    for (const char* key : {"对", "√", "T", "t", "正确", "TRUE", "是", "Ｔ", "对。"}) {
        EXPECT_EQ(ReadTrueFalseKey(key), true) << key;
    }
    for (const char* key : {"错", "×", "F", "错误", "FALSE", "否", "X"}) {
        EXPECT_EQ(ReadTrueFalseKey(key), false) << key;
    }
    for (const char* key : {"", "A", "对错", "1"}) {
        EXPECT_FALSE(ReadTrueFalseKey(key)) << key;
    }
}

TEST(SplitBlanks, SeparatesByBarSemicolonOrBrackets) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"北京|上海", {"北京", "上海"}},
        {"北京 ｜ 上海", {"北京", "上海"}},
        {"北京；上海", {"北京", "上海"}},
        {"12;7", {"12", "7"}},
        {"(12)(7)", {"12", "7"}},
        {"（北京）（上海）", {"北京", "上海"}},
        {"(1, 2)", {"1, 2"}},
        {"f(x)", {"f(x)"}},
        {"(1)+(2)", {"(1)+(2)"}},
        {"北京", {"北京"}},
        {"a||b", {"a", "", "b"}},
    };
    for (const auto& [key, blanks] : cases) {
        EXPECT_EQ(SplitBlanks(key), blanks) << key;
    }
}

TEST(ReadLevelAndScore, TakeWordsDigitsAndUnits) {
    const std::pair<const char*, std::optional<int>> levels[] = {
        {"易", 1},
        {"较易", 2},
        {"中", 3},
        {"中等", 3},
        {"较难", 4},
        {"难", 5},
        {"1", 1},
        {"５", 5},
        {"★★", 2},
        {"6", std::nullopt},
        {"0", std::nullopt},
        {"很难", std::nullopt},
    };
    for (const auto& [text, level] : levels) {
        EXPECT_EQ(ReadLevel(text), level) << text;
    }
    const std::pair<const char*, std::optional<double>> scores[] = {
        {"2", 2.0},
        {"2.5", 2.5},
        {"3分", 3.0},
        {"２", 2.0},
        {" 4 分", 4.0},
        {"0", std::nullopt},
        {"-1", std::nullopt},
        {"两分", std::nullopt},
        {"1e9", std::nullopt},
        {"nan", std::nullopt},
        {"2x", std::nullopt},
    };
    for (const auto& [text, score] : scores) {
        EXPECT_EQ(ReadScore(text), score) << text;
    }
}

TEST(SplitKnowledgePaths, SplitsListsAndTrimsEachPart) {
    EXPECT_EQ(SplitKnowledgePaths("数学 / 函数 /二次函数"),
              std::vector<std::string>{"数学/函数/二次函数"});
    EXPECT_EQ(SplitKnowledgePaths("代数；几何,概率\n统计，代数"),
              (std::vector<std::string>{"代数", "几何", "概率", "统计"}));
    EXPECT_EQ(SplitKnowledgePaths("数学／集合"), std::vector<std::string>{"数学/集合"});
    EXPECT_TRUE(SplitKnowledgePaths(" ; / ").empty());
}

QuestionFields Fields(const char* type, const char* stem, std::vector<std::string> options,
                      const char* key) {
    QuestionFields fields;
    fields.place = SourcePlace{"题库.xlsx", "第一章", 5, 0};
    fields.typeWords = type;
    fields.stem = stem;
    fields.options = std::move(options);
    fields.key = key;
    return fields;
}

TEST(AddQuestion, GuessesTheKindFromTheKeyWhenTheTypeIsMissing) {
    const std::vector<std::string> abcd = {"1", "2", "3", "4"};
    const std::tuple<QuestionFields, QuestionKind> cases[] = {
        {Fields("", "题", abcd, "B"), QuestionKind::SingleChoice},
        {Fields("", "题", abcd, "B,D"), QuestionKind::MultipleChoice},
        {Fields("", "题", {}, "√"), QuestionKind::TrueFalse},
        {Fields("", "题", {}, "F"), QuestionKind::TrueFalse},
        {Fields("", "首都是____。", {}, "北京"), QuestionKind::FillBlank},
        {Fields("", "首都和最大城市", {}, "北京|上海"), QuestionKind::FillBlank},
        {Fields("", "谈谈你的看法。", {}, "言之有理即可"), QuestionKind::Manual},
        {Fields("选择题", "题", abcd, "AC"), QuestionKind::MultipleChoice},
        {Fields("组合题", "题", abcd, "A"), QuestionKind::SingleChoice},
        // 判断题 written as a choice between 正确 and 错误.
        {Fields("判断题", "题", {"正确", "错误"}, "B"), QuestionKind::TrueFalse},
        // A key that names the option by its text.
        {Fields("单选题", "题", abcd, "3"), QuestionKind::SingleChoice},
    };
    for (const auto& [fields, kind] : cases) {
        ImportReading reading;
        AddQuestion(fields, reading);
        ASSERT_EQ(reading.questions.size(), 1u) << fields.stem << " " << fields.key;
        EXPECT_EQ(reading.questions[0].kind, kind) << fields.key;
    }
}

TEST(AddQuestion, RefusesWhatTheBankCouldNotJudgeNamingThePlace) {
    const std::vector<std::string> abcd = {"1", "2", "3", "4"};
    const std::pair<QuestionFields, const char*> cases[] = {
        {Fields("单选题", "题", abcd, "E"), "答案中的选项 E 不存在"},
        {Fields("单选题", "题", abcd, "AB"), "单选题有多个答案“AB”"},
        {Fields("单选题", "", abcd, "A"), "没有题干"},
        {Fields("多选题", "题", abcd, ""), "没有答案"},
        {Fields("填空题", "题", {}, ""), "没有答案"},
        {Fields("判断题", "题", {}, "也许"),
         "判断题的答案“也许”无法识别（可写 对/错、√/×、T/F、正确/错误）"},
        {Fields("单选题", "题", {"1"}, "A"), "选择题至少要有两个选项"},
        {Fields("单选题", "题", {"1", "", "3"}, "A"), "选项 B 是空的"},
        {Fields("单选题", "题", abcd, "北京"), "答案“北京”不是选项字母"},
        {Fields("填空题", "题", {}, "a||b"), "第 2 空没有答案"},
        {Fields("", "题", {}, "A"), "选择题至少要有两个选项"},
    };
    for (const auto& [fields, text] : cases) {
        ImportReading reading;
        AddQuestion(fields, reading);
        EXPECT_TRUE(reading.questions.empty()) << text;
        ASSERT_EQ(reading.problems.size(), 1u) << text;
        EXPECT_EQ(reading.problems[0].text, text);
        EXPECT_EQ(reading.problems[0].place.Text(), "题库.xlsx:第一章:5");
    }
}

TEST(AddQuestion, KeepsTheTextsAsHtmlAndWarnsOfWhatItDrops) {
    QuestionFields fields = Fields("简答题", "若 a<b & b<c，\n则 $a<c$？", {}, "成立");
    fields.score = "两分";
    fields.difficulty = "很难";
    fields.defaultScore = 4;
    ImportReading reading;
    AddQuestion(fields, reading);
    ASSERT_EQ(reading.questions.size(), 1u);
    const ImportedQuestion& q = reading.questions[0];
    EXPECT_EQ(q.stem, "若 a&lt;b &amp; b&lt;c，<br>则 $a&lt;c$？");
    EXPECT_EQ(q.referenceAnswer, "成立");
    EXPECT_EQ(q.score, 4.0);
    EXPECT_FALSE(q.level);
    ASSERT_EQ(reading.warnings.size(), 2u);
    EXPECT_EQ(reading.warnings[0].text, "分值“两分”无法识别，按默认分值");
    EXPECT_EQ(reading.warnings[1].text, "难度“很难”无法识别，已忽略");
}

}  // namespace
}  // namespace quillory
