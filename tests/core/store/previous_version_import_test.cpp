#include "core/store/previous_version_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "core/common/text.h"
#include "core/store/data_store.h"
#include "core/store/jet_dialect.h"
#include "core/store/tables.h"
#include "support/memory_settings.h"
#include "support/recording_host.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MakeDataFile;
using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::RecordingProgress;
using testing::TempDir;

// A progress window that leaves its last state in a log when it is closed.
class LoggedWindow final : public RecordingProgress {
public:
    explicit LoggedWindow(std::vector<RecordingProgress>& log) : log_(log) {}
    ~LoggedWindow() override { log_.push_back(*this); }

private:
    std::vector<RecordingProgress>& log_;
};

void AddPaper(DataStore& store, int id, int superior, bool system, const std::string& title) {
    ASSERT_TRUE(store.Execute(Format(
        "insert into Paper(ID, SuperiorID, QuestionID, Score, TimeLimit, Title, Url, IsQuestion, "
        "IsSystem) values(%d, %d, %d, 2.5, 90, '%s', 'Question/P%d.htm', %s, %s)",
        id, superior, superior == 0 ? 0 : 200001, SqlQuote(title).c_str(), id,
        superior == 0 ? "false" : "true", system ? "true" : "false")))
        << store.LastError();
}

HistoryRow Record(int id, const char* date, const char* time, int paperId, int itemId,
                  int questionId = 200001) {
    HistoryRow row;
    row.ID = id;
    ParseDateTime(date, row.RecordDate);
    ParseDateTime(time, row.RecordTime);
    row.PaperID = paperId;
    row.PaperTitle = "Tom's 试卷";
    row.PaperItemID = itemId;
    row.PaperItemTitle = "第1题";
    row.QuestionID = questionId;
    row.QuestionTypeID = 3;
    row.KnowledgeID = "300101,300102";
    row.Url = "Question\\200001.htm";
    row.AnswerUrl = "Question/200001a.htm";
    row.TotalScore = 2.5f;
    row.UserScore = 1.5f;
    row.UserAnswer = "it's B";
    row.UserMemo = "'备注'";
    return row;
}

void AddHistory(DataStore& store, const HistoryRow& row) {
    ASSERT_TRUE(store.Execute(Format(
        "insert into History(ID, RecordDate, RecordTime, PaperID, PaperTitle, PaperItemID, "
        "PaperItemTitle, QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, "
        "UserScore, UserAnswer, UserMemo) values(%d, '%s', '%s', %d, '%s', %d, '%s', %d, %d, "
        "'%s', '%s', '%s', %f, %f, '%s', '%s')",
        row.ID, FormatDate(row.RecordDate).c_str(), FormatTime(row.RecordTime).c_str(), row.PaperID,
        SqlQuote(row.PaperTitle).c_str(), row.PaperItemID, SqlQuote(row.PaperItemTitle).c_str(),
        row.QuestionID, row.QuestionTypeID, SqlQuote(row.KnowledgeID).c_str(),
        SqlQuote(row.Url).c_str(), SqlQuote(row.AnswerUrl).c_str(),
        static_cast<double>(row.TotalScore), static_cast<double>(row.UserScore),
        SqlQuote(row.UserAnswer).c_str(), SqlQuote(row.UserMemo).c_str())))
        << store.LastError();
}

// A new installation's data file in data/ and the earlier one in old/.
class Installation {
public:
    Installation() {
        std::filesystem::create_directories(dir_.File("data"));
        std::filesystem::create_directories(dir_.File("old"));
        current_ = MakeDataFile(dir_.File("data/new.qly"));
        SetLastVerFile("  ..\\old\\old.qly ");
    }

    // The earlier file, made on first use; release it before importing.
    std::unique_ptr<DataStore> Earlier(std::string_view password = kDataFilePassword) {
        auto store = std::filesystem::exists(EarlierPath())
                         ? DataStore::Open(EarlierPath(), password)
                         : DataStore::Create(EarlierPath(), password);
        if (!store) {
            ADD_FAILURE() << store.error().detail;
            return nullptr;
        }
        return std::move(*store);
    }
    std::string EarlierPath() const { return dir_.File("old/old.qly"); }
    DataStore& Current() { return *current_; }

    void SetLastVerFile(const std::string& value) {
        ASSERT_TRUE(
            current_->Execute("update ConfigProduct set LastVerFile='" + SqlQuote(value) + "'"));
    }
    std::string LastVerFile() {
        auto rows = current_->Query("select * from ConfigProduct");
        return rows ? rows->Text("LastVerFile") : "(unreadable)";
    }

