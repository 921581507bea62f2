#include "core/pages/knowledge_page.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/gb_encoding.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFileBytes;

class KnowledgePages : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Knowledge"));
        WriteFileBytes(dir_.File("Knowledge/k.html"), Utf8ToGb("<body>笔记</body>"));
        Run("insert into QuestionType(ID, Title) values(1, '单项选择题')");
        Run("insert into QuestionType(ID, Title) values(2, '填空题')");
    }

    void Run(const std::string& sql) { ASSERT_TRUE(store_->Execute(sql)) << store_->LastError(); }
    void Point(int id, const std::string& title, const std::string& keyWord,
               const std::string& url = "Knowledge/k.html") {
        Run("insert into Knowledge(ID, Title, Url, KeyWord) values(" + std::to_string(id) + ", '" +
            title + "', '" + url + "', '" + keyWord + "')");
    }
    // The right-hand cells of the block: related points, then questions.
    std::pair<std::string, std::string> Cells(int id) {
        PageContext context{*store_, dir_.Path(), host_};
        ShowKnowledgePage(context, id);
        const std::string page = GbToUtf8(ReadFileBytes(dir_.File("Knowledge/k.htm")));
        const std::string open = "<td width=\"90%\" align=\"left\" valign=\"top\">\n";
        const size_t first = page.find(open);
        const size_t second = page.find(open, first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            return {};
        }
        const size_t firstEnd = page.find("</td>", first);
        const size_t secondEnd = page.find("</td>", second);
        return {page.substr(first + open.size(), firstEnd - first - open.size()),
                page.substr(second + open.size(), secondEnd - second - open.size())};
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
};

TEST_F(KnowledgePages, RelatedPointsShareAWholeKeyWordWithoutRegardToCase) {
    Point(300001, "本点", "Abc,河流");
    Point(300002, "乙", "aBC");
    Point(300003, "甲", "abcd");  // the like query returns it; the words differ
    Point(300004, "丙", "x,河流");
    Point(300005, "丁", "河流", " ");  // no page: left out
    EXPECT_EQ(Cells(300001).first,
              "<a href=\"Quillory://Knowledge:300004\">丙</a><br>\n"
              "<a href=\"Quillory://Knowledge:300002\">乙</a><br>\n");
}

TEST_F(KnowledgePages, APointWithoutKeyWordsHasAnEmptyCellAndNeverLinksToItself) {
    Point(300001, "本点", "");
    EXPECT_EQ(Cells(300001).first, "");
    Point(300002, "另点", "风,风");
    EXPECT_EQ(Cells(300002).first, "");
}

TEST_F(KnowledgePages, RelatedQuestionsAreFoundByTheSixDigitIdInTypeOrder) {
    Point(1234, "短号", "");
    Run("insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge) values(200002, 2, 'q', 'a', "
        "'001234')");
    Run("insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge) values(200001, 1, 'q', 'a', "
        "'300001,001234')");
    Run("insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge) values(200003, 1, 'q', ' ', "
        "'001234')");
    Run("insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge) values(200004, 1, 'q', 'a', "
        "'1234')");
    EXPECT_EQ(Cells(1234).second,
              "单项选择题: &nbsp<a href=\"Quillory://Question:200001试题\">试题</a> "
              "<a href=\"Quillory://Answer:200001答案\">答案</a><br>\n"
              "填空题: &nbsp<a href=\"Quillory://Question:200002试题\">试题</a> "
              "<a href=\"Quillory://Answer:200002答案\">答案</a><br>\n");
}

TEST_F(KnowledgePages, TheBlockHasBothHeadingsAndEndsBeforeTheBodyTag) {
    Point(300001, "本点", "");
    Cells(300001);
    const std::string page = GbToUtf8(ReadFileBytes(dir_.File("Knowledge/k.htm")));
    EXPECT_EQ(page.rfind("<body>笔记<font face=\"宋体\">\n", 0), 0u);
    EXPECT_NE(page.find("<tr><td><b>[相关知识点]</b></td></tr>\n"), std::string::npos);
    EXPECT_NE(page.find("<tr><td><b>[相关试题]</b></td></tr>\n"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 36), "</td>\n</tr>\n</table>\n</font>\n</body>");
}

TEST_F(KnowledgePages, MissingPointsEmptyLocationsAndFilesAreHandled) {
    PageContext context{*store_, dir_.Path(), host_};
    ShowKnowledgePage(context, 399999);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first, "知识点ID没有找到！");

    Point(300001, "无页", "", "");
    ShowKnowledgePage(context, 300001);
    EXPECT_TRUE(host_.navigations.empty());

    Point(300002, "缺页", "", "Knowledge\\gone.html");
    ShowKnowledgePage(context, 300002);
    ASSERT_EQ(host_.messages.size(), 2u);
    EXPECT_EQ(host_.messages[1].first, "无法打开文件" + dir_.File("Knowledge/gone.html"));
    EXPECT_EQ(host_.navigations, std::vector<std::string>{dir_.File("Knowledge/gone.htm")});
}

TEST_F(KnowledgePages, LocationsAreReadAsEveryPageReadsThem) {
    PageContext context{*store_, dir_.Path(), host_};
    Point(300001, "空白", "", " Knowledge\\k.html\t");
    Point(300002, "网页", "", " http://example.org/k ");
    ShowKnowledgePage(context, 300001);
    ShowKnowledgePage(context, 300002);
    EXPECT_EQ(host_.navigations,
              (std::vector<std::string>{dir_.File("Knowledge/k.htm"), "http://example.org/k"}));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(KnowledgePages, KeyWordsWithQuotesAreSafe) {
    Point(300001, "本点", "it''s,a%b");
    Point(300002, "乙", "it''s");
    Point(300003, "丙", "axb");
    EXPECT_EQ(Cells(300001).first, "<a href=\"Quillory://Knowledge:300002\">乙</a><br>\n");
}

}  // namespace
}  // namespace quillory
