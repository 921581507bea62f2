#include "core/store/data_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/text.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrade.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MakeDataFile;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(RowSet, ReadsEachTypeByColumnNameWithoutRegardToCase) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    ASSERT_TRUE(store->Execute(
        "insert into History(ID, RecordDate, RecordTime, PaperTitle, TotalScore, UserScore, "
        "UserAnswer) values(700001, '2024-05-01', '13:04:05', '第一套', 2.500000, 0.000000, "
        "'a\r\nb')"));
    ASSERT_TRUE(store->Execute("insert into Paper(ID, IsQuestion, IsSystem) values(1, true, -1)"));

    auto rows = store->Query("select * from History where ID=700001");
    ASSERT_TRUE(rows);
    ASSERT_FALSE(rows->AtEnd());
    EXPECT_EQ(rows->Int("id"), 700001);
    EXPECT_FLOAT_EQ(rows->Single("TotalScore"), 2.5f);
    EXPECT_EQ(rows->Text("papertitle"), "第一套");
    EXPECT_EQ(rows->Text("UserAnswer"), "a\r\nb");
    EXPECT_EQ(rows->Text("UserMemo"), "");
    EXPECT_EQ(rows->Date("RecordDate"), (DateTime{2024, 5, 1, 0, 0, 0}));
    EXPECT_EQ(rows->Date("RecordTime"), (DateTime{0, 0, 0, 13, 4, 5}));
    rows->Next();
    EXPECT_TRUE(rows->AtEnd());
    EXPECT_FALSE(rows->Failed());

    auto flags = store->Query("select * from Paper where ID=1");
    ASSERT_TRUE(flags);
    EXPECT_TRUE(flags->Bool("IsQuestion"));
    EXPECT_TRUE(flags->Bool("IsSystem"));  // any non-zero value is true
    EXPECT_FALSE(flags->Bool("IsReference"));
}

TEST(RowSet, AMissingRowIsAtEndAtOnceAndReadsAsEmpty) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    auto rows = store->Query("select * from Question where ID=123456");
    ASSERT_TRUE(rows);
    EXPECT_TRUE(rows->AtEnd());
    EXPECT_EQ(rows->Int("ID"), 0);
    EXPECT_EQ(rows->Text("Url"), "");

    auto max = store->Query("select MAX(ID) as max_id from Paper");
    ASSERT_TRUE(max);
    ASSERT_FALSE(max->AtEnd());
    EXPECT_EQ(max->Int("max_id"), 0);
}

TEST(DataStore, ReportsStatementErrorsWithoutThrowing) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    EXPECT_FALSE(store->Query("select * from NoSuchTable"));
    EXPECT_NE(store->LastError().find("NoSuchTable"), std::string::npos);
    EXPECT_FALSE(store->Execute("insert into Paper(ID) values(1); delete from Paper"));
    auto rows = store->Query("select count(*) as n from Paper");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->Int("n"), 0);
    EXPECT_FALSE(store->Execute("insert into Paper(ID) values(1)") &&
                 store->Execute("insert into Paper(ID) values(1)"));
}

// Nothing runs unseen, and no statement locks the file away from the program.
TEST(DataStore, RefusesEmptyAndSecondStatementsAndKeyPragmas) {
    TempDir dir;
    const std::string path = dir.File("a.qly");
    auto store = MakeDataFile(path);
    ASSERT_TRUE(store->Execute("insert into Paper(ID) values(1)"));
    const struct {
        const char* sql;
        const char* fragment;
    } cases[] = {
        {"", "empty"},
        {" ; ", "empty"},
        {"-- nothing", "empty"},
        {"select * from Paper; delete from Paper", "only one statement"},
        {"PRAGMA key='x'", "PRAGMA key"},
        {"pragma  ReKey = 'x'", "PRAGMA key"},
        {"pragma main.rekey='x'", "PRAGMA key"},
        {"/* c */ PRAGMA\nhexrekey='0011'", "PRAGMA key"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_FALSE(store->Execute(c.sql));
        EXPECT_NE(store->LastError().find(c.fragment), std::string::npos) << store->LastError();
        EXPECT_FALSE(store->Query(c.sql));
        EXPECT_NE(store->LastError().find(c.fragment), std::string::npos) << store->LastError();
    }
    store.reset();
    std::string error;
    store = DataStore::Open(path, &error);
    ASSERT_TRUE(store) << error;
    auto rows = store->Query("select count(*) as n from Paper");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->Int("n"), 1);
}

