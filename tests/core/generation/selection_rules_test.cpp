// The rules of choosing one unit for a slot, each on a small real data
// file: the query text, the unit keys, the weights and their adjustment by
// history, and the draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/legacy_random.h"
#include "core/common/text.h"
#include "core/generation/question_selection.h"
#include "core/generation/selection_query.h"
#include "core/generation/selection_tables.h"
#include "core/store/data_store.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MakeDataFile;
using testing::TempDir;

void Exec(DataStore& store, const std::string& sql) {
    ASSERT_TRUE(store.Execute(sql)) << sql << ": " << store.LastError();
}

TEST(SelectionRules, TheGeneratorRepeatsTheCRuntimeSequence) {
    const struct {
        std::uint32_t seed;
        std::vector<int> draws;
    } cases[] = {
        {1, {41, 18467, 6334, 26500}},
        {0, {38, 7719, 21238}},
        {4096, {13414, 25768, 21940}},  // seeded from second 1
    };
    for (const auto& c : cases) {
        LegacyRandom random(c.seed);
        for (const int expected : c.draws) {
            EXPECT_EQ(random.Next(), expected) << "seed " << c.seed;
        }
    }
}

TEST(SelectionRules, TheQueryJoinsIdsByOrAndTypesWithPointsByAnd) {
    const std::string select = "select ID, GroupID, Knowledge from Question where ";
    const struct {
        const char* ids;
        const char* types;
        const char* points;
        std::string query;
    } cases[] = {
        {"", "", "", ""},
        {"1,12345,", "5", ",,", ""},  // every piece of 5 characters or fewer dropped
        {"200001,200002", "", "", select + "(ID=200001 or ID=200002)"},
        {"200001,200002", "900001", "", select + "(ID=200001 or ID=200002) or ((TypeID=900001))"},
        {"", "900001,1,900002", "301100",
         select + "((TypeID=900001 or TypeID=900002) and ((Knowledge like '*301100*')))"},
        {"", "", "301100,301200",
         select + "((Knowledge like '*301100*') or (Knowledge like '*301200*'))"},
        {"200001", "", "301100", select + "(ID=200001) or ((Knowledge like '*301100*'))"},
        {"200001", "900001", "301100",
         select + "(ID=200001) or ((TypeID=900001) and ((Knowledge like '*301100*')))"},
        {"", " 90001", "", select + "((TypeID= 90001))"},  // kept untrimmed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SelectionQueryText(CleanSelectionLists(c.ids, c.types, c.points)), c.query)
            << c.ids << " | " << c.types << " | " << c.points;
    }
}

TEST(SelectionRules, AGroupOfTwelveCharactersIsNoGroup) {
    const struct {
        const char* groupId;
        bool useGroups;
        const char* key;
    } cases[] = {
        {"", true, "200001"},
        {" 200001,20000 ", true, "200001"},  // 12 once trimmed
        {" 200001,200002 ", true, "200001,200002"},
        {"200001,200002", false, "200001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnitKey(200001, c.groupId, c.useGroups), c.key) << c.groupId;
    }
}

// Points 300001..300004 weighing 7, 3, 9, 4; history dated around now.
class WeightsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = MakeDataFile(dir_.File("a.qly"));
        const int weights[] = {7, 3, 9, 4};
        for (int k = 0; k < 4; ++k) {
            Exec(*store_, Format("insert into Knowledge(ID, Weight) values(%d, %d)", 300001 + k,
                                 weights[k]));
        }
    }
    void History(int id, const char* date, int question, const char* points, double total,
                 double user) {
        Exec(*store_, Format("insert into History(ID, RecordDate, QuestionID, KnowledgeID, "
                             "TotalScore, UserScore) values(%d, '%s', %d, '%s', %f, %f)",
                             id, date, question, points, total, user));
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
};

TEST_F(WeightsTest, SharesAreDividedAsIntegersAndAnsweredUnitsDamped) {
    History(700001, "2026-01-01", 200010, "", 10, 0);
    History(700002, "2026-01-02", 200010, "", 10, 10);  // the latest: full marks
    History(700003, "2026-01-05", 200011, "", 10, 10);
    History(700004, "2026-01-03", 200011, "", 10, 0);  // dated later than its ID says
    History(700005, "2026-01-01", 200012, "", 10, 0);
    History(700006, "2026-01-09", 200012, "", 0, 0);  // no total score: not a result
    History(700007, "2026-01-01", 200013, "", 0, 0);
    History(700008, "2026-01-01", 200021, "", 5, 0);
    SelectionTables tables = ReadSelectionTables(*store_);
    const KnowledgeWeights& weights = WeightsFor(tables, false, 0, {2026, 3, 1, 0, 0, 0});
    const struct {
        const char* key;
        const char* knowledge;
        std::int64_t weight;
    } cases[] = {
        {"200001", "", 20},
        {"200001", "999999", 20},
        {"200001", "300001", 97},                // 20 + 700 / 9
        {"200001", "300001,", 58},               // 20 + 77 / 2
        {"200001", "300001,300002", 74},         // 20 + 77 / 2 + 33 / 2
        {"200001", "300001,300002,300003", 89},  // 20 + 25 + 11 + 33
        {"200001,200002", "300003", 60},         // a group of two: half of 120
        {"200010", "300001", 4},                 // 5 % of 97
        {"200011", "300001", 4},
        {"200012", "300001", 48},  // 50 % of 97
        {"200013", "300001", 97},
        {"200020,200021", "300001", 24},  // 50 %, then halved
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EntryWeight(tables, weights, c.key, c.knowledge), c.weight)
            << c.key << " " << c.knowledge;
    }
}

