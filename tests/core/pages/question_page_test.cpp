#include "core/pages/question_page.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/gb_encoding.h"
#include "core/pages/paper_page.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr char kBlockHead[] =
    "<font face=\"宋体\">\n"
    "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\" "
    "width=\"90%\" id=\"Knowledge\">\n"
    "<tr>\n"
    "<td width=\"10%\" height=\"16\" align=\"left\" valign=\"top\">\n"
    "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\" "
    "width=\"120\" id=\"Knowledge1\">\n";
constexpr char kMiddle[] =
    "</table>\n"
    "</td>\n"
    "<td width=\"90%\" align=\"left\" valign=\"top\">\n";
constexpr char kSecondRow[] =
    "</td>\n"
    "</tr>\n"
    "<tr>\n"
    "<td width=\"10%\" height=\"16\" align=\"left\" valign=\"top\">\n"
    "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\" "
    "width=\"120\" id=\"Knowledge1\">\n"
    "<tr><td><b>[相关知识点]</b></td></tr>\n";
constexpr char kTail[] = "</td>\n</tr>\n</table>\n</font>\n";

std::string Gb(const std::string& utf8) {
    return Utf8ToGb(utf8);
}

class QuestionPages : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Question"));
        Run("insert into Knowledge(ID, Title, Url) values(300002, '长江', 'Knowledge/2.html')");
        Run("insert into Knowledge(ID, Title, Url) values(300001, '黄河', 'Knowledge/1.html')");
        Run("insert into Knowledge(ID, Title, Url) values(300003, '  ', 'Knowledge/3.html')");
        Run("insert into Knowledge(ID, Title, Url) values(300004, '无页', '  ')");
        Question(200001, "300001,300002,300003,300004");
        WriteFileBytes(dir_.File("Question/q.html"),
                       Gb("<html><body><h3>[试题]</h3>[试题]\n</body></html>"));
        WriteFileBytes(dir_.File("Question/a.html"), Gb("<html><body>答案与分析</body></html>"));
    }

    void Run(const std::string& sql) { ASSERT_TRUE(store_->Execute(sql)) << store_->LastError(); }
    void Question(int id, const std::string& knowledge, const std::string& url = "Question/q.html",
                  const std::string& answerUrl = "Question/a.html") {
        Run("insert into Question(ID, Url, AnswerUrl, Knowledge) values(" + std::to_string(id) +
            ", '" + url + "', '" + answerUrl + "', '" + knowledge + "')");
    }
    void Show(int id, const std::string& label, bool answerSide, bool related) {
        PageContext context{*store_, dir_.Path(), host_};
        ShowQuestionPage(context, id, label, answerSide, related);
    }
    std::string Page(const char* name) { return GbToUtf8(ReadFileBytes(dir_.File(name))); }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
};

