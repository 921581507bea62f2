#include <gtest/gtest.h>

#include <filesystem>

#include "core/bank/bank_check.h"
#include "core/store/data_store.h"
#include "source_files.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MakeDataFile;
using testing::TempDir;
using testing::WriteFiles;

// A small bank with nothing wrong in it: every kind of row and reference.
class SoundBank {
public:
    SoundBank() : store_(MakeDataFile(dir_.File("bank.qly"))) {
        for (const char* sql : {
                 "insert into QuestionType(ID, Title) values(100001, '单项选择题')",
                 "insert into QuestionType(ID, Title) values(100002, '填空题')",
                 "insert into Knowledge(ID, SuperiorID, Title, Url) values(300001, 0, '地理', "
                 "'Knowledge/300001.html')",
                 "insert into Knowledge(ID, SuperiorID, Title, Url) values(300002, 300001, '河流', "
                 "'Knowledge\\300002.html')",
                 "insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge, GroupID, Answer) "
                 "values(200001, 100001, 'Question/200001.html', ' Question/200001a.html ', "
                 "'300001, 300002,', '200001,200002', "
                 "'10,10,300,20,Label,选择:\r\n10,40,200,20,radio,A,1,group,auto\r\n\r\n')",
                 "insert into Question(ID, TypeID, Url, AnswerUrl, Answer) values(200002, 100002, "
                 "'http://example.com/q', 'Question/200002a.html', "
                 "'0,0,200,20,edit,,北京\r\n0,30,200,60,EditMutiLine,,x\r\n0,0,9,9,check,c')",
                 "insert into Paper(ID, SuperiorID, Title, Url) values(100001, 0, '试卷', "
                 "'Question/P100001.html')",
                 "insert into Paper(ID, SuperiorID, QuestionID, IsQuestion, Title) "
                 "values(100002, 100001, 200001, true, '第001题')",
                 "insert into PaperTemplate(ID, SuperiorID, Title) values(400001, 0, '模版')",
                 "insert into PaperTemplate(ID, SuperiorID, IsQuestion, QuestionID, "
                 "QuestionTypeID, "
                 "KnowledgeID) values(400002, 400001, true, '200002', '100001,100002', '300002')",
             }) {
            EXPECT_TRUE(store_->Execute(sql)) << sql << ": " << store_->LastError();
        }
        WriteFiles(dir_.Path(), {{"Knowledge/300001.html", "k"},
                                 {"Knowledge/300002.html", "k"},
                                 {"Question/200001.html", "q"},
                                 {"Question/200001a.html", "a"},
                                 {"Question/200002a.html", "a"},
                                 {"Question/P100001.html", "p"}});
    }

    DataStore& Store() { return *store_; }
    const TempDir& Dir() const { return dir_; }
    std::vector<std::string> Check() { return CheckBank(*store_, dir_.Path()); }

private:
    TempDir dir_;
    std::unique_ptr<DataStore> store_;
};

TEST(CheckBank, FindsNothingInASoundBank) {
    SoundBank bank;
    EXPECT_EQ(bank.Check(), std::vector<std::string>{});
}

