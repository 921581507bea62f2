// The mistake notebook's rule: which questions are in it, how they are
// counted, ordered and filtered.
#include "core/analysis/mistake_notebook.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/analysis/mistake_notebook_page.h"
#include "core/common/gb_encoding.h"
#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/pages/linked_page.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

// Points 第1章 > {1.1, 1.2} and 第2章. Question 200005 names no point, 200009
// is gone from the bank.
class MistakeNotebookTest : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        for (const char* sql : {
                 "insert into Knowledge(ID, SuperiorID, Title) values(300001, 0, '第1章'), "
                 "(300002, 300001, '1.1'), (300003, 300001, '1.2'), (300004, 0, '第2章')",
                 "insert into Question(ID, TypeID, Knowledge) values(200001, 900001, '300002'), "
                 "(200002, 900001, '300002'), (200003, 900002, '300003'), "
                 "(200004, 900001, '300003'), (200005, 900001, ''), "
                 "(200006, 900001, '300004, 300002,300002'), (200007, 900001, '300003')",
             }) {
            ASSERT_TRUE(store_->Execute(sql)) << store_->LastError();
        }
        // ID, date, time, question, full marks, score, answer
        const struct {
            int id;
            const char* date;
            const char* time;
            int question;
            float total;
            float score;
        } rows[] = {
            {1, "2026-03-05", "09:00:00", 200001, 2, 1},
            {2, "2026-03-01", "09:00:00", 200001, 2, 0},
            {3, "2026-03-01", "09:00:00", 200002, 2, 0},
            {4, "2026-03-10", "09:00:00", 200002, 2, 2},
            {5, "2026-03-02", "09:00:00", 200003, 3, 3},
            {6, "2026-03-12", "09:00:00", 200003, 3, 1},
            {7, "2026-03-13", "08:00:00", 200004, 0, 0},
            {8, "2026-03-03", "09:00:00", 200004, 4, 0},
            {9, "2026-03-14", "09:00:00", 200005, 1, 0},
            {10, "2026-03-14", "09:00:00", 200009, 1, 0},
            {11, "2026-03-05", "09:00:00", 200006, 5, 4},
            {12, "2026-03-11", "09:00:00", 200007, 1, 0},
            {13, "2026-03-11", "09:00:00", 200007, 1, 1},
        };
        for (const auto& row : rows) {
            ASSERT_TRUE(store_->Execute(
                Format("insert into History(ID, RecordDate, RecordTime, QuestionID, TotalScore, "
                       "UserScore, UserAnswer) values(%d, '%s', '%s', %d, %f, %f, 'a%d')",
                       row.id, row.date, row.time, row.question, static_cast<double>(row.total),
                       static_cast<double>(row.score), row.id)));
        }
    }

    testing::TempDir dir_;
    std::unique_ptr<DataStore> store_;
};

TEST_F(MistakeNotebookTest, TheLatestAttemptDecidesAndTheRestIsCounted) {
    const auto notebook = ReadMistakeNotebook(*store_, {0, 0, {2026, 3, 14, 12, 0, 0}});
    ASSERT_TRUE(notebook);
    std::vector<std::string> mistakes;
    for (const Mistake& m : notebook->mistakes) {
        std::string points;
        for (const int point : m.knowledgeIds) {
            points += Format("%d ", point);
        }
        mistakes.push_back(Format("%d %d: %s| %d wrong %d right, last %s %s, %g, %s", m.questionId,
                                  m.typeId, points.c_str(), m.wrong, m.right,
                                  FormatDate(m.lastWrongDate).c_str(),
                                  FormatTime(m.lastWrongTime).c_str(),
                                  static_cast<double>(m.fullMarks), m.lastAnswer.c_str()));
    }
    // 200002 and 200007 were answered right at last (of two rows at one
    // moment the later ID), 200009 is gone; 200004's row without full marks
    // does not count.
    EXPECT_EQ(mistakes,
              (std::vector<std::string>{
                  "200001 900001: 300002 | 2 wrong 0 right, last 2026-03-05 09:00:00, 2, a1",
                  "200006 900001: 300004 300002 | 1 wrong 0 right, last 2026-03-05 "
                  "09:00:00, 5, a11",
                  "200003 900002: 300003 | 1 wrong 1 right, last 2026-03-12 09:00:00, 3, a6",
                  "200004 900001: 300003 | 1 wrong 0 right, last 2026-03-03 09:00:00, 4, a8",
                  "200005 900001: | 1 wrong 0 right, last 2026-03-14 09:00:00, 1, a9",
              }));
}

