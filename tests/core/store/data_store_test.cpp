#include "core/store/data_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/text.h"
#include "core/store/schema.h"
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
    auto reopened = DataStore::Open(path);
    ASSERT_TRUE(reopened) << reopened.error().detail;
    auto rows = (*reopened)->Query("select count(*) as n from Paper");
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
    // The store, or null with the failure in error_.
    std::unique_ptr<DataStore> Take(Result<std::unique_ptr<DataStore>> result) {
        if (!result) {
            error_ = result.error();
            return nullptr;
        }
        return std::move(*result);
    }
    std::unique_ptr<DataStore> Open(const std::string& path,
                                    std::string_view password = kDataFilePassword) {
        return Take(DataStore::Open(path, password));
    }
    TempDir dir_;
    Error error_;
};

TEST_F(OpeningDataFiles, AGoodFileOpensAndIsEncrypted) {
    const std::string path = dir_.File("a.qly");
    MakeDataFile(path)->Execute("insert into Paper(ID, Title) values(1, 'VISIBLE-TITLE')");
    EXPECT_TRUE(Open(path)) << error_.detail;
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.find("SQLite format"), std::string::npos);
    EXPECT_EQ(bytes.find("VISIBLE-TITLE"), std::string::npos);
}

// Each refusal says why, so that start-up can tell a newer file from a
// wrong password; the file stays as it was, and a missing one is not made.
TEST_F(OpeningDataFiles, BadFilesFailWithTheirReasonAndStayUntouched) {
    const std::string good = dir_.File("good.qly");
    MakeDataFile(good);
    const std::string goodBytes = ReadFileBytes(good);
    const std::string cutBytes = goodBytes.substr(0, goodBytes.size() / 2);
    const std::string empty;
    const std::string text = "这不是数据文件\n";
    const std::string newer = dir_.File("newer.qly");
    ASSERT_TRUE(MakeDataFile(newer)->Execute(Format("pragma user_version=%d", kSchemaVersion + 1)));
    std::filesystem::create_directory(dir_.File("folder.qly"));
    const struct {
        const char* name;
        const std::string* bytes;  // written first unless null
        const char* password;
        ErrorCode code;
    } cases[] = {
        {"good.qly", nullptr, "000000000", ErrorCode::WrongPassword},
        {"missing.qly", nullptr, kDataFilePassword, ErrorCode::FileMissing},
        {"folder.qly", nullptr, kDataFilePassword, ErrorCode::FileMissing},
        {"empty.qly", &empty, kDataFilePassword, ErrorCode::NotDataFile},
        {"text.qly", &text, kDataFilePassword, ErrorCode::WrongPassword},
        {"cut.qly", &cutBytes, kDataFilePassword, ErrorCode::DamagedFile},
        {"newer.qly", nullptr, kDataFilePassword, ErrorCode::NewerFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir_.File(c.name);
        if (c.bytes != nullptr) {
            WriteFileBytes(path, *c.bytes);
        }
        const bool existed = std::filesystem::exists(path);
        const auto bytes = [&] {
            return std::filesystem::is_regular_file(path) ? ReadFileBytes(path) : "";
        };
        const std::string before = bytes();
        for (const bool readOnly : {false, true}) {
            error_ = {};
            EXPECT_FALSE(Take(readOnly ? DataStore::OpenReadOnly(path, c.password)
                                       : DataStore::Open(path, c.password)));
            EXPECT_EQ(error_.code, c.code) << error_.detail;
        }
        EXPECT_EQ(std::filesystem::exists(path), existed);
        EXPECT_EQ(bytes(), before);
    }
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
            auto readOnly = Take(DataStore::OpenReadOnly(path));
            ASSERT_TRUE(readOnly) << error_.detail;
            EXPECT_EQ(StoredVersion(*readOnly), stored);
            EXPECT_TRUE(readOnly->Query("select * from Question"));
        }
        EXPECT_EQ(ReadFileBytes(path), bytes) << stored;
        auto store = Open(path);
        if (stored > kSchemaVersion) {
            EXPECT_FALSE(store);
            EXPECT_EQ(error_.code, ErrorCode::NewerFile);
            EXPECT_EQ(ReadFileBytes(path), bytes);
            continue;
        }
        ASSERT_TRUE(store) << error_.detail;
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
        auto store = Take(DataStore::OpenReadOnly(path));
        ASSERT_TRUE(store) << error_.detail;
        EXPECT_FALSE(store->Execute("delete from Paper"));
        auto rows = store->Query("select * from Paper");
        ASSERT_TRUE(rows && !rows->AtEnd());
        EXPECT_EQ(rows->Text("Title"), "旧卷");
    }
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST_F(OpeningDataFiles, AnEncryptedDatabaseWithoutTheTablesIsNoDataFile) {
    const std::string path = dir_.File("other.qly");
    {
        auto store = MakeDataFile(path);
        ASSERT_TRUE(store->Execute("drop table History"));
    }
    EXPECT_FALSE(Open(path));
    EXPECT_EQ(error_.code, ErrorCode::NotDataFile);
    EXPECT_NE(error_.detail.find("History"), std::string::npos);
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
        EXPECT_EQ(error_.code, ErrorCode::NotDataFile);
        EXPECT_NE(error_.detail.find(Format("column %s.%s is missing", c.table, c.missing)),
                  std::string::npos)
            << error_.detail;
        EXPECT_EQ(ReadFileBytes(path), bytes);
        EXPECT_TRUE(Take(DataStore::OpenReadOnly(path))) << error_.detail;
    }
    const std::string wider = dir_.File("wider.qly");
    ASSERT_TRUE(MakeDataFile(wider)->Execute("alter table Question add column Extra text"));
    EXPECT_TRUE(Open(wider)) << error_.detail;
}

}  // namespace
}  // namespace quillory
