#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/common/legacy_random.h"
#include "core/common/paper_node_list.h"

namespace quillory {
namespace {

PaperNodeList MakeList(std::initializer_list<PaperNode> nodes) {
    PaperNodeList list;
    for (const PaperNode& node : nodes) {
        list.Add(node);
    }
    return list;
}

std::vector<int> Ids(const PaperNodeList& list) {
    std::vector<int> ids;
    for (const PaperNode& node : list.Nodes()) {
        ids.push_back(node.id);
    }
    return ids;
}

// A(5, top, "b") with children B(7, "z") and C(6, "a"); D(9, top, "a").
PaperNodeList SmallTree() {
    return MakeList({{5, 0, "b"}, {7, 5, "z"}, {6, 5, "a"}, {9, 0, "a"}});
}

TEST(PaperNodeListOrder, PutsParentsFirstAndSiblingsByTitle) {
    PaperNodeList list = SmallTree();
    list.Order();
    EXPECT_EQ(Ids(list), (std::vector<int>{9, 5, 6, 7}));
}

TEST(PaperNodeListOrder, KeepsEachNodesFieldsAndFindsItAtItsNewPlace) {
    PaperNodeList list = MakeList(
        {{.id = 5, .title = "b", .questionId = 11}, {.id = 9, .title = "a", .questionId = 22}});
    list.Order();
    ASSERT_EQ(list.IndexOf(5), 1);
    EXPECT_EQ(list[1].title, "b");
    EXPECT_EQ(list[1].questionId, 11);
    EXPECT_EQ(list.IndexOf(9), 0);
    EXPECT_EQ(list.IndexOf(4), -1);
}

TEST(PaperNodeListOrder, SortsChineseTitlesByTheirGb2312Bytes) {
    PaperNodeList list = MakeList(
        {{1, 0, "中"}, {2, 0, "语文"}, {3, 0, "数学"}, {4, 0, "国"}, {5, 0, "Z"}, {6, 0, "丐"}});
    list.Order();
    // Z (ASCII), 国 B9FA, 数 CAFD, 语 D3EF, 中 D6D0, 丐 D8A4 (level 2).
    EXPECT_EQ(Ids(list), (std::vector<int>{5, 4, 3, 2, 1, 6}));
}

TEST(PaperNodeListOrder, KeepsTheListOrderOfEqualTitles) {
    // Enough siblings that a sort which is not stable would shuffle them.
    PaperNodeList list;
    list.Add({1, 0, "试卷"});
    std::vector<int> expectedFirst;
    std::vector<int> expectedSecond;
    for (int i = 0; i < 200; ++i) {
        const int id = 1000 - i;
        const bool first = i % 3 != 0;
        list.Add({id, 1, first ? "第1题" : "第2题"});
        (first ? expectedFirst : expectedSecond).push_back(id);
    }
    list.Order();
    std::vector<int> expected{1};
    expected.insert(expected.end(), expectedFirst.begin(), expectedFirst.end());
    expected.insert(expected.end(), expectedSecond.begin(), expectedSecond.end());
    EXPECT_EQ(Ids(list), expected);
}

TEST(PaperNodeListOrder, TreatsANodeWhoseParentIsMissingAsTopLevel) {
    PaperNodeList list = MakeList({{1, 0, "a"}, {2, 0, "z"}, {8, 99, "m"}, {3, 8, "x"}});
    list.Order();
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 8, 3, 2}));
}

TEST(PaperNodeListOrder, DropsCyclesOfParentsAndKeepsTheTree) {
    PaperNodeList list = MakeList({{3, 4, "c3"},
                                   {1, 0, "top"},
                                   {4, 3, "c4"},
                                   {5, 5, "self"},
                                   {6, 3, "under the cycle"},
                                   {2, 1, "child"}});
    list.Order();
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(list.IndexOf(3), -1);
}

TEST(PaperNodeListOrder, PlacesEveryNodeOnceWhenIdsRepeat) {
    // The second node 5 hangs under 6, which hangs under 5: a loop through a
    // repeated ID that a plain walk would follow for ever.
    PaperNodeList list = MakeList({{5, 0, "a"}, {5, 6, "b"}, {6, 5, "c"}});
    list.Order();
    ASSERT_EQ(list.Size(), 3u);
    EXPECT_EQ(list[0].title, "a");
    EXPECT_EQ(list[1].title, "c");
    EXPECT_EQ(list[2].title, "b");
}

