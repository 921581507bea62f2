// The quiz systems' text formats: a GIFT and an Aiken file as they export
// them, what each reader refuses, and which reader a .txt file gets.
#include <gtest/gtest.h>

#include "core/exchange/question_file.h"
#include "core/exchange/text_format_guess.h"
#include "exchange_files.h"

namespace quillory {
namespace {

using Blanks = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

TEST(GiftReader, ReadsEveryKindAsAQuizSystemExportsIt) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("测验.gift"));
    const struct {
        int line;
        QuestionKind kind;
        const char* key;
        const char* section;  // also the knowledge path's last part
    } expected[] = {
        {5, QuestionKind::SingleChoice, "一元二次方程", "代数"},
        {14, QuestionKind::MultipleChoice, "M2", "代数"},
        {16, QuestionKind::TrueFalse, "判断", "代数"},
        {18, QuestionKind::FillBlank, "首都", "代数"},
        {20, QuestionKind::FillBlank, "方程填空", "代数"},
        {22, QuestionKind::SingleChoice, "太阳", "代数"},
        {24, QuestionKind::Matching, "配对", "代数"},
        {31, QuestionKind::Manual, "作文", "代数"},
        {36, QuestionKind::TrueFalse, "转义", "代数"},
        {40, QuestionKind::FillBlank, "圆周率", "物理"},
        {42, QuestionKind::FillBlank, "范围", "物理"},
        {44, QuestionKind::FillBlank, "部分得分", "物理"},
        {46, QuestionKind::TrueFalse, "", "物理"},
    };
    ASSERT_EQ(reading.questions.size(), std::size(expected));
    for (size_t n = 0; n < std::size(expected); ++n) {
        const ImportedQuestion& q = reading.questions[n];
        EXPECT_EQ(q.place.line, expected[n].line) << n;
        EXPECT_EQ(q.kind, expected[n].kind) << n;
        EXPECT_EQ(q.sourceKey, expected[n].key) << n;
        EXPECT_EQ(q.section, expected[n].section) << n;
        EXPECT_EQ(q.knowledgePaths,
                  Strings{std::string(q.section == "代数" ? "数学/" : "") + expected[n].section})
            << n;
    }
    const auto& q = reading.questions;
    EXPECT_EQ(q[0].stem, "<p>方程 $x^2=4$ 的解是</p>");
    EXPECT_EQ(q[0].options, (Strings{"$x=\\pm 2$", "$x=2$", "$\\frac{1}{2}$"}));
    EXPECT_EQ(q[0].rightOptions, std::vector<int>{0});
    EXPECT_EQ(q[0].analysis, "A：对，两边开方。<br>B：漏了负根。<br>开平方时注意正负。");
    EXPECT_EQ(q[1].rightOptions, (std::vector<int>{0, 1}));
    EXPECT_FALSE(q[2].trueFalseKey);
    EXPECT_EQ(q[2].analysis, "答错时：1 既不是质数也不是合数。");
    EXPECT_EQ(q[3].blanks, (Blanks{{"北京", "北京市", "Beijing"}}));
    EXPECT_EQ(q[4].stem, "方程 $2x=6$ 的解是 x = ____ 。");
    EXPECT_EQ(q[4].blanks, Blanks{{"3"}});
    EXPECT_EQ(q[5].stem, "太阳从____升起。");
    EXPECT_EQ(q[5].options, (Strings{"东方", "西方", "南方"}));
    EXPECT_EQ(q[6].options, (Strings{"北京", "东京", "巴黎", "伦敦"}));
    ASSERT_EQ(q[6].answerSlots.size(), 3u);
    EXPECT_EQ(q[6].answerSlots[1].prompt, "日本");
    EXPECT_EQ(q[6].answerSlots[1].rightChoice, 1);
    EXPECT_EQ(q[7].stem, "写一段话，用上 **a &lt; b**。<br>（不少于 50 字）");
    EXPECT_TRUE(q[8].trueFalseKey);
    EXPECT_EQ(q[8].stem, "1 = 1，2 ~ 3，#4，{5}，a\\b，第一行<br>第二行");
    EXPECT_EQ(q[9].blanks, Blanks{{"3.14"}});
    EXPECT_EQ(q[9].analysis, "答案：3.14（误差不超过 0.005）");
    EXPECT_EQ(q[10].blanks, Blanks{{"3"}});
    EXPECT_EQ(q[10].analysis, "答案：1 到 5 之间");
    EXPECT_EQ(q[11].analysis, "答案：3；3（误差不超过 1），得 50%");

