#include <gtest/gtest.h>

#include "core/store/ids.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MakeDataFile;
using testing::TempDir;

TEST(NextPaperID, StartsAt550001OnAnEmptyTableOrBelowTheUserRange) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    EXPECT_EQ(NextPaperID(*store), 550001);
    ASSERT_TRUE(store->Execute("insert into Paper(ID, Title) values(550000, 'x')"));
    EXPECT_EQ(NextPaperID(*store), 550001);
    ASSERT_TRUE(store->Execute("insert into Paper(ID, Title) values(550007, 'y')"));
    EXPECT_EQ(NextPaperID(*store), 550008);
}

TEST(NextHistoryID, StartsAt700001AndFollowsTheLargestID) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    EXPECT_EQ(NextHistoryID(*store), 700001);
    ASSERT_TRUE(store->Execute("insert into History(ID) values(700005)"));
    EXPECT_EQ(NextHistoryID(*store), 700006);
}

TEST(NextHistoryID, KeepsALargestIDBelowTheUserRange) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    ASSERT_TRUE(store->Execute("insert into History(ID) values(12)"));
    EXPECT_EQ(NextHistoryID(*store), 13);
}

}  // namespace
}  // namespace quillory
