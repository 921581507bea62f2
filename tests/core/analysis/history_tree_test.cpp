#include "core/analysis/history_tree.h"

#include <gtest/gtest.h>

#include "core/common/text.h"
#include "core/store/data_store.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MemorySettings;
using testing::TempDir;

struct Row {
    int id;
    const char* date;
    const char* time;
    int paperId;
    const char* paperTitle;
    float totalScore;
    float userScore;
};

// Inserted out of date order: the tree follows date, time and ID. On
// 2026-03-14 two papers were stored in one second (700004 paper 100002,
// 700005 and 700002 paper 100001).
const Row kRows[] = {
    {700004, "2026-03-14", "09:26:53", 100002, "第二套", 4, 1},
    {700001, "2026-03-13", "20:00:00", 100001, "第一套", 3, 3},
    {700005, "2026-03-14", "09:26:53", 100001, "第一套", 2, 2},
    {700006, "2026-03-14", "10:00:00", 100003, "100%把握", 0, 0},
    {700002, "2026-03-14", "09:26:53", 100001, "第一套", 2, 0},
    {700003, "2026-03-13", "20:00:00", 100001, "第一套", 5, 2},
    {700007, "2026-03-15", "08:00:00", 100003, "100%把握", 0, 0},
    {700008, "2026-03-14", "11:00:00", 100001, "第一套", 2, 2},
};

class HistoryTrees : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        Fill();
    }
    void Fill() {
        ASSERT_TRUE(store_->Execute("delete from History"));
        for (const Row& row : kRows) {
            ASSERT_TRUE(store_->Execute(
                Format("insert into History(ID, RecordDate, RecordTime, PaperID, PaperTitle, "
                       "TotalScore, UserScore) values(%d, '%s', '%s', %d, '%s', %f, %f)",
                       row.id, row.date, row.time, row.paperId, row.paperTitle,
                       static_cast<double>(row.totalScore), static_cast<double>(row.userScore))))
                << store_->LastError();
        }
    }
    PaperNodeList Nodes() {
        PaperNodeList nodes;
        const std::optional<std::vector<HistoryTreeItem>> items = LoadHistoryTree(*store_);
        EXPECT_TRUE(items);
        for (const HistoryTreeItem& item : items ? *items : std::vector<HistoryTreeItem>{}) {
            nodes.Add(item.node);
        }
        return nodes;
    }
    std::vector<int> HistoryIds() {
        std::vector<int> ids;
        for (auto rows = store_->Query("select ID from History order by ID"); !rows->AtEnd();
             rows->Next()) {
            ids.push_back(rows->Int("ID"));
        }
        return ids;
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    MemorySettings settings_;
};

TEST_F(HistoryTrees, DaysAndRecordsWithTheirRates) {
    const struct {
        HistoryItemKind kind;
        int id;
        int superiorId;
        const char* title;
        int historyId;
        const char* link;
    } expected[] = {
        {HistoryItemKind::Root, 810000, 0, "用户历史分析", 0, "Quillory://HistoryAnalysis:000000"},
        {HistoryItemKind::Day, 810001, 810000, "2026-03-13(得分率:62.5%)", 0, ""},
        {HistoryItemKind::Record, 810002, 810001, "(20:00:00)第一套(得分率:62.5%)", 700001,
         "Quillory://HistoryAnalysis:700001"},
        {HistoryItemKind::Day, 810003, 810000, "2026-03-14(得分率:50.0%)", 0, ""},
        // Two papers of one second are one record, named after its first row.
        {HistoryItemKind::Record, 810004, 810003, "(09:26:53)第一套(得分率:37.5%)", 700002,
         "Quillory://HistoryAnalysis:700002"},
        {HistoryItemKind::Record, 810005, 810003, "(10:00:00)100%把握(得分率:-)", 700006,
         "Quillory://HistoryAnalysis:700006"},
        {HistoryItemKind::Record, 810006, 810003, "(11:00:00)第一套(得分率:100.0%)", 700008,
         "Quillory://HistoryAnalysis:700008"},
        {HistoryItemKind::Day, 810007, 810000, "2026-03-15(得分率:-)", 0, ""},
        {HistoryItemKind::Record, 810008, 810007, "(08:00:00)100%把握(得分率:-)", 700007,
         "Quillory://HistoryAnalysis:700007"},
        {HistoryItemKind::Mistakes, 809999, 0, "错题本", 0, "Quillory://Mistakes:000000:000000"},
    };
    const std::optional<std::vector<HistoryTreeItem>> items = LoadHistoryTree(*store_);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), std::size(expected));
    for (size_t i = 0; i < items->size(); ++i) {
        const HistoryTreeItem& item = (*items)[i];
        SCOPED_TRACE(expected[i].title);
        EXPECT_EQ(item.kind, expected[i].kind);
        EXPECT_EQ(item.node.id, expected[i].id);
        EXPECT_EQ(item.node.superiorId, expected[i].superiorId);
        EXPECT_EQ(item.node.title, expected[i].title);
        EXPECT_EQ(item.node.historyId, expected[i].historyId);
        EXPECT_EQ(item.link, expected[i].link);
    }
}

TEST_F(HistoryTrees, AnEmptyHistoryIsTheRootAndTheNotebookAndAnUnreadableOneNothing) {
    ASSERT_TRUE(store_->Execute("delete from History"));
    const std::optional<std::vector<HistoryTreeItem>> items = LoadHistoryTree(*store_);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ(items->front().node.title, "用户历史分析");
    EXPECT_EQ(items->back().node.title, "错题本");
    ASSERT_TRUE(store_->Execute("drop table History"));
    EXPECT_FALSE(LoadHistoryTree(*store_));
}

TEST_F(HistoryTrees, DeletingAnItemDeletesTheRecordsUnderIt) {
    const struct {
        int itemId;
        std::vector<int> left;
    } cases[] = {
        // Each record goes as its first row's paper, so the other paper of a
        // shared second stays, even under the root.
        {810000, {700004}},
        {810001, {700002, 700004, 700005, 700006, 700007, 700008}},
        {810004, {700001, 700003, 700004, 700006, 700007, 700008}},
        {810007, {700001, 700002, 700003, 700004, 700005, 700006, 700008}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.itemId);
        Fill();
        settings_.values.clear();
        EXPECT_TRUE(DeleteHistoryItems(*store_, settings_, Nodes(), test.itemId));
        EXPECT_EQ(HistoryIds(), test.left);
        EXPECT_EQ(settings_.ReadInt("Settings", "HistoryModified", 0), 1);
    }
}

TEST_F(HistoryTrees, AFailedDeletionChangesNothingAndARecordAlreadyGoneIsNoFailure) {
    const PaperNodeList nodes = Nodes();
    ASSERT_TRUE(
        store_->Execute("create trigger KeepLast before delete on History when old.ID = 700007 "
                        "begin select raise(abort, 'kept'); end"));
    settings_.WriteInt("Settings", "HistoryModified", 0);
    EXPECT_FALSE(DeleteHistoryItems(*store_, settings_, nodes, 810000));
    EXPECT_EQ(HistoryIds().size(), std::size(kRows));
    EXPECT_EQ(settings_.ReadInt("Settings", "HistoryModified", 1), 0);

    // The tree still lists 2026-03-13 after its rows went elsewhere.
    ASSERT_TRUE(store_->Execute("delete from History where RecordDate='2026-03-13'"));
    EXPECT_TRUE(DeleteHistoryItems(*store_, settings_, nodes, 810001));
    EXPECT_EQ(settings_.ReadInt("Settings", "HistoryModified", 0), 1);
}

}  // namespace
}  // namespace quillory
