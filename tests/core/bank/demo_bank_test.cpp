#include <gtest/gtest.h>

#include "core/bank/bank_builder.h"
#include "core/bank/bank_check.h"
#include "core/store/data_store.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ProgramFolder;
using testing::SourceFolder;
using testing::TempDir;

TEST(DemoBank, BuildsAndHasNothingWrongInIt) {
    TempDir dir;
    const std::string dataFile = dir.File("demo.qly");
    const Status built = BuildBank(SourceFolder() + "/resources/demo", dataFile, ProgramFolder());
    ASSERT_TRUE(built) << built.error().detail;
    auto store = testing::OpenDataStore(dataFile);
    ASSERT_TRUE(store);
    EXPECT_EQ(CheckBank(*store, dir.Path()), std::vector<std::string>{});
    for (const char* table : {"QuestionType", "Knowledge", "Question", "Paper", "PaperTemplate"}) {
        auto rows = store->Query(std::string("select count(*) as n from ") + table);
        ASSERT_TRUE(rows && !rows->AtEnd());
        EXPECT_GT(rows->Int("n"), 0) << table << " is empty";
    }
}

}  // namespace
}  // namespace quillory
