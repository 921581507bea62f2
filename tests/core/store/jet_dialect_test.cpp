#include "core/store/jet_dialect.h"

#include <gtest/gtest.h>

#include "core/common/text.h"
#include "core/store/data_store.h"
#include "core/store/jet_values.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MakeDataFile;
using testing::TempDir;

TEST(TranslateJetSql, RewritesTheDialectOutsideLiteralsOnly) {
    EXPECT_EQ(TranslateJetSql("select ID, title from Paper where IsReference=TRUE"),
              "select ID, title from Paper where jet_true(IsReference)=1");
    EXPECT_EQ(TranslateJetSql("insert into T values(true, false, 'true')"),
              "insert into T values(1, 0, 'true')");
    EXPECT_EQ(TranslateJetSql("delete * from History where ID=1"),
              "delete from History where ID=1");
    EXPECT_EQ(TranslateJetSql("select * from History"), "select * from History");
    EXPECT_EQ(TranslateJetSql("select count(*) as n from Paper"),
              "select count(*) as n from Paper");
    EXPECT_EQ(TranslateJetSql("RecordDate=#2024-05-01# and h.RecordTime >= #08:09:10#"),
              "jet_date(RecordDate)='2024-05-01 00:00:00' and "
              "jet_date(h.RecordTime)>='1899-12-30 08:09:10'");
    EXPECT_EQ(TranslateJetSql("update History set RecordDate=#2024-05-01# where ID=1"),
              "update History set RecordDate='2024-05-01' where ID=1");
    EXPECT_EQ(TranslateJetSql("values(#2024-05-01#, #x#)"), "values('2024-05-01', 'x')");
    EXPECT_EQ(TranslateJetSql("where Title='a #b# true'"), "where Title='a #b# true'");
}

TEST(TranslateJetSql, ComparesYesNoColumnsThroughTheirTruthAndStoresOneOrZero) {
    const struct {
        const char* jet;
        const char* sqlite;
    } cases[] = {
        {"where p.IsSystem = true and IsQuestion<>FALSE",
         "where jet_true(p.IsSystem)=1 and jet_true(IsQuestion)<>0"},
        {"where IsReference != true or (IsSystem==false)",
         "where jet_true(IsReference)!=1 or (jet_true(IsSystem)==0)"},
        {"update Paper set IsReference=true, IsSystem = false where IsQuestion=true",
         "update Paper set IsReference=1, IsSystem = 0 where jet_true(IsQuestion)=1"},
        {"update Paper set IsSystem=(IsQuestion=true)",
         "update Paper set IsSystem=(jet_true(IsQuestion)=1)"},
        // Nothing to compare through: the plain number.
        {"where 1=true or (ID)=true or ID>=true or true=IsSystem",
         "where 1=1 or (ID)=1 or ID>=1 or 1=IsSystem"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TranslateJetSql(c.jet), c.sqlite) << c.jet;
    }
}

TEST(TranslateJetSql, TurnsLikeWildcardsIntoEscapedSqlitePatterns) {
    EXPECT_EQ(TranslateJetSql("KnowledgeID like '*12*'"), "KnowledgeID like '%12%' ESCAPE '\\'");
    EXPECT_EQ(TranslateJetSql("Title like '50%_x?'"), "Title like '50\\%\\_x_' ESCAPE '\\'");
    EXPECT_EQ(TranslateJetSql("Title LIKE '*it''s*'"), "Title LIKE '%it''s%' ESCAPE '\\'");
}

TEST(TranslateJetSql, SortsByTitleInTheGb2312Collation) {
    const struct {
        const char* jet;
        const char* sqlite;
    } cases[] = {
        {"select * from Knowledge order by Title",
         "select * from Knowledge order by Title COLLATE GB2312"},
        {"select * from Paper order by title desc",
         "select * from Paper order by title COLLATE GB2312 desc"},
        {"select * from Paper order by Title ASC, ID",
         "select * from Paper order by Title COLLATE GB2312 ASC, ID"},
        {"select * from Paper p order by p.SuperiorID, p.Title",
         "select * from Paper p order by p.SuperiorID, p.Title COLLATE GB2312"},
        {"select * from (select * from Paper order by Title) order by ID",
         "select * from (select * from Paper order by Title COLLATE GB2312) order by ID"},
        {"select * from Paper order by Title limit 3",
         "select * from Paper order by Title COLLATE GB2312 limit 3"},
        // Not a bare title column, or a collation of its own: left alone.
        {"select * from Paper order by Title collate NOCASE",
         "select * from Paper order by Title collate NOCASE"},
        {"select * from Paper order by length(Title), SubTitle",
         "select * from Paper order by length(Title), SubTitle"},
        {"select * from Paper order by Title || Url", "select * from Paper order by Title || Url"},
        {"select Title from Paper where Title='order by Title' group by Title",
         "select Title from Paper where Title='order by Title' group by Title"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TranslateJetSql(c.jet), c.sqlite) << c.jet;
    }
}

