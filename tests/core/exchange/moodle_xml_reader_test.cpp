#include <gtest/gtest.h>

#include "core/exchange/question_file.h"
#include "exchange_files.h"

namespace quillory {
namespace {

// Every kind of question as Moodle exports it, in two categories, with the
// types no form can hold skipped.
TEST(MoodleXml, ReadsEachKindWithItsCategoryKeyAndScore) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("题库.xml"));
    const struct {
        int line;
        QuestionKind kind;
        const char* key;
        std::vector<std::string> paths;
        std::optional<double> score;
    } rows[] = {
        {15, QuestionKind::SingleChoice, "数学/函数/F-01", {"数学/函数", "二次函数"}, 2},
        {69, QuestionKind::MultipleChoice, "数学/函数/偶函数", {"数学/函数"}, 1},
        {107, QuestionKind::TrueFalse, "数学/函数/单调", {"数学/函数"}, 1},
        {148, QuestionKind::FillBlank, "语文∕文学/练习", {"语文∕文学"}, 3},
        {184, QuestionKind::FillBlank, "语文∕文学/练习#2", {"语文∕文学"}, 1},
        {212, QuestionKind::Matching, "语文∕文学/M-1", {"语文∕文学"}, 3},
        {254, QuestionKind::Manual, "语文∕文学/读后感", {"语文∕文学"}, 10},
        {282, QuestionKind::Cloze, "语文∕文学/地理填空", {"语文∕文学"}, std::nullopt},
    };
    ASSERT_EQ(reading.questions.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const ImportedQuestion& q = reading.questions[i];
        EXPECT_EQ(q.place.Text(), "题库.xml:" + std::to_string(rows[i].line));
        EXPECT_EQ(q.kind, rows[i].kind) << i;
        EXPECT_EQ(q.sourceKey, rows[i].key);
        EXPECT_EQ(q.knowledgePaths, rows[i].paths) << i;
        // The category's last name; a name's own slash stays in it.
        EXPECT_EQ(q.section, i < 3 ? "函数" : "语文∕文学");
        EXPECT_EQ(q.score, rows[i].score) << i;
    }
    EXPECT_TRUE(reading.problems.empty());
    EXPECT_EQ(testing::Texts(reading.warnings),
              (std::vector<std::string>{
                  "题库.xml:148 部分得分的答案不算正确答案，已写入解析",
                  "题库.xml:184 数值的误差范围未导入，只接受答案原样（误差已写入解析）",
                  "题库.xml:254 文字中的脚本、框架、表单或音视频已去掉",
                  "题库.xml:282 数值的误差范围未导入，只接受答案原样（误差已写入解析）",
                  "题库.xml:282 部分得分的答案不算正确答案，已写入解析",
                  "题库.xml:298 说明文字（description）不是试题，已跳过",
                  "题库.xml:315 不支持的题型 ddwtos，已跳过",
              }));
}

// What the texts and keys of each question read as: HTML kept (CDATA or
// escaped), plain text escaped, the picture a medium, feedback in the
// analysis, embedded answers as slots.
TEST(MoodleXml, KeepsTextsPicturesKeysAndFeedback) {
    const ImportReading reading = ReadQuestionFile(testing::ExchangeFile("题库.xml"));
    ASSERT_EQ(reading.questions.size(), 8u);
    const auto& q = reading.questions;
    EXPECT_EQ(q[0].stem,
              "<p>函数 $y = x^2 - 2x$ 的顶点坐标是</p><p><img src=\"抛物线.png\" alt=\"抛物线\" "
              "width=\"30\" height=\"20\"></p>");
    ASSERT_EQ(q[0].media.size(), 1u);
    EXPECT_EQ(q[0].media[0].name, "抛物线.png");
    EXPECT_TRUE(q[0].media[0].bytes.starts_with("\x89PNG"));
    EXPECT_EQ(q[0].options, (std::vector<std::string>{"(1, -1)", "(-1, 1)", "(0, 0)"}));
    EXPECT_EQ(q[0].rightOptions, std::vector<int>{0});
    EXPECT_EQ(q[0].analysis, "<p>配方：$y = (x-1)^2 - 1$。</p><div>A：对，配方即得。</div>");

    EXPECT_EQ(q[1].stem, "<p>下列函数中是偶函数的有 &amp; 定义域为 R 的</p>");
    EXPECT_EQ(q[1].rightOptions, (std::vector<int>{0, 1}));
    EXPECT_EQ(q[1].analysis, "<div>C：奇函数。</div>");

    EXPECT_EQ(q[2].stem, "$y = x^2$ 在 R 上单调递增。<br>（判断）");
    EXPECT_FALSE(q[2].trueFalseKey);
    EXPECT_EQ(q[2].analysis, "<div>错：在 x &lt; 0 时递减。</div>");

    EXPECT_EQ(q[3].stem, "《红楼梦》的作者是 &lt;曹…&gt;？");
    EXPECT_EQ(q[3].blanks, (std::vector<std::vector<std::string>>{{"曹雪芹", "曹霑"}}));
    EXPECT_EQ(q[3].analysis,
              "<div>高鹗：后四十回的整理者。</div><div>部分得分的答案：高鹗（50%）</div>");
    EXPECT_EQ(q[4].blanks, std::vector<std::vector<std::string>>{{"3.14"}});
    EXPECT_EQ(q[4].analysis, "<div>3.14 允许误差 ±0.01</div>");

    EXPECT_EQ(q[5].options, (std::vector<std::string>{"鲁迅", "茅盾", "巴金"}));
    ASSERT_EQ(q[5].answerSlots.size(), 3u);
    EXPECT_EQ(q[5].answerSlots[2].prompt, "《子夜》");
    EXPECT_EQ(q[5].answerSlots[0].rightChoice + q[5].answerSlots[1].rightChoice, 0);
    EXPECT_EQ(q[5].answerSlots[2].rightChoice, 1);

    EXPECT_EQ(q[6].stem, "<p>谈谈你读《背影》的感受。</p>");
    EXPECT_EQ(q[6].referenceAnswer, "<p>写出父爱即可。</p>");

    EXPECT_EQ(q[7].stem, "<p>中国的首都是（1），长江注入（2），长约（3） 千米。</p>");
    ASSERT_EQ(q[7].answerSlots.size(), 3u);
    EXPECT_EQ(q[7].answerSlots[0].accepted, std::vector<std::string>{"北京"});
    EXPECT_EQ(q[7].answerSlots[1].choices, (std::vector<std::string>{"南海", "东海", "黄海"}));
    EXPECT_EQ(q[7].answerSlots[1].rightChoice, 1);
    EXPECT_EQ(q[7].answerSlots[2].accepted, std::vector<std::string>{"6300"});
    EXPECT_EQ(q[7].analysis,
              "<div>（1）北京：对</div><div>（1）北平：旧称</div><div>（3）6300 允许误差 ±100</div>"
              "<div>部分得分的答案：（1）北平（50%）</div>");
}