TEST(Transaction, RollsBackUnlessCommittedAndNests) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    auto count = [&] {
        auto rows = store->Query("select count(*) as n from Paper");
        return rows ? rows->Int("n") : -1;
    };
    {
        Transaction tx(*store);
        ASSERT_TRUE(store->Execute("insert into Paper(ID) values(1)"));
        ASSERT_TRUE(store->Execute("insert into Paper(ID) values(2)"));
        EXPECT_FALSE(store->Execute("insert into Paper(ID) values(2)"));
    }
    EXPECT_EQ(count(), 0);
    {
        Transaction outer(*store);
        ASSERT_TRUE(store->Execute("insert into Paper(ID) values(1)"));
        {
            Transaction inner(*store);
            ASSERT_TRUE(store->Execute("insert into Paper(ID) values(2)"));
        }
        EXPECT_EQ(count(), 1);
        EXPECT_TRUE(outer.Commit());
    }
    EXPECT_EQ(count(), 1);
}

class OpeningDataFiles : public ::testing::Test {
protected:
    std::unique_ptr<DataStore> Open(const std::string& path,
                                    std::string_view password = kDataFilePassword) {
        return DataStore::Open(path, &error_, password);
    }
    TempDir dir_;
    std::string error_;
};

TEST_F(OpeningDataFiles, AGoodFileOpensAndIsEncrypted) {
    const std::string path = dir_.File("a.qly");
    MakeDataFile(path)->Execute("insert into Paper(ID, Title) values(1, 'VISIBLE-TITLE')");
    EXPECT_TRUE(Open(path)) << error_;
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.find("SQLite format"), std::string::npos);
    EXPECT_EQ(bytes.find("VISIBLE-TITLE"), std::string::npos);
}

TEST_F(OpeningDataFiles, BadFilesFailCleanlyAndStayUntouched) {
    const std::string good = dir_.File("good.qly");
    MakeDataFile(good);
    const std::string goodBytes = ReadFileBytes(good);

    EXPECT_FALSE(Open(good, "000000000"));
    EXPECT_FALSE(error_.empty());
    EXPECT_EQ(ReadFileBytes(good), goodBytes);

    EXPECT_FALSE(Open(dir_.File("missing.qly")));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("missing.qly")));

    const std::string empty = dir_.File("empty.qly");
    WriteFileBytes(empty, "");
    EXPECT_FALSE(Open(empty));
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);

    const std::string text = dir_.File("text.qly");
    WriteFileBytes(text, "这不是数据文件\n");
    EXPECT_FALSE(Open(text));
    EXPECT_EQ(ReadFileBytes(text), "这不是数据文件\n");

    const std::string cut = dir_.File("cut.qly");
    WriteFileBytes(cut, goodBytes.substr(0, goodBytes.size() / 2));
    EXPECT_FALSE(Open(cut));
    EXPECT_EQ(ReadFileBytes(cut), goodBytes.substr(0, goodBytes.size() / 2));

    const std::string folder = dir_.File("folder.qly");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(Open(folder));
}

int StoredVersion(DataStore& store) {
    auto rows = store.Query("pragma user_version");
    return rows ? rows->Int("user_version") : -1;
}

// Version 0 is a file another tool made in the first format; it and a file
// of version 1 gain ImportedSource on open, in the same transaction as their
// new version. A read-only open reads every readable version as it is.
TEST_F(OpeningDataFiles, AFileOpensUpToTheVersionOfThisProgramAndOnlyOlderOnesAreWritten) {
    EXPECT_EQ(StoredVersion(*MakeDataFile(dir_.File("new.qly"))), kSchemaVersion);
    for (const int stored : {0, 1, kSchemaVersion, kSchemaVersion + 1}) {
        const std::string path = dir_.File(Format("v%d.qly", stored));
        {
            auto made = MakeDataFile(path);
            if (stored < 2) {
                ASSERT_TRUE(made->Execute("drop table ImportedSource"));
            }
            ASSERT_TRUE(made->Execute(Format("pragma user_version=%d", stored)));
        }
        const std::string bytes = ReadFileBytes(path);
        if (stored <= kSchemaVersion) {
            auto readOnly = DataStore::OpenReadOnly(path, &error_);
            ASSERT_TRUE(readOnly) << error_;
            EXPECT_EQ(StoredVersion(*readOnly), stored);
            EXPECT_TRUE(readOnly->Query("select * from Question"));
        }
        EXPECT_EQ(ReadFileBytes(path), bytes) << stored;
        auto store = Open(path);
        if (stored > kSchemaVersion) {
            EXPECT_FALSE(store);
            EXPECT_EQ(error_, kNewerDataFileMessage);
            EXPECT_EQ(ReadFileBytes(path), bytes);
            continue;
        }
        ASSERT_TRUE(store) << error_;
        EXPECT_EQ(StoredVersion(*store), kSchemaVersion);
        EXPECT_TRUE(
            store->Query("select QuestionID, PaperID, PaperTitle, SourceKey from ImportedSource"));
        store.reset();
        if (stored == kSchemaVersion) {
            EXPECT_EQ(ReadFileBytes(path), bytes);
        }
    }
}

