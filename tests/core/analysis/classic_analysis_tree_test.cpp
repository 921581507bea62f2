#include "core/analysis/classic_analysis_tree.h"

#include <gtest/gtest.h>

#include "core/store/data_store.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

TEST(ClassicAnalysisTree, TheSummaryThenEachReferencePaperInIdOrder) {
    testing::TempDir dir;
    const std::unique_ptr<DataStore> store = testing::MakeDataFile(dir.File("bank.qly"));
    for (const char* sql : {
             "insert into Paper(ID, Title, IsReference) values(100009, '2025年真题', 1)",
             "insert into Paper(ID, Title, IsReference) values(100001, '练习卷', 0)",
             "insert into Paper(ID, Title, IsReference) values(100005, '2024年真题', 1)",
         }) {
        ASSERT_TRUE(store->Execute(sql)) << store->LastError();
    }
    const std::optional<std::vector<ClassicAnalysisItem>> items = LoadClassicAnalysisTree(*store);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    const ClassicAnalysisItem& root = (*items)[0];
    EXPECT_EQ(root.node.id, 800000);
    EXPECT_EQ(root.node.title, "经典试卷汇总分析");
    EXPECT_EQ(root.link, "Quillory://ClassicAnalysis:000000");
    const PaperNode& first = (*items)[1].node;
    EXPECT_EQ(first.id, 800001);
    EXPECT_EQ(first.superiorId, 800000);
    EXPECT_EQ(first.title, "2024年真题");
    EXPECT_EQ(first.referencePaperId, 100005);
    EXPECT_EQ((*items)[1].link, "Quillory://ClassicAnalysis:100005");
    EXPECT_EQ((*items)[2].node.id, 800002);
    EXPECT_EQ((*items)[2].node.referencePaperId, 100009);
}

}  // namespace
}  // namespace quillory