TEST(PaperNodeListOrder, WalksAVeryDeepChainOfSections) {
    PaperNodeList list;
    const int count = 100000;
    for (int id = count; id >= 1; --id) {
        list.Add({id, id - 1, "节"});
    }
    list.Order();
    ASSERT_EQ(list.Size(), static_cast<size_t>(count));
    EXPECT_EQ(list[0].id, 1);
    EXPECT_EQ(list[count - 1].id, count);
    EXPECT_EQ(list.Depth(count), count);
    EXPECT_TRUE(list.IsUnder(count, 1));
}

TEST(PaperNodeListIsUnder, FollowsParentLinksUpToTheAncestor) {
    const PaperNodeList list = SmallTree();
    EXPECT_TRUE(list.IsUnder(7, 5));
    EXPECT_FALSE(list.IsUnder(5, 7));
    EXPECT_TRUE(list.IsUnder(7, 7));
    EXPECT_FALSE(list.IsUnder(7, 9));
    EXPECT_TRUE(list.IsUnder(7, 0));
    EXPECT_FALSE(list.IsUnder(42, 5));
    EXPECT_TRUE(list.IsUnder(42, 42));
}

TEST(PaperNodeListIsUnder, StopsAtAParentThatIsNotInTheList) {
    const PaperNodeList list = MakeList({{8, 99, "orphan"}, {3, 8, "x"}});
    EXPECT_TRUE(list.IsUnder(3, 8));
    EXPECT_FALSE(list.IsUnder(3, 0));
}

TEST(PaperNodeListIsUnder, EndsOnACycleOfParents) {
    const PaperNodeList list = MakeList({{3, 4, ""}, {4, 3, ""}, {5, 5, ""}});
    EXPECT_TRUE(list.IsUnder(3, 4));
    EXPECT_FALSE(list.IsUnder(3, 1));
    EXPECT_FALSE(list.IsUnder(3, 0));
    EXPECT_FALSE(list.IsUnder(5, 0));
    EXPECT_TRUE(list.IsUnder(5, 5));
}

TEST(PaperNodeListIsUnder, AgreesWithAPlainWalkOnRandomLinksFullOfCycles) {
    // A walk that remembers every node it met: slow, but plainly right.
    const auto expected = [](const std::map<int, int>& parents, int id, int ancestorId) {
        std::set<int> met;
        for (int current = id; current != ancestorId;) {
            const auto found = parents.find(current);
            if (current == 0 || found == parents.end() || !met.insert(current).second) {
                return false;
            }
            current = found->second;
        }
        return true;
    };
    LegacyRandom random(7);
    for (int round = 0; round < 200; ++round) {
        PaperNodeList list;
        std::map<int, int> parents;
        for (int id = 1; id <= 12; ++id) {
            const int parent = random.Next() % 15;  // 13 and 14 are missing
            list.Add({id, parent, ""});
            parents[id] = parent;
        }
        for (int id = 0; id <= 14; ++id) {
            for (int ancestorId = 0; ancestorId <= 14; ++ancestorId) {
                EXPECT_EQ(list.IsUnder(id, ancestorId), expected(parents, id, ancestorId))
                    << "round " << round << ": " << id << " under " << ancestorId;
            }
        }
    }
}

TEST(PaperNodeListDepth, CountsTheNodesUpToTheTop) {
    PaperNodeList list = SmallTree();
    list.Add({10, 7, "grandchild"});
    list.Add({11, 99, "orphan"});
    EXPECT_EQ(list.Depth(5), 1);
    EXPECT_EQ(list.Depth(7), 2);
    EXPECT_EQ(list.Depth(10), 3);
    EXPECT_EQ(list.Depth(11), 1);
    EXPECT_EQ(list.Depth(42), 0);
}

TEST(PaperNodeListDepth, CountsEachNodeOfACycleOnce) {
    const PaperNodeList list = MakeList({{3, 4, ""}, {4, 3, ""}, {5, 5, ""}, {6, 3, ""}});
    EXPECT_EQ(list.Depth(3), 2);
    EXPECT_EQ(list.Depth(6), 3);
    EXPECT_EQ(list.Depth(5), 1);
}

TEST(PaperNodeList, ClearEmptiesTheListAndItsIndex) {
    PaperNodeList list = SmallTree();
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.IndexOf(5), -1);
    EXPECT_EQ(list.Depth(7), 0);
}

}  // namespace
}  // namespace quillory
