#include "core/generation/print_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/gb_encoding.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::RecordingProgress;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr char kHead[] =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
    "<title>穹岚</title></head><body>\n";
constexpr char kTail[] = "</body></html>\n";

// A paper 100001 "第1套" with a section 100002 holding questions 100003..;
// question n shows Question/qn.html and Question/an.html.
class PrintFiles : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Question"));
        Paper(100001, 0, "第1套", "Question/paper.html");
        Paper(100002, 100001, "一、选择题", "Question/section.html");
        Page("paper.html", "<html><BODY bgcolor=white>[标题]</BODY></html>");
        Page("section.html", "<body>[标题]|</body>");
    }

    void Run(const std::string& sql) { ASSERT_TRUE(store_->Execute(sql)) << store_->LastError(); }
    void Paper(int id, int parent, const std::string& title, const std::string& url = "") {
        Run("insert into Paper(ID, SuperiorID, Title, Url) values(" + std::to_string(id) + ", " +
            std::to_string(parent) + ", '" + title + "', '" + url + "')");
        nodes_.Add({id, parent, title});
    }
    void Question(int id, int parent, int n, const std::string& body) {
        const std::string name = std::to_string(n);
        Run("insert into Question(ID, Url, AnswerUrl) values(" + std::to_string(200000 + n) +
            ", 'Question/q" + name + ".html', 'Question\\a" + name + ".html')");
        Run("insert into Paper(ID, SuperiorID, QuestionID, Title, IsQuestion) values(" +
            std::to_string(id) + ", " + std::to_string(parent) + ", " + std::to_string(200000 + n) +
            ", '第" + name + "题', true)");
        nodes_.Add({.id = id,
                    .superiorId = parent,
                    .title = "第" + name + "题",
                    .questionId = 200000 + n});
        Page("q" + name + ".html", "<body>" + body + "</body>");
        Page("a" + name + ".html", "<body><h4>答案与分析</h4>A" + name + "</body>");
    }
    void Page(const std::string& name, const std::string& utf8) {
        WriteFileBytes(dir_.File("Question/" + name), Utf8ToGb(utf8));
    }
    std::string Print(int id, bool withAnswers) {
        PageContext context{*store_, dir_.Path(), host_};
        const auto range = FindPrintRange(nodes_, id);
        if (!range) {
            return "no range";
        }
        path_ = ComposePrintFile(context, nodes_, *range, withAnswers, progress_);
        return GbToUtf8(ReadFileBytes(path_));
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    PaperNodeList nodes_;
    RecordingHost host_;
    RecordingProgress progress_;
    std::string path_;
};

TEST_F(PrintFiles, ASingleQuestionPrintsItsPageAndWithAnswersItsAnswerWithoutTheHeading) {
    Question(100003, 100002, 1, "[试题]:Q1");
    EXPECT_EQ(Print(100003, false), std::string(kHead) + "第1题:Q1" + kTail);
    EXPECT_EQ(path_, dir_.File("Question/第1题.htm"));
    EXPECT_EQ(Print(100003, true), std::string(kHead) + "第1题:Q1" + "<h4></h4>A1" + kTail);
    EXPECT_EQ(progress_.texts.back(), "打印试卷项...第1题");
}

TEST_F(PrintFiles, AWholePaperPrintsEveryItemOfItsSubtreeAndStopsAtTheNextPaper) {
    Question(100003, 100002, 1, "Q1");
    Question(100004, 100002, 2, "Q2");
    Paper(100010, 0, "第2套", "Question/section.html");
    nodes_.Order();
    EXPECT_EQ(Print(100001, true), std::string(kHead) + "第1套" + "一、选择题|" + "Q1<h4></h4>A1" +
                                       "Q2<h4></h4>A2" + kTail);
    EXPECT_EQ(progress_.position, 4);
    EXPECT_EQ(progress_.pumps, 4);
    EXPECT_EQ(path_, dir_.File("Question/第1套.htm"));
}

TEST_F(PrintFiles, SharedInlineFramesPrintOnceUntilAnotherFrameComesBetween) {
    Page("read1.html", "<body>R1</body>");
    Page("read2.html", "<body>R2</body>");
    Question(100003, 100002, 1, "<iframe src=\"read1.html\" width=1></iframe>Q1");
    Question(100004, 100002, 2, "x<iframe src=\"read1.html\"></iframe>Q2");
    Question(100005, 100002, 3, "<iframe src=\"read2.html\">alt</iframe>Q3");
    Question(100006, 100002, 4, "<iframe src=\"read1.html\"></iframe>Q4");
    Question(100007, 100002, 5, "<iframe src=\"read1.html\">Q5 <iframe src=\"read2.html\">");
    EXPECT_EQ(Print(100002, false), std::string(kHead) + "一、选择题|" + "R1Q1" + "xQ2" + "R2Q3" +
                                        "R1Q4" + "Q5 " + "<iframe src=\"read2.html\">" + kTail);
}