TEST(SqlQuote, DoublesSingleQuotesOnly) {
    EXPECT_EQ(SqlQuote("it's \"x\""), "it''s \"x\"");
    EXPECT_EQ(SqlQuote(""), "");
    EXPECT_EQ(SqlQuote("''"), "''''");
}

class DialectOnDisk : public ::testing::Test {
protected:
    void SetUp() override { store_ = MakeDataFile(dir_.File("bank.qly")); }

    std::vector<int> Ids(const std::string& sql) {
        std::vector<int> ids;
        auto rows = store_->Query(sql);
        EXPECT_TRUE(rows) << store_->LastError();
        for (; rows && !rows->AtEnd(); rows->Next()) {
            ids.push_back(rows->Int("ID"));
        }
        return ids;
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
};

TEST_F(DialectOnDisk, LikeMatchesIdListsBySubstringAndLatinLettersWithoutCase) {
    ASSERT_TRUE(store_->Execute("insert into History(ID, KnowledgeID) values(1, '12')"));
    ASSERT_TRUE(store_->Execute("insert into History(ID, KnowledgeID) values(2, '5,112')"));
    ASSERT_TRUE(store_->Execute("insert into History(ID, KnowledgeID) values(3, '120,7')"));
    ASSERT_TRUE(store_->Execute("insert into History(ID, KnowledgeID) values(4, '21')"));
    EXPECT_EQ(Ids("select * from History where KnowledgeID like '*12*' order by ID"),
              (std::vector<int>{1, 2, 3}));

    ASSERT_TRUE(store_->Execute("insert into Knowledge(ID, KeyWord) values(1, 'Newton,力')"));
    ASSERT_TRUE(store_->Execute("insert into Knowledge(ID, KeyWord) values(2, '100%纯')"));
    ASSERT_TRUE(store_->Execute("insert into Knowledge(ID, KeyWord) values(3, '100x纯')"));
    EXPECT_EQ(Ids("select * from Knowledge where KeyWord like '*newton*'"), (std::vector<int>{1}));
    EXPECT_EQ(Ids("select * from Knowledge where KeyWord like '*力*'"), (std::vector<int>{1}));
    // A literal percent sign in the value is no wildcard.
    EXPECT_EQ(Ids("select * from Knowledge where KeyWord like '*100%*'"), (std::vector<int>{2}));
}

TEST_F(DialectOnDisk, TheProgramsOwnStatementsRunAsWritten) {
    ASSERT_TRUE(store_->Execute(
        "insert into Paper(ID, SuperiorID, QuestionID, Score, TimeLimit, Title, Url, IsQuestion, "
        "IsSystem) values(550001, 0, 0, 10.500000, 3600, '模拟卷', 'Question/a.html', false, "
        "true)"));
    EXPECT_EQ(Ids("select * from Paper where IsSystem=true"), (std::vector<int>{550001}));
    EXPECT_EQ(Ids("select ID, title from Paper where IsReference=TRUE"), (std::vector<int>{}));
    EXPECT_EQ(Ids("select MIN(ID) as ID from Paper where IsSystem=true"),
              (std::vector<int>{550001}));

    ASSERT_TRUE(store_->Execute(
        "insert into History(ID, RecordDate, RecordTime, PaperID, TotalScore, UserScore) "
        "values(700001, '2024-05-01', '08:09:10', 550001, 2.000000, 1.500000)"));
    EXPECT_EQ(Ids("select * from History where PaperID=550001 and RecordDate=#2024-05-01# and "
                  "RecordTime=#08:09:10# order by ID"),
              (std::vector<int>{700001}));
    ASSERT_TRUE(
        store_->Execute("delete * from History where PaperID=550001 and "
                        "RecordDate=#2024-05-01# and RecordTime=#08:09:10#"));
    EXPECT_TRUE(Ids("select * from History").empty());
    ASSERT_TRUE(store_->Execute("Update ConfigProduct set LastVerFile=''"));
}

// Jet's -1, other tools' 1, 2 or words: every true value is true, in a
// statement and in a typed read; NULL and the rest are false.
TEST_F(DialectOnDisk, EveryTrueValueABankMayStoreIsTrue) {
    const char* stored[] = {"-1", "1",    "2",       "0.5",  "'True'", "' yes '", "'-1'",
                            "0",  "NULL", "'False'", "'no'", "''",     "'0'",     "x'01'"};
    // A column without a type keeps every value as it was written.
    ASSERT_TRUE(store_->Execute("create table Flags(ID integer primary key, IsReference)"));
    for (int i = 0; i < static_cast<int>(std::size(stored)); ++i) {
        ASSERT_TRUE(store_->Execute(
            Format("insert into Flags(ID, IsReference) values(%d, %s)", i + 1, stored[i])))
            << stored[i] << store_->LastError();
    }
    const std::vector<int> yes{1, 2, 3, 4, 5, 6, 7};
    const std::vector<int> no{8, 9, 10, 11, 12, 13, 14};
    EXPECT_EQ(Ids("select ID from Flags where IsReference=TRUE order by ID"), yes);
    EXPECT_EQ(Ids("select ID from Flags where IsReference<>false order by ID"), yes);
    EXPECT_EQ(Ids("select ID from Flags where IsReference=false order by ID"), no);
    std::vector<int> read;
    for (auto rows = store_->Query("select * from Flags order by ID"); rows && !rows->AtEnd();
         rows->Next()) {
        if (rows->Bool("IsReference")) {
            read.push_back(rows->Int("ID"));
        }
    }
    EXPECT_EQ(read, yes);
}

TEST(JetDateText, BringsEveryStoredFormOfAMomentToOne) {
    const struct {
        const char* stored;
        const char* text;
    } cases[] = {
        {"2026-03-01", "2026-03-01 00:00:00"},
        {"2026-03-01 00:00:00", "2026-03-01 00:00:00"},
        {"2026-3-1", "2026-03-01 00:00:00"},
        {"2026-03-01T09:26:53.250", "2026-03-01 09:26:53"},
        {"09:26:53", "1899-12-30 09:26:53"},
        {"1899-12-30 09:26:53", "1899-12-30 09:26:53"},
        {"gestern", "gestern"},
        {"2026-03-01 25:00:00", "2026-03-01 25:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JetDateText(c.stored), c.text) << c.stored;
    }
}

// A record's rows are found by date and time however the bank stored them.
TEST_F(DialectOnDisk, DatesAndTimesMatchInEveryStoredForm) {
    const char* stored[][2] = {{"2026-03-01", "09:26:53"},
                               {"2026-03-01 00:00:00", "1899-12-30 09:26:53"},
                               {"2026-03-01T00:00:00", "09:26:53.000"},
                               {"2026-03-02", "09:26:53"},
                               {"2026-03-01", "09:26:54"}};
    for (int i = 0; i < static_cast<int>(std::size(stored)); ++i) {
        ASSERT_TRUE(store_->Execute(
            Format("insert into History(ID, PaperID, RecordDate, RecordTime) values(%d, 5, '%s', "
                   "'%s')",
                   i + 1, stored[i][0], stored[i][1])));
    }
    EXPECT_EQ(Ids("select * from History where PaperID=5 and RecordDate=#2026-03-01# and "
                  "RecordTime=#09:26:53# order by ID"),
              (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Ids("select * from History where RecordDate>#2026-03-01# order by ID"),
              (std::vector<int>{4}));
    ASSERT_TRUE(
        store_->Execute("delete * from History where PaperID=5 and "
                        "RecordDate=#2026-03-01# and RecordTime=#09:26:53#"));
    EXPECT_EQ(Ids("select * from History order by ID"), (std::vector<int>{4, 5}));
}

TEST_F(DialectOnDisk, QuotedValuesWithApostrophesRoundTrip) {
    const std::string title = "O'Neil's \"卷\" #1# true * ? %_";
    ASSERT_TRUE(
        store_->Execute("insert into Paper(ID, Title) values(5, '" + SqlQuote(title) + "')"));
    auto rows = store_->Query("select * from Paper where Title='" + SqlQuote(title) + "'");
    ASSERT_TRUE(rows);
    ASSERT_FALSE(rows->AtEnd());
    EXPECT_EQ(rows->Text("Title"), title);
}

TEST_F(DialectOnDisk, AnUnquotedApostropheFailsCleanlyAndChangesNothing) {
    EXPECT_FALSE(store_->Execute("insert into Paper(ID, Title) values(5, 'O'Neil')"));
    EXPECT_FALSE(store_->LastError().empty());
    EXPECT_TRUE(Ids("select * from Paper").empty());
}

TEST_F(DialectOnDisk, OrderByTitleFollowsGb2312BytesAndEqualTitlesKeepIdOrder) {
    // GB2312: 数 CAFD, 英 D3A2, 语 D3EF; ASCII before all of them.
    const char* titles[] = {"语文", "数学", "英语", "数学", "Art"};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(store_->Execute("insert into Paper(ID, Title) values(" +
                                    std::to_string(10 - i) + ", '" + titles[i] + "')"));
    }
    EXPECT_EQ(Ids("select ID from Paper order by Title"), (std::vector<int>{6, 7, 9, 8, 10}));
}

TEST_F(DialectOnDisk, OrderByTitleFollowsGb2312BytesWhereTheColumnHasNoCollation) {
    // As a bank made by another tool declares it.
    ASSERT_TRUE(store_->Execute("drop table Knowledge"));
    ASSERT_TRUE(store_->Execute(
        "create table Knowledge (ID integer primary key, SuperiorID integer, Title text, "
        "Url text, KeyWord text, Weight integer)"));
    // GB2312 and UTF-8 disagree: 病 B2A1 / E797, 数 CAFD / E695, 文 CEC4 / E696.
    const char* titles[] = {"语文", "文学与实用类文本阅读", "数学", "病句与语言表达"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(store_->Execute("insert into Knowledge(ID, Title) values(" +
                                    std::to_string(i + 1) + ", '" + titles[i] + "')"));
    }
    EXPECT_EQ(Ids("select * from Knowledge order by Title"), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(Ids("select * from Knowledge k order by k.Title desc"),
              (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace quillory
