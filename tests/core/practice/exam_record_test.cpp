#include "core/practice/exam_record.h"

#include <gtest/gtest.h>

#include "core/practice/exam_paper.h"
#include "core/store/data_store.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MemorySettings;
using testing::TempDir;

// Paper 100001 "第1套" > section 100002 > items 100003 (question 200001, 2
// points) and 100004 (question 200002, 3 points); paper 100010 elsewhere.
class Exams : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        Run("insert into Paper(ID, SuperiorID, Title, TimeLimit) values(100001, 0, '第1套', 60)");
        Run("insert into Paper(ID, SuperiorID, Title) values(100002, 100001, '一、选择')");
        Run("insert into Paper(ID, SuperiorID, QuestionID, Score, Title, TimeLimit, IsQuestion) "
            "values(100004, 100002, 200002, 3, '第2题', 30, true)");
        Run("insert into Paper(ID, SuperiorID, QuestionID, Score, Title, IsQuestion) "
            "values(100003, 100002, 200001, 2, '第1题', true)");
        Run("insert into Paper(ID, SuperiorID, Title) values(100010, 0, '第2套')");
        Run("insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge, Answer) values(200001, 1, "
            "'Question/1.html', 'Question/1a.html', '300001', '0,0,9,9,edit,,a')");
        Run("insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge, Answer) values(200002, 2, "
            "'Question/2.html', 'Question/2a.html', '300001,300002', '0,0,9,9,edit,,b')");
    }
    void Run(const std::string& sql) { ASSERT_TRUE(store_->Execute(sql)) << store_->LastError(); }
    ExamPaper Load(int node) {
        auto paper = LoadExamPaper(*store_, node);
        EXPECT_TRUE(paper);
        return paper ? std::move(*paper) : ExamPaper{};
    }
    int Count(const std::string& where = "") {
        auto rows = store_->Query("select count(*) as n from History" + where);
        return rows ? rows->Int("n") : -1;
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    MemorySettings settings_;
};

TEST_F(Exams, APaperLoadsItsSubtreeInTreeOrderWithOneItemPerQuestion) {
    const ExamPaper paper = Load(100001);
    ASSERT_EQ(paper.nodes.Size(), 4u);
    EXPECT_EQ(paper.nodes[0].id, 100001);
    EXPECT_EQ(paper.nodes[2].id, 100003);
    EXPECT_EQ(paper.timeLimits[0], 60);
    ASSERT_EQ(paper.items.size(), 2u);
    EXPECT_EQ(paper.items[0].questionId, 200001);
    EXPECT_EQ(paper.items[0].paperItemId, 100003);
    EXPECT_FLOAT_EQ(paper.items[1].fullMarks, 3);
    EXPECT_EQ(paper.items[1].timeLimit, 30);
    EXPECT_EQ(paper.items[1].knowledge, "300001,300002");
    EXPECT_EQ(paper.items[1].description, "0,0,9,9,edit,,b");
    EXPECT_EQ(paper.loadedNodes, 4u);
}

TEST_F(Exams, ASingleQuestionItemIsAnExamOfOneNode) {
    const ExamPaper paper = Load(100004);
    ASSERT_EQ(paper.nodes.Size(), 1u);
    ASSERT_EQ(paper.items.size(), 1u);
    EXPECT_EQ(paper.items[0].questionId, 200002);
}

TEST_F(Exams, AMissingQuestionStopsTheLoadThere) {
    Run("update Paper set QuestionID=299999 where ID=100004");
    const ExamPaper paper = Load(100001);
    EXPECT_EQ(paper.missingQuestionNode, 100004);
    // The node of the missing question is the last one loaded.
    EXPECT_EQ(paper.loadedNodes, 4u);
    EXPECT_EQ(paper.items.size(), 1u);
}

