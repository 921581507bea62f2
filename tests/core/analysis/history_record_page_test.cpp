#include "core/analysis/history_record_page.h"

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

// Paper 100001 "第1套?" > section 100002 "一、选择" > items 100003 (question
// 200001) and 100004 (question 200002); one record of both, and an earlier
// record of the first alone.
class HistoryRecordPages : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Knowledge"));
        for (const char* sql : {
                 "insert into Paper(ID, SuperiorID, Title) values(100001, 0, '第1套?')",
                 "insert into Paper(ID, SuperiorID, Title) values(100002, 100001, '一、选择')",
                 "insert into Paper(ID, SuperiorID, QuestionID, Title) values(100004, 100002, "
                 "200002, '第2题')",
                 "insert into Paper(ID, SuperiorID, QuestionID, Title) values(100003, 100002, "
                 "200001, '第1题')",
                 "insert into QuestionType(ID, Title) values(1, '选择题')",
                 "insert into Knowledge(ID, Title) values(300001, '地形')",
                 "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
                 "QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) "
                 "values(700001, '2026-03-14', '09:26:53', 100001, 100003, 200001, 1, '300001', "
                 "'Question/1.html', 'Question/1a.html', 2, 2)",
                 "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
                 "QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) "
                 "values(700002, '2026-03-14', '09:26:53', 100001, 100004, 200002, 9, "
                 "'300001,12,000000,300009', '', 'Question/2a.html', 3, 0)",
                 "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
                 "QuestionID, TotalScore, UserScore) "
                 "values(700003, '2026-03-13', '08:00:00', 100001, 100003, 200001, 2, 1)",
             }) {
            ASSERT_TRUE(store_->Execute(sql)) << store_->LastError();
        }
    }
    std::string Show(int historyId, int root) {
        PageContext context{*store_, dir_.Path(), host_};
        shown_ = ShowHistoryRecord(context, historyId, root);
        if (host_.generatedFiles.empty()) {
            return {};
        }
        return GbToUtf8(ReadFileBytes(host_.generatedFiles.back()));
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
    Status shown_;
};

std::string Row(int depth, const std::string& item, const std::string& type, const char* align,
                const std::string& full, const std::string& score, const std::string& rate,
                const std::string& knowledge) {
    std::string row =
        "<tr>\n<td width=\"20%\" align=\"left\" valign=\"top\">\n<table border=\"0\" "
        "cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\">\n<tr>\n";
    for (int i = 1; i < depth; ++i) {
        row += "<td>&nbsp;&nbsp;&nbsp;</td>\n";
    }
    row += "<td>\n" + item + "</td>\n</tr>\n</table>\n</td>\n" +
           "<td width=\"20%\" align=\"center\" valign=\"top\">\n<p>" + type + "</p>\n</td>\n";
    const std::string values[] = {full, score, rate};
    for (int i = 0; i < 3; ++i) {
        row += std::string("<td width=\"") + (i == 2 ? "8%" : "6%") + "\" align=\"" + align +
               "\" valign=\"top\">\n<p>" + values[i] + "</p>\n</td>\n";
    }
    return row + "<td width=\"30%\" align=\"center\" valign=\"top\">\n" + knowledge +
           "</td>\n</tr>\n";
}

constexpr char kHead[] =
    "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
    "<meta http-equiv=\"Content-Language\" content=\"zh-cn\">\n<title>用户历史分析</title>\n"
    "<style type=text/css>\ntd, p, li, input, select {font-size:12px;}\n</style>\n</head>\n"
    "<body background=\"common/image/bk_knowledge.gif\" bgcolor=\"#FFFFFF\" text=\"#000000\" "
    "link=\"#0000ff\" vlink=\"#000099\" alink=\"#ff0000\">\n<font face=\"宋体\">\n";
constexpr char kTableStart[] =
    "<table border=\"2\" cellpadding=\"0\" cellspacing=\"1\" width=\"800\" id=\"AutoNumber1\" "
    "align=\"center\">\n<tr bgcolor=\"#00FFFF\">\n"
    "<td width=\"30%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>项 目</b></p>\n"
    "</td>\n"
    "<td width=\"20%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>题 型</b></p>\n"
    "</td>\n"
    "<td width=\"6%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>分值</b></p>\n"
    "</td>\n"
    "<td width=\"6%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>得分</b></p>\n"
    "</td>\n"
    "<td width=\"8%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>得分率</b></p>\n"
    "</td>\n"
    "<td width=\"30%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>知识点</b></p>\n"
    "</td>\n</tr>\n";
constexpr char kTail[] = "</table>\n</font>\n</body>\n</html>\n";

TEST_F(HistoryRecordPages, ARecordShowsItsTreeWithFiguresTypesAndKnowledge) {
    const std::string page = Show(700002, 0);
    const std::string knowledge = "<a href=\"Quillory://Knowledge:300001\">地形</a><br>\n";
    EXPECT_EQ(page,
              std::string(kHead) +
                  "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>历史分析--第1套?</b>"
                  "</font></p>\n" +
                  kTableStart + Row(1, "第1套?\n", "-", "center", "5.0", "2.0", "40.0%", "-") +
                  Row(2, "一、选择\n", "-", "center", "5.0", "2.0", "40.0%", "-") +
                  Row(3,
                      "<a href=\"Quillory://Question:200001第1题\">第1题</a> "
                      "<a href=\"Quillory://Answer:200001第1题\">答案</a>",
                      "选择题", "right", "2.0", "2.0", "100.0%", knowledge) +
                  Row(3, "第2题 <a href=\"Quillory://Answer:200002第2题\">答案</a>", "-", "right",
                      "3.0", "0.0", "0.0%", knowledge + "-") +
                  kTail);
    // The title's "?" does not reach the file name.
    const std::string file = dir_.File("Knowledge/第1套_-2026-03-14-09-26-53.htm");
    EXPECT_EQ(host_.navigations, std::vector<std::string>{file + "?700002"});
    EXPECT_EQ(host_.generatedFiles, std::vector<std::string>{file});
}

TEST_F(HistoryRecordPages, ASingleItemRootAndASectionWithoutAnswers) {
    const std::string item = Show(700003, 100003);
    EXPECT_NE(item.find("<b>历史分析--第1题</b>"), std::string::npos);
    EXPECT_NE(item.find(Row(1, "第1题(答案)<br>", "-", "right", "2.0", "1.0", "50.0%", "-")),
              std::string::npos)
        << item;
    ASSERT_TRUE(
        store_->Execute("insert into Paper(ID, SuperiorID, Title) values(100005, 100001, "
                        "'二、空')"));
    EXPECT_NE(Show(700001, 0).find(Row(2, "二、空\n", "-", "center", "0.0", "0.0", "-", "-")),
              std::string::npos);
}

TEST_F(HistoryRecordPages, NoPaperUnderTheRootAndNoRecord) {
    const std::string page = Show(700001, 999999);
    EXPECT_EQ(page, std::string(kHead) +
                        "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>历史分析--"
                        "没有找到试卷</b></font></p>\n" +
                        kTableStart + kTail);
    host_.navigations.clear();
    Show(799999, 0);
    ASSERT_FALSE(shown_);
    EXPECT_EQ(shown_.error().code, ErrorCode::NotFound);
    EXPECT_TRUE(host_.navigations.empty());
    EXPECT_TRUE(host_.messages.empty());
}

}  // namespace
}  // namespace quillory
