#include <gtest/gtest.h>

#include "core/exchange/question_file.h"
#include "core/exchange/zip_entries.h"
#include "exchange_files.h"

namespace quillory {
namespace {

TEST(QtiPackage, ReadsTheItemsTheManifestLists) {
    const ImportReading reading = ReadQuestionBytes(testing::QtiPackage(), "试题包.zip");
    const struct {
        const char* place;
        QuestionKind kind;
        const char* key;
        std::optional<double> score;
        const char* stem;
    } rows[] = {
        {"items/choice.xml:2", QuestionKind::SingleChoice, "choice", 2,
         "<p>如图，三角形的内角和 <math><mi>S</mi><mo>=</mo><mo>?</mo></math></p> <p><img "
         "src=\"triangle.png\" alt=\"三角形\" width=\"30\" height=\"20\"></p> "
         "<p>选出正确的一项</p>"},
        {"items/multiple.xml:2", QuestionKind::MultipleChoice, "multiple", std::nullopt,
         "<p>下列是质数的有 <span>（多选）</span></p>"},
        {"items/blanks.xml:2", QuestionKind::FillBlank, "blanks", std::nullopt,
         "<p>中国的首都是 （1），法国的首都是 （2）。</p>"},
        {"items/mixed.xml:2", QuestionKind::Cloze, "mixed", std::nullopt,
         "<p>长江注入 （1），入海口在 （2） 附近。</p>"},
        {"items/essay.xml:2", QuestionKind::Manual, "essay", std::nullopt,
         "<p>简述勾股定理。<img src=\"triangle.png\"></p>"},
    };
    ASSERT_EQ(reading.questions.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const ImportedQuestion& q = reading.questions[i];
        EXPECT_EQ(q.place.Text(), std::string("试题包.zip:") + rows[i].place);
        EXPECT_EQ(q.kind, rows[i].kind) << i;
        EXPECT_EQ(q.sourceKey, rows[i].key);
        EXPECT_EQ(q.score, rows[i].score) << i;
        EXPECT_EQ(q.stem, rows[i].stem);
    }
    const auto& q = reading.questions;
    EXPECT_EQ(q[0].options, (std::vector<std::string>{"90°", "180°", "360°"}));
    EXPECT_EQ(q[0].rightOptions, std::vector<int>{1});
    EXPECT_EQ(q[0].analysis, "<div>正是。</div>");
    ASSERT_EQ(q[0].media.size(), 1u);
    EXPECT_EQ(q[0].media[0].name, "triangle.png");
    EXPECT_EQ(q[1].rightOptions, (std::vector<int>{0, 2}));
    EXPECT_EQ(q[2].blanks, (std::vector<std::vector<std::string>>{{"北京", "北京市"}, {"巴黎"}}));
    ASSERT_EQ(q[3].answerSlots.size(), 2u);
    EXPECT_EQ(q[3].answerSlots[0].choices, (std::vector<std::string>{"南海", "东海"}));
    EXPECT_EQ(q[3].answerSlots[0].rightChoice, 1);
    EXPECT_EQ(q[3].answerSlots[1].accepted, std::vector<std::string>{"上海"});
    EXPECT_EQ(q[3].analysis, "<div>长江全长约 6300 千米。</div>");

    EXPECT_EQ(
        testing::Texts(reading.problems),
        std::vector<std::string>{"试题包.zip:items/lost.xml 清单中的 items/lost.xml 不在包中"});
    EXPECT_EQ(testing::Texts(reading.warnings),
              (std::vector<std::string>{
                  "试题包.zip:items/multiple.xml:2 文字中的脚本、框架、表单或音视频已去掉",
                  "试题包.zip:items/match.xml:2 不支持的作答方式 matchInteraction（配对），已跳过",
              }));
}

TEST(QtiPackage, SaysWhatIsWrongWithThePackage) {
    const std::string manifest =
        "<manifest><resources><resource type=\"imsqti_item_xmlv2p1\" href=\"a.xml\"/>"
        "</resources></manifest>";
    const std::string zeros(kMaxZipEntryBytes + 1, '\0');
    const std::pair<std::string, const char*> cases[] = {
        {"题干", "包.zip 文件内容不是 zip 压缩包（QTI 试题包）"},
        {testing::ZipBytes({{"a.xml", "<assessmentItem/>"}}),
         "包.zip 文件不是 QTI 试题包（没有 imsmanifest.xml）"},
        {testing::ZipBytes({{"imsmanifest.xml", "<manifest/>"}}), "包.zip 包中没有 QTI 2.1 试题"},
        {testing::ZipBytes({{"imsmanifest.xml", manifest}, {"a.xml", "<assessmentItem>"}}),
         "包.zip:a.xml:1 试题文件已损坏（XML 无法读取）"},
        {testing::ZipBytes({{"imsmanifest.xml", manifest},
                            {"a.xml",
                             "<assessmentItem><itemBody><img src=\"b.png\"/>"
                             "<extendedTextInteraction/></itemBody></assessmentItem>"},
                            {"b.png", zeros}}),
         "包.zip 文件解压后过大，已拒绝（可能是恶意文件）"},
    };
    for (const auto& [bytes, problem] : cases) {
        const ImportReading reading = ReadQuestionBytes(bytes, "包.zip");
        EXPECT_TRUE(reading.questions.empty()) << problem;
        EXPECT_EQ(testing::Texts(reading.problems), std::vector<std::string>{problem});
    }
}

}  // namespace
}  // namespace quillory
