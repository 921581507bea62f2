#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/analysis/history_record_figures.h"
#include "core/analysis/reference_paper_figures.h"
#include "core/store/data_store.h"
#include "paper_bank.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::TempDir;

// A line as depth, title and its one or two figures.
struct Figure {
    int depth;
    std::string title;
    float first;
    float second;

    bool operator==(const Figure&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Figure& f) {
    return out << f.depth << " " << f.title << " " << f.first << "/" << f.second;
}

class PaperFigures : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        testing::FillPaperBank(*store_);
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
};

TEST_F(PaperFigures, ARecordSumsItsAnsweredItemsBelowEachSection) {
    struct Case {
        int historyId;
        int root;
        std::vector<Figure> lines;  // full marks, score
    };
    const Case cases[] = {
        {700002,
         0,
         {{1, "第2套 <A&B>", 10, 5},
          {2, "第5题", 4, 2.5},
          {2, "二、填空", 0, 0},
          {2, "三、空", 0, 0},
          {2, "一、选择", 6, 2.5},
          {3, "（一）", 1, 1},
          {4, "第3题", 1, 1},
          {3, "第1题", 2, 1.5},
          {3, "第2题", 3, 0}}},
        // The earlier record answered one item: the others are left out.
        {700005,
         0,
         {{1, "第2套 <A&B>", 5, 4},
          {2, "二、填空", 0, 0},
          {2, "三、空", 0, 0},
          {2, "一、选择", 5, 4},
          {3, "（一）", 0, 0},
          {3, "第1题", 5, 4}}},
        {700001, 100010, {{1, "（一）", 1, 1}, {2, "第3题", 1, 1}}},
        {700001, 999999, {}},
    };
    for (const Case& c : cases) {
        const auto figures = ReadHistoryRecordFigures(*store_, c.historyId, c.root);
        ASSERT_TRUE(figures) << c.historyId;
        std::vector<Figure> lines;
        for (const RecordLine& line : figures->lines) {
            lines.push_back({line.item.depth, line.item.title, line.fullMarks, line.score});
        }
        EXPECT_EQ(lines, c.lines) << c.historyId << " " << c.root;
        EXPECT_EQ(figures->heading.has_value(), !c.lines.empty());
    }
    EXPECT_FALSE(ReadHistoryRecordFigures(*store_, 799999, 0));
}

TEST_F(PaperFigures, AReferencePaperSumsThePointsOfAllItemsBelowEachSection) {
    struct Case {
        int paperId;
        std::vector<Figure> lines;  // points, 0
    };
    const Case cases[] = {
        {100001,
         {{1, "第2套 <A&B>", 15.75f, 0},
          {2, "第5题", 4.25f, 0},
          {2, "二、填空", 5, 0},
          {3, "第4题", 5, 0},
          {2, "三、空", 0, 0},
          {2, "一、选择", 6.5f, 0},
          {3, "（一）", 1, 0},
          {4, "第3题", 1, 0},
          {3, "第1题", 2.5f, 0},
          {3, "第2题", 3, 0}}},
        {100005, {{1, "二、填空", 5, 0}, {2, "第4题", 5, 0}}},
        {4711, {}},
    };
    for (const Case& c : cases) {
        const auto figures = ReadReferencePaperFigures(*store_, c.paperId);
        ASSERT_TRUE(figures) << c.paperId;
        EXPECT_FALSE(figures->questionMissing);
        std::vector<Figure> lines;
        for (const ReferenceLine& line : figures->lines) {
            lines.push_back({line.item.depth, line.item.title, line.points, 0});
        }
        EXPECT_EQ(lines, c.lines) << c.paperId;
    }
    ASSERT_TRUE(store_->Execute("delete from Question where ID=200004"));
    const auto missing = ReadReferencePaperFigures(*store_, 100001);
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->questionMissing);
    EXPECT_TRUE(missing->lines.empty());
}

// Both pages name an item's type and points from the same titles: a type or
// a point without a row has none, pieces too short to be an ID are no point.
TEST_F(PaperFigures, ItemsCarryTheirTypeLinksAndKnowledgePoints) {
    const auto record = ReadHistoryRecordFigures(*store_, 700001, 100002);
    const auto reference = ReadReferencePaperFigures(*store_, 100002);
    ASSERT_TRUE(record && reference);
    ASSERT_EQ(record->lines.size(), 5u);
    ASSERT_EQ(reference->lines.size(), 5u);
    const PaperItemLine first{2,    "第1题", true,     200001,
                              true, true,    "选择题", {{300001, "地形"}, {300002, "气候 & 水"}}};
    const PaperItemLine second{
        2,     "第2题", true,         200002,
        false, true,    std::nullopt, {{300009, std::nullopt}, {300011, "山地"}}};
    EXPECT_EQ(record->lines[3].item, first);
    EXPECT_EQ(reference->lines[3].item, first);
    EXPECT_EQ(record->lines[4].item, second);
    EXPECT_EQ(reference->lines[4].item, second);
    EXPECT_FALSE(record->lines[0].item.isQuestion);
    EXPECT_TRUE(record->lines[0].item.knowledge.empty());
    EXPECT_EQ(reference->lines[2].item.type, "判断<题>");
}

}  // namespace
}  // namespace quillory