    OpenProgress Opener() {
        return [this] { return std::make_unique<LoggedWindow>(windows); };
    }
    ImportResult Run() {
        return ImportPreviousVersion(*current_, dir_.File("data"), host, Opener());
    }
    ImportResult RunAtStart(Settings& settings) {
        return ImportAtStart(*current_, dir_.File("data"), host, settings, Opener());
    }
    ImportResult RunWith(const std::string& earlierFile) {
        return ImportEarlierFile(*current_, dir_.File("data"), earlierFile, host, Opener());
    }

    RecordingHost host;
    std::vector<RecordingProgress> windows;

private:
    TempDir dir_;
    std::unique_ptr<DataStore> current_;
};

std::vector<PaperRow> Papers(DataStore& store) {
    return ReadPaperRows(store).value_or(std::vector<PaperRow>{});
}
std::vector<HistoryRow> History(DataStore& store) {
    return ReadHistoryRows(store).value_or(std::vector<HistoryRow>{});
}

struct ShiftCase {
    const char* name;
    int currentLargest;  // 0: the current file has no paper
    int first;           // the earlier first generated paper
    int base;            // what it becomes
};

TEST(PreviousVersionImport, CopiesTheHistoryAndTheGeneratedPapersOnceIntoTheUserRange) {
    for (const ShiftCase& c : {
             ShiftCase{"shift 0", 101000, 550001, 550001},
             ShiftCase{"after a current largest ID of 600000", 600000, 550001, 600001},
             ShiftCase{"a shift smaller than the span of the copied IDs", 550004, 550001, 550005},
             ShiftCase{"a shift down", 0, 560000, 550001},
         }) {
        SCOPED_TRACE(c.name);
        Installation install;
        if (c.currentLargest != 0) {
            AddPaper(install.Current(), c.currentLargest, 0, c.currentLargest > 550000, "现有试卷");
        }
        const int f = c.first;
        std::vector<HistoryRow> earlierHistory;
        {
            auto earlier = install.Earlier();
            AddPaper(*earlier, 101000, 0, false, "附带试卷");
            AddPaper(*earlier, 101001, 101000, false, "第1题");
            AddPaper(*earlier, f, 0, true, "Tom's 练习");
            AddPaper(*earlier, f + 1, f, false, "第1题");
            AddPaper(*earlier, f + 4, f, false, "第2题");
            AddPaper(*earlier, f + 5, 0, true, "专项练习");
            AddPaper(*earlier, f + 6, f + 5, false, "第1题");
            for (const HistoryRow& row :
                 {Record(700001, "2024-03-01", "09:00:00", f, f + 1),
                  Record(700002, "2024-03-01", "09:00:00", f, f + 4),
                  Record(700003, "2024-02-01", "10:30:05", f + 5, f + 6),
                  Record(700004, "2024-04-01", "08:00:00", 101000, 101001)}) {
                AddHistory(*earlier, row);
                earlierHistory.push_back(row);
            }
        }
        const std::string earlierBytes = ReadFileBytes(install.EarlierPath());
        std::vector<PaperRow> expectedPapers = Papers(install.Current());

        const ImportResult result = install.Run();
        ASSERT_EQ(result.outcome, ImportOutcome::Imported) << result.error;
        EXPECT_EQ(result.historyRows, 4);
        EXPECT_EQ(result.paperRows, 5);
        EXPECT_TRUE(install.host.messages.empty());
        EXPECT_EQ(install.LastVerFile(), "");
        EXPECT_EQ(ReadFileBytes(install.EarlierPath()), earlierBytes);

        const auto moved = [&](int id) { return id >= f ? id - f + c.base : id; };
        for (const int id : {f, f + 1, f + 4, f + 5, f + 6}) {
            const int superior = id == f || id == f + 5 ? 0 : id == f + 6 ? f + 5 : f;
            expectedPapers.push_back(PaperRow{moved(id), superior == 0 ? 0 : moved(superior),
                                              superior == 0 ? 0 : 200001, 2.5f, 90,
                                              id == f       ? "Tom's 练习"
                                              : id == f + 5 ? "专项练习"
                                              : id == f + 4 ? "第2题"
                                                            : "第1题",
                                              Format("Question/P%d.htm", id), superior != 0, false,
                                              id == f || id == f + 5});
        }
        EXPECT_EQ(Papers(install.Current()), expectedPapers);
        // Each record keeps its exam time and points at its own paper's new ID.
        std::map<int, HistoryRow> expectedHistory;
        for (HistoryRow row : earlierHistory) {
            row.PaperID = moved(row.PaperID);
            row.PaperItemID = moved(row.PaperItemID);
            expectedHistory[row.ID] = row;
        }
        std::vector<HistoryRow> expected;
        for (const auto& [id, row] : expectedHistory) {
            expected.push_back(row);
        }
        EXPECT_EQ(History(install.Current()), expected);

        ASSERT_EQ(install.windows.size(), 2u);
        EXPECT_EQ(install.windows[0].texts, std::vector<std::string>{"提取用户历史数据..."});
        EXPECT_EQ(install.windows[1].texts, std::vector<std::string>{"提取用户试卷数据..."});
        for (const auto& [window, rows] :
             {std::pair{install.windows[0], 4}, std::pair{install.windows[1], 5}}) {
            EXPECT_EQ(window.upper, rows);
            EXPECT_EQ(window.position, rows);
            EXPECT_EQ(window.pumps, rows);
        }

        // Once: the next open finds LastVerFile empty.
        EXPECT_EQ(install.Run().outcome, ImportOutcome::NothingToImport);
        EXPECT_EQ(install.windows.size(), 2u);
        EXPECT_EQ(History(install.Current()), expected);
        EXPECT_EQ(Papers(install.Current()), expectedPapers);
    }
}