TEST_F(MistakeNotebookTest, PointsInTreeOrderListTheirQuestionsLatestFirstWithinTheFilter) {
    const struct {
        int days;
        int knowledgeId;
        const char* points;     // point: positions of its questions
        const char* questions;  // in order
    } cases[] = {
        {0, 0, "300002@2: 0 1; 300003@2: 2 3; 300004@1: 1; ",
         "200001 200006 200003 200004 200005 "},
        {30, 0, "300002@2: 0 1; 300003@2: 2 3; 300004@1: 1; ",
         "200001 200006 200003 200004 200005 "},
        {7, 0, "300003@2: 0; ", "200003 200005 "},
        {0, 300001, "300002@2: 0 1; 300003@2: 2 3; ", "200001 200006 200003 200004 "},
        {0, 300004, "300004@1: 0; ", "200006 "},
        {7, 300004, "", ""},
    };
    for (const auto& c : cases) {
        const auto notebook =
            ReadMistakeNotebook(*store_, {c.days, c.knowledgeId, {2026, 3, 14, 12, 0, 0}});
        ASSERT_TRUE(notebook);
        std::string points;
        for (const MistakePoint& point : notebook->points) {
            points += Format("%d@%d:", point.knowledgeId, point.depth);
            for (const size_t at : point.mistakes) {
                points += Format(" %zu", at);
            }
            points += "; ";
        }
        std::string questions;
        for (const Mistake& m : notebook->mistakes) {
            questions += Format("%d ", m.questionId);
        }
        EXPECT_EQ(points, c.points) << c.days << " " << c.knowledgeId;
        EXPECT_EQ(questions, c.questions) << c.days << " " << c.knowledgeId;
    }
}

// The page lists each point with its count and each of its questions with
// links, counts, the day and the answer beside the key.
TEST_F(MistakeNotebookTest, ThePageListsThePointsAndTheirQuestions) {
    std::filesystem::create_directories(dir_.File("Knowledge"));
    for (const char* sql : {
             "update Question set Url='Question/1.html', AnswerUrl='Question/1a.html', "
             "Answer='0,0,9,9,radio,A,1,group,auto\r\n0,0,9,9,radio,B,0' where ID=200001",
             "update History set PaperTitle='第1套', PaperItemTitle='第2题', "
             "UserAnswer='0\r\n1\r\n' where ID=1",
         }) {
        ASSERT_TRUE(store_->Execute(sql)) << store_->LastError();
    }
    testing::RecordingHost host;
    PageContext context{*store_, dir_.Path(), host};
    PageOptions options;
    options.now = {2026, 3, 14, 12, 0, 0};
    ASSERT_TRUE(ShowLinkedPage(context, *ParseInternalLink(MakeMistakesLink(300001, 30)), options));
    ASSERT_EQ(host.navigations, std::vector<std::string>{MistakeNotebookPath(dir_.Path())});
    const std::string page = GbToUtf8(testing::ReadFileBytes(host.navigations[0]));
    for (const char* expected : {
             "<title>错题本</title>",
             "错题本--第1章--最近30天",
             "1.1(2)<br>",
             "1.2(2)<br>",
             "<a href=\"Quillory://Question:200001第1套-第2题\">第1套-第2题</a>"
             "<a href=\"Quillory://Answer:200001第1套-第2题答案\">答案</a>",
             "<p align=\"center\">2 / 0</p>",
             "<p align=\"center\">2026-03-05</p>",
             "<p align=\"center\">B<br>A</p>",
             "<p align=\"center\">-(答案)</p>",
         }) {
        EXPECT_NE(page.find(expected), std::string::npos) << expected << "\n" << page;
    }
    EXPECT_EQ(page.find("第2章"), std::string::npos);
}

}  // namespace
}  // namespace quillory