TEST_F(QuestionPages, TheQuestionSideGetsTheLabelAndTheExactRelatedBlock) {
    Show(200001, "第1题", false, true);
    const std::string expected = std::string("<html><body><h3>第1题</h3>[试题]\n") + kBlockHead +
                                 "<tr><td><b>[答案]</b></td></tr>\n" + kMiddle +
                                 "<a href=\"Quillory://Answer:200001第1题\">答案</a><br>\n" +
                                 kSecondRow + kMiddle +
                                 "<a href=\"Quillory://Knowledge:300002\">长江</a><br>\n"
                                 "<a href=\"Quillory://Knowledge:300001\">黄河</a><br>\n" +
                                 kTail + "</body></html>";
    EXPECT_EQ(Page("Question/q.htm"), expected);
    EXPECT_EQ(host_.navigations, std::vector<std::string>{dir_.File("Question/q.htm")});
    EXPECT_EQ(host_.generatedFiles, host_.navigations);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(QuestionPages, TheAnswerSideLinksBackToTheQuestion) {
    Show(200001, "第1题", true, true);
    const std::string page = Page("Question/a.htm");
    EXPECT_NE(page.find("<tr><td><b>[试题]</b></td></tr>\n" + std::string(kMiddle) +
                        "<a href=\"Quillory://Question:200001第1题\">试题</a><br>\n"),
              std::string::npos);
    EXPECT_EQ(page.find("答案与分析"), std::string("<html><body>").size());
}

TEST_F(QuestionPages, EmptyKnowledgeStillGivesTheBlockWithAnEmptyCell) {
    Question(200002, "");
    Show(200002, "", false, true);
    const std::string expected = std::string("<html><body><h3>[试题]</h3>[试题]\n") + kBlockHead +
                                 "<tr><td><b>[答案]</b></td></tr>\n" + kMiddle +
                                 "<a href=\"Quillory://Answer:200002\">答案</a><br>\n" +
                                 kSecondRow + kMiddle + kTail + "</body></html>";
    EXPECT_EQ(Page("Question/q.htm"), expected);
}

TEST_F(QuestionPages, UntrimmedPiecesStillFindTheirPointsAndNonNumbersAreLeftOut) {
    Question(200003, " 300001 ,x or 1=1,,300002");
    Show(200003, "", false, true);
    const std::string page = Page("Question/q.htm");
    EXPECT_NE(page.find("Knowledge:300001"), std::string::npos);
    EXPECT_NE(page.find("Knowledge:300002"), std::string::npos);
    EXPECT_EQ(page.find("Knowledge:300003"), std::string::npos);
}

TEST_F(QuestionPages, WithoutTheToggleOrALowerCaseBodyTagNoBlockIsInserted) {
    Show(200001, "第2题", false, false);
    EXPECT_EQ(Page("Question/q.htm"), "<html><body><h3>第2题</h3>[试题]\n</body></html>");

    WriteFileBytes(dir_.File("Question/q.html"), Gb("<p>x</Body>"));
    Show(200001, "第2题", false, true);
    EXPECT_EQ(Page("Question/q.htm"), "<p>x</Body>");

    WriteFileBytes(dir_.File("Question/q.html"), "<p>x</BODY>");
    Show(200001, "", false, true);
    EXPECT_EQ(Page("Question/q.htm").find(kBlockHead), 4u);
}

TEST_F(QuestionPages, AMissingSideShowsNothingOnEitherSide) {
    Question(200004, "", "Question/q.html", "  ");
    Show(200004, "", false, true);
    Show(200004, "", true, true);
    EXPECT_TRUE(host_.navigations.empty());
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(QuestionPages, WebLocationsAreShownUnchangedAndNotListed) {
    Question(200005, "", " http://example.org/q ", "ftp://example.org/a");
    Show(200005, "第1题", false, true);
    Show(200005, "第1题", true, true);
    EXPECT_EQ(host_.navigations,
              (std::vector<std::string>{"http://example.org/q", "ftp://example.org/a"}));
    EXPECT_TRUE(host_.generatedFiles.empty());
}

TEST_F(QuestionPages, MissingRowsAndFilesAreReportedAndAnEmptyPageShown) {
    Show(123456, "", false, true);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first, "试题ID没有找到！");
    EXPECT_EQ(host_.messages[0].second, MessageIcon::Error);
    EXPECT_TRUE(host_.navigations.empty());

    Question(200006, "", "Question\\gone.html");
    Show(200006, "", false, true);
    ASSERT_EQ(host_.messages.size(), 2u);
    EXPECT_EQ(host_.messages[1].first, "无法打开文件" + dir_.File("Question/gone.html"));
    EXPECT_EQ(Page("Question/gone.htm"), "");
    EXPECT_EQ(host_.navigations, std::vector<std::string>{dir_.File("Question/gone.htm")});

    std::filesystem::create_directories(dir_.File("Question/folder.html"));
    Question(200009, "", "Question/folder.html");
    Show(200009, "", false, true);
    ASSERT_EQ(host_.messages.size(), 3u);
    EXPECT_EQ(host_.messages[2].first, "无法打开文件" + dir_.File("Question/folder.html"));
    EXPECT_EQ(host_.navigations.back(), dir_.File("Question/folder.htm"));
}

TEST_F(QuestionPages, AnUnwritablePageIsReportedButStillShownAndListed) {
    std::filesystem::create_directories(dir_.File("Question/q.htm"));
    Show(200001, "", false, true);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first, "不能写入文件" + dir_.File("Question/q.htm"));
    EXPECT_EQ(host_.generatedFiles, std::vector<std::string>{dir_.File("Question/q.htm")});
}

TEST_F(QuestionPages, ShowingTwiceWritesAndListsThePageTwice) {
    Show(200001, "第1题", false, true);
    Show(200001, "第1题", false, true);
    EXPECT_EQ(host_.generatedFiles.size(), 2u);
}

TEST_F(QuestionPages, AUtf8PageStaysUtf8AndGetsUtf8Text) {
    WriteFileBytes(dir_.File("Question/q.html"), "<meta charset=\"UTF-8\"><body>[试题]</body>");
    Show(200001, "第3题", false, true);
    const std::string page = ReadFileBytes(dir_.File("Question/q.htm"));
    EXPECT_EQ(page.rfind("<meta charset=\"UTF-8\"><body>第3题", 0), 0u);
    EXPECT_NE(page.find("[相关知识点]"), std::string::npos);
}

TEST_F(QuestionPages, LabelsAndTitlesWithMarkupCharactersKeepTheBlockWhole) {
    Run("insert into Knowledge(ID, Title, Url) values(300005, 'a<b & \"c\"', 'Knowledge/5.html')");
    Question(200008, "300005");
    Show(200008, "第\"1\"题<&", false, true);
    const std::string page = Page("Question/q.htm");
    EXPECT_NE(page.find("<a href=\"Quillory://Answer:200008第&quot;1&quot;题<&amp;\">答案</a>"),
              std::string::npos);
    EXPECT_NE(page.find("<a href=\"Quillory://Knowledge:300005\">a&lt;b &amp; \"c\"</a>"),
              std::string::npos);
}