TEST_F(WeightsTest, HistoryAfterTheCutOffRaisesWeightsAndTheMaximum) {
    History(700001, "2026-03-13", 200099, "300001", 10, 8);         // on period 0's cut-off
    History(700002, "2026-03-14", 200099, "300002,300003", 10, 6);  // halves: 5 of 3
    History(700003, "2026-02-18", 200099, "300004", 4, 3);          // on period 1's cut-off
    History(700004, "2020-01-01", 200099, "300001", 10, 1);
    SelectionTables tables = ReadSelectionTables(*store_);
    const DateTime now{2026, 3, 20, 0, 0, 0};
    const struct {
        bool adjust;
        int period;
        std::vector<std::int64_t> weights;
        std::int64_t maximum;
    } cases[] = {
        {false, 0, {7, 3, 9, 4}, 9},   {true, 0, {14, 5, 15, 8}, 15}, {true, 1, {8, 5, 15, 8}, 15},
        {true, 2, {14, 5, 15, 5}, 15}, {true, 7, {14, 5, 15, 5}, 15},
    };
    for (const auto& c : cases) {
        const KnowledgeWeights& weights = WeightsFor(tables, c.adjust, c.period, now);
        EXPECT_EQ(weights.weights, c.weights) << "period " << c.period;
        EXPECT_EQ(weights.maximum, c.maximum) << "period " << c.period;
    }
    // Nothing counted: every weight doubled, the maximum with them, so the
    // entries weigh what they weighed.
    SelectionTables fresh = ReadSelectionTables(*store_);
    const KnowledgeWeights& doubled = WeightsFor(fresh, true, 0, {2031, 1, 1, 12, 0, 0});
    EXPECT_EQ(doubled.weights, (std::vector<std::int64_t>{14, 6, 18, 8}));
    for (const char* knowledge : {"300001", "300002,300004", "300003,300001,300002"}) {
        EXPECT_EQ(EntryWeight(tables, doubled, "200001", knowledge),
                  EntryWeight(tables, tables.stored, "200001", knowledge))
            << knowledge;
    }
}

TEST(SelectionRules, UsedUnitsAreDrawnAgainAtWeightOneUpToTwentyDraws) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    for (int id = 200001; id <= 200003; ++id) {
        Exec(*store, Format("insert into Question(ID, TypeID) values(%d, 900001)", id));
    }
    QuestionSelection selection(*store, {2026, 3, 1, 0, 0, 0});
    const struct {
        std::uint32_t seed;
        const char* used;
        const char* key;
        int draws;
    } cases[] = {
        {16, "200001,200002,", "200003", 2},  // 14 draws if a rejected unit kept its weight
        {8, "200001,200002,", "200003", 3},         {25, "200001,200002,", "200003", 3},
        {1, "200001,200002,200003,", "200001", 20}, {2, "200001,200002,200003,", "200002", 20},
    };
    for (const auto& c : cases) {
        LegacyRandom random(c.seed);
        LegacyRandom expected(c.seed);
        for (int d = 0; d < c.draws; ++d) {
            expected.Next();
        }
        std::string key;
        EXPECT_EQ(
            selection.SelectQuestionUnit("", "900001", "", key, c.used, false, 0, true, random), 3);
        EXPECT_EQ(key, c.key) << "seed " << c.seed;
        EXPECT_EQ(random.State(), expected.State()) << "seed " << c.seed;
    }
    // Without a readable history nothing is chosen and nothing drawn.
    Exec(*store, "alter table History rename to Gone");
    QuestionSelection blind(*store, {2026, 3, 1, 0, 0, 0});
    LegacyRandom random(1);
    std::string key = "stale";
    EXPECT_EQ(blind.SelectQuestionUnit("", "900001", "", key, "", false, 0, true, random), 0);
    EXPECT_EQ(key, "");
    EXPECT_EQ(random.State(), 1u);
}

TEST(SelectionRules, EntriesBeyondTheLargestDrawAreNeverChosen) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    {
        Transaction transaction(*store);
        Exec(*store, "insert into Knowledge(ID, Weight) values(300001, 5)");
        for (int id = 600001; id <= 600300; ++id) {
            Exec(*store, Format("insert into Question(ID, TypeID, Knowledge) values(%d, 900001, "
                                "'300001')",
                                id));
        }
        ASSERT_TRUE(transaction.Commit());
    }
    // 300 entries of 120: a total of 36000, but draws end at 32767, within
    // the 274th entry.
    QuestionSelection selection(*store, {2026, 3, 1, 0, 0, 0});
    LegacyRandom random(12345);
    int highest = 0;
    for (int call = 0; call < 3000; ++call) {
        std::string key;
        ASSERT_EQ(selection.SelectQuestionUnit("", "900001", "", key, "", false, 0, true, random),
                  300);
        highest = std::max(highest, AtoI(key));
    }
    EXPECT_LE(highest, 600274);
    EXPECT_GE(highest, 600265);
}

}  // namespace
}  // namespace quillory
