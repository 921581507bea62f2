// The banks the GUI tests run on: a mistake in one should fail here, by
// name, rather than as a window that waits for a page that never comes.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bank/bank_builder.h"
#include "core/bank/bank_check.h"
#include "core/store/data_store.h"
#include "support/temp_dir.h"
#include "support/test_banks.h"

namespace quillory {
namespace {

using testing::ProgramFolder;
using testing::TempDir;
using testing::TestBanksFolder;

TEST(TestBanks, EachBuildsAndHasNothingWrongInIt) {
    int banks = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TestBanksFolder())) {
        if (!entry.is_directory()) {
            continue;
        }
        ++banks;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string dataFile = dir.File(name + ".qly");
        const Status built = BuildBank(entry.path().string(), dataFile, ProgramFolder());
        ASSERT_TRUE(built) << built.error().detail;
        auto store = testing::OpenDataStore(dataFile);
        ASSERT_TRUE(store);
        EXPECT_EQ(CheckBank(*store, dir.Path()), std::vector<std::string>{});
    }
    EXPECT_GT(banks, 0);
}

}  // namespace
}  // namespace quillory