    EXPECT_EQ(testing::Texts(reading.warnings),
              (Strings{
                  "测验.gift:14 多选题不再按各选项的百分比给分：选中全部正确选项才得分",
                  "测验.gift:18 有 3 个可接受的答案，作答区填入第一个“北京”，答案页列出全部",
                  "测验.gift:34 没有答案，作为说明文字跳过",
                  "测验.gift:40 数值题只按数值 3.14 判分，允许的误差或范围已写入解析",
                  "测验.gift:42 数值题只按数值 3 判分，允许的误差或范围已写入解析",
                  "测验.gift:44 数值题只按数值 3 判分，允许的误差或范围已写入解析",
                  "测验.gift:46 题名“判断”与第 16 行的题相同，再次导入时按位置认这道题",
              }));
    EXPECT_EQ(testing::Texts(reading.problems), Strings{"测验.gift:48 答案的“{”没有对应的“}”"});
}

TEST(GiftReader, RefusesWhatItCannotJudgeAndWarnsOfWhatItChanges) {
    const struct {
        const char* text;
        const char* problem;
        const char* warning;
    } cases[] = {
        {"题 {=a ~b} 又 {=c}", "一道题只能有一组答案“{…}”；题中的花括号要写成 \\{ 和 \\}", ""},
        {"题 {TRU}", "无法识别的答案写法“{TRU}”", ""},
        {"::没完 题 {T}", "题名的“::”没有结束", ""},
        {"题 {=a -> 1 =b}", "匹配题的每一项都要写成“=左边 -> 右边”", ""},
        {"题 {=a -> }", "匹配题有一项的右边是空的", ""},
        {"题 {~a ~b}", "没有正确选项：单选题用“=”标出正确选项，多选题用“~%50%”这样的正的百分比",
         ""},
        {"题 {#三}", "数值答案“三”不是数", ""},
        {"题 {#~错}", "数值题没有正确答案", ""},
        {"题 {=a =b ~c}", "", "有几个选项标为正确，只有第一个（A）算作正确答案"},
        {"题 {=a ~%50%b}", "", "单选题中给部分分的选项按错误选项判分"},
        {"题 {=北京 =%50%北平}", "", "部分得分的答案不再给分，已写入解析"},
        {"题 {x =a ~b}", "", "答案前的文字“x”不属于任何答案，已略去"},
        {"[html]<p onclick=\"f()\">题</p><script>f()</script>{T}", "",
         "文字中的脚本、框架、表单或音视频已去掉"},
        {"[html]题<img src=\"http://x/a.png\">{T}", "", "链接的外部图片未导入：http://x/a.png"},
        {"// 只有注释\n\n说明文字", "没有找到题目：GIFT 的每道题要有答案“{…}”",
         "没有答案，作为说明文字跳过"},
    };
    for (const auto& c : cases) {
        const ImportReading reading = ReadQuestionBytes(c.text, "卷.gift");
        const auto texts = [](const std::vector<ImportProblem>& list) {
            return list.empty() ? std::string() : list.front().text;
        };
        EXPECT_EQ(texts(reading.problems), c.problem) << c.text;
        EXPECT_EQ(texts(reading.warnings), c.warning) << c.text;
    }
}

TEST(AikenReader, ReadsAFileAsQuizSystemsWriteIt) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("选择题.txt"));
    EXPECT_TRUE(reading.problems.empty()) << testing::Texts(reading.problems).front();
    ASSERT_EQ(reading.questions.size(), 3u);
    const auto& q = reading.questions;
    EXPECT_EQ(q[0].kind, QuestionKind::SingleChoice);
    EXPECT_EQ(q[0].options, (Strings{"地球", "木星", "土星", "火星"}));
    EXPECT_EQ(q[0].rightOptions, std::vector<int>{1});
    EXPECT_EQ(q[1].place.line, 8);
    EXPECT_EQ(q[1].stem, "方程 $x^2=9$ 的正根是？");
    EXPECT_EQ(q[1].options, (Strings{"3", "-3", "9"}));
    EXPECT_EQ(q[2].stem, "Which is larger: 2 &lt; 3 or 3 &gt; 2?");
    EXPECT_EQ(q[2].rightOptions, std::vector<int>{2});
}

