#include "core/store/tables.h"

#include <gtest/gtest.h>

#include "core/store/schema.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MakeDataFile;
using testing::TempDir;

template <typename Row>
Row Bare(int id) {
    Row row;
    row.ID = id;
    return row;
}

// Each table gets a full row with the larger ID first and a bare row after it.
TEST(TableReaders, ReadEveryColumnTypedAndInIdOrder) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    for (const char* sql : {
             "insert into Paper values(9, 1, 200002, 2.5, 45, '第二套', 'Question/9.htm', "
             "true, false, -1)",
             "insert into Paper(ID) values(2)",
             "insert into Question values(200009, 3, 2, 'Question/q.htm', 'a,b', "
             "'Question/qa.htm', '300001,300002', '降水', '200009,200010')",
             "insert into Question(ID) values(200002)",
             "insert into QuestionType values(7, '选择题')",
             "insert into QuestionType(ID) values(1)",
             "insert into Knowledge values(300009, 300001, '气候', 'Knowledge/k.htm', "
             "'季风,降水', 12)",
             "insert into Knowledge(ID) values(300002)",
             "insert into History values(700009, '2024-05-01', '13:04:05', 101000, '第一套', "
             "101001, '第1题', 200009, 3, '300001', 'Question/q.htm', 'Question/qa.htm', 2.5, "
             "1.5, 'A', '记')",
             "insert into History(ID) values(700002)",
             "insert into PaperTemplate values(400009, 400001, '单选', true, 30, 1.5, 2.5, "
             "'200009', '3,4', '300001', 'Template/t.htm')",
             "insert into PaperTemplate(ID) values(400002)",
         }) {
        ASSERT_TRUE(store->Execute(sql)) << sql << ": " << store->LastError();
    }
    EXPECT_EQ(ReadPaperRows(*store),
              (std::vector<PaperRow>{
                  Bare<PaperRow>(2),
                  {9, 1, 200002, 2.5f, 45, "第二套", "Question/9.htm", true, false, true}}));
    EXPECT_EQ(ReadQuestionRows(*store),
              (std::vector<QuestionRow>{Bare<QuestionRow>(200002),
                                        {200009, 3, 2, "Question/q.htm", "a,b", "Question/qa.htm",
                                         "300001,300002", "降水", "200009,200010"}}));
    EXPECT_EQ(ReadQuestionTypeRows(*store),
              (std::vector<QuestionTypeRow>{Bare<QuestionTypeRow>(1), {7, "选择题"}}));
    EXPECT_EQ(
        ReadKnowledgeRows(*store),
        (std::vector<KnowledgeRow>{Bare<KnowledgeRow>(300002),
                                   {300009, 300001, "气候", "Knowledge/k.htm", "季风,降水", 12}}));
    EXPECT_EQ(ReadHistoryRows(*store), (std::vector<HistoryRow>{Bare<HistoryRow>(700002),
                                                                {700009,
                                                                 {2024, 5, 1, 0, 0, 0},
                                                                 {0, 0, 0, 13, 4, 5},
                                                                 101000,
                                                                 "第一套",
                                                                 101001,
                                                                 "第1题",
                                                                 200009,
                                                                 3,
                                                                 "300001",
                                                                 "Question/q.htm",
                                                                 "Question/qa.htm",
                                                                 2.5f,
                                                                 1.5f,
                                                                 "A",
                                                                 "记"}}));
    EXPECT_EQ(ReadPaperTemplateRows(*store),
              (std::vector<PaperTemplateRow>{Bare<PaperTemplateRow>(400002),
                                             {400009, 400001, "单选", true, 30, 1.5f, 2.5f,
                                              "200009", "3,4", "300001", "Template/t.htm"}}));

    ASSERT_TRUE(store->Execute("drop table Knowledge"));
    EXPECT_FALSE(ReadKnowledgeRows(*store));
}

// A data file made by another tool may leave columns NULL.
TEST(TableReaders, ReadNullColumnsAsZeroOrEmpty) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    for (const char* table : kTableNames) {
        const std::string name(table);
        for (const std::string& sql :
             {"create table Loose as select * from " + name + " where 0", "drop table " + name,
              "alter table Loose rename to " + name, "insert into " + name + "(ID) values(5)"}) {
            ASSERT_TRUE(store->Execute(sql)) << sql << ": " << store->LastError();
        }
    }
    EXPECT_EQ(ReadPaperRows(*store), std::vector<PaperRow>{Bare<PaperRow>(5)});
    EXPECT_EQ(ReadQuestionRows(*store), std::vector<QuestionRow>{Bare<QuestionRow>(5)});
    EXPECT_EQ(ReadQuestionTypeRows(*store), std::vector<QuestionTypeRow>{Bare<QuestionTypeRow>(5)});
    EXPECT_EQ(ReadKnowledgeRows(*store), std::vector<KnowledgeRow>{Bare<KnowledgeRow>(5)});
    EXPECT_EQ(ReadHistoryRows(*store), std::vector<HistoryRow>{Bare<HistoryRow>(5)});
    EXPECT_EQ(ReadPaperTemplateRows(*store),
              std::vector<PaperTemplateRow>{Bare<PaperTemplateRow>(5)});
}

}  // namespace
}  // namespace quillory