TEST_F(PrintFiles, PagesWithoutAClosingBodyTagOrUnreadableContributeNothing) {
    Question(100003, 100002, 1, "Q1");
    Page("q1.html", "<body>never closed");
    std::filesystem::remove(dir_.File("Question/a1.html"));
    EXPECT_EQ(Print(100003, true), std::string(kHead) + kTail);
    Question(100004, 100002, 2, "Q2");
    Run("update Question set AnswerUrl='Question/' where ID=200002");
    Run("update Paper set Url='Question' where ID=100002");
    EXPECT_EQ(Print(100002, true), std::string(kHead) + "Q2" + kTail);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(PrintFiles, TitlesNeverLeaveTheQuestionFolder) {
    Paper(100020, 0, "../../逃出/a:b", "Question/section.html");
    Print(100020, false);
    EXPECT_EQ(std::filesystem::path(path_).parent_path(), dir_.File("Question"));
    EXPECT_TRUE(std::filesystem::exists(path_));
}

TEST_F(PrintFiles, APrintFileNeverReplacesAPageATableNames) {
    Page("第1套.htm", "<body>shipped</body>");
    Run("insert into Knowledge(ID, Title, Url) values(300001, 'k', 'Question/第1套.htm')");
    Print(100001, false);
    EXPECT_EQ(path_, "");
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first.rfind("不能写入文件" + dir_.File("Question/第1套.htm"), 0),
              0u);
    EXPECT_EQ(GbToUtf8(ReadFileBytes(dir_.File("Question/第1套.htm"))), "<body>shipped</body>");
}

TEST_F(PrintFiles, AMissingRowIsReportedAndWhatWasWrittenIsKept) {
    Question(100003, 100002, 1, "Q1");
    nodes_.Add({.id = 100004, .superiorId = 100002, .title = "第9题", .questionId = 299999});
    Question(100005, 100002, 2, "Q2");
    EXPECT_EQ(Print(100002, false), std::string(kHead) + "一、选择题|Q1" + kTail);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].second, MessageIcon::Error);
}

TEST_F(PrintFiles, LocationsAreTrimmedAndNothingOutsideTheDataFolderIsRead) {
    TempDir elsewhere;
    WriteFileBytes(elsewhere.File("out.html"), "<body>OUT</body>");
    Paper(100020, 0, "甲", " Question\\section.html ");
    Paper(100021, 100020, "乙",
          "../" + std::filesystem::path(elsewhere.Path()).filename().string() + "/out.html");
    nodes_.Order();
    EXPECT_EQ(Print(100020, false), std::string(kHead) + "甲|" + kTail);
}

TEST_F(PrintFiles, TheHeadKeepsThePagesStylesOnceEachPointingAtTheirFiles) {
    const std::string common =
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"common/style.css\">";
    Page("section.html", "<html><head>" + common + "<style>.s{}</style></head><body>S</body>");
    Question(100003, 100002, 1, "Q1");
    std::filesystem::create_directories(dir_.File("Question/sub"));
    WriteFileBytes(dir_.File("Question/sub/q1.html"),
                   "<head><LINK REL=stylesheet HREF='../common/style.css'>"
                   "<link rel=\"stylesheet\" href=\"own.css\"><link rel=\"icon\" href=\"i.png\">"
                   "<link rel=\"stylesheet\" href=\"http://x/y.css\"><STYLE>.s{}</STYLE>"
                   "<style>.q{}</style></head><body>Q1</body>");
    Run("update Question set Url='Question/sub/q1.html' where ID=200001");
    Page("a1.html", "<head>" + common + "</head><body>A1</body>");
    const std::string styles = common +
                               "\n<style>.s{}</style>\n"
                               "<LINK REL=stylesheet HREF='common/style.css'>\n"
                               "<link rel=\"stylesheet\" href=\"sub/own.css\">\n"
                               "<link rel=\"stylesheet\" href=\"http://x/y.css\">\n"
                               "<STYLE>.s{}</STYLE>\n<style>.q{}</style>\n";
    std::string head = kHead;
    head.insert(head.find("</head>"), styles);
    EXPECT_EQ(Print(100002, true), head + "S" + "Q1" + "A1" + kTail);
}

TEST(FindPrintRange, IsNothingForAnUnknownNode) {
    PaperNodeList nodes;
    nodes.Add({1, 0, "a"});
    EXPECT_FALSE(FindPrintRange(nodes, 2));
    EXPECT_FALSE(FindPrintRange(nodes, -1));
}

}  // namespace
}  // namespace quillory
