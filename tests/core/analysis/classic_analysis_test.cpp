#include "core/analysis/classic_analysis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/common/gb_encoding.h"
#include "core/common/text.h"
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

class ClassicAnalysis : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Knowledge"));
    }
    void Run(const std::vector<std::string>& statements) {
        for (const std::string& sql : statements) {
            ASSERT_TRUE(store_->Execute(sql)) << sql << ": " << store_->LastError();
        }
    }
    std::optional<std::string> Build(ClassicPageVariant variant) {
        PageContext context{*store_, dir_.Path(), host_};
        return BuildClassicAnalysis(context, variant, {});
    }
    std::string Weights() {
        std::string weights;
        for (auto rows = store_->Query("select ID, Weight from Knowledge order by ID");
             rows && !rows->AtEnd(); rows->Next()) {
            weights += Format("%d=%d ", rows->Int("ID"), rows->Int("Weight"));
        }
        return weights;
    }
    std::string Page() { return GbToUtf8(ReadFileBytes(ReferenceTotalPath(dir_.Path()))); }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
};

std::string TypeCell(const std::string& content) {
    return "<td width=\"200\" align=\"center\" valign=\"top\">\n<p align=\"center\">" + content +
           "</p>\n</td>\n";
}

std::string PointRow(int depth, const std::string& title, const std::string& weight,
                     const std::vector<std::string>& cells) {
    std::string row =
        "<tr>\n<td width=\"300\" align=\"left\" valign=\"top\">\n<table border=\"0\" "
        "cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\">\n<tr>\n";
    for (int i = 1; i < depth; ++i) {
        row += "<td>&nbsp;&nbsp;&nbsp;</td>\n";
    }
    row += "<td>\n" + title + "</td>\n</tr>\n</table>\n</td>\n" +
           "<td width=\"50\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>" + weight +
           "</b></p>\n</td>\n";
    for (const std::string& cell : cells) {
        row += TypeCell(cell);
    }
    return row + "</tr>\n";
}

TEST_F(ClassicAnalysis, ThePageListsTheReferenceQuestionsOfEachPointByType) {
    Run({"insert into QuestionType(ID, Title) values(2, '填空题')",
         "insert into QuestionType(ID, Title) values(1, '选择题')",
         "insert into Knowledge(ID, SuperiorID, Title, Url) values(12, 0, '地形', "
         "'Knowledge/a.html')",
         "insert into Knowledge(ID, SuperiorID, Title) values(34, 12, '气候')",
         "insert into Paper(ID, SuperiorID, Title, IsReference) values(100001, 0, '真题A', true)",
         "insert into Paper(ID, SuperiorID, Title) values(100002, 100001, '一、选择')",
         "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
         "values(100003, 100002, 200001, '第1题', 5)",
         "insert into Paper(ID, SuperiorID, Title) values(100010, 0, '练习')",
         "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
         "values(100011, 100010, 200002, '第1题', 3)",
         "insert into Question(ID, TypeID, Knowledge) values(200001, 1, '000012,000034')",
         "insert into Question(ID, TypeID, Knowledge) values(200002, 1, '000012')"});
    PageContext context{*store_, dir_.Path(), host_};
    const auto path =
        BuildClassicAnalysis(context, ClassicPageVariant::Command,
                             [&](const std::string& caption) -> std::unique_ptr<Progress> {
                                 EXPECT_EQ(caption, "更新经典统计数据 ");
                                 return std::make_unique<RecordingProgress>();
                             });
    ASSERT_EQ(path, dir_.File("Knowledge/ReferenceTotal.html"));
    EXPECT_EQ(host_.navigations, std::vector<std::string>{*path});
    EXPECT_TRUE(host_.generatedFiles.empty());
    EXPECT_EQ(Weights(), "12=3 34=3 ");

    const std::string question =
        "<a href=\"Quillory://Question:200001真题A 第1题\">真题A 第1题</a>"
        "<a href=\"Quillory://Answer:200001答案\">答案</a>(5.0分)<br>\n";
    const std::string expected =
        "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
        "<meta http-equiv=\"Content-Language\" content=\"zh-cn\">\n<title>经典试卷分析</title>\n"
        "<style type=text/css>\ntd, p, li, input, select {font-size:12px;}\n</style>\n</head>\n"
        "<body background=\"common/image/bk_knowledge.gif\" bgcolor=\"#FFFFFF\" text=\"#000000\" "
        "link=\"#0000ff\" vlink=\"#000099\" alink=\"#ff0000\">\n<font face=\"宋体\">\n"
        "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>试卷分析--汇总</b></font></p>\n"
        "<table border=\"2\" cellpadding=\"0\" cellspacing=\"1\" width=\"750\" id=\"AutoNumber1\" "
        "align=\"center\">\n<tr bgcolor=\"#00FFFF\">\n"
        "<td width=\"300\" align=\"center\" valign=\"top\">\n<p "
        "align=\"center\"><b>知识点</b></p>\n"
        "</td>\n<td width=\"50\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>权重</b>"
        "</p>\n</td>\n<td width=\"200\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>"
        "选择题</b></p>\n</td>\n<td width=\"200\" align=\"center\" valign=\"top\">\n<p "
        "align=\"center\"><b>填空题</b></p>\n</td>\n</tr>\n" +
        PointRow(1, "<a href=\"Quillory://Knowledge:12\">地形</a>", "3", {question, "-"}) +
        PointRow(2, "气候<br>", "3", {question, "-"}) + "</table>\n</font>\n</body>\n</html>\n";
    EXPECT_EQ(Page(), expected);

    // The view's page differs in the blank before each answer link and in
    // being listed for deletion.
    host_ = {};
    ASSERT_TRUE(Build(ClassicPageVariant::View));
    std::string view = expected;
    ReplaceAll(view, "</a><a href=\"Quillory://Answer:", "</a> <a href=\"Quillory://Answer:");
    EXPECT_EQ(Page(), view);
    EXPECT_EQ(host_.generatedFiles, std::vector<std::string>{*path});
}