// An earlier installation's file is read and must stay as it is.
TEST_F(OpeningDataFiles, AReadOnlyOpenReadsButCannotWriteAndRefusesWhatOpenRefuses) {
    const std::string path = dir_.File("old.qly");
    ASSERT_TRUE(MakeDataFile(path)->Execute("insert into Paper(ID, Title) values(1, '旧卷')"));
    const std::string bytes = ReadFileBytes(path);
    {
        auto store = DataStore::OpenReadOnly(path, &error_);
        ASSERT_TRUE(store) << error_;
        EXPECT_FALSE(store->Execute("delete from Paper"));
        auto rows = store->Query("select * from Paper");
        ASSERT_TRUE(rows && !rows->AtEnd());
        EXPECT_EQ(rows->Text("Title"), "旧卷");
    }
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_FALSE(DataStore::OpenReadOnly(path, &error_, "000000000"));
    EXPECT_FALSE(DataStore::OpenReadOnly(dir_.File("missing.qly"), &error_));
    const std::string newer = dir_.File("newer.qly");
    ASSERT_TRUE(MakeDataFile(newer)->Execute(Format("pragma user_version=%d", kSchemaVersion + 1)));
    EXPECT_FALSE(DataStore::OpenReadOnly(newer, &error_));
    EXPECT_EQ(error_, kNewerDataFileMessage);
}

TEST_F(OpeningDataFiles, AnEncryptedDatabaseWithoutTheTablesIsNoDataFile) {
    const std::string path = dir_.File("other.qly");
    {
        auto store = MakeDataFile(path);
        ASSERT_TRUE(store->Execute("drop table History"));
    }
    EXPECT_FALSE(Open(path));
    EXPECT_NE(error_.find("History"), std::string::npos);
}

// A table of another tool may hold more columns, but none of those the
// program reads may be missing; an earlier installation's file, only read by
// the import, is taken as it is.
TEST_F(OpeningDataFiles, AFileLackingAColumnTheProgramReadsIsNoDataFile) {
    const struct {
        const char* table;
        const char* kept;  // every column but the one that goes
        const char* missing;
    } cases[] = {
        {"Question", "ID, TypeID, Level, Url, AnswerUrl, Knowledge, KeyWord, GroupID", "Answer"},
        {"Paper",
         "ID, SuperiorID, QuestionID, Score, TimeLimit, Url, IsQuestion, IsReference, "
         "IsSystem",
         "Title"},
        {"ConfigProduct", "ID", "LastVerFile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        const std::string path = dir_.File(Format("%s.qly", c.missing));
        {
            auto store = MakeDataFile(path);
            const std::string table = c.table;
            for (const std::string& sql :
                 {Format("create table Loose as select %s from %s where 0", c.kept, c.table),
                  "drop table " + table, "alter table Loose rename to " + table}) {
                ASSERT_TRUE(store->Execute(sql)) << sql << ": " << store->LastError();
            }
        }
        const std::string bytes = ReadFileBytes(path);
        EXPECT_FALSE(Open(path));
        EXPECT_NE(error_.find(Format("column %s.%s is missing", c.table, c.missing)),
                  std::string::npos)
            << error_;
        EXPECT_EQ(ReadFileBytes(path), bytes);
        EXPECT_TRUE(DataStore::OpenReadOnly(path, &error_)) << error_;
    }
    const std::string wider = dir_.File("wider.qly");
    ASSERT_TRUE(MakeDataFile(wider)->Execute("alter table Question add column Extra text"));
    EXPECT_TRUE(Open(wider)) << error_;
}

}  // namespace
}  // namespace quillory