TEST(CheckBank, FindsEachKindOfProblemOnce) {
    struct Case {
        const char* change;  // a statement, or "rm <page>"
        const char* problem;
    };
    const Case cases[] = {
        {"rm Question/200001a.html",
         "Question 200001: AnswerUrl 所指的页面文件不存在: Question/200001a.html"},
        {"rm Knowledge/300002.html",
         "Knowledge 300002: Url 所指的页面文件不存在: Knowledge\\300002.html"},
        {"rm Question/P100001.html",
         "Paper 100001: Url 所指的页面文件不存在: Question/P100001.html"},
        {"update Question set Url='' where ID=200001",
         "Question 200001: Url 或 AnswerUrl 为空，试题和答案都无法显示"},
        {"update Paper set Url='../P100001.html' where ID=100001",
         "Paper 100001: Url 指向数据文件夹之外: ../P100001.html"},
        {"update PaperTemplate set Url='Question/T.html' where ID=400002",
         "PaperTemplate 400002: Url 所指的页面文件不存在: Question/T.html"},
        {"insert into Paper(ID, Title) values(99999, 'x')",
         "Paper 99999: ID 不是六位数 (应在 100000 到 999999 之间)"},
        {"insert into Knowledge(ID, Title) values(1000000, 'x')",
         "Knowledge 1000000: ID 不是六位数 (应在 100000 到 999999 之间)"},
        {"insert into Question(ID, TypeID, Url, AnswerUrl) values(12, 100001, 'http://q', "
         "'http://a')",
         "Question 12: ID 不是六位数 (应在 100000 到 999999 之间)"},
        {"insert into PaperTemplate(ID) values(40000)",
         "PaperTemplate 40000: ID 不是六位数 (应在 100000 到 999999 之间)"},
        {"update Question set Knowledge='300001,300003' where ID=200001",
         "Question 200001: Knowledge 中的 300003 不是已有的知识点"},
        {"update Question set Knowledge='30000l' where ID=200001",
         "Question 200001: Knowledge 中的 \"30000l\" 不是数字 ID"},
        {"update PaperTemplate set KnowledgeID='300009' where ID=400002",
         "PaperTemplate 400002: KnowledgeID 中的 300009 不是已有的知识点"},
        {"update PaperTemplate set QuestionID='200002, 200003' where ID=400002",
         "PaperTemplate 400002: QuestionID 中的 200003 不是已有的试题"},
        {"update PaperTemplate set QuestionTypeID='100003' where ID=400002",
         "PaperTemplate 400002: QuestionTypeID 中的 100003 不是已有的题型"},
        {"update Paper set QuestionID=200009 where ID=100002",
         "Paper 100002: QuestionID 200009 不是已有的试题"},
        {"update Question set TypeID=7 where ID=200002",
         "Question 200002: TypeID 7 不是已有的题型"},
        {"update Paper set SuperiorID=100005 where ID=100002",
         "Paper 100002: SuperiorID 100005 不是 Paper 中已有的行"},
        {"update Knowledge set SuperiorID=300005 where ID=300002",
         "Knowledge 300002: SuperiorID 300005 不是 Knowledge 中已有的行"},
        {"update PaperTemplate set SuperiorID=400005 where ID=400002",
         "PaperTemplate 400002: SuperiorID 400005 不是 PaperTemplate 中已有的行"},
        {"update Question set Answer='10,10,300,20,label,a\r\n\r\n10,40,200,20,radio' "
         "where ID=200001",
         "Question 200001: Answer 第 3 行只有 5 个字段 (至少要 6 个)"},
        {"update Question set Answer='10,40,200,20,button,A,1' where ID=200001",
         "Question 200001: Answer 第 1 行的控件类型 \"button\" 未知 (应为 "
         "label、radio、check、edit "
         "或 editmutiline)"},
        // Lines apart at a lone LF, as other tools write them, count too.
        {"update Question set Answer='0,0,1,1,label,a\r\n0,0,1,1,edit,,x\n0,0,1,1,edit' "
         "where ID=200002",
         "Question 200002: Answer 第 3 行只有 5 个字段 (至少要 6 个)"},
        {"update Question set GroupID='200001,200003' where ID=200001",
         "Question 200001: GroupID 中的 200003 不是已有的试题"},
        {"update Knowledge set SuperiorID=300002 where ID=300001",
         "Knowledge 300001: SuperiorID 形成循环: 300001 → 300002 → 300001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        SoundBank bank;
        const std::string change = c.change;
        if (change.rfind("rm ", 0) == 0) {
            ASSERT_TRUE(std::filesystem::remove(bank.Dir().File(change.substr(3))));
        } else {
            ASSERT_TRUE(bank.Store().Execute(change)) << bank.Store().LastError();
        }
        EXPECT_EQ(bank.Check(), std::vector<std::string>{c.problem});
    }
}

TEST(CheckBank, ReportsSlotsTheSelectionCannotFill) {
    struct Case {
        std::vector<const char*> changes;
        std::vector<std::string> problems;
    };
    const std::string nothing = "PaperTemplate 400002: 没有符合此题位条件的试题";
    const Case cases[] = {
        // Explicit IDs are or'd with the rest; types and knowledge restrict each other.
        {{"update PaperTemplate set QuestionTypeID='100002' where ID=400002"}, {}},
        {{"update PaperTemplate set QuestionID='', QuestionTypeID='100002' where ID=400002"},
         {nothing}},
        {{"update PaperTemplate set QuestionID='', KnowledgeID='' where ID=400002"}, {}},
        // A knowledge point matches anywhere in the question's list.
        {{"update PaperTemplate set QuestionID='', QuestionTypeID='' where ID=400002"}, {}},
        {{"update PaperTemplate set QuestionID='', QuestionTypeID='', KnowledgeID='' "
          "where ID=400002"},
         {nothing}},
        // Short pieces are dropped before the filter is built; empty ones do no harm.
        {{"insert into QuestionType(ID, Title) values(7, '判断题')",
          "update Question set TypeID=7 where ID=200002",
          "update PaperTemplate set QuestionID='', QuestionTypeID='7,', KnowledgeID='' "
          "where ID=400002"},
         {"PaperTemplate 400002: QuestionTypeID 中的 \"7\" 只有 1 个字符，选题时被忽略 (至少要 6 "
          "个)",
          nothing}},
        {{"update PaperTemplate set KnowledgeID='300002, 3000' where ID=400002"},
         {"PaperTemplate 400002: KnowledgeID 中的 3000 不是已有的知识点",
          "PaperTemplate 400002: KnowledgeID 中的 \" 3000\" 只有 5 个字符，选题时被忽略 (至少要 "
          "6 个)"}},
        // A piece that is no number breaks the selection's statement.
        {{"update PaperTemplate set QuestionID='20000l2' where ID=400002"},
         {"PaperTemplate 400002: QuestionID 中的 \"20000l2\" 不是数字 ID", nothing}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changes.back());
        SoundBank bank;
        for (const char* change : c.changes) {
            ASSERT_TRUE(bank.Store().Execute(change)) << bank.Store().LastError();
        }
        EXPECT_EQ(bank.Check(), c.problems);
    }
}

TEST(CheckBank, ReportsEachCycleOnceAndGoesOn) {
    SoundBank bank;
    for (const char* sql : {
             // 100010 -> 100011 -> 100012 -> 100011, and 100013 hanging below the loop.
             "insert into Paper(ID, SuperiorID) values(100012, 100011)",
             "insert into Paper(ID, SuperiorID) values(100011, 100012)",
             "insert into Paper(ID, SuperiorID) values(100010, 100011)",
             "insert into Paper(ID, SuperiorID) values(100013, 100012)",
             "insert into PaperTemplate(ID, SuperiorID) values(400003, 400003)",
         }) {
        ASSERT_TRUE(bank.Store().Execute(sql)) << sql;
    }
    EXPECT_EQ(bank.Check(), (std::vector<std::string>{
                                "Paper 100011: SuperiorID 形成循环: 100011 → 100012 → 100011",
                                "PaperTemplate 400003: SuperiorID 形成循环: 400003 → 400003",
                            }));
}

TEST(CheckBank, ReportsATableItCannotRead) {
    SoundBank bank;
    ASSERT_TRUE(bank.Store().Execute("drop table Knowledge"));
    const auto problems = bank.Check();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("无法读取表 Knowledge: ", 0), 0u) << problems[0];
}

}  // namespace
}  // namespace quillory