// Reference paper 100001 of type-1 questions, each (points, knowledge list);
// the weight of one point.
TEST_F(ClassicAnalysis, WeightsShareEachQuestionsPointsAmongItsPiecesAndRound) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> questions;
        int point;
        int weight;
    };
    const Case cases[] = {
        {"no reference question", {}, 12, 0},
        {"2.5 rounds up", {{"5", "000012,000034"}}, 12, 3},
        {"2.49 rounds down", {{"4.98", "000012,000034"}}, 34, 2},
        {"an ID inside a longer one", {{"5", "000120"}}, 12, 5},
        {"a one-digit ID inside", {{"5", "000120"}}, 1, 5},
        {"the empty piece after a comma counts", {{"3", "000012,"}}, 12, 2},
        {"two questions add up", {{"1.2", "000012"}, {"1.2", "100012"}}, 12, 2},
        {"a type without a column counts nothing", {{"5", "type9:000012"}}, 12, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        auto store = testing::MakeDataFile(dir.File("bank.qly"));
        std::filesystem::create_directories(dir.File("Knowledge"));
        std::vector<std::string> sql = {
            "insert into QuestionType(ID, Title) values(1, '选择题')",
            Format("insert into Knowledge(ID, Title, Weight) values(%d, '点', 7)", c.point),
            "insert into Paper(ID, Title, IsReference) values(100001, '真题', true)"};
        int id = 0;
        for (const auto& [points, knowledge] : c.questions) {
            ++id;
            const bool otherType = StartsWith(knowledge, "type9:");
            sql.push_back(
                Format("insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
                       "values(%d, 100001, %d, '题', %s)",
                       100001 + id, 200000 + id, points));
            sql.push_back(Format("insert into Question(ID, TypeID, Knowledge) values(%d, %d, '%s')",
                                 200000 + id, otherType ? 9 : 1, knowledge + (otherType ? 6 : 0)));
        }
        for (const std::string& statement : sql) {
            ASSERT_TRUE(store->Execute(statement)) << statement;
        }
        RecordingHost host;
        PageContext context{*store, dir.Path(), host};
        ASSERT_TRUE(BuildClassicAnalysis(context, ClassicPageVariant::Command, {}));
        auto rows = store->Query("select Weight from Knowledge");
        ASSERT_TRUE(rows && !rows->AtEnd());
        EXPECT_EQ(rows->Int("Weight"), c.weight);
        const std::string page = GbToUtf8(ReadFileBytes(ReferenceTotalPath(dir.Path())));
        EXPECT_NE(page.find(Format("<p align=\"center\"><b>%d</b></p>", c.weight)),
                  std::string::npos);
        EXPECT_EQ(page.find(TypeCell("-")) != std::string::npos, c.weight == 0);
    }
}

TEST_F(ClassicAnalysis, AFailureChangesNoWeightAndKeepsTheEarlierPage) {
    Run({"insert into QuestionType(ID, Title) values(1, '选择题')",
         "insert into Knowledge(ID, Title, Weight) values(12, '甲', 7)",
         "insert into Knowledge(ID, Title, Weight) values(34, '乙', 8)",
         "insert into Paper(ID, Title, IsReference) values(100001, '真题', true)",
         "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
         "values(100002, 100001, 200001, '题', 4)",
         "insert into Question(ID, TypeID, Knowledge) values(200001, 1, '000012,000034')",
         // The second weight cannot be written, after the first was.
         "create trigger NoWeight before update on Knowledge when new.ID=34 "
         "begin select raise(abort, 'refused'); end"});
    const std::string path = ReferenceTotalPath(dir_.Path());
    WriteFileBytes(path, "earlier page");
    EXPECT_FALSE(Build(ClassicPageVariant::View));
    EXPECT_EQ(Weights(), "12=7 34=8 ");
    EXPECT_EQ(ReadFileBytes(path), "earlier page");
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first, "无法保存知识点权重！");
    EXPECT_TRUE(host_.navigations.empty());
    EXPECT_TRUE(host_.generatedFiles.empty());

    // A reference question without its row stops the build before anything.
    host_ = {};
    Run({"drop trigger NoWeight", "delete from Question"});
    EXPECT_FALSE(Build(ClassicPageVariant::Command));
    EXPECT_EQ(host_.messages, (decltype(host_.messages){{"试题ID没有找到！", MessageIcon::Error}}));
    EXPECT_EQ(Weights(), "12=7 34=8 ");
    EXPECT_EQ(ReadFileBytes(path), "earlier page");
}

}  // namespace
}  // namespace quillory