// An editor's paragraph around an option is no paragraph of the option line.
TEST(MoodleXml, AnOptionInAParagraphWithAttributesStandsInItsLine) {
    const ImportReading reading = ReadQuestionBytes(
        "<quiz><question type=\"multichoice\"><questiontext format=\"html\"><text>单位"
        "</text></questiontext><single>true</single><answer fraction=\"100\" format=\"html\">"
        "<text><![CDATA[<p dir=\"ltr\" style=\"text-align: left;\">m/s²</p>]]></text></answer>"
        "<answer fraction=\"0\"><text>N</text></answer></question></quiz>",
        "卷.xml");
    ASSERT_EQ(reading.questions.size(), 1u);
    EXPECT_EQ(reading.questions[0].options, (std::vector<std::string>{"m/s²", "N"}));
}

// Markup a file may bring and what becomes of it.
TEST(MoodleXml, LeavesOutWhatCouldRunOrLoadAndSaysWhy) {
    const auto question = [](const std::string& text) {
        return "<quiz><question type=\"essay\"><questiontext format=\"html\"><text><![CDATA[" +
               text + "]]></text></questiontext></question></quiz>";
    };
    const struct {
        std::string text;
        const char* stem;
        const char* warning;
    } cases[] = {
        {"<p style=\"color:red\" class=\"x\">红</p>", "<p style=\"color:red\" class=\"x\">红</p>",
         nullptr},
        {"<iframe src=\"http://x\"></iframe>甲", "甲", "文字中的脚本、框架、表单或音视频已去掉"},
        {"<a href=\"javascript:x()\">乙</a>", "乙", nullptr},
        {"<div style=\"background:url(http://x)\">丙</div>", "<div>丙</div>",
         "文字中的脚本、框架、表单或音视频已去掉"},
        {"<img src=\"http://example.com/a.png\">丁", "丁",
         "链接的外部图片未导入：http://example.com/a.png"},
        {"<img src=\"@@PLUGINFILE@@/b.png\">戊", "戊", "图片 b.png 不在文件中，未导入"},
        {"<pre>a  b</pre> c  d", "<pre>a  b</pre> c d", nullptr},
    };
    for (const auto& c : cases) {
        const ImportReading reading = ReadQuestionBytes(question(c.text), "卷.xml");
        ASSERT_EQ(reading.questions.size(), 1u) << c.text;
        EXPECT_EQ(reading.questions[0].stem, c.stem);
        EXPECT_EQ(testing::Texts(reading.warnings),
                  c.warning ? std::vector<std::string>{std::string("卷.xml:1 ") + c.warning}
                            : std::vector<std::string>{});
    }
}

TEST(MoodleXml, SaysWhatIsWrongWithTheFile) {
    const std::pair<std::string, const char*> cases[] = {
        {"<quiz>\n<question type=\"essay\">\n</quiz>", "卷.xml:3 文件已损坏（XML 无法读取）"},
        {"<workbook/>", "卷.xml 文件内容不是 Moodle XML 题库（没有 <quiz>）"},
        {"<quiz><question type=\"truefalse\"><questiontext><text>地圆</text></questiontext>"
         "</question></quiz>",
         "卷.xml:1 判断题没有答案"},
    };
    for (const auto& [xml, problem] : cases) {
        const ImportReading reading = ReadQuestionBytes(xml, "卷.xml");
        EXPECT_TRUE(reading.questions.empty()) << xml;
        EXPECT_EQ(testing::Texts(reading.problems), std::vector<std::string>{problem});
    }
}

}  // namespace
}  // namespace quillory
