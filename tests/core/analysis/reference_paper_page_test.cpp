#include "core/analysis/reference_paper_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/common/gb_encoding.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::TempDir;

constexpr char kHead[] =
    "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
    "<meta http-equiv=\"Content-Language\" content=\"zh-cn\">\n<title>经典试卷分析</title>\n"
    "<style type=text/css>\ntd, p, li, input, select {font-size:12px;}\n</style>\n</head>\n"
    "<body background=\"common/image/bk_knowledge.gif\" bgcolor=\"#FFFFFF\" text=\"#000000\" "
    "link=\"#0000ff\" vlink=\"#000099\" alink=\"#ff0000\">\n<font face=\"宋体\">\n";

constexpr char kTableAndHeader[] =
    "<table border=\"2\" cellpadding=\"0\" cellspacing=\"1\" width=\"800\" id=\"AutoNumber1\" "
    "align=\"center\">\n<tr bgcolor=\"#00FFFF\">\n"
    "<td width=\"30%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>项 目</b></p>\n"
    "</td>\n<td width=\"20%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>题 型</b>"
    "</p>\n</td>\n<td width=\"10%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>分 值"
    "</b></p>\n</td>\n<td width=\"40%\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>"
    "知识点</b></p>\n</td>\n</tr>\n";

std::string Row(int depth, const std::string& item, const std::string& type, const char* align,
                const std::string& points, const std::string& knowledge) {
    std::string row =
        "<tr>\n<td width=\"20%\" align=\"left\" valign=\"top\">\n<table border=\"0\" "
        "cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\">\n<tr>\n";
    for (int i = 1; i < depth; ++i) {
        row += "<td>&nbsp;&nbsp;&nbsp;</td>\n";
    }
    return row + "<td>\n" + item + "</td>\n</tr>\n</table>\n</td>\n" +
           "<td width=\"20%\" align=\"center\" valign=\"top\">\n<p>" + type + "</p>\n</td>\n" +
           "<td width=\"10%\" align=\"" + align + "\" valign=\"top\">\n<p>" + points +
           "</p>\n</td>\n<td width=\"50%\" align=\"center\" valign=\"top\">\n" + knowledge +
           "</td>\n</tr>\n";
}

class ReferencePaperPages : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Knowledge"));
        // 100001 "真题:A?" > 100002 "一、选择" > 100003 "（一）" > item 100004;
        // item 100005 right under the paper.
        for (const char* sql : {
                 "insert into Paper(ID, SuperiorID, Title, IsReference) "
                 "values(100001, 0, '真题:A?', true)",
                 "insert into Paper(ID, SuperiorID, Title) values(100002, 100001, '一、选择')",
                 "insert into Paper(ID, SuperiorID, Title) values(100003, 100002, '（一）')",
                 "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
                 "values(100004, 100003, 200001, '第1题', 2.5)",
                 "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
                 "values(100005, 100001, 200002, '第2题', 4)",
                 "insert into QuestionType(ID, Title) values(1, '选择题')",
                 "insert into Knowledge(ID, Title) values(300001, '地形')",
                 "insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge) values(200001, 1, "
                 "'Question/1.html', 'Question/1a.html', '300001,12345,000000,300009')",
                 "insert into Question(ID, TypeID, Knowledge) values(200002, 7, '12')",
             }) {
            ASSERT_TRUE(store_->Execute(sql)) << store_->LastError();
        }
    }
    std::optional<std::string> Show(int paperId) {
        PageContext context{*store_, dir_.Path(), host_};
        return ShowReferencePaperPage(context, paperId);
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
};

TEST_F(ReferencePaperPages, APaperShowsItsTreeWithTypesPointsAndKnowledge) {
    const auto path = Show(100001);
    // "?" and ":" in the title become "_" in the file name.
    ASSERT_EQ(path, dir_.File("Knowledge/真题_A_.htm"));
    EXPECT_EQ(host_.navigations, std::vector<std::string>{*path});
    EXPECT_EQ(host_.generatedFiles, std::vector<std::string>{*path});
    const std::string expected =
        std::string(kHead) +
        "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>试卷分析--真题:A?</b></font>"
        "</p>\n" +
        kTableAndHeader + Row(1, "真题:A?\n", "-", "center", "6.5", "-") +
        // Siblings in GB2312 order: 第 before 一.
        Row(2, "第2题(答案)<br>", "-", "right", "4.0", "-") +
        Row(2, "一、选择\n", "-", "center", "2.5", "-") +
        Row(3, "（一）\n", "-", "center", "2.5", "-") +
        Row(4,
            "<a href=\"Quillory://Question:200001第1题\">第1题</a> <a "
            "href=\"Quillory://Answer:200001第1题\">(答案)</a><br>\n",
            "选择题", "right", "2.5", "<a href=\"Quillory://Knowledge:300001\">地形</a><br>\n-") +
        "</table>\n</font>\n</body>\n</html>\n";
    EXPECT_EQ(GbToUtf8(ReadFileBytes(*path)), expected);
}

TEST_F(ReferencePaperPages, NoPaperAndAMissingQuestion) {
    const auto path = Show(4711);
    ASSERT_EQ(path, dir_.File("Knowledge/QuilloryTemp.html"));
    EXPECT_EQ(GbToUtf8(ReadFileBytes(*path)),
              std::string(kHead) +
                  "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>试卷分析--没有找到试卷"
                  "</b></font></p>\n" +
                  kTableAndHeader + "</table>\n</font>\n</body>\n</html>\n");

    host_ = {};
    ASSERT_TRUE(store_->Execute("delete from Question where ID=200002"));
    EXPECT_FALSE(Show(100001));
    EXPECT_EQ(host_.messages, (decltype(host_.messages){{"试题ID没有找到！", MessageIcon::Error}}));
    EXPECT_TRUE(host_.navigations.empty());
    EXPECT_FALSE(std::filesystem::exists(dir_.File("Knowledge/真题_A_.htm")));
}

}  // namespace
}  // namespace quillory