TEST(PreviousVersionImport, ABlankLastVerFileImportsNothingAndStaysAsItIs) {
    for (const char* blank : {"", "   ", "\t \t"}) {
        Installation install;
        install.SetLastVerFile(blank);
        EXPECT_EQ(install.Run().outcome, ImportOutcome::NothingToImport) << blank;
        EXPECT_EQ(install.LastVerFile(), blank);
        EXPECT_TRUE(install.windows.empty());
        EXPECT_TRUE(install.host.messages.empty());
    }
}

struct FailureCase {
    const char* name;
    std::function<void(Installation&)> prepare;
    const char* told;    // part of the one message
    const char* repair;  // a statement on the current file after which a retry succeeds
};

TEST(PreviousVersionImport, AFailureKeepsNothingAndLastVerFileAndSaysOnceWhatFailed) {
    const auto earlierWithRows = [](Installation& install) {
        auto earlier = install.Earlier();
        AddPaper(*earlier, 550001, 0, true, "练习");
        AddPaper(*earlier, 550002, 550001, false, "坏卷");
        AddHistory(*earlier, Record(700001, "2024-03-01", "09:00:00", 550001, 550002));
        AddHistory(*earlier, Record(700002, "2024-03-01", "09:00:00", 550001, 550002, 4711));
        AddHistory(*earlier, Record(700003, "2024-03-02", "09:00:00", 550001, 550002));
    };
    const FailureCase cases[] = {
        {"a missing earlier file", [](Installation&) {}, "找不到上一版本的数据文件", nullptr},
        {"a wrong password", [](Installation& install) { install.Earlier("123456789"); },
         "无法打开上一版本的数据文件", nullptr},
        {"the current file named as the earlier one",
         [](Installation& install) { install.SetLastVerFile("new.qly"); },
         "上一版本的数据文件就是当前的数据文件", nullptr},
        {"a History row that cannot be inserted",
         [&](Installation& install) {
             earlierWithRows(install);
             ASSERT_TRUE(install.Current().Execute(
                 "create trigger refuse before insert on History when new.QuestionID=4711 "
                 "begin select raise(abort, 'refused'); end"));
         },
         "无法复制历史记录 700002", "drop trigger refuse"},
        {"a Paper row that cannot be inserted",
         [&](Installation& install) {
             earlierWithRows(install);
             ASSERT_TRUE(install.Current().Execute(
                 "create trigger refuse before insert on Paper when new.Title='坏卷' "
                 "begin select raise(abort, 'refused'); end"));
         },
         "无法复制试卷记录 550002", "drop trigger refuse"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Installation install;
        AddPaper(install.Current(), 101000, 0, false, "附带试卷");
        AddHistory(install.Current(), Record(700009, "2025-01-05", "10:00:00", 101000, 101000));
        c.prepare(install);
        const std::string lastVerFile = install.LastVerFile();
        const auto papers = Papers(install.Current());
        const auto history = History(install.Current());

        const ImportResult result = install.Run();
        EXPECT_EQ(result.outcome, ImportOutcome::Failed);
        ASSERT_EQ(install.host.messages.size(), 1u);
        EXPECT_EQ(install.host.messages[0].second, MessageIcon::Error);
        EXPECT_EQ(install.host.messages[0].first, result.error);
        EXPECT_NE(result.error.find(c.told), std::string::npos) << result.error;
        EXPECT_NE(result.error.find("数据文件未作任何改动，下次打开时将再次尝试。"),
                  std::string::npos)
            << result.error;
        EXPECT_EQ(Papers(install.Current()), papers);
        EXPECT_EQ(History(install.Current()), history);
        EXPECT_EQ(install.LastVerFile(), lastVerFile);

        if (c.repair != nullptr) {
            ASSERT_TRUE(install.Current().Execute(c.repair));
            const ImportResult retried = install.Run();
            EXPECT_EQ(retried.outcome, ImportOutcome::Imported) << retried.error;
            EXPECT_EQ(retried.historyRows, 3);
            EXPECT_EQ(retried.paperRows, 2);
        }
    }
}

// At start, an earlier file that is not there is reported once for each
// value of LastVerFile; one that is there is imported as ever.
TEST(PreviousVersionImport, AtStartAMissingEarlierFileIsReportedOncePerValue) {
    Installation install;
    testing::MemorySettings settings;
    const struct {
        const char* lastVerFile;
        size_t told;  // messages so far
    } starts[] = {{"../old/gone.qly", 1},  {"../old/gone.qly", 1},  {"../old/gone.qly", 1},
                  {"../old/other.qly", 2}, {"../old/other.qly", 2}, {"../old/gone.qly", 3}};
    for (const auto& start : starts) {
        install.SetLastVerFile(start.lastVerFile);
        EXPECT_EQ(install.RunAtStart(settings).outcome, ImportOutcome::Failed);
        EXPECT_EQ(install.host.messages.size(), start.told) << start.lastVerFile;
        EXPECT_EQ(install.LastVerFile(), start.lastVerFile);
    }
    EXPECT_NE(install.host.messages.back().first.find("找不到上一版本的数据文件"),
              std::string::npos);
    install.SetLastVerFile("../old/old.qly");
    AddPaper(*install.Earlier(), 550001, 0, true, "练习");
    EXPECT_EQ(install.RunAtStart(settings).outcome, ImportOutcome::Imported);
    EXPECT_EQ(install.LastVerFile(), "");
}

TEST(PreviousVersionImport, HistoryIdsInUseAreRenumberedAndTheCurrentRowsStayAsTheyAre) {
    Installation install;
    AddPaper(install.Current(), 550001, 0, true, "我的练习");
    const HistoryRow mine[] = {Record(700001, "2025-01-05", "10:00:00", 550001, 550001),
                               Record(700002, "2025-01-05", "10:00:00", 550001, 550001)};
    for (const HistoryRow& row : mine) {
        AddHistory(install.Current(), row);
    }
    {
        auto earlier = install.Earlier();
        AddPaper(*earlier, 550001, 0, true, "旧练习");
        AddPaper(*earlier, 550002, 550001, false, "第1题");
        AddHistory(*earlier, Record(700001, "2024-01-01", "08:00:00", 550001, 550002));
        AddHistory(*earlier, Record(700002, "2024-01-01", "08:00:00", 550001, 550002));
        AddHistory(*earlier, Record(700003, "2024-02-01", "08:00:00", 550001, 550002));
    }
    const ImportResult result = install.Run();
    ASSERT_EQ(result.outcome, ImportOutcome::Imported) << result.error;
    EXPECT_EQ(result.historyRows, 3);

    // The current file's own rows still point at its own paper 550001; the
    // earlier exam of two rows moves, together and in order, after every ID
    // in use; the copied paper is now 550002.
    std::vector<HistoryRow> expected = {mine[0], mine[1],
                                        Record(700003, "2024-02-01", "08:00:00", 550002, 550003),
                                        Record(700004, "2024-01-01", "08:00:00", 550002, 550003),
                                        Record(700005, "2024-01-01", "08:00:00", 550002, 550003)};
    EXPECT_EQ(History(install.Current()), expected);
}

TEST(PreviousVersionImport, AnEarlierFileWithoutAGeneratedPaperBringsItsHistoryAlone) {
    Installation install;
    {
        auto earlier = install.Earlier();
        AddPaper(*earlier, 101000, 0, false, "附带试卷");
        AddPaper(*earlier, 101001, 101000, false, "第1题");
        AddHistory(*earlier, Record(700001, "2024-01-01", "08:00:00", 101000, 101001));
    }
    const ImportResult result = install.Run();
    ASSERT_EQ(result.outcome, ImportOutcome::Imported) << result.error;
    EXPECT_EQ(result.paperRows, 0);
    EXPECT_TRUE(Papers(install.Current()).empty());
    EXPECT_EQ(History(install.Current()),
              std::vector<HistoryRow>{Record(700001, "2024-01-01", "08:00:00", 101000, 101001)});
    EXPECT_EQ(install.LastVerFile(), "");
}

TEST(PreviousVersionImport, ANamedEarlierFileEmptiesLastVerFileOnlyWhenItNamesThatFile) {
    for (const auto& [lastVerFile, after] :
         {std::pair{"../old/old.qly", ""}, std::pair{"../old/other.qly", "../old/other.qly"},
          std::pair{"", ""}}) {
        Installation install;
        install.SetLastVerFile(lastVerFile);
        install.Earlier();
        const ImportResult result = install.RunWith(install.EarlierPath());
        EXPECT_EQ(result.outcome, ImportOutcome::Imported) << result.error;
        EXPECT_EQ(install.LastVerFile(), after) << lastVerFile;
    }
}

}  // namespace
}  // namespace quillory
