#include "core/practice/paper_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/store/data_store.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MemorySettings;
using testing::TempDir;

std::vector<int> Ids(const PaperNodeList& nodes) {
    std::vector<int> ids;
    for (const PaperNode& node : nodes.Nodes()) {
        ids.push_back(node.id);
    }
    return ids;
}

// Classic paper 100001 "乙" (section 100002 with item 100003) and 100010 "甲";
// practice paper 550001 "练习" with item 550002 and a reference paper 100020.
class PaperTrees : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        Row(100001, 0, 0, "乙", "false", "false");
        Row(100002, 100001, 0, "第1部分", "false", "false");
        Row(100003, 100002, 200001, "第01题", "false", "false");
        Row(100010, 0, 0, "甲", "false", "false");
        Row(100020, 0, 0, "丙", "false", "true");
        Row(550001, 0, 0, "练习", "true", "false");
        Row(550002, 550001, 200001, "第01题", "false", "false");
        // A row whose parent is missing: top level in the order, yet it
        // follows the decision of the paper before it.
        Row(550003, 999999, 0, "孤", "false", "false");
    }
    void Run(const std::string& sql) { ASSERT_TRUE(store_->Execute(sql)) << store_->LastError(); }
    void Row(int id, int parent, int question, const char* title, const char* system,
             const char* reference) {
        Run("insert into Paper(ID, SuperiorID, QuestionID, Title, IsSystem, IsReference, Url) "
            "values(" +
            std::to_string(id) + ", " + std::to_string(parent) + ", " + std::to_string(question) +
            ", '" + title + "', " + system + ", " + reference + ", 'Question/" +
            std::to_string(id) + ".html')");
    }
    std::vector<int> Load(int root, PaperFilter filter) {
        auto rows = LoadPaperTreeRows(*store_, root, filter);
        EXPECT_TRUE(rows);
        return rows ? Ids(*rows) : std::vector<int>{};
    }
    int Count(const std::string& table) {
        auto rows = store_->Query("select count(*) as n from " + table);
        return rows ? rows->Int("n") : -1;
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    MemorySettings settings_;
};

TEST_F(PaperTrees, FiltersChooseWholePapersInTitleOrder) {
    // GB2312: 丙 B1FB, 孤 B9C2, 甲 BCD7, 练 C1B7, 乙 D2D2.
    // The orphan 孤 sorts after 丙 and so follows 丙's decision.
    EXPECT_EQ(Load(-1, PaperFilter::Classic),
              (std::vector<int>{100020, 550003, 100010, 100001, 100002, 100003}));
    EXPECT_EQ(Load(-1, PaperFilter::Practice), (std::vector<int>{550001, 550002}));
    EXPECT_EQ(Load(-1, PaperFilter::Reference), (std::vector<int>{100020, 550003}));
    EXPECT_EQ(Load(-1, PaperFilter::All).size(), 8u);
}

TEST_F(PaperTrees, ARootTakesItsSubtreeOnly) {
    EXPECT_EQ(Load(100002, PaperFilter::All), (std::vector<int>{100002, 100003}));
    EXPECT_EQ(Load(100003, PaperFilter::All), (std::vector<int>{100003}));
}

TEST_F(PaperTrees, NodeKindsComeFromParentAndQuestion) {
    EXPECT_EQ(KindOf(PaperNode{1, 0, ""}), PaperNodeKind::Paper);
    EXPECT_EQ(KindOf(PaperNode{2, 1, ""}), PaperNodeKind::Section);
    EXPECT_EQ(KindOf(PaperNode{.id = 3, .superiorId = 1, .title = "", .questionId = 200001}),
              PaperNodeKind::QuestionItem);
    EXPECT_EQ(KindOf(PaperNode{.id = 4, .title = "", .questionId = 200001}),
              PaperNodeKind::QuestionItem);
}

TEST_F(PaperTrees, DeletingAPaperTakesItsRowsHistoryAndPageFiles) {
    Run("insert into History(ID, PaperID, PaperItemID) values(700001, 550001, 550002)");
    Run("insert into History(ID, PaperID, PaperItemID) values(700002, 100001, 100003)");
    std::filesystem::create_directories(dir_.File("Question"));
    testing::WriteFileBytes(dir_.File("Question/550001.html"), "p");
    const auto nodes = LoadPaperTreeRows(*store_, -1, PaperFilter::Practice);
    ASSERT_TRUE(nodes);
    ASSERT_TRUE(DeletePaperTree(*store_, settings_, dir_.Path(), *nodes, 550001));
    EXPECT_EQ(Load(-1, PaperFilter::Practice), (std::vector<int>{}));
    EXPECT_EQ(Count("History"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("Question/550001.html")));
    EXPECT_EQ(settings_.values["Settings/HistoryModified"], 1);
}

TEST_F(PaperTrees, AFailedDeletionChangesNothing) {
    Run("insert into History(ID, PaperID, PaperItemID) values(700001, 550001, 550001)");
    std::filesystem::create_directories(dir_.File("Question"));
    testing::WriteFileBytes(dir_.File("Question/550001.html"), "p");
    auto nodes = LoadPaperTreeRows(*store_, -1, PaperFilter::Practice);
    ASSERT_TRUE(nodes);
    nodes->Add({550009, 550001, "已不在表中"});
    const Status deleted = DeletePaperTree(*store_, settings_, dir_.Path(), *nodes, 550001);
    ASSERT_FALSE(deleted);
    EXPECT_EQ(deleted.error().code, ErrorCode::NotFound);
    EXPECT_EQ(Count("Paper"), 8);
    EXPECT_EQ(Count("History"), 1);
    EXPECT_TRUE(std::filesystem::exists(dir_.File("Question/550001.html")));
    EXPECT_TRUE(settings_.values.empty());
}

TEST_F(PaperTrees, APageAnotherRowStillShowsIsKept) {
    Run("update Paper set Url='Question\\100010.html ' where ID=550001");
    std::filesystem::create_directories(dir_.File("Question"));
    testing::WriteFileBytes(dir_.File("Question/100010.html"), "shared");
    const auto nodes = LoadPaperTreeRows(*store_, -1, PaperFilter::Practice);
    ASSERT_TRUE(DeletePaperTree(*store_, settings_, dir_.Path(), *nodes, 550001));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("Question/100010.html")));
}

TEST_F(PaperTrees, APageOutsideTheDataFolderIsNeverDeleted) {
    Run("update Paper set Url='../victim.html' where ID=550001");
    testing::WriteFileBytes(dir_.File("victim.html"), "keep");
    std::filesystem::create_directories(dir_.File("data"));
    const auto nodes = LoadPaperTreeRows(*store_, -1, PaperFilter::Practice);
    ASSERT_TRUE(DeletePaperTree(*store_, settings_, dir_.File("data"), *nodes, 550001));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("victim.html")));
}

}  // namespace
}  // namespace quillory