TEST_F(QuestionPages, ALocationLeadingOutOfTheDataFolderIsRefusedAndNothingIsWritten) {
    std::filesystem::create_directories(dir_.File("data"));
    WriteFileBytes(dir_.File("outsideX"), "<body></body>");
    Question(200007, "", "../outsideX");
    PageContext context{*store_, dir_.File("data"), host_};
    ShowQuestionPage(context, 200007, "", false, true);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first.rfind("无法打开文件", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("outside")));
    EXPECT_TRUE(host_.navigations.empty());
}

TEST(PaperPages, AComposedPageNeverReplacesAFileOfTheBankOrOneOutsideTheDataFolder) {
    TempDir dir;
    TempDir elsewhere;
    auto store = testing::MakeDataFile(dir.File("bank.qly"));
    std::filesystem::create_directories(dir.File("Question"));
    WriteFileBytes(dir.File("Question/q.html"), "<body>Q</body>");
    WriteFileBytes(dir.File("Question/k.html"), "<body>K</body>");
    WriteFileBytes(elsewhere.File("mine"), "mine");
    std::filesystem::create_symlink(elsewhere.File("mine"), dir.File("Question/link"));
    ASSERT_TRUE(store->Execute(
        "insert into Question(ID, Url, AnswerUrl) values(200001, 'Question/q.html', 'x.html')"));
    ASSERT_TRUE(store->Execute(
        "insert into Knowledge(ID, Title, Url) values(300001, 'k', ' Question\\k.html ')"));
    struct Case {
        const char* url;
        const char* refused;  // the composed page, relative to the data folder
        const char* kept;     // the file it would have replaced
    };
    const Case cases[] = {
        {"bank.qlyx", "bank.qly", "bank.qly"},
        {"Question/q.html1", "Question/q.html", "Question/q.html"},
        {"Question\\k.html_", "Question/k.html", "Question/k.html"},
        {"Question/linkx", "Question/link", "Question/link"},
    };
    int id = 100001;
    for (const Case& c : cases) {
        ASSERT_TRUE(store->Execute("insert into Paper(ID, Title, Url) values(" +
                                   std::to_string(id++) + ", 'x', '" + c.url + "')"));
    }
    id = 100001;
    for (const Case& c : cases) {
        const std::string kept = ReadFileBytes(dir.File(c.kept));
        RecordingHost host;
        PageContext context{*store, dir.Path(), host};
        ShowPaperPage(context, id++);
        ASSERT_EQ(host.messages.size(), 1u) << c.url;
        EXPECT_EQ(host.messages[0].first.rfind("不能写入文件" + dir.File(c.refused), 0), 0u)
            << host.messages[0].first;
        EXPECT_TRUE(host.navigations.empty()) << c.url;
        EXPECT_TRUE(host.generatedFiles.empty()) << c.url;
        EXPECT_TRUE(ReadFileBytes(dir.File(c.kept)) == kept) << c.url;
    }
    EXPECT_EQ(ReadFileBytes(elsewhere.File("mine")), "mine");
}

TEST(PaperPages, TheFirstTitlePlaceholderIsReplacedInTheSourcesEncoding) {
    TempDir dir;
    RecordingHost host;
    auto store = testing::MakeDataFile(dir.File("bank.qly"));
    std::filesystem::create_directories(dir.File("Question"));
    ASSERT_TRUE(store->Execute(
        "insert into Paper(ID, Title, Url) values(100001, '第一套', ' Question/p.html ')"));
    ASSERT_TRUE(
        store->Execute("insert into Paper(ID, Title, Url) values(100002, '', "
                       "'Question/p.html')"));
    ASSERT_TRUE(store->Execute("insert into Paper(ID, Title, Url) values(100003, 'x', ' ')"));
    WriteFileBytes(dir.File("Question/p.html"), Gb("<h2>[标题]</h2>[标题]</body>"));
    PageContext context{*store, dir.Path(), host};

    ShowPaperPage(context, 100001);
    EXPECT_EQ(GbToUtf8(ReadFileBytes(dir.File("Question/p.htm"))), "<h2>第一套</h2>[标题]</body>");
    ShowPaperPage(context, 100002);
    EXPECT_EQ(GbToUtf8(ReadFileBytes(dir.File("Question/p.htm"))), "<h2>[标题]</h2>[标题]</body>");
    ShowPaperPage(context, 100003);
    EXPECT_EQ(host.navigations.size(), 2u);
    ShowPaperPage(context, 999999);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "试题ID没有找到！");
}

}  // namespace
}  // namespace quillory