TEST(AikenReader, NamesTheLineOfEachMalformedQuestion) {
    const struct {
        const char* text;
        Strings problems;
        size_t questions;
    } cases[] = {
        {"题\nA. 甲\nANSWER: A", {"卷.aiken:1 选项少于两个"}, 0},
        {"ANSWER: A\n题\nA. 甲\nB. 乙\nANSWER: B", {"卷.aiken:1 答案出现在题目之前"}, 1},
        {"题一\nA. 甲\nB. 乙\n题二\nA. 丙\nB. 丁\nANSWER: A",
         {"卷.aiken:1 题目没有以“ANSWER: 字母”一行结束"},
         1},
        {"题\nA. 甲\nB. 乙\n", {"卷.aiken:1 题目没有以“ANSWER: 字母”一行结束"}, 0},
        {"题\nA. 甲\nB. 乙\nANSWER: C", {"卷.aiken:4 答案“C”不是选项的字母（A 到 B）"}, 0},
        {"题\nA. 甲\nC. 乙\nANSWER: A", {"卷.aiken:3 选项字母不接着上一个选项（应为 B）"}, 0},
        {"题\nＡ．甲\nＢ．乙\nanswer：b", {"卷.aiken:4 答案“b”不是选项的字母（A 到 B）"}, 0},
        {"题\nＡ．甲\nＢ．乙\nANSWER：B", {}, 1},
    };
    for (const auto& c : cases) {
        const ImportReading reading = ReadQuestionBytes(c.text, "卷.aiken", QuestionFormat::Aiken);
        EXPECT_EQ(testing::Texts(reading.problems), c.problems) << c.text;
        EXPECT_EQ(reading.questions.size(), c.questions) << c.text;
    }
}

TEST(ReadQuestionFile, ReadsATxtFileInTheFormatItIsWrittenIn) {
    const struct {
        const char* text;
        QuestionFormat format;
    } cases[] = {
        {"::甲::题 {T}", QuestionFormat::Gift},
        {"$CATEGORY: 数学\n\n题", QuestionFormat::Gift},
        {"1 + 1 = {=2 ~3}", QuestionFormat::Gift},
        {"写一篇作文。{}", QuestionFormat::Gift},
        {"题\n{\n=a\n~b\n}", QuestionFormat::Gift},
        {"题\nA. 甲\nB) 乙\nANSWER: A", QuestionFormat::Aiken},
        {"1. 求 $\\frac{1}{2}$ 的值\n答案：0.5", QuestionFormat::Text},
        {"1. $\\vec{F}$ 与 $x^{T}$ 是向量\n答案：对", QuestionFormat::Text},
        {"1. 题\nA. 甲\nB. 乙\n答案：A", QuestionFormat::Text},
        {"ANSWER: A\n1. 题", QuestionFormat::Text},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GuessTextFormat(c.text), c.format) << c.text;
    }
    // The guess is the reader's: a .txt in Aiken reads as Aiken, a format
    // given overrides the name, and an unknown name says what can be read.
    EXPECT_EQ(
        ReadQuestionBytes("题\nA. 甲\nB. 乙\nANSWER: B", "卷.txt").questions.at(0).rightOptions,
        std::vector<int>{1});
    EXPECT_EQ(ReadQuestionBytes("题 {T}", "卷.dat", QuestionFormat::Gift).questions.size(), 1u);
    EXPECT_EQ(ReadQuestionBytes(
                  "<quiz><question type=\"truefalse\"><questiontext><text>题</text></questiontext>"
                  "<answer fraction=\"100\"><text>true</text></answer>"
                  "<answer fraction=\"0\"><text>false</text></answer></question></quiz>",
                  "导出.txt", QuestionFormat::Moodle)
                  .questions.size(),
              1u);
    EXPECT_EQ(ReadQuestionBytes("1. 题 {T}\n答案：错", "卷.gift", QuestionFormat::Text)
                  .questions.at(0)
                  .trueFalseKey,
              false);
    EXPECT_EQ(
        testing::Texts(ReadQuestionBytes("题 {T}", "卷.dat").problems),
        Strings{
            "卷.dat 不能导入这种文件（可导入 .xlsx、.ods、.csv、.docx、.txt、.gift、.xml、.zip）"});
    EXPECT_EQ(testing::Texts(ReadQuestionBytes("PK\x03\x04", "卷.gift").problems),
              Strings{"卷.gift 文件内容不是文本，不能作为 gift 读取"});
}

}  // namespace
}  // namespace quillory