TEST_F(Exams, StoringWritesOneRowPerQuestionFrom700001) {
    ExamPaper paper = Load(100001);
    paper.items[0].learnerAnswer = "a\r\n";
    paper.items[0].learnerScore = 2;
    paper.items[1].learnerAnswer = "it's\r\n";
    const StoredRecord record =
        StoreExamRecord(*store_, settings_, {2026, 12, 7, 9, 5, 3}, paper.nodes, paper.items);
    ASSERT_TRUE(record.stored) << record.error;
    EXPECT_EQ(record.historyId, 700001);
    EXPECT_EQ(settings_.values["Settings/HistoryModified"], 1);

    auto rows = store_->Query("select * from History order by ID");
    ASSERT_TRUE(rows);
    ASSERT_FALSE(rows->AtEnd());
    EXPECT_EQ(rows->Int("ID"), 700001);
    EXPECT_EQ(rows->Text("RecordDate"), "2026-12-07");
    EXPECT_EQ(rows->Text("RecordTime"), "09:05:03");
    EXPECT_EQ(rows->Int("PaperID"), 100001);
    EXPECT_EQ(rows->Text("PaperTitle"), "第1套");
    EXPECT_EQ(rows->Int("PaperItemID"), 100003);
    EXPECT_EQ(rows->Text("PaperItemTitle"), "第1题");
    EXPECT_EQ(rows->Int("QuestionID"), 200001);
    EXPECT_EQ(rows->Int("QuestionTypeID"), 1);
    EXPECT_EQ(rows->Text("KnowledgeID"), "300001");
    EXPECT_EQ(rows->Text("Url"), "Question/1.html");
    EXPECT_EQ(rows->Text("AnswerUrl"), "Question/1a.html");
    EXPECT_FLOAT_EQ(rows->Single("TotalScore"), 2);
    EXPECT_FLOAT_EQ(rows->Single("UserScore"), 2);
    EXPECT_EQ(rows->Text("UserAnswer"), "a\r\n");
    rows->Next();
    EXPECT_EQ(rows->Int("ID"), 700002);
    EXPECT_EQ(rows->Text("UserAnswer"), "it's\r\n");
}

TEST_F(Exams, AFailedStoreLeavesNothingAndDoesNotMarkTheHistory) {
    ExamPaper paper = Load(100001);
    // The second row of the record fails after the first was written.
    Run("create trigger refuse before insert on History when new.PaperItemID=100004 "
        "begin select raise(abort, 'refused'); end");
    const StoredRecord record =
        StoreExamRecord(*store_, settings_, {2026, 12, 7, 9, 5, 3}, paper.nodes, paper.items);
    EXPECT_FALSE(record.stored);
    EXPECT_NE(record.error.find("refused"), std::string::npos);
    EXPECT_EQ(Count(), 0);
    EXPECT_TRUE(settings_.values.empty());
}

TEST_F(Exams, ReviewAppliesTheRowsOfRecordsOfTheSameSecondInIdOrder) {
    ExamPaper paper = Load(100001);
    const DateTime now{2026, 12, 7, 9, 5, 3};
    paper.items[0].learnerAnswer = "first\r\n";
    paper.items[0].learnerScore = 1;
    ASSERT_TRUE(StoreExamRecord(*store_, settings_, now, paper.nodes, paper.items).stored);
    paper.items[0].learnerAnswer = "second\r\n";
    paper.items[0].learnerScore = 2;
    const StoredRecord later = StoreExamRecord(*store_, settings_, now, paper.nodes, paper.items);
    ASSERT_TRUE(later.stored);
    EXPECT_EQ(later.historyId, 700003);

    const auto record = FindRecord(*store_, 700001);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->paperId, 100001);
    ExamPaper review = Load(record->paperId);
    ASSERT_TRUE(ApplyRecordRows(*store_, *record, review.items));
    EXPECT_EQ(review.items[0].learnerAnswer, "second\r\n");
    EXPECT_FLOAT_EQ(review.items[0].learnerScore, 2);
    EXPECT_FALSE(FindRecord(*store_, 123));
}

TEST(ExamItemResult, ToleratesATenthAndNeedsMarksToBeCorrect) {
    auto result = [](float full, float score) {
        ExamItem item;
        item.fullMarks = full;
        item.learnerScore = score;
        return ResultOf(item);
    };
    EXPECT_EQ(result(2, 1.9f), ItemResult::Correct);
    EXPECT_EQ(result(2, 1.0f), ItemResult::PartlyCorrect);
    EXPECT_EQ(result(2, 0.05f), ItemResult::Wrong);
    EXPECT_EQ(result(0, 0), ItemResult::Wrong);
}

}  // namespace
}  // namespace quillory
